#include "cli/object_path.h"

#include <cctype>
#include <vector>

#include "model/track.h"
#include "present/value_text.h"

namespace meridal {

namespace {

std::string Normalised(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '-' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

// "word N" with a canonical non-negative number.
bool WordAndNumber(const std::string& part, const std::string& word, int& number) {
  if (part.compare(0, word.size() + 1, word + " ") != 0) return false;
  auto n = ParseCanonicalDecimal(part.substr(word.size() + 1));
  if (!n || *n < 0) return false;
  number = *n;
  return true;
}

}  // namespace

bool ParseObjectPath(const std::string& text, ObjectRef& out) {
  const std::vector<std::string> parts = Split(Normalised(text), '/');
  ObjectRef ref;
  if (parts.size() == 1 && parts[0] == "track") {
    out = ref;
    return true;
  }
  if (parts.empty() || parts.size() > 2 || !WordAndNumber(parts[0], "section", ref.section)) return false;
  ref.kind = ObjectRef::Kind::Section;
  if (parts.size() == 2) {
    if (WordAndNumber(parts[1], "wall", ref.child)) ref.kind = ObjectRef::Kind::Wall;
    else if (WordAndNumber(parts[1], "altitude", ref.child)) ref.kind = ObjectRef::Kind::Altitude;
    else return false;
  }
  out = ref;
  return true;
}

TBase* ResolveObject(TTrack& track, const ObjectRef& ref) {
  if (ref.kind == ObjectRef::Kind::Track) return &track;
  if (ref.section < 0 || ref.section >= track.NumberOfSections()) return nullptr;
  TSection* section = track.Section(ref.section);
  switch (ref.kind) {
    case ObjectRef::Kind::Section: return section;
    case ObjectRef::Kind::Wall:
      return ref.child < section->NumberOfWalls() ? section->Wall(ref.child) : nullptr;
    case ObjectRef::Kind::Altitude:
      return ref.child < section->NumberOfAltitudes() ? section->Altitude(ref.child) : nullptr;
    case ObjectRef::Kind::Track: break;
  }
  return nullptr;
}

}  // namespace meridal
