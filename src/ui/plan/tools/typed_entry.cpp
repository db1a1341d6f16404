#include "ui/plan/tools/typed_entry.h"

#include <QKeyEvent>
#include <cmath>

#include "model/units.h"
#include "present/typed_value.h"

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
  const bool number = c.isDigit() || c == u'.' || c == u',' || (c == u'-' && text_.isEmpty());
  // A unit after a number ("150 m", "30°"); a letter alone keeps its own meaning
  // (A cycles the angle step).
  const bool unit = !text_.isEmpty() && (c.isLetter() || c == u' ' || c == kDegree.front());
  if (!number && !unit) return false;
  text_ += c;
  return true;
}

std::optional<double> TTypedEntry::Value(shape::Typed kind) const {
  if (kind == shape::Typed::None) return std::nullopt;
  // Read as the value dialogs read what is typed: a bare number in metres or
  // degrees, or with its unit.
  const bool length = kind == shape::Typed::Length;
  // An angle as a sweep: up to a whole turn either way.
  const ValueKind valueKind = length ? ValueKind::Length : ValueKind::Sweep;
  const TTypedValue read = ReadTypedValue(text_.toStdString(), length ? "Length" : "Angle", valueKind,
                                          NaturalBase(valueKind), ',');
  if (!read.value) return std::nullopt;
  return length ? double(*read.value) : CurvatureToRadians(*read.value);
}

QString TTypedEntry::Line(shape::Typed kind) const {
  if (text_.isEmpty()) return {};
  const bool bare = text_.back().isDigit() || text_.back() == u'.';
  const QString unit = !bare ? QString() : kind == shape::Typed::Angle ? kDegree : QStringLiteral(" m");
  const QString reads = Value(kind) ? QString() : QStringLiteral(" (not a number)");
  return QStringLiteral("Typed: ") + text_ + unit + reads + QStringLiteral(" \u2013 Enter sets it");
}

}  // namespace meridal
