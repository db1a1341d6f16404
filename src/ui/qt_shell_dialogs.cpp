#include "ui/qt_shell_dialogs.h"

#include "present/value_range.h"
#include "ui/about_dialog.h"
#include "ui/copy_walls_dialog.h"
#include "ui/edit_value_dialog.h"
#include "ui/settings_file.h"
#include "ui/split_dialog.h"
#include "ui/value_bases.h"

namespace meridal {

QtShellDialogs::QtShellDialogs(IMessages& messages, QWidget* parent)
    : FormEditValue(new TFormEditValue(messages, parent)),
      FormSplit(new TFormSplit(messages, parent)),
      FormCopyWalls(new TFormCopyWalls(messages, parent)),
      FormAbout(new TFormAbout(parent)),
      Bases(std::make_unique<TValueBases>(SettingsFile())) {
  FormEditValue->SetBases(Bases.get());
  FormSplit->SetBases(Bases.get());
}

QtShellDialogs::~QtShellDialogs() = default;

bool QtShellDialogs::EditValue(const TBase* object, const std::string& name, const ValueWriter& write) {
  FormEditValue->SetTarget(object, QString::fromStdString(name), write);
  FormEditValue->SetRangeNote([object, name] { return object ? ValueRangeText(*object, name) : std::string(); });
  return FormEditValue->Run() == QDialog::Accepted;
}

bool QtShellDialogs::SplitSection(const TBase* section, const ValueWriter& split) {
  FormSplit->SetTarget(section, split);
  FormSplit->SetRangeNote([section] { return section ? SplitRangeText(*section) : std::string(); });
  return FormSplit->Run() == QDialog::Accepted;
}

std::optional<int> QtShellDialogs::CopyWallsFrom(int presetNumber, int numberOfSections) {
  FormCopyWalls->Preset(presetNumber, numberOfSections);
  if (FormCopyWalls->Run() != QDialog::Accepted) return std::nullopt;
  return FormCopyWalls->SectionNumber;
}

void QtShellDialogs::About() { FormAbout->exec(); }

}  // namespace meridal
