#include "ui/view3d/view3d_scene.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphics/drawing_style.h"
#include "history/track_change.h"
#include "mesh/track_mesh.h"
#include "model/track.h"

namespace meridal {

void TBox::Add(const float* lo3, const float* hi3) {
  for (int c = 0; c < 3; ++c) {
    lo[c] = empty ? lo3[c] : std::min(lo[c], lo3[c]);
    hi[c] = empty ? hi3[c] : std::max(hi[c], hi3[c]);
  }
  empty = false;
}

void TView3DScene::SetTrack(const TTrack* track) {
  track_ = track;
  Reset();
}

void TView3DScene::Reset() {
  meshes_.clear();
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
  costs_.resize(meshes_.size());
  RebuildStale(std::vector<char>(meshes_.size(), 1));
}

void TView3DScene::RebuildAll() {
  for (int s = 0; s < Sections(); ++s) {
    // A refused track keeps no mesh at all.
    meshes_[size_t(s)] = budget_.refusal.empty() ? BuildSectionMesh(*track_, s, options_) : TSectionMesh{};
  }
  dirty_.assign(size_t(Chunks()), true);
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
    meshes_[size_t(s)] = BuildSectionMesh(*track_, s, options_);
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
  costs_.erase(costs_.begin() + first, costs_.begin() + first + count);
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
    meshes_.erase(meshes_.begin() + at, meshes_.begin() + at + splice.removed);
    meshes_.insert(meshes_.begin() + at, size_t(splice.inserted), TSectionMesh{});
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

void TView3DScene::Pack(int firstSection, int count, std::vector<TViewVertex>& vertices,
                        std::vector<uint32_t>& indices) const {
  vertices.clear();
  indices.clear();
  const int last = std::min(Sections(), firstSection + count);
  for (int s = std::max(0, firstSection); s < last; ++s) {
    const TSectionMesh& mesh = meshes_[size_t(s)];
    const uint32_t base = uint32_t(vertices.size());
    vertices.resize(vertices.size() + mesh.vertices.size());
    TViewVertex* out = vertices.data() + base;
    for (const TMeshVertex& v : mesh.vertices) {
      std::copy(v.position, v.position + 3, out->position);
      std::copy(v.normal, v.normal + 3, out->normal);
      ++out;
    }
    for (const TMeshPart& part : mesh.parts) {
      const TColor color = MaterialColor(TMaterial::Of(part));
      for (uint32_t i : part.indices) {
        uint8_t* c = vertices[base + i].color;
        c[0] = color.r, c[1] = color.g, c[2] = color.b, c[3] = 255;
        indices.push_back(base + i);
      }
    }
  }
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
