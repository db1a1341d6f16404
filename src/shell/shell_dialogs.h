#pragma once
// The modal dialogs the commands open. The Qt adapter runs the program's dialogs;
// tests script the answers.
#include <optional>
#include <string>

namespace meridal {

class TBase;

class IShellDialogs {
 public:
  virtual ~IShellDialogs() = default;
  // Edit Value for one named value of an object; true when it closed with OK, that
  // is when the object accepted a new value.
  virtual bool EditValue(TBase* object, const std::string& name) = 0;
  // Split Section; true when it closed with OK, that is when the section was split.
  virtual bool SplitSection(TBase* section) = 0;
  // Copy Walls, its number preset; the accepted section number, or nothing on Cancel.
  virtual std::optional<int> CopyWallsFrom(int presetNumber, int numberOfSections) = 0;
  virtual void About() = 0;
};

}  // namespace meridal
