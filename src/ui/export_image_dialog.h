#pragma once
// TFormExportImage, "Export Image": which picture (the plan view or the
// elevation profile) and its size in pixels. The file, and with its extension
// the format (PNG or SVG), is asked for next.
#include <QDialog>
#include <QSize>

class QPushButton;
class QRadioButton;
class QSpinBox;

namespace meridal {

class TFormExportImage : public QDialog {
  Q_OBJECT

 public:
  explicit TFormExportImage(QWidget* parent = nullptr);

  QRadioButton* RadioPlan;
  QRadioButton* RadioProfile;
  QSpinBox* EditWidth;
  QSpinBox* EditHeight;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;

  // Opens with the plan or the profile chosen, each proposing the size its
  // window has on the screen.
  int Run(bool profile, QSize planSize, QSize profileSize);
  bool Profile() const;
  QSize Size() const;

 private:
  void Propose();

  QSize planSize_, profileSize_;
};

}  // namespace meridal
