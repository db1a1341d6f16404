#pragma once
// The property list as plain data: one row per value, its caption the value's name
// (the key of GetValue and SetValue), then the present sub-items in column order Value,
// Meaning, Edit, Comment, and an image index into the row badges.
#include <string>
#include <vector>

namespace meridal {

struct PropertyRow {
  std::string Caption;
  std::vector<std::string> SubItems;  // 0 to 4 texts; an empty text counts as present
  int ImageIndex = 0;

  // Editable exactly when the third sub-item (the Edit column) is "yes".
  bool Editable() const { return SubItems.size() >= 3 && SubItems[2] == "yes"; }
  friend bool operator==(const PropertyRow&, const PropertyRow&) = default;
};

using RowList = std::vector<PropertyRow>;

// Row badge images.
enum RowImage : int {
  kRowImageCode = 0,     // type codes and counts
  kRowImageLength = 1,   // stored lengths and positions
  kRowImageCoord = 2,    // curve centre coordinates
  kRowImageAngle = 3,    // stored angles
  kRowImageUnused = 4,
  kRowImageUnknown = 5,  // the walls' Unk values
  kRowImageDerived = 6,  // derived values
};

// Tree node images: normal, selected.
enum NodeImage : int {
  kNodeImageTrack = 0, kNodeImageTrackSelected = 1,
  kNodeImageSection = 2, kNodeImageSectionSelected = 3,
  kNodeImageAltitude = 4, kNodeImageAltitudeSelected = 5,
  kNodeImageWall = 6, kNodeImageWallSelected = 7,
};

}  // namespace meridal
