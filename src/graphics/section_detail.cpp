#include "graphics/section_detail.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "graphics/drawing_style.h"
#include "graphics/scale_draw.h"
#include "graphics/section_painter.h"
#include "graphics/view_flags.h"
#include "model/section.h"

namespace meridal {

void PolylineBatch::Add(const TPoint* points, int count) {
  if (pointCount_ + count > kPoints || paths_ == kPaths) Flush();
  if (count > kPoints) {  // longer than any line of a section; drawn on its own
    canvas_.Polyline(points, count);
    return;
  }
  for (int i = 0; i < count; ++i) points_[pointCount_ + i] = points[i];  // a line or two: no call to copy
  pointCount_ += count;
  sizes_[paths_++] = count;
}

void PolylineBatch::Flush() {
  if (paths_ > 0) canvas_.Polylines(points_, sizes_, paths_);
  pointCount_ = paths_ = 0;
}

TColor StripPen(const TWall& wall, int viewFlags) {
  return (viewFlags & kViewWallOutline) ? style::kBlack : SurfaceColor(wall);
}

// ---- a section inside one pixel ----

bool InOnePixel(const TScaleDraw& view, const TRect& box) {
  return view.ToWindowX(box.left) == view.ToWindowX(box.right) && view.ToWindowY(box.top) == view.ToWindowY(box.bottom);
}

template <class Paths>
void DrawAsOnePixel(const TSection& section, const Paths& paths, ICanvas& canvas, int viewFlags) {
  // Every part lands on the one pixel; the full drawing ends with the zero line,
  // before it the traces, before them the black outline.
  PixelPath last;
  if (viewFlags & kViewZeroLine) {
    canvas.SetPenColor(style::kZeroLineColor);
    paths.ZeroLine(last);
  } else if ((viewFlags & kViewTraces) && section.NumberOfAltitudes() > 0) {
    canvas.SetPenColor(style::kTraceColor);
    paths.TraceLine(0, last);
  } else if (section.NumberOfWalls() > 0) {
    paths.Outline(0, section.NumberOfWalls() - 1, last);
  }
  canvas.Polyline(last.data(), last.size());
  canvas.SetPenColor(style::kBlack);
}

// ---- a section of thin strips ----

template <class Paths>
bool AllStripsThin(const TSection& section, const Paths& paths) {
  if (section.NumberOfWalls() < 2) return false;  // no strips to judge by
  for (int i = 0; i + 1 < section.NumberOfWalls(); ++i)
    if (!paths.StripNarrowerThan(i, kThinStrip)) return false;
  return true;
}

namespace {

// Equal for segments on the same pixels: the same ends, either way round, each
// coordinate in 16 bits. Segments reaching further out (a section partly in
// view at a high zoom) get no key and are always drawn.
constexpr uint64_t kNoKey = 0;

uint64_t PixelKey(TPoint a, TPoint b) {
  const auto fits = [](TPoint p) { return p.x >= -32767 && p.x <= 32767 && p.y >= -32767 && p.y <= 32767; };
  if (!fits(a) || !fits(b)) return kNoKey;
  const auto pack = [](TPoint p) {
    return static_cast<uint64_t>(static_cast<uint16_t>(p.x + 32768)) << 16 | static_cast<uint16_t>(p.y + 32768);
  };
  const uint64_t ka = pack(a), kb = pack(b);  // neither is 0: coordinates start at -32767
  return ka < kb ? ka << 32 | kb : kb << 32 | ka;
}

// The 1-pixel lines of a section in drawing order, each a segment with its pen;
// reused from section to section, as a repaint draws thousands of sections.
class SectionLines {
 public:
  void Clear() { segments_.clear(); }
  void Add(const PixelPath& path, TColor pen) {
    for (int k = 1; k < path.size(); ++k)
      segments_.push_back(Segment{path[k - 1], path[k], pen, PixelKey(path[k - 1], path[k]), false});
  }

  // Walking back from the last segment, one whose key was seen already is
  // covered by a later one. The table's slots count as empty unless stamped
  // with this section's generation, so it is never cleared.
  void MarkCovered() {
    size_t capacity = 64;
    while (capacity < 2 * segments_.size()) capacity *= 2;
    if (capacity > keys_.size() || ++generation_ == 0) {
      keys_.assign(std::max(capacity, keys_.size()), kNoKey);
      stamps_.assign(keys_.size(), 0);
      generation_ = 1;
    }
    const size_t mask = capacity - 1;
    for (size_t i = segments_.size(); i-- > 0;) {
      const uint64_t key = segments_[i].key;
      if (key == kNoKey) continue;
      size_t slot = (key * 0x9E3779B97F4A7C15ull) >> 40 & mask;
      while (stamps_[slot] == generation_ && keys_[slot] != key) slot = (slot + 1) & mask;
      if (stamps_[slot] == generation_) {
        segments_[i].covered = true;
      } else {
        stamps_[slot] = generation_;
        keys_[slot] = key;
      }
    }
  }

  // The segments not covered, in order, a batch per run of one pen.
  void Draw(ICanvas& canvas) const {
    PolylineBatch batch(canvas);
    TColor pen = style::kBlack;  // as every drawing operation leaves it
    for (const Segment& s : segments_) {
      if (s.covered) continue;
      if (!(s.pen == pen)) {
        batch.Flush();
        pen = s.pen;
        canvas.SetPenColor(pen);
      }
      const TPoint ends[2] = {s.a, s.b};
      batch.Add(ends, 2);
    }
    batch.Flush();
    if (!(pen == style::kBlack)) canvas.SetPenColor(style::kBlack);
  }

 private:
  struct Segment {
    TPoint a, b;
    TColor pen;
    uint64_t key;
    bool covered;
  };
  std::vector<Segment> segments_;
  std::vector<uint64_t> keys_;
  std::vector<uint32_t> stamps_;
  uint32_t generation_ = 0;
};

// The section's lines in the order the full drawing puts them on the canvas.
template <class Paths>
void GatherLines(const TSection& section, const Paths& paths, int viewFlags, SectionLines& out) {
  const int walls = section.NumberOfWalls();
  PixelPath first, buffers[2];
  paths.WallLine(0, first);
  const PixelPath* line = &first;
  for (int i = 0; i + 1 < walls; ++i) {
    PixelPath& next = buffers[i & 1];
    paths.WallLine(i + 1, next);
    // Two walls on the same pixels: the later line covers this one anyway.
    if (!(next == *line)) out.Add(*line, StripPen(*section.Wall(i), viewFlags));
    line = &next;
  }
  PixelPath outline;
  paths.Outline(first, *line, outline);
  out.Add(outline, style::kBlack);
  const int traces = section.NumberOfAltitudes();
  if ((viewFlags & kViewTraces) && traces > 0) {
    TPoint start{}, end{};
    const PixelPath* previous = nullptr;
    for (int j = 0; j < traces; ++j) {
      PixelPath& trace = buffers[j & 1];
      paths.TraceLine(j, trace);
      if (j == 0) start = trace.front();
      end = trace.front();
      if (previous == nullptr || !(trace == *previous)) out.Add(trace, style::kTraceColor);  // a repeat adds nothing
      previous = &trace;
    }
    out.Add(PixelPath{start, end}, style::kTraceColor);  // across the start
  }
  if (viewFlags & kViewZeroLine) {
    PixelPath zero;
    paths.ZeroLine(zero);
    out.Add(zero, style::kZeroLineColor);
  }
}

}  // namespace

template <class Paths>
void DrawThinSection(const TSection& section, const Paths& paths, ICanvas& canvas, int viewFlags) {
  thread_local SectionLines lines;
  lines.Clear();
  GatherLines(section, paths, viewFlags, lines);
  lines.MarkCovered();
  lines.Draw(canvas);
}

template void DrawAsOnePixel(const TSection&, const StraightPaths&, ICanvas&, int);
template void DrawAsOnePixel(const TSection&, const CurvedPaths&, ICanvas&, int);
template bool AllStripsThin(const TSection&, const StraightPaths&);
template bool AllStripsThin(const TSection&, const CurvedPaths&);
template void DrawThinSection(const TSection&, const StraightPaths&, ICanvas&, int);
template void DrawThinSection(const TSection&, const CurvedPaths&, ICanvas&, int);

}  // namespace meridal
