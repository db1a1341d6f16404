#pragma once
// TFormProfile, the "Elevation Profile" window: the profile of the open track
// under a tool bar that turns slope colouring on and off, shows the lap's speed
// trace under the heights and zooms to fit.
#include <QWidget>

class QAction;
class QToolBar;

namespace meridal {

class TDocumentShell;
class TLapRunner;
class TProfilePlot;

class TFormProfile : public QWidget {
  Q_OBJECT

 public:
  // Without a runner there is no speed trace to show.
  explicit TFormProfile(TDocumentShell& shell, TLapRunner* runner = nullptr, QWidget* parent = nullptr);

  QToolBar* ToolBar;
  QAction* SlopeColouring;  // checkable
  QAction* SpeedTrace;      // checkable: the lap's speeds under the heights
  QAction* ZoomToFit;
  TProfilePlot* Plot;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // The runner's lap to the plot, while the speed trace is on and the window shown.
  void FollowLap();

  TLapRunner* runner_;
};

}  // namespace meridal
