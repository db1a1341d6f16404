#include "ui/example_tracks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// MERIDAL_DATA_FROM_BIN, set by the build: the data folder seen from the bin
// folder as they are installed ("../share").
namespace meridal {

namespace {

const char kExampleCircuit[] = "meridal/examples/circuit.mrd";

}  // namespace

QString ExampleCircuitPath(const QString& programFolder) {
  const QString beside = QDir::cleanPath(programFolder + QStringLiteral("/" MERIDAL_DATA_FROM_BIN "/") +
                                         QLatin1String(kExampleCircuit));
  if (QFileInfo(beside).isFile()) return beside;
  return QStandardPaths::locate(QStandardPaths::GenericDataLocation, QLatin1String(kExampleCircuit));
}

QString ExampleCircuitPath() { return ExampleCircuitPath(QCoreApplication::applicationDirPath()); }

}  // namespace meridal
