#pragma once
// Terrain models made by the tests themselves with GDAL: a GeoTIFF of heights
// in UTM zone 32 north (EPSG:32632) from a function of easting and northing.
#include <gdal.h>
#include <ogr_srs_api.h>

#include <functional>
#include <string>
#include <vector>

namespace meridal::testing {

// Easting and northing in UTM zone 32 north of a latitude and longitude (WGS 84).
inline void ToUtm32(double latitude, double longitude, double& east, double& north) {
  static const OGRCoordinateTransformationH transform = [] {
    GDALAllRegister();
    OGRSpatialReferenceH wgs = OSRNewSpatialReference(nullptr), utm = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(wgs, 4326);
    OSRImportFromEPSG(utm, 32632);
    OSRSetAxisMappingStrategy(wgs, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
    // The transformation keeps copies of the two references.
    const OGRCoordinateTransformationH made = OCTNewCoordinateTransformation(wgs, utm);  // kept for the test's run
    OSRDestroySpatialReference(wgs);
    OSRDestroySpatialReference(utm);
    return made;
  }();
  east = longitude;
  north = latitude;
  OCTTransform(transform, 1, &east, &north, nullptr);
}

// A float GeoTIFF of `columns` by `rows` cells of `cell` metres whose top-left
// corner is (west, north), each cell the height at its centre; a cell where
// `hole` is true holds the no-data value -9999. `options` are GDAL's creation
// options for the GeoTIFF (tiles, compression), null-terminated.
inline bool WriteUtmModel(const std::string& path, double west, double north, double cell, int columns, int rows,
                          const std::function<double(double, double)>& height,
                          const std::function<bool(double, double)>& hole = nullptr,
                          const char* const* options = nullptr) {
  GDALAllRegister();
  GDALDriverH driver = GDALGetDriverByName("GTiff");
  GDALDatasetH dataset =
      GDALCreate(driver, path.c_str(), columns, rows, 1, GDT_Float32, const_cast<char**>(options));
  if (!dataset) return false;
  double transform[6] = {west, cell, 0, north, 0, -cell};
  GDALSetGeoTransform(dataset, transform);
  OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr);
  OSRImportFromEPSG(utm, 32632);
  GDALSetSpatialRef(dataset, utm);
  OSRDestroySpatialReference(utm);
  GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
  GDALSetRasterNoDataValue(band, -9999);
  std::vector<float> row(static_cast<size_t>(columns));
  bool ok = true;
  for (int j = 0; j < rows && ok; ++j) {
    for (int i = 0; i < columns; ++i) {
      const double e = west + (i + 0.5) * cell, n = north - (j + 0.5) * cell;
      row[static_cast<size_t>(i)] = hole && hole(e, n) ? -9999.0f : static_cast<float>(height(e, n));
    }
    ok = GDALRasterIO(band, GF_Write, 0, j, columns, 1, row.data(), columns, 1, GDT_Float32, 0, 0) == CE_None;
  }
  GDALClose(dataset);
  return ok;
}

}  // namespace meridal::testing
