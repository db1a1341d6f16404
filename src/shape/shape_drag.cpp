#include "shape/shape_drag.h"

#include <cmath>

#include "edit/track_edits.h"
#include "model/curved_section.h"
#include "model/length_limit.h"
#include "model/numbers.h"
#include "model/units.h"
#include "model/track.h"
#include "shape/shape_step.h"

namespace meridal::shape {

using history::SectionSnapshot;
using history::TrackState;

namespace {

void PutSection(TSection& section, const SectionSnapshot& snapshot) {
  section.Values() = snapshot.values;
  snapshot.PutChildren(section);
}

double Distance(TPointD a, TPointD b) { return std::hypot(a.x - b.x, a.y - b.y); }

}  // namespace

TShapeDrag::TShapeDrag(TTrack& track, int section, Handle handle, TPointD grab, TDragOptions options)
    : track_(track), section_(section), handle_(handle), grab_(grab), options_(options) {
  const int count = track.NumberOfSections();
  const int last = options.keepJoined ? count - 1 : section;
  for (int s = section; s <= last; ++s) before_.push_back(SectionSnapshot::Of(*track.Section(s)));
  trackBefore_ = TrackState::Of(track);
  lengthBefore_ = TotalSectionLength(track);
  const TSection& dragged = *track.Section(section);
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&dragged)) sweep_ = arc->SweptAngle();
  lastBox_ = dragged.Extent;
  // The next start stays put unless it follows the dragged end: the end of the
  // last section may land on section 0's start, any end on a start that is not
  // kept joined to it. A section is its own next only in a one-section loop.
  const int next = section + 1 < count ? section + 1 : 0;
  if (next != section && (!options.keepJoined || next == 0) && !(handle == Handle::Move && next == 0 && section == 0))
    target_ = TPointD{track.Section(next)->StartX(), track.Section(next)->StartY()};
}

std::string TShapeDrag::StepText() const {
  const std::string name = PathName(TObjectPath::Section(section_));
  if (handle_ == Handle::Move) return "Move " + name;
  return std::string("Drag ") + HandleName(handle_) + " of " + name;
}

void TShapeDrag::PutBack(int first) {
  for (size_t i = static_cast<size_t>(first - section_); i < before_.size(); ++i)
    PutSection(*track_.Section(section_ + static_cast<int>(i)), before_[i]);
}

Stop TShapeDrag::Place(const TAim& aim) {
  PutBack(section_);
  track_.Values() = trackBefore_.values;
  TSection& dragged = *track_.Section(section_);
  if (!ApplyAim(dragged, handle_, aim)) {
    PutBack(section_);
    return Stop::Refused;
  }
  for (int s = section_ + 1; s < section_ + static_cast<int>(before_.size()); ++s)
    if (!edit::JoinToPrevious(*track_.Section(s))) return Stop::LaterSections;
  // A track longer than 32 bits allow would wrap in every file.
  if (TotalSectionLength(track_) > kMaxTrackLength && TotalSectionLength(track_) > lengthBefore_)
    return Stop::OutsideRange;
  track_.UpdateExtent();
  return Stop::None;
}

TAim TShapeDrag::Snap(const TAim& raw, Snapped& snapped) {
  snapped = Snapped::No;
  const TSnapRules& rules = options_.snap;
  if (!rules.on || raw.stop != Stop::None) return raw;
  const TSection& dragged = *track_.Section(section_);
  if (target_) {
    // Where the end would be: try the value on the section as it was.
    const bool near = ApplyAim(*track_.Section(section_), handle_, raw) &&
                      Distance({dragged.EndX(), dragged.EndY()}, *target_) <= rules.reach;
    PutSection(*track_.Section(section_), Original());
    if (near) {
      // The value that lands the end on the start, if this handle alone can.
      const TPointD to = *target_;
      const TPointD at = handle_ == Handle::Move ? TPointD{grab_.x + to.x - dragged.EndX(), grab_.y + to.y - dragged.EndY()}
                                                 : to;
      TAim landing = AimAt(dragged, handle_, at, grab_, sweep_);
      if (handle_ == Handle::Radius) {
        // The end runs along the ray from the start at heading + sweep / 2, the
        // midpoint along the one at heading + sweep / 4: the radius that puts the
        // end there, given by the midpoint it has.
        const auto& arc = static_cast<const TCurvedSection&>(dragged);
        const double theta = OrientationToRadians(arc.Orientation), sweep = arc.SweptAngle();
        const double r = ((to.x - arc.StartX()) * std::cos(theta + sweep / 2) +
                          (to.y - arc.StartY()) * std::sin(theta + sweep / 2)) /
                         (2 * std::sin(std::fabs(sweep) / 2));
        const double mid = 2 * r * std::sin(std::fabs(sweep) / 4);
        landing = AimAt(dragged, handle_,
                        {arc.StartX() + mid * std::cos(theta + sweep / 4), arc.StartY() + mid * std::sin(theta + sweep / 4)},
                        grab_, sweep_);
      }
      bool lands = ApplyAim(*track_.Section(section_), handle_, landing) &&
                   Distance({dragged.EndX(), dragged.EndY()}, to) <= kLandsExactly;
      PutSection(*track_.Section(section_), Original());
      if (lands) {
        snapped = Snapped::Landed;
        return landing;
      }
    }
  }
  const TAim grid = SnapAim(dragged, handle_, raw, rules);
  snapped = Snapped::Grid;
  return grid;
}

TDragMove TShapeDrag::Move(TPointD p) {
  TDragMove move;
  PutSection(*track_.Section(section_), Original());
  const TSection& dragged = *track_.Section(section_);
  const TAim raw = AimAt(dragged, handle_, p, grab_, sweep_);
  const TAim aim = Snap(raw, move.snapped);
  return Put(aim, move);
}

TDragMove TShapeDrag::MoveTo(const TAim& aim) {
  TDragMove move;
  PutSection(*track_.Section(section_), Original());
  return Put(aim, move);
}

TDragMove TShapeDrag::Put(const TAim& aim, TDragMove move) {
  Stop stop = aim.stop;
  if (stop == Stop::None) stop = Place(aim);
  if (stop != Stop::None) {
    // The handle stays where it last was.
    if (last_) Place(*last_);
    else {
      PutBack(section_);
      trackBefore_.Restore(track_);
    }
    move.snapped = lastSnap_;
  } else {
    if (aim.sweep != 0) sweep_ = aim.sweep;
    move.changed = !last_ || last_->value != aim.value || !(last_->start == aim.start);
    last_ = aim;
    lastSnap_ = move.snapped;
  }
  move.stop = lastStop_ = stop;
  moved_ = true;
  move.change = Change(before_.size() > 1);
  return move;
}

TTrackChange TShapeDrag::Change(bool all) const {
  TTrackChange change;
  for (size_t i = 0; i < before_.size(); ++i) change.sections.push_back(section_ + static_cast<int>(i));
  change.trackValues = true;
  if (!all) {
    change.local = true;
    change.boxes = {before_.front().values.Extent, lastBox_, track_.Section(section_)->Extent};
  }
  return change;
}

TTrackChange TShapeDrag::Cancel() {
  const TRect box = track_.Section(section_)->Extent;
  PutBack(section_);
  trackBefore_.Restore(track_);
  last_.reset();
  lastBox_ = box;
  return Change(before_.size() > 1);
}

std::unique_ptr<history::TStep> TShapeDrag::Finish() {
  if (!last_) return nullptr;
  // The drag is over: the step takes what it kept.
  return TShapeStep::Changed(StepText(), section_, track_, section_, std::move(before_), trackBefore_);
}

}  // namespace meridal::shape
