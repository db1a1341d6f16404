#pragma once
// TFormLap, the "Lap" window: how the open track drives. The lap time, its
// thirds, the top speed and the slowest point of each corner with its section,
// for the vehicle and the line chosen at the top. The lap is driven again after
// every change of the track, beside the editor; until the new one comes the old
// is shown dimmed. Double-clicking a corner selects its section.
#include <QWidget>
#include <vector>

#include "drive/vehicle.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace meridal {

class IFileDialogs;
class IMessages;
class TDocumentShell;
class TLapRunner;

class TFormLap : public QWidget {
  Q_OBJECT

 public:
  TFormLap(TDocumentShell& shell, TLapRunner& runner, IFileDialogs& files, IMessages& messages,
           QWidget* parent = nullptr);

  QComboBox* VehicleChooser;  // the example vehicles, those opened, then "Open…"
  QComboBox* LineChooser;     // "Centre", "Min-curvature"
  QWidget* Results;           // disabled (dimmed) while stale
  QLabel* LapTime;
  QLabel* Thirds;
  QLabel* TopSpeed;
  QTableWidget* Corners;      // corner, section, lowest speed
  QLabel* Status;             // driving, solved in, or why there is no lap

  // ---- handlers ----
  void VehicleChosen(int index);
  void LineChosen(int index);
  void CornerDblClick(int row);
  // The runner's lap, or its staleness, changed.
  void Refresh();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Asks for a vehicle file; false when none was read (cancelled or refused).
  bool OpenVehicle();
  void AddVehicle(const TVehicle& vehicle, const QString& label);

  TDocumentShell& shell_;
  TLapRunner& runner_;
  IFileDialogs& files_;
  IMessages& messages_;
  std::vector<TVehicle> vehicles_;  // in the chooser's order
  int chosen_ = 0;
};

}  // namespace meridal
