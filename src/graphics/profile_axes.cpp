// The profile's colours, its axes with their tick labels, the legend and the
// vertical exaggeration.
#include <algorithm>
#include <cmath>

#include "graphics/drawing_style.h"
#include "graphics/profile_drawing.h"
#include "model/units.h"
#include "present/format.h"

namespace meridal {

namespace {

constexpr int kPad = 6;
constexpr int kTick = 4;
constexpr int kSwatch = 18;
constexpr int kLegendGap = 14;

// A step of 1, 2 or 5 times a power of ten giving at most about `ticks` ticks.
double NiceStep(double span, int ticks) {
  const double raw = span / std::max(ticks, 1);
  if (!(raw > 0) || !std::isfinite(raw)) return 0;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * magnitude >= raw) return m * magnitude;
  return 10 * magnitude;
}

// "250 m", "12.5 m": as many decimals as the step needs, and no "-0".
std::string TickText(double metres, double step) {
  const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  if (std::fabs(metres) < step * 1e-6) metres = 0;
  return FormatPrintf("%.*f m", decimals, metres);
}

// Calls `tick` for every multiple of `step` from `from` to `to`.
template <class Tick>
void ForEachTick(double from, double to, double step, Tick tick) {
  if (!(step > 0)) return;
  const double firstIndex = std::ceil(from / step - 1e-9);
  for (int k = 0; k < 1000; ++k) {
    const double v = (firstIndex + k) * step;
    if (v > to + step * 1e-9) break;
    tick(v);
  }
}

}  // namespace

const char* const kSlopeClassNames[4] = {"under 3 %", "under 6 %", "under 10 %", "10 % or more"};

int SlopeClass(double gradient) {
  const double percent = std::fabs(gradient) * 100;
  if (!(percent >= 3)) return 0;  // NaN too
  if (percent < 6) return 1;
  return percent < 10 ? 2 : 3;
}

// The slope classes run from green to red, as steepness is commonly shown; the
// traces take none of their hues. Both were chosen together so that every two
// line colours, and each against the white ground, the shading and black, are
// at least kLeastColourDistance apart: a slope-coloured trace is never taken for
// another trace.
TColor SlopeClassColor(int slopeClass) {
  static constexpr TColor kColors[4] = {{0, 170, 0}, {230, 200, 0}, {255, 127, 0}, {220, 0, 0}};
  return slopeClass >= 0 && slopeClass < 4 ? kColors[slopeClass] : style::kBlack;
}

TColor TraceColor(int trace) {
  // Each the farthest from all before it, so the first few traces (most tracks
  // have two to four) differ the most.
  static constexpr TColor kColors[] = {
      {0, 0, 255},    {255, 64, 192}, {0, 128, 240},  {32, 128, 96},   {176, 96, 96},  {64, 0, 144},
      {0, 192, 240},  {112, 96, 0},   {224, 0, 255},  {224, 160, 240}, {96, 16, 80},   {80, 96, 128},
      {240, 0, 96},   {144, 192, 96}, {176, 112, 255}, {128, 0, 0}};
  constexpr int count = sizeof kColors / sizeof kColors[0];
  return kColors[((trace % count) + count) % count];
}

std::string ExaggerationText(double exaggeration) {
  const char* format = exaggeration >= 100 ? "%.0f" : exaggeration >= 10 ? "%.1f" : "%.2f";
  return "Vertical exaggeration \u00D7" + FormatPrintf(format, exaggeration);
}

namespace {

// A plot's frame, one pixel outside it.
void FrameBox(ICanvas& canvas, const TProfileFrame& f) {
  canvas.SetPenColor(style::kBlack);
  canvas.SetPenWidth(1);
  canvas.MoveTo(f.left - 1, f.top - 1);
  canvas.LineTo(f.right, f.top - 1);
  canvas.LineTo(f.right, f.bottom);
  canvas.LineTo(f.left - 1, f.bottom);
  canvas.LineTo(f.left - 1, f.top - 1);
}

}  // namespace

void TProfileDrawing::DrawAxes(ICanvas& canvas) const {
  const TProfileFrame& f = frame_;
  const bool speeds = speedFrame_.Height() >= 2;
  // The distances are labelled under the lowest band; the heights' band has
  // its ticks alone when the speeds lie under it.
  const TProfileFrame& under = speeds ? speedFrame_ : frame_;
  const int text = canvas.TextHeight();
  FrameBox(canvas, f);
  if (speeds) DrawSpeedAxis(canvas);

  const double metresPerUnit = static_cast<double>(kMetersPerUnit);
  const double first = f.first * metresPerUnit, last = f.last * metresPerUnit;
  const double along = NiceStep(last - first, std::max(2, f.Width() / 100));
  ForEachTick(first, last, along, [&](double v) {
    const int x = static_cast<int>(std::lround(f.XOf(v / metresPerUnit)));
    if (speeds) {
      canvas.MoveTo(x, f.bottom);
      canvas.LineTo(x, f.bottom + kTick);
    }
    canvas.MoveTo(x, under.bottom);
    canvas.LineTo(x, under.bottom + kTick);
    // A label under a tick near the right edge moves in, rather than off the picture.
    const std::string label = TickText(v, along);
    const int half = (canvas.TextWidth(label) + 1) / 2;
    canvas.Text(std::min(x, canvas.ClientWidth() - 1 - half), under.bottom + kPad + text / 2, label,
                TextAlign::Center);
  });
  const double up = NiceStep(f.high - f.low, std::max(2, f.Height() / 40));
  ForEachTick(f.low, f.high, up, [&](double v) {
    const int y = static_cast<int>(std::lround(f.YOf(v)));
    canvas.MoveTo(f.left - 1 - kTick, y);
    canvas.LineTo(f.left - 1, y);
    canvas.Text(f.left - kPad - kTick, y, TickText(v, up), TextAlign::Right);
  });
  canvas.Text(f.right, under.bottom + 2 * kPad + text + text / 2, ExaggerationText(f.Exaggeration()),
              TextAlign::Right);
}

// The speed band's frame and its axis in km/h.
void TProfileDrawing::DrawSpeedAxis(ICanvas& canvas) const {
  const TProfileFrame& f = speedFrame_;
  FrameBox(canvas, f);
  constexpr double kKmh = 3.6;
  const double step = NiceStep((f.high - f.low) * kKmh, std::max(1, f.Height() / 30));
  ForEachTick(f.low * kKmh, f.high * kKmh, step, [&](double kmh) {
    const int y = static_cast<int>(std::lround(f.YOf(kmh / kKmh)));
    canvas.MoveTo(f.left - 1 - kTick, y);
    canvas.LineTo(f.left - 1, y);
    canvas.Text(f.left - kPad - kTick, y, FormatPrintf("%.0f km/h", kmh), TextAlign::Right);
  });
}

int TProfileDrawing::FlowLegend(ICanvas& canvas, bool draw) const {
  const int rowHeight = canvas.TextHeight() + 4;
  int x = kPad, row = 0;
  for (const LegendEntry& entry : legend_) {
    const int width = kSwatch + 4 + canvas.TextWidth(entry.text);
    if (x > kPad && x + width > kPad + legendWidth_) {
      ++row;
      x = kPad;
    }
    if (draw) {
      const int y = kPad + row * rowHeight + rowHeight / 2;
      canvas.SetPenColor(entry.color);
      canvas.SetPenWidth(3);
      canvas.MoveTo(x, y);
      canvas.LineTo(x + kSwatch, y);
      canvas.SetPenColor(style::kBlack);
      canvas.SetPenWidth(1);
      canvas.Text(x + kSwatch + 4, y, entry.text, TextAlign::Left);
    }
    x += width + kLegendGap;
  }
  return legend_.empty() ? 0 : row + 1;
}

}  // namespace meridal
