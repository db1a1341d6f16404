#pragma once
// The plan's place in the frame: the Tools toolbar (Select, Draw Straight, Draw
// Arc, Measure, Pan: the plan's own keys S or Escape, D, Shift+D, M, H), View >
// Measure, View > Background Image… and View > Centreline Overlay, and a status
// bar panel with the plan's tool or the active tool's read-out. The items act on
// the plan window of the open document.
#include <QPointF>
#include <vector>

class QAction;
class QToolBar;

namespace meridal {

class TFormMain;

// Once, when the frame builds its menus and status bar.
void AddPlanToolItems(TFormMain& window);
// Each time the frame makes a plan window.
void ConnectPlanTools(TFormMain& window);
// The Tools toolbar.
QToolBar* ToolsToolBar(TFormMain& window);

// The source centreline of a fitted track over the plan, shown and its View item
// checked; the document's first change of the track switches it off.
void ShowCentrelineOverlay(TFormMain& window, std::vector<QPointF> points);
// View > Centreline Overlay: enabled while the plan has a centreline to show.
QAction* CentrelineOverlayItem(TFormMain& window);

}  // namespace meridal
