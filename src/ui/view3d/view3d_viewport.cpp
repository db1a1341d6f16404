#include "ui/view3d/view3d_viewport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QWheelEvent>
#include <QtMath>
#include <cmath>
#include <cstddef>

#include "graphics/drawing_style.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr double kMetres = double(kMetersPerUnit);
constexpr float kEyeHeight = 1.2f;  // metres above the zero line

}  // namespace

TView3DViewport::TView3DViewport(TView3DScene& scene, QWidget* parent)
    : QOpenGLWidget(parent), scene_(scene), renderer_(scene) {
  QSurfaceFormat format;
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  format.setDepthBufferSize(24);
  setFormat(format);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(160, 120);
  playTimer_.setInterval(16);
  connect(&playTimer_, &QTimer::timeout, this, &TView3DViewport::Step);
}

TView3DViewport::~TView3DViewport() {
  if (!ready_) return;
  makeCurrent();
  renderer_.Release();
  doneCurrent();
}

void TView3DViewport::initializeGL() {
  const QSurfaceFormat format = context()->format();
  QString why;
  if (format.version() < qMakePair(3, 3)) {
    why = tr("OpenGL %1.%2 is all this display offers.").arg(format.majorVersion()).arg(format.minorVersion());
  } else if (QString log; !renderer_.Initialize(&log)) {
    why = tr("The shaders did not compile: %1").arg(log);
  }
  if (!why.isEmpty()) {
    failed_ = true;
    QMetaObject::invokeMethod(this, [this, why] { emit OpenGLFailed(why); }, Qt::QueuedConnection);
    return;
  }
  samples_ = renderer_.Samples();
  renderer_.SetLook(look_);
  ready_ = true;
  lineSent_ = false;
  SendToRenderer();
  QMetaObject::invokeMethod(this, &TView3DViewport::Started, Qt::QueuedConnection);
}

void TView3DViewport::SendToRenderer() {
  if (!Ready()) return;
  renderer_.UploadDirty();
  const auto [first, last] = Tinted();
  // Riding, the selection is outlined at its edges; else it is tinted.
  renderer_.SetTinted(driving_ ? -1 : first, driving_ ? -1 : last);
  renderer_.SetOutlined(driving_ ? selected_ : -1);
  if (!lineSent_) renderer_.SetLine(line_, lineDimmed_);
  lineSent_ = true;
}

void TView3DViewport::SetLine(std::vector<TView3DLinePoint> line, bool dimmed) {
  line_ = std::move(line);
  lineDimmed_ = dimmed;
  lineSent_ = false;
  lineAt_ = line_.size();  // Play finds its place again
  lineShare_ = 0;
  if (Ready()) {
    makeCurrent();
    SendToRenderer();
    doneCurrent();
  }
  update();
}

void TView3DViewport::SceneChanged() {
  if (drive_.section >= scene_.Sections()) drive_ = TDriveCamera{};
  if (selected_ >= scene_.Sections()) selected_ = -1;
  lineSent_ = false;
  if (Ready()) {
    makeCurrent();
    SendToRenderer();
    doneCurrent();
  }
  if (driving_) PlaceDriveCamera(drive_.section, drive_.t);
  update();
}

std::pair<int, int> TView3DViewport::Tinted() const {
  if (selected_ < 0 || selected_ >= scene_.Sections()) return {-1, -1};
  if (runFirst_ < 0 || runFirst_ > selected_ || selected_ > runLast_) return {selected_, selected_};
  return {runFirst_, std::min(runLast_, scene_.Sections() - 1)};
}

void TView3DViewport::SetSelectedRun(int first, int last) {
  if (first == runFirst_ && last == runLast_) return;
  runFirst_ = first;
  runLast_ = last;
  if (Ready()) {
    makeCurrent();
    SendToRenderer();
    doneCurrent();
  }
  update();
}

void TView3DViewport::SetSelected(int section) {
  if (section == selected_) return;
  selected_ = section;
  if (Ready()) {
    makeCurrent();
    SendToRenderer();
    doneCurrent();
  }
  update();
}

void TView3DViewport::SetExaggeration(int factor) {
  exaggeration_ = std::max(1, factor);
  if (driving_) PlaceDriveCamera(drive_.section, drive_.t);
  update();
}

void TView3DViewport::SetLook(const TView3DLook& look) {
  look_ = look;
  renderer_.SetLook(look);
  update();
}

void TView3DViewport::ZoomToFit() {
  const TBox box = scene_.Box();
  if (box.empty) return;
  const float k = float(exaggeration_);
  orbit_.Fit(QVector3D(box.lo[0], box.lo[1] * k, box.lo[2]), QVector3D(box.hi[0], box.hi[1] * k, box.hi[2]),
             float(width()) / std::max(1, height()));
  update();
}

// ---- the cameras ----

QMatrix4x4 TView3DViewport::ViewMatrix() const {
  if (!driving_) return orbit_.View();
  QMatrix4x4 turn;
  turn.rotate(qRadiansToDegrees(drive_.lookAside), 0, 1, 0);
  QMatrix4x4 view;
  view.lookAt(driveEye_, driveEye_ + turn.map(driveAhead_), QVector3D(0, 1, 0));
  return view;
}

QMatrix4x4 TView3DViewport::ProjectionMatrix() const {
  const TBox box = scene_.Box();
  const float size = box.empty ? 100.0f
                               : std::max({box.hi[0] - box.lo[0], box.hi[2] - box.lo[2],
                                           (box.hi[1] - box.lo[1]) * exaggeration_, 100.0f});
  const float aspect = float(width()) / std::max(1, height());
  if (driving_) return Projection(aspect, 0.1f, 4 * size + 2000);
  return Projection(aspect, std::max(0.05f, orbit_.distance * 0.002f), orbit_.distance * 4 + 4 * size);
}

void TView3DViewport::PlaceDriveCamera(int section, double t) {
  const TTrack* track = scene_.Track();
  if (!track) return;
  const auto p = SurfacePointAt(*track, section, t, 0);
  if (!p) return;
  const float k = float(exaggeration_);
  // On top of what is drawn there: a raised strip lifts the eye with it.
  driveEye_ = QVector3D(float((p->x - scene_.OriginX()) * kMetres),
                        float((p->height + p->raised) * kMetres) * k + kEyeHeight,
                        float(-(p->y - scene_.OriginY()) * kMetres));
  driveAhead_ = QVector3D(float(p->aheadX), float(p->gradient) * k, float(-p->aheadY)).normalized();
}

void TView3DViewport::SetDriving(bool driving) {
  if (driving == driving_) return;
  driving_ = driving;
  if (Ready()) {
    makeCurrent();
    SendToRenderer();
    doneCurrent();
  }
  if (!driving) {
    SetPlaying(false);
    update();
    return;
  }
  // The ride starts at the selected section, or at the start line; the
  // selection follows the camera from there.
  // (With nothing selected, the start line's section is announced.)
  drive_ = TDriveCamera{selected_, 0.0, 0.0f};
  Ride(std::max(0, selected_), 0, 0);
  update();
}

void TView3DViewport::Drive(double metres) { Ride(drive_.section, drive_.t, metres); }

void TView3DViewport::JumpSection(int step) {
  const int count = scene_.Sections();
  if (count == 0) return;
  // A jump onto a section without a surface goes on to the next one that has one.
  const int section = ((drive_.section + step) % count + count) % count;
  Ride(section, 0, 0);
}

void TView3DViewport::Ride(int section, double t, double metres) {
  const TTrack* track = scene_.Track();
  const int count = scene_.Sections();
  if (!track || count == 0) return;
  section = std::clamp(section, 0, count - 1);
  double left = metres / kMetres;  // in track units
  const int back = left < 0 ? count - 1 : 1;
  // Sections without a surface are passed over; a track with none is not driven.
  for (int passed = 0; passed <= 2 * count; ++passed) {
    const double length = track->Section(section)->Length;
    if (length <= 0 || scene_.Mesh(section).Empty()) {
      section = (section + back) % count;
      t = left < 0 ? 1.0 : 0.0;
      continue;
    }
    const double next = t + left / length;
    if (next > 1) {
      left -= (1 - t) * length;
      section = (section + 1) % count;
      t = 0;
    } else if (next < 0) {
      left += t * length;
      section = (section + count - 1) % count;
      t = 1;
    } else {
      const int before = drive_.section;
      drive_.section = section;
      drive_.t = next;
      PlaceDriveCamera(section, next);
      if (section != before) emit DriveSectionChanged(section);
      update();
      return;
    }
  }
}

void TView3DViewport::SetPlaying(bool playing) {
  if (playing == playTimer_.isActive()) return;
  if (playing) {
    if (!driving_) SetDriving(true);
    playClock_.start();
    playTimer_.start();
  } else {
    playTimer_.stop();
  }
  emit PlayingChanged(playing);
}

void TView3DViewport::Step() {
  const double seconds = playClock_.restart() / 1000.0;
  if (line_.size() >= 2) RideLine(seconds);
  else Drive(speed_ / 3.6 * seconds);
}

size_t TView3DViewport::NearestLinePoint() const {
  const double x = driveEye_.x() + scene_.OriginX() * kMetres, y = scene_.OriginY() * kMetres - driveEye_.z();
  size_t nearest = 0;
  double best = -1;
  for (size_t i = 0; i < line_.size(); ++i) {
    const double d = std::hypot(line_[i].x - x, line_[i].y - y);
    if (best < 0 || d < best) best = d, nearest = i;
  }
  return nearest;
}

void TView3DViewport::RideLine(double seconds) {
  const size_t n = line_.size();
  if (lineAt_ >= n) {
    lineAt_ = driving_ ? NearestLinePoint() : 0;
    lineShare_ = 0;
  }
  // From point to point at a constant acceleration, as the lap was timed.
  const auto stepLength = [&](size_t i) {
    const TView3DLinePoint &a = line_[i], &b = line_[(i + 1) % n];
    return std::hypot(b.x - a.x, b.y - a.y);
  };
  for (size_t guard = 0; seconds > 0 && guard < 4 * n; ++guard) {
    const TView3DLinePoint &a = line_[lineAt_], &b = line_[(lineAt_ + 1) % n];
    const double length = stepLength(lineAt_);
    const double va = std::max(a.speed, 1.0), vb = std::max(b.speed, 1.0);
    const double acceleration = length > 0 ? (vb * vb - va * va) / (2 * length) : 0;
    const double gone = lineShare_ * length;
    const double v = std::sqrt(std::max(1.0, va * va + 2 * acceleration * gone));
    // The time to the step's end, and how far the car gets in what is left.
    const double toEnd = length - gone;
    const double tEnd = std::abs(acceleration) > 1e-9 ? (vb - v) / acceleration : toEnd / v;
    if (length <= 0 || tEnd <= seconds) {
      seconds -= std::max(0.0, length > 0 ? tEnd : 0.0);
      lineAt_ = (lineAt_ + 1) % n;
      lineShare_ = 0;
      continue;
    }
    lineShare_ = (gone + v * seconds + 0.5 * acceleration * seconds * seconds) / length;
    seconds = 0;
  }
  const TView3DLinePoint &a = line_[lineAt_], &b = line_[(lineAt_ + 1) % n];
  const double f = std::clamp(lineShare_, 0.0, 1.0);
  const float k = float(exaggeration_);
  const double x = a.x + (b.x - a.x) * f, y = a.y + (b.y - a.y) * f, h = a.height + (b.height - a.height) * f;
  driveEye_ = QVector3D(float(x - scene_.OriginX() * kMetres), float(h) * k + kEyeHeight,
                        float(-(y - scene_.OriginY() * kMetres)));
  const QVector3D ahead(float(b.x - a.x), float(b.height - a.height) * k, float(-(b.y - a.y)));
  if (ahead.lengthSquared() > 0) driveAhead_ = ahead.normalized();
  // The selection follows, and the keys go on from here along the zero line.
  const int before = drive_.section;
  drive_.section = a.section;
  drive_.t = a.t;
  if (a.section != before) emit DriveSectionChanged(a.section);
  update();
}

// ---- drawing ----

void TView3DViewport::resizeGL(int, int) {}

TView3DFrame TView3DViewport::Frame() const {
  TView3DFrame frame;
  frame.view = ViewMatrix();
  frame.projection = ProjectionMatrix();
  frame.eye = driving_ ? driveEye_ : orbit_.Eye();
  frame.exaggeration = float(exaggeration_);
  const TBox box = scene_.Box();
  const float size = box.empty ? 100.0f : std::max({box.hi[0] - box.lo[0], box.hi[2] - box.lo[2], 100.0f});
  if (driving_) {
    // Shadows for some 150 m ahead; the air clear for a kilometre or so.
    const QVector3D ahead = QVector3D(driveAhead_.x(), 0, driveAhead_.z()).normalized();
    frame.shadowCentre = driveEye_ + ahead * 60.0f;
    frame.shadowRadius = 90;
    frame.visibility = std::max(1200.0f, size * 0.4f);
    frame.nearestGround = kEyeHeight;
  } else {
    // Shadows about where the camera looks, as far as the eye tells them apart.
    frame.shadowCentre = orbit_.target;
    frame.shadowRadius = std::clamp(orbit_.distance * 0.9f, 30.0f, 600.0f);
    frame.visibility = std::max({2000.0f, orbit_.distance * 3, size * 2});
    frame.nearestGround = std::max(1.0f, orbit_.distance * orbit_.pitch * 0.5f);
  }
  frame.size = QSize(int(width() * devicePixelRatioF()), int(height() * devicePixelRatioF()));
  frame.target = defaultFramebufferObject();
  return frame;
}

void TView3DViewport::paintGL() {
  if (!Ready()) {
    const QVector3D c = look::kPlainBackground;
    context()->functions()->glClearColor(c.x(), c.y(), c.z(), 1);
    context()->functions()->glClear(GL_COLOR_BUFFER_BIT);
    return;
  }
  SendToRenderer();
  renderer_.Draw(Frame());
}

void TView3DViewport::RenderNow() {
  if (!Ready()) return;
  makeCurrent();
  // Into the widget's own framebuffer, where a repaint draws.
  paintGL();
  context()->functions()->glFinish();
  doneCurrent();
}

// ---- pointer and keys ----

void TView3DViewport::Ray(const QPointF& at, float origin[3], float direction[3]) const {
  const QMatrix4x4 inverse = (ProjectionMatrix() * ViewMatrix()).inverted();
  const float x = float(2 * at.x() / std::max(1, width()) - 1), y = float(1 - 2 * at.y() / std::max(1, height()));
  const QVector3D a = inverse.map(QVector3D(x, y, -1)), b = inverse.map(QVector3D(x, y, 1));
  const QVector3D d = (b - a).normalized();
  for (int c = 0; c < 3; ++c) {
    origin[c] = a[c];
    direction[c] = d[c];
  }
}

QPointF TView3DViewport::WidgetPointOf(double planX, double planY, double planHeight) const {
  const QVector3D p((planX - scene_.OriginX()) * kMetres, planHeight * kMetres * exaggeration_,
                    -(planY - scene_.OriginY()) * kMetres);
  const QVector3D ndc = (ProjectionMatrix() * ViewMatrix()).map(p);
  return QPointF((ndc.x() + 1) / 2 * width(), (1 - ndc.y()) / 2 * height());
}

void TView3DViewport::mousePressEvent(QMouseEvent* event) {
  pressAt_ = lastAt_ = event->position().toPoint();
  pressButton_ = event->button();
  dragged_ = false;
  setFocus(Qt::MouseFocusReason);
}

void TView3DViewport::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const QPoint delta = at - lastAt_;
  lastAt_ = at;
  if ((at - pressAt_).manhattanLength() > 3) dragged_ = true;
  if (!dragged_) return;
  const Qt::MouseButtons buttons = event->buttons();
  if (driving_) {
    if (buttons & Qt::LeftButton) drive_.lookAside -= delta.x() * 0.005f;
  } else if ((buttons & Qt::MiddleButton) || ((buttons & Qt::LeftButton) && spaceHeld_)) {
    orbit_.Pan(float(delta.x()), float(delta.y()), float(height()));
  } else if (buttons & Qt::LeftButton) {
    orbit_.Rotate(float(delta.x()), float(delta.y()));
  }
  update();
}

void TView3DViewport::mouseReleaseEvent(QMouseEvent* event) {
  if (dragged_ || event->button() != Qt::LeftButton || pressButton_ != Qt::LeftButton) return;
  float origin[3], direction[3];
  Ray(event->position(), origin, direction);
  const int section = scene_.Pick(origin, direction, float(exaggeration_));
  if (section < 0) return;
  SetSelected(section);
  emit SectionClicked(section);
}

void TView3DViewport::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  if (driving_) {
    Drive(notches * 5);
    return;
  }
  // Zoom about the ground under the pointer (at the target's height), so that
  // it stays under the pointer.
  float origin[3], direction[3];
  Ray(event->position(), origin, direction);
  QVector3D fixed = orbit_.target;
  if (std::fabs(direction[1]) > 1e-6f) {
    const float t = (orbit_.target.y() - origin[1]) / direction[1];
    if (t > 0) fixed = QVector3D(origin[0], origin[1], origin[2]) + t * QVector3D(direction[0], direction[1], direction[2]);
  }
  orbit_.ZoomAbout(fixed, float(std::pow(0.85, notches)));
  update();
}

void TView3DViewport::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space) {
    spaceHeld_ = true;
    return;
  }
  if (driving_) {
    switch (event->key()) {
      case Qt::Key_Up: Drive(2); return;
      case Qt::Key_Down: Drive(-2); return;
      case Qt::Key_PageDown: JumpSection(1); return;
      case Qt::Key_PageUp: JumpSection(-1); return;
      case Qt::Key_Left: drive_.lookAside += qDegreesToRadians(5.0f); update(); return;
      case Qt::Key_Right: drive_.lookAside -= qDegreesToRadians(5.0f); update(); return;
      default: break;
    }
  }
  QOpenGLWidget::keyPressEvent(event);
}

void TView3DViewport::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    spaceHeld_ = false;
    return;
  }
  QOpenGLWidget::keyReleaseEvent(event);
}

}  // namespace meridal
