#include "model/object_path.h"

#include "model/track.h"

namespace meridal {

TObjectPath PathOf(const TBase& object) {
  if (const auto* wall = dynamic_cast<const TWall*>(&object))
    return TObjectPath::Wall(wall->Section()->Number, wall->Number);
  if (const auto* altitude = dynamic_cast<const TAltitude*>(&object))
    return TObjectPath::Altitude(altitude->Section()->Number, altitude->Number);
  if (dynamic_cast<const TSection*>(&object)) return TObjectPath::Section(object.Number);
  return TObjectPath::Track();
}

TBase* Resolve(TTrack& track, const TObjectPath& path) {
  if (path.kind == TObjectPath::Kind::Track) return &track;
  if (path.section < 0 || path.section >= track.NumberOfSections()) return nullptr;
  TSection* section = track.Section(path.section);
  switch (path.kind) {
    case TObjectPath::Kind::Section: return section;
    case TObjectPath::Kind::Wall:
      return path.child >= 0 && path.child < section->NumberOfWalls() ? section->Wall(path.child) : nullptr;
    case TObjectPath::Kind::Altitude:
      return path.child >= 0 && path.child < section->NumberOfAltitudes() ? section->Altitude(path.child) : nullptr;
    case TObjectPath::Kind::Track: break;
  }
  return nullptr;
}

const TBase* Resolve(const TTrack& track, const TObjectPath& path) {
  return Resolve(const_cast<TTrack&>(track), path);
}

std::string PathName(const TObjectPath& path) {
  const std::string section = "Section " + std::to_string(path.section);
  switch (path.kind) {
    case TObjectPath::Kind::Track: return "Track";
    case TObjectPath::Kind::Section: return section;
    case TObjectPath::Kind::Wall: return "Wall " + std::to_string(path.child) + " in " + section;
    case TObjectPath::Kind::Altitude: return "Altitude " + std::to_string(path.child) + " in " + section;
  }
  return std::string();
}

}  // namespace meridal
