#include "mesh/track_mesh.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "graphics/drawing_style.h"
#include "mesh/mesh_budget.h"
#include "model/track.h"

namespace meridal {

size_t TTrackMesh::TriangleCount() const {
  size_t count = 0;
  for (const TSectionMesh& section : sections) count += section.TriangleCount();
  return count;
}

size_t TTrackMesh::VertexCount() const {
  size_t count = 0;
  for (const TSectionMesh& section : sections) count += section.vertices.size();
  return count;
}

std::vector<TMaterial> TTrackMesh::MaterialsUsed() const {
  std::vector<TMaterial> materials;
  for (const TSectionMesh& section : sections)
    for (const TMeshPart& part : section.parts) materials.push_back(TMaterial::Of(part));
  std::sort(materials.begin(), materials.end());
  materials.erase(std::unique(materials.begin(), materials.end()), materials.end());
  return materials;
}

TTrackMesh BuildTrackMesh(const TTrack& track, const TMeshOptions& finest) {
  TTrackMesh mesh;
  const int count = track.NumberOfSections();
  mesh.sections.resize(size_t(count));
  const TMeshBudget budget = PlanMeshBudget(track, finest);
  if (!budget.refusal.empty()) {
    mesh.refusal = budget.refusal;
    return mesh;
  }
  mesh.coarser = budget.warning;
  TMeshOptions options = finest;
  options.stepScale = budget.stepScale;
  std::vector<std::string> warnings(static_cast<size_t>(count));
  // Sections are meshed independently, reading the track only: a big track is
  // shared among the processor's cores (a thread for every 500 sections at most).
  const auto build = [&](int first, int step) {
    for (int s = first; s < count; s += step)
      mesh.sections[size_t(s)] = BuildSectionMesh(track, s, options, &warnings[size_t(s)]);
  };
  const int threads = int(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1u, 8u));
  const int helpers = std::min(threads, std::max(1, count / 500)) - 1;
  std::vector<std::thread> pool;
  for (int h = 0; h < helpers; ++h) pool.emplace_back(build, h + 1, helpers + 1);
  build(0, helpers + 1);
  for (std::thread& thread : pool) thread.join();
  for (std::string& warning : warnings)
    if (!warning.empty()) mesh.warnings.push_back(std::move(warning));
  return mesh;
}

TSectionRange MeshesReadingSections(const TTrack& track, int first, int count) {
  const int sections = track.NumberOfSections();
  if (sections == 0 || count <= 0) return {};
  if (count + 2 >= sections) return {0, sections};
  return {(first - 1 + sections) % sections, count + 2};
}

std::string SurfaceMaterialName(int32_t surface) {
  if (const char* name = SurfaceName(surface)) return name;
  // A marked code is its surface with a marking: named after both.
  if (surface >= kSurfaceFlag)
    if (const char* name = SurfaceName(surface - kSurfaceFlag)) return std::string(name) + " (" + std::to_string(surface) + ")";
  return "Surface " + std::to_string(surface);
}

std::string MaterialName(TMaterial material) {
  switch (material.face) {
    case TFace::ConcreteWall: return "Concrete Wall";
    case TFace::GuardRail: return "Guard Rail";
    case TFace::Surface: break;
  }
  return SurfaceMaterialName(material.surface);
}

TColor MaterialColor(TMaterial material) {
  switch (material.face) {
    case TFace::ConcreteWall: return {178, 176, 170};
    case TFace::GuardRail: return {152, 158, 164};
    case TFace::Surface: break;
  }
  return SurfaceFillColor(material.surface);
}

std::array<float, 4> MaterialLinearColor(TMaterial material) {
  const TColor color = MaterialColor(material);
  const auto linear = [](int channel) {
    const double c = channel / 255.0;
    return float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
  };
  return {linear(color.r), linear(color.g), linear(color.b), 1.0f};
}

TTexture MaterialTexture(TMaterial material) {
  switch (material.face) {
    case TFace::ConcreteWall: return TTexture::ConcreteWall;
    case TFace::GuardRail: return TTexture::GuardRail;
    case TFace::Surface: break;
  }
  return TextureOfSurface(material.surface);
}

bool MaterialMarked(TMaterial material) { return material.face == TFace::Surface && MarkedSurface(material.surface); }

}  // namespace meridal
