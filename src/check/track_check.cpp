#include "check/track_check.h"

#include <algorithm>
#include <cmath>

#include "model/length_limit.h"
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
void CheckTraceHeights(const TSection& previous, const TSection& section, int s, int j,
                       std::vector<TTrackProblem>& out) {
  const TAltitude& end = *previous.Altitude(j);
  const TAltitude& start = *section.Altitude(j);
  const double before = end.HeightAtEnd(), after = start.HeightAtStart;
  if (after != before) out.push_back({ProblemKind::HeightStep, s, j, before, after, after - before});
  const double slopeBefore = end.GradientAt(1), slopeAfter = start.GradientAt(0);
  if (std::fabs(slopeAfter - slopeBefore) > kKinkLimit)
    out.push_back({ProblemKind::GradientKink, s, j, slopeBefore, slopeAfter, slopeAfter - slopeBefore});
}

// The steepest slope of trace j anywhere inside its section, from its cubic.
void CheckSteepness(const TSection& section, int s, int j, const TCheckLimits& limits,
                    std::vector<TTrackProblem>& out) {
  const double slope = section.Altitude(j)->GreatestGradient();
  if (slope > limits.maxSlope) out.push_back({ProblemKind::Steep, s, j, limits.maxSlope, slope, slope});
}

// Trace by trace: its joint with the previous section, then its slopes inside this one.
void CheckTrace(const TSection& previous, const TSection& section, int s, int j, const TCheckLimits& limits,
                std::vector<TTrackProblem>& out) {
  if (j < previous.NumberOfAltitudes()) CheckTraceHeights(previous, section, s, j, out);
  CheckSteepness(section, s, j, limits, out);
}

void CheckHeights(const TSection& previous, const TSection& section, int s, const TCheckLimits& limits,
                  std::vector<TTrackProblem>& out) {
  for (int j = 0; j < section.NumberOfAltitudes(); ++j) CheckTrace(previous, section, s, j, limits, out);
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

// Values a file may hold that no edit makes: they are read as they are, and
// shown here.
void CheckStoredValues(const TSection& section, int s, std::vector<TTrackProblem>& out) {
  if (section.Length <= 0)
    out.push_back({ProblemKind::LengthNotPositive, s, -1, 0, double(section.Length), double(section.Length)});
  for (int k = 1; k < section.NumberOfWalls(); ++k) {
    const TWall& before = *section.Wall(k - 1);
    const TWall& wall = *section.Wall(k);
    const double right = std::min(double(wall.From) - before.From, double(wall.To) - before.To);
    if (right < 0) out.push_back({ProblemKind::WallOrder, s, k, 0, right, right});
  }
}

const char* ItemName(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::HeightStep:
    case ProblemKind::GradientKink:
    case ProblemKind::Steep:
      return "trace";
    case ProblemKind::WallJump:
    case ProblemKind::WallOrder:
      return "wall";
    default:
      return nullptr;
  }
}

double SlopeDegrees(double gradient) { return std::atan(gradient) * 180.0 / Pi; }

}  // namespace

void CheckJoint(const TTrack& track, int s, std::vector<TTrackProblem>& out, const TCheckLimits& limits) {
  const int count = track.NumberOfSections();
  TSection& section = *track.Section(s);
  const TSection& previous = *track.Section(s == 0 ? count - 1 : s - 1);
  CheckStoredValues(section, s, out);
  CheckPosition(section, s, out);
  CheckHeights(previous, section, s, limits, out);
  CheckWalls(previous, section, s, out);
}

void CheckJointTrace(const TTrack& track, int s, int trace, std::vector<TTrackProblem>& out,
                     const TCheckLimits& limits) {
  const int count = track.NumberOfSections();
  const TSection& section = *track.Section(s);
  const TSection& previous = *track.Section(s == 0 ? count - 1 : s - 1);
  if (trace < section.NumberOfAltitudes()) CheckTrace(previous, section, s, trace, limits, out);
}

void AddLengthProblem(const TTrack& track, std::vector<TTrackProblem>& problems) {
  if (WithinLengthLimit(track)) return;
  const double total = static_cast<double>(TotalSectionLength(track));
  problems.push_back({ProblemKind::TrackTooLong, -1, -1, double(kMaxTrackLength), total, total - kMaxTrackLength});
}

std::vector<TTrackProblem> CheckTrack(const TTrack& track, const TCheckLimits& limits) {
  std::vector<TTrackProblem> problems;
  CheckTrack(track, problems, limits);
  return problems;
}

void CheckTrack(const TTrack& track, std::vector<TTrackProblem>& problems, const TCheckLimits& limits) {
  problems.clear();
  AddLengthProblem(track, problems);
  for (int s = 0; s < track.NumberOfSections(); ++s) CheckJoint(track, s, problems, limits);
}

bool HasProblems(const std::vector<TTrackProblem>& problems) {
  return std::any_of(problems.begin(), problems.end(), [](const TTrackProblem& p) { return !p.IsInformation(); });
}

int OpenJoints(const std::vector<TTrackProblem>& problems) {
  int open = 0, last = -1;
  for (const TTrackProblem& p : problems) {
    if (p.IsPosition() && p.section != last) {
      ++open;
      last = p.section;
    }
  }
  return open;
}

TProblemWords ProblemWords(const TTrackProblem& p) {
  TProblemWords words;
  if (p.kind == ProblemKind::TrackTooLong) {
    words.where = "Track";
    words.what = "too long";
    words.amount = LengthMeaningOf(p.after) + ", more than the " + LengthMeaningOf(p.before) + " a track can hold";
    return words;
  }
  words.where = "Section " + std::to_string(p.section);
  if (const char* item = ItemName(p.kind)) words.where += std::string(", ") + item + " " + std::to_string(p.item);
  switch (p.kind) {
    case ProblemKind::OrientationMismatch:
      words.what = "orientation mismatch";
      words.amount = AngleMeaning(static_cast<int32_t>(p.amount));
      break;
    case ProblemKind::LongitudinalGap:
      words.what = "longitudinal gap";
      words.amount = LengthMeaningOf(p.amount);
      break;
    case ProblemKind::LateralGap:
      words.what = "lateral gap";
      words.amount = LengthMeaningOf(p.amount);
      break;
    case ProblemKind::HeightStep:
      words.what = "height step";
      words.amount = LengthMeaningOf(p.amount);
      break;
    case ProblemKind::GradientKink:
      words.what = "gradient kink";
      words.amount = DegreesText(SlopeDegrees(p.after) - SlopeDegrees(p.before)) +
                     FormatPrintf(" (%.2f %%)", p.amount * 100);
      break;
    case ProblemKind::WallJump:
      words.what = "wall jump";
      words.amount = LengthMeaningOf(p.amount);
      break;
    case ProblemKind::WallCount:
      words.what = "wall count";
      words.amount = FormatPrintf("%d walls after %d (information)", int(p.after), int(p.before));
      break;
    case ProblemKind::LengthNotPositive:
      words.what = "length not positive";
      words.amount = p.amount == 0 ? std::string("0") : LengthMeaningOf(p.amount);
      break;
    case ProblemKind::WallOrder:
      words.what = "wall out of order";
      words.amount = LengthMeaningOf(-p.amount) + " right of the wall before it";
      break;
    case ProblemKind::Steep:
      words.what = "steep";
      words.amount = FormatPrintf("%.2f %% (more than %g %%)", p.after * 100, p.before * 100);
      break;
    case ProblemKind::TrackTooLong:
      break;
  }
  return words;
}

std::string ProblemText(const TTrackProblem& p) {
  const TProblemWords words = ProblemWords(p);
  if (p.kind == ProblemKind::WallCount) return words.where + ": " + words.amount;
  return words.where + ": " + words.what + " " + words.amount;
}

TObjectPath ProblemObject(const TTrackProblem& p) {
  switch (p.kind) {
    case ProblemKind::TrackTooLong:
      return TObjectPath::Track();
    case ProblemKind::HeightStep:
    case ProblemKind::GradientKink:
    case ProblemKind::Steep:
      return TObjectPath::Altitude(p.section, p.item);
    case ProblemKind::WallJump:
    case ProblemKind::WallOrder:
      return TObjectPath::Wall(p.section, p.item);
    default:
      return TObjectPath::Section(p.section);
  }
}

}  // namespace meridal
