#pragma once
// The View options handed to every drawing operation as one bit set. The bit
// values do not follow the menu order.
#include <cstdint>

namespace meridal {

enum ViewFlag : int32_t {
  kViewTraces = 1,              // "&Traces": trace lines and the line across each start
  kViewZeroLine = 2,            // "&Zero Line"
  kViewWallOutline = 4,         // "&Wall Outline": strip edges black, not in the strip colour
  kViewSFLine = 8,              // "&S/F Line": the start/finish marker
  kViewShowNonZeroHeight = 16,  // red "///" hatch on strips whose wall has Height != 0
  kViewShowNonZeroUnk1 = 32,    // green "\\\" hatch on strips whose wall has Unk1 != 0
  kViewAll = 63,                // every option on, as at start-up
};

}  // namespace meridal
