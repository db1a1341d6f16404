#pragma once
// Latitude and longitude to local plan metres: a transverse Mercator projection
// on the WGS 84 ellipsoid whose central meridian runs through the origin, with
// unit scale there. It is conformal, so shapes and angles keep, and within 20 km
// of the origin distances are true to a few centimetres.
namespace meridal {

class TLocalProjection {
 public:
  TLocalProjection(double originLatitude, double originLongitude);
  // East and north of the origin, in metres.
  void Forward(double latitude, double longitude, double& x, double& y) const;
  // The latitude and longitude of a point east and north of the origin.
  void Reverse(double x, double y, double& latitude, double& longitude) const;

 private:
  double longitude0_ = 0, northing0_ = 0;
};

}  // namespace meridal
