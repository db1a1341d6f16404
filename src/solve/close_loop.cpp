#include "solve/close_loop.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "check/track_check.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"
#include "present/format.h"
#include "solve/loop_join.h"
#include "solve/loop_solver.h"

namespace meridal {

namespace {

constexpr double kCurvatureUnit = 3.14159265358979323846 / kTwoPow30;  // radians per curvature unit

// The sections as a chain of links from section 0's start, and which values are free.
std::vector<TLink> Links(const TTrack& track, const TLoopRange& range) {
  std::vector<TLink> links;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    TLink link;
    link.free = s >= range.first && s <= range.last;
    if (section.IsCurved()) {
      const auto& arc = static_cast<const TCurvedSection&>(section);
      link.arc = true;
      link.phi = arc.SweptAngle();
      link.radius = arc.Radius;
      // The radius may not bring the centre between the walls.
      const int n = arc.NumberOfWalls();
      if (n > 0 && arc.Radius > 0)
        link.radiusLimit = std::max<double>({1.0, double(arc.Wall(n - 1)->From), double(arc.Wall(n - 1)->To)});
      else if (n > 0)
        link.radiusLimit = std::min<double>({-1.0, double(arc.Wall(0)->From), double(arc.Wall(0)->To)});
      else
        link.radiusLimit = arc.Radius > 0 ? 1.0 : -1.0;
      // A file may bring an arc whose curvature and radius disagree in sign, or
      // are 0: it keeps its shape.
      if (!(link.phi * link.radius > 0)) link.free = false;
    } else {
      link.length = section.Length;
    }
    links.push_back(link);
  }
  return links;
}

// The values to store for the solved links, before they are checked by the
// sections themselves: lengths, curvatures and radii rounded to integers.
struct Stored {
  int64_t length = 0, curvature = 0, radius = 0;
};

Stored Round(const TLink& link) {
  if (!link.arc) return {nearest64(link.length), 0, 0};
  return {0, nearest64(link.phi / kCurvatureUnit), nearest64(link.radius)};
}

bool Fits(const Stored& v, const TLink& link) {
  if (!link.arc) return v.length >= 1 && v.length <= INT32_MAX;
  if (v.curvature == 0 || v.curvature > INT32_MAX || v.curvature < INT32_MIN + 1) return false;
  if (v.radius == 0 || v.radius > INT32_MAX || v.radius < INT32_MIN + 1) return false;
  if ((v.curvature > 0) != (link.phi > 0) || (v.radius > 0) != (link.radius > 0)) return false;
  const int64_t length = nearest64(v.curvature * kCurvatureUnit * static_cast<double>(v.radius));
  return length >= 1 && length <= INT32_MAX;
}

// The links as the rounded values make them.
TLink Rounded(const TLink& link, const Stored& v) {
  TLink r = link;
  if (!link.arc) {
    r.length = static_cast<double>(v.length);
  } else {
    r.phi = static_cast<double>(v.curvature) * kCurvatureUnit;
    r.radius = static_cast<double>(v.radius);
  }
  return r;
}

// The arcs' curvatures must add up to whole turns for the heading to close
// exactly: what rounding left over goes to the free arc that turns most.
bool CloseHeading(const TTrack& track, const std::vector<TLink>& links, std::vector<Stored>& stored) {
  int64_t sum = 0;
  int turner = -1;
  for (size_t s = 0; s < links.size(); ++s) {
    if (!links[s].arc) continue;
    const int64_t c = links[s].free ? stored[s].curvature
                                    : static_cast<const TCurvedSection&>(*track.Section(int(s))).Curvature();
    sum += c;
    if (links[s].free && (turner < 0 || std::llabs(c) > std::llabs(stored[size_t(turner)].curvature)))
      turner = int(s);
  }
  const int64_t turn = int64_t(1) << 31;
  const int64_t whole = static_cast<int64_t>(std::llround(static_cast<double>(sum) / static_cast<double>(turn)));
  const int64_t left = whole * turn - sum;
  if (left == 0) return true;
  if (turner < 0) return false;
  Stored& v = stored[size_t(turner)];
  v.curvature += left;
  return Fits(v, links[size_t(turner)]);
}

// Rounding each value moves the end by up to half a unit times its lever; a few
// whole units on the values that matter least for their size take most of it back.
void PolishPosition(std::vector<TLink>& links, std::vector<Stored>& stored, const TPose& start) {
  for (int round = 0; round < 4; ++round) {
    std::vector<TLink> now(links.size());
    for (size_t s = 0; s < links.size(); ++s) now[s] = links[s].free ? Rounded(links[s], stored[s]) : links[s];
    const TPose end = ChainEnd(start, now);
    const double gx = start.x - end.x, gy = start.y - end.y;
    if (std::hypot(gx, gy) < 0.25) return;
    std::vector<TStep> steps = PositionSteps(start, now, gx, gy);
    bool moved = false;
    for (const TStep& step : steps) {
      Stored trial = stored[size_t(step.link)];
      (step.radius ? trial.radius : trial.length) += nearest64(step.amount);
      if (!Fits(trial, links[size_t(step.link)])) continue;
      moved = moved || !(trial.radius == stored[size_t(step.link)].radius &&
                         trial.length == stored[size_t(step.link)].length);
      stored[size_t(step.link)] = trial;
    }
    if (!moved) return;
  }
}

std::string RangeText(const TTrack& track, const TLoopRange& range) {
  if (range.first == 0 && range.last == track.NumberOfSections() - 1) return "the sections";
  return "sections " + std::to_string(range.first) + " to " + std::to_string(range.last);
}

TLoopPlan Refuse(std::string why) {
  TLoopPlan plan;
  plan.refusal = std::move(why);
  return plan;
}

// Sets the values: an arc's radius and curvature in the order whose state in
// between still has a valid length.
bool SetValues(TTrack& track, const std::vector<TLoopValue>& values) {
  bool accepted = true;
  for (size_t i = 0; i < values.size(); ++i) {
    const TLoopValue& v = values[i];
    TSection& section = *track.Section(v.section);
    if (v.name == "Radius" && i + 1 < values.size() && values[i + 1].section == v.section) {
      const TLoopValue& c = values[i + 1];
      const int64_t between = nearest64(c.before * kCurvatureUnit * static_cast<double>(v.after));
      const bool radiusFirst = between >= 1 && between <= INT32_MAX;
      const TLoopValue& a = radiusFirst ? v : c;
      const TLoopValue& b = radiusFirst ? c : v;
      accepted = section.SetValue(a.name, a.after) && accepted;
      accepted = section.SetValue(b.name, b.after) && accepted;
      ++i;
      continue;
    }
    accepted = section.SetValue(v.name, v.after) && accepted;
  }
  return accepted;
}

// The values, then the joins. Close Loop changes no value but those it lists:
// only a track being built lets the joins nudge a radius.
bool Apply(TTrack& track, const std::vector<TLoopValue>& values, int steerFrom, bool nudge = false) {
  const bool set = SetValues(track, values);
  const bool joined = JoinSteered(track, steerFrom, nudge ? steerFrom : track.NumberOfSections());
  return set && joined;
}

// The stored values with one free length or radius `units` different: a radius
// only away from its centre, so that the walls keep the room they had.
bool Nudged(const std::vector<Stored>& stored, const std::vector<TLink>& links, size_t s, int units,
            std::vector<Stored>& nudged) {
  if (links[s].arc && units < 0) return false;
  nudged = stored;
  if (links[s].arc)
    nudged[s].radius += links[s].radius > 0 ? units : -units;
  else
    nudged[s].length += units;
  return Fits(nudged[s], links[s]);
}

// The values that change, in section order.
std::vector<TLoopValue> NoteValues(const TTrack& track, const std::vector<TLink>& links,
                                   const std::vector<Stored>& stored) {
  std::vector<TLoopValue> values;
  for (size_t s = 0; s < links.size(); ++s) {
    if (!links[s].free) continue;
    const TSection& section = *track.Section(int(s));
    auto note = [&](const char* name, int32_t before, int64_t after) {
      if (after != before) values.push_back({int(s), name, before, static_cast<int32_t>(after)});
    };
    if (links[s].arc) {
      note("Radius", nearest(section.Radius), stored[s].radius);
      note("Curvature", static_cast<const TCurvedSection&>(section).Curvature(), stored[s].curvature);
    } else {
      note("Length", section.Length, stored[s].length);
    }
  }
  return values;
}

// Every value that differs between the track and a joined copy of it, in
// section order: the plan's and those the joins moved by a unit or two.
std::vector<TLoopValue> Changes(const TTrack& track, const TTrack& joined) {
  std::vector<TLoopValue> values;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& before = *track.Section(s);
    const TSection& after = *joined.Section(s);
    static const char* const kArc[] = {"Radius", "Curvature"};
    static const char* const kStraight[] = {"Length"};
    const bool arc = before.IsCurved();
    for (size_t i = 0; i < (arc ? 2u : 1u); ++i) {
      const char* name = arc ? kArc[i] : kStraight[i];
      if (after.GetValue(name) != before.GetValue(name))
        values.push_back({s, name, before.GetValue(name), after.GetValue(name)});
    }
  }
  return values;
}

// The value that changes most for its size, an index into `values`.
int Largest(const std::vector<TLoopValue>& values) {
  int index = -1;
  double largest = -1;
  for (size_t i = 0; i < values.size(); ++i) {
    const TLoopValue& v = values[i];
    const double relative = std::fabs(double(v.after) - v.before) / std::max(1.0, std::fabs(double(v.before)));
    if (relative > largest) {
      largest = relative;
      index = int(i);
    }
  }
  return index;
}

// Every joint, the loop's own among them, reads as joined in stored units.
bool EveryJointJoined(const TTrack& track) {
  std::vector<TTrackProblem> problems;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    problems.clear();
    CheckJoint(track, s, problems);
    if (OpenJoints(problems) > 0) return false;
  }
  return true;
}

int SteerFrom(const TLoopRange& range) { return std::max(1, range.first); }

// The values set and the sections joined on a copy, the joins allowed to take a
// radius or a length a unit or two different where no start of an arc or a
// straight reads as joined (an arc's start lies on its centre's grid, and at
// some headings no point of it does). Null unless every joint then joins.
std::unique_ptr<TTrack> JoinedByNudges(const TTrack& track, const std::vector<TLoopValue>& values, int steerFrom) {
  auto nudged = CopyTrack(track);
  if (!Apply(*nudged, values, steerFrom, true) || !EveryJointJoined(*nudged)) return nullptr;
  return nudged;
}

}  // namespace

TLoopPlan PlanCloseLoop(const TTrack& track, TLoopRange range) {
  const int count = track.NumberOfSections();
  if (range.last == -1) range.last = count - 1;
  if (range.first < 0 || range.first > range.last || range.last >= count)
    return Refuse("No such sections: " + std::to_string(range.first) + " to " + std::to_string(range.last));
  if (count < 2) return Refuse("A track of one section cannot close on itself");

  TLoopPlan plan;
  const std::vector<TTrackProblem> problems = CheckTrack(track);
  if (OpenJoints(problems) == 0) {
    plan.closes = plan.alreadyClosed = true;
    return plan;
  }
  std::vector<TLink> links = Links(track, range);
  const TSection& first = *track.Section(0);
  const TPose start{first.StartX(), first.StartY(), OrientationToRadians(first.Orientation)};
  const TPose end = ChainEnd(start, links);
  plan.gapBefore = std::hypot(end.x - start.x, end.y - start.y);
  {
    auto joined = CopyTrack(track);
    JoinSteered(*joined, count, count);
    plan.turnBefore = LoopSeam(*joined).turn;
  }

  // The continuous solution, then stored integers.
  const TSolveResult solved = SolveClosure(start, links);
  if (!solved.closes) {
    if (solved.needsTurn) {
      return Refuse("No arc among " + RangeText(track, range) + " can turn the end by " +
                    AngleMeaning(plan.turnBefore));
    }
    return Refuse("No change of " + RangeText(track, range) + " within the limits closes the loop: " + solved.why);
  }
  plan.residualSolved = solved.residual;
  std::vector<Stored> stored(links.size());
  for (size_t s = 0; s < links.size(); ++s) {
    if (!links[s].free) continue;
    stored[s] = Round(solved.links[s]);
    if (!Fits(stored[s], links[s]))
      return Refuse("No change of " + RangeText(track, range) + " within the limits closes the loop: section " +
                    std::to_string(s) + " would leave its limits once rounded");
  }
  if (!CloseHeading(track, links, stored))
    return Refuse("No arc among " + RangeText(track, range) + " can turn the end by " + AngleMeaning(plan.turnBefore));
  PolishPosition(links, stored, start);

  plan.values = NoteValues(track, links, stored);

  // Try it on a copy: the sections themselves judge every value and placement.
  auto trial = CopyTrack(track);
  if (!Apply(*trial, plan.values, SteerFrom(range)))
    return Refuse("No change of " + RangeText(track, range) +
                  " within the limits closes the loop: a section refuses its new values");
  // A unit open: a unit or a few more or less on one free length or radius
  // moves every start after it onto another grid, and one of those may join;
  // else the joins may take a radius or a length a unit or two different.
  // Each try joins the whole chain again: only the last few free values of
  // the range are tried, so that a long range costs no more than a short one.
  constexpr int kUnitTries = 8;
  for (const int units : {1, -1, 2, -2}) {
    if (EveryJointJoined(*trial)) break;
    int left = kUnitTries;
    for (size_t s = links.size(); s-- > 0 && left > 0;) {
      if (!links[s].free) continue;
      --left;
      std::vector<Stored> nudged;
      if (!Nudged(stored, links, s, units, nudged)) continue;
      std::vector<TLoopValue> values = NoteValues(track, links, nudged);
      auto again = CopyTrack(track);
      if (!Apply(*again, values, SteerFrom(range)) || !EveryJointJoined(*again)) continue;
      plan.values = std::move(values);
      trial = std::move(again);
      break;
    }
  }
  // Both at once, on the last few free values of the range only: each try
  // joins the whole chain with nudges, which costs.
  constexpr int kNudgedTries = 6;
  std::vector<std::vector<TLoopValue>> tries{plan.values};
  for (const int units : {1, -1}) {
    if (EveryJointJoined(*trial)) break;
    int left = kNudgedTries;
    for (size_t s = links.size(); s-- > 0 && left > 0;) {
      if (!links[s].free) continue;
      --left;
      std::vector<Stored> nudged;
      if (Nudged(stored, links, s, units, nudged)) tries.push_back(NoteValues(track, links, nudged));
    }
  }
  for (const std::vector<TLoopValue>& values : tries) {
    if (EveryJointJoined(*trial)) break;
    if (auto again = JoinedByNudges(track, values, SteerFrom(range))) {
      plan.nudge = true;
      plan.set = values;
      plan.values = Changes(track, *again);
      trial = std::move(again);
    }
  }
  plan.largest = Largest(plan.values);
  const TSeam seam = LoopSeam(*trial);
  if (seam.turn != 0)
    return Refuse("No arc among " + RangeText(track, range) + " can turn the end by " + AngleMeaning(plan.turnBefore));
  plan.residualAfter = std::max(std::fabs(seam.along), std::fabs(seam.across));
  plan.joined = EveryJointJoined(*trial);
  plan.steerFrom = SteerFrom(range);
  plan.closes = true;
  return plan;
}

history::Outcome ApplyCloseLoop(history::TEditor& editor, const TLoopPlan& plan) {
  if (!plan.closes) return history::Outcome::Refused;
  if (plan.alreadyClosed) return history::Outcome::Unchanged;
  TTrack& track = editor.Track();
  // The plan must be for the track as it stands.
  for (const TLoopValue& v : plan.values) {
    if (v.section >= track.NumberOfSections()) return history::Outcome::Refused;
    if (track.Section(v.section)->GetValue(v.name) != v.before) return history::Outcome::Refused;
  }
  const int steerFrom = plan.steerFrom;
  const bool nudge = plan.nudge;
  const std::vector<TLoopValue> values = nudge ? plan.set : plan.values;
  return editor.ChangeValues("Close Loop", TObjectPath::Track(),
                             [values, steerFrom, nudge](TTrack& t) { Apply(t, values, steerFrom, nudge); });
}

bool ApplyLoopPlan(TTrack& track, const TLoopPlan& plan) {
  if (!plan.closes) return false;
  if (plan.alreadyClosed) return true;
  // A plan whose joints all join needs no nudge: the trial is made again as it was.
  return Apply(track, plan.nudge ? plan.set : plan.values, plan.steerFrom, plan.nudge || !plan.joined);
}

std::string LoopValueText(const TLoopValue& v) {
  std::string name = v.name;
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool angle = v.name == "Curvature";
  const std::string before = angle ? CurvatureMeaning(v.before) : LengthMeaning(v.before);
  const std::string after = angle ? CurvatureMeaning(v.after) : LengthMeaning(v.after);
  return "Section " + std::to_string(v.section) + ": " + name + " " + before + " \u2192 " + after + ", changed";
}

std::string LoopSummaryText(const TLoopPlan& plan) {
  if (!plan.closes) return plan.refusal;
  if (plan.alreadyClosed) return "The loop is closed already";
  std::string text = "Loop closed: gap " + (plan.gapBefore >= 0.5 ? LengthMeaningOf(plan.gapBefore) : "0") +
                     ", turn " + (plan.turnBefore ? AngleMeaning(plan.turnBefore) : "0 \u00b0") + " before; " +
                     (plan.residualAfter >= 0.01 ? LengthMeaningOf(plan.residualAfter) : "0") + " after rounding";
  if (plan.residualAfter > 1.0) text += " (more than one stored unit)";
  return text;
}

bool ParseLoopRange(const std::string& text, TLoopRange& range) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 >= text.size()) return false;
  const std::string a = text.substr(0, dash), b = text.substr(dash + 1);
  auto number = [](const std::string& s, int& out) {
    if (s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoi(s);
    return true;
  };
  return number(a, range.first) && number(b, range.last) && range.first <= range.last;
}

}  // namespace meridal
