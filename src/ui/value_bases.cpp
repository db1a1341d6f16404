#include "ui/value_bases.h"

#include <QSettings>

namespace meridal {

namespace {

QString KindKey(ValueKind kind) {
  switch (kind) {
    case ValueKind::Length: return QStringLiteral("valueBases/length");
    case ValueKind::Orientation: return QStringLiteral("valueBases/orientation");
    case ValueKind::Sweep: return QStringLiteral("valueBases/sweep");
    case ValueKind::Plain: break;
  }
  return QStringLiteral("valueBases/plain");
}

}  // namespace

ValueBase TValueBases::OpeningBase(ValueKind kind) const {
  const QSettings settings(file_, QSettings::IniFormat);
  if (settings.value(QLatin1String(kStoredUnitsKey), false).toBool()) return ValueBase::Decimal;
  const auto kept = ValueBaseByName(settings.value(KindKey(kind)).toString().toStdString());
  return kept ? *kept : NaturalBase(kind);
}

void TValueBases::Remember(ValueKind kind, ValueBase base) {
  QSettings settings(file_, QSettings::IniFormat);
  settings.setValue(KindKey(kind), QString::fromStdString(ValueBaseName(base)));
}

bool TValueBases::StoredUnits() const {
  return QSettings(file_, QSettings::IniFormat).value(QLatin1String(kStoredUnitsKey), false).toBool();
}

void TValueBases::SetStoredUnits(bool on) {
  QSettings settings(file_, QSettings::IniFormat);
  settings.setValue(QLatin1String(kStoredUnitsKey), on);
}

}  // namespace meridal
