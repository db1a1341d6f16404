#pragma once
// TFormProfile, the "Elevation Profile" window: the profile of the open track
// under a tool bar that turns slope colouring on and off and zooms to fit.
#include <QWidget>

class QAction;
class QToolBar;

namespace meridal {

class TDocumentShell;
class TProfilePlot;

class TFormProfile : public QWidget {
  Q_OBJECT

 public:
  explicit TFormProfile(TDocumentShell& shell, QWidget* parent = nullptr);

  QToolBar* ToolBar;
  QAction* SlopeColouring;  // checkable
  QAction* ZoomToFit;
  TProfilePlot* Plot;
};

}  // namespace meridal
