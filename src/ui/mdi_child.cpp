#include "ui/mdi_child.h"

#include <QCloseEvent>

namespace meridal {

void MdiChild::closeEvent(QCloseEvent* event) {
  event->ignore();
  showMinimized();
}

}  // namespace meridal
