#pragma once
// View > Background Image…: the picture under the plan. Load a PNG or JPEG,
// calibrate it (Calibrate, two clicks on the image in the plan, the distance
// between them typed in metres and Enter), place it (Place: drag to move,
// Shift+drag to turn), set its opacity, hide it or remove it. Not modal: the
// plan stays at hand for the clicks and drags. What cannot be loaded is said
// in the dialog's message line.
#include <QDialog>
#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSlider;

namespace meridal {

class IFileDialogs;
class TBackgroundLayer;

class TBackgroundDialog : public QDialog {
  Q_OBJECT

 public:
  // `load` loads a chosen image where the plan shows it.
  TBackgroundDialog(TBackgroundLayer& layer, IFileDialogs& fileDialogs, std::function<void(QString)> load,
                    QWidget* parent = nullptr);

  QPushButton* LoadButton;
  QPushButton* CalibrateButton;
  QDoubleSpinBox* Distance;  // metres between the two calibration points
  QPushButton* ApplyButton;
  QPushButton* PlaceButton;
  QSlider* Opacity;  // percent
  QCheckBox* Show;
  QPushButton* RemoveButton;
  QLabel* FileLabel;
  QLabel* Message;

  // The controls follow the layer (after a load, a click, a calibration).
  void Refresh();

 protected:
  // Closing the dialog ends its tools: the plan goes back to its own.
  void hideEvent(QHideEvent* event) override;

 private:
  void LoadClick();
  void ApplyClick();

  TBackgroundLayer& layer_;
  IFileDialogs& fileDialogs_;
  std::function<void(QString)> load_;
};

}  // namespace meridal
