#pragma once
// TJoinedStep: a change made with Keep Joined. The change's own step, and after
// it the later sections placed as Join All Positions places them, each where
// the one before it ends, as one step: one undo takes both back. The placed
// sections are kept as a swap step keeps them (one side only), since a change
// near the start of a long track moves thousands of them.
#include <memory>
#include <vector>

#include "history/step.h"

namespace meridal::history {

class TJoinedStep : public TStep {
 public:
  // `inner` has just been made on the track; sections `first` onwards are
  // joined. `inner` itself back when nothing needed joining (or `first` is 0 or
  // past the last section: the loop's closure at section 0 may open). nullptr,
  // with `inner` taken back and the track as it was, when a section cannot be
  // placed there (its points would leave the plan).
  static std::unique_ptr<TStep> Join(TTrack& track, std::unique_ptr<TStep> inner, int first);

 private:
  explicit TJoinedStep(std::unique_ptr<TStep> inner);
  void ApplyChange(TTrack& track, bool forward, TTrackChange& change) const override;
  void DescribeChange(TTrackChange& change) const override;
  size_t HeldBytes() const override;

  std::unique_ptr<TStep> inner_;
  int first_ = 0;
  // The placed sections as the track does not have them now: as they were before
  // the joining while the step is done, as joined while it is undone.
  mutable std::vector<SectionSnapshot> kept_;
  TrackState before_, after_;  // the track's own values either side of the joining
  std::vector<int> placed_;
};

}  // namespace meridal::history
