// Shaping by hand on purpose-built tracks: the value each handle takes at a
// point, exact to the stored unit; keep joined against Join All Positions; both
// snaps; the refusals at each limit; one step per drag, and Cancel and Undo
// giving the track back exactly.
#include <gtest/gtest.h>

#include <cmath>

#include "check/track_fixes.h"
#include "edit/edit_support.h"
#include "model/numbers.h"
#include "shape/document_drag.h"
#include "shape/draw_section.h"
#include "shape/readout.h"
#include "shape/shape_drag.h"
#include "support/track_builders.h"

namespace meridal::shape {
namespace {

using meridal::testing::Snapshot;
using meridal::testing::Stadium;

constexpr double M = kUnitsPerMeter;

TDragOptions Options(bool joined, bool snap = false) {
  TDragOptions options;
  options.keepJoined = joined;
  options.snap = CommandLineSnap(snap);
  return options;
}

TPointD Ahead(const TSection& s, double angle, double distance) {
  return {s.StartX() + distance * std::cos(angle), s.StartY() + distance * std::sin(angle)};
}

// Drags a handle to `p` and lets go; the step is kept in `history`.
Stop DragTo(TTrack& track, history::THistory& history, int section, Handle handle, TPointD p, TDragOptions options) {
  history::TEditor editor(track, history);
  const TSection& s = *track.Section(section);
  TShapeDrag drag(track, section, handle, {s.StartX(), s.StartY()}, options);
  const Stop stop = drag.Move(p).stop;
  if (auto step = drag.Finish()) editor.Record(std::move(step));
  return stop;
}

TEST(ShapeHandles, EachHandleTakesTheValueOfItsPoint) {
  auto track = Stadium();
  history::THistory history;
  TSection& straight = *track->Section(0);
  const double theta = OrientationToRadians(straight.Orientation);
  // A straight's end: the pointer's projection on its heading, 3 m to one side.
  TPointD p = Ahead(straight, theta, 61.25 * M);
  p.x -= 3 * M * std::sin(theta);
  p.y += 3 * M * std::cos(theta);
  EXPECT_EQ(DragTo(*track, history, 0, Handle::End, p, Options(false)), Stop::None);
  EXPECT_EQ(straight.Length, nearest(61.25 * M));
  EXPECT_EQ(history.UndoText(), "Drag End of Section 0");

  // An arc's end at 90 degrees about its centre: the radius stays.
  auto& arc = static_cast<TCurvedSection&>(*track->Section(1));
  const double radius = arc.Radius;
  const double a = arc.StartAngle + Pi / 2;
  EXPECT_EQ(DragTo(*track, history, 1, Handle::End, {arc.CurveCenterX() + radius * std::cos(a), arc.CurveCenterY() + radius * std::sin(a)}, Options(false)),
            Stop::None);
  EXPECT_EQ(arc.Curvature(), 1 << 29);
  EXPECT_EQ(arc.Radius, radius);
  EXPECT_EQ(arc.Length, nearest(Pi / 2 * radius));

  // Its radius from the midpoint the pointer gives: on the ray at heading +
  // sweep / 4, 2 R sin(sweep / 4) from the start.
  const double sx = arc.StartX(), sy = arc.StartY();
  const double ray = OrientationToRadians(arc.Orientation) + arc.SweptAngle() / 4;
  const double mid = 2 * 40 * M * std::sin(arc.SweptAngle() / 4);
  EXPECT_EQ(DragTo(*track, history, 1, Handle::Radius, {sx + mid * std::cos(ray) - 5 * M * std::sin(ray), sy + mid * std::sin(ray) + 5 * M * std::cos(ray)}, Options(false)),
            Stop::None);
  EXPECT_EQ(arc.Radius, double(nearest(40 * M)));
  EXPECT_EQ(arc.Curvature(), 1 << 29);
  EXPECT_NEAR(arc.StartX(), sx, 1.0);
  EXPECT_NEAR(arc.StartY(), sy, 1.0);
  EXPECT_EQ(history.UndoText(), "Drag Radius of Section 1");

  // A heading: the arc turns about its start until its end looks at the point.
  const TPointD look = {sx + 100 * M, sy + 100 * M};
  EXPECT_EQ(DragTo(*track, history, 1, Handle::Heading, look, Options(false)), Stop::None);
  const double end = OrientationToRadians(arc.EndOrientation());
  const double dx = look.x - arc.EndX(), dy = look.y - arc.EndY();
  EXPECT_NEAR(std::cos(end) * dy - std::sin(end) * dx, 0, 2.0);  // on the end's heading line...
  EXPECT_GT(std::cos(end) * dx + std::sin(end) * dy, 0);          // ...and ahead of it
  EXPECT_NEAR(arc.StartX(), sx, 1.0);

  // A straight's heading at 30 degrees, and a move of its start.
  EXPECT_EQ(DragTo(*track, history, 0, Handle::Heading, Ahead(straight, Pi / 6, 10 * M), Options(false)), Stop::None);
  EXPECT_EQ(straight.Orientation, nearest(kTwoPow31 / 6));
  const TPointD to = {straight.StartX() + 12.5 * M, straight.StartY() - 7 * M};
  EXPECT_EQ(DragTo(*track, history, 0, Handle::Move, to, Options(false)), Stop::None);
  EXPECT_NEAR(straight.StartX(), to.x, 0.5);
  EXPECT_NEAR(straight.StartY(), to.y, 0.5);
  EXPECT_EQ(history.UndoText(), "Move Section 0");
  EXPECT_EQ(history.Count(), 6u);
}

// Keep Joined joins each later section to its predecessor in turn and leaves the
// loop's own joint as it falls; Join All would also steer a closed loop shut.
TEST(ShapeHandles, KeepJoinedPlacesTheLaterSectionsAsJoinToPreviousInTurn) {
  auto joined = Stadium();
  auto detached = Stadium();
  history::THistory h1, h2;
  const TSection& s = *joined->Section(1);
  const TPointD p = {s.StartX() + 30 * M, s.StartY() + 80 * M};
  EXPECT_EQ(DragTo(*joined, h1, 1, Handle::End, p, Options(true)), Stop::None);
  EXPECT_EQ(DragTo(*detached, h2, 1, Handle::End, p, Options(false)), Stop::None);
  EXPECT_NE(Snapshot(*joined, false), Snapshot(*detached, false));
  history::TEditor editor(*detached, h2);
  for (int later = 2; later < detached->NumberOfSections(); ++later)
    EXPECT_EQ(ApplyFix(editor, FixCommand::JoinToPrevious, later).outcome, history::Outcome::Changed);
  EXPECT_EQ(Snapshot(*joined, false), Snapshot(*detached, false));
  // One step holds the later sections too: undo and redo give both states back.
  const std::string after = Snapshot(*joined, false);
  TTrackChange change;
  h1.Undo(*joined, change);
  EXPECT_EQ(Snapshot(*joined, false), Snapshot(*Stadium(), false));
  EXPECT_EQ(change.sections, (std::vector<int>{1, 2, 3}));
  h1.Redo(*joined, change);
  EXPECT_EQ(Snapshot(*joined, false), after);
}

TEST(ShapeHandles, EndsLandOnTheNextStartAndValuesSnapToTheGrid) {
  auto track = Stadium();
  // The last arc's end near section 0's start: it lands there exactly.
  auto& last = static_cast<TCurvedSection&>(*track->Section(3));
  const TSection& first = *track->Section(0);
  const double a = last.StartAngle + last.SweptAngle() - 0.004;  // 0.2 m short
  const TPointD near = {last.CurveCenterX() + last.Radius * std::cos(a), last.CurveCenterY() + last.Radius * std::sin(a)};
  TShapeDrag landing(*track, 3, Handle::End, near, Options(true, true));
  ASSERT_TRUE(landing.Target());
  TDragMove m = landing.Move(near);
  EXPECT_EQ(m.snapped, Snapped::Landed);
  EXPECT_LE(std::hypot(last.EndX() - first.StartX(), last.EndY() - first.StartY()), kLandsExactly);
  EXPECT_EQ(SnapText(landing), "Snap on the next start");
  // Out of reach: the sweep goes to whole degrees instead.
  const double b = last.StartAngle + 2.1;
  m = landing.Move({last.CurveCenterX() + last.Radius * std::cos(b), last.CurveCenterY() + last.Radius * std::sin(b)});
  EXPECT_EQ(m.snapped, Snapped::Grid);
  EXPECT_EQ(last.Curvature(), nearest(120.0 / 360 * kTwoPow31));
  landing.Cancel();
  EXPECT_EQ(Snapshot(*track, false), Snapshot(*Stadium(), false));

  // A straight's length to the 0.5 m grid; a heading to 5 degrees.
  history::THistory history;
  TSection& straight = *track->Section(2);
  const double theta = OrientationToRadians(straight.Orientation);
  EXPECT_EQ(DragTo(*track, history, 2, Handle::End, Ahead(straight, theta, 61.23 * M), Options(false, true)), Stop::None);
  EXPECT_EQ(straight.Length, nearest(61.0 * M));
  TDragOptions five = Options(false, true);
  five.snap.angle = NextAngleStep(1);
  EXPECT_EQ(five.snap.angle, 5);
  EXPECT_EQ(DragTo(*track, history, 0, Handle::Heading, Ahead(*track->Section(0), 31.7 * Pi / 180, 20 * M), five),
            Stop::None);
  EXPECT_EQ(track->Section(0)->Orientation, nearest(30.0 / 180 * kTwoPow31));
  EXPECT_EQ(GridMetres(0.5 / M, 12), 50);    // half a pixel a metre: 50 m steps
  EXPECT_EQ(GridMetres(200.0 / M, 12), 0.1); // close in: 0.1 m
}

TEST(ShapeHandles, TheHandleStopsAtTheLastValidValue) {
  auto track = Stadium();
  const std::string before = Snapshot(*track, false);
  TSection& straight = *track->Section(0);
  const double theta = OrientationToRadians(straight.Orientation);
  TShapeDrag drag(*track, 0, Handle::End, {}, Options(true));
  // Behind the start at once: nothing taken yet, the track stays as it was.
  EXPECT_EQ(drag.Move(Ahead(straight, theta, -2 * M)).stop, Stop::LengthBelowOne);
  EXPECT_EQ(Snapshot(*track, false), before);
  EXPECT_EQ(drag.Move(Ahead(straight, theta, 1.5 / M * M)).stop, Stop::None);  // 1.5 units: Length 2
  EXPECT_EQ(straight.Length, 2);
  const std::string atTwo = Snapshot(*track, false);
  EXPECT_EQ(drag.Move(Ahead(straight, theta, 0.4)).stop, Stop::LengthBelowOne);
  EXPECT_EQ(Snapshot(*track, false), atTwo);
  // Past 32 bits, and a track longer than 32 bits allow.
  EXPECT_EQ(drag.Move(Ahead(straight, theta, 2200000000.0)).stop, Stop::OutsideRange);
  EXPECT_EQ(drag.Move(Ahead(straight, theta, 2147483000.0)).stop, Stop::OutsideRange);
  EXPECT_EQ(Snapshot(*track, false), atTwo);
  EXPECT_EQ(StopText(drag.LastStop()), "Drag stopped: value outside 32 bits");
  drag.Cancel();
  EXPECT_EQ(Snapshot(*track, false), before);

  // An arc's end never passes its start nor goes a turn round; its radius stops
  // where Edit Value refuses it (the centre inside the walls).
  auto& arc = static_cast<TCurvedSection&>(*track->Section(1));
  TShapeDrag end(*track, 1, Handle::End, {}, Options(false));
  const double cx = arc.CurveCenterX(), cy = arc.CurveCenterY(), r = arc.Radius;
  for (double sweep = Pi; sweep < 2.2 * Pi; sweep += 0.1)
    end.Move({cx + r * std::cos(arc.StartAngle + sweep), cy + r * std::sin(arc.StartAngle + sweep)});
  EXPECT_EQ(end.LastStop(), Stop::OutsideRange);
  EXPECT_GT(arc.SweptAngle(), 1.9 * Pi);
  EXPECT_LT(arc.SweptAngle(), 2 * Pi);
  end.Cancel();
  TShapeDrag radius(*track, 1, Handle::Radius, {}, Options(false));
  const TPointD mid = HandlePoint(arc, Handle::Radius, 0);
  EXPECT_EQ(radius.Move({(mid.x + arc.StartX()) / 2 + 0.0, (mid.y + arc.StartY()) / 2}).stop, Stop::None);
  EXPECT_EQ(radius.Move({arc.StartX() + 0.01 * (mid.x - arc.StartX()), arc.StartY() + 0.01 * (mid.y - arc.StartY())}).stop,
            Stop::Refused);
  EXPECT_EQ(StopText(radius.LastStop()), "Drag stopped: Input not valid ! Range Error!");
  radius.Cancel();
  EXPECT_EQ(Snapshot(*track, false), before);
}

TEST(ShapeDraw, NewSectionsAreOneStepAfterTheEnd) {
  auto track = Stadium();
  ASSERT_TRUE(track->Section(3)->SetValue("Curvature", 1 << 29));  // a quarter turn: the loop is open
  const TSection& last = *track->Section(3);
  const double theta = OrientationToRadians(last.EndOrientation());
  const TPointD end = {last.EndX(), last.EndY()};
  EXPECT_TRUE(MayDrawFrom(*track, 3));
  EXPECT_FALSE(MayDrawFrom(*track, 1));
  history::THistory history;
  history::TEditor editor(*track, history);
  const std::string before = Snapshot(*track, false);
  Stop stop;
  TDrawAim aim = AimDraw(*track, 3, DrawKind::Straight, {end.x + 20 * M * std::cos(theta), end.y + 20 * M * std::sin(theta)},
                         CommandLineSnap(false));
  EXPECT_EQ(DrawReadout(aim), "Straight 20.00 m");
  ASSERT_EQ(editor.Record(DrawSection(*track, 3, aim, stop)), history::Outcome::Changed);
  EXPECT_EQ(history.UndoText(), "Draw Straight after Section 3");
  ASSERT_EQ(track->NumberOfSections(), 5);
  EXPECT_FALSE(track->Section(4)->IsCurved());
  EXPECT_EQ(track->Section(4)->Length, nearest(20 * M));

  // A tangent arc through the point 30 m ahead and 10 m to the left.
  const TSection& from = *track->Section(4);
  const TPointD e = {from.EndX(), from.EndY()};
  const TPointD p = {e.x + 30 * M * std::cos(theta) - 10 * M * std::sin(theta), e.y + 30 * M * std::sin(theta) + 10 * M * std::cos(theta)};
  aim = AimDraw(*track, 4, DrawKind::Arc, p, CommandLineSnap(false));
  ASSERT_EQ(editor.Record(DrawSection(*track, 4, aim, stop)), history::Outcome::Changed);
  EXPECT_EQ(history.UndoText(), "Draw Arc after Section 4");
  const TSection& drawn = *track->Section(5);
  EXPECT_TRUE(drawn.IsCurved());
  EXPECT_NEAR(drawn.EndX(), p.x, 2.0);
  EXPECT_NEAR(drawn.EndY(), p.y, 2.0);
  EXPECT_EQ(drawn.OrientationMismatch(), 0);
  TTrackChange change;
  history.Undo(*track, change);
  history.Undo(*track, change);
  EXPECT_EQ(Snapshot(*track, false), before);
  // Straight ahead no arc passes: refused, nothing changed.
  aim = AimDraw(*track, 3, DrawKind::Arc, {end.x + 20 * M * std::cos(theta), end.y + 20 * M * std::sin(theta)},
                CommandLineSnap(false));
  EXPECT_EQ(DrawSection(*track, 3, aim, stop), nullptr);
  EXPECT_EQ(Snapshot(*track, false), before);
}

TEST(ShapeDocument, MovesAreShownLiveAndTheReleaseIsOneStep) {
  TDocument document(Stadium());
  std::vector<TDocumentChange> told;
  document.Subscribe([&](const TDocumentChange& c) { told.push_back(c); });
  const std::string before = Snapshot(document.Track(), false);
  const TSection& s = *document.Track().Section(0);
  const double theta = OrientationToRadians(s.Orientation);
  {
    TDocumentDrag drag(document, 0, Handle::End, {}, Options(true));
    drag.Move(Ahead(s, theta, 55 * M));
    drag.Move(Ahead(s, theta, 60 * M));
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(told.back().track.sections, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(DragReadout(document.Track(), *drag.Drag()), "Length 60.00 m (+10.00 m)\nLoop open by 10.00 m, 0.0\u00B0\nSnap off");
    drag.Cancel();  // Escape
    EXPECT_EQ(Snapshot(document.Track(), false), before);
    EXPECT_EQ(document.History().Count(), 0u);
  }
  TDocumentDrag drag(document, 0, Handle::End, {}, Options(true));
  drag.Move(Ahead(s, theta, 60 * M));
  EXPECT_EQ(drag.Release(), TDocument::Outcome::Changed);
  const std::string released = Snapshot(document.Track(), false);
  EXPECT_EQ(document.History().Count(), 1u);
  EXPECT_EQ(document.History().UndoText(), "Drag End of Section 0");
  for (int twice = 0; twice < 2; ++twice) {
    EXPECT_TRUE(document.Undo());
    EXPECT_EQ(Snapshot(document.Track(), false), before);
    EXPECT_TRUE(document.Redo());
    EXPECT_EQ(Snapshot(document.Track(), false), released);
  }
  EXPECT_TRUE(document.Undo());

  // The command line's drag: refused leaves the track as it was.
  Stop stop;
  EXPECT_EQ(DragOnce(document, 0, Handle::End, Ahead(s, theta, -3 * M), Options(true), stop), TDocument::Outcome::Refused);
  EXPECT_EQ(stop, Stop::LengthBelowOne);
  EXPECT_EQ(DragOnce(document, 0, Handle::Radius, Ahead(s, theta, 3 * M), Options(true), stop), TDocument::Outcome::Refused);
  EXPECT_EQ(Snapshot(document.Track(), false), before);
}

}  // namespace
}  // namespace meridal::shape
