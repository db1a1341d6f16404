#include "files/terrain/terrain_sampler.h"

#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/terrain/gdal_session.h"

namespace meridal {

namespace {

// The transverse Mercator in which a GPX or GeoJSON lap was projected.
std::string LocalProjection(const TTerrainOrigin& origin) {
  char text[200];
  std::snprintf(text, sizeof text,
                "+proj=tmerc +lat_0=%.12f +lon_0=%.12f +k=1 +x_0=0 +y_0=0 +datum=WGS84 +units=m +no_defs",
                origin.latitude, origin.longitude);
  return text;
}

// A reference system read from text, with x first whatever its axis order (a
// geographic model's x is the longitude, as its cells are laid out).
OGRSpatialReferenceH Reference(const std::string& text, bool proj) {
  OGRSpatialReferenceH reference = OSRNewSpatialReference(nullptr);
  const OGRErr read = proj ? OSRImportFromProj4(reference, text.c_str()) : OSRSetFromUserInput(reference, text.c_str());
  if (read != OGRERR_NONE) {
    OSRDestroySpatialReference(reference);
    return nullptr;
  }
  OSRSetAxisMappingStrategy(reference, OAMS_TRADITIONAL_GIS_ORDER);
  return reference;
}

}  // namespace

std::unique_ptr<TTerrainSampler> TTerrainSampler::Open(const TTerrainLink& link, std::string& error) {
  std::unique_ptr<TTerrainSampler> sampler(new TTerrainSampler);
  sampler->link_ = link;
  sampler->model_ = TTerrainModel::Open(link.model, error);
  if (!sampler->model_) return nullptr;
  const TTerrainModel& model = *sampler->model_;
  if (!link.origin.geographic) {
    if (model.Geographic()) {
      error = "the model's coordinates are degrees of latitude and longitude: a centreline in metres cannot be "
              "placed on it";
      return nullptr;
    }
    return sampler;
  }
  if (model.Reference().empty()) {
    error = "the model names no reference system: latitudes and longitudes cannot be placed on it";
    return nullptr;
  }
  TGdalSession session;
  OGRSpatialReferenceH from = Reference(LocalProjection(link.origin), true);
  OGRSpatialReferenceH to = Reference(model.Reference(), false);
  if (from && to) sampler->transform_ = OCTNewCoordinateTransformation(from, to);
  if (from) OSRDestroySpatialReference(from);
  if (to) OSRDestroySpatialReference(to);
  if (!sampler->transform_) {
    error = "latitudes and longitudes cannot be mapped into the model's reference system" + session.Reason();
    return nullptr;
  }
  return sampler;
}

TTerrainSampler::~TTerrainSampler() {
  if (transform_) OCTDestroyCoordinateTransformation(static_cast<OGRCoordinateTransformationH>(transform_));
}

bool TTerrainSampler::ToModel(double x, double y, double& modelX, double& modelY) const {
  modelX = x + link_.origin.offsetX;
  modelY = y + link_.origin.offsetY;
  if (!transform_) return std::isfinite(modelX) && std::isfinite(modelY);
  TGdalSession session;
  int ok = 0;
  return OCTTransformEx(static_cast<OGRCoordinateTransformationH>(transform_), 1, &modelX, &modelY, nullptr, &ok) &&
         ok && std::isfinite(modelX) && std::isfinite(modelY);
}

bool TTerrainSampler::Read(const std::vector<std::pair<double, double>>& points, std::string& error) {
  double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  for (const auto& [x, y] : points) {
    double mx = 0, my = 0;
    if (!ToModel(x, y, mx, my)) continue;
    x0 = std::min(x0, mx), y0 = std::min(y0, my), x1 = std::max(x1, mx), y1 = std::max(y1, my);
  }
  if (!(x0 <= x1 && y0 <= y1)) {
    error = "the track cannot be placed on the model";
    return false;
  }
  return model_->ReadWindow(x0, y0, x1, y1, error);
}

TTerrainModel::Sample TTerrainSampler::Height(double x, double y, double& height) const {
  double mx = 0, my = 0;
  if (!ToModel(x, y, mx, my)) return TTerrainModel::Sample::Outside;
  const TTerrainModel::Sample sample = model_->HeightAt(mx, my, height);
  height -= link_.heightOffset;
  return sample;
}

double TTerrainSampler::CellMetres() const {
  // A metre of the plan, east and north, in the model's units.
  double ax = 0, ay = 0, bx = 0, by = 0, cx = 0, cy = 0;
  if (!ToModel(0, 0, ax, ay) || !ToModel(1, 0, bx, by) || !ToModel(0, 1, cx, cy)) return model_->CellSize();
  const double perMetre = (std::hypot(bx - ax, by - ay) + std::hypot(cx - ax, cy - ay)) / 2;
  return perMetre > 0 ? model_->CellSize() / perMetre : model_->CellSize();
}

}  // namespace meridal
