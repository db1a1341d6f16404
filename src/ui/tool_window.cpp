#include "ui/tool_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace meridal {

namespace {

// A child window whose × hides it rather than destroying it, telling whoever
// follows it whenever it is shown or hidden.
class ToolSubWindow : public QMdiSubWindow {
 public:
  ToolSubWindow(std::function<void()> close, std::function<void()> changed)
      : close_(std::move(close)), changed_(std::move(changed)) {}
  // Nobody follows the window any more.
  void Forget() {
    close_ = nullptr;
    changed_ = nullptr;
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (close_) close_();
  }
  void showEvent(QShowEvent* event) override {
    QMdiSubWindow::showEvent(event);
    if (changed_) changed_();
  }
  void hideEvent(QHideEvent* event) override {
    QMdiSubWindow::hideEvent(event);
    if (changed_) changed_();
  }

 private:
  std::function<void()> close_, changed_;
};

}  // namespace

TToolWindow::TToolWindow(QMdiArea& area, QAction& item, std::function<QWidget*()> make, QSize size,
                         QObject* parent)
    : QObject(parent), area_(area), item_(item), make_(std::move(make)), size_(size) {
  item_.setCheckable(true);
  item_.setChecked(false);
  // A click on the item asks for what its new check mark says.
  connect(&item_, &QAction::triggered, this, [this](bool checked) { checked ? Show() : Hide(); });
}

TToolWindow::~TToolWindow() { Destroy(); }

void TToolWindow::Show() {
  if (!window_) {
    window_ = new ToolSubWindow([this] { Hide(); }, [this] { Follow(); });
    QWidget* contents = make_();
    window_->setWidget(contents);
    QWidget* frame = area_.window();
    window_->setWindowIcon(frame->windowIcon());
    // Adding a child window clears the frame's modified mark; the document's is
    // what the title must show.
    const bool modified = frame->isWindowModified();
    area_.addSubWindow(window_);
    frame->setWindowModified(modified);
    // At least as wide as its contents ask, its tool bar whole.
    window_->resize(size_.expandedTo(window_->sizeHint()));
  }
  if (window_->isMinimized()) window_->showNormal();
  window_->show();
  area_.setActiveSubWindow(window_);
  Follow();
}

void TToolWindow::Hide() {
  if (!window_ || window_->isHidden()) return Follow();
  const bool active = area_.activeSubWindow() == window_;
  window_->hide();
  // A hidden child window hands the focus on, as a closed one would.
  if (active) area_.activateNextSubWindow();
}

bool TToolWindow::Shown() const { return window_ && !window_->isHidden(); }

void TToolWindow::Follow() { item_.setChecked(Shown()); }

void TToolWindow::Destroy() {
  if (!window_) return;
  auto* window = static_cast<ToolSubWindow*>(window_.data());
  window_ = nullptr;
  window->Forget();
  delete window;
}

}  // namespace meridal
