#pragma once
// The plan view's own settings for a track, kept beside it in NAME.view.json
// (circuit.mrd -> circuit.view.json) so that the track's formats stay as they
// are: the background image traced over, and the terrain model a fitted track
// took its heights from (files/terrain/terrain_origin.h says how the plan lies
// on it; the 3D view draws that ground from it).
//
//   {"background": {"image": "aerial.jpg", "centreX": 0, "centreY": 0,
//                   "unitsPerPixel": 98.4, "rotation": 0, "opacity": 0.5, "visible": true},
//    "terrain": {"model": "hills.tif", "geographic": true, "latitude": 49.43,
//                "longitude": 11.12, "offsetX": 0, "offsetY": 0, "heightOffset": 402.5}}
//
// The image's and the model's paths are stored relative to the track's folder
// when they lie beneath it, so that a folder moved whole keeps them.
#include <cstdint>
#include <optional>
#include <string>

#include "files/terrain/terrain_origin.h"

namespace meridal {

// Where the image lies on the plan: its centre at a world point, a scale in
// track units per image pixel and a turn counter-clockwise, in degrees.
struct TBackgroundPlacement {
  double centreX = 0, centreY = 0;
  double unitsPerPixel = 1;
  double rotation = 0;
  friend bool operator==(const TBackgroundPlacement&, const TBackgroundPlacement&) = default;
};

struct TBackgroundSettings {
  std::string image;  // absolute once read
  TBackgroundPlacement placement;
  double opacity = 0.5;  // 0 .. 1
  bool visible = true;
  friend bool operator==(const TBackgroundSettings&, const TBackgroundSettings&) = default;
};

struct TViewSettings {
  std::optional<TBackgroundSettings> background;
  std::optional<TTerrainLink> terrain;
  friend bool operator==(const TViewSettings&, const TViewSettings&) = default;
};

// The side file of a track file.
std::string ViewFilePath(const std::string& trackPath);

// A side file holds a few numbers and a name; a larger one is not read.
constexpr uint64_t kMaxViewFileBytes = 1024 * 1024;

// Reads the side file of a track; no file: empty settings. Only a regular file
// of at most kMaxViewFileBytes is read (a folder, a named pipe or a device at
// its name is not even opened): anything else, and a file that cannot be read or
// parsed, gives nothing and its reason in `error`. Values out of range are
// brought into it (a scale that is not positive, an opacity beyond 0..1).
std::optional<TViewSettings> ReadViewSettings(const std::string& trackPath, std::string& error);
// Writes the side file as safely as a track is saved (files/safety/safe_file.h),
// or removes it when there is nothing to keep (no background and no terrain);
// false and the reason in `error` when it could not be written or removed. Only
// a regular file (or a link to one) is replaced or removed.
bool WriteViewSettings(const std::string& trackPath, const TViewSettings& settings, std::string& error);

}  // namespace meridal
