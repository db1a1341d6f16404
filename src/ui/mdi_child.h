#pragma once
// A child window of the frame. Closing it only minimises it: the tree and
// graphics windows live exactly as long as their document.
#include <QMdiSubWindow>

namespace meridal {

class MdiChild : public QMdiSubWindow {
  Q_OBJECT

 public:
  using QMdiSubWindow::QMdiSubWindow;

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace meridal
