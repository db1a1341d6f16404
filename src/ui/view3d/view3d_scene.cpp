#include "ui/view3d/view3d_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphics/drawing_style.h"
#include "history/track_change.h"
#include "mesh/track_mesh.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

void TBox::Add(const float* lo3, const float* hi3) {
  for (int c = 0; c < 3; ++c) {
    lo[c] = empty ? lo3[c] : std::min(lo[c], lo3[c]);
    hi[c] = empty ? hi3[c] : std::max(hi[c], hi3[c]);
  }
  empty = false;
}

namespace {

bool SamePoints(const TSectionMesh& a, const TSectionMesh& b) {
  if (a.vertices.size() != b.vertices.size()) return false;
  for (size_t i = 0; i < a.vertices.size(); ++i)
    if (!std::equal(a.vertices[i].position, a.vertices[i].position + 3, b.vertices[i].position)) return false;
  return true;
}

}  // namespace

void TView3DScene::SetTrack(const TTrack* track) {
  track_ = track;
  Reset();
}

void TView3DScene::Reset() {
  groundStale_ = true;
  meshes_.clear();
  coarse_.clear();
  costs_.clear();
  budget_ = TMeshBudget{};
  if (!track_) {
    dirty_.clear();
    return;
  }
  const TRect& extent = track_->Extent;
  options_.originX = (double(extent.left) + extent.right) / 2;
  options_.originY = (double(extent.top) + extent.bottom) / 2;
  meshes_.resize(size_t(track_->NumberOfSections()));
  coarse_.assign(meshes_.size(), {});
  costs_.resize(meshes_.size());
  RebuildStale(std::vector<char>(meshes_.size(), 1));
}

void TView3DScene::RebuildAll() {
  groundStale_ = true;
  for (int s = 0; s < Sections(); ++s) {
    // A refused track keeps no mesh at all.
    if (budget_.refusal.empty()) {
      Build(s);
    } else {
      meshes_[size_t(s)] = TSectionMesh{};
      coarse_[size_t(s)] = {};
    }
  }
  dirty_.assign(size_t(Chunks()), true);
}

TMeshOptions TView3DScene::OptionsOf(int lod) const {
  TMeshOptions options = options_;
  if (lod == 0) return options;
  options.acrossTraces = false;
  options.kerbSides = false;
  options.tolerance = lod == 1 ? 0.25 : 2.0;
  options.shortestHeightStep = lod == 1 ? 1.0 : 5.0;
  options.oneStrip = lod == 2;
  return options;
}

void TView3DScene::Build(int s) {
  meshes_[size_t(s)] = BuildSectionMesh(*track_, s, options_);
  for (int lod = 1; lod < kLevels; ++lod)
    coarse_[size_t(s)][size_t(lod - 1)] =
        meshes_[size_t(s)].Empty() ? TSectionMesh{} : BuildSectionMesh(*track_, s, OptionsOf(lod));
}

void TView3DScene::RebuildStale(const std::vector<char>& stale) {
  TMeshOptions finest = options_;
  finest.stepScale = 1;
  for (int s = 0; s < Sections(); ++s)
    if (stale[size_t(s)]) costs_[size_t(s)] = SectionMeshCost(*track_, s, finest).value_or(TSectionMeshCost{});
  const TMeshBudget before = budget_;
  budget_ = PlanMeshBudget(costs_, MeshBudgetLength(*track_), finest);
  options_.stepScale = budget_.stepScale;
  if (budget_.stepScale != before.stepScale || budget_.refusal.empty() != before.refusal.empty()) return RebuildAll();
  dirty_.resize(size_t(Chunks()), true);
  if (!budget_.refusal.empty()) return;
  for (int s = 0; s < Sections(); ++s) {
    if (!stale[size_t(s)]) continue;
    const TSectionMesh before = std::move(meshes_[size_t(s)]);
    Build(s);
    // The ground follows the surface's points only: a new surface code keeps it.
    groundStale_ = groundStale_ || !SamePoints(before, meshes_[size_t(s)]);
    dirty_[size_t(s / kChunkSections)] = true;
  }
}

void TView3DScene::Changed(int first, int count) {
  if (!track_) return;
  if (track_->NumberOfSections() != Sections()) return Reset();  // an announcement was missed
  std::vector<char> stale(meshes_.size(), 0);
  MarkReaders(stale, first, count);
  RebuildStale(stale);
}

void TView3DScene::MarkDirtyFrom(int section) {
  dirty_.resize(size_t(Chunks()), true);
  for (size_t c = size_t(std::max(0, section) / kChunkSections); c < dirty_.size(); ++c) dirty_[c] = true;
}

void TView3DScene::Inserted(int first, int count) {
  if (!track_) return;
  if (track_->NumberOfSections() != Sections() + count || first < 0 || first > Sections()) return Reset();
  meshes_.insert(meshes_.begin() + first, size_t(count), TSectionMesh{});
  coarse_.insert(coarse_.begin() + first, size_t(count), {});
  costs_.insert(costs_.begin() + first, size_t(count), TSectionMeshCost{});
  MarkDirtyFrom(first);
  std::vector<char> stale(meshes_.size(), 0);
  MarkReaders(stale, first, count);
  RebuildStale(stale);
}

void TView3DScene::Removed(int first, int count) {
  if (!track_) return;
  if (track_->NumberOfSections() != Sections() - count || first < 0 || first + count > Sections()) return Reset();
  meshes_.erase(meshes_.begin() + first, meshes_.begin() + first + count);
  coarse_.erase(coarse_.begin() + first, coarse_.begin() + first + count);
  costs_.erase(costs_.begin() + first, costs_.begin() + first + count);
  groundStale_ = true;
  MarkDirtyFrom(first);
  dirty_.resize(size_t(Chunks()));
  if (Sections() == 0) return;
  // The neighbours of the gap now meet each other.
  std::vector<char> stale(meshes_.size(), 0);
  const int n = Sections();
  stale[size_t((first - 1 + n) % n)] = 1;
  stale[size_t(first % n)] = 1;
  RebuildStale(stale);
}

void TView3DScene::MarkReaders(std::vector<char>& stale, int first, int count) const {
  const int n = Sections();
  const TSectionRange range = MeshesReadingSections(*track_, first, count);
  for (int i = 0; i < range.count; ++i) stale[size_t((range.first + i) % n)] = 1;
}

void TView3DScene::Apply(const TTrackChange& change) {
  if (!track_) return;
  if (change.traces || change.traceAt >= 0) return Reset();
  // The meshes to make again, kept in step with the list through the splices.
  std::vector<char> stale(meshes_.size(), 0);
  int firstMoved = std::numeric_limits<int>::max();  // meshes from here on moved to other numbers
  for (const TTrackChange::Splice& splice : change.splices) {
    if (splice.at < 0 || splice.removed < 0 || splice.inserted < 0 || splice.at + splice.removed > Sections())
      return Reset();
    const auto at = ptrdiff_t(splice.at);
    groundStale_ = groundStale_ || splice.removed > 0;
    meshes_.erase(meshes_.begin() + at, meshes_.begin() + at + splice.removed);
    meshes_.insert(meshes_.begin() + at, size_t(splice.inserted), TSectionMesh{});
    coarse_.erase(coarse_.begin() + at, coarse_.begin() + at + splice.removed);
    coarse_.insert(coarse_.begin() + at, size_t(splice.inserted), {});
    costs_.erase(costs_.begin() + at, costs_.begin() + at + splice.removed);
    costs_.insert(costs_.begin() + at, size_t(splice.inserted), TSectionMeshCost{});
    stale.erase(stale.begin() + at, stale.begin() + at + splice.removed);
    stale.insert(stale.begin() + at, size_t(splice.inserted), 1);
    // The sections on either side now meet others.
    if (const int n = Sections(); n > 0) {
      stale[size_t((splice.at - 1 + n) % n)] = 1;
      stale[size_t((splice.at + splice.inserted) % n)] = 1;
    }
    if (splice.removed != splice.inserted) firstMoved = std::min(firstMoved, splice.at);
  }
  // Whatever was missed, the meshes cannot be matched to the sections any more.
  if (Sections() != track_->NumberOfSections()) return Reset();
  if (Sections() == 0) {
    budget_ = TMeshBudget{};
    return dirty_.clear();
  }
  for (int s : change.sections)
    if (s >= 0 && s < Sections()) MarkReaders(stale, s, 1);
  for (int s : change.wallLists)
    if (s >= 0 && s < Sections()) MarkReaders(stale, s, 1);
  if (firstMoved != std::numeric_limits<int>::max()) MarkDirtyFrom(firstMoved);
  RebuildStale(stale);
}

size_t TView3DScene::TriangleCount() const {
  size_t count = 0;
  for (const TSectionMesh& mesh : meshes_) count += mesh.TriangleCount();
  return count;
}

namespace {

// The colour a strip shows from afar: its texture's mean, or the plan's.
TColor FarColor(TMaterial material, bool textured) {
  if (!textured) return MaterialColor(material);
  static const std::array<TColor, 2 * kTextureCount> means = [] {
    std::array<TColor, 2 * kTextureCount> table{};
    for (int marked = 0; marked < 2; ++marked)
      for (int t = 0; t < kTextureCount; ++t) {
        // The levels must outlive the pixel read from the last of them.
        const std::vector<TTextureImage> levels =
            MipLevels(TSurfaceTextures::Shared().Image(TTexture(t), marked != 0));
        const uint8_t* mean = levels.back().Pixel(0, 0);
        table[size_t(TextureLayer(TTexture(t), marked != 0))] = {mean[0], mean[1], mean[2]};
      }
    return table;
  }();
  return means[size_t(TextureLayer(MaterialTexture(material), MaterialMarked(material)))];
}

// A section's strips mixed by their widths.
TColor MeanColor(const TSection& section, bool textured) {
  double sum[3] = {0, 0, 0}, total = 0;
  for (int k = 0; k + 1 < section.NumberOfWalls(); ++k) {
    const TWall &a = *section.Wall(k), &b = *section.Wall(k + 1);
    const double width = std::fabs(double(b.From) - a.From) + std::fabs(double(b.To) - a.To);
    const TColor c = FarColor({FaceOfStrip(a, b), FaceOfStrip(a, b) == TFace::Surface ? a.Surface : 0}, textured);
    sum[0] += c.r * width, sum[1] += c.g * width, sum[2] += c.b * width;
    total += width;
  }
  if (total <= 0) return {128, 128, 128};
  return {uint8_t(sum[0] / total + 0.5), uint8_t(sum[1] / total + 0.5), uint8_t(sum[2] / total + 0.5)};
}

}  // namespace

void TView3DScene::Pack(int firstSection, int count, std::vector<TViewVertex>& vertices,
                        std::vector<uint32_t>& indices, int lod, bool textured) const {
  vertices.clear();
  indices.clear();
  const int last = std::min(Sections(), firstSection + count);
  for (int s = std::max(0, firstSection); s < last; ++s) {
    const TSectionMesh& mesh = lod == 0 ? meshes_[size_t(s)] : coarse_[size_t(s)][size_t(lod - 1)];
    const uint32_t base = uint32_t(vertices.size());
    vertices.resize(vertices.size() + mesh.vertices.size());
    const TColor mean = lod == kLevels - 1 && !mesh.Empty() ? MeanColor(*track_->Section(s), textured) : TColor{};
    for (const TMeshPart& part : mesh.parts) {
      const TMaterial material = TMaterial::Of(part);
      const TTexture texture = MaterialTexture(material);
      // A kerb's stripes count from the section's start already.
      const bool fitted = texture == TTexture::Curbs && part.face == TFace::Surface;
      // The farthest level has one colour, no texture (layer 127).
      const bool far = lod == kLevels - 1;
      const TColor color = far ? mean : MaterialColor(material);
      const uint8_t layer =
          far ? uint8_t(127 + 128) : uint8_t(TextureLayer(texture, MaterialMarked(material)) + (fitted ? 128 : 0));
      for (uint32_t i : part.indices) {
        const TMeshVertex& v = mesh.vertices[i];
        TViewVertex& out = vertices[base + i];
        std::copy(v.position, v.position + 3, out.position);
        std::copy(v.normal, v.normal + 3, out.normal);
        out.uv[0] = fitted ? v.uv[0] : float(double(v.uv[0]) - mesh.alongStart);
        out.uv[1] = v.uv[1];
        out.section = float(s);
        out.color[0] = color.r, out.color[1] = color.g, out.color[2] = color.b;
        out.layer = layer;
        indices.push_back(base + i);
      }
    }
  }
}

std::vector<float> TView3DScene::AlongOffsets() const {
  // Every texture repeats within 16 m.
  constexpr double kRepeat = 16;
  std::vector<float> offsets(size_t(Sections()), 0.0f);
  for (int s = 0; s < Sections() && track_; ++s)
    offsets[size_t(s)] = float(std::fmod(double(uint32_t(track_->Section(s)->Start)) * double(kMetersPerUnit), kRepeat));
  return offsets;
}

void TView3DScene::SetTerrain(std::shared_ptr<const TTerrainSampler> terrain) {
  terrain_ = std::move(terrain);
  groundStale_ = true;
}

const TGroundGrid& TView3DScene::Ground() {
  if (groundStale_) {
    // The mesh's frame is the plan's in metres about the origin, z to the south.
    TGroundGrid::TLand land;
    if (terrain_) {
      const double originX = options_.originX * double(kMetersPerUnit), originY = options_.originY * double(kMetersPerUnit);
      land = [terrain = terrain_, originX, originY](double x, double z, double& height) {
        return terrain->Height(originX + x, originY - z, height) == TTerrainModel::Sample::Ok;
      };
    }
    ground_ = budget_.refusal.empty() ? TGroundGrid::Under(meshes_, land) : TGroundGrid{};
    groundStale_ = false;
    ++groundVersion_;
  }
  return ground_;
}

TBox TView3DScene::ChunkBox(int chunk) const {
  TBox box;
  const int last = std::min(Sections(), (chunk + 1) * kChunkSections);
  for (int s = chunk * kChunkSections; s < last; ++s)
    if (!meshes_[size_t(s)].Empty()) box.Add(meshes_[size_t(s)].lo, meshes_[size_t(s)].hi);
  return box;
}

TBox TView3DScene::Box() const {
  TBox box;
  for (const TSectionMesh& mesh : meshes_)
    if (!mesh.Empty()) box.Add(mesh.lo, mesh.hi);
  return box;
}

namespace {

// Where a ray enters a box (with heights scaled), or infinity when it misses it.
double EnterBox(const float* o, const float* d, const float* lo, const float* hi, float k) {
  double near = 0, far = std::numeric_limits<double>::infinity();
  for (int c = 0; c < 3; ++c) {
    const double scale = c == 1 ? k : 1.0;
    const double a = lo[c] * scale, b = hi[c] * scale;
    if (d[c] == 0) {
      if (o[c] < a || o[c] > b) return std::numeric_limits<double>::infinity();
      continue;
    }
    double t0 = (a - o[c]) / d[c], t1 = (b - o[c]) / d[c];
    if (t0 > t1) std::swap(t0, t1);
    near = std::max(near, t0);
    far = std::min(far, t1);
    if (near > far) return std::numeric_limits<double>::infinity();
  }
  return near;
}

// The distance along the ray to a triangle, or infinity (Moller and Trumbore).
double HitTriangle(const float* o, const float* d, const float* p0, const float* p1, const float* p2, float k) {
  const double a[3] = {p0[0], p0[1] * k, p0[2]}, b[3] = {p1[0], p1[1] * k, p1[2]}, c[3] = {p2[0], p2[1] * k, p2[2]};
  const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  const double p[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2], d[0] * e2[1] - d[1] * e2[0]};
  const double det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
  if (std::fabs(det) < 1e-12) return std::numeric_limits<double>::infinity();
  const double s[3] = {o[0] - a[0], o[1] - a[1], o[2] - a[2]};
  const double u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) / det;
  if (u < 0 || u > 1) return std::numeric_limits<double>::infinity();
  const double q[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2], s[0] * e1[1] - s[1] * e1[0]};
  const double v = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) / det;
  if (v < 0 || u + v > 1) return std::numeric_limits<double>::infinity();
  const double t = (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) / det;
  return t > 0 ? t : std::numeric_limits<double>::infinity();
}

}  // namespace

int TView3DScene::Pick(const float origin[3], const float direction[3], float exaggeration) const {
  int best = -1;
  double nearest = std::numeric_limits<double>::infinity();
  for (int s = 0; s < Sections(); ++s) {
    const TSectionMesh& mesh = meshes_[size_t(s)];
    if (mesh.Empty() || EnterBox(origin, direction, mesh.lo, mesh.hi, exaggeration) >= nearest) continue;
    for (const TMeshPart& part : mesh.parts) {
      for (size_t i = 0; i + 2 < part.indices.size(); i += 3) {
        const double t = HitTriangle(origin, direction, mesh.vertices[part.indices[i]].position,
                                     mesh.vertices[part.indices[i + 1]].position,
                                     mesh.vertices[part.indices[i + 2]].position, exaggeration);
        if (t < nearest) {
          nearest = t;
          best = s;
        }
      }
    }
  }
  return best;
}

}  // namespace meridal
