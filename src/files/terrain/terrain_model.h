#pragma once
// A digital elevation model (a GeoTIFF, an SRTM .hgt tile, an ASCII grid ...),
// read through GDAL: its header, then one window of cells, from which heights
// are taken by bicubic interpolation, so that the ground's slope has no
// kinks at the cells' edges.
//
// A model is untrusted input. Only raster formats that hold heights are
// opened (never a virtual format that names other files or addresses, never a
// GDAL "/vsi" path); a block larger than kMostBlockBytes is refused before
// anything is decompressed; and a window is read into at most kMostCells cells,
// a larger one being read at a coarser spacing.
//
//   std::string error;
//   auto model = TTerrainModel::Open("hills.tif", error);
//   if (!model || !model->ReadWindow(x0, y0, x1, y1, error)) fail(error);
//   double h;
//   if (model->HeightAt(x, y, h) == TTerrainModel::Sample::Ok) use(h);
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace meridal {

class TTerrainModel {
 public:
  static constexpr size_t kMostCells = size_t(16) << 20;
  static constexpr size_t kMostBlockBytes = size_t(64) << 20;

  // Opens the model at `path`: nullptr and the reason in `error` when it cannot
  // be read as a terrain model.
  static std::unique_ptr<TTerrainModel> Open(const std::string& path, std::string& error);
  ~TTerrainModel();
  TTerrainModel(const TTerrainModel&) = delete;
  TTerrainModel& operator=(const TTerrainModel&) = delete;

  // The model's reference system as WKT, empty when it names none.
  const std::string& Reference() const { return reference_; }
  // Whether its coordinates are degrees of latitude and longitude.
  bool Geographic() const { return geographic_; }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  // The size of a cell along x, in the model's own units.
  double CellSize() const;
  // The model's coordinates of a place given in cells: column and row from its
  // top-left corner (a cell's centre is at whole numbers plus a half).
  void CellToModel(double column, double row, double& x, double& y) const;

  // Reads the cells about the box (model coordinates), two cells beyond it on
  // every side, clipped to the model. False with the reason when the box misses
  // the model or the cells cannot be read.
  bool ReadWindow(double minX, double minY, double maxX, double maxY, std::string& error);

  enum class Sample { Ok, Outside, NoData };
  // The height in metres at model coordinates, between the sixteen cells about
  // it in the window read (the four nearest beside a cell without data).
  Sample HeightAt(double x, double y, double& height) const;

 private:
  TTerrainModel() = default;
  // The model's cell of coordinates, as fractional column and row.
  void ToCell(double x, double y, double& column, double& row) const;

  void* dataset_ = nullptr;  // GDALDatasetH
  std::string reference_;
  bool geographic_ = false;
  int columns_ = 0, rows_ = 0;
  double transform_[6] = {0, 1, 0, 0, 0, 1};
  double inverse_[6] = {0, 1, 0, 0, 0, 1};
  bool hasNoData_ = false;
  double noData_ = 0;
  double scale_ = 1, offset_ = 0;  // metres = raw × scale + offset
  // The window: its first cell, its size in cells, and how many model cells
  // each of its cells spans.
  int windowColumn_ = 0, windowRow_ = 0, windowColumns_ = 0, windowRows_ = 0;
  double stepX_ = 1, stepY_ = 1;
  std::vector<double> cells_;
};

}  // namespace meridal
