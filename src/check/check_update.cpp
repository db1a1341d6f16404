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

}  // namespace

void UpdateCheck(const TTrack& track, const TTrackChange& change, std::vector<TTrackProblem>& problems) {
  const int count = track.NumberOfSections();
  if (change.traces || change.traceAt >= 0 || count == 0) {
    problems = CheckTrack(track);
    return;
  }
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
  std::vector<char> again(static_cast<size_t>(count), 0);
  for (int j : touched)
    if (j >= 0) again[static_cast<size_t>(j % count)] = 1;

  // Merged in order of joints, the kept problems and the new ones.
  std::vector<TTrackProblem> merged;
  merged.reserve(problems.size());
  size_t kept = 0;
  for (int s = 0; s < count; ++s) {
    if (!again[static_cast<size_t>(s)]) continue;
    for (; kept < problems.size() && problems[kept].section < s; ++kept) merged.push_back(problems[kept]);
    while (kept < problems.size() && problems[kept].section == s) ++kept;  // stale
    CheckJoint(track, s, merged);
  }
  merged.insert(merged.end(), problems.begin() + static_cast<long>(kept), problems.end());
  problems = std::move(merged);
}

}  // namespace meridal
