#include "check/track_fixes.h"

#include <algorithm>

#include "model/track.h"
#include "solve/loop_join.h"

namespace meridal {

namespace {

using Entries = std::vector<TFixEntry>;

// Notes a value the fix took on, or would have.
void Note(Entries& entries, ProblemKind kind, int s, int item, double before, double after, bool refused) {
  entries.push_back({{kind, s, item, before, after, after - before}, refused});
}

void NotePosition(Entries& entries, ProblemKind kind, int s, int32_t value, bool refused) {
  entries.push_back({{kind, s, -1, 0, double(value), double(value)}, refused});
}

TSection& Previous(const TTrack& track, int s) { return *track.Section(s == 0 ? track.NumberOfSections() - 1 : s - 1); }

// A section that is its own predecessor moves its end with its start: joining
// or matching it to itself never meets.
bool OwnPredecessor(const TTrack& track) { return track.NumberOfSections() == 1; }

// The heading first, then the start: the gaps are measured along the heading.
void Join(TTrack& track, int s, Entries& entries) {
  TSection& section = *track.Section(s);
  const bool alone = OwnPredecessor(track);
  if (const int32_t mismatch = section.OrientationMismatch(); mismatch != 0) {
    const bool done = !alone && section.SetValue("Orientation mismatch", 0);
    NotePosition(entries, ProblemKind::OrientationMismatch, s, mismatch, !done);
  }
  const int32_t along = section.LongitudinalGap(), across = section.LateralGap();
  if (along == 0 && across == 0) return;
  // Done only when the check then reads the joint as joined: a start is stored
  // rounded, and the nearest rounding may leave a unit open.
  const bool done = !alone && PlaceJoined(section);
  if (along != 0) NotePosition(entries, ProblemKind::LongitudinalGap, s, along, !done);
  if (across != 0) NotePosition(entries, ProblemKind::LateralGap, s, across, !done);
}

bool Open(const TSection& section) {
  return section.OrientationMismatch() != 0 || section.LongitudinalGap() != 0 || section.LateralGap() != 0;
}

// Every section from 1 on joined to its predecessor in turn. A loop that was
// closed before stays closed where the stored starts allow it: from the first
// joint mended on, each start is chosen again among those that read as joined,
// so that the last section still ends on section 0's start. A joint is reported
// done only when the check then reads it as joined.
void JoinAll(TTrack& track, Entries& entries) {
  const int count = track.NumberOfSections();
  if (count < 2) return;
  const bool closed = !Open(*track.Section(0));
  int first = -1;
  for (int s = 1; s < count; ++s) {
    const size_t before = entries.size();
    Join(track, s, entries);
    if (first < 0 && entries.size() > before) first = s;
  }
  if (first < 0) return;
  if (closed && Open(*track.Section(0))) {
    JoinSteered(track, first, count);
    // Where no stored start meets both ways, a radius or a length a unit or two
    // different lets one.
    if (Open(*track.Section(0))) JoinSteered(track, first, first);
    for (int s = first; s < count; ++s)
      if (track.Section(s)->OrientationMismatch() == 0 && Open(*track.Section(s))) PlaceJoined(*track.Section(s));
  }
  for (TFixEntry& entry : entries) {
    const TSection& section = *track.Section(entry.problem.section);
    const bool left = entry.problem.kind == ProblemKind::OrientationMismatch
                          ? section.OrientationMismatch() != 0
                          : section.LongitudinalGap() != 0 || section.LateralGap() != 0;
    entry.refused = entry.refused || left;
  }
}

void MatchHeights(TTrack& track, int s, Entries& entries) {
  TSection& section = *track.Section(s);
  const TSection& previous = Previous(track, s);
  const bool alone = OwnPredecessor(track);
  const int traces = std::min(previous.NumberOfAltitudes(), section.NumberOfAltitudes());
  for (int j = 0; j < traces; ++j) {
    const int32_t end = previous.Altitude(j)->HeightAtEnd(), start = section.Altitude(j)->HeightAtStart;
    if (start == end) continue;
    const bool done = !alone && section.Altitude(j)->SetValue("Height@Start", end);
    Note(entries, ProblemKind::HeightStep, s, j, end, start, !done);
  }
}

// A wall may only move between its neighbours, which may be about to move out of
// its way: the walls are set in rounds until a round sets none. What is left
// would break the walls' order where they end up, and is refused.
void MatchWalls(TTrack& track, int s, Entries& entries) {
  TSection& section = *track.Section(s);
  const TSection& previous = Previous(track, s);
  if (previous.NumberOfWalls() != section.NumberOfWalls()) return;  // information, not a problem
  struct Pending {
    int wall;
    int32_t from, to;
    bool done;
  };
  std::vector<Pending> pending;
  for (int k = 0; k < section.NumberOfWalls(); ++k) {
    const int32_t from = section.Wall(k)->From, to = previous.Wall(k)->To;
    if (from != to) pending.push_back({k, from, to, false});
  }
  if (pending.empty()) return;
  for (bool moved = true; moved;) {
    moved = false;
    for (Pending& p : pending)
      if (!p.done && section.Wall(p.wall)->SetValue("From", p.to)) p.done = moved = true;
  }
  for (const Pending& p : pending) Note(entries, ProblemKind::WallJump, s, p.wall, p.to, p.from, !p.done);
}

void Run(TTrack& track, FixCommand command, int section, Entries& entries) {
  const int count = track.NumberOfSections();
  switch (command) {
    case FixCommand::JoinToPrevious:
      return Join(track, section, entries);
    case FixCommand::JoinAllPositions:
      return JoinAll(track, entries);
    case FixCommand::MatchHeights:
      return MatchHeights(track, section, entries);
    case FixCommand::MatchAllHeights:
      for (int s = 1; s < count; ++s) MatchHeights(track, s, entries);
      return;
    case FixCommand::MatchWalls:
      return MatchWalls(track, section, entries);
    case FixCommand::MatchAllWalls:
      for (int s = 0; s < count; ++s) MatchWalls(track, s, entries);
      return;
  }
}

std::string StepText(FixCommand command, int section) {
  const std::string at = "Section " + std::to_string(section);
  switch (command) {
    case FixCommand::JoinToPrevious: return "Join " + at + " to Previous";
    case FixCommand::MatchHeights: return "Match Heights at " + at;
    case FixCommand::MatchWalls: return "Match Walls at " + at;
    default: return FixName(command);
  }
}

}  // namespace

int TFixReport::Refusals() const {
  return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const TFixEntry& e) { return e.refused; }));
}

const char* FixName(FixCommand command) {
  switch (command) {
    case FixCommand::JoinToPrevious: return "Join to Previous";
    case FixCommand::JoinAllPositions: return "Join All Positions";
    case FixCommand::MatchHeights: return "Match Heights";
    case FixCommand::MatchAllHeights: return "Match All Heights";
    case FixCommand::MatchWalls: return "Match Walls";
    case FixCommand::MatchAllWalls: return "Match All Walls";
  }
  return "";
}

bool FixesOneJoint(FixCommand command) {
  return command == FixCommand::JoinToPrevious || command == FixCommand::MatchHeights ||
         command == FixCommand::MatchWalls;
}

bool FixMends(FixCommand command, const TTrackProblem& problem) {
  switch (command) {
    case FixCommand::JoinToPrevious:
      return problem.IsPosition();
    case FixCommand::MatchHeights:
      return problem.kind == ProblemKind::HeightStep;
    case FixCommand::MatchWalls:
      return problem.kind == ProblemKind::WallJump;
    default:
      return false;
  }
}

TFixReport ApplyFix(history::TEditor& editor, FixCommand command, int section) {
  TFixReport report;
  const bool one = FixesOneJoint(command);
  if (one && (section < 0 || section >= editor.Track().NumberOfSections())) {
    report.outcome = history::Outcome::Refused;
    return report;
  }
  const TObjectPath selection = one ? TObjectPath::Section(section) : TObjectPath::Track();
  report.outcome = editor.ChangeValues(StepText(command, section), selection,
                                       [&](TTrack& track) { Run(track, command, section, report.entries); });
  return report;
}

std::string FixText(const TFixEntry& entry) {
  if (entry.refused) return ProblemText(entry.problem) + ", refused";
  return ProblemText(entry.problem) + (entry.problem.IsPosition() ? ", joined" : ", matched");
}

}  // namespace meridal
