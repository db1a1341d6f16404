#include "history/run_steps.h"

#include <vector>

#include "model/track.h"

namespace meridal::history {

namespace {

// Beyond this many boxes a change is simply drawn anew everywhere.
constexpr size_t kMostBoxes = 16;

// Whether a section has a value of that name to set: a straight has no curvature
// and no radius; every other name goes to the section, which refuses what it
// does not know.
bool HasValue(const TSection& section, const std::string& name) {
  if (name == "Curvature" || name == "Radius") return section.IsCurved();
  return true;
}

}  // namespace

std::string RunName(TSectionRun run) {
  if (run.Count() == 1) return PathName(TObjectPath::Section(run.first));
  return std::to_string(run.Count()) + " Sections";
}

// ---- one value on every section of the run ----

TRunValueStep::TRunValueStep(std::string text, int current, int anchor)
    : TStep(std::move(text), TObjectPath::Section(current), TObjectPath::Section(current)) {
  SetAnchors(anchor, anchor);
}

std::unique_ptr<TRunValueStep> TRunValueStep::Do(TTrack& track, TSectionRun run, int current, int anchor,
                                                 const std::string& name, int32_t value, bool& accepted) {
  accepted = false;
  std::vector<int> sections;
  for (int s = run.first; s <= run.last && s < track.NumberOfSections(); ++s)
    if (HasValue(*track.Section(s), name)) sections.push_back(s);
  if (sections.empty()) return nullptr;

  const std::string count = sections.size() == 1 ? PathName(TObjectPath::Section(sections.front()))
                                                  : std::to_string(sections.size()) + " Sections";
  std::unique_ptr<TRunValueStep> step(new TRunValueStep("Set " + name + " of " + count, current, anchor));
  TTrackPatch& patch = step->patch_;
  TrackState before = TrackState::Of(track);
  std::vector<TRect> boxes;
  for (int s : sections) {
    const SectionSnapshot was = SectionSnapshot::Of(*track.Section(s));
    if (!track.Section(s)->SetValue(name, value)) {
      // One refusal refuses them all: what the others took is put back.
      patch.SetTrack(before, TrackState::Of(track));
      TTrackChange undone;
      patch.Apply(track, false, undone);
      return nullptr;
    }
    if (patch.AddSection(s, was, *track.Section(s))) {
      boxes.push_back(was.values.Extent);
      boxes.push_back(track.Section(s)->Extent);
    }
  }
  accepted = true;
  track.UpdateExtent();
  patch.SetTrack(std::move(before), TrackState::Of(track));
  if (patch.Empty()) return nullptr;
  patch.Shrink();
  if (boxes.size() <= kMostBoxes)
    for (const TRect& box : boxes) step->Touched(box);
  return step;
}

// ---- the run removed ----

TRemoveRunStep::TRemoveRunStep(std::string text, int current, int anchor, int after)
    : TStep(std::move(text), TObjectPath::Section(current), TObjectPath::Section(after)) {
  SetAnchors(anchor, -1);
  SelectWhenDone();
}

std::unique_ptr<TRemoveRunStep> TRemoveRunStep::Do(TTrack& track, TSectionRun run, int current, int anchor,
                                                   const std::string& verb) {
  const int n = track.NumberOfSections();
  // A track keeps at least one section.
  if (run.Empty() || run.first < 0 || run.last >= n || run.Count() >= n) return nullptr;
  TrackState before = TrackState::Of(track);
  std::vector<SectionSnapshot> removed;
  removed.reserve(static_cast<size_t>(run.Count()));
  std::vector<TRect> boxes;
  for (int s = run.first; s <= run.last; ++s) {
    removed.push_back(SectionSnapshot::Of(*track.Section(s)));
    boxes.push_back(track.Section(s)->Extent);
  }
  auto& sections = track.Sections;
  sections.erase(sections.begin() + run.first, sections.begin() + run.last + 1);
  track.RenumberSections();
  track.RecomputeStarts();
  track.RecomputeRecordIndices();
  track.UpdateExtent();

  // The section that took the run's place, or the first one when the run was last.
  const int after = run.first < track.NumberOfSections() ? run.first : 0;
  std::unique_ptr<TRemoveRunStep> step(new TRemoveRunStep(verb + " " + RunName(run), current, anchor, after));
  step->patch_.AddSplice(run.first, std::move(removed), {});
  step->patch_.SetTrack(std::move(before), TrackState::Of(track));
  if (boxes.size() <= kMostBoxes)
    for (const TRect& box : boxes) step->Touched(box);
  return step;
}

}  // namespace meridal::history
