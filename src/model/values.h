#pragma once
// The values the track's objects hold, as plain structs: what a file stores, and
// the cached geometry derived from it. The objects are made of them, so a copy of
// an object's values, a comparison and putting values back are each one
// assignment. Integers compare as numbers; cached doubles compare bit for bit, so
// that a NaN of degenerate geometry equals itself and a change of sign of zero
// counts as a change.
#include <bit>
#include <cstdint>
#include <vector>

namespace meridal {

// An integer rectangle in track units; top is the largest y, bottom the smallest.
struct TRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPointD {
  double x = 0, y = 0;
  friend bool operator==(const TPointD&, const TPointD&) = default;
};

inline bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }
inline bool SameBits(const TPointD& a, const TPointD& b) { return SameBits(a.x, b.x) && SameBits(a.y, b.y); }

// One trace's cubic height profile over a section, and the trace's point.
struct AltitudeValues {
  int32_t ThirdOrder = 0;     // "3rd order coeff." (A)
  int32_t SecondOrder = 0;    // "2nd order coeff." (B)
  int32_t FirstOrder = 0;     // "1st order coeff." (C)
  int32_t HeightAtStart = 0;  // "Height@Start" (D)
  int32_t A3 = 0;             // 3 * A, the derivative's coefficient
  int32_t B2 = 0;             // 2 * B
  int32_t X = 0;              // trace geometry kept by the section
  int32_t Y = 0;
  friend bool operator==(const AltitudeValues&, const AltitudeValues&) = default;
};

// A wall's corner points, kept by its section: world x/y on a straight (both on
// the start cross-section), radius/angle on a curve.
struct WallPoints {
  TPointD FromPoint;
  TPointD ToPoint;
  friend bool operator==(const WallPoints& a, const WallPoints& b) {
    return SameBits(a.FromPoint, b.FromPoint) && SameBits(a.ToPoint, b.ToPoint);
  }
};

struct WallValues : WallPoints {
  int32_t From = 0;
  int32_t To = 0;
  int32_t Surface = 0;
  int32_t Unk1 = 0;
  int32_t Height = 0;
  int32_t Unk2 = 0;
  int32_t Unk3 = 0;
  int32_t Unk4 = 0;
  friend bool operator==(const WallValues&, const WallValues&) = default;
};

// A section's geometry, derived from its stored values by the recompute steps.
struct SectionGeometry {
  double Radius = 0;            // curved: signed radius of the zero line
  double BaseX = 0, BaseY = 0;  // straight: start of the zero line
  double SpanX = 0, SpanY = 0;  // straight: start-to-end vector
  double StartAngle = 0;        // curved: 3pi/2 + heading
  TRect Extent;
  friend bool operator==(const SectionGeometry& a, const SectionGeometry& b) {
    return SameBits(a.Radius, b.Radius) && SameBits(a.BaseX, b.BaseX) && SameBits(a.BaseY, b.BaseY) &&
           SameBits(a.SpanX, b.SpanX) && SameBits(a.SpanY, b.SpanY) && SameBits(a.StartAngle, b.StartAngle) &&
           a.Extent == b.Extent;
  }
};

// A section's own values, without its altitudes and walls.
struct SectionValues : SectionGeometry {
  int32_t Type = 0;
  int32_t Start = 0;   // distance from the track start; recomputed, never read
  int32_t Length = 0;  // at least 1
  int32_t Orientation = 0;
  int32_t Reserved = 0;
  // Straight: the heading as a 2.30 rotation. Curved: CurveCenterX, CurveCenterY,
  // Curvature and two filler words.
  int32_t ExportWords[5] = {0, 0, 0, 0, 0};
  int32_t FirstAltitude = 0;
  int32_t FirstWall = 0;
  friend bool operator==(const SectionValues&, const SectionValues&) = default;
};

// The track's own values.
struct TrackValues {
  int32_t Length = 0;
  std::vector<int32_t> Traces;   // strictly increasing lateral positions
  int32_t WallTableSize = 0;     // 32 * all walls
  int32_t SectionTableSize = 0;  // 52 * sections
  TRect Extent;
  friend bool operator==(const TrackValues&, const TrackValues&) = default;
};

}  // namespace meridal
