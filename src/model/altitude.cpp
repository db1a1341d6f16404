#include "model/altitude.h"

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
  ThirdOrder = source.ThirdOrder;
  SecondOrder = source.SecondOrder;
  FirstOrder = source.FirstOrder;
  HeightAtStart = source.HeightAtStart;
  A3 = source.A3;
  B2 = source.B2;
  X = source.X;
  Y = source.Y;
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

void TAltitude::Highlight() {
  Section()->Highlight();
  Section()->SelectAltitude(Number);
}

int32_t TAltitude::AccessValue(const std::string& name, int32_t value, bool set) {
  struct Entry {
    const char* name;
    int32_t TAltitude::*field;
  };
  static const Entry kEntries[] = {
      {"3rd order coeff.", &TAltitude::ThirdOrder}, {"2nd order coeff.", &TAltitude::SecondOrder},
      {"1st order coeff.", &TAltitude::FirstOrder}, {"Height@Start", &TAltitude::HeightAtStart},
      {"A3", &TAltitude::A3},                       {"B2", &TAltitude::B2},
      {"X", &TAltitude::X},                         {"Y", &TAltitude::Y},
  };
  for (const Entry& entry : kEntries) {
    if (name != entry.name) continue;
    if (!set) return this->*entry.field;
    this->*entry.field = value;
    // The derivative's coefficients follow the coefficients they belong to.
    if (entry.field == &TAltitude::ThirdOrder) A3 = wrapMul(3, value);
    if (entry.field == &TAltitude::SecondOrder) B2 = wrapMul(2, value);
    return 1;
  }
  return 0;
}

}  // namespace meridal
