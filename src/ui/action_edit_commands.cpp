#include "ui/action_edit_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace meridal {

namespace {

// The captions of the ten items; nullptr marks a separator.
const char* const kCaptions[kEditCommandCount] = {
    "&Remove", "Add &Before", "Add &After", nullptr, "&Split Section...", "Change Section &Type",
    "Copy Walls &From...", "Copy &Walls To All ", nullptr, "&Copy Altitude",
};

}  // namespace

void ActionEditCommands::Build(QMenu& menu, bool mainMenu) {
  for (int i = 0; i < kEditCommandCount; ++i) {
    QString caption = QString::fromLatin1(kCaptions[i] ? kCaptions[i] : "");
    if (i == kEditCopyWallsToAll && !mainMenu) caption = caption.trimmed();
    actions_[static_cast<size_t>(i)] = kCaptions[i] ? menu.addAction(caption) : menu.addSeparator();
  }
  // Both menus show the keys; only the main menu's take them (a popup's actions
  // answer no shortcut while it is closed).
  SetStructuralShortcuts(Action(kEditRemove), Action(kEditAddBefore), Action(kEditAddAfter));
}

void SetStructuralShortcuts(QAction* remove, QAction* addBefore, QAction* addAfter) {
  remove->setShortcut(QKeySequence(Qt::Key_Delete));
  addBefore->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
  addAfter->setShortcut(QKeySequence(Qt::Key_Insert));
}

QAction* ActionEditCommands::Action(int index) const {
  if (index < 0 || index >= kEditCommandCount) return nullptr;
  return actions_[static_cast<size_t>(index)];
}

void ActionEditCommands::SetEnabled(int index, bool enabled) {
  if (QAction* action = Action(index)) action->setEnabled(enabled);
}

}  // namespace meridal
