#pragma once
// TValueBases: the base a value dialog opens in, for each kind of value. A
// length opens on Meters, an orientation on Orientation, a sweep on Curvature,
// a code on Decimal, until the user picks another base for that kind: the base
// picked is kept in meridal.conf for the next value of the kind. With "Open
// value dialogs in stored units" every dialog opens on Decimal, as it once did.
#include <QString>

#include "present/typed_value.h"

namespace meridal {

class TValueBases {
 public:
  explicit TValueBases(QString settingsFile) : file_(std::move(settingsFile)) {}

  ValueBase OpeningBase(ValueKind kind) const;
  void Remember(ValueKind kind, ValueBase base);

  bool StoredUnits() const;
  void SetStoredUnits(bool on);

  static constexpr const char* kStoredUnitsKey = "openValueDialogsInStoredUnits";

 private:
  QString file_;
};

}  // namespace meridal
