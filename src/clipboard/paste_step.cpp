#include "clipboard/paste_step.h"

#include <algorithm>
#include <iterator>

#include "clipboard/pasted_sections.h"
#include "history/run_steps.h"
#include "model/track.h"

namespace meridal::history {

TPasteSectionsStep::TPasteSectionsStep(std::string text, int after, int first, int last)
    : TStep(std::move(text), TObjectPath::Section(after), TObjectPath::Section(last)) {
  SetAnchors(-1, first);
  SelectWhenDone();
}

std::unique_ptr<TPasteSectionsStep> TPasteSectionsStep::Do(TTrack& track, int after, const TTrack& source,
                                                           std::string& reason) {
  std::vector<std::unique_ptr<TSection>> made;
  if (!clipboard::FitPastedSections(track, after, source, made, reason)) return nullptr;
  TrackState before = TrackState::Of(track);
  const int at = after + 1, count = static_cast<int>(made.size());
  TRect box = made.front()->Extent;
  for (const auto& section : made) {
    const TRect& b = section->Extent;
    box = TRect{std::min(box.left, b.left), std::max(box.top, b.top), std::max(box.right, b.right),
                std::min(box.bottom, b.bottom)};
  }
  track.Sections.insert(track.Sections.begin() + at, std::make_move_iterator(made.begin()),
                        std::make_move_iterator(made.end()));
  track.RenumberSections();
  track.RecomputeStarts();
  track.RecomputeRecordIndices();
  track.UpdateExtent();

  const TSectionRun run{at, at + count - 1};
  std::unique_ptr<TPasteSectionsStep> step(new TPasteSectionsStep("Paste " + RunName(run), after, run.first, run.last));
  std::vector<SectionSnapshot> inserted;
  inserted.reserve(static_cast<size_t>(count));
  for (int s = run.first; s <= run.last; ++s) inserted.push_back(SectionSnapshot::Of(*track.Section(s)));
  step->patch_.AddSplice(at, {}, std::move(inserted));
  step->patch_.SetTrack(std::move(before), TrackState::Of(track));
  step->Touched(box);
  return step;
}

}  // namespace meridal::history
