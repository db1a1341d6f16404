#include "model/altitude.h"

#include <algorithm>
#include <cmath>

#include "model/numbers.h"
#include "model/object_pool.h"
#include "model/section.h"
#include "model/units.h"

namespace meridal {

using TAltitudePool = ObjectPool<sizeof(TAltitude), alignof(TAltitude)>;

void* TAltitude::operator new(size_t) { return TAltitudePool::Allocate(); }

void TAltitude::operator delete(void* p) noexcept { TAltitudePool::Free(p); }

TAltitude::TAltitude(TSection* owner) : TBase(owner) {}

TAltitude::TAltitude(TSection* owner, const TAltitude& source) : TBase(owner) {
  Number = source.Number;
  Values() = source.Values();
}

TSection* TAltitude::Section() const { return static_cast<TSection*>(Owner); }

double TAltitude::TraceLength() const {
  const TSection* section = Section();
  if (!section->IsCurved()) return section->Length;
  return X * 2.0 * section->ExportWords[2] * Pi * kTwoPowMinus31;
}

int32_t TAltitude::HeightAtEnd() const {
  return wrapAdd(wrapAdd(HeightAtStart, ThirdOrder), wrapAdd(SecondOrder, FirstOrder));
}

double TAltitude::GradientAt(double t) const {
  const double length = std::fabs(TraceLength());
  if (length == 0) return 0;
  return ((3.0 * ThirdOrder * t + 2.0 * SecondOrder) * t + FirstOrder) / length;
}

double TAltitude::GreatestGradient() const {
  double greatest = std::max(std::fabs(GradientAt(0)), std::fabs(GradientAt(1)));
  if (ThirdOrder != 0) {
    const double t = -static_cast<double>(SecondOrder) / (3.0 * ThirdOrder);
    if (t > 0 && t < 1) greatest = std::max(greatest, std::fabs(GradientAt(t)));
  }
  return greatest;
}


namespace {

// The field a value name stands for, or nullptr.
int32_t AltitudeValues::*AltitudeField(const std::string& name) {
  struct Entry {
    const char* name;
    int32_t AltitudeValues::*field;
  };
  static const Entry kEntries[] = {
      {"3rd order coeff.", &AltitudeValues::ThirdOrder}, {"2nd order coeff.", &AltitudeValues::SecondOrder},
      {"1st order coeff.", &AltitudeValues::FirstOrder}, {"Height@Start", &AltitudeValues::HeightAtStart},
      {"A3", &AltitudeValues::A3},                       {"B2", &AltitudeValues::B2},
      {"X", &AltitudeValues::X},                         {"Y", &AltitudeValues::Y},
  };
  for (const Entry& entry : kEntries)
    if (name == entry.name) return entry.field;
  return nullptr;
}

}  // namespace

int32_t TAltitude::GetValue(const std::string& name) const {
  int32_t AltitudeValues::*field = AltitudeField(name);
  return field ? this->*field : 0;
}

bool TAltitude::SetValue(const std::string& name, int32_t value) {
  int32_t AltitudeValues::*field = AltitudeField(name);
  if (field == nullptr) return false;
  this->*field = value;
  // The derivative's coefficients follow the coefficients they belong to.
  if (field == &AltitudeValues::ThirdOrder) A3 = wrapMul(3, value);
  if (field == &AltitudeValues::SecondOrder) B2 = wrapMul(2, value);
  return true;
}

}  // namespace meridal
