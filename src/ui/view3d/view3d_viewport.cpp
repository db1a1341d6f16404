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
constexpr float kStartLineLength = 1.0f;

const char kSurfaceVertex[] = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 color;
uniform mat4 viewProjection;
uniform float exaggeration;
uniform vec4 tint;
out vec3 vNormal;
out vec3 vColor;
void main() {
  // Heights stretched: the normals lean the other way.
  vNormal = vec3(normal.x, normal.y / exaggeration, normal.z);
  vColor = mix(color.rgb, tint.rgb, tint.a);
  gl_Position = viewProjection * vec4(position.x, position.y * exaggeration, position.z, 1.0);
}
)";

const char kSurfaceFragment[] = R"(#version 330 core
in vec3 vNormal;
in vec3 vColor;
uniform vec3 light;
out vec4 fragColor;
void main() {
  vec3 n = normalize(vNormal);
  if (!gl_FrontFacing) n = -n;
  fragColor = vec4(vColor * (0.45 + 0.6 * max(dot(n, light), 0.0)), 1.0);
}
)";

const char kLinesVertex[] = R"(#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 viewProjection;
uniform float height;
void main() { gl_Position = viewProjection * vec4(position.x, height, position.z, 1.0); }
)";

const char kLinesFragment[] = R"(#version 330 core
uniform vec4 color;
out vec4 fragColor;
void main() { fragColor = color; }
)";

// One triangle over the whole window; each pixel gets the colour of the sky in
// its direction.
const char kSkyVertex[] = R"(#version 330 core
out vec2 ndc;
void main() {
  ndc = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
  gl_Position = vec4(ndc, 0.0, 1.0);
}
)";

const char kSkyFragment[] = R"(#version 330 core
in vec2 ndc;
uniform mat4 inverseViewProjection;
out vec4 fragColor;
void main() {
  vec4 a = inverseViewProjection * vec4(ndc, -1.0, 1.0);
  vec4 b = inverseViewProjection * vec4(ndc, 1.0, 1.0);
  vec3 d = normalize(b.xyz / b.w - a.xyz / a.w);
  vec3 horizon = vec3(0.86, 0.91, 0.96), zenith = vec3(0.33, 0.55, 0.86), ground = vec3(0.70, 0.73, 0.68);
  vec3 c = d.y >= 0.0 ? mix(horizon, zenith, pow(d.y, 0.6)) : mix(horizon, ground, clamp(-d.y * 8.0, 0.0, 1.0));
  fragColor = vec4(c, 1.0);
}
)";

const QVector3D kLight = QVector3D(0.35f, 0.85f, 0.4f).normalized();
const QVector4D kSelectionTint(1.0f, 0.35f, 0.05f, 0.55f);
// Riding through the selected section, a lighter tint leaves the road readable.
const QVector4D kDriveSelectionTint(1.0f, 0.35f, 0.05f, 0.1f);
const QVector3D kPlainBackground(0.93f, 0.93f, 0.92f);

std::unique_ptr<QOpenGLShaderProgram> Program(const char* vertex, const char* fragment, QString& log) {
  auto program = std::make_unique<QOpenGLShaderProgram>();
  if (program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertex) &&
      program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) && program->link())
    return program;
  log = program->log();
  return nullptr;
}

}  // namespace

TView3DViewport::TView3DViewport(TView3DScene& scene, QWidget* parent) : QOpenGLWidget(parent), scene_(scene) {
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
  for (TGpuMesh& chunk : chunks_) Release(chunk);
  Release(selection_);
  Release(startLine_);
  glDeleteVertexArrays(1, &gridVao_);
  glDeleteBuffers(1, &gridBuffer_);
  glDeleteVertexArrays(1, &emptyVao_);
  surface_.reset();
  lines_.reset();
  skyProgram_.reset();
  doneCurrent();
}

void TView3DViewport::initializeGL() {
  initializeOpenGLFunctions();
  const QSurfaceFormat format = context()->format();
  QString why;
  if (format.version() < qMakePair(3, 3)) {
    why = tr("OpenGL %1.%2 is all this display offers.").arg(format.majorVersion()).arg(format.minorVersion());
  } else {
    QString log;
    surface_ = Program(kSurfaceVertex, kSurfaceFragment, log);
    if (surface_) lines_ = Program(kLinesVertex, kLinesFragment, log);
    if (lines_) skyProgram_ = Program(kSkyVertex, kSkyFragment, log);
    if (!skyProgram_) why = tr("The shaders did not compile: %1").arg(log);
  }
  if (!why.isEmpty()) {
    failed_ = true;
    surface_.reset();
    lines_.reset();
    skyProgram_.reset();
    QMetaObject::invokeMethod(this, [this, why] { emit OpenGLFailed(why); }, Qt::QueuedConnection);
    return;
  }
  // A new context (the widget moved to another window) starts with nothing on
  // the card: everything goes up again.
  chunks_.clear();
  selection_ = startLine_ = TGpuMesh{};
  gridVao_ = gridBuffer_ = 0;
  glGenVertexArrays(1, &emptyVao_);
  ready_ = true;
  UploadDirty();
  UploadSelection();
}

void TView3DViewport::Release(TGpuMesh& mesh) {
  if (mesh.vao) glDeleteVertexArrays(1, &mesh.vao);
  if (mesh.vertices) glDeleteBuffers(1, &mesh.vertices);
  if (mesh.indices) glDeleteBuffers(1, &mesh.indices);
  mesh = TGpuMesh{};
}

void TView3DViewport::Upload(TGpuMesh& mesh, const std::vector<TViewVertex>& vertices,
                             const std::vector<uint32_t>& indices) {
  if (!mesh.vao) {
    glGenVertexArrays(1, &mesh.vao);
    glGenBuffers(1, &mesh.vertices);
    glGenBuffers(1, &mesh.indices);
  }
  glBindVertexArray(mesh.vao);
  glBindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TViewVertex)), vertices.data(), GL_STATIC_DRAW);
  const GLsizei stride = sizeof(TViewVertex);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TViewVertex, position)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TViewVertex, normal)));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<void*>(offsetof(TViewVertex, color)));
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)), indices.data(), GL_STATIC_DRAW);
  glBindVertexArray(0);
  mesh.count = GLsizei(indices.size());
}

void TView3DViewport::UploadDirty() {
  if (!Ready()) return;
  const int chunks = scene_.Chunks();
  while (int(chunks_.size()) > chunks) {
    Release(chunks_.back());
    chunks_.pop_back();
  }
  std::vector<TViewVertex> vertices;
  std::vector<uint32_t> indices;
  bool changed = int(chunks_.size()) < chunks;
  chunks_.resize(size_t(chunks));
  for (int c = 0; c < chunks; ++c) {
    TGpuMesh& chunk = chunks_[size_t(c)];
    if (chunk.vao && !scene_.Dirty(c)) continue;
    scene_.Pack(c * TView3DScene::kChunkSections, TView3DScene::kChunkSections, vertices, indices);
    Upload(chunk, vertices, indices);
    chunk.box = scene_.ChunkBox(c);
    scene_.Clean(c);
    changed = true;
    const auto [first, last] = Tinted();
    if (first >= 0 && first / TView3DScene::kChunkSections <= c && c <= last / TView3DScene::kChunkSections)
      UploadSelection();
  }
  if (!changed) return;
  BuildStartLine();
  BuildGrid();
}

void TView3DViewport::UploadSelection() {
  if (!Ready()) return;
  std::vector<TViewVertex> vertices;
  std::vector<uint32_t> indices;
  const auto [first, last] = Tinted();
  if (first >= 0) scene_.Pack(first, last - first + 1, vertices, indices);
  Upload(selection_, vertices, indices);
}

void TView3DViewport::BuildStartLine() {
  // A band across the track at the start of section 0, from its first wall to its
  // last, following the surface.
  std::vector<TViewVertex> vertices;
  std::vector<uint32_t> indices;
  const TTrack* track = scene_.Track();
  if (track && track->NumberOfSections() > 0 && !scene_.Mesh(0).Empty()) {
    const TSection& section = *track->Section(0);
    std::vector<double> across;
    for (const auto& wall : section.Walls) across.push_back(wall->From);
    for (int32_t trace : track->Traces)
      if (trace > across.front() && trace < across.back()) across.push_back(trace);
    std::sort(across.begin(), across.end());
    const double along = std::min(1.0, kStartLineLength / (section.Length * kMetres));
    const TColor red = style::kStartFinishColor;
    for (double v : across) {
      for (double t : {0.0, along}) {
        const auto p = SurfacePointAt(*track, 0, t, v);
        if (!p) continue;
        TViewVertex out{{float((p->x - scene_.OriginX()) * kMetres), float(p->height * kMetres),
                         float(-(p->y - scene_.OriginY()) * kMetres)},
                        {0, 1, 0},
                        {red.r, red.g, red.b, 255}};
        vertices.push_back(out);
      }
    }
    for (uint32_t c = 0; c + 3 < vertices.size(); c += 2) indices.insert(indices.end(), {c, c + 1, c + 3, c, c + 3, c + 2});
  }
  Upload(startLine_, vertices, indices);
}

void TView3DViewport::BuildGrid() {
  const TBox box = scene_.Box();
  std::vector<float> points;
  if (!box.empty) {
    const float size = std::max({box.hi[0] - box.lo[0], box.hi[2] - box.lo[2], 10.0f});
    const float spacing = std::pow(10.0f, std::floor(std::log10(size / 5)));
    const float margin = size * 0.25f;
    const float x0 = std::floor((box.lo[0] - margin) / spacing) * spacing;
    const float x1 = std::ceil((box.hi[0] + margin) / spacing) * spacing;
    const float z0 = std::floor((box.lo[2] - margin) / spacing) * spacing;
    const float z1 = std::ceil((box.hi[2] + margin) / spacing) * spacing;
    for (float x = x0; x <= x1 + spacing / 2; x += spacing) points.insert(points.end(), {x, 0, z0, x, 0, z1});
    for (float z = z0; z <= z1 + spacing / 2; z += spacing) points.insert(points.end(), {x0, 0, z, x1, 0, z});
    gridHeight_ = box.lo[1];
  }
  if (!gridVao_) {
    glGenVertexArrays(1, &gridVao_);
    glGenBuffers(1, &gridBuffer_);
  }
  glBindVertexArray(gridVao_);
  glBindBuffer(GL_ARRAY_BUFFER, gridBuffer_);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(points.size() * sizeof(float)), points.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
  glBindVertexArray(0);
  gridLines_ = GLsizei(points.size() / 3);
}

void TView3DViewport::SceneChanged() {
  if (drive_.section >= scene_.Sections()) drive_ = TDriveCamera{};
  if (selected_ >= scene_.Sections()) selected_ = -1;
  if (Ready()) {
    makeCurrent();
    UploadDirty();
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
    UploadSelection();
    doneCurrent();
  }
  update();
}

void TView3DViewport::SetSelected(int section) {
  if (section == selected_) return;
  selected_ = section;
  if (Ready()) {
    makeCurrent();
    UploadSelection();
    doneCurrent();
  }
  update();
}

void TView3DViewport::SetExaggeration(int factor) {
  exaggeration_ = std::max(1, factor);
  if (driving_) PlaceDriveCamera(drive_.section, drive_.t);
  update();
}

void TView3DViewport::SetSky(bool sky) {
  sky_ = sky;
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
  Drive(speed_ / 3.6 * seconds);
}

// ---- drawing ----

bool TView3DViewport::Visible(const TBox& box, const QMatrix4x4& viewProjection) const {
  if (box.empty) return false;
  const float k = float(exaggeration_);
  int outside[6] = {0, 0, 0, 0, 0, 0};
  for (int corner = 0; corner < 8; ++corner) {
    const QVector4D p = viewProjection * QVector4D(corner & 1 ? box.hi[0] : box.lo[0],
                                                   (corner & 2 ? box.hi[1] : box.lo[1]) * k,
                                                   corner & 4 ? box.hi[2] : box.lo[2], 1.0f);
    outside[0] += p.x() < -p.w();
    outside[1] += p.x() > p.w();
    outside[2] += p.y() < -p.w();
    outside[3] += p.y() > p.w();
    outside[4] += p.z() < -p.w();
    outside[5] += p.z() > p.w();
  }
  for (int plane : outside)
    if (plane == 8) return false;
  return true;
}

void TView3DViewport::resizeGL(int, int) {}

void TView3DViewport::paintGL() {
  if (!Ready()) {
    glClearColor(kPlainBackground.x(), kPlainBackground.y(), kPlainBackground.z(), 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return;
  }
  UploadDirty();
  const QMatrix4x4 viewProjection = ProjectionMatrix() * ViewMatrix();
  glViewport(0, 0, GLsizei(width() * devicePixelRatioF()), GLsizei(height() * devicePixelRatioF()));
  glClearColor(kPlainBackground.x(), kPlainBackground.y(), kPlainBackground.z(), 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (sky_) {
    glDisable(GL_DEPTH_TEST);
    skyProgram_->bind();
    skyProgram_->setUniformValue("inverseViewProjection", viewProjection.inverted());
    glBindVertexArray(emptyVao_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
  }
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);

  surface_->bind();
  surface_->setUniformValue("viewProjection", viewProjection);
  surface_->setUniformValue("exaggeration", float(exaggeration_));
  surface_->setUniformValue("light", kLight);
  surface_->setUniformValue("tint", QVector4D(0, 0, 0, 0));
  for (const TGpuMesh& chunk : chunks_) {
    if (chunk.count == 0 || !Visible(chunk.box, viewProjection)) continue;
    glBindVertexArray(chunk.vao);
    glDrawElements(GL_TRIANGLES, chunk.count, GL_UNSIGNED_INT, nullptr);
  }
  // The start line and the selection lie on the surface: drawn nearer by a hair.
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-1.0f, -4.0f);
  if (startLine_.count) {
    glBindVertexArray(startLine_.vao);
    glDrawElements(GL_TRIANGLES, startLine_.count, GL_UNSIGNED_INT, nullptr);
  }
  if (selection_.count) {
    surface_->setUniformValue("tint", driving_ ? kDriveSelectionTint : kSelectionTint);
    glBindVertexArray(selection_.vao);
    glDrawElements(GL_TRIANGLES, selection_.count, GL_UNSIGNED_INT, nullptr);
  }
  glDisable(GL_POLYGON_OFFSET_FILL);

  if (gridLines_) {
    lines_->bind();
    lines_->setUniformValue("viewProjection", viewProjection);
    const float below = driving_ ? 0.05f : std::max(0.05f, orbit_.distance * 0.002f);
    lines_->setUniformValue("height", gridHeight_ * exaggeration_ - below);
    lines_->setUniformValue("color", sky_ ? QVector4D(0.55f, 0.6f, 0.55f, 1) : QVector4D(0.75f, 0.75f, 0.75f, 1));
    glBindVertexArray(gridVao_);
    glDrawArrays(GL_LINES, 0, gridLines_);
  }
  glBindVertexArray(0);
}

void TView3DViewport::RenderNow() {
  if (!Ready()) return;
  makeCurrent();
  // Into the widget's own framebuffer, where a repaint draws.
  glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
  paintGL();
  glFinish();
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
