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
  Values() = source.Values();
}

TSection* TWall::Section() const { return static_cast<TSection*>(Owner); }

TBase* TWall::Next() const {
  TSection* section = Section();
  if (Number + 1 >= section->NumberOfWalls()) return nullptr;
  return section->Wall(Number + 1);
}

TBase* TWall::Previous() const {
  if (Number <= 0) return nullptr;
  return Section()->Wall(Number - 1);
}


namespace {

// The field a value name stands for, or nullptr.
int32_t WallValues::*WallField(const std::string& name) {
  if (name == "From") return &WallValues::From;
  if (name == "To") return &WallValues::To;
  if (name == "Surface") return &WallValues::Surface;
  if (name == "Unk1") return &WallValues::Unk1;
  if (name == "Height") return &WallValues::Height;
  if (name == "Unk2") return &WallValues::Unk2;
  if (name == "Unk3") return &WallValues::Unk3;
  if (name == "Unk4") return &WallValues::Unk4;
  return nullptr;
}

}  // namespace

int32_t TWall::GetValue(const std::string& name) const {
  int32_t WallValues::*field = WallField(name);
  return field ? this->*field : 0;
}

bool TWall::SetValue(const std::string& name, int32_t value) {
  int32_t WallValues::*field = WallField(name);
  if (field == nullptr) return false;
  if (field == &WallValues::From || field == &WallValues::To) {
    // The walls stay ordered from right to left at both ends of the section.
    const auto* previous = static_cast<const TWall*>(Previous());
    const auto* next = static_cast<const TWall*>(Next());
    if (previous && previous->*field > value) return false;
    if (next && value > next->*field) return false;
    this->*field = value;
    Section()->RecomputeWallPoints(Number);
    Section()->RecomputeExtent();
    return true;
  }
  this->*field = value;
  return true;
}

}  // namespace meridal
