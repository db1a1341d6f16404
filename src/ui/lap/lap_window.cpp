#include "ui/lap/lap_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "document/document.h"
#include "model/object_path.h"
#include "model/track.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "present/format.h"
#include "shell/document_shell.h"
#include "ui/lap/lap_runner.h"

namespace meridal {

namespace {

// The example vehicles, built into the program.
const char* const kExampleVehicles[] = {":/vehicles/formula.json", ":/vehicles/gt.json", ":/vehicles/road.json"};

const TLineKind kLines[] = {TLineKind::Centre, TLineKind::MinCurvature};

QString Text(const std::string& text) { return QString::fromStdString(text); }

// "1:11.888 (71.888 s)"; under a minute, "58.120 s".
QString TimeText(double seconds) {
  if (seconds < 60) return Text(FormatPrintf("%.3f s", seconds));
  const int minutes = static_cast<int>(seconds / 60);
  return Text(FormatPrintf("%d:%06.3f (%.3f s)", minutes, seconds - 60 * minutes, seconds));
}

QString SpeedText(double v) { return Text(FormatPrintf("%.1f km/h", v * 3.6)); }

}  // namespace

TFormLap::TFormLap(TDocumentShell& shell, TLapRunner& runner, IFileDialogs& files, IMessages& messages,
                   QWidget* parent)
    : QWidget(parent), VehicleChooser(new QComboBox(this)), LineChooser(new QComboBox(this)),
      Results(new QWidget(this)), LapTime(new QLabel(Results)), Thirds(new QLabel(Results)),
      TopSpeed(new QLabel(Results)), Corners(new QTableWidget(0, 3, Results)), Status(new QLabel(this)),
      shell_(shell), runner_(runner), files_(files), messages_(messages) {
  setWindowTitle(QStringLiteral("Lap"));
  for (const char* name : kExampleVehicles) {
    QFile file(QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QByteArray bytes = file.readAll();
    const TVehicleRead read = ReadVehicle(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (read.ok) AddVehicle(read.vehicle, Text(read.vehicle.name));
  }
  if (vehicles_.empty()) AddVehicle(DefaultVehicle(), Text(DefaultVehicle().name));
  VehicleChooser->addItem(QStringLiteral("Open…"));
  for (size_t i = 0; i < vehicles_.size(); ++i)
    if (vehicles_[i] == runner_.Vehicle()) chosen_ = static_cast<int>(i);
  VehicleChooser->setCurrentIndex(chosen_);
  LineChooser->addItem(QStringLiteral("Centre"));
  LineChooser->addItem(QStringLiteral("Min-curvature"));
  LineChooser->setCurrentIndex(runner_.Line() == TLineKind::Centre ? 0 : 1);

  QFont big = LapTime->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  LapTime->setFont(big);
  Corners->setHorizontalHeaderLabels({QStringLiteral("Corner"), QStringLiteral("Section"),
                                      QStringLiteral("Lowest speed")});
  Corners->verticalHeader()->hide();
  Corners->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Corners->setSelectionBehavior(QAbstractItemView::SelectRows);
  Corners->horizontalHeader()->setStretchLastSection(true);
  Status->setWordWrap(true);

  auto* choosers = new QHBoxLayout;
  choosers->addWidget(new QLabel(QStringLiteral("&Vehicle:"), this));
  choosers->addWidget(VehicleChooser, 1);
  choosers->addWidget(new QLabel(QStringLiteral("&Line:"), this));
  choosers->addWidget(LineChooser, 1);
  static_cast<QLabel*>(choosers->itemAt(0)->widget())->setBuddy(VehicleChooser);
  static_cast<QLabel*>(choosers->itemAt(2)->widget())->setBuddy(LineChooser);
  auto* results = new QVBoxLayout(Results);
  results->setContentsMargins(0, 0, 0, 0);
  results->addWidget(LapTime);
  results->addWidget(Thirds);
  results->addWidget(TopSpeed);
  results->addWidget(Corners, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choosers);
  layout->addWidget(Results, 1);
  layout->addWidget(Status);

  connect(VehicleChooser, &QComboBox::activated, this, &TFormLap::VehicleChosen);
  connect(LineChooser, &QComboBox::activated, this, &TFormLap::LineChosen);
  connect(Corners, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { CornerDblClick(row); });
  connect(&runner_, &TLapRunner::Updated, this, &TFormLap::Refresh);
  Refresh();
  resize(360, 420);
}

void TFormLap::AddVehicle(const TVehicle& vehicle, const QString& label) {
  const int at = static_cast<int>(vehicles_.size());
  vehicles_.push_back(vehicle);
  VehicleChooser->insertItem(at, label);
}

void TFormLap::VehicleChosen(int index) {
  if (index == static_cast<int>(vehicles_.size()) && !OpenVehicle()) {
    VehicleChooser->setCurrentIndex(chosen_);  // cancelled or refused: as it was
    return;
  }
  chosen_ = VehicleChooser->currentIndex();
  runner_.SetVehicle(vehicles_[static_cast<size_t>(chosen_)]);
}

bool TFormLap::OpenVehicle() {
  FileDialogRequest request;
  request.defaultExtension = "*.json";
  request.filter = "Vehicles (*.json)|*.json";
  request.title = "Open Vehicle";
  request.mustExist = true;
  const auto path = files_.Open(request);
  if (!path) return false;
  const TVehicleRead read = ReadVehicleFile(*path);
  if (!read.ok) {
    ShowFileError(messages_, read.error);
    return false;
  }
  // A vehicle opened before is chosen again, not listed twice.
  for (size_t i = 0; i < vehicles_.size(); ++i)
    if (vehicles_[i] == read.vehicle) {
      VehicleChooser->setCurrentIndex(static_cast<int>(i));
      return true;
    }
  const QString file = QFileInfo(Text(*path)).fileName();
  AddVehicle(read.vehicle, Text(read.vehicle.name) + QStringLiteral(" (") + file + QStringLiteral(")"));
  VehicleChooser->setCurrentIndex(static_cast<int>(vehicles_.size()) - 1);
  return true;
}

void TFormLap::LineChosen(int index) {
  if (index >= 0 && index < 2) runner_.SetLine(kLines[index]);
}

void TFormLap::CornerDblClick(int row) {
  const QTableWidgetItem* item = Corners->item(row, 1);
  if (!item || !shell_.Document()) return;
  const int section = item->data(Qt::UserRole).toInt();
  if (section >= 0 && section < shell_.Track()->NumberOfSections())
    shell_.Document()->Select(TObjectPath::Section(section));
}

void TFormLap::Refresh() {
  const auto result = runner_.Result();
  Results->setEnabled(result && !runner_.Stale());
  if (!shell_.Track()) {
    Status->setText(QStringLiteral("No track is open."));
    return;
  }
  QString status;
  if (runner_.Busy()) status = QStringLiteral("Driving the lap…");
  if (result && (!runner_.Stale() || runner_.Busy())) {
    const TLap& lap = result->lap;
    if (lap.ok) {
      LapTime->setText(QStringLiteral("Lap time: ") + TimeText(lap.lapTime));
      Thirds->setText(QStringLiteral("Thirds: ") + Text(FormatPrintf("%.3f s, %.3f s, %.3f s", lap.thirds[0],
                                                                     lap.thirds[1], lap.thirds[2])));
      TopSpeed->setText(QStringLiteral("Top speed: ") + SpeedText(lap.topSpeed));
      Corners->setRowCount(static_cast<int>(lap.corners.size()));
      for (size_t i = 0; i < lap.corners.size(); ++i) {
        const TCorner& corner = lap.corners[i];
        const int row = static_cast<int>(i);
        Corners->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
        auto* section = new QTableWidgetItem(QStringLiteral("Section %1").arg(corner.section));
        section->setData(Qt::UserRole, corner.section);
        Corners->setItem(row, 1, section);
        Corners->setItem(row, 2, new QTableWidgetItem(SpeedText(corner.speed)));
      }
      if (!runner_.Busy())
        status = Text(result->vehicle.name + FormatPrintf(", %s line: driven in %.2f s", LineKindName(lap.kind),
                                                          lap.solveSeconds));
    } else if (!runner_.Busy()) {
      LapTime->setText(QStringLiteral("Lap time: –"));
      Thirds->clear();
      TopSpeed->clear();
      Corners->setRowCount(0);
      status = QStringLiteral("No lap: ") + Text(lap.error);
    }
    for (const std::string& warning : lap.warnings) status += QStringLiteral("\n") + Text(warning);
  }
  Status->setText(status);
}

void TFormLap::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  runner_.Want(this, true);
}

void TFormLap::hideEvent(QHideEvent* event) {
  runner_.Want(this, false);
  QWidget::hideEvent(event);
}

}  // namespace meridal
