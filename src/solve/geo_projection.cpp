#include "solve/geo_projection.h"

#include <GeographicLib/TransverseMercator.hpp>

namespace meridal {

namespace {

const GeographicLib::TransverseMercator& Projection() {
  static const GeographicLib::TransverseMercator projection(GeographicLib::Constants::WGS84_a(),
                                                            GeographicLib::Constants::WGS84_f(), 1.0);
  return projection;
}

}  // namespace

TLocalProjection::TLocalProjection(double originLatitude, double originLongitude) : longitude0_(originLongitude) {
  double x = 0;
  Projection().Forward(longitude0_, originLatitude, originLongitude, x, northing0_);
}

void TLocalProjection::Forward(double latitude, double longitude, double& x, double& y) const {
  double northing = 0;
  Projection().Forward(longitude0_, latitude, longitude, x, northing);
  y = northing - northing0_;
}

void TLocalProjection::Reverse(double x, double y, double& latitude, double& longitude) const {
  Projection().Reverse(longitude0_, x, y + northing0_, latitude, longitude);
}

}  // namespace meridal
