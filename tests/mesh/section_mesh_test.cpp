#include "mesh/section_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "mesh/track_mesh.h"
#include "mesh_test_support.h"
#include "model/straight_section.h"
#include "model/synthetic_track.h"
#include "support/track_builders.h"

namespace meridal::testing {
namespace {

constexpr double kChord = 0.02 * kUnitsPerMetre;  // 2 cm
constexpr double kFloat = 0.002 * kUnitsPerMetre;  // what floats of a few hundred metres keep

using Position = std::array<float, 3>;
Position PositionOf(const TMeshVertex& v) { return {v.position[0], v.position[1], v.position[2]}; }

double Up(const float* a, const float* b, const float* c) {
  // The y part of (b - a) x (c - a): positive when the triangle faces up.
  return double(b[2] - a[2]) * (c[0] - a[0]) - double(b[0] - a[0]) * (c[2] - a[2]);
}

// Every vertex of a hilly example lies on its section at the cubic's height, and
// every edge between two surface vertices keeps within 2 cm of the surface at its
// midpoint: the arcs and the hills are sampled finely enough.
TEST(SectionMesh, PointsLieOnTheSectionAtTheCubicHeightsAndChordsStayWithin2cm) {
  auto track = ExampleCircuit();
  LevelStrips(*track);
  GiveHills(*track);
  for (int s = 0; s < track->NumberOfSections(); ++s) {
    const TSection& section = *track->Section(s);
    const TSectionMesh mesh = BuildSectionMesh(*track, s, {});
    ASSERT_FALSE(mesh.Empty()) << s;
    if (section.IsCurved()) {
      EXPECT_EQ(mesh.steps, 32) << s;  // 90 degrees at an outer radius of 65 m
    }
    const double lo = section.Wall(0)->From, hi = section.Wall(section.NumberOfWalls() - 1)->From;
    std::vector<bool> kerb(mesh.vertices.size(), false);
    for (const TMeshPart& part : mesh.parts)
      for (uint32_t i : part.indices) kerb[i] = part.surface == kSurfaceCurbs;
    // The kerb (the strip from 5 m to 10 m left) counts its stripes along its
    // middle from the section's start: pairs of 2 m, a whole number of them.
    const double kerbLength = section.IsCurved()
                                  ? std::fabs(static_cast<const TCurvedSection&>(section).SweptAngle()) *
                                        std::fabs(static_cast<const TCurvedSection&>(section).Radius - 7.5 * kUnitsPerMetre)
                                  : section.Length;
    const double pairs = std::max(1.0, std::round(kerbLength / kUnitsPerMetre / 2));
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
      const TMeshVertex& v = mesh.vertices[i];
      const TPlanPoint p = PlanOf(v.position);
      const TOnSection at = Locate(section, p.x, p.y);
      ASSERT_GE(at.t, -1e-6) << s;
      ASSERT_LE(at.t, 1 + 1e-6) << s;
      ASSERT_GE(at.lateral, lo - kFloat) << s;
      ASSERT_LE(at.lateral, hi + kFloat) << s;
      ASSERT_NEAR(p.h, ExpectedHeight(*track, section, at.t, at.lateral), kFloat) << s;
      // UVs in metres: along the zero line from the start line, and across.
      const double along = kerb[i] ? at.t * pairs * 2 : (section.Start + at.t * section.Length) / kUnitsPerMetre;
      ASSERT_NEAR(v.uv[0], along, 0.002) << s;
      ASSERT_NEAR(v.uv[1], at.lateral / kUnitsPerMetre, 0.002) << s;
    }
    for (const TMeshPart& part : mesh.parts) {
      for (size_t i = 0; i < part.indices.size(); i += 3) {
        const float* corner[3] = {mesh.vertices[part.indices[i]].position, mesh.vertices[part.indices[i + 1]].position,
                                  mesh.vertices[part.indices[i + 2]].position};
        ASSERT_GT(Up(corner[0], corner[1], corner[2]), 0) << "every surface triangle faces up, section " << s;
        for (int e = 0; e < 3; ++e) {
          const TPlanPoint a = PlanOf(corner[e]), b = PlanOf(corner[(e + 1) % 3]);
          const TOnSection la = Locate(section, a.x, a.y), lb = Locate(section, b.x, b.y);
          const TPlanPoint m{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.h + b.h) / 2};
          const TOnSection at = Locate(section, m.x, m.y);
          EXPECT_NEAR(at.lateral, (la.lateral + lb.lateral) / 2, kChord) << s;
          EXPECT_NEAR(m.h, ExpectedHeight(*track, section, at.t, at.lateral), kChord + kFloat) << s;
        }
      }
    }
  }
}

// Where one section ends on the next one's start, both meshes hold the very same
// points there; where the check reports a gap, the gap shows.
TEST(SectionMesh, JointsShareTheirSeamPointsAndGapsShow) {
  auto track = ExampleCircuit();
  LevelStrips(*track);
  GiveHills(*track);
  const auto seam = [&](int s) {
    // The start points of section s, and the points of section s - 1 among them.
    const int count = track->NumberOfSections();
    const TSectionMesh before = BuildSectionMesh(*track, (s + count - 1) % count, {});
    const TSectionMesh after = BuildSectionMesh(*track, s, {});
    std::set<Position> earlier;
    for (const TMeshVertex& v : before.vertices) earlier.insert(PositionOf(v));
    int starts = 0, shared = 0;
    for (const TMeshVertex& v : after.vertices) {
      const TPlanPoint p = PlanOf(v.position);
      if (std::fabs(Locate(*track->Section(s), p.x, p.y).t) > 1e-6) continue;
      ++starts;
      shared += earlier.count(PositionOf(v)) ? 1 : 0;
    }
    return std::pair{starts, shared};
  };
  for (int s = 0; s < track->NumberOfSections(); ++s) {
    const auto [starts, shared] = seam(s);
    EXPECT_EQ(starts, 2 + 3 + 2 + 2) << s;  // every strip's walls, and the centre trace on the tarmac
    EXPECT_EQ(shared, starts) << "joint before section " << s;
  }
  ASSERT_TRUE(track->Section(4)->SetValue("Lateral gap", 2500));  // 5 cm to the left
  EXPECT_EQ(seam(4).second, 0);
}

// A strip whose wall has a Height stands up by it on vertical sides, closed at the
// ends unless the next section carries the block on; a negative Height sinks it.
TEST(SectionMesh, RaisedStripsStandOnVerticalSidesClosedWhereTheBlockEnds) {
  auto track = ExampleCircuit();
  Flatten(*track);
  RaiseStrips(*track);
  track->Section(7)->Wall(1)->Height = -9843;  // half a metre down
  const auto count = [](const TSectionMesh& mesh, auto&& which) {
    return std::count_if(mesh.vertices.begin(), mesh.vertices.end(), which);
  };
  const auto facing = [](float x, float z) {
    return [x, z](const TMeshVertex& v) {
      return v.normal[1] == 0 && std::fabs(v.normal[0] * x + v.normal[2] * z - 1) < 1e-5;
    };
  };
  // Section 0 is a straight heading east; its neighbours have no
  // kerb. The kerb's top, the tops of its sides and of both ends stand 12 cm up;
  // its sides face north and south (-z and +z), its ends west and east.
  const TSectionMesh first = BuildSectionMesh(*track, 0, {});
  const auto atHeight = [](int32_t units) {
    return [metres = units * double(kMetersPerUnit)](const TMeshVertex& v) {
      return std::fabs(v.position[1] - metres) < 1e-6;
    };
  };
  EXPECT_EQ(first.steps, 1);
  EXPECT_EQ(count(first, atHeight(kKerb)), 4 + 4 + 4);
  EXPECT_EQ(count(first, facing(0, -1)), 4);
  EXPECT_EQ(count(first, facing(0, 1)), 4);
  EXPECT_EQ(count(first, facing(-1, 0)), 4);
  EXPECT_EQ(count(first, facing(1, 0)), 4);
  // The barrier of sections 2 and 3 runs across their joint: an end only where
  // it begins and where it stops.
  const TSectionMesh second = BuildSectionMesh(*track, 2, {}), third = BuildSectionMesh(*track, 3, {});
  EXPECT_EQ(count(second, atHeight(kBarrier)), 4 + 4 + 2);
  EXPECT_EQ(count(third, atHeight(kBarrier)), 4 * (third.steps + 1) + 2);
  // Sunk: the sides face into the trench, and its floor lies half a metre down.
  const TSectionMesh sunk = BuildSectionMesh(*track, 7, {});
  EXPECT_GT(count(sunk, atHeight(-9843)), 0);
  for (const TMeshPart& part : sunk.parts)
    for (size_t i = 0; i < part.indices.size(); i += 3) {
      // Every triangle faces the way its corners' normals say.
      const TMeshVertex* c[3] = {&sunk.vertices[part.indices[i]], &sunk.vertices[part.indices[i + 1]],
                                 &sunk.vertices[part.indices[i + 2]]};
      const float *a = c[0]->position, *b = c[1]->position, *d = c[2]->position;
      const double n[3] = {double(b[1] - a[1]) * (d[2] - a[2]) - double(b[2] - a[2]) * (d[1] - a[1]),
                           double(b[2] - a[2]) * (d[0] - a[0]) - double(b[0] - a[0]) * (d[2] - a[2]),
                           double(b[0] - a[0]) * (d[1] - a[1]) - double(b[1] - a[1]) * (d[0] - a[0])};
      ASSERT_GT(n[0] * c[0]->normal[0] + n[1] * c[0]->normal[1] + n[2] * c[0]->normal[2], 0);
    }
}

// A strip raised 0.5 m or more is a barrier: a closed solid (its top, its sides,
// a foot and its two ends) that runs on across a joint, every face turned
// outwards and lit that way; concrete, or a guard rail when it is narrow. A lower
// one is a kerb of its own surface, open beneath.
TEST(SectionMesh, BarriersAreClosedSolidsFacingOutwards) {
  auto track = ExampleCircuit();
  Flatten(*track);
  LevelStrips(*track);
  for (int s : {2, 3}) track->Section(s)->Wall(3)->Height = kBarrier;  // the gravel, 10 m to 15 m left, 80 cm
  // Triangles of the concrete of both sections, their corners welded where they
  // lie at the same point.
  std::map<Position, int> ids;
  std::vector<std::array<int, 3>> triangles;
  std::vector<std::array<Position, 3>> corners;
  double volume = 0, expected = 0;
  for (int s : {2, 3}) {
    const TSectionMesh mesh = BuildSectionMesh(*track, s, {});
    const TSection& section = *track->Section(s);
    expected += 5 * 0.8 *
                (section.IsCurved() ? std::fabs(static_cast<const TCurvedSection&>(section).SweptAngle() *
                                                (static_cast<const TCurvedSection&>(section).Radius / kUnitsPerMetre - 12.5))
                                    : section.Length / kUnitsPerMetre);
    ASSERT_EQ(mesh.parts.back().face, TFace::ConcreteWall);
    const std::vector<uint32_t>& indices = mesh.parts.back().indices;
    for (size_t i = 0; i < indices.size(); i += 3) {
      std::array<int, 3> t;
      std::array<Position, 3> p;
      for (int c = 0; c < 3; ++c) {
        p[size_t(c)] = PositionOf(mesh.vertices[indices[i + size_t(c)]]);
        t[size_t(c)] = ids.emplace(p[size_t(c)], int(ids.size())).first->second;
      }
      triangles.push_back(t);
      // The face's normal and the normals of its corners agree.
      const Position &a = p[0], &b = p[1], &c = p[2];
      const double n[3] = {double(b[1] - a[1]) * (c[2] - a[2]) - double(b[2] - a[2]) * (c[1] - a[1]),
                           double(b[2] - a[2]) * (c[0] - a[0]) - double(b[0] - a[0]) * (c[2] - a[2]),
                           double(b[0] - a[0]) * (c[1] - a[1]) - double(b[1] - a[1]) * (c[0] - a[0])};
      for (int k = 0; k < 3; ++k) {
        const float* normal = mesh.vertices[indices[i + size_t(k)]].normal;
        ASSERT_GT(n[0] * normal[0] + n[1] * normal[1] + n[2] * normal[2], 0);
      }
      // Its share of the solid's volume (the divergence theorem).
      volume += (a[0] * (double(b[1]) * c[2] - double(b[2]) * c[1]) - a[1] * (double(b[0]) * c[2] - double(b[2]) * c[0]) +
                 a[2] * (double(b[0]) * c[1] - double(b[1]) * c[0])) / 6;
    }
  }
  // Closed and consistently turned: every edge is met once each way.
  std::map<std::pair<int, int>, int> edges;
  for (const auto& t : triangles)
    for (int e = 0; e < 3; ++e) ++edges[{t[size_t(e)], t[size_t((e + 1) % 3)]}];
  for (const auto& [edge, count] : edges) {
    ASSERT_EQ(count, 1);
    ASSERT_EQ(edges.count({edge.second, edge.first}), 1u) << "an open edge";
  }
  EXPECT_NEAR(volume, expected, expected * 0.005);  // positive: the faces look out of the solid

  // A strip 30 cm wide and 75 cm high is a guard rail; a kerb of 12 cm keeps its
  // surface, and has no foot.
  TWall &rail = *track->Section(0)->Wall(3), &kerb = *track->Section(0)->Wall(2);
  rail.From = rail.To = 295275 - 5906;
  rail.Height = 14764;
  kerb.Height = kKerb;
  const TSectionMesh first = BuildSectionMesh(*track, 0, {});
  std::vector<std::pair<TFace, int32_t>> parts;
  for (const TMeshPart& part : first.parts) parts.push_back({part.face, part.surface});
  EXPECT_EQ(parts, (std::vector<std::pair<TFace, int32_t>>{{TFace::Surface, kSurfaceTarmac},
                                                            {TFace::Surface, kSurfaceCurbs},
                                                            {TFace::Surface, kSurfaceGrass},
                                                            {TFace::GuardRail, 0}}));
  for (uint32_t i : first.parts[1].indices) ASSERT_GT(first.vertices[i].normal[1], -0.5f) << "a kerb has no foot";
}

// The mesh covers the plan of the example: its bounds are those of the outermost
// walls, the arcs sampled through the model's own geometry.
TEST(SectionMesh, TheExampleCoversItsPlanExtent) {
  auto track = ExampleCircuit();
  const TTrackMesh mesh = BuildTrackMesh(*track);
  EXPECT_TRUE(mesh.warnings.empty());
  double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
  for (const TSectionMesh& s : mesh.sections) {
    lo[0] = std::min(lo[0], double(s.lo[0]));
    hi[0] = std::max(hi[0], double(s.hi[0]));
    lo[1] = std::min(lo[1], double(-s.hi[2]));
    hi[1] = std::max(hi[1], double(-s.lo[2]));
  }
  double plo[2] = {1e300, 1e300}, phi[2] = {-1e300, -1e300};
  for (const auto& section : track->Sections) {
    for (int k : {0, section->NumberOfWalls() - 1}) {
      const TWall& wall = *section->Wall(k);
      for (int i = 0; i <= 1000; ++i) {
        const double t = i / 1000.0, lateral = wall.From + t * (wall.To - wall.From);
        double x, y;
        if (const auto* arc = dynamic_cast<const TCurvedSection*>(section.get())) {
          x = arc->LocalToX(arc->StartAngle + t * arc->SweptAngle(), arc->Radius - lateral);
          y = arc->LocalToY(arc->StartAngle + t * arc->SweptAngle(), arc->Radius - lateral);
        } else {
          x = section->LocalToX(t * section->Length, lateral);
          y = section->LocalToY(t * section->Length, lateral);
        }
        plo[0] = std::min(plo[0], x / kUnitsPerMetre);
        phi[0] = std::max(phi[0], x / kUnitsPerMetre);
        plo[1] = std::min(plo[1], y / kUnitsPerMetre);
        phi[1] = std::max(phi[1], y / kUnitsPerMetre);
      }
    }
  }
  for (int c = 0; c < 2; ++c) {
    EXPECT_NEAR(lo[c], plo[c], 0.02);
    EXPECT_NEAR(hi[c], phi[c], 0.02);
  }
  // And it lies inside the extent the plan view is drawn in.
  EXPECT_GE(lo[0] * kUnitsPerMetre, track->Extent.left);
  EXPECT_LE(hi[0] * kUnitsPerMetre, track->Extent.right);
  EXPECT_GE(lo[1] * kUnitsPerMetre, track->Extent.bottom);
  EXPECT_LE(hi[1] * kUnitsPerMetre, track->Extent.top);
}

// Along a track longer than the 32 bits of a section's Start reach (109 km), the
// UVs still count on from the start line.
TEST(SectionMesh, UvsCountOnPastWhereStartWraps) {
  auto track = SyntheticTrack(6000, 2, 3);
  // Straights twice as long, as a file may hold them: the Starts wrap.
  for (auto& section : track->Sections)
    if (!section->IsCurved()) section->Length *= 2;
  track->RecomputeStarts();
  const TSection& last = *track->Section(5999);
  ASSERT_LT(last.Start, 0);  // wrapped
  const TSectionMesh mesh = BuildSectionMesh(*track, 5999, {});
  ASSERT_FALSE(mesh.Empty());
  double before = 0;
  for (int s = 0; s < 5999; ++s) before += track->Section(s)->Length;
  for (const TMeshVertex& v : mesh.vertices) {
    if (v.normal[1] < 0.5) continue;  // the ends of raised strips count on up their faces
    EXPECT_GE(v.uv[0], before / kUnitsPerMetre - 0.01);  // a float of 122 km keeps 8 mm
    EXPECT_LE(v.uv[0], (before + last.Length) / kUnitsPerMetre + 0.01);
  }
}

// Damaged sections are skipped with a warning; the others keep their meshes.
TEST(SectionMesh, DamagedSectionsAreSkippedWithAWarning) {
  auto track = ExampleCircuit();
  for (auto& wall : track->Section(1)->Walls) wall->From = wall->To = 0;  // no width
  static_cast<TStraightSection*>(track->Section(2))->BaseX = std::nan("");
  static_cast<TCurvedSection*>(track->Section(3))->Curvature() = 0;
  track->Section(4)->Walls.resize(1);
  const TTrackMesh mesh = BuildTrackMesh(*track);
  EXPECT_EQ(mesh.warnings, (std::vector<std::string>{"Section 1 skipped: its walls enclose no width",
                                                     "Section 2 skipped: its geometry is not a number",
                                                     "Section 3 skipped: its curvature is 0",
                                                     "Section 4 skipped: it has fewer than two walls"}));
  for (int s = 0; s < track->NumberOfSections(); ++s) EXPECT_EQ(mesh.sections[size_t(s)].Empty(), s >= 1 && s <= 4);
}

}  // namespace
}  // namespace meridal::testing
