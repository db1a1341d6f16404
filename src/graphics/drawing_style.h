#pragma once
// The colours and pen widths of the track drawing. Every drawing operation starts
// from, and leaves behind, a black pen 1 pixel wide and a white solid brush.
#include "platform/canvas.h"

namespace meridal::style {

inline constexpr TColor kBlack{0, 0, 0};
inline constexpr TColor kWhite{255, 255, 255};
inline constexpr TColor kRed{255, 0, 0};
inline constexpr TColor kGreen{0, 255, 0};
inline constexpr TColor kBlue{0, 0, 255};
inline constexpr TColor kYellow{255, 255, 0};
inline constexpr TColor kOrange{255, 127, 0};
inline constexpr TColor kCyan{0, 255, 255};

inline constexpr TColor kTraceColor = kBlue;            // trace lines, line across the start
inline constexpr TColor kZeroLineColor = kWhite;
inline constexpr TColor kFlagHatchColor = kYellow;      // Surface of 2048 and above
inline constexpr TColor kHeightHatchColor = kRed;
inline constexpr TColor kUnk1HatchColor = kGreen;
inline constexpr TColor kStartFinishColor = kRed;
inline constexpr TColor kSectionHighlightColor = kRed;
inline constexpr TColor kWallHighlightColor = kOrange;
inline constexpr TColor kTraceHighlightColor = kCyan;

inline constexpr int kStartFinishWidth = 5;
inline constexpr int kHighlightWidth = 3;  // section and wall strip highlights

}  // namespace meridal::style

namespace meridal {

// The fill colour of a strip of this surface code (what SurfaceColor gives a wall).
TColor SurfaceFillColor(int32_t surface);

}  // namespace meridal
