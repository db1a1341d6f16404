#pragma once
// A menu in the ten-item layout of the Edit menu, as the model switches it: the
// items are QActions (the separators are actions too and are left alone).
#include <array>

#include "platform/edit_commands.h"

class QAction;
class QMenu;

namespace meridal {

// Delete removes, Insert adds after, Shift+Insert adds before.
void SetStructuralShortcuts(QAction* remove, QAction* addBefore, QAction* addAfter);

class ActionEditCommands : public IEditCommands {
 public:
  void SetEnabled(int index, bool enabled) override;

  // Fills `menu` with the ten items and their captions; the actions are kept.
  // The main window's "Copy &Walls To All " carries a trailing blank, the tree's
  // popup item none.
  void Build(QMenu& menu, bool mainMenu);
  QAction* Action(int index) const;

 private:
  std::array<QAction*, kEditCommandCount> actions_{};
};

}  // namespace meridal
