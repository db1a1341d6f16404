#include "ui/copy_walls_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/value_entry.h"
#include "ui/dialog_parts.h"

namespace meridal {

TFormCopyWalls::TFormCopyWalls(IMessages& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setWindowTitle(QStringLiteral("Copy Walls"));
  EditNumber = new QLineEdit(this);
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Copy Walls from Section:"), EditNumber);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));
  resize(169, 97);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormCopyWalls::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormCopyWalls::Preset(int number, int numberOfSections) {
  EditNumber->setText(QString::number(number));
  numberOfSections_ = numberOfSections;
}

int TFormCopyWalls::Run() {
  EditNumber->setFocus();
  EditNumber->selectAll();
  return exec();
}

void TFormCopyWalls::ButtonOKClick() {
  if (const auto n = AcceptSectionNumber(EditNumber->text().toStdString(), numberOfSections_, messages_)) {
    SectionNumber = *n;
    accept();
  }
}

}  // namespace meridal
