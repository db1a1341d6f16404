#include "model/wall.h"

#include "model/object_pool.h"
#include "model/section.h"

namespace meridal {

using TWallPool = ObjectPool<sizeof(TWall), alignof(TWall)>;

void* TWall::operator new(size_t) { return TWallPool::Allocate(); }

void TWall::operator delete(void* p) noexcept { TWallPool::Free(p); }

const char* SurfaceName(int32_t surface) {
  switch (surface) {
    case kSurfaceTarmac: return "Tarmac";
    case kSurfaceConcrete: return "Concrete";
    case kSurfaceCurbs: return "Curbs";
    case kSurfaceGrass: return "Grass";
    case kSurfaceDirt: return "Dirt";
    case kSurfaceGravel: return "Gravel";
    case kSurfaceBanking: return "Banking";
    case kSurfaceLeftBorder: return "Left Border";
    default: return nullptr;
  }
}

TWall::TWall(TSection* owner) : TBase(owner) {}

TWall::TWall(TSection* owner, const TWall& source) : TBase(owner) {
  Number = source.Number;
  From = source.From;
  To = source.To;
  Surface = source.Surface;
  Unk1 = source.Unk1;
  Height = source.Height;
  Unk2 = source.Unk2;
  Unk3 = source.Unk3;
  Unk4 = source.Unk4;
  FromPoint = source.FromPoint;
  ToPoint = source.ToPoint;
}

TSection* TWall::Section() const { return static_cast<TSection*>(Owner); }

TBase* TWall::Next() {
  TSection* section = Section();
  if (Number + 1 >= section->NumberOfWalls()) return nullptr;
  return section->Wall(Number + 1);
}

TBase* TWall::Previous() {
  if (Number <= 0) return nullptr;
  return Section()->Wall(Number - 1);
}

void TWall::Highlight() {
  Section()->Highlight();
  Section()->SelectChild(Number);
}

int32_t TWall::AccessValue(const std::string& name, int32_t value, bool set) {
  const bool isFrom = name == "From";
  if (isFrom || name == "To") {
    int32_t TWall::*field = isFrom ? &TWall::From : &TWall::To;
    if (!set) return this->*field;
    // The walls stay ordered from right to left at both ends of the section.
    const auto* previous = static_cast<TWall*>(Previous());
    const auto* next = static_cast<TWall*>(Next());
    if (previous && previous->*field > value) return 0;
    if (next && value > next->*field) return 0;
    this->*field = value;
    Section()->RecomputeWallPoints(Number);
    Section()->RecomputeExtent();
    return 1;
  }
  int32_t TWall::*field = nullptr;
  if (name == "Surface") field = &TWall::Surface;
  else if (name == "Unk1") field = &TWall::Unk1;
  else if (name == "Height") field = &TWall::Height;
  else if (name == "Unk2") field = &TWall::Unk2;
  else if (name == "Unk3") field = &TWall::Unk3;
  else if (name == "Unk4") field = &TWall::Unk4;
  if (field == nullptr) return 0;
  if (!set) return this->*field;
  this->*field = value;
  return 1;
}

}  // namespace meridal
