// Reverse and Mirror: the geometry against the original point for point, twice
// giving back every value exactly, heights run backwards, walls and surfaces on
// the ground where they were, refusals that change nothing, one step each.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "check/track_check.h"
#include "document/document.h"
#include "edit/edit_support.h"
#include "files/format_test_support.h"
#include "model/numbers.h"
#include "model/units.h"
#include "support/track_builders.h"
#include "transform/document_transforms.h"

namespace meridal {
namespace {

using history::Outcome;

// A point of a section: `f` of the way along it, `v` to the left of its zero line.
TPointD PointAt(const TSection& s, double f, double v) {
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&s)) {
    const double angle = arc->StartAngle + f * arc->SweptAngle();
    return {arc->LocalToX(angle, arc->Radius - v), arc->LocalToY(angle, arc->Radius - v)};
  }
  return {s.LocalToX(f * s.Length, v), s.LocalToY(f * s.Length, v)};
}

void ExpectNear(const TPointD& a, const TPointD& b, double units) {
  EXPECT_NEAR(a.x, b.x, units);
  EXPECT_NEAR(a.y, b.y, units);
}

// The track with its derived values as reading its file gives them, so that a
// track rebuilt from the same stored values compares equal bit for bit.
void AsRead(TTrack& track) {
  for (auto& section : track.Sections) section->RecomputeDerived();
  track.UpdateExtent();
}

// A track whose document is changed by the transforms, as the editor holds it.
struct Doc {
  explicit Doc(std::unique_ptr<TTrack> made) : document(std::move(made)), track(const_cast<TTrack&>(document.Track())) {}
  TDocument document;
  TTrack& track;
  std::string reason;
  Outcome Reverse() { return transform::ReverseTrack(document, reason); }
  Outcome Mirror() { return transform::MirrorTrack(document, reason); }
};

// Hills: every profile a different cubic, as a real circuit has them.
void MakeHilly(TTrack& track) {
  for (auto& section : track.Sections)
    for (auto& a : section->Altitudes) {
      a->SetValue("3rd order coeff.", -2 * (section->Number + 1) * 19685);
      a->SetValue("2nd order coeff.", 3 * (a->Number + 2) * 19685);
      a->FirstOrder = 1234 * (section->Number - 2);
      a->HeightAtStart = 40000 * section->Number + 777 * a->Number;
    }
}

TEST(ReverseTrack, RunsTheSameGroundTheOtherWayPointForPoint) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    Doc doc(testing::RandomTrack(rng));
    const int n = doc.track.NumberOfSections();
    const int32_t length = doc.track.Length;
    std::vector<TPointD> points;
    std::vector<int32_t> ends;
    for (const auto& s : doc.track.Sections) {
      ends.push_back(s->EndOrientation());
      for (double f : {0.0, 0.3, 1.0})
        for (double v : {-200000.0, 0.0, 150000.0}) points.push_back(PointAt(*s, f, v));
    }
    ASSERT_EQ(doc.Reverse(), Outcome::Changed) << doc.reason;
    EXPECT_EQ(doc.track.Length, length);
    size_t p = 0;
    for (int j = 0; j < n; ++j) {
      // Section j is now section n - 1 - j, run from its end with the heading turned.
      const TSection& now = *doc.track.Section(n - 1 - j);
      EXPECT_EQ(now.Orientation, wrapAdd(ends[static_cast<size_t>(j)], INT32_MIN));
      for (double f : {0.0, 0.3, 1.0})
        for (double v : {-200000.0, 0.0, 150000.0}) ExpectNear(PointAt(now, 1 - f, -v), points[p++], 3);
    }
  }
}

TEST(MirrorTrack, ReflectsAcrossSectionZerosStartLinePointForPoint) {
  std::mt19937 rng(12);
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    Doc doc(testing::RandomTrack(rng));
    const TSection& first = *doc.track.Section(0);
    const double sx = first.StartX(), sy = first.StartY();
    const int32_t o0 = first.Orientation;
    const double c = std::cos(2 * OrientationToRadians(o0)), s2 = std::sin(2 * OrientationToRadians(o0));
    const auto reflect = [&](TPointD q) {
      const double dx = q.x - sx, dy = q.y - sy;
      return TPointD{sx + c * dx + s2 * dy, sy + s2 * dx - c * dy};
    };
    std::vector<TPointD> points;
    std::vector<int32_t> headings;
    for (const auto& s : doc.track.Sections) {
      headings.push_back(s->Orientation);
      for (double f : {0.0, 0.6, 1.0})
        for (double v : {-200000.0, 0.0, 150000.0}) points.push_back(reflect(PointAt(*s, f, v)));
    }
    ASSERT_EQ(doc.Mirror(), Outcome::Changed) << doc.reason;
    size_t p = 0;
    for (int j = 0; j < doc.track.NumberOfSections(); ++j) {
      const TSection& now = *doc.track.Section(j);
      EXPECT_EQ(now.Orientation, wrapSub(wrapMul(2, o0), headings[static_cast<size_t>(j)]));
      for (double f : {0.0, 0.6, 1.0})
        for (double v : {-200000.0, 0.0, 150000.0}) ExpectNear(PointAt(now, f, -v), points[p++], 4);
    }
  }
}

TEST(ReverseAndMirror, TwiceGiveBackEveryValueBitForBit) {
  std::mt19937 rng(13);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    Doc doc(testing::RandomTrack(rng));
    AsRead(doc.track);
    const std::string before = testing::Snapshot(doc.track, false);
    std::vector<std::string> states{before};
    for (int kind = 0; kind < 2; ++kind) {
      const auto once = kind == 0 ? &Doc::Reverse : &Doc::Mirror;
      ASSERT_EQ((doc.*once)(), Outcome::Changed) << doc.reason;
      states.push_back(testing::Snapshot(doc.track, false));
      EXPECT_NE(states.back(), before);
      ASSERT_EQ((doc.*once)(), Outcome::Changed) << doc.reason;
      states.push_back(testing::Snapshot(doc.track, false));
      EXPECT_EQ(states.back(), before);
    }
    // Each is one step, and going down the history and up again, twice, meets
    // every state exactly as the steps first made it.
    EXPECT_EQ(doc.document.History().Count(), 4u);
    EXPECT_EQ(doc.document.History().Step(0).Text(), "Reverse Track");
    EXPECT_EQ(doc.document.History().Step(2).Text(), "Mirror Track");
    for (size_t index : {3, 2, 1, 0, 1, 2, 3, 4, 2, 0, 4}) {
      doc.document.GoTo(index);
      EXPECT_EQ(testing::Snapshot(doc.track, false), states[index]) << index;
    }
  }
}

TEST(ReverseTrack, RunsHillsBackwardsKeepsTheCheckAndTheStartLine) {
  Doc doc(testing::Stadium());
  MakeHilly(doc.track);
  AsRead(doc.track);
  std::vector<std::vector<AltitudeValues>> profiles;
  for (const auto& s : doc.track.Sections) {
    profiles.emplace_back();
    for (const auto& a : s->Altitudes) profiles.back().push_back(a->Values());
  }
  const auto problems = CheckTrack(doc.track);
  const double startX = doc.track.Section(0)->StartX(), startY = doc.track.Section(0)->StartY();
  ASSERT_EQ(doc.Reverse(), Outcome::Changed) << doc.reason;

  // Section 0 is the former last one: it ends where it used to start, on the start line.
  const int n = doc.track.NumberOfSections();
  ExpectNear({doc.track.Section(n - 1)->EndX(), doc.track.Section(n - 1)->EndY()}, {startX, startY}, 1);
  ExpectNear({doc.track.Section(0)->StartX(), doc.track.Section(0)->StartY()}, {startX, startY}, 1);
  for (int k = 0; k < n; ++k) {
    const TSection& now = *doc.track.Section(k);
    for (int i = 0; i < now.NumberOfAltitudes(); ++i) {
      // Trace i now is trace T - 1 - i before, run backwards.
      TAltitude was(nullptr);
      was.Values() = profiles[static_cast<size_t>(n - 1 - k)][static_cast<size_t>(now.NumberOfAltitudes() - 1 - i)];
      const TAltitude& a = *now.Altitude(i);
      EXPECT_EQ(a.HeightAtStart, was.HeightAtEnd());
      EXPECT_EQ(a.HeightAtEnd(), was.HeightAtStart);
      EXPECT_EQ(a.A3, 3 * a.ThirdOrder);
      EXPECT_EQ(a.B2, 2 * a.SecondOrder);
      for (double t : {0.25, 0.5, 0.9}) EXPECT_NEAR(a.HeightAt(t), was.HeightAt(1 - t), 1e-6);
    }
  }
  // The same joints meet as well as they did: as many problems of each kind.
  const auto after = CheckTrack(doc.track);
  const auto kinds = [](const auto& found) {
    std::multiset<int> k;
    for (const auto& problem : found) k.insert(static_cast<int>(problem.kind));
    return k;
  };
  EXPECT_EQ(kinds(after), kinds(problems));
}

TEST(ReverseAndMirror, KeepEachStripsSurfaceOnTheSameGround) {
  for (const bool reverse : {true, false}) {
    SCOPED_TRACE(reverse ? "reverse" : "mirror");
    Doc doc(testing::Stadium());
    // Walls at uneven places, each strip its own surface: tarmac, curbs, grass.
    const int32_t from[] = {-98425, 60000, 98425, 150000}, to[] = {-90000, 70000, 120000, 160000};
    const int32_t surface[] = {kSurfaceTarmac, kSurfaceCurbs, kSurfaceGrass, kSurfaceLeftBorder};
    for (auto& s : doc.track.Sections) {
      s->Walls.clear();
      for (int k = 0; k < 4; ++k) {
        s->Walls.push_back(std::make_unique<TWall>(s.get()));
        TWall& w = *s->Walls.back();
        w.Number = k;
        w.From = from[k];
        w.To = to[k];
        w.Surface = surface[k];
        w.Height = 100 * k;
      }
      s->RecomputeDerived();
    }
    const int n = doc.track.NumberOfSections();
    // Points in the middle of each strip, a third of the way along each section.
    struct Probe {
      TPointD at;
      int32_t surface, height;
    };
    std::vector<Probe> probes;
    for (const auto& s : doc.track.Sections)
      for (int k = 0; k < 3; ++k) {
        const auto at = [&](int wall) { return from[wall] + (to[wall] - from[wall]) / 3.0; };
        probes.push_back({PointAt(*s, 1.0 / 3, (at(k) + at(k + 1)) / 2), surface[k], 100 * k});
      }
    const double sy = doc.track.Section(0)->StartY();
    ASSERT_EQ(reverse ? doc.Reverse() : doc.Mirror(), Outcome::Changed) << doc.reason;
    for (size_t p = 0; p < probes.size(); ++p) {
      SCOPED_TRACE(p);
      const int j = static_cast<int>(p / 3);
      const TSection& now = *doc.track.Section(reverse ? n - 1 - j : j);
      // The mirror image of a point across section 0's start line (it runs along x).
      const TPointD at = reverse ? probes[p].at : TPointD{probes[p].at.x, 2 * sy - probes[p].at.y};
      const int strip = now.FindWallStrip(at.x, at.y);
      ASSERT_GE(strip, 0);
      EXPECT_EQ(now.Wall(strip)->Surface, probes[p].surface);
      EXPECT_EQ(now.Wall(strip)->Height, probes[p].height);
    }
    // The last wall closes the cross-section as before.
    EXPECT_EQ(doc.track.Section(0)->Wall(3)->Surface, kSurfaceLeftBorder);
    EXPECT_EQ(doc.track.Section(0)->Wall(0)->From, reverse ? -160000 : -150000);
  }
}

TEST(ReverseAndMirror, RefuseWhatWouldNotFitAndChangeNothing) {
  {
    Doc doc(testing::Stadium());
    doc.track.Section(2)->Altitude(1)->SetValue("3rd order coeff.", 1 << 30);
    const std::string before = testing::Snapshot(doc.track);
    EXPECT_EQ(doc.Reverse(), Outcome::Refused);
    EXPECT_EQ(doc.reason, "Section 2, Altitude 1: run backwards, its 2nd order coeff. would be 3221225472, beyond 32 bits");
    EXPECT_EQ(testing::Snapshot(doc.track), before);
    EXPECT_EQ(doc.document.History().Count(), 0u);
  }
  {
    Doc doc(testing::Stadium());
    doc.track.Traces[0] = INT32_MIN;  // as a file may hold it; the editor keeps traces inside
    const std::string before = testing::Snapshot(doc.track);
    EXPECT_EQ(doc.Mirror(), Outcome::Refused);
    EXPECT_EQ(doc.reason, "Trace 0 on the other side would be 2147483648, beyond 32 bits");
    EXPECT_EQ(testing::Snapshot(doc.track), before);
    EXPECT_EQ(doc.document.History().Count(), 0u);
  }
}

}  // namespace
}  // namespace meridal
