#pragma once
// TShapeDrag: one drag of a section's handle on a track, from the press to the
// release. Each pointer position puts the handle's value in place as though it
// were the first: the dragged section is put back as it was and given the new
// value through its setter, and with keep joined every later section is put back
// too and joined to the one before it, as Join All Positions places them. So the
// track after a move depends on that move alone, never on the path the pointer
// took, and the release leaves exactly what a drag straight to that point leaves.
//
// A value the section cannot take stops the handle at the last value it took;
// Stop says why. The drag ends as one history step (Finish), or puts the track
// back exactly as it was (Cancel).
//
//   TShapeDrag drag(track, 3, Handle::End, pointer, options);
//   TDragMove m = drag.Move(p);        // every pointer move
//   auto step = drag.Finish();         // the release: "Drag End of Section 3"
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/step.h"
#include "history/track_patch.h"
#include "shape/handle_geometry.h"
#include "shape/shape_rules.h"

namespace meridal {
class TTrack;
}

namespace meridal::shape {

struct TDragOptions {
  bool keepJoined = true;
  TSnapRules snap;
};

// How a drag's end snapped.
enum class Snapped { No, Grid, Landed };

// What one pointer move did.
struct TDragMove {
  Stop stop = Stop::None;         // why the handle stopped short of the pointer
  Snapped snapped = Snapped::No;
  bool changed = false;           // the track differs from the move before
  TTrackChange change;            // what the views need to redraw
};

class TShapeDrag {
 public:
  // A drag of `handle` of section `section`, pressed at `grab` (world units).
  TShapeDrag(TTrack& track, int section, Handle handle, TPointD grab, TDragOptions options);

  TDragMove Move(TPointD p);
  // The handle given a value exactly (a number typed during the drag), as a
  // move would give it, without snapping.
  TDragMove MoveTo(const TAim& aim);
  // The track as it was before the press, and what the views need to redraw.
  TTrackChange Cancel();
  // The step of the drag as it stands ("Drag End of Section 3"), or nullptr when
  // the track is as it was. The drag is over afterwards.
  std::unique_ptr<history::TStep> Finish();

  int Section() const { return section_; }
  Handle Grabbed() const { return handle_; }
  const TDragOptions& Options() const { return options_; }
  void SetSnap(const TSnapRules& rules) { options_.snap = rules; }
  // The section as it was at the press.
  const history::SectionSnapshot& Original() const { return before_.front(); }
  // Whether the last move stopped, and why.
  Stop LastStop() const { return lastStop_; }
  Snapped LastSnap() const { return lastSnap_; }
  // "Drag End of Section 3", "Move Section 3".
  std::string StepText() const;
  // The start the dragged end may land on: the next section's start where that
  // stays put during the drag, or nothing.
  std::optional<TPointD> Target() const { return target_; }

 private:
  // Puts sections from `first` on back as they were at the press.
  void PutBack(int first);
  // Applies an aim to the section as it was and lets the later sections follow.
  Stop Place(const TAim& aim);
  // The aim with snapping: landing on the target first, then the grid.
  TAim Snap(const TAim& raw, Snapped& snapped);
  // Places an aim found for a move, or the handle's last place when it stops.
  TDragMove Put(const TAim& aim, TDragMove move);
  TTrackChange Change(bool all) const;

  TTrack& track_;
  int section_;
  Handle handle_;
  TPointD grab_;
  TDragOptions options_;
  std::vector<history::SectionSnapshot> before_;  // the dragged section and those that follow it
  history::TrackState trackBefore_;
  int64_t lengthBefore_ = 0;  // a track too long already may still be shortened
  std::optional<TPointD> target_;
  std::optional<TAim> last_;  // the last aim that took
  double sweep_ = 0;
  Stop lastStop_ = Stop::None;
  Snapped lastSnap_ = Snapped::No;
  TRect lastBox_;
  bool moved_ = false;
};

}  // namespace meridal::shape
