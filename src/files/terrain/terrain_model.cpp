#include "files/terrain/terrain_model.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <mutex>

#include "files/terrain/gdal_session.h"

namespace meridal {

namespace {

// Raster formats that hold heights and name no other file than their own
// side files (.hdr, .prj, .aux.xml, .ovr). A virtual format (VRT) may name any
// file or address and is never opened.
const char* const kAllowedDrivers[] = {"GTiff", "SRTMHGT", "AAIGrid", "EHdr", "HFA", "USGSDEM",
                                       "ENVI",  "GS7BG",   "GSAG",    "GSBG", nullptr};

// Metres in one of the band's height units; 0 for a unit not known.
double MetresPerUnit(std::string unit) {
  for (char& c : unit) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (unit.empty() || unit == "m" || unit == "metre" || unit == "meter" || unit == "metres" || unit == "meters")
    return 1.0;
  if (unit == "ft" || unit == "foot" || unit == "feet" || unit == "international foot") return 0.3048;
  if (unit == "us survey foot" || unit == "ftus" || unit == "us-ft") return 1200.0 / 3937.0;
  return 0;
}

// The weights of the four cells about a place `t` (0 to 1) between the middle
// two, for a cubic that passes through every cell and keeps a straight slope
// straight.
void CatmullRom(double t, double w[4]) {
  const double t2 = t * t, t3 = t2 * t;
  w[0] = (-t3 + 2 * t2 - t) / 2;
  w[1] = (3 * t3 - 5 * t2 + 2) / 2;
  w[2] = (-3 * t3 + 4 * t2 + t) / 2;
  w[3] = (t3 - t2) / 2;
}

}  // namespace

std::unique_ptr<TTerrainModel> TTerrainModel::Open(const std::string& path, std::string& error) {
  // A GDAL "/vsi" path reaches into archives, memory and the network: a model
  // is a file on the disk. A FIFO or a device would block or never end.
  if (path.rfind("/vsi", 0) == 0) {
    error = "not a file on the disk";
    return nullptr;
  }
  std::error_code code;
  const auto status = std::filesystem::status(path, code);
  if (code || !std::filesystem::exists(status)) {
    error = "no such file";
    return nullptr;
  }
  if (!std::filesystem::is_regular_file(status)) {
    error = "not a regular file";
    return nullptr;
  }
  TGdalSession session;
  GDALDatasetH dataset =
      GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, kAllowedDrivers, nullptr, nullptr);
  if (!dataset) {
    error = "not a terrain model that can be read" + session.Reason();
    return nullptr;
  }
  std::unique_ptr<TTerrainModel> model(new TTerrainModel);
  model->dataset_ = dataset;
  model->columns_ = GDALGetRasterXSize(dataset);
  model->rows_ = GDALGetRasterYSize(dataset);
  if (GDALGetRasterCount(dataset) < 1 || model->columns_ < 1 || model->rows_ < 1) {
    error = "the model holds no heights";
    return nullptr;
  }
  // A text grid writes each cell as a digit and a separator at least. One whose
  // file is shorter than that is cut off, and its reader would search the
  // missing lines again for every row asked for.
  const char* driver = GDALGetDriverShortName(GDALGetDatasetDriver(dataset));
  if (driver && std::string(driver) == "AAIGrid" &&
      double(std::filesystem::file_size(path, code)) < 2.0 * model->columns_ * model->rows_) {
    error = "the model is shorter than its " + std::to_string(model->columns_) + " by " +
            std::to_string(model->rows_) + " cells";
    return nullptr;
  }
  if (GDALGetGeoTransform(dataset, model->transform_) != CE_None ||
      !std::all_of(std::begin(model->transform_), std::end(model->transform_), [](double v) { return std::isfinite(v); }) ||
      !GDALInvGeoTransform(model->transform_, model->inverse_)) {
    error = "the model does not say where its cells lie";
    return nullptr;
  }
  GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
  const GDALDataType type = GDALGetRasterDataType(band);
  if (GDALDataTypeIsComplex(type) || GDALGetDataTypeSizeBytes(type) == 0) {
    error = "the model's cells are not heights";
    return nullptr;
  }
  // A block is decompressed whole to read any cell of it.
  int blockX = 0, blockY = 0;
  GDALGetBlockSize(band, &blockX, &blockY);
  const double blockBytes = double(blockX) * double(blockY) * GDALGetDataTypeSizeBytes(type);
  if (blockX < 1 || blockY < 1 || blockBytes > double(kMostBlockBytes)) {
    error = "the model is stored in blocks of " + std::to_string(blockX) + " by " + std::to_string(blockY) +
            " cells, too large to read";
    return nullptr;
  }
  int has = 0;
  model->noData_ = GDALGetRasterNoDataValue(band, &has);
  model->hasNoData_ = has != 0;
  const double metres = MetresPerUnit(GDALGetRasterUnitType(band));
  if (metres == 0) {
    error = std::string("the model's heights are in ") + GDALGetRasterUnitType(band) + ", not metres or feet";
    return nullptr;
  }
  int hasScale = 0, hasOffset = 0;
  const double scale = GDALGetRasterScale(band, &hasScale), offset = GDALGetRasterOffset(band, &hasOffset);
  model->scale_ = (hasScale && std::isfinite(scale) ? scale : 1.0) * metres;
  model->offset_ = (hasOffset && std::isfinite(offset) ? offset : 0.0) * metres;
  if (OGRSpatialReferenceH reference = GDALGetSpatialRef(dataset)) {
    char* wkt = nullptr;
    if (OSRExportToWkt(reference, &wkt) == OGRERR_NONE && wkt) model->reference_ = wkt;
    CPLFree(wkt);
    model->geographic_ = OSRIsGeographic(reference) != 0;
  }
  return model;
}

TTerrainModel::~TTerrainModel() {
  if (dataset_) GDALClose(static_cast<GDALDatasetH>(dataset_));
}

double TTerrainModel::CellSize() const { return std::hypot(transform_[1], transform_[4]); }

void TTerrainModel::CellToModel(double column, double row, double& x, double& y) const {
  x = transform_[0] + column * transform_[1] + row * transform_[2];
  y = transform_[3] + column * transform_[4] + row * transform_[5];
}

void TTerrainModel::ToCell(double x, double y, double& column, double& row) const {
  column = inverse_[0] + x * inverse_[1] + y * inverse_[2];
  row = inverse_[3] + x * inverse_[4] + y * inverse_[5];
}

bool TTerrainModel::ReadWindow(double minX, double minY, double maxX, double maxY, std::string& error) {
  double c0 = INFINITY, c1 = -INFINITY, r0 = INFINITY, r1 = -INFINITY;
  for (const double x : {minX, maxX})
    for (const double y : {minY, maxY}) {
      double c = 0, r = 0;
      ToCell(x, y, c, r);
      c0 = std::min(c0, c), c1 = std::max(c1, c), r0 = std::min(r0, r), r1 = std::max(r1, r);
    }
  if (!(c1 >= 0 && r1 >= 0 && c0 <= columns_ && r0 <= rows_)) {
    error = "the track lies outside the model";
    return false;
  }
  // Two cells beyond the box on every side, for the interpolation.
  const int first = int(std::max(0.0, std::floor(c0) - 2)), last = int(std::min(double(columns_), std::ceil(c1) + 2));
  const int top = int(std::max(0.0, std::floor(r0) - 2)), bottom = int(std::min(double(rows_), std::ceil(r1) + 2));
  const int width = std::max(1, last - first), height = std::max(1, bottom - top);
  // A window of more cells than the bound is read coarser, GDAL averaging the cells.
  int bufferWidth = width, bufferHeight = height;
  const double cells = double(width) * double(height);
  if (cells > double(kMostCells)) {
    const double factor = std::sqrt(cells / double(kMostCells));
    bufferWidth = std::max(1, int(width / factor));
    bufferHeight = std::max(1, int(height / factor));
  }
  std::vector<double> buffer;
  buffer.assign(size_t(bufferWidth) * size_t(bufferHeight), 0.0);
  TGdalSession session;
  GDALRasterIOExtraArg extra;
  INIT_RASTERIO_EXTRA_ARG(extra);
  extra.eResampleAlg = GRIORA_Average;
  GDALRasterBandH band = GDALGetRasterBand(static_cast<GDALDatasetH>(dataset_), 1);
  if (GDALRasterIOEx(band, GF_Read, first, top, width, height, buffer.data(), bufferWidth, bufferHeight, GDT_Float64,
                     0, 0, &extra) != CE_None) {
    error = "the model's cells cannot be read" + session.Reason();
    return false;
  }
  cells_ = std::move(buffer);
  windowColumn_ = first;
  windowRow_ = top;
  windowColumns_ = bufferWidth;
  windowRows_ = bufferHeight;
  stepX_ = double(width) / bufferWidth;
  stepY_ = double(height) / bufferHeight;
  return true;
}

TTerrainModel::Sample TTerrainModel::HeightAt(double x, double y, double& height) const {
  double column = 0, row = 0;
  ToCell(x, y, column, row);
  if (!(column >= 0 && row >= 0 && column <= columns_ && row <= rows_)) return Sample::Outside;
  // Cell centres of the window at whole numbers.
  const double u = (column - windowColumn_) / stepX_ - 0.5, v = (row - windowRow_) / stepY_ - 0.5;
  if (cells_.empty() || u < -1 || v < -1 || u > windowColumns_ || v > windowRows_) return Sample::Outside;
  // Within half a cell of the model's edge the edge cells reach out to it.
  const double cu = std::clamp(u, 0.0, double(windowColumns_ - 1)), cv = std::clamp(v, 0.0, double(windowRows_ - 1));
  const int i = std::min(int(cu), std::max(0, windowColumns_ - 2)), j = std::min(int(cv), std::max(0, windowRows_ - 2));
  const double fu = windowColumns_ > 1 ? cu - i : 0, fv = windowRows_ > 1 ? cv - j : 0;
  auto cell = [&](int ci, int cj, double& raw) {
    ci = std::clamp(ci, 0, windowColumns_ - 1), cj = std::clamp(cj, 0, windowRows_ - 1);
    raw = cells_[size_t(cj) * size_t(windowColumns_) + size_t(ci)];
    return !(std::isnan(raw) || (hasNoData_ && raw == noData_));
  };
  // Bicubic (Catmull-Rom) between the sixteen cells about the point: the
  // ground's slope runs on across cell edges, so that a trace's heights have
  // no kinks there for the fit to chase. Beside a hole, bilinear between the
  // four nearest.
  double wu[4], wv[4];
  CatmullRom(fu, wu);
  CatmullRom(fv, wv);
  double sum = 0;
  bool near = true, all = true;
  for (int dj = -1; dj < 3; ++dj)
    for (int di = -1; di < 3; ++di) {
      double raw = 0;
      const bool ok = cell(i + di, j + dj, raw);
      const bool nearest = di >= 0 && di < 2 && dj >= 0 && dj < 2;
      if (!ok) {
        all = false;
        if (nearest && (di ? fu : 1 - fu) * (dj ? fv : 1 - fv) > 0) near = false;
        continue;
      }
      sum += wu[di + 1] * wv[dj + 1] * raw;
    }
  if (!near) return Sample::NoData;
  if (!all) {
    sum = 0;
    for (int dj = 0; dj < 2; ++dj)
      for (int di = 0; di < 2; ++di) {
        const double weight = (di ? fu : 1 - fu) * (dj ? fv : 1 - fv);
        double raw = 0;
        if (weight > 0 && cell(i + di, j + dj, raw)) sum += weight * raw;
      }
  }
  height = sum * scale_ + offset_;
  return std::isfinite(height) ? Sample::Ok : Sample::NoData;
}

}  // namespace meridal
