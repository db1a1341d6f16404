#include "ui/plan/background_dialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>
#include <functional>

#include "platform/file_dialogs.h"
#include "ui/plan/background_layer.h"

namespace meridal {

TBackgroundDialog::TBackgroundDialog(TBackgroundLayer& layer, IFileDialogs& fileDialogs,
                                     std::function<void(QString)> load, QWidget* parent)
    : QDialog(parent), layer_(layer), fileDialogs_(fileDialogs), load_(std::move(load)) {
  setWindowTitle(QStringLiteral("Background Image"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);

  auto* fileRow = new QHBoxLayout;
  FileLabel = new QLabel(this);
  LoadButton = new QPushButton(QStringLiteral("&Load…"), this);
  RemoveButton = new QPushButton(QStringLiteral("&Remove"), this);
  fileRow->addWidget(FileLabel, 1);
  fileRow->addWidget(LoadButton);
  fileRow->addWidget(RemoveButton);
  layout->addLayout(fileRow);

  auto* form = new QFormLayout;
  auto* calibrateRow = new QHBoxLayout;
  CalibrateButton = new QPushButton(QStringLiteral("&Calibrate"), this);
  CalibrateButton->setCheckable(true);
  Distance = new QDoubleSpinBox(this);
  Distance->setRange(0, 100000);
  Distance->setDecimals(2);
  Distance->setSuffix(QStringLiteral(" m"));
  ApplyButton = new QPushButton(QStringLiteral("&Apply"), this);
  calibrateRow->addWidget(CalibrateButton);
  calibrateRow->addWidget(Distance, 1);
  calibrateRow->addWidget(ApplyButton);
  form->addRow(QStringLiteral("Two points:"), calibrateRow);
  PlaceButton = new QPushButton(QStringLiteral("&Place"), this);
  PlaceButton->setCheckable(true);
  PlaceButton->setToolTip(QStringLiteral("Drag the image in the plan to move it, Shift+drag to turn it"));
  form->addRow(QStringLiteral("Position:"), PlaceButton);
  Opacity = new QSlider(Qt::Horizontal, this);
  Opacity->setRange(0, 100);
  form->addRow(QStringLiteral("&Opacity:"), Opacity);
  Show = new QCheckBox(QStringLiteral("&Show"), this);
  form->addRow(QString(), Show);
  layout->addLayout(form);

  // Enter belongs to the distance: no button takes it as the default.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  Message = new QLabel(this);
  Message->setWordWrap(true);
  layout->addWidget(Message);

  connect(LoadButton, &QPushButton::clicked, this, &TBackgroundDialog::LoadClick);
  connect(RemoveButton, &QPushButton::clicked, this, [this] { layer_.Remove(); });
  connect(CalibrateButton, &QPushButton::toggled, this, [this](bool on) {
    layer_.SetTool(on ? TBackgroundLayer::Tool::Calibrate : TBackgroundLayer::Tool::None);
  });
  connect(PlaceButton, &QPushButton::toggled, this, [this](bool on) {
    layer_.SetTool(on ? TBackgroundLayer::Tool::Place : TBackgroundLayer::Tool::None);
  });
  connect(ApplyButton, &QPushButton::clicked, this, &TBackgroundDialog::ApplyClick);
  // Enter in the distance applies it, rather than closing the dialog.
  connect(Distance, &QDoubleSpinBox::editingFinished, this, [this] {
    if (Distance->hasFocus() && ApplyButton->isEnabled()) ApplyClick();
  });
  connect(Opacity, &QSlider::valueChanged, this, [this](int percent) { layer_.SetOpacity(percent / 100.0); });
  connect(Show, &QCheckBox::toggled, this, [this](bool on) { layer_.SetVisible(on); });
  Refresh();
}

void TBackgroundDialog::LoadClick() {
  FileDialogRequest request;
  request.defaultExtension = "*.png";
  request.filter = "Images (*.png;*.jpg;*.jpeg)|*.png;*.jpg;*.jpeg";
  request.mustExist = true;
  if (const auto path = fileDialogs_.Open(request)) load_(QString::fromStdString(*path));
  Refresh();
}

void TBackgroundDialog::ApplyClick() {
  if (!layer_.Calibrate(Distance->value())) {
    Message->setText(QStringLiteral("Type a distance above 0 m between two different points."));
    return;
  }
  Refresh();
}

void TBackgroundDialog::Refresh() {
  const bool image = layer_.HasImage();
  const auto tool = layer_.ActiveTool();
  FileLabel->setText(image ? QFileInfo(QString::fromStdString(layer_.Settings().image)).fileName()
                           : QStringLiteral("No image"));
  for (QWidget* w : std::initializer_list<QWidget*>{CalibrateButton, PlaceButton, Opacity, Show, RemoveButton, Distance})
    w->setEnabled(image);
  const QSignalBlocker b1(CalibrateButton), b2(PlaceButton), b3(Opacity), b4(Show);
  CalibrateButton->setChecked(tool == TBackgroundLayer::Tool::Calibrate);
  PlaceButton->setChecked(tool == TBackgroundLayer::Tool::Place);
  Opacity->setValue(static_cast<int>(std::lround(layer_.Settings().opacity * 100)));
  Show->setChecked(layer_.Settings().visible);
  const bool twoPoints = tool == TBackgroundLayer::Tool::Calibrate && layer_.CalibrationPoints().size() == 2;
  ApplyButton->setEnabled(twoPoints);
  if (twoPoints && !Distance->hasFocus()) {
    // The distance is typed next.
    activateWindow();
    Distance->setFocus();
    Distance->selectAll();
  }
  Message->setText(!layer_.Error().isEmpty() ? layer_.Error() : layer_.ToolHint());
}

void TBackgroundDialog::hideEvent(QHideEvent* event) {
  layer_.SetTool(TBackgroundLayer::Tool::None);
  QDialog::hideEvent(event);
}

}  // namespace meridal
