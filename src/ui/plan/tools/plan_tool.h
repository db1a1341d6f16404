#pragma once
// The plan view's mouse tools: an ordered chain of small classes. The view
// passes each press down the chain until a tool takes it; the tool that took a
// press gets the moves and the release that follow. Moves with no button held go
// to every tool (a handle lights up under the pointer). Keys go down the chain
// too, before the view's own. Each tool paints over the plan, never into it.
//
//   bool TMeasureTool::Press(const TPlanPointer& p) {
//     if (host_.Current() != PlanTool::Measure || p.button != Qt::LeftButton) return false;
//     ...  // begin a line
//     return true;
//   }
#include <QPoint>
#include <QPointF>
#include <QString>

class QKeyEvent;
class QPainter;
class QWidget;

namespace meridal {

class TDocument;
class TScaleDraw;

// The tool chosen in the Tools toolbar or the popup menu.
enum class PlanTool { Select, DrawStraight, DrawArc, Measure, Pan, Center, ZoomIn, ZoomOut };

// What a tool reaches of the view it works in.
class IPlanHost {
 public:
  virtual ~IPlanHost() = default;
  virtual TDocument& Document() = 0;
  // The mapping, its origin where the view shows it now.
  virtual TScaleDraw& Scale() = 0;
  // The viewport: its size and cursor; the overlay is drawn on it.
  virtual QWidget& Surface() = 0;
  virtual PlanTool Current() const = 0;
  // The tool's drawing or text changed: the overlay, the cursor and the status follow.
  virtual void ToolChanged() = 0;
  // The whole plan is being reshaped: drawn without smoothing until it ends.
  virtual void SetDraft(bool on) = 0;
  // The view's own cursor again, after a tool showed another.
  virtual void RestoreCursor() = 0;
};

// A mouse event in the plan: the pixel, the world point under it.
struct TPlanPointer {
  QPoint pixel;
  QPointF world;
  Qt::MouseButton button = Qt::NoButton;  // the button pressed or released
  Qt::MouseButtons buttons;               // the buttons held
  Qt::KeyboardModifiers modifiers;
  bool doubleClick = false;
};

class TPlanTool {
 public:
  explicit TPlanTool(IPlanHost& host) : host_(host) {}
  virtual ~TPlanTool() = default;
  TPlanTool(const TPlanTool&) = delete;
  TPlanTool& operator=(const TPlanTool&) = delete;

  // Each returns whether it took the event.
  virtual bool Press(const TPlanPointer&) { return false; }
  virtual bool Move(const TPlanPointer&) { return false; }
  virtual bool Release(const TPlanPointer&) { return false; }
  virtual bool Key(const QKeyEvent&, bool /*pressed*/) { return false; }
  virtual void Paint(QPainter&) const {}
  // Drops the gesture under way, as Escape does; true when there was one.
  virtual bool Cancel() { return false; }
  // A gesture under way: the keys that choose tools are its own meanwhile.
  virtual bool Busy() const { return false; }
  // What the status bar says while the tool leads; empty: the view's own text.
  virtual QString Status() const { return {}; }

 protected:
  IPlanHost& host_;
};

}  // namespace meridal
