#pragma once
// The program's dialogs as the commands open them: created once at start-up and
// reused, each run modally.
#include <memory>

#include "shell/shell_dialogs.h"

class QWidget;

namespace meridal {

class IMessages;
class TFormAbout;
class TFormCopyWalls;
class TFormEditValue;
class TFormSplit;
class TValueBases;

class QtShellDialogs : public IShellDialogs {
 public:
  QtShellDialogs(IMessages& messages, QWidget* parent);
  ~QtShellDialogs() override;

  bool EditValue(const TBase* object, const std::string& name, const ValueWriter& write) override;
  bool SplitSection(const TBase* section, const ValueWriter& split) override;
  std::optional<int> CopyWallsFrom(int presetNumber, int numberOfSections) override;
  void About() override;

  TFormEditValue* FormEditValue;
  TFormSplit* FormSplit;
  TFormCopyWalls* FormCopyWalls;
  TFormAbout* FormAbout;
  // The bases Edit Value and Split open in, kept in the settings file.
  std::unique_ptr<TValueBases> Bases;
};

}  // namespace meridal
