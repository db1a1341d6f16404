// An arc on the plan strays less than half a pixel from its chords at any zoom
// the chord budget covers, and keeps its ten chords where that is enough.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/scale_draw.h"
#include "graphics/section_paths.h"
#include "support/fake_draw_window.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

// How far the middle of a chord over `angle` lies from an arc of radius r.
double Sagitta(double r, double angle) { return r * (1 - std::cos(angle / 2)); }

TEST(ArcChords, HalfAPixelAtMostWithTheFewestChords) {
  const double quarter = 2 * std::asin(1.0) / 2;
  for (double r : {1.0, 50.0, 300.0, 2000.0, 20000.0, 90000.0}) {
    for (double swept : {quarter, -quarter, 4 * quarter}) {
      const int n = CurvedPaths::ChordsFor(r, swept);
      if (n == PixelPath::kMaxChords) continue;  // beyond the budget
      EXPECT_LE(Sagitta(r, std::fabs(swept) / n), 0.5) << r << " " << swept;
      // One chord fewer would not do, unless the least count already does.
      if (n > CurvedPaths::kMinChords) EXPECT_GT(Sagitta(r, std::fabs(swept) / (n - 1)), 0.5) << r;
    }
  }
  EXPECT_EQ(CurvedPaths::ChordsFor(1e9, 1.0), PixelPath::kMaxChords);
  EXPECT_EQ(CurvedPaths::ChordsFor(std::nan(""), 1.0), CurvedPaths::kMinChords);
}

TEST(ArcChords, TheLinesOfAZoomedArcFollowTheBudget) {
  const auto track = testing::Stadium();
  const auto& bend = static_cast<const TCurvedSection&>(*track->Section(1));
  testing::FakeDrawWindow window(800, 600);
  TScaleDraw view(window, track->Extent, 600);
  PixelPath line, outline;
  ASSERT_TRUE(view.SetZoom(1.0 / 64));
  CurvedPaths far(bend, view);
  EXPECT_EQ(far.Chords(), CurvedPaths::kMinChords);
  far.ZeroLine(line);
  EXPECT_EQ(line.size(), CurvedPaths::kMinChords + 1);

  ASSERT_TRUE(view.SetZoom(64));
  CurvedPaths zoomed(bend, view);
  EXPECT_GT(zoomed.Chords(), CurvedPaths::kMinChords);
  zoomed.ZeroLine(line);
  EXPECT_EQ(line.size(), zoomed.Chords() + 1);
  zoomed.Outline(0, bend.NumberOfWalls() - 1, outline);
  EXPECT_EQ(outline.size(), 2 * (zoomed.Chords() + 1) + 1);
  // Every point lies on the zero line's arc, to the pixel the drawing truncates to.
  const double r = std::fabs(bend.Radius) * view.PixelsPerUnit();
  const double cx = view.ToWindowX(bend.CurveCenterX()), cy = view.ToWindowY(bend.CurveCenterY());
  for (int k = 0; k < line.size(); ++k)
    EXPECT_NEAR(std::hypot(line[k].x - cx, line[k].y - cy), r, 2.0) << k;
}

}  // namespace
}  // namespace meridal
