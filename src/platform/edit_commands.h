#pragma once
// The 10-item layout of the Edit menu (and of the tree's popup menu):
// 0 Remove, 1 Add Before, 2 Add After, 3 separator, 4 Split Section,
// 5 Change Section Type, 6 Copy Walls From, 7 Copy Walls To All, 8 separator,
// 9 Copy Altitude.

namespace meridal {

enum EditCommand : int {
  kEditRemove = 0,
  kEditAddBefore = 1,
  kEditAddAfter = 2,
  kEditSeparator1 = 3,
  kEditSplit = 4,
  kEditChangeType = 5,
  kEditCopyWallsFrom = 6,
  kEditCopyWallsToAll = 7,
  kEditSeparator2 = 8,
  kEditCopyAltitude = 9,
  kEditCommandCount = 10
};

class IEditCommands {
 public:
  virtual ~IEditCommands() = default;
  virtual void SetEnabled(int index, bool enabled) = 0;
};

}  // namespace meridal
