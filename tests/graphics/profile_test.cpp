// The elevation profile: its samples against the cubic of every altitude, the
// column envelope that keeps what lies between pixels, the picture's parts,
// what a click picks, and the horizontal zoom.
#include <gtest/gtest.h>

#include "edit/track_edits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "graphics/profile_drawing.h"
#include "graphics/profile_view.h"
#include "model/units.h"
#include "support/recording_canvas.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::AppendCopy;
using testing::ConvertToCurve;
using testing::RecordingCanvas;

constexpr double kM = 5.08000000002032e-05;  // metres per unit

// A straight, a left curve and a straight, three traces, and a different cubic
// on every altitude.
std::unique_ptr<TTrack> Hills() {
  auto track = testing::DefaultTrack();
  EXPECT_TRUE(edit::AddTrace(*track, 1));
  AppendCopy<TStraightSection>(*track);
  AppendCopy<TStraightSection>(*track);
  ConvertToCurve(*track, 1);
  for (int s = 0; s < 3; ++s)
    for (int j = 0; j < 3; ++j) {
      TAltitude& a = *track->Section(s)->Altitude(j);
      a.ThirdOrder = 1000 * (s + 1) - 300 * j;
      a.SecondOrder = -2000 + 500 * j;
      a.FirstOrder = 7000 * s;
      a.HeightAtStart = 19685 * 2 * j + 13;
    }
  return track;
}

TEST(Profile, SamplesFollowTheCubicOfEveryAltitude) {
  auto track = Hills();
  const std::vector<TSectionSample> rows = SampleSections(*track, 4);
  ASSERT_EQ(rows.size(), 15u);
  for (size_t i = 0; i < rows.size(); ++i) {
    const TSectionSample& row = rows[i];
    const TSection& s = *track->Section(static_cast<int>(i / 5));
    const double t = static_cast<double>(i % 5) / 4;
    EXPECT_EQ(row.section, s.Number);
    EXPECT_EQ(row.t, t);
    EXPECT_NEAR(row.distance, (s.Start + t * s.Length) * kM, 1e-9);
    ASSERT_EQ(row.heights.size(), 3u);
    for (int j = 0; j < 3; ++j) {
      const TAltitude& a = *s.Altitude(j);
      const double h = a.ThirdOrder * t * t * t + a.SecondOrder * t * t + a.FirstOrder * t + a.HeightAtStart;
      EXPECT_NEAR(row.heights[j], h * kM, 1e-9) << "section " << s.Number << " trace " << j << " t " << t;
    }
  }
}

TEST(Profile, StartsGoOnPastThe32BitWrapAndKeepAStartSetByHand) {
  auto track = testing::DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  AppendCopy<TStraightSection>(*track);
  for (auto& section : track->Sections) section->Length = 2000000000;
  track->RecomputeStarts();
  ASSERT_LT(track->Section(2)->Start, 0);  // the stored start has wrapped
  EXPECT_EQ(SectionStarts(*track), (std::vector<int64_t>{0, 2000000000, 4000000000}));
  track->Section(1)->Start = 5;
  EXPECT_EQ(SectionStarts(*track)[1], 5);
}

TEST(Profile, AColumnHoldsEverythingBetweenItsEdges) {
  TObjectPath selection;  // nothing highlighted
  // A crest in the middle of a 50 m straight, then a 10-unit section 5 m higher.
  auto track = testing::DefaultTrack();
  const double h = 19685;
  TAltitude& crest = *track->Section(0)->Altitude(0);
  crest.SecondOrder = static_cast<int32_t>(-4 * h);
  crest.FirstOrder = static_cast<int32_t>(4 * h);
  AppendCopy<TStraightSection>(*track)->Length = 10;
  track->RecomputeStarts();
  TAltitude& step = *track->Section(1)->Altitude(0);
  step.SecondOrder = step.FirstOrder = 0;
  step.HeightAtStart = static_cast<int32_t>(5 * h);
  const double end = 984252 + 10;

  TColumnSamples c;
  SampleColumns(*track, SectionStarts(*track), -end, end, 6, 0, c);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isnan(c.High(0, i))) << i;  // before the track
  EXPECT_NEAR(c.High(0, 4), h * kM, 1e-12);  // the crest lies inside the column
  EXPECT_GT(c.Low(0, 4), 0.88 * h * kM);
  EXPECT_NEAR(c.High(0, 5), 5 * h * kM, 1e-12);  // the short section is narrower than a pixel
  EXPECT_EQ(c.boundary, (std::vector<uint8_t>{0, 0, 0, 1, 0, 1}));
  EXPECT_NEAR(c.highest, 5 * h * kM, 1e-12);
  // The steepest gradient of the slope trace: 4 h / L at the straight's ends.
  EXPECT_NEAR(c.steepest[3], 4 * h / 984252, 1e-12);
}

// Columns gathered again into the same samples, after a height changed, are
// those gathered afresh: what was kept of the unchanged sections is reused, and
// nothing of the changed one.
TEST(Profile, ColumnsGatheredAgainFollowAChangedHeight) {
  auto track = Hills();
  for (int i = 0; i < 30; ++i) AppendCopy<TStraightSection>(*track)->Length = 2000;
  track->RecomputeStarts();
  const auto starts = SectionStarts(*track);
  const TDistanceRange range = TrackDistances(*track, starts);
  TColumnSamples kept, fresh;
  SampleColumns(*track, starts, range.first, range.last, 8, 0, kept);
  track->Section(5)->Altitude(0)->SecondOrder += 40000;
  SampleColumns(*track, starts, range.first, range.last, 8, 0, kept);
  SampleColumns(*track, starts, range.first, range.last, 8, 0, fresh);
  EXPECT_EQ(kept.high, fresh.high);
  EXPECT_EQ(kept.low, fresh.low);
  TColumnSamples before;
  track->Section(5)->Altitude(0)->SecondOrder -= 40000;
  SampleColumns(*track, starts, range.first, range.last, 8, 0, before);
  EXPECT_NE(before.high, fresh.high);
}

struct Drawn {
  std::unique_ptr<TTrack> track = Hills();
  TObjectPath selection;  // nothing highlighted
  TProfileView view;
  TProfileDrawing profile;
  RecordingCanvas canvas{800, 400};
  void Draw() {
    canvas.Clear();
    view.SetExtent(TrackDistances(*track, SectionStarts(*track)));
    profile.Draw(*track, selection, view, canvas);
  }
  // The pen colours of the lines drawn while the pen was `width` wide.
  std::vector<std::string> PensAtWidth(int width) {
    std::vector<std::string> pens;
    int current = 1;
    std::string pen;
    for (const std::string& line : canvas.log) {
      if (line.rfind("width ", 0) == 0) current = std::stoi(line.substr(6));
      if (line.rfind("pen ", 0) == 0) pen = line.substr(4);
      if (line.rfind("line ", 0) == 0 && current == width &&
          (pens.empty() || pens.back() != pen))
        pens.push_back(pen);
    }
    return pens;
  }
  bool HasText(const std::string& text) {
    return std::any_of(canvas.log.begin(), canvas.log.end(), [&](const std::string& l) {
      return l.rfind("text ", 0) == 0 && l.size() >= text.size() && l.compare(l.size() - text.size(), text.size(), text) == 0;
    });
  }
};

TEST(Profile, DrawsTheTracesWithLegendAxesAndTheSelection) {
  Drawn d;
  d.selection = PathOf(*d.track->Section(1)->Altitude(2));
  d.Draw();
  for (const char* text : {"Trace 0", "Trace 1", "Trace 2", "0 m"}) EXPECT_TRUE(d.HasText(text)) << text;
  const TProfileFrame& f = d.profile.Frame();
  EXPECT_TRUE(d.HasText(ExaggerationText(f.Exaggeration())));
  // The selected section's stretch is shaded from its start to its end.
  const auto shade = std::find(d.canvas.log.begin(), d.canvas.log.end(), "brush 255,236,179");
  ASSERT_NE(shade, d.canvas.log.end());
  const TSection& selected = *d.track->Section(1);
  const int x0 = static_cast<int>(f.XOf(selected.Start)), x1 = static_cast<int>(f.XOf(selected.Start + selected.Length) + 1);
  EXPECT_EQ(*std::find_if(shade, d.canvas.log.end(), [](auto& l) { return l.rfind("rect", 0) == 0; }),
            "rect " + std::to_string(x0) + "," + std::to_string(f.top) + "," + std::to_string(x1) + "," +
                std::to_string(f.bottom));
  // The selected altitude's trace alone is bold, in its own colour.
  EXPECT_EQ(d.PensAtWidth(3).back(), testing::ColorText(TraceColor(2)));
  EXPECT_TRUE(d.canvas.InRestState());

  // Slope colouring: the bold trace by its gradient, with the classes in the legend.
  d.view.SlopeColouring = true;
  d.track->Section(1)->Altitude(2)->FirstOrder = 3000000;  // a steep climb on the curve
  d.Draw();
  for (const char* name : kSlopeClassNames) EXPECT_TRUE(d.HasText(name)) << name;
  const std::vector<std::string> pens = d.PensAtWidth(3);
  EXPECT_NE(std::find(pens.begin(), pens.end(), testing::ColorText(SlopeClassColor(0))), pens.end());
  EXPECT_NE(std::find(pens.begin(), pens.end(), testing::ColorText(SlopeClassColor(3))), pens.end());
}

// CIE L*a*b* of an sRGB colour, for the difference the eye sees.
std::array<double, 3> Lab(TColor c) {
  const auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  const double r = linear(c.r), g = linear(c.g), b = linear(c.b);
  const double xyz[3] = {(0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047, 0.2126 * r + 0.7152 * g + 0.0722 * b,
                         (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883};
  double f[3];
  for (int i = 0; i < 3; ++i) f[i] = xyz[i] > 216.0 / 24389 ? std::cbrt(xyz[i]) : (24389.0 / 27 * xyz[i] + 16) / 116;
  return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

double Distance(TColor a, TColor b) {
  const auto p = Lab(a), q = Lab(b);
  return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

// Every colour a line of the profile is drawn in, with all sixteen traces and the
// slope classes on screen, stands apart from every other colour of the picture.
TEST(Profile, ARunOfSectionsIsShadedFromItsFirstStartToItsLastEnd) {
  Drawn d;
  d.selection = TObjectPath::Section(2);
  d.canvas.Clear();
  d.view.SetExtent(TrackDistances(*d.track, SectionStarts(*d.track)));
  d.profile.Draw(*d.track, d.selection, d.view, d.canvas, TSectionRun{1, 2});
  const TProfileFrame& f = d.profile.Frame();
  const TSection &first = *d.track->Section(1), &last = *d.track->Section(2);
  // To the end of the track: held at the frame's right edge.
  const int x0 = static_cast<int>(f.XOf(first.Start));
  const int x1 = std::min(static_cast<int>(f.XOf(last.Start + last.Length) + 1), f.right);
  const auto shade = std::find(d.canvas.log.begin(), d.canvas.log.end(), "brush 255,236,179");
  ASSERT_NE(shade, d.canvas.log.end());
  EXPECT_EQ(*std::find_if(shade, d.canvas.log.end(), [](auto& l) { return l.rfind("rect", 0) == 0; }),
            "rect " + std::to_string(x0) + "," + std::to_string(f.top) + "," + std::to_string(x1) + "," +
                std::to_string(f.bottom));
}

TEST(Profile, NoTwoColoursOnScreenAreCloseWithEveryTraceAndTheSlopeClasses) {
  Drawn d;
  while (d.track->NumberOfTraces() < 16) ASSERT_TRUE(edit::AddTrace(*d.track, d.track->NumberOfTraces() - 1));
  // Trace 15 climbs ever more steeply, through every slope class.
  const auto climb = [&](int s, double from, double to) {
    TAltitude& a = *d.track->Section(s)->Altitude(15);
    const double length = std::fabs(a.TraceLength());
    a.ThirdOrder = 0;
    a.SecondOrder = static_cast<int32_t>((to - from) * length / 2);
    a.FirstOrder = static_cast<int32_t>(from * length);
  };
  climb(0, 0, 0.02);
  climb(1, 0.04, 0.05);
  climb(2, 0.07, 0.12);
  d.selection = PathOf(*d.track->Section(1)->Altitude(15));
  d.view.SlopeColouring = true;
  d.Draw();
  const auto colour = [](const std::string& text) {
    int r = 0, g = 0, b = 0;
    std::sscanf(text.c_str(), "%d,%d,%d", &r, &g, &b);
    return TColor{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
  };
  // The ground, the shading, the section boundaries and black are the furniture.
  const std::vector<TColor> furniture = {{255, 255, 255}, {255, 236, 179}, {205, 205, 205}, {0, 0, 0}};
  std::vector<TColor> lines;
  for (const std::string& line : d.canvas.log) {
    if (line.rfind("pen ", 0) != 0) continue;
    const TColor c = colour(line.substr(4));
    const auto same = [&](TColor o) { return o.r == c.r && o.g == c.g && o.b == c.b; };
    if (std::none_of(furniture.begin(), furniture.end(), same) && std::none_of(lines.begin(), lines.end(), same))
      lines.push_back(c);
  }
  ASSERT_EQ(lines.size(), 20u);  // sixteen traces, four slope classes
  for (size_t i = 0; i < lines.size(); ++i) {
    for (size_t k = i + 1; k < lines.size(); ++k) EXPECT_GE(Distance(lines[i], lines[k]), kLeastColourDistance);
    for (TColor f : furniture) EXPECT_GE(Distance(lines[i], f), kLeastColourDistance);
  }
}

// The labels along the bottom stay inside the picture, the last one included.
TEST(Profile, NoAxisLabelIsCutAtTheRightEdge) {
  auto track = Hills();
  TProfileView view;
  view.SetExtent(TrackDistances(*track, SectionStarts(*track)));
  for (int width = 300; width <= 1600; width += 50) {
    RecordingCanvas canvas(width, 400);
    TProfileDrawing().Draw(*track, TObjectPath(), view, canvas);
    for (const std::string& line : canvas.Lines("text ")) {
      int x = 0, y = 0;
      char side[8] = {};
      ASSERT_EQ(std::sscanf(line.c_str(), "text %d,%d %7s", &x, &y, side), 3);
      const std::string label = line.substr(line.find(side) + std::strlen(side) + 1);
      const int w = canvas.TextWidth(label);
      const int right = std::string(side) == "center" ? x + (w + 1) / 2 : std::string(side) == "left" ? x + w : x;
      EXPECT_LE(right, width) << width << ": " << line;
    }
  }
}

// A lap's speeds lie in a band of their own under the heights, on their own
// axis, placed by section and t; a stale trace is dimmed, points of sections that
// are gone are left out, and the line breaks where the lap wraps round.
TEST(Profile, TheSpeedsLieInABandOfTheirOwnUnderTheHeights) {
  Drawn d;
  auto speeds = std::make_shared<TProfileSpeeds>();
  for (int s = 0; s < 3; ++s)
    for (double t : {0.0, 0.5}) speeds->points.push_back({s, t, 10.0 * (s + 1) + 10 * t});
  speeds->points.push_back({7, 0.5, 99});  // a section since removed
  speeds->points.push_back({0, 0.25, 12});  // round again: not joined to the last
  d.profile.ShowSpeeds(speeds);
  d.Draw();
  const TProfileFrame heights = d.profile.Frame(), band = d.profile.SpeedFrame();
  ASSERT_GT(band.Height(), 20);
  EXPECT_GT(band.top, heights.bottom);
  EXPECT_EQ(band.bottom, 400 - (6 + d.canvas.TextHeight() + 6 + d.canvas.TextHeight() + 6));
  EXPECT_DOUBLE_EQ(band.high, 35 * 1.05);  // the fastest there is, and a little room
  EXPECT_TRUE(d.HasText("Speed (km/h)"));
  EXPECT_TRUE(d.HasText(" 0 km/h"));
  EXPECT_TRUE(d.HasText(" 100 km/h"));
  // The distances are labelled under the band.
  for (const std::string& line : d.canvas.Lines("text ")) {
    if (line.size() > 4 && line.compare(line.size() - 4, 4, " 0 m") == 0 && line.find("right") == std::string::npos) {
      EXPECT_GT(std::stoi(line.substr(line.find(',') + 1)), band.bottom) << line;
    }
  }

  // Section 1 halfway at 25 m/s: a line reaches its point, in the speeds' pen.
  const TSection& one = *d.track->Section(1);
  const int x = static_cast<int>(std::floor(band.XOf(one.Start + 0.5 * one.Length)));
  const int y = static_cast<int>(std::lround(band.YOf(25)));
  const std::string at = "line " + std::to_string(x) + "," + std::to_string(y);
  const auto reached = std::find(d.canvas.log.begin(), d.canvas.log.end(), at);
  ASSERT_NE(reached, d.canvas.log.end());
  EXPECT_EQ(d.PensAtWidth(2).back(), testing::ColorText({30, 30, 30}));
  // Round again the line starts afresh at the start of section 0.
  const int x0 = static_cast<int>(std::floor(band.XOf(0.25 * d.track->Section(0)->Length)));
  const std::string again = "move " + std::to_string(x0) + "," + std::to_string(static_cast<int>(std::lround(band.YOf(12))));
  EXPECT_NE(std::find(reached, d.canvas.log.end(), again), d.canvas.log.end());
  EXPECT_TRUE(d.canvas.InRestState());

  // The speeds of a track changed since are dimmed, and drawn whole with any change.
  auto stale = std::make_shared<TProfileSpeeds>(*speeds);
  stale->stale = true;
  d.profile.ShowSpeeds(stale);
  d.Draw();
  EXPECT_TRUE(d.HasText("Speed (km/h), before the change"));
  const std::vector<std::string> thin = d.PensAtWidth(1);
  EXPECT_NE(std::find(thin.begin(), thin.end(), testing::ColorText({185, 185, 185})), thin.end());
  EXPECT_TRUE(d.PensAtWidth(2).empty());
  EXPECT_FALSE(d.profile.DrawSpan(*d.track, d.selection, d.view, d.canvas, 0, 10));
  // None: the heights have the plot to themselves again.
  d.profile.ShowSpeeds(nullptr);
  d.Draw();
  EXPECT_EQ(d.profile.SpeedFrame().Height(), 0);
  EXPECT_EQ(d.profile.Frame().bottom, band.bottom);
}

TEST(Profile, AClickPicksTheSectionUnderThePointerAndTheNearestTrace) {
  Drawn d;
  d.Draw();
  const TProfileFrame& f = d.profile.Frame();
  const TSection& curve = *d.track->Section(1);
  const double middle = curve.Start + curve.Length / 2.0;
  const int x = static_cast<int>(f.XOf(middle));
  const double t = (f.DistanceAt(x + 0.5) - curve.Start) / curve.Length;
  for (int j = 0; j < 3; ++j) {
    const int y = static_cast<int>(std::lround(f.YOf(curve.Altitude(j)->HeightAt(t) * kM))) + 2;
    EXPECT_EQ(d.profile.HitTest(*d.track, x, y), (TProfileHit{1, j}));
  }
  EXPECT_EQ(d.profile.HitTest(*d.track, static_cast<int>(f.XOf(10)), f.top + 1).section, 0);
  EXPECT_EQ(d.profile.HitTest(*d.track, f.left - 1, f.top + 1), TProfileHit{});
}

TEST(Profile, TheViewZoomsAboutAPointAndStaysOnTheTrack) {
  TProfileView view;
  view.SetExtent({0, 1000 * kUnitsPerMeter});
  ASSERT_TRUE(view.Fitted());
  const double at = view.First() + 0.25 * (view.Last() - view.First());
  ASSERT_TRUE(view.ZoomAbout(0.25, true));
  EXPECT_DOUBLE_EQ(view.First() + 0.25 * (view.Last() - view.First()), at);
  EXPECT_DOUBLE_EQ(view.Last() - view.First(), 500 * kUnitsPerMeter);
  view.PanBy(-1e6, 100);  // far past the start: stops there
  EXPECT_EQ(view.First(), 0);
  while (view.ZoomAbout(0.5, true)) {
  }
  EXPECT_GE(view.Last() - view.First(), kUnitsPerMeter);  // no closer than a metre
  EXPECT_LT(view.Last() - view.First(), 2 * kUnitsPerMeter);
  // A longer track keeps the zoomed span; zooming out ends at the whole track.
  view.SetExtent({0, 2000 * kUnitsPerMeter});
  EXPECT_LT(view.Last() - view.First(), 2 * kUnitsPerMeter);
  while (view.ZoomAbout(0.5, false)) {
  }
  EXPECT_TRUE(view.Fitted());
  EXPECT_EQ(view.Last(), 2000 * kUnitsPerMeter);
}

}  // namespace
}  // namespace meridal
