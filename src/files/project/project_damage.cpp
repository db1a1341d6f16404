#include "files/project/project_damage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/project/project_format.h"
#include "files/safety/byte_order.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {


constexpr char kFillerDamage[] = "damaged record (its filler words are wrong)";

// The words of a record that hold fillers, in the order they were drawn.
struct FillerWords {
  int positions[16];
  int count = 0;
};

FillerWords SectionFillers(const SectionRecordLayout& layout) {
  bool field[16] = {};
  field[0] = true;
  for (int k : {layout.length, layout.orientation, layout.centerX, layout.centerY, layout.curvature,
                layout.firstAltitude, layout.numberOfWalls, layout.firstWall})
    if (k >= 0) field[k] = true;
  FillerWords f;
  for (int k = 0; k < 16; ++k)
    if (!field[k]) f.positions[f.count++] = k;
  return f;
}

const FillerWords kStraightFillers = SectionFillers(kStraightRecord);
const FillerWords kCurvedFillers = SectionFillers(kCurvedRecord);
constexpr int kAltitudeFillers[2] = {2, 5};
constexpr int kWallFillers[8] = {1, 3, 5, 7, 9, 11, 13, 15};
constexpr int kHeaderFillers[6] = {0, 1, 3, 4, 6, 7};

// The median of a few values (the traces of a section), reordering them.
double Median(double* v, int count) {
  std::nth_element(v, v + count / 2, v + count);
  return v[count / 2];
}

}  // namespace

bool TProjectDamage::FillersFollow(const int32_t* words, const int* positions, int count) {
  int32_t expected[16];
  run_->Fill(expected, static_cast<size_t>(count));
  bool same = true;
  for (int k = 0; k < count; ++k) same = same && words[positions[k]] == expected[k];
  return same;
}

void TProjectDamage::CheckHead(const int32_t header[8], const int32_t traceList[32], int traces) {
  // The head's groups in the order they were written, with their fillers.
  struct Group {
    const int32_t* words;
    int positions[8];
    int count = 0;
  };
  Group groups[5];
  groups[0].words = header;
  for (int k : kHeaderFillers) groups[0].positions[groups[0].count++] = k;
  for (int g = 0; g < 4; ++g) {
    Group& group = groups[g + 1];
    group.words = traceList + 8 * g;
    for (int e = 0; e < 4; ++e) {
      if (4 * g + e >= traces) group.positions[group.count++] = 2 * e;
      group.positions[group.count++] = 2 * e + 1;
    }
  }
  // The run is found from the first group whose fillers show one; a damaged
  // group before it is then found damaged like any other.
  size_t drawsBefore = 0;
  for (const Group& group : groups) {
    int32_t fillers[8];
    for (int k = 0; k < group.count; ++k) fillers[k] = group.words[group.positions[k]];
    if (auto state = TFiller::StateBefore(fillers, static_cast<size_t>(group.count))) {
      run_.emplace(TFiller::Rewind(*state, drawsBefore));
      break;
    }
    drawsBefore += 2 * static_cast<size_t>(group.count);
  }
  if (!run_) return;  // not written by this generator: the fillers tell nothing
  for (int g = 0; g < 5; ++g)
    if (!FillersFollow(groups[g].words, groups[g].positions, groups[g].count))
      lines_.push_back(ReaderText("%s: %s", g == 0 ? "Header" : "Trace list", kFillerDamage));
}

void TProjectDamage::CheckSection(int index, const int32_t record[16], const uint8_t* altitudes,
                                  const uint8_t* walls, const TSection& section) {
  const int traces = std::min(section.NumberOfAltitudes(), kStoredTraces);
  Traces intact;
  intact.fill(true);
  bool recordIntact = true;
  if (run_) {
    const FillerWords& fillers = section.IsCurved() ? kCurvedFillers : kStraightFillers;
    recordIntact = FillersFollow(record, fillers.positions, fillers.count);
    if (!recordIntact) lines_.push_back(ReaderText("Section %d: %s", index, kFillerDamage));
    for (int i = 0; i < traces; ++i) {
      int32_t w[8];
      LoadWordsLE(altitudes + kAltitudeRecordBytes * static_cast<size_t>(i), w, 8);
      intact[static_cast<size_t>(i)] = FillersFollow(w, kAltitudeFillers, 2);
    }
  }
  // A damaged section record leaves the heading the points are judged by in doubt.
  Traces reported{};
  if (recordIntact) CheckTracePoints(index, section, intact, reported);
  for (int i = 0; i < traces; ++i)
    if (!intact[static_cast<size_t>(i)] && !reported[static_cast<size_t>(i)])
      lines_.push_back(ReaderText("Section %d, altitude %d: %s", index, i, kFillerDamage));
  if (!run_) return;
  for (int j = 0; j < section.NumberOfWalls(); ++j) {
    int32_t w[16];
    LoadWordsLE(walls + kWallRecordBytes * static_cast<size_t>(j), w, 16);
    if (!FillersFollow(w, kWallFillers, 8)) lines_.push_back(ReaderText("Section %d, wall %d: %s", index, j, kFillerDamage));
  }
}

void TProjectDamage::CheckTracePoints(int index, const TSection& section, const Traces& intact, Traces& reported) {
  const int traces = section.NumberOfAltitudes();
  const TTrack* track = section.Track();
  if (traces == 0 || traces > kStoredTraces || track == nullptr || track->NumberOfTraces() != traces) return;
  // The traces the section is judged by: those whose records are intact, when
  // the fillers tell (all of them otherwise).
  int judges[kStoredTraces], judged = 0;
  for (int i = 0; i < traces; ++i)
    if (intact[static_cast<size_t>(i)]) judges[judged++] = i;
  if (judged == 0)
    for (int i = 0; i < traces; ++i) judges[judged++] = i;
  auto report = [&](int i, int32_t x, int32_t y) {
    const TAltitude& a = *section.Altitude(i);
    lines_.push_back(ReaderText("Section %d, altitude %d: its trace point (%d, %d) is not where the section puts it (%d, %d)",
                          index, i, a.X, a.Y, x, y));
    reported[static_cast<size_t>(i)] = true;
  };

  if (section.IsCurved()) {
    // Every trace keeps the same radius of the zero line, X + its lateral position:
    // the one most judges agree on, or the first judge's (trace 0's unless its
    // record is damaged: it is the one the arc is placed by).
    int32_t radius[kStoredTraces];
    for (int i = 0; i < traces; ++i) radius[i] = wrapAdd(section.Altitude(i)->X, track->Traces[static_cast<size_t>(i)]);
    int32_t zero = radius[judges[0]];
    for (int j = 0; j < judged; ++j) {
      int agree = 0;
      for (int k = 0; k < judged; ++k) agree += radius[judges[k]] == radius[judges[j]];
      if (2 * agree > judged) zero = radius[judges[j]];
    }
    for (int i = 0; i < traces; ++i)
      if (radius[i] != zero || section.Altitude(i)->Y != kCurveFiller)
        report(i, wrapSub(zero, track->Traces[static_cast<size_t>(i)]), kCurveFiller);
    return;
  }
  if (traces < 2) return;  // one point places the straight and tells nothing more
  // Each point less its lateral offset gives the start of the zero line; they must
  // agree. The points were rounded to whole units from one start, and reading
  // derives the start from the outer two, which scales their rounding by how far
  // the traces lie from the zero line against how far apart they are.
  const double theta = OrientationToRadians(section.Orientation);
  const double sine = std::sin(theta), cosine = std::cos(theta);
  double bx[kStoredTraces], by[kStoredTraces];
  for (int i = 0; i < traces; ++i) {
    const double t = track->Traces[static_cast<size_t>(i)];
    bx[i] = section.Altitude(i)->X + t * sine;
    by[i] = section.Altitude(i)->Y - t * cosine;
  }
  const double first = track->Traces.front(), last = track->Traces[static_cast<size_t>(traces) - 1];
  const double tolerance = 2.0 + (std::fabs(first) + std::fabs(last)) / std::max(std::fabs(last - first), 1.0);
  // Where every point agrees with every other, there is nothing to find.
  const auto [xLow, xHigh] = std::minmax_element(bx, bx + traces);
  const auto [yLow, yHigh] = std::minmax_element(by, by + traces);
  if (*xHigh - *xLow <= tolerance && *yHigh - *yLow <= tolerance) return;
  double jx[kStoredTraces], jy[kStoredTraces];
  for (int j = 0; j < judged; ++j) {
    jx[j] = bx[judges[j]];
    jy[j] = by[judges[j]];
  }
  const double x0 = judged > 2 ? Median(jx, judged) : jx[0], y0 = judged > 2 ? Median(jy, judged) : jy[0];
  for (int i = 0; i < traces; ++i) {
    if (std::fabs(bx[i] - x0) <= tolerance && std::fabs(by[i] - y0) <= tolerance) continue;
    const double t = track->Traces[static_cast<size_t>(i)];
    report(i, nearest(x0 - t * sine), nearest(y0 + t * cosine));
  }
}

}  // namespace meridal
