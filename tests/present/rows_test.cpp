// The property rows of every kind of object, text for text.
#include <gtest/gtest.h>

#include "present/property_rows.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "present/format.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::ConvertToCurve;
using testing::DefaultTrack;

const std::string kDeg = "\u00B0";

PropertyRow Row(std::string caption, int image, std::vector<std::string> items) {
  return PropertyRow{std::move(caption), std::move(items), image};
}

TEST(Meanings, LengthsAnglesAndCurvatures) {
  EXPECT_EQ(LengthMeaning(0), "");
  EXPECT_EQ(LengthMeaning(1), "0.0508 mm");
  EXPECT_EQ(LengthMeaning(19685), "999.998 mm");
  EXPECT_EQ(LengthMeaning(19686), "1.0000488 m");
  EXPECT_EQ(LengthMeaning(984252), "50.000002 m");
  EXPECT_EQ(LengthMeaning(-98425), "-4.99999 m");
  EXPECT_EQ(LengthMeaning(-2147483647 - 1), "-109092.17 m");
  EXPECT_EQ(AngleMeaning(1073741824), "90 " + kDeg);
  EXPECT_EQ(AngleMeaning(-2147483647 - 1), "-180 " + kDeg);
  EXPECT_EQ(AngleMeaning(2147483647), "180 " + kDeg);
  EXPECT_EQ(CurvatureMeaning(1073741824), "180 " + kDeg);
  EXPECT_EQ(CurvatureMeaning(-2147483647 - 1), "-360 " + kDeg);
}

TEST(Rows, TrackListsItsLengthsCountsAndTraces) {
  auto track = DefaultTrack();
  RowList rows{Row("stale", 0, {})};
  FillProperties(*track, rows);
  const RowList expected = {
      Row("Length", 1, {"984252", "50.000002 m"}),
      Row("Sum of Section Lengths", 6, {"984252", "50.000002 m"}),
      Row("Number of Sections", 0, {"1"}),
      Row("Number of Traces", 0, {"2"}),
      Row("Trace 0", 1, {"-98425", "-4.99999 m", "yes"}),
      Row("Trace 1", 1, {"98425", "4.99999 m", "yes"}),
  };
  EXPECT_EQ(rows, expected);
  EXPECT_FALSE(rows[0].Editable());
  EXPECT_TRUE(rows[4].Editable());
}

TEST(Rows, StraightSection) {
  auto track = DefaultTrack();
  RowList rows;
  FillProperties(*track->Section(0), rows);
  const RowList expected = {
      Row("Type", 0, {"1", "straight"}),
      Row("Start", 1, {"0", ""}),
      Row("Length", 1, {"984252", "50.000002 m", "yes"}),
      Row("Orientation", 3, {"0", "0 " + kDeg, "yes"}),
      Row("Orientation mismatch", 6, {"0", "0 " + kDeg, "yes"}),
      Row("Longitudinal gap", 6, {"-984252", "-50.000002 m", "yes"}),
      Row("Lateral gap", 6, {"0", "", "yes"}),
  };
  EXPECT_EQ(rows, expected);
}

TEST(Rows, CurvedSection) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  RowList rows;
  FillProperties(*c, rows);
  const RowList expected = {
      Row("Type", 0, {"2", "curved"}),
      Row("Start", 1, {"0", ""}),
      Row("Length", 1, {"984252", "50.000002 m", "yes"}),
      Row("Orientation", 3, {"0", "0 " + kDeg, "yes"}),
      Row("CurveCenterX", 2, {"0", ""}),
      Row("CurveCenterY", 2, {"2819674", "143.23944 m"}),
      Row("Curvature", 3, {"119304647", "20 " + kDeg, "yes"}),
      Row("Radius", 6, {"2819674", "143.23944 m", "yes"}),
      // A one-section track is compared with its own end, 20 degrees further on.
      Row("Orientation mismatch", 6, {"-238609294", "-20 " + kDeg, "yes"}),
      Row("Longitudinal gap", 6, {"-964385", "-48.990758 m", "yes"}),
      Row("Lateral gap", 6, {"-170047", "-8.6383876 m", "yes"}),
  };
  EXPECT_EQ(rows, expected);
}

TEST(Rows, WallShowsSurfaceNamesAndWidths) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  RowList rows;
  FillProperties(*s->Wall(0), rows);
  const RowList expected = {
      Row("From", 1, {"-98425", "-4.99999 m", "yes"}),
      Row("To", 1, {"-98425", "-4.99999 m", "yes"}),
      Row("Surface", 0, {"1", "Tarmac", "yes"}),
      Row("Height", 1, {"0", "", "yes"}),
      Row("Unk1", 5, {"0", "", "yes"}),
      Row("Unk2", 5, {"0", "", "yes"}),
      Row("Unk3", 5, {"0", "", "yes", "Vostrel Surface Sub-Type"}),
      Row("Unk4", 5, {"0", "", "yes", "Vostrel Flags"}),
      Row("Width@Start", 6, {"196850", "9.99998 m"}),
      Row("Width@End", 6, {"196850", "9.99998 m"}),
  };
  EXPECT_EQ(rows, expected);

  // The last wall only closes the cross-section.
  FillProperties(*s->Wall(1), rows);
  EXPECT_EQ(rows[2], Row("Surface", 0, {"10", "Left Border", "yes"}));
  EXPECT_EQ(rows[8], Row("Width@Start", 6, {"0", ""}));
  EXPECT_EQ(rows[9], Row("Width@End", 6, {"0", ""}));

  const std::pair<int32_t, const char*> surfaces[] = {
      {2, "Concrete"}, {3, "Curbs"}, {4, "Grass"}, {5, "Dirt"}, {6, "Gravel"}, {7, "Banking"},
      {8, "8"},        {0, "0"},     {9, "9"},     {-1, "-1"},  {2049, "2049"}, {11, "11"}};
  for (auto [code, meaning] : surfaces) {
    s->Wall(0)->Surface = code;
    FillProperties(*s->Wall(0), rows);
    EXPECT_EQ(rows[2].SubItems[1], meaning) << code;
  }
}

TEST(Rows, AltitudeShowsTheProfileAndItsDerivedValues) {
  auto track = DefaultTrack();
  TAltitude* a = track->Section(0)->Altitude(0);
  EXPECT_EQ(a->SetValue("1st order coeff.", 19685), 1);
  RowList rows;
  FillProperties(*a, rows);
  const RowList expected = {
      Row("3rd order coeff.", 1, {"0", "", "yes", "3*A = 0"}),
      Row("2nd order coeff.", 1, {"0", "", "yes", "2*B = 0"}),
      Row("1st order coeff.", 1, {"19685", "999.998 mm", "yes"}),
      Row("Height@Start", 1, {"0", "", "yes"}),
      Row("Height@End", 6, {"19685", "999.998 mm"}),
      Row("Gradient@Start", 6, {"1.99999594E-02", "1.1457605 " + kDeg, ""}),
      Row("Gradient@End", 6, {"1.99999594E-02", "1.1457605 " + kDeg}),
      Row("Length of Trace", 6, {"984252", "50.000002 m"}),
  };
  EXPECT_EQ(rows, expected);
  EXPECT_FALSE(rows[5].Editable());  // an empty Edit text is not "yes"
  EXPECT_FALSE(rows[4].Editable());
}

TEST(Rows, AltitudeCommentsFollowTheCompanions) {
  auto track = DefaultTrack();
  TAltitude* a = track->Section(0)->Altitude(1);
  RowList rows;
  EXPECT_EQ(a->SetValue("3rd order coeff.", 5), 1);
  FillProperties(*a, rows);
  EXPECT_EQ(rows[0].SubItems[3], "3*A = 15");
  EXPECT_EQ(a->SetValue("A3", 7), 1);
  EXPECT_EQ(a->GetValue("3rd order coeff."), 5);  // reading renews nothing
  FillProperties(*a, rows);
  EXPECT_EQ(rows[0].SubItems[0], "5");
  EXPECT_EQ(rows[0].SubItems[3], "3*A = 7");
  EXPECT_EQ(a->SetValue("2nd order coeff.", -4), 1);
  EXPECT_EQ(a->B2, -8);
  // The end slope uses 3A + 2B + C, not the stored companions.
  FillProperties(*a, rows);
  EXPECT_EQ(rows[6].SubItems[0], "7.11199977E-06");  // (15 - 8) / 984252
  // Wrapping products and sums, never signed overflow.
  EXPECT_EQ(a->SetValue("3rd order coeff.", 2147483647), 1);
  EXPECT_EQ(a->A3, 2147483645);
  EXPECT_EQ(a->SetValue("Height@Start", 2147483647), 1);
  FillProperties(*a, rows);
  EXPECT_EQ(rows[4].SubItems[0], "-6");  // 2147483647 + 2147483647 - 4 + 0 wraps
}

TEST(Rows, TraceLengthOnACurveFollowsTheTraceRadius) {
  auto track = DefaultTrack();
  TCurvedSection* c = ConvertToCurve(*track, 0);
  ASSERT_TRUE(c->SetCurvature(-119304647));  // right-hand: negative radius and curvature
  RowList rows;
  TAltitude* a = c->Altitude(0);  // radius -2819674 + 98425
  a->SetValue("1st order coeff.", 1000);
  FillProperties(*a, rows);
  const double length = (-2819674.0 + 98425.0) * 2 * -119304647 * 3.141592653589793 / 2147483648.0;
  EXPECT_EQ(rows[7].SubItems[0], FormatInt(static_cast<int32_t>(length + 0.5)));
  EXPECT_GT(length, 0);
  EXPECT_EQ(rows[5].SubItems[0], FormatPrintf("%.8E", 1000 / length));

  // A trace through the centre has no length: gradients 0, not a division by zero.
  a->X = 0;
  FillProperties(*a, rows);
  EXPECT_EQ(rows[5].SubItems[0], "0.00000000E+00");
  EXPECT_EQ(rows[6].SubItems[1], "0 " + kDeg);
  EXPECT_EQ(rows[7].SubItems, (std::vector<std::string>{"0", ""}));
}

}  // namespace
}  // namespace meridal
