#include "ui/split_dialog.h"

#include <QFormLayout>
#include <QLineEdit>

#include "edit/track_edits.h"
#include "model/base.h"

namespace meridal {

TFormSplit::TFormSplit(IMessages& messages, QWidget* parent)
    : TValueDialog(messages, QStringLiteral("Split Section"), true, parent) {
  Fields()->addRow(QStringLiteral("Original Length:"), EditName);
  Fields()->addRow(QStringLiteral("Length of first part:"), EditValue);
  Entry.ValueName = "Length of first part";
  resize(350, 122);
}

int32_t TFormSplit::SectionLength() const { return Target() ? Target()->GetValue("Length") : 0; }

void TFormSplit::SetTarget(TBase* section) {
  SetTarget(section, [section](int32_t firstLength) { return section && edit::Split(*section, firstLength); });
}

void TFormSplit::ShowIn(ValueBase base) {
  EditName->setText(QString::fromStdString(Entry.Display(SectionLength(), base)));
  TValueDialog::ShowIn(base);
}

}  // namespace meridal
