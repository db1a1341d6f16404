#pragma once
// The picture under the plan that a track is traced over: an image placed on the
// plan by its centre, a scale and a turn (TBackgroundPlacement), drawn under the
// track at an opacity, or hidden. Its settings live in the track's side file
// (NAME.view.json), read when the plan first shows a track under a name and
// written whenever they change, or when the track takes another name.
//
// Calibrating: two clicks on the image give two of its pixels; the distance
// between them, typed in metres, gives the scale, the first point staying where
// it is on the plan. Placing: a left drag moves the image, Shift and a drag
// turns it about its centre.
#include <QImage>
#include <QPointF>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "view_file/view_file.h"

class QPainter;

namespace meridal {

class TScaleDraw;

class TBackgroundLayer {
 public:
  enum class Tool { None, Calibrate, Place };

  // Called after every change the plan must show (the layer's owner repaints).
  std::function<void()> Changed;

  bool HasImage() const { return !image_.isNull(); }
  const QImage& Image() const { return image_; }
  const TBackgroundSettings& Settings() const { return settings_; }
  // The reason the latest load or write failed, empty after a success.
  const QString& Error() const { return error_; }

  // Loads a PNG or JPEG, centred on the world point with its width spanning
  // `worldWidth` track units; false (and the layer unchanged) when it cannot be
  // read, the reason in Error().
  bool Load(const QString& path, QPointF centre, double worldWidth);
  void Remove();
  void SetOpacity(double opacity);
  void SetVisible(bool visible);
  void SetPlacement(const TBackgroundPlacement& placement);

  // Image pixels and world points.
  QPointF ImageToWorld(QPointF pixel) const;
  QPointF WorldToImage(QPointF world) const;

  // Draws the image, when there is one and it is shown, under what comes next.
  void Paint(QPainter& painter, const TScaleDraw& view) const;
  // The calibration points picked so far, over the plan.
  void PaintMarks(QPainter& painter, const TScaleDraw& view) const;

  // ---- the side file ----
  // The track is shown under this path now. A new name with a background already
  // set (a Save As) writes it there; otherwise the side file of the name is read.
  // `untitled`: a track never saved, which has no side file.
  void FollowTrack(const std::string& trackPath, bool untitled);

  // ---- the mouse tools ----
  Tool ActiveTool() const { return tool_; }
  void SetTool(Tool tool);
  // The calibration's image points picked so far (0, 1 or 2).
  const std::vector<QPointF>& CalibrationPoints() const { return picks_; }
  // A left press at a world point while a tool is on; false when no tool took it.
  bool Press(QPointF world, bool shift);
  void Drag(QPointF world);
  void Release();
  // The distance between the two calibration points, in metres: the scale
  // follows; false when there are not two distinct points or the distance is
  // not a positive number.
  bool Calibrate(double metres);
  // What the status bar says while a tool is on.
  QString ToolHint() const;

 private:
  // Reads the image alone, keeping the settings.
  bool ReadImage(const QString& path);
  void Save();
  void Announce();

  QImage image_;
  TBackgroundSettings settings_;
  // The rest of the side file (the terrain a fitted track came from), kept as it
  // was read and written back with the picture, under a new name too.
  std::optional<TTerrainLink> terrain_;
  QString error_;
  std::string trackPath_;
  bool followed_ = false;
  bool untitled_ = true;
  Tool tool_ = Tool::None;
  std::vector<QPointF> picks_;
  // A placing drag: where it began, and the placement then.
  std::optional<QPointF> dragFrom_;
  bool turning_ = false;
  TBackgroundPlacement dragStart_;
};

}  // namespace meridal
