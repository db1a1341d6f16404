#include "clipboard/pasted_sections.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/curved_section.h"
#include "model/length_limit.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"
#include "present/format.h"

namespace meridal::clipboard {

namespace {

std::string Pasted(int i) { return "Pasted section " + std::to_string(i); }

// a + (b - a) * num / den, rounded half away from zero, done exactly: the result
// lies between a and b.
int32_t Between(int32_t a, int32_t b, int64_t num, int64_t den) {
  const __int128 product = static_cast<__int128>(static_cast<int64_t>(b) - a) * num;
  __int128 quotient = product / den;
  const __int128 remainder = product % den;
  if (2 * (remainder < 0 ? -remainder : remainder) >= den) quotient += product < 0 ? -1 : 1;
  return static_cast<int32_t>(a + quotient);
}

// A section's profile at a lateral position, from its profiles at the traces.
AltitudeValues ProfileAt(const std::vector<int32_t>& traces, const TSection& section, int32_t at) {
  const int count = std::min(static_cast<int>(traces.size()), section.NumberOfAltitudes());
  if (count == 0) return AltitudeValues{};
  int k = 0;
  while (k + 1 < count && traces[static_cast<size_t>(k + 1)] <= at) ++k;
  const AltitudeValues& low = section.Altitude(k)->Values();
  if (at <= traces[static_cast<size_t>(k)] || k + 1 >= count) return low;  // at a trace, or beyond the outer ones
  const AltitudeValues& high = section.Altitude(k + 1)->Values();
  const int64_t num = static_cast<int64_t>(at) - traces[static_cast<size_t>(k)];
  const int64_t den = static_cast<int64_t>(traces[static_cast<size_t>(k + 1)]) - traces[static_cast<size_t>(k)];
  AltitudeValues profile;
  profile.ThirdOrder = Between(low.ThirdOrder, high.ThirdOrder, num, den);
  profile.SecondOrder = Between(low.SecondOrder, high.SecondOrder, num, den);
  profile.FirstOrder = Between(low.FirstOrder, high.FirstOrder, num, den);
  profile.HeightAtStart = Between(low.HeightAtStart, high.HeightAtStart, num, den);
  profile.A3 = wrapMul(3, profile.ThirdOrder);
  profile.B2 = wrapMul(2, profile.SecondOrder);
  return profile;
}

// A new section of the source's kind for the target: its own values, walls and
// profiles, not yet placed.
std::unique_ptr<TSection> Made(TTrack& target, const TTrack& source, const TSection& from) {
  std::unique_ptr<TSection> section;
  if (from.IsCurved()) section = std::make_unique<TCurvedSection>(&target);
  else section = std::make_unique<TStraightSection>(&target);
  section->Type = from.Type;
  section->Length = from.Length;
  section->Reserved = from.Reserved;
  section->ExportWords[2] = from.ExportWords[2];  // an arc's curvature
  for (int j = 0; j < target.NumberOfTraces(); ++j) {
    section->Altitudes.push_back(std::make_unique<TAltitude>(section.get()));
    section->Altitudes.back()->Values() = ProfileAt(source.Traces, from, target.Traces[static_cast<size_t>(j)]);
    section->Altitudes.back()->Number = j;
  }
  for (const auto& wall : from.Walls) section->Walls.push_back(std::make_unique<TWall>(section.get(), *wall));
  return section;
}

// Puts a made section at (x, y) with that heading; false when its points would
// not fit the plan.
bool Place(TSection& section, const TSection& from, double x, double y, int32_t heading) {
  section.Orientation = heading;
  section.RecomputeExportWords();
  if (auto* arc = dynamic_cast<TCurvedSection*>(&section)) {
    // The source's radius, kept by the target's traces.
    const int64_t radius = nearest64(from.Radius);
    for (int j = 0; j < section.NumberOfAltitudes(); ++j)
      if (!inInt32Range(radius - section.Track()->Traces[static_cast<size_t>(j)]))
        return false;
    arc->Radius = static_cast<double>(radius);
    arc->RecomputeAllTracePoints();
    arc->RecomputeStartX();
    arc->RecomputeStartY();
  } else {
    section.RecomputeSpanX();
    section.RecomputeSpanY();
  }
  return section.SetStart(x, y);
}

// What Edit Value would refuse of a section's own values, told as the name of
// the value refused: the values are put through the checked setters of a scratch
// copy, placed as the pasted one is. The pasted section keeps its values exactly.
std::optional<std::string> RefusedValue(TTrack& target, const TTrack& source, const TSection& from, double x,
                                        double y, int32_t heading) {
  const std::unique_ptr<TSection> scratch = Made(target, source, from);
  if (!Place(*scratch, from, x, y, heading)) return std::nullopt;  // told as lying beyond the plan
  if (!scratch->SetLength(from.Length)) return "Length " + std::to_string(from.Length);
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&from)) {
    if (!scratch->SetCurvature(arc->Curvature())) return "Curvature " + std::to_string(arc->Curvature());
    const int64_t radius = nearest64(from.Radius);
    if (!inInt32Range(radius) || !scratch->SetRadius(static_cast<int32_t>(radius)))
      return "Radius " + std::to_string(radius);
  }
  return std::nullopt;
}

// Whether the track's files can count this many sections, walls and altitudes.
bool CountsFit(const TTrack& target, const TTrack& source) {
  const int64_t sections = static_cast<int64_t>(target.NumberOfSections()) + source.NumberOfSections();
  int64_t walls = 0;
  for (const auto& s : target.Sections) walls += s->NumberOfWalls();
  for (const auto& s : source.Sections) walls += s->NumberOfWalls();
  return 52 * sections <= INT32_MAX && 32 * walls <= INT32_MAX && sections * target.NumberOfTraces() <= INT32_MAX;
}

}  // namespace

bool FitPastedSections(TTrack& target, int after, const TTrack& source,
                       std::vector<std::unique_ptr<TSection>>& made, std::string& reason) {
  made.clear();
  if (after < 0 || after >= target.NumberOfSections() || source.NumberOfSections() == 0) {
    reason = "There is no section to paste after.";
    return false;
  }
  int64_t length = TotalSectionLength(target);
  for (const auto& s : source.Sections) length += s->Length;
  if (length > kMaxTrackLength) {
    reason = "The track would be " + LengthMeaningOf(length) + " long, longer than its 32-bit Length holds (" +
             LengthMeaningOf(kMaxTrackLength) + ").";
    return false;
  }
  if (!CountsFit(target, source)) {
    reason = "The track would have more sections or walls than its files can count in 32 bits.";
    return false;
  }

  std::vector<std::unique_ptr<TSection>> sections;
  const TSection& previous = *target.Section(after);
  double x = previous.EndX(), y = previous.EndY();
  int32_t heading = previous.EndOrientation();
  for (int i = 0; i < source.NumberOfSections(); ++i) {
    const TSection& from = *source.Section(i);
    if (const auto refused = RefusedValue(target, source, from, x, y, heading)) {
      reason = Pasted(i) + ": " + *refused + " is not a valid value (Edit Value refuses it too).";
      return false;
    }
    std::unique_ptr<TSection> section = Made(target, source, from);
    if (!Place(*section, from, x, y, heading)) {
      reason = Pasted(i) + " would lie beyond the plan's 32-bit coordinates.";
      return false;
    }
    x = section->EndX();
    y = section->EndY();
    heading = section->EndOrientation();
    sections.push_back(std::move(section));
  }

  // Each trace goes on from the height where the target section ends (its
  // Height@End, the 32-bit sum the rows and the check show).
  for (int j = 0; j < target.NumberOfTraces() && j < previous.NumberOfAltitudes(); ++j) {
    const int64_t shift =
        static_cast<int64_t>(previous.Altitude(j)->HeightAtEnd()) - sections.front()->Altitude(j)->HeightAtStart;
    for (size_t i = 0; i < sections.size(); ++i) {
      TAltitude& altitude = *sections[i]->Altitude(j);
      const int64_t height = altitude.HeightAtStart + shift;
      if (!inInt32Range(height)) {
        reason = Pasted(static_cast<int>(i)) + ", Altitude " + std::to_string(j) + ": its Height@Start would be " +
                 std::to_string(height) + ", beyond 32 bits.";
        return false;
      }
      altitude.HeightAtStart = static_cast<int32_t>(height);
    }
  }
  made = std::move(sections);
  return true;
}

}  // namespace meridal::clipboard
