#include "check/track_check.h"

#include <algorithm>
#include <cmath>

#include "model/track.h"
#include "model/units.h"
#include "present/format.h"

namespace meridal {

namespace {

constexpr double kKinkLimit = 0.01;  // one percentage point of gradient

void CheckPosition(TSection& section, int s, std::vector<TTrackProblem>& out) {
  const std::pair<ProblemKind, int32_t> values[] = {
      {ProblemKind::OrientationMismatch, section.OrientationMismatch()},
      {ProblemKind::LongitudinalGap, section.LongitudinalGap()},
      {ProblemKind::LateralGap, section.LateralGap()},
  };
  for (const auto& [kind, value] : values)
    if (value != 0) out.push_back({kind, s, -1, 0, double(value), double(value)});
}

// Heights as the rows show them: Height@End is the 32-bit sum D + A + B + C.
void CheckHeights(const TSection& previous, const TSection& section, int s, std::vector<TTrackProblem>& out) {
  const int traces = std::min(previous.NumberOfAltitudes(), section.NumberOfAltitudes());
  for (int j = 0; j < traces; ++j) {
    const TAltitude& end = *previous.Altitude(j);
    const TAltitude& start = *section.Altitude(j);
    const double before = end.HeightAtEnd(), after = start.HeightAtStart;
    if (after != before) out.push_back({ProblemKind::HeightStep, s, j, before, after, after - before});
    const double slopeBefore = end.GradientAt(1), slopeAfter = start.GradientAt(0);
    if (std::fabs(slopeAfter - slopeBefore) > kKinkLimit)
      out.push_back({ProblemKind::GradientKink, s, j, slopeBefore, slopeAfter, slopeAfter - slopeBefore});
  }
}

void CheckWalls(const TSection& previous, const TSection& section, int s, std::vector<TTrackProblem>& out) {
  const int before = previous.NumberOfWalls(), after = section.NumberOfWalls();
  if (before != after) {
    out.push_back({ProblemKind::WallCount, s, -1, double(before), double(after), double(after - before)});
    return;
  }
  for (int k = 0; k < after; ++k) {
    const double to = previous.Wall(k)->To, from = section.Wall(k)->From;
    if (from != to) out.push_back({ProblemKind::WallJump, s, k, to, from, from - to});
  }
}

std::string Where(const TTrackProblem& p, const char* item) {
  std::string text = "Section " + std::to_string(p.section);
  if (item) text += std::string(", ") + item + " " + std::to_string(p.item);
  return text + ": ";
}

double SlopeDegrees(double gradient) { return std::atan(gradient) * 180.0 / Pi; }

}  // namespace

std::vector<TTrackProblem> CheckTrack(const TTrack& track) {
  std::vector<TTrackProblem> problems;
  const int count = track.NumberOfSections();
  for (int s = 0; s < count; ++s) {
    TSection& section = *track.Section(s);
    const TSection& previous = *track.Section(s == 0 ? count - 1 : s - 1);
    CheckPosition(section, s, problems);
    CheckHeights(previous, section, s, problems);
    CheckWalls(previous, section, s, problems);
  }
  return problems;
}

bool HasProblems(const std::vector<TTrackProblem>& problems) {
  return std::any_of(problems.begin(), problems.end(), [](const TTrackProblem& p) { return !p.IsInformation(); });
}

int OpenJoints(const std::vector<TTrackProblem>& problems) {
  int open = 0, last = -1;
  for (const TTrackProblem& p : problems) {
    const bool position = p.kind == ProblemKind::OrientationMismatch || p.kind == ProblemKind::LongitudinalGap ||
                          p.kind == ProblemKind::LateralGap;
    if (position && p.section != last) {
      ++open;
      last = p.section;
    }
  }
  return open;
}

std::string ProblemText(const TTrackProblem& p) {
  switch (p.kind) {
    case ProblemKind::OrientationMismatch:
      return Where(p, nullptr) + "orientation mismatch " + AngleMeaning(static_cast<int32_t>(p.amount));
    case ProblemKind::LongitudinalGap:
      return Where(p, nullptr) + "longitudinal gap " + LengthMeaningOf(p.amount);
    case ProblemKind::LateralGap:
      return Where(p, nullptr) + "lateral gap " + LengthMeaningOf(p.amount);
    case ProblemKind::HeightStep:
      return Where(p, "trace") + "height step " + LengthMeaningOf(p.amount);
    case ProblemKind::GradientKink:
      return Where(p, "trace") + "gradient kink " + DegreesText(SlopeDegrees(p.after) - SlopeDegrees(p.before)) +
             FormatPrintf(" (%.2f %%)", p.amount * 100);
    case ProblemKind::WallJump:
      return Where(p, "wall") + "wall jump " + LengthMeaningOf(p.amount);
    case ProblemKind::WallCount:
      return Where(p, nullptr) + FormatPrintf("%d walls after %d (information)", int(p.after), int(p.before));
  }
  return std::string();
}

}  // namespace meridal
