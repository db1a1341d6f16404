#pragma once
// Heights of a terrain model under the points of a track's plan: the model
// (terrain_model.h) and where the plan lies on it (terrain_origin.h). Points of
// a plan projected from latitudes and longitudes are mapped into the model's
// own reference system with OGR's coordinate transformation; a plan placed with
// an origin in the model's coordinates is moved by it.
//
//   auto sampler = TTerrainSampler::Open(link, error);
//   if (!sampler || !sampler->Read(planPoints, error)) fail(error);
//   double h;
//   if (sampler->Height(x, y, h) == TTerrainModel::Sample::Ok) use(h);  // h: metres
//
// The 3D view draws the ground a fitted track was fitted to from its side
// file's TTerrainLink through this class.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/terrain/terrain_model.h"
#include "files/terrain/terrain_origin.h"

namespace meridal {

class TTerrainSampler {
 public:
  // Opens the link's model and sets up the mapping: nullptr and the reason
  // when the model cannot be read or the plan cannot be placed on it.
  static std::unique_ptr<TTerrainSampler> Open(const TTerrainLink& link, std::string& error);
  ~TTerrainSampler();
  TTerrainSampler(const TTerrainSampler&) = delete;
  TTerrainSampler& operator=(const TTerrainSampler&) = delete;

  // A plan point (metres) in the model's coordinates; false where the
  // transformation has no answer.
  bool ToModel(double x, double y, double& modelX, double& modelY) const;
  // Reads the model's cells under the plan points (metres); false with the
  // reason when they cannot be read.
  bool Read(const std::vector<std::pair<double, double>>& points, std::string& error);
  // The model's height under a plan point less the link's height offset, in metres.
  TTerrainModel::Sample Height(double x, double y, double& height) const;

  const TTerrainModel& Model() const { return *model_; }
  // Metres of the plan a cell of the model spans (about the plan's origin).
  double CellMetres() const;

 private:
  TTerrainSampler() = default;

  std::unique_ptr<TTerrainModel> model_;
  TTerrainLink link_;
  void* transform_ = nullptr;  // OGRCoordinateTransformationH, when geographic
};

}  // namespace meridal
