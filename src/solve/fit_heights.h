#pragma once
// The heights of a track fitted to a centreline: from the input's own heights
// (GPX ele, GeoJSON's third coordinate), or sampled from a terrain model under
// each trace, so that the cross-fall comes from the ground; then smoothed and
// fitted as cubics (height_fit.h), relative to the lap's lowest point or in the
// input's datum.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/terrain/terrain_origin.h"
#include "solve/centreline.h"
#include "solve/chain_fit.h"
#include "solve/height_fit.h"

namespace meridal {

class TTerrainSampler;
class TTrack;
struct TFitOptions;

class TFitHeights {
 public:
  TFitHeights();
  ~TFitHeights();

  // Takes the samples along the fitted loop: `segments` from `start`, the
  // input points at `stations`, the traces at `lateral` metres, the plan moved
  // by (shiftX, shiftY) from the input's frame. False and the reason when a
  // terrain model cannot be read or has no height under the track; notes go
  // to `warnings`.
  bool Prepare(const TCentreline& line, const TFitOptions& options, const std::vector<TSegment>& segments,
               const TFitPose& start, const std::vector<double>& stations, const std::vector<double>& lateral,
               double shiftX, double shiftY, std::vector<std::string>& warnings, std::string& error);
  // Whether the track gets heights.
  bool Wanted() const { return fit_.has_value(); }
  // Fits them, splitting segments where a hill needs it; how many splits.
  int Fit(std::vector<TSegment>& segments, double shortest);
  // Stores them in the track built from those segments, and says how they came out.
  void Store(TTrack& track, HeightDatum datum, THeightSummary& summary);
  // The terrain model the heights came from, for the track's side file.
  const std::optional<TTerrainLink>& Terrain() const { return terrain_; }

 private:
  bool SampleTerrain(const std::vector<TSegment>& segments, const TFitPose& start, const std::vector<double>& lateral,
                     std::vector<std::vector<THeightSample>>& samples, std::string& error);

  std::unique_ptr<TTerrainSampler> sampler_;
  std::optional<TTerrainLink> terrain_;
  std::optional<THeightFit> fit_;
};

}  // namespace meridal
