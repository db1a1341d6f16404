#include "model/track.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/numbers.h"
#include "model/units.h"
#include "model/straight_section.h"

namespace meridal {

TTrack::TTrack() : TBase(nullptr) {}

TTrack::~TTrack() = default;

void TTrack::SetDefaults() {
  Number = 0;
  Traces = {-kFiveMeters, kFiveMeters};
  Sections.clear();
  auto section = std::make_unique<TStraightSection>(this);
  section->SetDefaults();
  section->Number = 0;
  Sections.push_back(std::move(section));
  RecomputeRecordIndices();
  RecomputeStarts();
  UpdateExtent();
}

void TTrack::RecomputeRecordIndices() {
  int32_t walls = 0;
  for (int s = 0; s < NumberOfSections(); ++s) {
    TSection* section = Section(s);
    section->FirstAltitude = wrapMul(s, NumberOfTraces());
    section->FirstWall = walls;
    walls = wrapAdd(walls, section->NumberOfWalls());
  }
  WallTableSize = wrapMul(32, walls);
  SectionTableSize = wrapMul(52, NumberOfSections());
}

void TTrack::RecomputeStarts() {
  int32_t start = 0;
  for (auto& section : Sections) {
    section->Start = start;
    start = wrapAdd(start, section->Length);
  }
  Length = start;
}

int32_t TTrack::SumOfSectionLengths() const {
  int32_t sum = 0;
  for (const auto& section : Sections) sum = wrapAdd(sum, section->Length);
  return sum;
}

void TTrack::UpdateExtent() {
  // The origin is always inside, and one margin taken from the width serves all
  // four sides.
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  for (const auto& section : Sections) {
    const TRect& box = section->Extent;
    left = std::min(left, box.left);
    right = std::max(right, box.right);
    top = std::max(top, box.top);
    bottom = std::min(bottom, box.bottom);
  }
  // Worked out in 64 bits and held at the int32 ends: a box reaching the edge of
  // the plan keeps left <= right and bottom <= top.
  const int64_t margin = (static_cast<int64_t>(right) - left) / 10;
  const auto saturated = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  Extent.left = saturated(left - margin);
  Extent.right = saturated(right + margin);
  Extent.top = saturated(top + margin);
  Extent.bottom = saturated(bottom - margin);
}

bool TTrack::SetTrace(int n, int32_t value) {
  if (n < 0 || n >= NumberOfTraces()) return false;
  if (n > 0 && Traces[static_cast<size_t>(n - 1)] >= value) return false;
  if (n < NumberOfTraces() - 1 && Traces[static_cast<size_t>(n + 1)] <= value) return false;
  for (const auto& section : Sections)
    if (!section->TracePositionFits(value)) return false;
  Traces[static_cast<size_t>(n)] = value;
  for (auto& section : Sections) section->RecomputeTracePoint(n);
  return true;
}

int TTrack::TraceIndexOfName(const std::string& name) const {
  // "Trace %i": at least 7 characters, "Trace" first (the sixth character is not
  // examined), then exactly the canonical decimal form of a trace number.
  if (name.size() < 7 || name.compare(0, 5, "Trace") != 0) return -1;
  const std::string digits = name.substr(6);
  if (digits.size() > 11) return -1;
  char* end = nullptr;
  const long long n = std::strtoll(digits.c_str(), &end, 10);
  if (n < 0 || n >= NumberOfTraces()) return -1;
  if (std::to_string(n) != digits) return -1;
  return static_cast<int>(n);
}

int32_t TTrack::GetValue(const std::string& name) const {
  if (name == "Length") return Length;
  const int n = TraceIndexOfName(name);
  return n < 0 ? 0 : Traces[static_cast<size_t>(n)];
}

bool TTrack::SetValue(const std::string& name, int32_t value) {
  if (name == "Length") {
    Length = value;
    return true;
  }
  const int n = TraceIndexOfName(name);
  return n >= 0 && SetTrace(n, value);
}

int TTrack::SectionAt(double x, double y) const {
  for (int i = 0; i < NumberOfSections(); ++i)
    if (Section(i)->HitTest(x, y)) return i;
  return -1;
}

void TTrack::RenumberSections() {
  for (int i = 0; i < NumberOfSections(); ++i) Section(i)->Number = i;
}

}  // namespace meridal
