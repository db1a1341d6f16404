#include "solve/fit_heights.h"

#include <algorithm>
#include <cmath>

#include "files/terrain/terrain_sampler.h"
#include "model/track.h"
#include "present/format.h"
#include "solve/centreline_fit.h"

namespace meridal {

namespace {

// GPS heights are smoothed over about this many metres: their noise of a few
// metres is not followed, a hill a few hundred metres long is. A section's cubic
// may then stray from the smoothed heights by the tolerance before the section
// is split.
constexpr THeightFitOptions kGpsHeights{.reach = 30.0, .tolerance = 0.1, .slopeTolerance = 0.005};
// A terrain model is smooth already (read bicubically, its slope has no kinks):
// only what is finer than a metre is smoothed away. A longer reach would flatten
// the inside of a hairpin on a hillside, whose trace turns through the ground's
// slope within a few metres; the cubics keep closer.
constexpr double kTerrainReach = 1.0;
constexpr double kTerrainTolerance = 0.03, kTerrainSlopeTolerance = 0.003;
// Samples a trace's heights from a model about every metre, but no more than
// this many over all traces.
constexpr double kMostTerrainSamples = 200000;

}  // namespace

TFitHeights::TFitHeights() = default;
TFitHeights::~TFitHeights() = default;

bool TFitHeights::Prepare(const TCentreline& line, const TFitOptions& options, const std::vector<TSegment>& segments,
                          const TFitPose& start, const std::vector<double>& stations,
                          const std::vector<double>& lateral, double shiftX, double shiftY,
                          std::vector<std::string>& warnings, std::string& error) {
  if (options.terrain.empty()) {
    if (!line.HasHeights() || options.heights == HeightDatum::None) return true;
    std::vector<THeightSample> samples;
    for (size_t i = 0; i < stations.size() && i < line.height.size(); ++i)
      samples.push_back({stations[i], line.height[i]});
    fit_.emplace(segments, std::move(samples), lateral, kGpsHeights);
    return true;
  }
  if (options.heights == HeightDatum::None) {
    error = "a terrain model gives heights, and no heights were asked for";
    return false;
  }
  if (line.geographic && options.terrainOrigin) {
    error = "a terrain origin places a centreline in metres; a lap of latitudes and longitudes is placed by them";
    return false;
  }
  TTerrainLink link;
  link.model = options.terrain;
  link.origin.geographic = line.geographic;
  link.origin.latitude = line.originLatitude;
  link.origin.longitude = line.originLongitude;
  link.origin.offsetX = shiftX + (options.terrainOrigin ? options.terrainOrigin->first : 0.0);
  link.origin.offsetY = shiftY + (options.terrainOrigin ? options.terrainOrigin->second : 0.0);
  std::string why;
  sampler_ = TTerrainSampler::Open(link, why);
  if (!sampler_) {
    error = "the terrain model cannot be used: " + why;
    return false;
  }
  if (line.HasHeights())
    warnings.push_back("heights from the terrain model; the input's own are ignored (a model's heights are above "
                       "the geoid, a GPS height above the ellipsoid)");
  std::vector<std::vector<THeightSample>> samples;
  if (!SampleTerrain(segments, start, lateral, samples, error)) return false;
  fit_.emplace(segments, std::move(samples), lateral,
               THeightFitOptions{.reach = kTerrainReach,
                                 .tolerance = kTerrainTolerance,
                                 .slopeTolerance = kTerrainSlopeTolerance});
  terrain_ = link;
  return true;
}

bool TFitHeights::SampleTerrain(const std::vector<TSegment>& segments, const TFitPose& start,
                                const std::vector<double>& lateral, std::vector<std::vector<THeightSample>>& samples,
                                std::string& error) {
  double total = 0;
  for (const TSegment& s : segments) total += s.length;
  const double step = std::max(1.0, total * double(lateral.size()) / kMostTerrainSamples);
  // Every trace's points along the loop, the zero line's station of each.
  struct Point {
    double station, x, y;
  };
  std::vector<std::vector<Point>> points(lateral.size());
  TFitPose pose = start;
  double first = 0;
  for (const TSegment& segment : segments) {
    for (double along = std::fmod(step - std::fmod(first, step), step); along < segment.length; along += step) {
      const TFitPose at = TChainFit::Along(pose, segment, along);
      for (size_t j = 0; j < lateral.size(); ++j)
        points[j].push_back({first + along, at.x - lateral[j] * std::sin(at.theta), at.y + lateral[j] * std::cos(at.theta)});
    }
    pose = TChainFit::Along(pose, segment, segment.length);
    first += segment.length;
  }
  std::vector<std::pair<double, double>> plan;
  for (const auto& trace : points)
    for (const Point& p : trace) plan.emplace_back(p.x, p.y);
  std::string why;
  if (!sampler_->Read(plan, why)) {
    error = "the terrain model cannot be read: " + why;
    return false;
  }
  samples.assign(lateral.size(), {});
  for (size_t j = 0; j < points.size(); ++j)
    for (const Point& p : points[j]) {
      double height = 0;
      const TTerrainModel::Sample sample = sampler_->Height(p.x, p.y, height);
      if (sample != TTerrainModel::Sample::Ok) {
        error = FormatPrintf("the terrain model has no height at %.1f m along the lap, trace %zu (x %.1f m, y %.1f m): %s",
                             p.station, j, p.x, p.y,
                             sample == TTerrainModel::Sample::Outside ? "outside the model" : "a cell without data");
        return false;
      }
      samples[j].push_back({p.station, height});
    }
  return true;
}

int TFitHeights::Fit(std::vector<TSegment>& segments, double shortest) {
  return fit_ ? fit_->Fit(segments, shortest) : 0;
}

void TFitHeights::Store(TTrack& track, HeightDatum datum, THeightSummary& summary) {
  if (!fit_) return;
  summary.fitted = true;
  summary.lowest = datum == HeightDatum::Relative ? fit_->Lowest() : 0.0;
  fit_->Store(track, summary.lowest);
  const THeightFit::TReport report = fit_->Measure(track, summary.lowest);
  summary.largest = report.largest;
  summary.rms = report.rms;
  summary.greatestSlope = report.greatestSlope;
  summary.smoothedGreatestSlope = fit_->SmoothedGreatestSlope();
  if (terrain_) terrain_->heightOffset = summary.lowest;
}

}  // namespace meridal
