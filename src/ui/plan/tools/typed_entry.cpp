#include "ui/plan/tools/typed_entry.h"

#include <QKeyEvent>
#include <cmath>

#include "model/units.h"

namespace meridal {

namespace {

const QString kDegree = QStringLiteral("\u00B0");

}  // namespace

bool TTypedEntry::Key(const QKeyEvent& event) {
  if (event.key() == Qt::Key_Backspace) {
    if (text_.isEmpty()) return false;
    text_.chop(1);
    return true;
  }
  if (event.key() == Qt::Key_Escape) {
    if (text_.isEmpty()) return false;
    text_.clear();
    return true;
  }
  const QString typed = event.text();
  if (typed.size() != 1) return false;
  const QChar c = typed.front();
  // Letters keep their own meaning (A cycles the angle step).
  if (!(c.isDigit() || c == u'.' || (c == u'-' && text_.isEmpty()))) return false;
  text_ += c;
  return true;
}

std::optional<double> TTypedEntry::Value(shape::Typed kind) const {
  bool ok = false;
  const double number = text_.toDouble(&ok);
  if (!ok || !std::isfinite(number)) return std::nullopt;
  switch (kind) {
    case shape::Typed::Length: return number * kUnitsPerMeter;
    case shape::Typed::Angle: return number * Pi / 180;
    case shape::Typed::None: break;
  }
  return std::nullopt;
}

QString TTypedEntry::Line(shape::Typed kind) const {
  if (text_.isEmpty()) return {};
  const QString unit = kind == shape::Typed::Angle ? kDegree : QStringLiteral(" m");
  const QString reads = Value(kind) ? QString() : QStringLiteral(" (not a number)");
  return QStringLiteral("Typed: ") + text_ + unit + reads + QStringLiteral(" \u2013 Enter sets it");
}

}  // namespace meridal
