#include "check/check_update.h"

#include <algorithm>

#include "model/track.h"

namespace meridal {

namespace {

// Where joint j of the track before a splice is after it: -1 when its section went.
int AfterSplice(int j, const TTrackChange::Splice& splice) {
  if (j < splice.at) return j;
  if (j < splice.at + splice.removed) return -1;
  return j + splice.inserted - splice.removed;
}

bool IsHeight(const TTrackProblem& p) {
  return p.kind == ProblemKind::HeightStep || p.kind == ProblemKind::GradientKink || p.kind == ProblemKind::Steep;
}

// Every section has as many altitudes as the track has traces: a trace that came
// or went then moves every joint's height problems alike.
bool TracesEven(const TTrack& track) {
  for (int s = 0; s < track.NumberOfSections(); ++s)
    if (track.Section(s)->NumberOfAltitudes() != track.NumberOfTraces()) return false;
  return true;
}

// A trace removed at `at` takes its problems with it; one added there brings its
// own at every joint, after the heights of the traces before it and before those
// after it and the walls'.
void UpdateTrace(const TTrack& track, int at, bool added, const TCheckLimits& limits,
                 std::vector<TTrackProblem>& problems) {
  if (!added) {
    std::erase_if(problems, [&](TTrackProblem& p) {
      if (!IsHeight(p) || p.item < at) return false;
      return p.item-- == at;
    });
    return;
  }
  std::vector<TTrackProblem> arriving;
  for (int s = 0; s < track.NumberOfSections(); ++s) CheckJointTrace(track, s, at, arriving, limits);
  // Merged in place from the back: each old problem moves once, up by the number
  // of new ones before it.
  const auto after = [&](const TTrackProblem& p) {
    return (IsHeight(p) && p.item >= at) || p.kind == ProblemKind::WallCount || p.kind == ProblemKind::WallJump;
  };
  size_t old = problems.size(), fresh = arriving.size();
  problems.resize(old + fresh);
  for (size_t to = problems.size(); fresh > 0;) {
    const TTrackProblem& next = arriving[fresh - 1];
    // An old problem stays after the new one when it is of a later joint, or of
    // the same joint and a later trace or a wall.
    if (old > 0 && (problems[old - 1].section > next.section ||
                    (problems[old - 1].section == next.section && after(problems[old - 1])))) {
      problems[--to] = problems[--old];
      if (IsHeight(problems[to]) && problems[to].item >= at) ++problems[to].item;
    } else {
      problems[--to] = next;
      --fresh;
    }
  }
  for (size_t i = 0; i < old; ++i)
    if (IsHeight(problems[i]) && problems[i].item >= at) ++problems[i].item;
}

}  // namespace

void UpdateCheck(const TTrack& track, const TTrackChange& change, std::vector<TTrackProblem>& problems,
                 const TCheckLimits& limits) {
  const int count = track.NumberOfSections();
  // The traces' positions reach no problem; a trace that came or went moves the
  // height problems, unless sections differ in their altitudes or sections came
  // or went in the same change.
  // A change of many splices (a whole track rewritten) is checked whole too:
  // following the problems through each splice in turn would cost far more.
  constexpr size_t kManySplices = 16;
  if (count == 0 || change.splices.size() > kManySplices ||
      (change.traceAt >= 0 && (!change.splices.empty() || !TracesEven(track)))) {
    CheckTrack(track, problems, limits);
    return;
  }
  // The track-wide length problem is found anew at the end.
  std::erase_if(problems, [](const TTrackProblem& p) { return p.kind == ProblemKind::TrackTooLong; });
  if (change.traceAt >= 0) UpdateTrace(track, change.traceAt, change.traceAdded, limits, problems);
  // The joints to check again, in the numbering of the moment.
  std::vector<int> touched;
  for (const TTrackChange::Splice& splice : change.splices) {
    std::erase_if(problems, [&](TTrackProblem& p) { return (p.section = AfterSplice(p.section, splice)) < 0; });
    std::erase_if(touched, [&](int& j) { return (j = AfterSplice(j, splice)) < 0; });
    // The new sections' joints, the one after them, and the loop's own joint,
    // whose previous section may be another now.
    for (int j = splice.at; j <= splice.at + splice.inserted; ++j) touched.push_back(j);
    touched.push_back(0);
  }
  // A section's values reach its own joint and the next one's.
  for (const std::vector<int>* sections : {&change.sections, &change.wallLists})
    for (int s : *sections) {
      touched.push_back(s);
      touched.push_back(s + 1);
    }
  std::vector<int> joints;
  for (int j : touched)
    if (j >= 0) joints.push_back(j % count);
  std::sort(joints.begin(), joints.end());
  joints.erase(std::unique(joints.begin(), joints.end()), joints.end());
  // A change that reaches most joints (a whole track mirrored) is checked whole.
  if (joints.size() * 2 > static_cast<size_t>(count)) {
    CheckTrack(track, problems, limits);
    return;
  }

  // Each run of neighbouring joints, from the last, has its problems replaced in
  // place: the list can be long (a problem for every joint of a rough track), and
  // a change touches few joints, so nothing else is copied.
  const auto bySection = [](const TTrackProblem& p, int s) { return p.section < s; };
  std::vector<TTrackProblem> fresh;
  for (size_t end = joints.size(); end > 0;) {
    size_t begin = end - 1;
    while (begin > 0 && joints[begin - 1] == joints[begin] - 1) --begin;
    const int first = joints[begin], last = joints[end - 1];
    fresh.clear();
    for (int s = first; s <= last; ++s) CheckJoint(track, s, fresh, limits);
    const auto from = std::lower_bound(problems.begin(), problems.end(), first, bySection);
    const auto to = std::lower_bound(from, problems.end(), last + 1, bySection);
    const size_t at = static_cast<size_t>(from - problems.begin()), old = static_cast<size_t>(to - from);
    const size_t common = std::min(old, fresh.size());
    std::move(fresh.begin(), fresh.begin() + static_cast<long>(common), problems.begin() + static_cast<long>(at));
    if (fresh.size() > old)
      problems.insert(problems.begin() + static_cast<long>(at + common), fresh.begin() + static_cast<long>(common),
                      fresh.end());
    else
      problems.erase(problems.begin() + static_cast<long>(at + common), problems.begin() + static_cast<long>(at + old));
    end = begin;
  }
  std::vector<TTrackProblem> length;
  AddLengthProblem(track, length);
  problems.insert(problems.begin(), length.begin(), length.end());
}

}  // namespace meridal
