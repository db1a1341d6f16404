#include "files/json/track_json_reader.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "files/track_assembly.h"
#include "files/json/track_json_canonical.h"
#include "files/json/track_json_format.h"
#include "files/json/track_json_text.h"
#include "files/safety/shown_text.h"
#include "model/numbers.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

namespace {

using Json = nlohmann::json;
using json_text::NumberProblem;
using json_text::Progress;
using json_text::TrackedChars;
using json_text::WithTokenShown;
using json_text::WrittenNumber;

enum class Place { Document, Top, Traces, Sections, Section, Walls, Wall, Altitudes, Altitude };

// The keys of each kind of object, by field number.
constexpr const char* kTopKeys[] = {"format", "version", "traces", "sections"};
enum TopField { kFormat, kVersion, kTracesKey, kSectionsKey };
constexpr const char* kSectionKeys[] = {"type", "length", "orientation", "curveCenterX", "curveCenterY",
                                        "curvature", "walls", "altitudes"};
enum SectionField { kType, kLength, kOrientation, kCenterX, kCenterY, kCurvature, kWallsKey, kAltitudesKey };

struct KeySet {
  const char* const* names;
  int count;
  unsigned required;  // a bit per field
};
constexpr KeySet kTopSet{kTopKeys, 4, 0xF};
constexpr KeySet kSectionSet{kSectionKeys, 8, 1u << kType | 1u << kLength | 1u << kOrientation |
                                                  1u << kWallsKey | 1u << kAltitudesKey};
constexpr unsigned kCenterBits = 1u << kCenterX | 1u << kCenterY | 1u << kCurvature;
constexpr KeySet kWallSet{kJsonWallKeys, 8, 0xFF};
constexpr KeySet kAltitudeSet{kJsonAltitudeKeys, 8, 0xFF & ~(1u << kJsonA3 | 1u << kJsonB2)};

struct Frame {
  Place place;
  const char* start;             // where the object or array began
  const char* openedBy = nullptr;  // the key it is the value of, if any
  int64_t index = -1;            // its index in the array that holds it, if any
  int64_t count = 0;             // arrays: the elements so far
  unsigned seen = 0;             // objects: the fields so far
  int key = -1;                  // objects: the field whose value comes next
  const char* keyName = nullptr;
};

// The SAX handler: checks every event where it comes and collects the track's
// values; the first problem ends the parse.
class Collector {
 public:
  Collector(std::string_view text, Progress& progress, TTrack& track)
      : text_(text), progress_(progress), track_(track) {}

  std::vector<int32_t> traces;
  std::vector<std::unique_ptr<TSection>> sections;
  std::string error;

  // ---- the events ----
  bool null() { return Unexpected(); }
  bool boolean(bool) { return Unexpected(); }
  bool number_integer(Json::number_integer_t v) { return Number(v, true); }
  bool number_unsigned(Json::number_unsigned_t v) {
    return v > static_cast<uint64_t>(INT64_MAX) ? Number(0, false) : Number(static_cast<int64_t>(v), true);
  }
  bool number_float(Json::number_float_t, const std::string&) { return Number(0, false); }
  bool string(std::string& value);
  bool binary(Json::binary_t&) { return Unexpected(); }
  bool start_object(std::size_t);
  bool key(std::string& name);
  bool end_object();
  bool start_array(std::size_t);
  bool end_array();
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e);

  // After the parser took the document: nothing but white space may follow it
  // (the parser itself stops at a NUL byte as at the end of the text).
  bool NothingFollows();
  // The refusal came from a token grown too long, or the parser stopped well
  // before the end of the text: whatever follows, the text is refused alike.
  bool RefusedBeforeTheEnd() const;

 private:
  Frame& Top() { return stack_.back(); }
  Place Expected() const;  // what the next value may open
  // A number event: `exact` when the parser's integer holds the number written.
  bool Number(int64_t v, bool exact);
  bool Integer(int64_t v, std::string_view written);
  bool Open(Place place);
  // A key's value is taken: what goes wrong next belongs to the object.
  static bool Taken(Frame& f) {
    f.keyName = nullptr;
    return true;
  }
  bool FinishTop();
  bool FinishSection();
  bool FinishWall();
  bool FinishAltitude();

  // The value's path, e.g. "sections[3].walls[1].from"; without the key, the
  // path of the object or array that holds it.
  std::string Path(bool withKey = true) const;
  const char* Here() const { return progress_.mark > text_.data() ? progress_.mark - 1 : text_.data(); }
  bool Fail(const char* at, const std::string& what);
  bool FailAt(const char* at, const std::string& path, const std::string& what);
  bool Unexpected();
  bool Fits(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

  std::string_view text_;
  Progress& progress_;
  TTrack& track_;
  std::vector<Frame> stack_;

  // The section being read.
  int64_t section_[6] = {};
  std::vector<std::unique_ptr<TWall>> walls_;
  std::vector<std::unique_ptr<TAltitude>> altitudes_;
  const char* altitudesStart_ = nullptr;
  int32_t record_[8] = {};  // the wall or altitude being read
  // Altitude counts to check once the traces are known (when they come last).
  std::vector<std::pair<int64_t, const char*>> altitudeCounts_;
  const char* documentEnd_ = nullptr;  // the closing brace of the document, once read
};

bool IsObject(Place p) { return p == Place::Top || p == Place::Section || p == Place::Wall || p == Place::Altitude; }
bool IsArray(Place p) { return p == Place::Traces || p == Place::Sections || p == Place::Walls || p == Place::Altitudes; }

const KeySet* KeysOf(Place place) {
  switch (place) {
    case Place::Top: return &kTopSet;
    case Place::Section: return &kSectionSet;
    case Place::Wall: return &kWallSet;
    case Place::Altitude: return &kAltitudeSet;
    default: return nullptr;
  }
}

bool Collector::FailAt(const char* at, const std::string& path, const std::string& what) {
  if (!error.empty()) return false;
  std::string where = path, problem = what;
  if (const char* token = progress_.overflow) {
    // Whatever the parser made of the cut token, the token is what is wrong.
    const bool quoted = *token == '"';
    const std::string shown = ShownFileText(text_.substr(static_cast<size_t>(token - text_.data()) + quoted));
    const std::string limit = std::to_string(kLongestFileText);
    problem = quoted ? "\"" + shown + "\" is longer than any key or text of a track (" + limit + " bytes)"
                     : shown + " is longer than any number (" + limit + " characters)";
    where = Path(false);
    at = token;
  }
  const long long line = 1 + std::count(text_.data(), at, '\n');
  error = "JSON file, line " + std::to_string(line) + ": " + (where.empty() ? problem : where + ": " + problem);
  return false;
}

bool Collector::Fail(const char* at, const std::string& what) { return FailAt(at, Path(), what); }

std::string Collector::Path(bool withKey) const {
  std::string path;
  const auto name = [&path](const char* key) {
    if (!path.empty()) path += '.';
    path += key;
  };
  const auto index = [&path](int64_t i) {
    path += '[';
    path += std::to_string(i);
    path += ']';
  };
  for (const Frame& f : stack_) {
    if (f.openedBy) name(f.openedBy);
    if (f.index >= 0) index(f.index);
  }
  if (stack_.empty()) return path;
  const Frame& top = stack_.back();
  if (withKey && top.keyName) name(top.keyName);
  if (withKey && IsArray(top.place)) index(top.count);
  return path;
}

Place Collector::Expected() const {
  if (stack_.empty()) return Place::Top;
  const Frame& f = stack_.back();
  switch (f.place) {
    case Place::Top: return f.key == kTracesKey ? Place::Traces : f.key == kSectionsKey ? Place::Sections : Place::Document;
    case Place::Sections: return Place::Section;
    case Place::Section: return f.key == kWallsKey ? Place::Walls : f.key == kAltitudesKey ? Place::Altitudes : Place::Document;
    case Place::Walls: return Place::Wall;
    case Place::Altitudes: return Place::Altitude;
    default: return Place::Document;  // nothing may be opened here
  }
}

bool Collector::Unexpected() {
  const Frame* f = stack_.empty() ? nullptr : &stack_.back();
  const char* what = "an integer";
  switch (Expected()) {
    case Place::Top: case Place::Section: case Place::Wall: case Place::Altitude: what = "an object"; break;
    case Place::Traces: case Place::Sections: case Place::Walls: case Place::Altitudes: what = "an array"; break;
    default:
      if (f && f->place == Place::Top && f->key == kFormat) what = "a string";
      if (f && f->place == Place::Section && f->key == kType) what = "\"straight\" or \"curved\"";
  }
  return Fail(Here(), std::string("expected ") + what);
}

bool Collector::Open(Place place) {
  if (Expected() != place) return Unexpected();
  Frame frame{place, Here()};
  if (!stack_.empty()) {
    Frame& parent = stack_.back();
    if (parent.keyName) frame.openedBy = parent.keyName;
    else frame.index = parent.count;
    parent.keyName = nullptr;  // the frame names it from now on
  }
  stack_.push_back(frame);
  if (place == Place::Section) {
    std::fill(std::begin(section_), std::end(section_), 0);
    walls_.clear();
    altitudes_.clear();
  }
  if (place == Place::Altitudes) altitudesStart_ = frame.start;
  return true;
}

bool Collector::start_object(std::size_t) { return IsObject(Expected()) ? Open(Expected()) : Unexpected(); }
bool Collector::start_array(std::size_t) { return IsArray(Expected()) ? Open(Expected()) : Unexpected(); }

bool Collector::key(std::string& name) {
  Frame& f = Top();
  const KeySet& keys = *KeysOf(f.place);
  for (int k = 0; k < keys.count; ++k) {
    if (name != keys.names[k]) continue;
    f.key = k;
    f.keyName = keys.names[k];
    if (f.seen & (1u << k)) return Fail(Here(), "appears twice");
    f.seen |= 1u << k;
    return true;
  }
  f.key = -1;
  f.keyName = nullptr;
  return Fail(Here(), "unknown key \"" + ShownFileText(name) + "\"" + (stack_.size() > 1 ? "" : " at the top"));
}

bool Collector::string(std::string& value) {
  Frame* f = stack_.empty() ? nullptr : &stack_.back();
  if (f && f->place == Place::Top && f->key == kFormat) {
    if (value != kJsonFormatName)
      return Fail(Here(), "\"" + ShownFileText(value) + "\" is not \"" + kJsonFormatName + "\"");
    return Taken(*f);
  }
  if (f && f->place == Place::Section && f->key == kType) {
    if (value == "straight") section_[kType] = kStraight;
    else if (value == "curved") section_[kType] = kCurved;
    else return Fail(Here(), "\"" + ShownFileText(value) + "\" is neither \"straight\" nor \"curved\"");
    return Taken(*f);
  }
  return Unexpected();
}

bool Collector::Number(int64_t v, bool exact) {
  const std::string_view written = WrittenNumber(text_, progress_.mark);
  if (progress_.overflow) return Fail(Here(), std::string());
  if (const char* problem = NumberProblem(written, exact)) return Fail(Here(), ShownFileText(written) + problem);
  return Integer(v, written);
}

bool Collector::Integer(int64_t v, std::string_view written) {
  if (stack_.empty()) return Unexpected();
  Frame& f = Top();
  const bool fits = Fits(v);
  const std::string shown = ShownFileText(written);
  const std::string tooBig = shown + " does not fit in 32 bits";
  switch (f.place) {
    case Place::Top:
      if (f.key != kVersion) return Unexpected();
      if (v != kJsonVersion) return Fail(Here(), shown + " is not a version this program reads (1)");
      return Taken(f);
    case Place::Traces:
      if (!fits) return Fail(Here(), tooBig);
      if (traces.size() >= 16) return Fail(Here(), "a track has at most 16 traces");
      traces.push_back(static_cast<int32_t>(v));
      ++f.count;
      return true;
    case Place::Section:
      // A length of 0 or less, like traces or walls out of order, is read as the
      // project and track files read it; the track check reports it.
      if (f.key < kType || f.key > kCurvature) return Unexpected();
      if (!fits) return Fail(Here(), tooBig);
      section_[f.key] = v;
      return Taken(f);
    case Place::Wall:
    case Place::Altitude:
      if (!fits) return Fail(Here(), tooBig);
      record_[f.key] = static_cast<int32_t>(v);
      return Taken(f);
    default:
      return Unexpected();
  }
}

bool Collector::end_object() {
  Frame& f = Top();
  f.keyName = nullptr;  // problems found now belong to the whole object
  const KeySet& keys = *KeysOf(f.place);
  unsigned required = keys.required;
  if (f.place == Place::Section && (f.seen & 1u << kType) && !IsStraightType(static_cast<int32_t>(section_[kType])))
    required |= kCenterBits;
  for (int k = 0; k < keys.count; ++k)
    if ((required & ~f.seen) & (1u << k))
      return FailAt(f.start, Path(), std::string("\"") + keys.names[k] + "\" is missing");
  bool ok = true;
  switch (f.place) {
    case Place::Top: ok = FinishTop(); break;
    case Place::Section: ok = FinishSection(); break;
    case Place::Wall: ok = FinishWall(); break;
    case Place::Altitude: ok = FinishAltitude(); break;
    default: break;
  }
  if (!ok) return false;
  stack_.pop_back();
  if (!stack_.empty()) ++stack_.back().count;
  else documentEnd_ = Here();
  return true;
}

bool Collector::end_array() {
  stack_.pop_back();
  return true;
}

bool Collector::FinishTop() {
  const Frame& f = Top();
  if (traces.empty()) return FailAt(f.start, "traces", "a track has 1 to 16 traces");
  if (sections.empty()) return FailAt(f.start, "sections", "a track has at least one section");
  for (const auto& [count, at] : altitudeCounts_)
    if (count != static_cast<int64_t>(traces.size()))
      return FailAt(at, "sections", std::to_string(count) + " altitudes, but the track has " +
                                        std::to_string(traces.size()) + " traces");
  int64_t walls = 0;
  for (const auto& s : sections) walls += s->NumberOfWalls();
  if (walls > INT32_MAX / 32 || static_cast<int64_t>(sections.size()) > INT32_MAX / 52)
    return FailAt(f.start, "sections", "too many sections or walls for one track");
  return true;
}

bool Collector::FinishSection() {
  const Frame& f = Top();
  const auto type = static_cast<int32_t>(section_[kType]);
  if (IsStraightType(type) && (f.seen & kCenterBits))
    return FailAt(f.start, Path(), "a straight section has no curveCenterX, curveCenterY or curvature");
  const int64_t count = static_cast<int64_t>(altitudes_.size());
  if (!traces.empty() && count != static_cast<int64_t>(traces.size()))
    return FailAt(altitudesStart_, Path() + ".altitudes", std::to_string(count) + " altitudes, but the track has " +
                                                              std::to_string(traces.size()) + " traces");
  if (traces.empty()) altitudeCounts_.emplace_back(count, altitudesStart_);
  auto s = NewSectionOfType(track_, type);
  s->Length = static_cast<int32_t>(section_[kLength]);
  s->Orientation = static_cast<int32_t>(section_[kOrientation]);
  if (!IsStraightType(type)) {
    s->ExportWords[0] = static_cast<int32_t>(section_[kCenterX]);
    s->ExportWords[1] = static_cast<int32_t>(section_[kCenterY]);
    s->ExportWords[2] = static_cast<int32_t>(section_[kCurvature]);
  }
  for (auto& w : walls_) w->Owner = s.get();
  for (auto& a : altitudes_) a->Owner = s.get();
  s->Walls = std::move(walls_);
  s->Altitudes = std::move(altitudes_);
  walls_.clear();
  altitudes_.clear();
  sections.push_back(std::move(s));
  return true;
}

bool Collector::FinishWall() {
  walls_.push_back(NewWall(nullptr, record_));
  std::fill(std::begin(record_), std::end(record_), 0);
  return true;
}

bool Collector::FinishAltitude() {
  const unsigned seen = Top().seen;
  if (!(seen & (1u << kJsonA3))) record_[kJsonA3] = wrapMul(3, record_[0]);
  if (!(seen & (1u << kJsonB2))) record_[kJsonB2] = wrapMul(2, record_[1]);
  altitudes_.push_back(NewAltitude(nullptr, record_));
  std::fill(std::begin(record_), std::end(record_), 0);
  return true;
}

bool Collector::parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) {
  if (e.id == 406) return Fail(Here(), ShownFileText(WrittenNumber(text_, progress_.mark)) + " is not an integer");  // 1e309
  if (documentEnd_) return NothingFollows();  // the document is whole: what follows it is wrong
  // The library's text after its own "[json.exception...] parse error at line L, column C: ".
  std::string what = e.what();
  const size_t column = what.find("column ");
  const size_t colon = column == std::string::npos ? std::string::npos : what.find(": ", column);
  if (colon != std::string::npos) what = what.substr(colon + 2);
  what = WithTokenShown(what);
  const char* at = text_.data() + std::min(position > 0 ? position - 1 : 0, text_.size());
  // The parser takes a NUL byte for the end of the text; it is no such thing.
  const size_t end = what.find("end of input");
  if (end != std::string::npos && at < text_.data() + text_.size() && *at == '\0') what.replace(end, 12, "\\x00");
  return FailAt(at, Path(), what);
}

bool Collector::NothingFollows() {
  const char* end = text_.data() + text_.size();
  const char* p = documentEnd_ ? documentEnd_ + 1 : end;
  while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')) ++p;
  if (p == end) return true;
  return FailAt(p, std::string(),
                "\"" + ShownFileText(std::string_view(p, static_cast<size_t>(end - p))) +
                    "\" follows the end of the track");
}

bool Collector::RefusedBeforeTheEnd() const {
  if (error.empty()) return false;
  if (progress_.overflow) return true;
  // What a refusal shows of the text (a number as written, what follows the
  // document) lies within kLongestFileText of where the parser stopped.
  return static_cast<size_t>(text_.data() + text_.size() - progress_.mark) > kLongestFileText;
}

// Parses the text with the general parser; false when it is refused, with the
// collector's error set (empty when the parser gave up on its own).
bool Parse(std::string_view text, Progress& progress, Collector& collector) {
  const TrackedChars begin(text.data(), &progress), end(text.data() + text.size(), &progress);
  return Json::sax_parse(begin, end, &collector) && collector.NothingFollows();
}

}  // namespace

bool TrackJsonReader::Read(TTrack& track) {
  Progress progress{text_.data(), text_.data() + text_.size()};
  std::optional<Collector> collector;
  try {
    std::vector<int32_t> traces;
    std::vector<std::unique_ptr<TSection>> sections;
    if (canonicalFirst_ && ReadCanonicalJson(text_, track, traces, sections)) {
      InstallReadTrack(track, std::move(traces), std::move(sections));
      return true;
    }
    collector.emplace(text_, progress, track);
    if (!Parse(text_, progress, *collector)) {
      ShowFileError(messages_, collector->error.empty() ? "JSON file: not a track" : collector->error);
      return false;
    }
    InstallReadTrack(track, std::move(collector->traces), std::move(collector->sections));
  } catch (const std::bad_alloc&) {
    ShowFileError(messages_, "JSON file: not enough memory to read the file");
    return false;
  }
  return true;
}

std::optional<std::string> JsonHeadRefusal(std::string_view head) {
  Progress progress{head.data(), head.data() + head.size()};
  TTrack scratch;
  Collector collector(head, progress, scratch);
  try {
    if (Parse(head, progress, collector)) return std::nullopt;  // a whole track, and only white space after it
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  // A refusal near the head's end may be the cut's doing.
  if (collector.RefusedBeforeTheEnd()) return collector.error;
  return std::nullopt;
}

bool ReadTrackJsonImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages) {
  const std::string_view text(reinterpret_cast<const char*>(image.data()), image.size());
  return TrackJsonReader(text, messages).Read(track);
}

}  // namespace meridal
