#include "ui/export_image_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/dialog_parts.h"

namespace meridal {

namespace {

constexpr int kLargestSide = 16384;  // pixels; a larger PNG is more than any screen or page needs

QSpinBox* SideField(QWidget* parent) {
  auto* field = new QSpinBox(parent);
  field->setRange(1, kLargestSide);
  field->setSuffix(QStringLiteral(" px"));
  return field;
}

}  // namespace

TFormExportImage::TFormExportImage(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Export Image"));
  auto* group = new QGroupBox(QStringLiteral("Picture"), this);
  RadioPlan = new QRadioButton(QStringLiteral("&Plan view"), group);
  RadioProfile = new QRadioButton(QStringLiteral("&Elevation profile"), group);
  auto* choices = new QVBoxLayout(group);
  choices->addWidget(RadioPlan);
  choices->addWidget(RadioProfile);
  EditWidth = SideField(this);
  EditHeight = SideField(this);
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("&Width:"), EditWidth);
  fields->addRow(QStringLiteral("&Height:"), EditHeight);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(fields);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(RadioPlan, &QRadioButton::clicked, this, &TFormExportImage::Propose);
  connect(RadioProfile, &QRadioButton::clicked, this, &TFormExportImage::Propose);
}

int TFormExportImage::Run(bool profile, QSize planSize, QSize profileSize) {
  planSize_ = planSize;
  profileSize_ = profileSize;
  (profile ? RadioProfile : RadioPlan)->setChecked(true);
  Propose();
  EditWidth->setFocus();
  EditWidth->selectAll();
  return exec();
}

void TFormExportImage::Propose() {
  const QSize size = Profile() ? profileSize_ : planSize_;
  EditWidth->setValue(size.width());
  EditHeight->setValue(size.height());
}

bool TFormExportImage::Profile() const { return RadioProfile->isChecked(); }

QSize TFormExportImage::Size() const { return QSize(EditWidth->value(), EditHeight->value()); }

}  // namespace meridal
