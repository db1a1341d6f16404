// The profile's layout, its traces and the mapping of a click back to the track.
#include "graphics/profile_drawing.h"

#include <algorithm>
#include <cmath>

#include "graphics/drawing_style.h"
#include "graphics/profile_view.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr TColor kShade{255, 236, 179};     // the selected section's stretch
constexpr TColor kBoundary{205, 205, 205};  // section boundaries
constexpr int kBoldWidth = 3;
constexpr int kBoundarySpacing = 4;  // pixels per boundary at the least
// The speed trace, and the same dimmed while the track has changed since.
constexpr TColor kSpeed{30, 30, 30};
constexpr TColor kStaleSpeed{185, 185, 185};
// The share of the plot's height the heights keep when speeds are shown below.
constexpr double kHeightsShare = 0.6;
// Two points of a speed trace further apart than this along the track (metres)
// are not joined: the line jumps a section it could not drive.
constexpr double kSpeedJoin = 20.0;

// The smallest height range shown, so that a flat track is a line in the middle.
constexpr double kFlattest = 1.0;

int PixelOf(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9))); }

// The section a selection shades, or -1.
int SelectedSectionOf(const TObjectPath& selection) {
  return selection.kind == TObjectPath::Kind::Track ? -1 : selection.section;
}

// The trace a selection draws bold, or -1: an altitude's, within a section of
// the track.
int BoldTraceOf(const TTrack& track, const TObjectPath& selection) {
  if (selection.kind != TObjectPath::Kind::Altitude) return -1;
  if (selection.section < 0 || selection.section >= track.NumberOfSections()) return -1;
  return selection.child;
}

}  // namespace

// ---- the frame ----

double TProfileFrame::XOf(double distance) const { return left + (distance - first) / (last - first) * Width(); }
double TProfileFrame::DistanceAt(double x) const { return first + (x - left) * (last - first) / Width(); }
double TProfileFrame::YOf(double metres) const { return top + (high - metres) / (high - low) * (Height() - 1); }

double TProfileFrame::Exaggeration() const {
  const double along = Width() / ((last - first) * static_cast<double>(kMetersPerUnit));
  const double up = (Height() - 1) / (high - low);
  return up / along;
}

// ---- the picture ----

TSectionRun ShadedSections(const TObjectPath& selection, TSectionRun run) {
  const int selected = SelectedSectionOf(selection);
  if (run.Count() > 1 && run.Contains(selected)) return run;
  return {selected, selected};
}

void TProfileDrawing::Draw(const TTrack& track, const TObjectPath& selection, const TProfileView& view,
                           ICanvas& canvas, TSectionRun run) {
  canvas.SetBrushColor(style::kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetPenColor(style::kWhite);
  canvas.Rectangle(0, 0, canvas.ClientWidth(), canvas.ClientHeight());
  const int bold = BoldTraceOf(track, selection);
  Layout(track, bold, view, canvas);
  if (frame_.Width() >= 2 && frame_.Height() >= 2) {
    const TSectionRun shaded = ShadedSections(selection, run);
    DrawSelectedSections(track, shaded.first, shaded.last, canvas);
    DrawBoundaries(canvas);
    for (int j = 0; j < samples_.traces; ++j)
      if (j != bold) DrawTrace(canvas, j, 1, false);
    if (bold >= 0 && bold < samples_.traces) DrawTrace(canvas, bold, kBoldWidth, view.SlopeColouring);
    if (speeds_) DrawSpeeds(track, canvas);
    DrawAxes(canvas);
    FlowLegend(canvas, true);
  }
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(style::kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
}

bool TProfileDrawing::DrawSpan(const TTrack& track, const TObjectPath& selection, const TProfileView& view,
                               ICanvas& canvas, double from, double to, TSectionRun run) {
  // Only heights and the shading may have changed: the layout must be the last one.
  const int bold = BoldTraceOf(track, selection);
  const int slopeTrace = view.SlopeColouring && bold < track.NumberOfTraces() ? bold : -1;
  // The speeds are of the whole lap: a change anywhere draws them anew.
  if (speeds_ || frame_.Width() < 2 || frame_.Height() < 2 || bold != bold_ || slopeTrace != samples_.slopeTrace ||
      view.First() != frame_.first || (view.Last() > view.First() ? view.Last() : view.First() + 1) != frame_.last ||
      canvas.ClientWidth() != clientWidth_ || canvas.ClientHeight() != clientHeight_)
    return false;
  if (SectionStarts(track) != starts_) return false;
  // A column's line reaches one column either side (the bold one two, as it
  // meets its neighbour); the columns are gathered anew where heights changed.
  const int c0 = static_cast<int>(std::floor(frame_.XOf(from))) - frame_.left - 1;
  const int c1 = static_cast<int>(std::floor(frame_.XOf(to))) - frame_.left + 1;
  if (c1 < 0 || c0 >= frame_.Width()) return true;
  const double lowest = samples_.lowest, highest = samples_.highest;
  if (!ResampleColumns(track, starts_, c0, c1, samples_)) return false;
  // New extremes move the scale: only a whole picture shows them.
  const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
  if (!same(lowest, samples_.lowest) || !same(highest, samples_.highest)) return false;
  const int x0 = frame_.left + std::max(c0 - 2, 0), x1 = frame_.left + std::min(c1 + 3, frame_.Width());
  canvas.ClipTo(x0, frame_.top, x1, frame_.bottom);
  canvas.SetBrushColor(style::kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetPenColor(style::kWhite);
  canvas.Rectangle(x0, frame_.top, x1, frame_.bottom);
  const TSectionRun shaded = ShadedSections(selection, run);
  DrawSelectedSections(track, shaded.first, shaded.last, canvas);
  DrawBoundaries(canvas);
  for (int j = 0; j < samples_.traces; ++j)
    if (j != bold) DrawTrace(canvas, j, 1, false, x0 - frame_.left, x1 - frame_.left);
  if (bold >= 0 && bold < samples_.traces)
    DrawTrace(canvas, bold, kBoldWidth, view.SlopeColouring, x0 - frame_.left, x1 - frame_.left);
  // A smoothed frame line reaches half a pixel into the plot.
  DrawAxes(canvas);
  canvas.ClipOff();
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(style::kWhite);
  canvas.SetBrushStyle(BrushStyle::Solid);
  return true;
}

void TProfileDrawing::Layout(const TTrack& track, int boldTrace, const TProfileView& view, ICanvas& canvas) {
  const int pad = 6, text = canvas.TextHeight();
  const int width = canvas.ClientWidth(), height = canvas.ClientHeight();
  const int slopeTrace = view.SlopeColouring ? boldTrace : -1;

  legend_.clear();
  for (int j = 0; j < track.NumberOfTraces(); ++j) legend_.push_back({"Trace " + std::to_string(j), TraceColor(j)});
  if (slopeTrace >= 0 && slopeTrace < track.NumberOfTraces())
    for (int k = 0; k < 4; ++k) legend_.push_back({kSlopeClassNames[k], SlopeClassColor(k)});
  if (speeds_) legend_.push_back({speeds_->stale ? "Speed (km/h), before the change" : "Speed (km/h)",
                                  speeds_->stale ? kStaleSpeed : kSpeed});
  legendWidth_ = width - 2 * pad;
  bold_ = boldTrace;
  clientWidth_ = width;
  clientHeight_ = height;

  frame_.left = canvas.TextWidth("-0000.0 m") + 2 * pad;
  frame_.right = width - 2 * pad;
  frame_.top = pad + FlowLegend(canvas, false) * (text + 4) + pad;
  frame_.bottom = height - (pad + text + pad + text + pad);
  speedFrame_ = TProfileFrame();
  if (speeds_) {
    // The speeds in a band of their own under the heights, the distances' axis
    // under both.
    const int plot = frame_.bottom - frame_.top, gap = 2 * pad;
    speedFrame_.left = frame_.left;
    speedFrame_.right = frame_.right;
    speedFrame_.bottom = frame_.bottom;
    frame_.bottom = frame_.top + static_cast<int>(std::lround((plot - gap) * kHeightsShare));
    speedFrame_.top = frame_.bottom + gap;
    double fastest = 0;
    for (const TProfileSpeeds::TPoint& p : speeds_->points)
      if (p.section >= 0 && p.section < track.NumberOfSections()) fastest = std::max(fastest, p.speed);
    speedFrame_.low = 0;
    speedFrame_.high = std::max(fastest, 1.0) * 1.05;
  }
  frame_.first = view.First();
  frame_.last = view.Last() > view.First() ? view.Last() : view.First() + 1;
  speedFrame_.first = frame_.first;
  speedFrame_.last = frame_.last;

  starts_ = SectionStarts(track);
  SampleColumns(track, starts_, frame_.first, frame_.last, std::max(frame_.Width(), 0), slopeTrace, samples_);
  double low = samples_.lowest, high = samples_.highest;
  if (std::isnan(low)) low = high = 0;
  if (high - low < kFlattest) {
    const double middle = (low + high) / 2;
    low = middle - kFlattest / 2;
    high = middle + kFlattest / 2;
  }
  const double margin = (high - low) * 0.05;
  frame_.low = low - margin;
  frame_.high = high + margin;
}

void TProfileDrawing::DrawSelectedSections(const TTrack& track, int first, int last, ICanvas& canvas) const {
  if (first < 0 || last < first || static_cast<size_t>(last) >= starts_.size() || last >= track.NumberOfSections())
    return;
  const double start = static_cast<double>(starts_[first]);
  const double end = static_cast<double>(starts_[last]) + track.Section(last)->Length;
  const double x0 = std::max(frame_.XOf(start), double(frame_.left));
  const double x1 = std::min(frame_.XOf(end) + 1, double(frame_.right));
  if (!(x1 > x0)) return;
  canvas.SetBrushColor(kShade);
  canvas.SetBrushStyle(BrushStyle::Solid);
  canvas.SetPenColor(kShade);
  canvas.Rectangle(static_cast<int>(x0), frame_.top, static_cast<int>(x1), frame_.bottom);
}

void TProfileDrawing::DrawBoundaries(ICanvas& canvas) const {
  // Sections closer together than a few pixels would only grey the plot over.
  const auto lines = std::count(samples_.boundary.begin(), samples_.boundary.end(), 1);
  if (lines * kBoundarySpacing > samples_.columns) return;
  canvas.SetPenColor(kBoundary);
  canvas.SetPenWidth(1);
  for (int c = 0; c < samples_.columns; ++c) {
    if (!samples_.boundary[static_cast<size_t>(c)]) continue;
    canvas.MoveTo(frame_.left + c, frame_.top);
    canvas.LineTo(frame_.left + c, frame_.bottom - 1);
  }
}

// Each column is one run of pixels from the lowest to the highest height the
// trace reaches there, stretched to meet the run before it so that the line is
// unbroken; a column no section covers breaks it.
void TProfileDrawing::DrawTrace(ICanvas& canvas, int trace, int width, bool slopeColours, int from, int to) {
  canvas.SetPenWidth(width);
  runs_.clear();
  int first = 0, stretchClass = 0;
  const auto flush = [&] {
    if (runs_.empty()) return;
    canvas.SetPenColor(slopeColours ? SlopeClassColor(stretchClass) : TraceColor(trace));
    canvas.VerticalRuns(frame_.left + first, runs_.data(), static_cast<int>(runs_.size()));
    runs_.clear();
  };
  bool joined = false;  // whether the column before was drawn
  TRun before;
  for (int c = 0; c < samples_.columns; ++c) {
    const double lo = samples_.Low(trace, c), hi = samples_.High(trace, c);
    if (std::isnan(lo)) {
      flush();
      joined = false;
      continue;
    }
    TRun run{PixelOf(frame_.YOf(hi)), PixelOf(frame_.YOf(lo))};
    if (joined) {
      run.top = std::min(run.top, before.bottom + 1);
      run.bottom = std::max(run.bottom, before.top - 1);
    }
    if (slopeColours) {
      const int cls = SlopeClass(samples_.steepest[static_cast<size_t>(c)]);
      if (cls != stretchClass) flush();
      stretchClass = cls;
    }
    before = run;
    joined = true;
    // Every column is worked out, as each meets the one before; only those
    // asked for are drawn.
    if (c < from || c >= to) {
      flush();
      continue;
    }
    if (runs_.empty()) first = c;
    runs_.push_back(run);
  }
  flush();
}

// The speeds as a line through the points, gathered per pixel column (the
// lowest to the highest speed in each) so that its cost follows the width.
void TProfileDrawing::DrawSpeeds(const TTrack& track, ICanvas& canvas) {
  const TProfileFrame& f = speedFrame_;
  if (f.Width() < 2 || f.Height() < 2) return;
  canvas.SetPenColor(speeds_->stale ? kStaleSpeed : kSpeed);
  canvas.SetPenWidth(speeds_->stale ? 1 : 2);
  const int sections = std::min(track.NumberOfSections(), static_cast<int>(starts_.size()));
  const double join = kSpeedJoin * static_cast<double>(kUnitsPerMeter);
  bool drawing = false;  // a line is under way
  int column = 0, top = 0, bottom = 0, last = 0;
  double before = 0;
  // The column's run, the line going on from its last point.
  const auto flush = [&] {
    if (drawing && bottom > top) {
      canvas.MoveTo(column, top);
      canvas.LineTo(column, bottom);
      canvas.MoveTo(column, last);
    }
  };
  canvas.ClipTo(f.left, f.top, f.right, f.bottom);
  for (const TProfileSpeeds::TPoint& p : speeds_->points) {
    // A trace of a track changed since may name sections that are gone.
    if (p.section < 0 || p.section >= sections) {
      flush();
      drawing = false;
      continue;
    }
    const double distance = static_cast<double>(starts_[static_cast<size_t>(p.section)]) +
                            p.t * track.Section(p.section)->Length;
    const double xd = std::clamp(f.XOf(distance), f.left - 2.0, f.right + 2.0);
    const int x = PixelOf(std::floor(xd)), y = PixelOf(f.YOf(std::clamp(p.speed, f.low, f.high)));
    const bool joined = drawing && distance >= before && distance - before <= join;
    before = distance;
    if (joined && x == column) {
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      last = y;
      continue;
    }
    flush();
    if (joined) {
      canvas.LineTo(x, y);
    } else {
      canvas.MoveTo(x, y);
      canvas.LineTo(x, y);
    }
    drawing = true;
    column = x;
    top = bottom = last = y;
  }
  flush();
  canvas.ClipOff();
}

// ---- a click ----

TProfileHit TProfileDrawing::HitTest(const TTrack& track, int x, int y) const {
  TProfileHit hit;
  if (!frame_.Contains(x, y)) return hit;
  const double distance = frame_.DistanceAt(x + 0.5);
  const std::vector<int64_t> starts = SectionStarts(track);
  for (size_t s = 0; s < starts.size(); ++s) {
    const double start = static_cast<double>(starts[s]), length = track.Section(static_cast<int>(s))->Length;
    if (distance < start || distance > start + length) continue;
    hit.section = static_cast<int>(s);
    const TSection& section = *track.Section(hit.section);
    const double t = length > 0 ? (distance - start) / length : 0;
    double nearest = 0;
    for (int j = 0; j < section.NumberOfAltitudes(); ++j) {
      const double metres = static_cast<double>(section.Altitude(j)->HeightAt(t) * kMetersPerUnit);
      const double off = std::fabs(frame_.YOf(metres) - y);
      if (hit.trace < 0 || off < nearest) {
        hit.trace = j;
        nearest = off;
      }
    }
    break;
  }
  return hit;
}

}  // namespace meridal
