#pragma once
// The mesh of a whole track: one section mesh per section (empty for a section
// that is skipped, with a warning), within the track's budget of vertices, and
// the materials of the surface codes.
//
//   TTrackMesh mesh = BuildTrackMesh(track);
//   for (const std::string& w : mesh.warnings) std::cerr << w << '\n';
//
// A view that follows edits rebuilds only the meshes an edit reaches:
//   TSectionRange r = MeshesReadingSections(track, first, count);
//   for (int s = r.first; s < r.first + r.count; ++s) mesh.sections[s % n] = BuildSectionMesh(track, s % n, options);
#include <array>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "mesh/section_mesh.h"
#include "mesh/surface_textures.h"

namespace meridal {

// A material of the mesh: a part's face and surface code.
struct TMaterial {
  TFace face = TFace::Surface;
  int32_t surface = 0;
  static TMaterial Of(const TMeshPart& part) { return {part.face, part.face == TFace::Surface ? part.surface : 0}; }
  auto operator<=>(const TMaterial&) const = default;
};

struct TTrackMesh {
  std::vector<TSectionMesh> sections;  // one per section of the track, in order
  std::vector<std::string> warnings;   // "Section 4 skipped: ..."
  // Set when the mesh is coarser than the tolerance, to keep within its budget.
  std::string coarser;
  // Set when the track is not meshed at all: its mesh would pass its budget even
  // at its coarsest (see mesh_budget.h). Every section is then empty.
  std::string refusal;

  size_t TriangleCount() const;
  size_t VertexCount() const;
  // The materials that some section uses, in order.
  std::vector<TMaterial> MaterialsUsed() const;
};

TTrackMesh BuildTrackMesh(const TTrack& track, const TMeshOptions& options = {});

// The sections whose meshes read the values of sections first .. first + count - 1:
// those and their two neighbours (a section's end meets the next one's start, and
// a raised strip is closed where its neighbour does not carry it on). The range
// may run past the last section: take its numbers modulo the number of sections.
struct TSectionRange {
  int first = 0, count = 0;
};
TSectionRange MeshesReadingSections(const TTrack& track, int first, int count);

// The name of a surface's material: the surface's own name ("Tarmac", "Grass",
// "Left Border"), a marked code's with its number ("Grass (2052)"), or
// "Surface 8" for a code without one.
std::string SurfaceMaterialName(int32_t surface);
// A material's name: its surface's, or "Concrete Wall" or "Guard Rail".
std::string MaterialName(TMaterial material);
// A material's plain colour (sRGB): a surface's as the plan view paints it.
TColor MaterialColor(TMaterial material);
// That colour as linear RGBA, for a renderer that works in linear light.
std::array<float, 4> MaterialLinearColor(TMaterial material);
// A material's texture, and whether it carries the marking of a marked code.
TTexture MaterialTexture(TMaterial material);
bool MaterialMarked(TMaterial material);

}  // namespace meridal
