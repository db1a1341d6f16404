#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "graphics/scale_draw.h"
#include "graphics/section_painter.h"
#include "graphics/track_painter.h"
#include "graphics/view_flags.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"
#include "support/fake_draw_window.h"

namespace meridal {
namespace {

using testing::FakeDrawWindow;
using testing::RecordingCanvas;
using Log = std::vector<std::string>;

const TColor kGrey{128, 128, 128, true};
const TColor kYellow{255, 255, 0};

// The default track (one 50 m straight from (0, 0) along +X, walls and traces at
// -5 m and +5 m) at 1/2000 pixel per unit with (-100000, 300000) at the window's
// top-left corner: x = 0 is pixel 50, x = 984252 pixel 542; y = 98425 is pixel
// 100, y = 0 pixel 150, y = -98425 pixel 199.
struct StraightScene {
  TTrack track;
  FakeDrawWindow window{700, 400};
  TScaleDraw view{window, TRect{-100000, 300000, 1100000, -300000}, 600};
  StraightScene() { track.SetDefaults(); }
  TSection& section() { return *track.Section(0); }
  RecordingCanvas& canvas() { return window.canvas; }
};

TEST(StraightDrawingTest, FullViewDrawsStripOutlineTracesZeroLineAndMarker) {
  TObjectPath selection;  // nothing highlighted
  StraightScene s;
  TTrackPainter(s.track).Draw(s.view, kViewAll, selection);
  const Log expected = {
      // Strip 0 (wall 0, Tarmac): A_0, B_0 + D, B_1 + D, A_1.
      "style solid", "brush 128,128,128 pal", "pen 0,0,0", "polygon 50,199 542,199 542,100 50,100",
      "brush 255,255,255", "style solid", "pen 0,0,0", "width 1",
      // Outline: A_0, A_1, B_1 + D, B_0 + D, A_0.
      "move 50,199", "line 50,100", "line 542,100", "line 542,199", "line 50,199",
      // Traces, then the line across the start from trace 0 to the last trace.
      "pen 0,0,255", "move 50,199", "line 542,199", "move 50,100", "line 542,100", "move 50,199", "line 50,100",
      "pen 255,255,255", "move 50,150", "line 542,150", "pen 0,0,0",
      // Start/finish: leftmost wall, 10 m right of wall 0, the tip 10 m along, wall 0.
      "pen 255,0,0", "width 5", "move 50,100", "line 50,297", "line 148,248", "line 50,199", "pen 0,0,0", "width 1"};
  EXPECT_EQ(s.canvas().log, expected);
  EXPECT_TRUE(s.canvas().InRestState());
}

TEST(StraightDrawingTest, ViewFlagsZeroDrawsOnlyFillsOutlinesAndTheHighlight) {
  TObjectPath selection;  // nothing highlighted
  StraightScene s;
  s.section().Wall(0)->Height = 7;
  s.section().Wall(0)->Unk1 = 9;
  selection = PathOf(s.section());
  TTrackPainter(s.track).Draw(s.view, 0, selection);
  const Log expected = {
      // The strip's edges in its own colour, no hatches.
      "style solid", "brush 128,128,128 pal", "pen 128,128,128 pal", "polygon 50,199 542,199 542,100 50,100",
      "brush 255,255,255", "style solid", "pen 0,0,0", "width 1",
      "move 50,199", "line 50,100", "line 542,100", "line 542,199", "line 50,199", "pen 0,0,0",
      // The highlight of the selected section.
      "pen 255,0,0", "width 3", "move 50,199", "line 50,100", "line 542,100", "line 542,199", "line 50,199",
      "pen 0,0,0", "width 1"};
  EXPECT_EQ(s.canvas().log, expected);
  EXPECT_TRUE(s.canvas().InRestState());
}

TEST(StraightDrawingTest, HatchesFlagSurfaceHeightAndUnk1) {
  StraightScene s;
  TWall& wall = *s.section().Wall(0);
  wall.Surface = 2049;  // Tarmac with the extra marking
  wall.Height = 1;
  wall.Unk1 = -1;
  TSectionPainter(s.section(), s.view).Draw(kViewWallOutline | kViewShowNonZeroHeight | kViewShowNonZeroUnk1);
  const auto& polygons = s.canvas().polygons;
  ASSERT_EQ(polygons.size(), 4u);
  EXPECT_EQ(polygons[0].brush, kGrey);
  EXPECT_EQ(polygons[0].style, BrushStyle::Solid);
  EXPECT_EQ(polygons[1].brush, kYellow);
  EXPECT_EQ(polygons[1].style, BrushStyle::Cross);
  EXPECT_EQ((polygons[2].brush), (TColor{255, 0, 0}));
  EXPECT_EQ(polygons[2].style, BrushStyle::BDiagonal);
  EXPECT_EQ((polygons[3].brush), (TColor{0, 255, 0}));
  EXPECT_EQ(polygons[3].style, BrushStyle::FDiagonal);
  for (const auto& p : polygons) {
    EXPECT_EQ(p.points, polygons[0].points);
    EXPECT_EQ(p.pen, (TColor{0, 0, 0}));  // wall outline on: black edges
    EXPECT_EQ(p.penWidth, 1);
  }
  EXPECT_TRUE(s.canvas().InRestState());

  // Without the outline option the hatches' edges take the strip's colour; without
  // the two hatch options only the flag's cross hatch remains.
  s.canvas().Clear();
  TSectionPainter(s.section(), s.view).Draw(0);
  ASSERT_EQ(s.canvas().polygons.size(), 2u);
  EXPECT_EQ(s.canvas().polygons[1].style, BrushStyle::Cross);
  EXPECT_EQ(s.canvas().polygons[1].pen, kGrey);

  // 2048 itself carries the marking: code 0, yellow, under the cross hatch.
  s.canvas().Clear();
  wall.Surface = 2048;
  TSectionPainter(s.section(), s.view).Draw(0);
  ASSERT_EQ(s.canvas().polygons.size(), 2u);
  EXPECT_EQ(s.canvas().polygons[0].brush, kYellow);
  EXPECT_EQ(s.canvas().polygons[1].style, BrushStyle::Cross);
}

TEST(StraightDrawingTest, TheLastWallBeginsNoStripAndNoHatch) {
  StraightScene s;
  TWall& last = *s.section().Wall(1);
  last.Surface = 2052;
  last.Height = 5;
  last.Unk1 = 5;
  TSectionPainter(s.section(), s.view).Draw(kViewAll);
  ASSERT_EQ(s.canvas().polygons.size(), 1u);
  EXPECT_EQ(s.canvas().polygons[0].brush, kGrey);
  EXPECT_EQ(s.canvas().polygons[0].style, BrushStyle::Solid);
}

TEST(StraightDrawingTest, ASectionInsideOnePixelIsThatPixelInItsLastColour) {
  // The default section and its box at about 1/3,300,000 pixel per unit, placed
  // so that the whole box lands on pixel (300, 300).
  TTrack track;
  track.SetDefaults();
  FakeDrawWindow window{700, 400};
  TScaleDraw view{window, TRect{-1000430000, 1000530000, 1000000000, -1000000000}, 600};
  const TRect& box = track.Section(0)->Extent;
  ASSERT_EQ((Log{std::to_string(view.ToWindowX(box.left)), std::to_string(view.ToWindowX(box.right)),
                 std::to_string(view.ToWindowY(box.top)), std::to_string(view.ToWindowY(box.bottom))}),
            (Log{"300", "300", "300", "300"}));
  TSectionPainter(*track.Section(0), view).Draw(kViewAll);
  // The zero line is drawn last, so the pixel ends up white.
  EXPECT_EQ(window.canvas.log, (Log{"pen 255,255,255", "move 300,300", "line 300,300", "pen 0,0,0"}));
  window.canvas.Clear();
  TSectionPainter(*track.Section(0), view).Draw(kViewWallOutline);  // the outline is drawn last
  EXPECT_EQ(window.canvas.log, (Log{"move 300,300", "line 300,300", "line 300,300", "line 300,300",
                                     "line 300,300", "pen 0,0,0"}));
  EXPECT_TRUE(window.canvas.InRestState());

  // In full, it is drawn part by part as ever.
  window.canvas.Clear();
  view.SetLevelOfDetail(false);
  TSectionPainter(*track.Section(0), view).Draw(kViewAll);
  EXPECT_EQ(window.canvas.polygons.size(), 1u);
  EXPECT_EQ(window.canvas.log.back(), "pen 0,0,0");
  EXPECT_EQ(window.canvas.log[window.canvas.log.size() - 4], "pen 255,255,255");
}

TEST(SurfaceColorTest, CodesAndTheirColours) {
  TTrack track;
  track.SetDefaults();
  TWall& wall = *track.Section(0)->Wall(0);
  struct Case {
    int32_t surface;
    TColor color;
  };
  const Case cases[] = {
      {1, {128, 128, 128, true}}, {2, {170, 170, 170, true}}, {3, {212, 212, 212, true}},
      {4, {0, 128, 0}},           {5, {114, 109, 64, true}},  {6, {212, 200, 128, true}},
      {7, {128, 128, 0}},         {0, kYellow},               {8, kYellow},
      {10, kYellow},              {-1, kYellow},              {2048, kYellow},
      {2049, kGrey},              {2052, {0, 128, 0}},        {2058, kYellow},
      {4100, kYellow},            {-2147483647 - 1, kYellow}, {2047, kYellow},
  };
  for (const Case& c : cases) {
    wall.Surface = c.surface;
    EXPECT_EQ(SurfaceColor(wall), c.color) << c.surface;
  }
}

TEST(StraightDrawingTest, AnOffWindowSectionDrawsNothingButTheMarkerStillDraws) {
  TObjectPath selection;  // nothing highlighted
  TTrack track;
  track.SetDefaults();
  selection = PathOf(*track.Section(0));
  FakeDrawWindow window(700, 400);
  // The world from x = 2000000 on: the section lies left of the window.
  TScaleDraw view(window, TRect{2000000, 300000, 3200000, -300000}, 600);
  TTrackPainter(track).Draw(view, kViewAll, selection);
  const Log expected = {"pen 255,0,0", "width 5", "move -1000,100", "line -1000,297", "line -901,248",
                        "line -1000,199", "pen 0,0,0", "width 1"};
  EXPECT_EQ(window.canvas.log, expected);
  window.canvas.Clear();
  TTrackPainter(track).DrawSelection(view, selection);
  EXPECT_TRUE(window.canvas.log.empty());
}

TEST(StraightDrawingTest, SelectionHighlightsWallStripsAndTraces) {
  TObjectPath selection;  // nothing highlighted
  StraightScene s;
  // Wall 0: its strip, walls 0 and 1; trace 1 in cyan on top.
  TSectionPainter(s.section(), s.view).DrawSelection(0, 1);
  const Log strip = {"pen 255,0,0", "width 3", "move 50,199", "line 50,100", "line 542,100", "line 542,199",
                     "line 50,199", "pen 255,127,0", "move 50,199", "line 50,100", "line 542,100",
                     "line 542,199", "line 50,199", "pen 0,255,255", "width 1", "move 50,100", "line 542,100",
                     "pen 0,0,0", "width 1"};
  EXPECT_EQ(s.canvas().log, strip);

  // The last wall: the orange path runs along that wall's own line.
  s.canvas().Clear();
  selection = PathOf(*s.section().Wall(1));
  TTrackPainter(s.track).DrawSelection(s.view, selection);
  const Log last = {"pen 255,0,0", "width 3", "move 50,199", "line 50,100", "line 542,100", "line 542,199",
                    "line 50,199", "pen 255,127,0", "move 50,100", "line 50,100", "line 542,100",
                    "line 542,100", "line 50,100", "pen 0,0,0", "width 1"};
  EXPECT_EQ(s.canvas().log, last);

  // Nothing selected: nothing drawn.
  s.canvas().Clear();
  selection = TObjectPath::Track();
  TTrackPainter(s.track).DrawSelection(s.view, selection);
  EXPECT_TRUE(s.canvas().log.empty());
}

// ---- arcs ----

// A quarter circle of radius 1000000 starting at (0, 0) heading +X, turning left
// (sign 1, centre (0, 1000000)) or right (sign -1, centre (0, -1000000)), with
// the default track's traces and walls at -98425 and +98425.
TCurvedSection* MakeQuarterArc(TTrack& track, int sign) {
  track.SetDefaults();
  auto arc = std::make_unique<TCurvedSection>(&track);
  arc->Number = 0;
  arc->Length = 1570796;
  arc->Orientation = 0;
  arc->CurveCenterX() = 0;
  arc->CurveCenterY() = sign * 1000000;
  arc->Curvature() = sign * 536870912;  // 90 degrees
  arc->RecomputeExportWords();
  for (int i = 0; i < 2; ++i) {
    auto altitude = std::make_unique<TAltitude>(arc.get());
    altitude->Number = i;
    altitude->X = sign * 1000000 - track.Traces[static_cast<size_t>(i)];
    arc->Altitudes.push_back(std::move(altitude));
  }
  for (int k = 0; k < 2; ++k) {
    auto wall = std::make_unique<TWall>(arc.get());
    wall->Number = k;
    wall->From = wall->To = k == 0 ? -98425 : 98425;
    wall->Surface = k == 0 ? 1 : 10;
    arc->Walls.push_back(std::move(wall));
  }
  arc->RecomputeDerived();
  TCurvedSection* raw = arc.get();
  track.Sections[0] = std::move(arc);
  track.RecomputeStarts();
  track.UpdateExtent();
  return raw;
}

// 1/4096 pixel per unit with the world point (-200000, top) at the top-left corner.
TRect ArcBounds(int32_t top) { return TRect{-200000, top, 2257600, top - 1500000}; }

TEST(CurvedDrawingTest, FullViewDrawsTenChordsPerLine) {
  TObjectPath selection;  // nothing highlighted
  TTrack track;
  TCurvedSection* arc = MakeQuarterArc(track, 1);
  ASSERT_EQ(arc->Radius, 1000000.0);
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, ArcBounds(1300000), 600);
  TTrackPainter(track).Draw(view, kViewAll, selection);
  const Log expected = {
      "style solid", "brush 128,128,128 pal", "pen 0,0,0",
      // Wall 0's eleven points from the start, then wall 1's from the end back.
      "polygon 48,341 90,338 131,328 170,312 206,290 238,262 265,230 287,194 303,156 313,115 316,73 "
      "268,73 266,107 258,141 244,173 226,202 204,228 178,251 148,269 116,282 83,290 48,293",
      "brush 255,255,255", "style solid", "pen 0,0,0", "width 1",
      // The outline: along wall 0, across the end, back along the last wall, across the start.
      "move 48,341", "line 90,338", "line 131,328", "line 170,312", "line 206,290", "line 238,262",
      "line 265,230", "line 287,194", "line 303,156", "line 313,115", "line 316,73", "line 268,73",
      "line 266,107", "line 258,141", "line 244,173", "line 226,202", "line 204,228", "line 178,251",
      "line 148,269", "line 116,282", "line 83,290", "line 48,293", "line 48,341",
      "pen 0,0,255",
      "move 48,341", "line 90,338", "line 131,328", "line 170,312", "line 206,290", "line 238,262",
      "line 265,230", "line 287,194", "line 303,156", "line 313,115", "line 316,73",
      "move 48,293", "line 83,290", "line 116,282", "line 148,269", "line 178,251", "line 204,228",
      "line 226,202", "line 244,173", "line 258,141", "line 266,107", "line 268,73",
      "move 48,341", "line 48,293",
      "pen 255,255,255",
      "move 48,317", "line 87,314", "line 124,305", "line 159,290", "line 192,270", "line 221,245",
      "line 246,216", "line 266,184", "line 281,148", "line 289,111", "line 292,73",
      "pen 0,0,0",
      // The marker: 10 m right of wall 0 on the start line, the tip 10 m along.
      "pen 255,0,0", "width 5", "move 48,293", "line 48,389", "line 105,359", "line 48,341", "pen 0,0,0",
      "width 1"};
  EXPECT_EQ(window.canvas.log, expected);
  EXPECT_TRUE(window.canvas.InRestState());
}

// The angle, seen from the centre pixel, of each chord of the zero line.
std::vector<double> ChordAngles(const RecordingCanvas& canvas, double cx, double cy) {
  // The zero line follows the white pen.
  const Log& log = canvas.log;
  size_t i = 0;
  while (i < log.size() && log[i] != "pen 255,255,255") ++i;
  std::vector<std::pair<double, double>> points;
  for (++i; i < log.size() && (log[i].rfind("move", 0) == 0 || log[i].rfind("line", 0) == 0); ++i) {
    const std::string xy = log[i].substr(5);
    const size_t comma = xy.find(',');
    points.emplace_back(std::stod(xy.substr(0, comma)), std::stod(xy.substr(comma + 1)));
  }
  std::vector<double> angles;
  for (size_t k = 1; k < points.size(); ++k) {
    const double a = std::atan2(points[k - 1].second - cy, points[k - 1].first - cx);
    const double b = std::atan2(points[k].second - cy, points[k].first - cx);
    angles.push_back(std::fabs(b - a) * 180.0 / Pi);
  }
  return angles;
}

TEST(CurvedDrawingTest, AQuarterCircleIsTenChordsOfNineDegreesAtEveryZoom) {
  TTrack track;
  MakeQuarterArc(track, 1);
  FakeDrawWindow window(2000, 2000);
  TScaleDraw view(window, TRect{-1100000, 2100000, 1100000, -100000}, 600);
  for (int zoom = 0; zoom < 4; ++zoom) {
    view.CenterOn(0, 1000000);  // the centre of the arc
    view.OriginFromScroll();
    window.canvas.Clear();
    TSectionPainter(*track.Section(0), view).Draw(kViewZeroLine);
    const auto angles = ChordAngles(window.canvas, view.ToWindowX(0), view.ToWindowY(1000000));
    ASSERT_EQ(angles.size(), 10u) << "zoom " << view.Zoom();
    for (double a : angles) EXPECT_NEAR(a, 9.0, 1.0) << "zoom " << view.Zoom();
    ASSERT_TRUE(view.ZoomIn());
  }
}

TEST(CurvedDrawingTest, ARightHandCurveLiesOnTheRight) {
  TObjectPath selection;  // nothing highlighted
  TTrack track;
  TCurvedSection* arc = MakeQuarterArc(track, -1);
  ASSERT_EQ(arc->Radius, -1000000.0);
  FakeDrawWindow window(700, 400);
  // The same scale, the top at y = 200000: the start (0, 0) is pixel (48, 48).
  TScaleDraw view(window, ArcBounds(200000), 600);
  TTrackPainter(track).Draw(view, kViewAll, selection);
  const RecordingCanvas& canvas = window.canvas;
  // The zero line bends down the screen, to the right of the heading +X, ending
  // at (1000000, -1000000); the strip mirrors the left-hand curve's.
  const Log zero = {"move 48,48",    "line 87,51",   "line 124,60",  "line 159,75",
                    "line 192,95",   "line 221,120", "line 246,149", "line 266,182",
                    "line 281,217",  "line 289,254", "line 292,292"};
  const auto white = std::find(canvas.log.begin(), canvas.log.end(), "pen 255,255,255");
  ASSERT_NE(white, canvas.log.end());
  EXPECT_EQ(Log(white + 1, white + 12), zero);
  ASSERT_EQ(canvas.polygons.size(), 1u);
  EXPECT_EQ(canvas.log[3],
            "polygon 48,72 83,75 116,83 148,96 178,114 204,137 226,163 244,193 258,224 266,258 268,292 "
            "316,292 313,251 303,210 287,171 265,135 238,103 206,76 170,54 131,37 90,28 48,24");
  // The marker's triangle lies right of wall 0, below the track on the screen.
  const Log marker = {"pen 255,0,0", "width 5", "move 48,24", "line 48,120", "line 87,100", "line 48,72",
                      "pen 0,0,0",   "width 1"};
  EXPECT_EQ(Log(canvas.log.end() - 8, canvas.log.end()), marker);
}

// ---- several sections ----

// `count` default straights laid end to end along +X.
void StraightRow(TTrack& track, int count) {
  track.SetDefaults();
  for (int i = 1; i < count; ++i) {
    auto copy = std::make_unique<TStraightSection>(&track, static_cast<TStraightSection&>(*track.Section(0)));
    copy->Number = i;
    copy->SetStart(i * 984252.0, 0);
    track.Sections.push_back(std::move(copy));
  }
  track.RecomputeRecordIndices();
  track.RecomputeStarts();
  track.UpdateExtent();
}

// The index of every section whose strip was drawn, by the strip's first point.
std::vector<int32_t> StripStarts(const RecordingCanvas& canvas) {
  std::vector<int32_t> xs;
  for (const auto& p : canvas.polygons) xs.push_back(p.points[0].x);
  return xs;
}

TEST(TrackDrawingTest, SelectionChangeErasesTheOldBoxAndRedrawsOnlyItsNeighbours) {
  TObjectPath selection;  // nothing highlighted
  TTrack track;
  StraightRow(track, 5);
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, track.Extent, 600);
  selection = PathOf(*track.Section(2));
  const TRect box = track.Section(2)->Extent;

  TTrackPainter(track).EraseSelection(view, kViewAll, selection);
  const RecordingCanvas& canvas = window.canvas;
  ASSERT_GE(canvas.log.size(), 4u);
  const Log blank = {"brush 255,255,255", "style solid", "pen 255,255,255",
                     "rect " + std::to_string(view.ToWindowX(box.left)) + "," +
                         std::to_string(view.ToWindowY(box.top)) + "," + std::to_string(view.ToWindowX(box.right)) +
                         "," + std::to_string(view.ToWindowY(box.bottom)),
                     "pen 0,0,0"};
  EXPECT_EQ(Log(canvas.log.begin(), canvas.log.begin() + 5), blank);
  // Sections 1, 2 and 3 overlap the blanked box; 0 and 4 are left alone.
  const std::vector<int32_t> redrawn = StripStarts(canvas);
  ASSERT_EQ(redrawn.size(), 3u);
  EXPECT_EQ(redrawn[0], view.ToWindowX(984252));
  EXPECT_EQ(redrawn[1], view.ToWindowX(2 * 984252));
  EXPECT_EQ(redrawn[2], view.ToWindowX(3 * 984252));
  // Then the start/finish marker, and no highlight.
  EXPECT_EQ(canvas.Lines("width 5").size(), 1u);
  EXPECT_TRUE(canvas.Lines("width 3").empty());
  EXPECT_EQ(Log(canvas.log.end() - 8, canvas.log.end() - 6), (Log{"pen 255,0,0", "width 5"}));
  EXPECT_TRUE(canvas.InRestState());

  // Without the S/F option, no marker; with nothing selected, nothing at all.
  window.canvas.Clear();
  TTrackPainter(track).EraseSelection(view, 0, selection);
  EXPECT_TRUE(canvas.Lines("width 5").empty());
  window.canvas.Clear();
  selection = TObjectPath::Track();
  TTrackPainter(track).EraseSelection(view, kViewAll, selection);
  EXPECT_TRUE(canvas.log.empty());
}

TEST(TrackDrawingTest, ATraceHighlightStaysWithinItsSection) {
  TObjectPath selection;  // nothing highlighted
  TTrack track;
  StraightRow(track, 5);
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, track.Extent, 600);
  selection = PathOf(*track.Section(3)->Altitude(1));
  TTrackPainter(track).DrawSelection(view, selection);
  const Log& log = window.canvas.log;
  const auto cyan = std::find(log.begin(), log.end(), "pen 0,255,255");
  ASSERT_NE(cyan, log.end());
  // After the red outline of section 3 comes its trace 1, from its start to its end.
  const int32_t y = view.ToWindowY(98425);
  const Log trace = {"pen 0,255,255", "width 1",
                     "move " + std::to_string(view.ToWindowX(3 * 984252)) + "," + std::to_string(y),
                     "line " + std::to_string(view.ToWindowX(4 * 984252)) + "," + std::to_string(y), "pen 0,0,0",
                     "width 1"};
  EXPECT_EQ(Log(cyan, log.end()), trace);
  EXPECT_EQ(log[0], "pen 255,0,0");
  EXPECT_EQ(log[2], "move " + std::to_string(view.ToWindowX(3 * 984252)) + "," + std::to_string(view.ToWindowY(-98425)));
}

TEST(TrackDrawingTest, DegenerateSectionsDrawWithoutFault) {
  TObjectPath selection;  // nothing highlighted
  // A wall list that a file could leave short, an arc of radius 0.
  TTrack track;
  StraightRow(track, 2);
  track.Section(1)->Walls.resize(1);
  FakeDrawWindow window(700, 400);
  TScaleDraw view(window, track.Extent, 600);
  selection = PathOf(*track.Section(1)->Wall(0));
  TTrackPainter(track).Draw(view, kViewAll, selection);
  EXPECT_TRUE(window.canvas.InRestState());
  EXPECT_EQ(window.canvas.polygons.size(), 1u);  // only section 0 has a strip
  track.Section(1)->Walls.clear();
  TTrackPainter(track).Draw(view, kViewAll, selection);
  EXPECT_TRUE(window.canvas.InRestState());

  TTrack round;
  TCurvedSection* arc = MakeQuarterArc(round, 1);
  arc->Radius = 0;
  arc->RecomputeAllWallPoints();
  window.canvas.Clear();
  TSectionPainter(*arc, view).DrawStartFinish();
  TSectionPainter(*arc, view).Draw(kViewAll);
  EXPECT_TRUE(window.canvas.InRestState());
}

}  // namespace
}  // namespace meridal
