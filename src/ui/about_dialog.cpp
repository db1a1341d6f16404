#include "ui/about_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/ui_resources.h"

#ifndef MERIDAL_VERSION
#define MERIDAL_VERSION "1.0.0"
#endif
#ifndef MERIDAL_RELEASE_DATE
#define MERIDAL_RELEASE_DATE "9 December 2026"
#endif

namespace meridal {

QString TFormAbout::VersionLine() { return QStringLiteral("Meridal " MERIDAL_VERSION); }

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Meridal"));
  ProgramIcon = new QLabel(this);
  ProgramIcon->setPixmap(meridal::ProgramIcon().pixmap(64, 64));
  ProductName = new QLabel(VersionLine(), this);
  QFont big = ProductName->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.4);
  ProductName->setFont(big);
  ReleaseDate = new QLabel(QStringLiteral(MERIDAL_RELEASE_DATE), this);
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
