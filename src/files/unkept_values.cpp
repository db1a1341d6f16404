#include "files/unkept_values.h"

#include "model/altitude.h"
#include "model/numbers.h"
#include "model/object_path.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

namespace {

constexpr size_t kMostListed = 10;

std::string NotKept(const std::string& name, const char* file, const std::string& derivation) {
  return name + " is not kept in the " + file + "; it is " + derivation + " when the file is read";
}

// Where a format derives the value instead of keeping it: the file's name in a
// sentence, or nullptr when it keeps it.
const char* DerivingFile(const std::string& name, TrackFormat format) {
  switch (format) {
    case TrackFormat::Project: return "project file";
    case TrackFormat::Json: return name == "Length" || name == "Start" ? "JSON text" : nullptr;
    case TrackFormat::TrackFile: return nullptr;
  }
  return nullptr;
}

}  // namespace

std::string UnkeptValueReason(const TBase& object, const std::string& name, TrackFormat format) {
  const char* file = DerivingFile(name, format);
  if (!file) return std::string();
  if (dynamic_cast<const TTrack*>(&object) && name == "Length")
    return NotKept(name, file, "the sum of the section lengths");
  if (dynamic_cast<const TSection*>(&object) && name == "Start")
    return NotKept(name, file, "the sum of the lengths of the sections before it");
  if (dynamic_cast<const TAltitude*>(&object)) {
    if (name == "A3") return NotKept(name, file, "3 \u00d7 3rd order coeff.");
    if (name == "B2") return NotKept(name, file, "2 \u00d7 2nd order coeff.");
  }
  return std::string();
}

std::vector<std::string> UnkeptValues(const TTrack& track, const std::set<std::string>& names, TrackFormat format) {
  std::vector<std::string> lost;
  size_t more = 0;
  const auto note = [&](const TBase& object, const TObjectPath& path, const std::string& name, bool differs) {
    if (!differs || !names.count(name)) return;
    const std::string reason = UnkeptValueReason(object, name, format);
    if (reason.empty()) return;
    if (lost.size() < kMostListed) lost.push_back(PathName(path) + ": " + reason);
    else ++more;
  };
  note(track, TObjectPath::Track(), "Length", track.Length != track.SumOfSectionLengths());
  int32_t start = 0;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    note(section, TObjectPath::Section(s), "Start", section.Start != start);
    start = wrapAdd(start, section.Length);
    for (int j = 0; j < section.NumberOfAltitudes(); ++j) {
      const TAltitude& a = *section.Altitude(j);
      note(a, TObjectPath::Altitude(s, j), "A3", a.A3 != wrapMul(3, a.ThirdOrder));
      note(a, TObjectPath::Altitude(s, j), "B2", a.B2 != wrapMul(2, a.SecondOrder));
    }
  }
  if (more > 0) lost.push_back("... and " + std::to_string(more) + " more");
  return lost;
}

}  // namespace meridal
