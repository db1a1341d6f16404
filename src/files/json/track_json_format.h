#pragma once
// The JSON form of a track (*.json): a text for version control and review. Every
// number is the exact stored integer (track units, binary angles), the keys come
// in a fixed order, and the layout puts one section's own values on the line that
// begins it and one wall or one altitude on each line, so that changing one value
// changes one line of a diff:
//
// {
//   "format": "meridal-track",
//   "version": 1,
//   "traces": [-98425, 98425],
//   "sections": [
//     {"type": "straight", "length": 984252, "orientation": 0,
//       "walls": [
//         {"from": -98425, "to": -98425, "surface": 1, "unk1": 0, "height": 0, "unk2": 0, "unk3": 0, "unk4": 0},
//         ...
//       ],
//       "altitudes": [
//         {"thirdOrderCoeff": 0, "secondOrderCoeff": 0, "firstOrderCoeff": 0, "heightAtStart": 0, "x": 0, "y": -98425},
//         ...
//       ]}
//   ]
// }
//
// A curved section adds "curveCenterX", "curveCenterY" and "curvature" after its
// orientation. "type" is "straight" or "curved"; a type word other than 1 or 2
// (which a project file may hold, read by its low byte) is written as the integer
// itself so that it comes back unchanged. An altitude's "a3" and "b2" are written
// only when they differ from 3 x and 2 x its coefficients, which only a track file
// or a value set by name can make; left out, they are derived again. A straight's
// place is in its altitudes' "x" and "y", an arc's trace radii in their "x".
#include <cstddef>

namespace meridal {

inline constexpr char kJsonFormatName[] = "meridal-track";
constexpr int kJsonVersion = 1;

inline constexpr const char* kJsonWallKeys[8] = {"from", "to", "surface", "unk1",
                                                 "height", "unk2", "unk3", "unk4"};
// In the order they are written; a3 and b2 are the optional ones.
inline constexpr const char* kJsonAltitudeKeys[8] = {"thirdOrderCoeff", "secondOrderCoeff", "firstOrderCoeff",
                                                     "heightAtStart", "a3", "b2", "x", "y"};
constexpr int kJsonA3 = 4, kJsonB2 = 5;

}  // namespace meridal
