#pragma once
// TProfileDrawing: the elevation profile's picture on a canvas, the same for the
// profile window and the command line. Distance along the track runs to the
// right, height upwards, both in metres: one line per trace in its own colour
// with a legend, thin lines at the section boundaries, ticked axes, the vertical
// exaggeration, the selected section shaded and the selected altitude's trace
// bold (coloured by its gradient when the view asks for it). The selection is
// handed to it as a path, as to the plan view's painter: a section, or a wall or
// an altitude of one, shades the section; an altitude makes its trace bold.
//
// The traces are drawn from samples per pixel column, as one vertical run of
// pixels a column, so the cost of a picture follows its width, not the number of
// sections. The drawing keeps the layout of
// its last picture, with which a click is mapped back to a section and a trace.
//
// A lap's speed trace may be shown under the heights, in a band of its own with
// its own axis (km/h), against the same distances; a trace of a track changed
// since it was driven is drawn dimmed until the new one comes.
//
//   TProfileDrawing profile;
//   profile.Draw(track, selection, view, canvas);
//   TProfileHit hit = profile.HitTest(track, clickX, clickY);
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/profile_sampling.h"
#include "model/object_path.h"
#include "model/section_run.h"
#include "platform/canvas.h"

namespace meridal {

class TProfileView;
class TTrack;

// Where the plot lies and what it shows.
struct TProfileFrame {
  int left = 0, top = 0, right = 0, bottom = 0;  // pixels; right and bottom excluded
  double first = 0, last = 1;  // distances shown, track units
  double low = 0, high = 1;    // heights shown, metres

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  double XOf(double distance) const;
  double DistanceAt(double x) const;
  double YOf(double metres) const;
  // Pixels per metre upwards over pixels per metre along.
  double Exaggeration() const;
};

// The speeds of a lap where it passes the track: each point by its section and
// t along it (the drawing places it with the track's own distances), in m/s.
struct TProfileSpeeds {
  struct TPoint {
    int section = 0;
    double t = 0;
    double speed = 0;
  };
  std::vector<TPoint> points;  // in the order driven
  bool stale = false;          // the track changed since: drawn dimmed
};

// What a click on the profile picks: the section under the pointer and the trace
// drawn nearest to it, -1 each when there is none.
struct TProfileHit {
  int section = -1;
  int trace = -1;
  friend bool operator==(const TProfileHit&, const TProfileHit&) = default;
};

// The four classes of slope colouring, by |gradient| in per cent: under 3, under
// 6, under 10, and 10 or more.
int SlopeClass(double gradient);
extern const char* const kSlopeClassNames[4];
TColor SlopeClassColor(int slopeClass);
// The colour of trace j (16 colours, as many as a track has traces).
TColor TraceColor(int trace);
// The least CIE76 colour difference between any two line colours of the profile
// (the traces' and the slope classes'), and between any of them and the white
// ground, the selected section's shading and black.
inline constexpr double kLeastColourDistance = 35;
// "Vertical exaggeration x12.5" (with a multiplication sign).
std::string ExaggerationText(double exaggeration);

// The sections a selection shades: the run when the selected section is one of
// several in it, the selected section alone otherwise, none for the track.
TSectionRun ShadedSections(const TObjectPath& selection, TSectionRun run);

class TProfileDrawing {
 public:
  // With a run of several sections selected, the run's whole stretch is shaded.
  void Draw(const TTrack& track, const TObjectPath& selection, const TProfileView& view, ICanvas& canvas,
            TSectionRun run = {});
  // Draws again only the distances `from` to `to` (track units) of the last
  // picture, on the same canvas, after heights or the shaded sections changed
  // there: the same pixels as a whole picture. False, with nothing drawn, when
  // the change needs a whole picture (sections moved along the track, the
  // heights' range or the bold trace changed, another size or view).
  bool DrawSpan(const TTrack& track, const TObjectPath& selection, const TProfileView& view, ICanvas& canvas,
                double from, double to, TSectionRun run = {});
  TProfileHit HitTest(const TTrack& track, int x, int y) const;
  // The speed trace the next picture shows under the heights; nullptr for none.
  void ShowSpeeds(std::shared_ptr<const TProfileSpeeds> speeds) { speeds_ = std::move(speeds); }

  const TProfileFrame& Frame() const { return frame_; }
  // The speed band of the last picture (empty without a speed trace): its
  // heights are speeds in m/s.
  const TProfileFrame& SpeedFrame() const { return speedFrame_; }
  const TColumnSamples& Samples() const { return samples_; }
  // A trace was added (or removed) at `at`: the heights known of each section's
  // other traces are kept for the next picture.
  void TraceMoved(int at, bool added) { MoveWholeHeights(samples_, at, added); }

 private:
  struct LegendEntry {
    std::string text;
    TColor color;
  };
  void Layout(const TTrack& track, int boldTrace, const TProfileView& view, ICanvas& canvas);
  // The stretch from the start of section `first` to the end of `last`.
  void DrawSelectedSections(const TTrack& track, int first, int last, ICanvas& canvas) const;
  void DrawBoundaries(ICanvas& canvas) const;
  // One trace from its column samples; with slope colours, a stretch per class.
  // Columns `from` (included) to `to` (excluded) of it, the lines meeting as in
  // the whole.
  void DrawTrace(ICanvas& canvas, int trace, int width, bool slopeColours, int from = 0, int to = 1 << 30);
  void DrawAxes(ICanvas& canvas) const;
  // The speed band: its frame and axis, and the speeds as one run of pixels a column.
  void DrawSpeeds(const TTrack& track, ICanvas& canvas);
  void DrawSpeedAxis(ICanvas& canvas) const;
  // The legend flows in rows across the top; with `draw` false it is only measured.
  int FlowLegend(ICanvas& canvas, bool draw) const;

  std::vector<int64_t> starts_;
  TColumnSamples samples_;
  TProfileFrame frame_;
  TProfileFrame speedFrame_;
  std::shared_ptr<const TProfileSpeeds> speeds_;
  std::vector<LegendEntry> legend_;
  int legendWidth_ = 0;  // the width the legend flows in
  int bold_ = -1;  // the bold trace of the last picture
  int clientWidth_ = 0, clientHeight_ = 0;
  std::vector<TRun> runs_;  // reused by every trace
};

}  // namespace meridal
