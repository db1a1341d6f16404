#include "ui/plan/background_layer.h"

#include <QFileInfo>
#include <QPainter>
#include <QPen>
#include <QTransform>
#include <cmath>

#include "graphics/qt/bounded_image_reader.h"
#include "graphics/scale_draw.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

QPointF ToWindow(const TScaleDraw& view, QPointF world) {
  const double ppu = view.PixelsPerUnit();
  return QPointF((world.x() - view.OriginX()) * ppu, (view.OriginY() - world.y()) * ppu);
}

}  // namespace

bool TBackgroundLayer::ReadImage(const QString& path) {
  QImage image;
  QString reason;
  // Only a regular file of bounded size, and a bounded picture: the path may
  // come from a side file anybody wrote.
  if (!TBoundedImageReader::Read(path, image, reason)) {
    error_ = QStringLiteral("Cannot load the background image.\n") + reason;
    return false;
  }
  error_.clear();
  image_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return true;
}

bool TBackgroundLayer::Load(const QString& path, QPointF centre, double worldWidth) {
  if (!ReadImage(path)) return false;
  TBackgroundSettings settings;
  settings.image = QFileInfo(path).absoluteFilePath().toStdString();
  settings.placement.centreX = centre.x();
  settings.placement.centreY = centre.y();
  settings.placement.unitsPerPixel = std::max(worldWidth, 1.0) / image_.width();
  settings.opacity = settings_.opacity;
  settings_ = settings;
  picks_.clear();
  Save();
  Announce();
  return true;
}

void TBackgroundLayer::Remove() {
  image_ = QImage();
  error_.clear();
  settings_ = TBackgroundSettings();
  picks_.clear();
  tool_ = Tool::None;
  Save();
  Announce();
}

void TBackgroundLayer::SetOpacity(double opacity) {
  settings_.opacity = std::clamp(opacity, 0.0, 1.0);
  Save();
  Announce();
}

void TBackgroundLayer::SetVisible(bool visible) {
  settings_.visible = visible;
  Save();
  Announce();
}

void TBackgroundLayer::SetPlacement(const TBackgroundPlacement& placement) {
  settings_.placement = placement;
  Save();
  Announce();
}

void TBackgroundLayer::Announce() {
  if (Changed) Changed();
}

// ---- geometry ----

QPointF TBackgroundLayer::ImageToWorld(QPointF pixel) const {
  const TBackgroundPlacement& p = settings_.placement;
  const double lx = (pixel.x() - image_.width() / 2.0) * p.unitsPerPixel;
  const double ly = (image_.height() / 2.0 - pixel.y()) * p.unitsPerPixel;
  const double a = p.rotation / kDegrees, c = std::cos(a), s = std::sin(a);
  return QPointF(p.centreX + c * lx - s * ly, p.centreY + s * lx + c * ly);
}

QPointF TBackgroundLayer::WorldToImage(QPointF world) const {
  const TBackgroundPlacement& p = settings_.placement;
  const double dx = world.x() - p.centreX, dy = world.y() - p.centreY;
  const double a = p.rotation / kDegrees, c = std::cos(a), s = std::sin(a);
  const double lx = c * dx + s * dy, ly = -s * dx + c * dy;
  return QPointF(lx / p.unitsPerPixel + image_.width() / 2.0, image_.height() / 2.0 - ly / p.unitsPerPixel);
}

// ---- drawing ----

void TBackgroundLayer::Paint(QPainter& painter, const TScaleDraw& view) const {
  if (image_.isNull() || !settings_.visible || settings_.opacity <= 0) return;
  const TBackgroundPlacement& p = settings_.placement;
  const QPointF centre = ToWindow(view, QPointF(p.centreX, p.centreY));
  const double pixels = p.unitsPerPixel * view.PixelsPerUnit();  // window pixels per image pixel
  QTransform transform;
  transform.translate(centre.x(), centre.y());
  transform.rotate(-p.rotation);  // counter-clockwise on the plan, whose y runs up
  transform.scale(pixels, pixels);
  transform.translate(-image_.width() / 2.0, -image_.height() / 2.0);
  painter.save();
  painter.setTransform(transform, true);
  painter.setOpacity(settings_.opacity);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, pixels < 4);
  painter.drawImage(QPointF(0, 0), image_);
  painter.restore();
}

void TBackgroundLayer::PaintMarks(QPainter& painter, const TScaleDraw& view) const {
  if (tool_ != Tool::Calibrate || picks_.empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  std::vector<QPointF> points;
  for (const QPointF& pick : picks_) points.push_back(ToWindow(view, ImageToWorld(pick)));
  painter.setPen(QPen(QColor(220, 0, 0), 2));
  if (points.size() == 2) painter.drawLine(points[0], points[1]);
  for (const QPointF& p : points) {
    painter.drawLine(p - QPointF(6, 0), p + QPointF(6, 0));
    painter.drawLine(p - QPointF(0, 6), p + QPointF(0, 6));
  }
  painter.restore();
}

// ---- the side file ----

void TBackgroundLayer::FollowTrack(const std::string& trackPath, bool untitled) {
  if (followed_ && trackPath == trackPath_ && untitled == untitled_) return;
  const bool renamed = followed_;
  followed_ = true;
  trackPath_ = trackPath;
  untitled_ = untitled;
  if (untitled) return;
  // Saved under a new name: the picture and the terrain go with it.
  if (renamed && (HasImage() || terrain_)) return Save();
  error_.clear();  // what another name's side file said is no longer true
  std::string error;
  const auto settings = ReadViewSettings(trackPath, error);
  terrain_.reset();
  if (!settings) {
    // The track opens all the same, without what its side file would have said.
    error_ = QStringLiteral("The view settings were not read.\n") + QString::fromStdString(error);
  } else {
    terrain_ = settings->terrain;
    if (settings->background && ReadImage(QString::fromStdString(settings->background->image)))
      settings_ = *settings->background;
  }  // else the image's reason is in Error()
  Announce();
}

void TBackgroundLayer::Save() {
  if (!followed_ || untitled_) return;
  TViewSettings settings;
  settings.terrain = terrain_;
  if (HasImage()) settings.background = settings_;
  std::string error;
  if (!WriteViewSettings(trackPath_, settings, error)) error_ = QString::fromStdString(error);
}

// ---- the mouse tools ----

void TBackgroundLayer::SetTool(Tool tool) {
  tool_ = HasImage() ? tool : Tool::None;
  picks_.clear();
  dragFrom_.reset();
  Announce();
}

bool TBackgroundLayer::Press(QPointF world, bool shift) {
  if (tool_ == Tool::None || !HasImage()) return false;
  if (tool_ == Tool::Calibrate) {
    if (picks_.size() == 2) picks_.clear();  // a third click starts again
    picks_.push_back(WorldToImage(world));
    Announce();
    return true;
  }
  dragFrom_ = world;
  turning_ = shift;
  dragStart_ = settings_.placement;
  return true;
}

void TBackgroundLayer::Drag(QPointF world) {
  if (!dragFrom_) return;
  TBackgroundPlacement placement = dragStart_;
  if (turning_) {
    // The turn the pointer made about the image's centre since the press.
    const double a0 = std::atan2(dragFrom_->y() - dragStart_.centreY, dragFrom_->x() - dragStart_.centreX);
    const double a1 = std::atan2(world.y() - dragStart_.centreY, world.x() - dragStart_.centreX);
    placement.rotation = std::remainder(dragStart_.rotation + (a1 - a0) * kDegrees, 360.0);
  } else {
    placement.centreX += world.x() - dragFrom_->x();
    placement.centreY += world.y() - dragFrom_->y();
  }
  settings_.placement = placement;
  Announce();
}

void TBackgroundLayer::Release() {
  if (!dragFrom_) return;
  dragFrom_.reset();
  Save();  // once per drag, not at every move
}

bool TBackgroundLayer::Calibrate(double metres) {
  if (picks_.size() != 2 || !(metres > 0) || !std::isfinite(metres)) return false;
  const QPointF d = picks_[1] - picks_[0];
  const double pixels = std::hypot(d.x(), d.y());
  if (!(pixels > 0)) return false;
  // The first point stays where it lies on the plan.
  const QPointF anchor = ImageToWorld(picks_[0]);
  settings_.placement.unitsPerPixel = metres * kUnitsPerMeter / pixels;
  const QPointF moved = ImageToWorld(picks_[0]);
  settings_.placement.centreX += anchor.x() - moved.x();
  settings_.placement.centreY += anchor.y() - moved.y();
  picks_.clear();
  tool_ = Tool::Place;  // placing comes next
  Save();
  Announce();
  return true;
}

QString TBackgroundLayer::ToolHint() const {
  switch (tool_) {
    case Tool::Calibrate:
      if (picks_.empty()) return QStringLiteral("Calibrate: click the first point on the image");
      if (picks_.size() == 1) return QStringLiteral("Calibrate: click the second point on the image");
      return QStringLiteral("Calibrate: type the distance between the points");
    case Tool::Place: return QStringLiteral("Place image: drag to move, Shift+drag to turn");
    case Tool::None: break;
  }
  return {};
}

}  // namespace meridal
