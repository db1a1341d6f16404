#include "files/json/track_json_canonical.h"

#include <climits>
#include <cstring>
#include <string>

#include "files/track_assembly.h"
#include "files/json/track_json_format.h"
#include "model/numbers.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

namespace {

// The text from a position on: fixed literals and integers, nothing else.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  bool AtEnd() const { return p_ == end_; }
  // The literal, if the text continues with it. (The literals are a few
  // characters long: compared in place, without a call.)
  bool Take(std::string_view literal) {
    const size_t n = literal.size();
    if (static_cast<size_t>(end_ - p_) < n) return false;
    for (size_t i = 0; i < n; ++i)
      if (p_[i] != literal[i]) return false;
    p_ += n;
    return true;
  }
  // An integer as JSON writes one (no plus sign, no leading zero, no fraction or
  // exponent) that fits in 32 bits. Read digit by digit: the text holds millions.
  bool Integer(int32_t& value) {
    const char* q = p_;
    const bool negative = q < end_ && *q == '-';
    if (negative) ++q;
    const char* digits = q;
    int64_t v = 0;
    while (q < end_ && *q >= '0' && *q <= '9' && q - digits < 11) v = v * 10 + (*q++ - '0');
    const size_t count = static_cast<size_t>(q - digits);
    if (count == 0 || (count > 1 && *digits == '0')) return false;
    if (q < end_ && ((*q >= '0' && *q <= '9') || *q == '.' || *q == 'e' || *q == 'E')) return false;
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    p_ = q;
    value = static_cast<int32_t>(v);
    return true;
  }
  // ", " after the object's fields before it, then "key": and the integer; the
  // text stays where it was when it does not continue so.
  bool Field(const std::string& quotedKey, bool first, int32_t& value) {
    const char* start = p_;
    if ((first || Take(", ")) && Take(quotedKey) && Integer(value)) return true;
    p_ = start;
    return false;
  }
  bool Field(const char* key, bool first, int32_t& value) { return Field(Quoted(key), first, value); }

  // "key": as the writer writes it.
  static std::string Quoted(const char* key) { return std::string("\"") + key + "\": "; }

 private:
  const char* p_;
  const char* end_;
};

constexpr std::string_view kWallsOpen = ",\n      \"walls\": [";
constexpr std::string_view kAltitudesAfterWalls = "\n      ],\n      \"altitudes\": [";
constexpr std::string_view kAltitudesAfterNoWall = "],\n      \"altitudes\": [";
constexpr std::string_view kRecordOpen = "\n        {";
constexpr std::string_view kNextRecord = ",\n        {";

// The eight keys of a record, quoted as the writer writes them, made once.
struct QuotedKeys {
  std::string key[8];
  explicit QuotedKeys(const char* const (&keys)[8]) {
    for (int k = 0; k < 8; ++k) key[k] = Scanner::Quoted(keys[k]);
  }
};

bool ReadWalls(Scanner& in, TSection& section) {
  static const QuotedKeys keys(kJsonWallKeys);
  if (in.Take(kAltitudesAfterNoWall)) return true;
  if (!in.Take(kRecordOpen)) return false;
  do {
    int32_t v[8];
    for (int k = 0; k < 8; ++k)
      if (!in.Field(keys.key[k], k == 0, v[k])) return false;
    if (!in.Take("}")) return false;
    section.Walls.push_back(NewWall(&section, v));
  } while (in.Take(kNextRecord));
  return in.Take(kAltitudesAfterWalls);
}

bool ReadAltitude(Scanner& in, TSection& section) {
  static const QuotedKeys keys(kJsonAltitudeKeys);
  int32_t v[8] = {};
  for (int k = 0; k < 4; ++k)
    if (!in.Field(keys.key[k], k == 0, v[k])) return false;
  const bool a3 = in.Field(keys.key[kJsonA3], false, v[kJsonA3]);
  const bool b2 = in.Field(keys.key[kJsonB2], false, v[kJsonB2]);
  if (!in.Field(keys.key[6], false, v[6]) || !in.Field(keys.key[7], false, v[7]) || !in.Take("}")) return false;
  if (!a3) v[kJsonA3] = wrapMul(3, v[0]);
  if (!b2) v[kJsonB2] = wrapMul(2, v[1]);
  section.Altitudes.push_back(NewAltitude(&section, v));
  return true;
}

std::unique_ptr<TSection> ReadSection(Scanner& in, TTrack& owner, size_t traces) {
  int32_t type = 0, length = 0, orientation = 0;
  if (!in.Take("    {\"type\": ")) return nullptr;
  if (in.Take("\"straight\"")) type = kStraight;
  else if (in.Take("\"curved\"")) type = kCurved;
  else if (!in.Integer(type)) return nullptr;
  if (!in.Field("length", false, length) || !in.Field("orientation", false, orientation))
    return nullptr;
  auto section = NewSectionOfType(owner, type);
  section->Length = length;
  section->Orientation = orientation;
  if (!IsStraightType(type) && !(in.Field("curveCenterX", false, section->ExportWords[0]) &&
                                     in.Field("curveCenterY", false, section->ExportWords[1]) &&
                                     in.Field("curvature", false, section->ExportWords[2])))
    return nullptr;
  if (!in.Take(kWallsOpen) || !ReadWalls(in, *section)) return nullptr;
  section->Altitudes.reserve(traces);
  if (!in.Take(kRecordOpen)) return nullptr;
  do {
    if (!ReadAltitude(in, *section)) return nullptr;
  } while (in.Take(kNextRecord));
  if (!in.Take("\n      ]}") || section->Altitudes.size() != traces) return nullptr;
  return section;
}

}  // namespace

bool ReadCanonicalJson(std::string_view text, TTrack& owner, std::vector<int32_t>& traces,
                       std::vector<std::unique_ptr<TSection>>& sections) {
  Scanner in(text);
  if (!in.Take("{\n  \"format\": \"") || !in.Take(kJsonFormatName) || !in.Take("\",\n  \"version\": 1,\n  \"traces\": ["))
    return false;
  traces.clear();
  do {
    int32_t trace;
    if (!in.Integer(trace) || traces.size() == 16) return false;
    traces.push_back(trace);
  } while (in.Take(", "));
  if (!in.Take("],\n  \"sections\": [\n")) return false;
  sections.clear();
  int64_t walls = 0;
  do {
    auto section = ReadSection(in, owner, traces.size());
    if (!section) return false;
    walls += section->NumberOfWalls();
    sections.push_back(std::move(section));
  } while (in.Take(",\n"));
  return in.Take("\n  ]\n}\n") && in.AtEnd() && walls <= INT32_MAX / 32 &&
         static_cast<int64_t>(sections.size()) <= INT32_MAX / 52;
}

}  // namespace meridal
