#pragma once
// Where a track's plan lies on a terrain model: enough to find the model's
// height under any point of the plan, kept beside the track (its side file,
// view_file/view_file.h) so that the 3D view can draw the ground the track was
// fitted to.
//
// The plan is in metres, x east and y north (divide track units by
// kUnitsPerMeter). A point (px, py) of the plan lies at (px + offsetX,
// py + offsetY) in a frame that is either
// - geographic: the transverse Mercator about (latitude, longitude) on WGS 84,
//   with unit scale there, in which a GPX or GeoJSON centreline was projected;
// - local: the model's own coordinates (a CSV in metres placed with --dem-origin).
//
// The track's stored heights are the model's less `heightOffset` metres (the
// lowest point of the lap when the heights are relative).
//
// TTerrainSampler (terrain_sampler.h) opens the model from this and gives the
// height under a plan point.
#include <string>

namespace meridal {

struct TTerrainOrigin {
  bool geographic = false;
  double latitude = 0, longitude = 0;  // degrees, when geographic
  double offsetX = 0, offsetY = 0;     // metres
  friend bool operator==(const TTerrainOrigin&, const TTerrainOrigin&) = default;
};

struct TTerrainLink {
  std::string model;  // the model's file, absolute once read from a side file
  TTerrainOrigin origin;
  double heightOffset = 0;  // metres
  friend bool operator==(const TTerrainLink&, const TTerrainLink&) = default;
};

}  // namespace meridal
