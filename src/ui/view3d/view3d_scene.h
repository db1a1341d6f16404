#pragma once
// What the 3D view shows, kept on the CPU: one mesh per section, in the mesh's
// frame (metres, x east, y up, z south) with the middle of the track's plan as
// origin so that floats stay precise; the sections gathered in chunks that go to
// the graphics card together; and the picking of a section along a ray.
//
// An edit rebuilds only the meshes that read the changed sections and marks their
// chunks dirty; the view uploads the dirty chunks.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/terrain/terrain_sampler.h"
#include "mesh/ground_grid.h"
#include "mesh/mesh_budget.h"
#include "mesh/section_mesh.h"
#include "mesh/surface_textures.h"

namespace meridal {

class TTrack;
struct TTrackChange;

// A vertex as the view draws it. Its texture coordinate along counts from its
// section's start: the view adds the section's offset (AlongOffsets), so that an
// edit that moves the start line's distance to later sections needs no new mesh.
struct TViewVertex {
  float position[3];
  float normal[3];
  float uv[2];        // metres, along (from the section's start) and across or up
  float section;      // whose offset along applies; -1: none
  uint8_t color[3];   // the plan's colour (sRGB), drawn when textures are off
  uint8_t layer;      // the texture's layer (TextureLayer); +128: no offset along (kerbs)
};
static_assert(sizeof(TViewVertex) == 40, "the vertices go to the card as they are");

// The layer of a texture in the view's texture array: the plain ones, then the marked ones.
inline int TextureLayer(TTexture texture, bool marked) { return int(texture) + (marked ? kTextureCount : 0); }

struct TBox {
  float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  bool empty = true;
  void Add(const float* lo3, const float* hi3);
};

class TView3DScene {
 public:
  static constexpr int kChunkSections = 64;

  void SetTrack(const TTrack* track);
  const TTrack* Track() const { return track_; }
  // The land the track was fitted to, which the ground then follows about the
  // track (TGroundGrid); none: the ground lies just under the track.
  void SetTerrain(std::shared_ptr<const TTerrainSampler> terrain);
  // The document changed sections first .. first + count - 1 (values only), added
  // or removed them, or changed anything else (traces, the whole track).
  void Changed(int first, int count);
  void Inserted(int first, int count);
  void Removed(int first, int count);
  void Reset();
  // What an edit, an undo or a redo of the document did: the sections that came
  // and went, whose values or walls changed, rebuilt with their neighbours; a
  // change of the traces rebuilds everything.
  void Apply(const TTrackChange& change);

  // The mesh keeps within the same budget as an exported one: coarser, with this
  // warning, when its finest would pass it; not there at all, with this refusal.
  const std::string& Coarser() const { return budget_.warning; }
  const std::string& Refusal() const { return budget_.refusal; }
  double StepScale() const { return options_.stepScale; }

  int Sections() const { return int(meshes_.size()); }
  const TSectionMesh& Mesh(int section) const { return meshes_[size_t(section)]; }
  double OriginX() const { return options_.originX; }
  double OriginY() const { return options_.originY; }
  size_t TriangleCount() const;

  // Per section: metres the texture runs on along by its start (its distance
  // from the start line, less whole repeats of every texture).
  std::vector<float> AlongOffsets() const;
  // The ground under the track, made again when an edit moved the track's
  // surface; its version counts the times.
  const TGroundGrid& Ground();
  int GroundVersion() const { return groundVersion_; }

  int Chunks() const { return (Sections() + kChunkSections - 1) / kChunkSections; }
  bool Dirty(int chunk) const { return chunk < int(dirty_.size()) && dirty_[size_t(chunk)]; }
  void Clean(int chunk) { dirty_[size_t(chunk)] = false; }
  // The vertices and triangles of a chunk, or of one section, as drawn.
  //
  // Seen from afar, a chunk is drawn coarser (level of detail `lod`): 1, its
  // strips without the traces' columns and with kerbs flat, at 25 cm; 2, each
  // section one flat strip at 2 m, of the strips' mean colour (their textures'
  // when `textured`, else the plan's).
  static constexpr int kLevels = 3;
  void Pack(int firstSection, int count, std::vector<TViewVertex>& vertices, std::vector<uint32_t>& indices,
            int lod = 0, bool textured = true) const;
  TBox ChunkBox(int chunk) const;
  TBox Box() const;

  // The section whose surface the ray from `origin` along `direction` meets
  // first, with heights scaled by `exaggeration`; -1 when it meets none.
  int Pick(const float origin[3], const float direction[3], float exaggeration) const;

 private:
  // Makes the meshes marked stale again (their costs first); every mesh when the
  // budget then asks for another share of the steps.
  void RebuildStale(const std::vector<char>& stale);
  void RebuildAll();
  // Marks the meshes that read sections first .. first + count - 1.
  void MarkReaders(std::vector<char>& stale, int first, int count) const;
  void MarkDirtyFrom(int section);

  const TTrack* track_ = nullptr;
  TMeshOptions options_;
  TMeshBudget budget_;
  // The section's mesh at every level of detail (see Pack).
  std::vector<TSectionMesh> meshes_;
  std::vector<std::array<TSectionMesh, kLevels - 1>> coarse_;
  void Build(int section);
  TMeshOptions OptionsOf(int lod) const;
  std::vector<TSectionMeshCost> costs_;  // each section's, at its finest
  std::vector<bool> dirty_;
  TGroundGrid ground_;
  std::shared_ptr<const TTerrainSampler> terrain_;
  bool groundStale_ = true;
  int groundVersion_ = 0;
};

}  // namespace meridal
