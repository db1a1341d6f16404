#pragma once
// The surface of one section as triangles, in glTF's frame and units: metres, x
// east, y up, z south (plan (x, y) becomes (x, -y); the height becomes y).
//
// Each strip between two walls is a surface of its wall's Surface code. Along the
// section it is cut into equal steps, so that a chord never strays more than the
// tolerance (2 cm) from a line of the section, in plan or in height; across it is
// cut at both walls and at every trace between them. Heights come from the
// traces' cubics, linear between traces; beyond the outermost traces a point takes
// the nearest trace's height. A strip whose wall has a Height other than 0 is
// raised by it, with vertical sides (a kerb, a step), closed at an end unless the
// neighbouring section carries the block on; one raised 0.5 m or more is a
// barrier, a closed solid with a foot, its faces concrete or a guard rail.
//
// Where a section's end meets the next section's start (the check reports no gap
// and no turn there) the end takes its points from the next section's start, so
// both meshes hold the very same seam points and no crack opens.
//
//   std::string warning;
//   TSectionMesh mesh = BuildSectionMesh(track, 4, TMeshOptions{}, &warning);
//   if (mesh.Empty()) std::cerr << warning << '\n';   // "Section 4 skipped: ..."
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace meridal {

class TTrack;

struct TMeshOptions {
  double tolerance = 0.02;  // metres: how far a chord may stray from the line it stands for
  // Metres: the heights' cubics are followed with steps no shorter than this, so
  // that coefficients that bend hard (a damaged file's) cost steps by the length
  // of the section, not by the size of the numbers.
  double shortestHeightStep = 0.05;
  // The share of those steps a section keeps (at least one step): a track whose
  // finest mesh would pass its budget is meshed coarser (see mesh_budget.h).
  double stepScale = 1;
  // The most steps along one section, whatever the above say.
  int maxSteps = 20000;
  // Coarser meshes, for a view from afar: no columns at the traces between a
  // strip's walls; kerbs and steps flat (barriers without their foot); or the
  // whole width as one flat strip of the widest strip's surface.
  bool acrossTraces = true;
  bool kerbSides = true;
  bool oneStrip = false;
  // A plan point (track units) that becomes the origin: a view keeps its floats
  // small with it. A file keeps 0.
  double originX = 0, originY = 0;
};

// The texture coordinates are metres. On a surface: along the zero line from the
// track's start line (on a kerb: along the strip, from the section's start, a
// whole number of red and white pairs of stripes to the section), and across (the
// lateral position). Up the side of a raised strip: along as its top, and up from
// its foot. Across its end: the lateral position, and up from its foot.
struct TMeshVertex {
  float position[3];
  float normal[3];
  float uv[2];
};
static_assert(sizeof(TMeshVertex) == 32, "the vertices are written as they are, 32 bytes each");

// What a triangle is made of: a strip's surface, or a barrier's concrete or
// guard rail. A strip whose wall has a Height of at least 0.5 m is a barrier (a
// guard rail when it is less than 0.4 m wide); a lower Height makes it a kerb or
// a step, of its own surface.
enum class TFace : uint8_t { Surface, ConcreteWall, GuardRail };
constexpr int32_t kBarrierHeight = 9843;   // 0.5 m
constexpr int32_t kGuardRailWidth = 7874;  // 0.4 m
class TWall;
TFace FaceOfStrip(const TWall& wall, const TWall& next);

// The triangles of one surface code (or of one kind of barrier, surface 0).
struct TMeshPart {
  int32_t surface = 0;
  TFace face = TFace::Surface;
  std::vector<uint32_t> indices;  // three per triangle, counter-clockwise seen from outside
};

struct TSectionMesh {
  std::vector<TMeshVertex> vertices;
  std::vector<TMeshPart> parts;  // ordered by face, then by surface code
  double alongStart = 0;         // the texture coordinate along at the section's start (see TMeshVertex)
  float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};  // bounds of the positions
  int steps = 0;                                // steps along the section

  bool Empty() const { return vertices.empty(); }
  size_t TriangleCount() const;
};

// A point of a section's surface as its mesh has it: the plan point (track units),
// the height of the ground (track units) and how far the strip there is raised
// above it, the direction of travel there (a unit vector of the plan) and the
// rise per run along it.
struct TSurfacePoint {
  double x = 0, y = 0, height = 0, raised = 0;
  double aheadX = 1, aheadY = 0, gradient = 0;
};
// Nothing for a section that gets no mesh.
std::optional<TSurfacePoint> SurfacePointAt(const TTrack& track, int index, double t, double lateral);

// What the mesh of a section costs: the steps it takes along at its finest, and
// the vertices it holds for a number of steps (an upper bound, reached when every
// trace lies within the strips on every row).
struct TSectionMeshCost {
  double finestSteps = 0;
  size_t verticesPerRow = 0, fixedVertices = 0;
  // The steps taken at `stepScale` of the finest, within 1 .. maxSteps.
  static int Steps(double finestSteps, double stepScale, int maxSteps);
  size_t Vertices(int steps) const { return size_t(steps + 1) * verticesPerRow + fixedVertices; }
};
// Nothing for a section that gets no mesh.
std::optional<TSectionMeshCost> SectionMeshCost(const TTrack& track, int index, const TMeshOptions& options);

// The mesh of section `index`. Empty when the section is skipped (no walls, no
// width, no length, an arc of radius or curvature 0, values that are not numbers,
// points beyond the plan's range, a surface of no area); `warning` then says so:
// "Section 4 skipped: its walls enclose no width".
TSectionMesh BuildSectionMesh(const TTrack& track, int index, const TMeshOptions& options,
                              std::string* warning = nullptr);

}  // namespace meridal
