#pragma once
// Where an object sits in its track: the track itself, a section, or a wall or an
// altitude of a section, by number. Objects come and go with every structural edit
// and its undo; a path names the same place whatever object is there now.
#include <string>

namespace meridal {

class TBase;
class TTrack;

struct TObjectPath {
  enum class Kind { Track, Section, Wall, Altitude };
  Kind kind = Kind::Track;
  int section = -1;
  int child = -1;  // the wall's or the altitude's number

  static TObjectPath Track() { return {}; }
  static TObjectPath Section(int s) { return {Kind::Section, s, -1}; }
  static TObjectPath Wall(int s, int k) { return {Kind::Wall, s, k}; }
  static TObjectPath Altitude(int s, int j) { return {Kind::Altitude, s, j}; }
  friend bool operator==(const TObjectPath&, const TObjectPath&) = default;
};

// The path of an object of a track.
TObjectPath PathOf(const TBase& object);
// The object at a path, or nullptr when the track has none there.
TBase* Resolve(TTrack& track, const TObjectPath& path);
const TBase* Resolve(const TTrack& track, const TObjectPath& path);
// The object's name in a sentence: "Track", "Section 3", "Wall 2 in Section 3".
std::string PathName(const TObjectPath& path);

}  // namespace meridal
