#include "ui/about_dialog.h"

#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "program_version.h"
#include "ui/ui_resources.h"

namespace meridal {

QString TFormAbout::VersionLine() { return QStringLiteral("Meridal ") + QLatin1String(kProgramVersion); }

QString TFormAbout::ReleaseDateText() {
  // Month names in English whatever the desktop's language, as every other text here.
  return QDate::fromString(QLatin1String(kReleaseDate), Qt::ISODate).toString(QStringLiteral("d MMMM yyyy"));
}

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Meridal"));
  ProgramIcon = new QLabel(this);
  ProgramIcon->setPixmap(meridal::ProgramIcon().pixmap(64, 64));
  ProductName = new QLabel(VersionLine(), this);
  QFont big = ProductName->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.4);
  ProductName->setFont(big);
  ReleaseDate = new QLabel(ReleaseDateText(), this);
  auto* credits = new QLabel(QStringLiteral("A track editor for racing simulations.\n"
                                            "Built with Qt %1.").arg(QLatin1String(qVersion())),
                             this);
  ButtonOK = new QPushButton(QStringLiteral("OK"), this);
  ButtonOK->setDefault(true);

  auto* layout = new QGridLayout(this);
  layout->addWidget(ProgramIcon, 0, 0, 3, 1, Qt::AlignTop);
  layout->addWidget(ProductName, 0, 1);
  layout->addWidget(ReleaseDate, 1, 1);
  layout->addWidget(credits, 2, 1);
  layout->addWidget(ButtonOK, 3, 0, 1, 2, Qt::AlignHCenter);
  layout->setHorizontalSpacing(16);
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace meridal
