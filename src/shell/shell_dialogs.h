#pragma once
// The modal dialogs the commands open. The Qt adapter runs the program's dialogs;
// tests script the answers.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace meridal {

class TBase;

// How a dialog's confirmed value reaches the document (through its history): true
// when the object took it, false when it refused and the dialog stays open.
using ValueWriter = std::function<bool(int32_t value)>;

class IShellDialogs {
 public:
  virtual ~IShellDialogs() = default;
  // Edit Value for one named value of an object, written through `write`; true
  // when it closed with OK, that is when the object accepted a new value.
  virtual bool EditValue(const TBase* object, const std::string& name, const ValueWriter& write) = 0;
  // Split Section; `split` splits at the first part's length. True when it closed
  // with OK, that is when the section was split.
  virtual bool SplitSection(const TBase* section, const ValueWriter& split) = 0;
  // Copy Walls, its number preset; the accepted section number, or nothing on Cancel.
  virtual std::optional<int> CopyWallsFrom(int presetNumber, int numberOfSections) = 0;
  virtual void About() = 0;
};

}  // namespace meridal
