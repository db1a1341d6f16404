#pragma once
// A tool window of the frame (the history, the profile, the check...): a child
// window that × closes, and a checkable menu item that shows or hides it. The
// window is made the first time it is shown and is kept while hidden, so that it
// comes back as the user left it; the item's check mark follows the window
// however it was closed or shown.
//
//   auto* history = new TToolWindow(*MdiArea, *WindowHistory, [] { return new TFormHistory(...); },
//                                   QSize(300, 400), this);
#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <functional>

class QAction;
class QMdiArea;
class QWidget;

namespace meridal {

class TToolWindow : public QObject {
  Q_OBJECT

 public:
  // `item` becomes checkable; `make` makes the window's contents on first showing.
  TToolWindow(QMdiArea& area, QAction& item, std::function<QWidget*()> make, QSize size, QObject* parent);
  ~TToolWindow() override;

  // Makes the window if need be, shows it and makes it the active one.
  void Show();
  void Hide();
  bool Shown() const;
  // The child window, or nullptr before it was first shown.
  QMdiSubWindow* Window() const { return window_; }
  // The window goes for good (the frame is closing).
  void Destroy();

 private:
  void Follow();

  QMdiArea& area_;
  QAction& item_;
  std::function<QWidget*()> make_;
  QSize size_;
  QPointer<QMdiSubWindow> window_;
};

}  // namespace meridal
