#include "mesh/section_mesh.h"

#include <algorithm>
#include <cmath>

#include "mesh/section_plan.h"
#include "mesh/surface_textures.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr double kMetres = static_cast<double>(kMetersPerUnit);

struct TVec {
  double x = 0, y = 0, z = 0;
};

TVec Cross(const TVec& a, const TVec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(const TVec& a, const TVec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
TVec Unit(const TVec& v) {
  const double length = std::sqrt(Dot(v, v));
  return length > 0 ? TVec{v.x / length, v.y / length, v.z / length} : TVec{0, 1, 0};
}
TPointD UnitOf(TPointD p) {
  const double length = std::hypot(p.x, p.y);
  return length > 0 ? TPointD{p.x / length, p.y / length} : TPointD{0, 0};
}
// A horizontal direction of the plan in the mesh's frame.
TVec Horizontal(TPointD p) { return {p.x, 0, -p.y}; }

// Metres along the zero line from the track's start. Start is kept in 32 bits and
// wraps on a track longer than 2^31 units (109 km, 5,500 sections of 20 m): read
// as unsigned it is right up to twice that.
float AlongMetres(const TSection& section, double t) {
  return float((double(uint32_t(section.Start)) + t * section.Length) * kMetres);
}

// The lateral positions a section's walls reach, at either end.
std::pair<double, double> LateralRange(const TSection& section) {
  double vMin = section.Wall(0)->From, vMax = vMin;
  for (const auto& wall : section.Walls) {
    vMin = std::min({vMin, double(wall->From), double(wall->To)});
    vMax = std::max({vMax, double(wall->From), double(wall->To)});
  }
  return {vMin, vMax};
}

// How far from the plan's origin a surface may lie (track units): twice the
// range of the plan's 32-bit coordinates. Only a damaged section (an arc of
// curvature 1 about a centre on the plan) lies farther, where a float cannot
// tell its points apart.
constexpr double kFarthestReach = 4294967296.0;

// Whether a section gets a mesh at all; `reason` says why not.
bool Meshable(const TSection& section, std::string* reason) {
  const auto plan = TSectionPlan::Of(section, reason);
  if (!plan) return false;
  const int walls = section.NumberOfWalls();
  if (walls < 2) {
    if (reason) *reason = "it has fewer than two walls";
    return false;
  }
  bool wide = false;
  for (int k = 0; k + 1 < walls && !wide; ++k)
    wide = section.Wall(k + 1)->From != section.Wall(k)->From || section.Wall(k + 1)->To != section.Wall(k)->To;
  if (!wide) {
    if (reason) *reason = "its walls enclose no width";
    return false;
  }
  const auto [vMin, vMax] = LateralRange(section);
  if (!(plan->Reach(vMin, vMax) <= kFarthestReach)) {
    if (reason) *reason = "it lies beyond the plan's range";
    return false;
  }
  return true;
}

// The steps along a section at its finest: chords of the plan's lines and of the
// traces' cubics within the tolerance, the cubics' steps no shorter than the
// shortest height step.
double FinestSteps(const TTrack& track, const TSection& section, const TSectionPlan& plan,
                   const TMeshOptions& options) {
  const double tolerance = options.tolerance / kMetres;
  const auto [vMin, vMax] = LateralRange(section);
  // A cubic strays from its chord over a step dt by at most |h''| dt^2 / 8, and
  // h'' = 6 A t + 2 B is largest at an end.
  double bend = 0;
  const int traces = std::min(track.NumberOfTraces(), section.NumberOfAltitudes());
  for (int j = 0; j < traces; ++j) {
    const TAltitude& a = *section.Altitude(j);
    bend = std::max({bend, std::fabs(2.0 * a.SecondOrder), std::fabs(6.0 * a.ThirdOrder + 2.0 * a.SecondOrder)});
  }
  const double heightSteps =
      std::min(std::ceil(std::sqrt(bend / (8.0 * tolerance))),
               std::ceil(plan.LongestLine(vMin, vMax) * kMetres / options.shortestHeightStep));
  return std::max({1.0, double(plan.StepsFor(tolerance, vMin, vMax)), heightSteps});
}

// Whether `section` starts exactly where its predecessor ends: the check reports
// neither a turn nor a gap there.
bool StartsOnPrevious(TSection& section) {
  return section.OrientationMismatch() == 0 && section.LongitudinalGap() == 0 && section.LateralGap() == 0;
}

// The height of the surface at one lateral position of one cross-section, how fast
// it changes along (per unit of t) and across (per track unit).
struct THeight {
  double h = 0, perT = 0, across = 0;
};

// The surface across one cross-section from the traces' heights `h` and their
// rates `rate` (per unit of t) at the lateral positions `p`: linear between
// traces, the nearest trace's beyond them.
THeight InterpolateHeight(const double* p, const double* h, const double* rate, int traces, double v) {
  if (traces == 0) return {};
  const int last = traces - 1;
  if (v <= p[0] || last == 0) {
    THeight out{h[0], rate[0], 0};
    // On the outermost trace the slope is half the one inside (flat outside).
    if (v == p[0] && last > 0 && p[1] > p[0]) out.across = 0.5 * (h[1] - h[0]) / (p[1] - p[0]);
    return out;
  }
  if (v >= p[last]) {
    THeight out{h[last], rate[last], 0};
    if (v == p[last] && p[last] > p[last - 1]) out.across = 0.5 * (h[last] - h[last - 1]) / (p[last] - p[last - 1]);
    return out;
  }
  int j = 0;
  while (j + 1 < last && p[j + 1] <= v) ++j;
  const double width = p[j + 1] - p[j];
  if (width <= 0) return {h[j], rate[j], 0};
  const double w = (v - p[j]) / width;
  THeight out{h[j] + w * (h[j + 1] - h[j]), rate[j] + w * (rate[j + 1] - rate[j]), (h[j + 1] - h[j]) / width};
  if (v == p[j] && j > 0 && p[j] > p[j - 1]) {
    // On an inner trace: the mean of the slopes on either side.
    out.across = 0.5 * (out.across + (h[j] - h[j - 1]) / (p[j] - p[j - 1]));
  }
  return out;
}

// The traces' heights and rates of a section at t.
int TraceHeights(const TTrack& track, const TSection& section, double t, std::vector<double>& positions,
                 std::vector<double>& heights, std::vector<double>& rates) {
  const int traces = std::min(track.NumberOfTraces(), section.NumberOfAltitudes());
  positions.assign(track.Traces.begin(), track.Traces.begin() + traces);
  heights.resize(size_t(traces));
  rates.resize(size_t(traces));
  for (int j = 0; j < traces; ++j) {
    const TAltitude& a = *section.Altitude(j);
    heights[size_t(j)] = a.HeightAt(t);
    rates[size_t(j)] = (3.0 * a.ThirdOrder * t + 2.0 * a.SecondOrder) * t + a.FirstOrder;
  }
  return traces;
}

class TSectionMesher {
 public:
  TSectionMesher(const TTrack& track, int index, const TSectionPlan& plan, const TMeshOptions& options)
      : track_(track), index_(index), section_(*track.Section(index)), plan_(plan), options_(options) {}

  void Build(TSectionMesh& out);

 private:
  void SampleRows();
  THeight HeightAt(int row, double v) const;
  double WallAt(int k, int row) const;
  // The columns of strip k on a row: its walls and the traces between them.
  void Columns(int k, int row, std::vector<double>& columns) const;
  uint32_t Vertex(int row, double v, double lift, const THeight& height, TVec normal, float u, float w);
  TVec SurfaceNormal(int row, double v, const THeight& height) const;
  void Triangle(TMeshPart& part, uint32_t a, uint32_t b, uint32_t c, const TVec& outward);
  TMeshPart& Part(TFace face, int32_t surface);
  void Strip(int k);
  void OneStrip();
  // The surface of strip k raised by `lift`, facing up (or down: a barrier's foot).
  void Surface(int k, double lift, bool down, TMeshPart& part);
  void Side(int wallIndex, double lift, bool leftSide, TMeshPart& part);
  void Cap(int k, int row, double lift, bool atEnd, TMeshPart& part);
  bool BlockGoesOn(int k, bool atEnd) const;

  const TTrack& track_;
  const int index_;
  const TSection& section_;
  const TSectionPlan& plan_;
  const TMeshOptions& options_;
  TSectionMesh* out_ = nullptr;

  int traces_ = 0;
  std::vector<double> tracePositions_;
  int steps_ = 0;
  std::vector<double> t_;
  std::vector<TCrossFrame> own_;     // the section's own cross-sections
  std::vector<TCrossFrame> placed_;  // where the points go: the last row may be the next section's start
  std::vector<double> heights_, rates_;  // per row and trace: h and dh/dt
  bool joinsPrevious_ = false, joinsNext_ = false;
  std::vector<double> columns_, nextColumns_;  // lateral positions of a strip's vertices, of one row
  std::vector<uint32_t> rowStart_;  // where each row of a strip begins among its columns
  std::vector<float> along_;        // the strip's texture coordinate along, per row
  int closing_ = 1;                 // the wall that closes the strip being made
};

double TSectionMesher::WallAt(int k, int row) const {
  const TWall& wall = *section_.Wall(k);
  if (row == steps_) return wall.To;
  return wall.From + t_[row] * (static_cast<double>(wall.To) - wall.From);
}

void TSectionMesher::SampleRows() {
  traces_ = std::min(track_.NumberOfTraces(), section_.NumberOfAltitudes());
  tracePositions_.assign(track_.Traces.begin(), track_.Traces.begin() + traces_);

  steps_ = TSectionMeshCost::Steps(FinestSteps(track_, section_, plan_, options_), options_.stepScale,
                                   options_.maxSteps);

  const int rows = steps_ + 1;
  t_.resize(rows);
  own_.resize(rows);
  heights_.resize(size_t(rows) * traces_);
  rates_.resize(size_t(rows) * traces_);
  std::vector<double> positions, heights, rates;
  for (int i = 0; i < rows; ++i) {
    const double t = i == steps_ ? 1.0 : double(i) / steps_;
    t_[i] = t;
    own_[i] = plan_.Frame(t);
    TraceHeights(track_, section_, t, positions, heights, rates);
    std::copy(heights.begin(), heights.end(), heights_.begin() + ptrdiff_t(i) * traces_);
    std::copy(rates.begin(), rates.end(), rates_.begin() + ptrdiff_t(i) * traces_);
  }
  placed_ = own_;
  const int count = track_.NumberOfSections();
  TSection& next = *track_.Section((index_ + 1) % count);
  TSection& self = *track_.Section(index_);
  joinsNext_ = Meshable(next, nullptr) && StartsOnPrevious(next);
  joinsPrevious_ = Meshable(*track_.Section((index_ + count - 1) % count), nullptr) && StartsOnPrevious(self);
  if (joinsNext_) {
    // The seam: the very points the next section starts with.
    if (auto nextPlan = TSectionPlan::Of(next)) placed_[steps_] = nextPlan->Frame(0.0);
  }
}

THeight TSectionMesher::HeightAt(int row, double v) const {
  return InterpolateHeight(tracePositions_.data(), &heights_[size_t(row) * traces_], &rates_[size_t(row) * traces_],
                           traces_, v);
}

TVec TSectionMesher::SurfaceNormal(int row, double v, const THeight& height) const {
  const TCrossFrame& frame = own_[row];
  const TPointD along = frame.Along(v);
  const double length = std::hypot(along.x, along.y);
  const TPointD a = UnitOf(along), l = UnitOf(frame.lateral);
  const double slopeAlong = length > 0 ? height.perT / length : 0.0;
  const double gx = slopeAlong * a.x + height.across * l.x, gy = slopeAlong * a.y + height.across * l.y;
  return Unit(TVec{-gx, 1.0, gy});  // the plan's (-gx, -gy, 1) in the mesh's frame
}

uint32_t TSectionMesher::Vertex(int row, double v, double lift, const THeight& height, TVec normal, float u,
                               float w) {
  const TPointD p = placed_[row].At(v);
  TMeshVertex vertex;
  vertex.position[0] = float((p.x - options_.originX) * kMetres);
  vertex.position[1] = float((height.h + lift) * kMetres);
  vertex.position[2] = float(-(p.y - options_.originY) * kMetres);
  vertex.normal[0] = float(normal.x);
  vertex.normal[1] = float(normal.y);
  vertex.normal[2] = float(normal.z);
  vertex.uv[0] = u;
  vertex.uv[1] = w;
  out_->vertices.push_back(vertex);
  return uint32_t(out_->vertices.size() - 1);
}

void TSectionMesher::Triangle(TMeshPart& part, uint32_t a, uint32_t b, uint32_t c, const TVec& outward) {
  const auto at = [this](uint32_t i) {
    const float* p = out_->vertices[i].position;
    return TVec{p[0], p[1], p[2]};
  };
  const TVec pa = at(a), pb = at(b), pc = at(c);
  const TVec n = Cross({pb.x - pa.x, pb.y - pa.y, pb.z - pa.z}, {pc.x - pa.x, pc.y - pa.y, pc.z - pa.z});
  const double facing = Dot(n, outward);
  if (facing == 0) return;  // no area, or edge-on to where it should face
  part.indices.push_back(a);
  part.indices.push_back(facing > 0 ? b : c);
  part.indices.push_back(facing > 0 ? c : b);
}

void TSectionMesher::Columns(int k, int row, std::vector<double>& columns) const {
  double lo = WallAt(k, row), hi = WallAt(closing_, row);
  if (hi < lo) std::swap(lo, hi);  // walls out of order, as only a damaged file has them
  columns.clear();
  columns.push_back(lo);
  for (int j = 0; j < traces_ && options_.acrossTraces; ++j)
    if (tracePositions_[j] > lo && tracePositions_[j] < hi) columns.push_back(tracePositions_[j]);
  columns.push_back(hi);
}

TMeshPart& TSectionMesher::Part(TFace face, int32_t surface) {
  std::vector<TMeshPart>& parts = out_->parts;
  const auto key = [](const TMeshPart& p) { return std::pair{p.face, p.surface}; };
  const auto it = std::lower_bound(parts.begin(), parts.end(), std::pair{face, surface},
                                   [&](const TMeshPart& p, const std::pair<TFace, int32_t>& k) { return key(p) < k; });
  if (it != parts.end() && key(*it) == std::pair{face, surface}) return *it;
  return *parts.insert(it, TMeshPart{surface, face, {}});
}

void TSectionMesher::Strip(int k) {
  closing_ = k + 1;
  const TWall &wall = *section_.Wall(k), &next = *section_.Wall(k + 1);
  const TFace face = FaceOfStrip(wall, next);
  // From afar a kerb or a step lies flat.
  const double lift = face == TFace::Surface && !options_.kerbSides ? 0.0 : double(wall.Height);
  // Along, the texture counts metres of the zero line from the start line; a
  // kerb's stripes are fitted to the strip instead, a whole number of pairs to
  // the section, so that they run on across every joint.
  along_.resize(size_t(steps_ + 1));
  const double centre = (double(wall.From) + wall.To + next.From + next.To) / 4;
  const double pair = TextureMetres(TTexture::Curbs);  // a red and a white stripe
  const double pairs = std::max(1.0, std::round(plan_.LongestLine(centre, centre) * kMetres / pair));
  const bool fitted = face == TFace::Surface && TextureOfSurface(wall.Surface) == TTexture::Curbs;
  for (int i = 0; i <= steps_; ++i)
    along_[size_t(i)] = fitted ? float(t_[i] * pairs * pair) : AlongMetres(section_, t_[i]);
  TMeshPart& part = face == TFace::Surface ? Part(face, wall.Surface) : Part(face, 0);
  Surface(k, lift, false, part);
  if (lift == 0) return;
  Side(k, lift, false, part);
  Side(k + 1, lift, true, part);
  // A barrier is a solid: a foot under it, and its ends closed where it ends.
  const bool solid = face != TFace::Surface;
  if (solid && options_.kerbSides) Surface(k, 0, true, part);
  if (!BlockGoesOn(k, false)) Cap(k, 0, lift, false, part);
  if (!BlockGoesOn(k, true)) Cap(k, steps_, lift, true, part);
}

void TSectionMesher::Surface(int k, double lift, bool down, TMeshPart& part) {
  rowStart_.assign(steps_ + 2, 0);
  const uint32_t first = uint32_t(out_->vertices.size());
  columns_.clear();
  for (int i = 0; i <= steps_; ++i) {
    rowStart_[i] = uint32_t(columns_.size());
    Columns(k, i, nextColumns_);
    for (double v : nextColumns_) {
      const THeight height = HeightAt(i, v);
      TVec normal = SurfaceNormal(i, v, height);
      if (down) normal = {-normal.x, -normal.y, -normal.z};
      Vertex(i, v, lift, height, normal, along_[size_t(i)], float(v * kMetres));
      columns_.push_back(v);
    }
  }
  rowStart_[steps_ + 1] = uint32_t(columns_.size());
  // Between two rows, walk both from wall to wall, always stepping on the row whose
  // next column lies nearer across the strip (the rows may hold different traces).
  const auto share = [this](uint32_t row0, uint32_t row1, uint32_t c) {
    const double lo = columns_[row0], width = columns_[row1 - 1] - lo;
    return width > 0 ? (columns_[c] - lo) / width : double(c - row0) / double(row1 - 1 - row0);
  };
  const TVec facing{0, down ? -1.0 : 1.0, 0};
  for (int i = 0; i < steps_; ++i) {
    const uint32_t a0 = rowStart_[i], b0 = rowStart_[i + 1], b1 = rowStart_[i + 2];
    const uint32_t lastA = b0 - 1, lastB = b1 - 1;
    uint32_t a = a0, b = b0;
    while (a < lastA || b < lastB) {
      const bool stepA = b == lastB || (a < lastA && share(a0, b0, a + 1) <= share(b0, b1, b + 1));
      if (stepA) {
        Triangle(part, first + a, first + b, first + a + 1, facing);
        ++a;
      } else {
        Triangle(part, first + a, first + b, first + b + 1, facing);
        ++b;
      }
    }
  }
}

void TSectionMesher::OneStrip() {
  // Of the surface of the widest strip, flat, from the first wall to the last.
  const int last = section_.NumberOfWalls() - 1;
  int32_t surface = section_.Wall(0)->Surface;
  double widest = -1;
  for (int k = 0; k < last; ++k) {
    const TWall &a = *section_.Wall(k), &b = *section_.Wall(k + 1);
    const double width = std::fabs(double(b.From) - a.From) + std::fabs(double(b.To) - a.To);
    if (width > widest) widest = width, surface = a.Surface;
  }
  closing_ = last;
  along_.resize(size_t(steps_ + 1));
  for (int i = 0; i <= steps_; ++i) along_[size_t(i)] = AlongMetres(section_, t_[i]);
  Surface(0, 0, false, Part(TFace::Surface, surface));
  std::erase_if(out_->parts, [](const TMeshPart& part) { return part.indices.empty(); });
}

// One vertical side of a raised strip, along the wall `wallIndex`: the left side
// faces left when the strip stands up, right when it is sunk. Up the side the
// texture counts metres from its foot.
void TSectionMesher::Side(int wallIndex, double lift, bool leftSide, TMeshPart& part) {
  const TWall& wall = *section_.Wall(wallIndex);
  const double sign = (leftSide ? 1.0 : -1.0) * (lift > 0 ? 1.0 : -1.0);
  const float rise = float(std::fabs(lift) * kMetres);
  const uint32_t first = uint32_t(out_->vertices.size());
  for (int i = 0; i <= steps_; ++i) {
    const double v = WallAt(wallIndex, i);
    const TCrossFrame& frame = own_[i];
    // The wall's direction in plan, its lateral drift included.
    const double drift = static_cast<double>(wall.To) - wall.From;
    const TPointD along = frame.Along(v);
    const TPointD direction = UnitOf({along.x + drift * frame.lateral.x, along.y + drift * frame.lateral.y});
    const TVec normal = Horizontal({-direction.y * sign, direction.x * sign});
    const THeight height = HeightAt(i, v);
    Vertex(i, v, 0, height, normal, along_[size_t(i)], 0);
    Vertex(i, v, lift, height, normal, along_[size_t(i)], rise);
  }
  for (int i = 0; i < steps_; ++i) {
    const uint32_t b0 = first + 2 * i, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
    const TVec outward = Horizontal({own_[i].lateral.x * sign, own_[i].lateral.y * sign});
    Triangle(part, b0, b1, t1, outward);
    Triangle(part, b0, t1, t0, outward);
  }
}

// The end of a raised strip across the section's start (or end): it faces back
// (or ahead) when the strip stands up. Across, the texture counts lateral metres;
// up, metres from the foot. A barrier's end closes it as a solid: its corners are
// those of its sides, its top and its foot.
void TSectionMesher::Cap(int k, int row, double lift, bool atEnd, TMeshPart& part) {
  Columns(k, row, columns_);
  const TPointD ahead = UnitOf(own_[row].Along(0));
  const double sign = (atEnd ? 1.0 : -1.0) * (lift > 0 ? 1.0 : -1.0);
  const TVec normal = Horizontal({ahead.x * sign, ahead.y * sign});
  const uint32_t first = uint32_t(out_->vertices.size());
  const float rise = float(std::fabs(lift) * kMetres);
  for (double v : columns_) {
    const THeight height = HeightAt(row, v);
    Vertex(row, v, 0, height, normal, float(v * kMetres), 0);
    Vertex(row, v, lift, height, normal, float(v * kMetres), rise);
  }
  for (uint32_t c = 0; c + 1 < columns_.size(); ++c) {
    const uint32_t b0 = first + 2 * c, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
    Triangle(part, b0, b1, t1, normal);
    Triangle(part, b0, t1, t0, normal);
  }
}

// Whether the neighbour ahead (or behind) carries this strip's block on without a
// step, so that no end is needed between them.
bool TSectionMesher::BlockGoesOn(int k, bool atEnd) const {
  if (!(atEnd ? joinsNext_ : joinsPrevious_)) return false;
  const int count = track_.NumberOfSections();
  const TSection& other = *track_.Section((index_ + (atEnd ? 1 : count - 1)) % count);
  if (other.NumberOfWalls() <= k + 1) return false;
  const TWall &mine = *section_.Wall(k), &mineNext = *section_.Wall(k + 1);
  const TWall &theirs = *other.Wall(k), &theirsNext = *other.Wall(k + 1);
  if (theirs.Height != mine.Height) return false;
  return atEnd ? theirs.From == mine.To && theirsNext.From == mineNext.To
               : theirs.To == mine.From && theirsNext.To == mineNext.From;
}

void TSectionMesher::Build(TSectionMesh& out) {
  out_ = &out;
  SampleRows();
  out.steps = steps_;
  out.alongStart = double(uint32_t(section_.Start)) * kMetres;
  const int strips = section_.NumberOfWalls() - 1;
  if (options_.oneStrip) return OneStrip();
  for (int k = 0; k < strips; ++k) {
    const TWall &a = *section_.Wall(k), &b = *section_.Wall(k + 1);
    if (a.From == b.From && a.To == b.To) continue;  // a strip of no width
    Strip(k);
  }
  std::erase_if(out.parts, [](const TMeshPart& part) { return part.indices.empty(); });
}

}  // namespace

std::optional<TSurfacePoint> SurfacePointAt(const TTrack& track, int index, double t, double lateral) {
  if (index < 0 || index >= track.NumberOfSections()) return std::nullopt;
  const TSection& section = *track.Section(index);
  const auto plan = TSectionPlan::Of(section);
  if (!plan || !Meshable(section, nullptr)) return std::nullopt;
  std::vector<double> positions, heights, rates;
  const int traces = TraceHeights(track, section, t, positions, heights, rates);
  const THeight height = InterpolateHeight(positions.data(), heights.data(), rates.data(), traces, lateral);
  const TCrossFrame frame = plan->Frame(t);
  const TPointD at = frame.At(lateral), along = frame.Along(lateral);
  const double length = std::hypot(along.x, along.y);
  TSurfacePoint point;
  point.x = at.x;
  point.y = at.y;
  point.height = height.h;
  for (int k = 0; k + 1 < section.NumberOfWalls(); ++k) {
    const TWall &a = *section.Wall(k), &b = *section.Wall(k + 1);
    const double lo = a.From + t * (double(a.To) - a.From), hi = b.From + t * (double(b.To) - b.From);
    if (std::min(lo, hi) <= lateral && lateral <= std::max(lo, hi)) {
      point.raised = a.Height;
      break;
    }
  }
  if (length > 0) {
    point.aheadX = along.x / length;
    point.aheadY = along.y / length;
    point.gradient = height.perT / length;
  }
  return point;
}

TFace FaceOfStrip(const TWall& wall, const TWall& next) {
  if (wall.Height < kBarrierHeight) return TFace::Surface;
  const double widest = std::max(std::fabs(double(next.From) - wall.From), std::fabs(double(next.To) - wall.To));
  return widest < kGuardRailWidth ? TFace::GuardRail : TFace::ConcreteWall;
}

int TSectionMeshCost::Steps(double finestSteps, double stepScale, int maxSteps) {
  const double steps = std::ceil(finestSteps * stepScale);
  return steps >= 1 ? int(std::min(steps, double(std::max(1, maxSteps)))) : 1;
}

std::optional<TSectionMeshCost> SectionMeshCost(const TTrack& track, int index, const TMeshOptions& options) {
  if (index < 0 || index >= track.NumberOfSections()) return std::nullopt;
  const TSection& section = *track.Section(index);
  const auto plan = TSectionPlan::Of(section);
  if (!plan || !Meshable(section, nullptr)) return std::nullopt;
  TSectionMeshCost cost;
  cost.finestSteps = FinestSteps(track, section, *plan, options);
  const int traces = std::min(track.NumberOfTraces(), section.NumberOfAltitudes());
  for (int k = 0; k + 1 < section.NumberOfWalls(); ++k) {
    const TWall &a = *section.Wall(k), &b = *section.Wall(k + 1);
    if (a.From == b.From && a.To == b.To) continue;  // a strip of no width has no mesh
    // The most columns a row of the strip can have: its walls and every trace
    // that lies between them at either end.
    const double lo = std::min({double(a.From), double(a.To), double(b.From), double(b.To)});
    const double hi = std::max({double(a.From), double(a.To), double(b.From), double(b.To)});
    size_t columns = 2;
    for (int j = 0; j < traces; ++j) columns += track.Traces[size_t(j)] > lo && track.Traces[size_t(j)] < hi;
    cost.verticesPerRow += columns;
    if (a.Height == 0) continue;
    cost.verticesPerRow += 4;          // its two sides, a bottom and a top vertex each
    cost.fixedVertices += 4 * columns;  // an end across it at either end
    if (FaceOfStrip(a, b) != TFace::Surface) cost.verticesPerRow += columns;  // a barrier's foot
  }
  return cost;
}

size_t TSectionMesh::TriangleCount() const {
  size_t indices = 0;
  for (const TMeshPart& part : parts) indices += part.indices.size();
  return indices / 3;
}

TSectionMesh BuildSectionMesh(const TTrack& track, int index, const TMeshOptions& options, std::string* warning) {
  TSectionMesh mesh;
  if (index < 0 || index >= track.NumberOfSections()) return mesh;
  const TSection& section = *track.Section(index);
  std::string reason;
  const auto plan = TSectionPlan::Of(section, &reason);
  if (!plan || !Meshable(section, &reason)) {
    if (warning) *warning = "Section " + std::to_string(index) + " skipped: " + reason;
    return mesh;
  }
  TSectionMesher(track, index, *plan, options).Build(mesh);
  bool finite = true;
  for (const TMeshVertex& v : mesh.vertices)
    finite = finite && std::isfinite(v.position[0]) && std::isfinite(v.position[1]) && std::isfinite(v.position[2]);
  const char* why = !finite                        ? "its points are not numbers"
                    : mesh.vertices.empty()        ? "its walls enclose no width"
                    : mesh.TriangleCount() == 0    ? "its surface has no area"
                                                   : nullptr;
  if (why) {
    if (warning) *warning = "Section " + std::to_string(index) + " skipped: " + why;
    return TSectionMesh{};
  }
  for (int c = 0; c < 3; ++c) {
    mesh.lo[c] = mesh.hi[c] = mesh.vertices.front().position[c];
    for (const TMeshVertex& v : mesh.vertices) {
      mesh.lo[c] = std::min(mesh.lo[c], v.position[c]);
      mesh.hi[c] = std::max(mesh.hi[c], v.position[c]);
    }
  }
  if (warning) warning->clear();
  return mesh;
}

}  // namespace meridal
