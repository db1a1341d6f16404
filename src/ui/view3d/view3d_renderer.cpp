#include "ui/view3d/view3d_renderer.h"

#include <QFile>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "mesh/surface_textures.h"
#include "model/track.h"
#include "model/units.h"
#include "ui/view3d/view3d_cameras.h"
#include "ui/view3d/view3d_ribbon.h"

// The shaders are resources of this static library: registered by hand.
static void InitShaderResources() { Q_INIT_RESOURCE(view3d_shaders); }

namespace meridal {

namespace {

constexpr double kMetres = double(kMetersPerUnit);
constexpr int kLayers = 2 * kTextureCount;
constexpr float kStartLineLength = 1.0f;  // metres along the track
constexpr float kLineWidth = 1.2f;  // metres: the lap's line laid over the track
constexpr float kLineLift = 0.08f;  // metres above the surface (kerbs are raised a little)
const QVector3D kOutlineColor(1.0f, 0.42f, 0.05f);
const QVector4D kSelectionTint(1.0f, 0.35f, 0.05f, 0.55f);

// A program from the shaders NAME.vert and NAME.frag, each with `defines` put
// after its first line (the version).
std::unique_ptr<QOpenGLShaderProgram> Program(const char* name, QString& log, const QStringList& defines = {}) {
  auto program = std::make_unique<QOpenGLShaderProgram>();
  const auto source = [&](const char* suffix) {
    QFile file(QStringLiteral(":/view3d/shaders/") + name + suffix);
    file.open(QIODevice::ReadOnly);
    QByteArray text = file.readAll();
    QByteArray lines;
    for (const QString& define : defines) lines += "#define " + define.toUtf8() + "\n";
    return text.insert(text.indexOf('\n') + 1, lines);
  };
  if (program->addShaderFromSourceCode(QOpenGLShader::Vertex, source(".vert")) &&
      program->addShaderFromSourceCode(QOpenGLShader::Fragment, source(".frag")) && program->link())
    return program;
  log = QString(name) + ": " + program->log();
  return nullptr;
}

// The vertex of a section's surface at (t, lateral), for meshes laid over it.
bool SurfaceVertex(const TTrack& track, const TView3DScene& scene, int section, double t, double lateral,
                   double lift, QVector3D& at) {
  const auto p = SurfacePointAt(track, section, t, lateral);
  if (!p) return false;
  at = QVector3D(float((p->x - scene.OriginX()) * kMetres), float((p->height + p->raised) * kMetres + lift),
                 float(-(p->y - scene.OriginY()) * kMetres));
  return true;
}

}  // namespace

TView3DRenderer::TView3DRenderer(TView3DScene& scene) : scene_(scene) {}

TView3DRenderer::~TView3DRenderer() = default;

bool TView3DRenderer::Initialize(QString* why) {
  initializeOpenGLFunctions();
  InitShaderResources();
  QString log;
  bool built = true;
  for (auto [program, name] : {std::pair{&depth_, "depth"}, {&sky_, "sky"}, {&lines_, "lines"}})
    built = built && (*program = Program(name, log));
  // The surface's program in four kinds: with or without textures and shadows.
  for (int kind = 0; kind < 4 && built; ++kind) {
    QStringList defines;
    if (kind & 1) defines << "TEXTURED";
    if (kind & 2) defines << "SHADOWED";
    built = bool(surfaces_[kind] = Program("surface", log, defines));
  }
  if (!built) {
    ReleasePrograms();
    if (why) *why = log;
    return false;
  }
  GLint samples = 1;
  glGetIntegerv(GL_MAX_SAMPLES, &samples);
  samples_ = std::clamp(samples, 1, 4);
  // Everything goes up afresh: a new context starts with nothing on the card.
  chunks_.clear();
  tintedMesh_ = startLine_ = ground_ = line_ = TGpuMesh{};
  outlineVao_ = outlineBuffer_ = gridVao_ = gridBuffer_ = 0;
  sampledFramebuffer_ = sampledColor_ = sampledDepth_ = 0;
  sampledSize_ = QSize();
  groundVersion_ = -1;
  glGenVertexArrays(1, &emptyVao_);
  UploadTextures();
  glGenBuffers(1, &offsetsBuffer_);
  glGenTextures(1, &offsetsTexture_);
  // The shadow map: depths that the lookup compares with, filtered 2 x 2.
  glGenTextures(1, &shadowTexture_);
  glBindTexture(GL_TEXTURE_2D, shadowTexture_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, kShadowSize, kShadowSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
  glGenFramebuffers(1, &shadowFramebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, shadowTexture_, 0);
  glDrawBuffer(GL_NONE);
  glReadBuffer(GL_NONE);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_FRAMEBUFFER, QOpenGLContext::currentContext()->defaultFramebufferObject());
  if (!complete) {
    glDeleteFramebuffers(1, &shadowFramebuffer_);
    shadowFramebuffer_ = 0;  // no shadows here
  }
  ready_ = true;
  UploadDirty();
  UploadTinted();
  return true;
}

void TView3DRenderer::Release() {
  if (!ready_) return;
  for (TChunk& chunk : chunks_)
    for (TGpuMesh& level : chunk.levels) Release(level);
  chunks_.clear();
  for (TGpuMesh* mesh : {&tintedMesh_, &startLine_, &ground_, &line_}) Release(*mesh);
  const GLuint arrays[] = {outlineVao_, gridVao_, emptyVao_};
  glDeleteVertexArrays(3, arrays);
  const GLuint buffers[] = {outlineBuffer_, gridBuffer_, offsetsBuffer_};
  glDeleteBuffers(3, buffers);
  const GLuint textures[] = {textures_, offsetsTexture_, shadowTexture_};
  glDeleteTextures(3, textures);
  const GLuint framebuffers[] = {shadowFramebuffer_, sampledFramebuffer_};
  glDeleteFramebuffers(2, framebuffers);
  const GLuint renderbuffers[] = {sampledColor_, sampledDepth_};
  glDeleteRenderbuffers(2, renderbuffers);
  ReleasePrograms();
  ready_ = false;
}

void TView3DRenderer::ReleasePrograms() {
  for (auto& program : surfaces_) program.reset();
  depth_.reset(), sky_.reset(), lines_.reset();
}

// ---- what goes to the card ----

void TView3DRenderer::UploadTextures() {
  // Every texture, plain and marked, with its mipmap levels: one layer each.
  const TSurfaceTextures& textures = TSurfaceTextures::Shared();
  const int size = TSurfaceTextures::kSize;
  glGenTextures(1, &textures_);
  glBindTexture(GL_TEXTURE_2D_ARRAY, textures_);
  int levels = 1;
  while ((size >> (levels - 1)) > 1) ++levels;
  for (int level = 0; level < levels; ++level)
    glTexImage3D(GL_TEXTURE_2D_ARRAY, level, GL_RGBA8, size >> level, size >> level, kLayers, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
  for (int marked = 0; marked < 2; ++marked)
    for (int t = 0; t < kTextureCount; ++t) {
      const TTextureImage& image = textures.Image(TTexture(t), marked != 0);
      const int layer = TextureLayer(TTexture(t), marked != 0);
      glTexSubImage3D(GL_TEXTURE_2D_ARRAY, 0, 0, 0, layer, size, size, 1, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
      const std::vector<TTextureImage> mips = MipLevels(image);
      for (size_t m = 0; m < mips.size(); ++m)
        glTexSubImage3D(GL_TEXTURE_2D_ARRAY, GLint(m + 1), 0, 0, layer, mips[m].size, mips[m].size, 1, GL_RGBA,
                        GL_UNSIGNED_BYTE, mips[m].rgba.data());
    }
  glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D_ARRAY, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void TView3DRenderer::Release(TGpuMesh& mesh) {
  if (mesh.vao) glDeleteVertexArrays(1, &mesh.vao);
  if (mesh.vertices) glDeleteBuffers(1, &mesh.vertices);
  if (mesh.indices) glDeleteBuffers(1, &mesh.indices);
  mesh = TGpuMesh{};
}

void TView3DRenderer::Upload(TGpuMesh& mesh, const std::vector<TViewVertex>& vertices,
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
  const auto attribute = [&](GLuint at, GLint size, GLenum type, GLboolean normalised, size_t offset) {
    glEnableVertexAttribArray(at);
    glVertexAttribPointer(at, size, type, normalised, stride, reinterpret_cast<void*>(offset));
  };
  attribute(0, 3, GL_FLOAT, GL_FALSE, offsetof(TViewVertex, position));
  attribute(1, 3, GL_FLOAT, GL_FALSE, offsetof(TViewVertex, normal));
  attribute(2, 2, GL_FLOAT, GL_FALSE, offsetof(TViewVertex, uv));
  attribute(3, 1, GL_FLOAT, GL_FALSE, offsetof(TViewVertex, section));
  attribute(4, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(TViewVertex, color));
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)), indices.data(), GL_STATIC_DRAW);
  glBindVertexArray(0);
  mesh.count = GLsizei(indices.size());
}

void TView3DRenderer::UploadLines(GLuint& vao, GLuint& buffer, const std::vector<float>& positions) {
  if (!vao) {
    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &buffer);
  }
  glBindVertexArray(vao);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(positions.size() * sizeof(float)), positions.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
  glBindVertexArray(0);
}

bool TView3DRenderer::UploadDirty() {
  if (!ready_) return false;
  const int chunks = scene_.Chunks();
  bool changed = int(chunks_.size()) != chunks;
  while (int(chunks_.size()) > chunks) {
    for (TGpuMesh& level : chunks_.back().levels) Release(level);
    chunks_.pop_back();
  }
  chunks_.resize(size_t(chunks));
  std::vector<TViewVertex> vertices;
  std::vector<uint32_t> indices;
  bool tintedChanged = false;
  const bool retexture = farTextured_ != look_.textures;
  farTextured_ = look_.textures;
  const int far = TView3DScene::kLevels - 1;
  for (int c = 0; c < chunks; ++c) {
    TChunk& chunk = chunks_[size_t(c)];
    const int first = c * TView3DScene::kChunkSections;
    if (chunk.levels[0].vao && !scene_.Dirty(c)) {
      if (retexture) {
        scene_.Pack(first, TView3DScene::kChunkSections, vertices, indices, far, farTextured_);
        Upload(chunk.levels[far], vertices, indices);
      }
      continue;
    }
    for (int lod = 0; lod < TView3DScene::kLevels; ++lod) {
      scene_.Pack(first, TView3DScene::kChunkSections, vertices, indices, lod, farTextured_);
      Upload(chunk.levels[lod], vertices, indices);
    }
    chunk.box = scene_.ChunkBox(c);
    scene_.Clean(c);
    changed = true;
    tintedChanged = tintedChanged || (tinted_[0] >= 0 && tinted_[0] / TView3DScene::kChunkSections <= c &&
                                      c <= tinted_[1] / TView3DScene::kChunkSections);
  }
  if (!changed) return retexture;
  if (tintedChanged) UploadTinted();
  // Every section's offset along: an edit may have moved the start line's
  // distance to every later one.
  const std::vector<float> offsets = scene_.AlongOffsets();
  glBindBuffer(GL_TEXTURE_BUFFER, offsetsBuffer_);
  glBufferData(GL_TEXTURE_BUFFER, GLsizeiptr(std::max<size_t>(1, offsets.size()) * sizeof(float)),
               offsets.empty() ? nullptr : offsets.data(), GL_DYNAMIC_DRAW);
  glBindTexture(GL_TEXTURE_BUFFER, offsetsTexture_);
  glTexBuffer(GL_TEXTURE_BUFFER, GL_R32F, offsetsBuffer_);
  UploadStartLine();
  UploadOutline();
  return true;
}

void TView3DRenderer::SetTinted(int first, int last) {
  if (first == tinted_[0] && last == tinted_[1]) return;
  tinted_[0] = first, tinted_[1] = last;
  UploadTinted();
}

void TView3DRenderer::SetOutlined(int section) {
  if (section == outlined_) return;
  outlined_ = section;
  UploadOutline();
}

void TView3DRenderer::UploadTinted() {
  if (!ready_) return;
  std::vector<TViewVertex> vertices;
  std::vector<uint32_t> indices;
  if (tinted_[0] >= 0) scene_.Pack(tinted_[0], tinted_[1] - tinted_[0] + 1, vertices, indices);
  Upload(tintedMesh_, vertices, indices);
}

void TView3DRenderer::UploadOutline() {
  if (!ready_) return;
  // Ribbons along the section's outermost walls and across its ends, a hair
  // above what is drawn there.
  std::vector<float> positions;
  const TTrack* track = scene_.Track();
  if (track && outlined_ >= 0 && outlined_ < scene_.Sections() && !scene_.Mesh(outlined_).Empty()) {
    const TSection& section = *track->Section(outlined_);
    const int steps = std::max(1, scene_.Mesh(outlined_).steps);
    const TWall &right = *section.Wall(0), &left = *section.Wall(section.NumberOfWalls() - 1);
    const auto lateral = [](const TWall& wall, double t) { return wall.From + t * (double(wall.To) - wall.From); };
    for (const TWall* wall : {&right, &left}) {
      std::vector<QVector3D> line;
      QVector3D p;
      for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        if (SurfaceVertex(*track, scene_, outlined_, t, lateral(*wall, t), 0.03, p)) line.push_back(p);
      }
      AppendRibbon(line, 0.25f, positions);
    }
    for (double t : {0.0, 1.0}) {
      std::vector<QVector3D> line;
      QVector3D p;
      for (int i = 0; i <= 16; ++i) {
        const double v = lateral(right, t) + (lateral(left, t) - lateral(right, t)) * i / 16;
        if (SurfaceVertex(*track, scene_, outlined_, t, v, 0.03, p)) line.push_back(p);
      }
      AppendRibbon(line, 0.25f, positions);
    }
  }
  UploadLines(outlineVao_, outlineBuffer_, positions);
  outlineCount_ = GLsizei(positions.size() / 3);
}

void TView3DRenderer::SetLine(const std::vector<TView3DLinePoint>& line, bool dimmed) {
  if (!ready_) return;
  std::vector<TViewVertex> vertices;
  std::vector<uint32_t> indices;
  LineRibbon(line, scene_.OriginX() * kMetres, scene_.OriginY() * kMetres, kLineWidth, kLineLift, dimmed, vertices,
             indices);
  Upload(line_, vertices, indices);
}

void TView3DRenderer::UploadStartLine() {
  // A chequered band 1 m long across section 0's start, from its first wall to
  // its last, following the surface.
  std::vector<TViewVertex> vertices;
  std::vector<uint32_t> indices;
  const TTrack* track = scene_.Track();
  if (track && scene_.Sections() > 0 && !scene_.Mesh(0).Empty()) {
    const TSection& section = *track->Section(0);
    std::vector<double> across;
    for (const auto& wall : section.Walls) across.push_back(wall->From);
    std::sort(across.begin(), across.end());
    for (int32_t trace : track->Traces)
      if (trace > across.front() && trace < across.back()) across.push_back(trace);
    std::sort(across.begin(), across.end());
    const double along = std::min(1.0, kStartLineLength / std::max(1e-9, section.Length * kMetres));
    const uint8_t layer = uint8_t(TextureLayer(TTexture::StartLine, false) + 128);
    for (double v : across)
      for (double t : {0.0, along}) {
        QVector3D p;
        if (!SurfaceVertex(*track, scene_, 0, t, v, 0, p)) continue;
        vertices.push_back({{p.x(), p.y(), p.z()},
                            {0, 1, 0},
                            {float(t * section.Length * kMetres), float(v * kMetres)},
                            0,
                            {240, 240, 240},
                            layer});
      }
    for (uint32_t c = 0; c + 3 < vertices.size(); c += 2) indices.insert(indices.end(), {c, c + 1, c + 3, c, c + 3, c + 2});
  }
  Upload(startLine_, vertices, indices);
}

void TView3DRenderer::UploadGround() {
  const TGroundGrid& ground = scene_.Ground();
  if (scene_.GroundVersion() == groundVersion_) return;
  groundVersion_ = scene_.GroundVersion();
  std::vector<TGroundVertex> field;
  std::vector<uint32_t> indices;
  const TBox box = scene_.Box();
  const float size = box.empty ? 100.0f : std::max(box.hi[0] - box.lo[0], box.hi[2] - box.lo[2]);
  ground.Triangles(field, indices, 20.0 * size + 20000);
  std::vector<TViewVertex> vertices(field.size());
  const uint8_t layer = uint8_t(TextureLayer(TTexture::Grass, false) + 128);
  for (size_t i = 0; i < field.size(); ++i) {
    TViewVertex& v = vertices[i];
    std::copy(field[i].position, field[i].position + 3, v.position);
    std::copy(field[i].normal, field[i].normal + 3, v.normal);
    std::copy(field[i].uv, field[i].uv + 2, v.uv);
    v.section = -1;
    v.color[0] = 86, v.color[1] = 140, v.color[2] = 60;
    v.layer = layer;
  }
  Upload(ground_, vertices, indices);
  UploadGrid();
}

void TView3DRenderer::UploadGrid() {
  // Lines every power of ten metres (a fifth of the track's size or less), laid
  // on the ground, a few centimetres above it.
  const TGroundGrid& ground = scene_.Ground();
  std::vector<float> points;
  if (!ground.Empty()) {
    const double extent = ground.Cells() * ground.Cell();
    const double spacing = std::pow(10.0, std::floor(std::log10(std::max(10.0, extent / 5))));
    const double x0 = std::ceil(ground.X0() / spacing) * spacing, z0 = std::ceil(ground.Z0() / spacing) * spacing;
    const double step = ground.Cell();
    const auto put = [&](double x, double z) {
      points.insert(points.end(), {float(x), float(ground.HeightAt(x, z) + 0.05), float(z)});
    };
    for (double x = x0; x <= ground.X0() + extent; x += spacing)
      for (double z = ground.Z0(); z + step <= ground.Z0() + extent + 1e-6; z += step) put(x, z), put(x, z + step);
    for (double z = z0; z <= ground.Z0() + extent; z += spacing)
      for (double x = ground.X0(); x + step <= ground.X0() + extent + 1e-6; x += step) put(x, z), put(x + step, z);
  }
  UploadLines(gridVao_, gridBuffer_, points);
  gridCount_ = GLsizei(points.size() / 3);
}

// ---- drawing ----

bool TView3DRenderer::Visible(const TBox& box, const QMatrix4x4& viewProjection, float k) const {
  if (box.empty) return false;
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
  return std::none_of(std::begin(outside), std::end(outside), [](int n) { return n == 8; });
}

int TView3DRenderer::LevelOf(const TBox& box, const TView3DFrame& frame) const {
  // The box's point nearest the eye.
  double squared = 0;
  for (int c = 0; c < 3; ++c) {
    const float k = c == 1 ? frame.exaggeration : 1.0f;
    const float nearest = std::clamp(frame.eye[c], std::min(box.lo[c] * k, box.hi[c] * k), std::max(box.lo[c] * k, box.hi[c] * k));
    squared += double(frame.eye[c] - nearest) * (frame.eye[c] - nearest);
  }
  const double distance = std::max(1.0, std::sqrt(squared));
  const double pixelsPerMetre = frame.size.height() / (2 * std::tan(qDegreesToRadians(double(kFieldOfView)) / 2) * distance);
  // Kerb stripes and traces' kinks while they show; strips while a metre takes
  // a pixel or two; then one colour a section.
  return pixelsPerMetre >= 2.5 ? 0 : pixelsPerMetre >= 0.4 ? 1 : 2;
}

void TView3DRenderer::DrawChunks(const QMatrix4x4& viewProjection, const TView3DFrame& frame) {
  for (const TChunk& chunk : chunks_) {
    if (!Visible(chunk.box, viewProjection, frame.exaggeration)) continue;
    const TGpuMesh& mesh = chunk.levels[LevelOf(chunk.box, frame)];
    if (mesh.count == 0) continue;
    glBindVertexArray(mesh.vao);
    glDrawElements(GL_TRIANGLES, mesh.count, GL_UNSIGNED_INT, nullptr);
  }
}

QMatrix4x4 TView3DRenderer::LightViewProjection(const TView3DFrame& frame) const {
  const float radius = frame.shadowRadius;
  const TBox box = scene_.Box();
  const float depth = radius + (box.empty ? 0.0f : (box.hi[1] - box.lo[1]) * frame.exaggeration) + 50.0f;
  QMatrix4x4 view;
  view.lookAt(frame.shadowCentre + look::kSun * depth, frame.shadowCentre, QVector3D(0, 1, 0));
  // The centre moved to whole texels of the map, so that the shadows' edges
  // stand still while the camera moves.
  const float texel = 2 * radius / kShadowSize;
  const QVector3D centre = view.map(frame.shadowCentre);
  QMatrix4x4 snap;
  snap.translate(std::round(centre.x() / texel) * texel - centre.x(), std::round(centre.y() / texel) * texel - centre.y(), 0);
  QMatrix4x4 projection;
  projection.ortho(-radius, radius, -radius, radius, 0.0f, 2 * depth);
  return projection * snap * view;
}

void TView3DRenderer::DrawShadowMap(const QMatrix4x4& lightViewProjection, const TView3DFrame& frame) {
  glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer_);
  glViewport(0, 0, kShadowSize, kShadowSize);
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  // Pushed back a little, so that a surface does not shade itself.
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(2.0f, 4.0f);
  depth_->bind();
  depth_->setUniformValue("lightViewProjection", lightViewProjection);
  depth_->setUniformValue("exaggeration", frame.exaggeration);
  DrawChunks(lightViewProjection, frame);
  glDisable(GL_POLYGON_OFFSET_FILL);
}

void TView3DRenderer::PrepareTarget(const TView3DFrame& frame) {
  const bool sampled = look_.antialiasing && samples_ > 1;
  if (sampled && (!sampledFramebuffer_ || sampledSize_ != frame.size)) {
    if (!sampledFramebuffer_) {
      glGenFramebuffers(1, &sampledFramebuffer_);
      glGenRenderbuffers(1, &sampledColor_);
      glGenRenderbuffers(1, &sampledDepth_);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, sampledColor_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, GL_RGBA8, frame.size.width(), frame.size.height());
    glBindRenderbuffer(GL_RENDERBUFFER, sampledDepth_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, GL_DEPTH24_STENCIL8, frame.size.width(),
                                     frame.size.height());
    glBindFramebuffer(GL_FRAMEBUFFER, sampledFramebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, sampledColor_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, sampledDepth_);
    sampledSize_ = frame.size;
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) samples_ = 1;  // not here, then
  }
  glBindFramebuffer(GL_FRAMEBUFFER, look_.antialiasing && samples_ > 1 ? sampledFramebuffer_ : frame.target);
  glViewport(0, 0, frame.size.width(), frame.size.height());
  const QVector3D background = look_.sky ? look::kHorizon : look::kPlainBackground;
  glClearColor(background.x(), background.y(), background.z(), 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void TView3DRenderer::Draw(const TView3DFrame& frame) {
  if (!ready_) return;
  UploadGround();
  const QMatrix4x4 viewProjection = frame.projection * frame.view;
  const bool shadows = look_.shadows && shadowFramebuffer_;
  QMatrix4x4 lightViewProjection;
  if (shadows) {
    lightViewProjection = LightViewProjection(frame);
    DrawShadowMap(lightViewProjection, frame);
  }
  PrepareTarget(frame);
  DrawSurfaces(frame, viewProjection, lightViewProjection);
  DrawLines(frame, viewProjection);
  if (look_.sky) DrawSky(frame, viewProjection);
  glBindVertexArray(0);
  if (look_.antialiasing && samples_ > 1) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, sampledFramebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frame.target);
    glBlitFramebuffer(0, 0, frame.size.width(), frame.size.height(), 0, 0, frame.size.width(), frame.size.height(),
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, frame.target);
}

void TView3DRenderer::DrawSurfaces(const TView3DFrame& frame, const QMatrix4x4& viewProjection,
                                   const QMatrix4x4& lightViewProjection) {
  const bool shadows = look_.shadows && shadowFramebuffer_;
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  QOpenGLShaderProgram& surface = *surfaces_[(look_.textures ? 1 : 0) + (shadows ? 2 : 0)];
  surface.bind();
  SetSurfaceUniforms(surface, frame, viewProjection, lightViewProjection);
  DrawChunks(viewProjection, frame);
  // The start line and the tint lie on the surface: drawn nearer by a hair.
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-1.0f, -4.0f);
  if (startLine_.count) {
    glBindVertexArray(startLine_.vao);
    glDrawElements(GL_TRIANGLES, startLine_.count, GL_UNSIGNED_INT, nullptr);
  }
  if (line_.count) {
    glBindVertexArray(line_.vao);
    glDrawElements(GL_TRIANGLES, line_.count, GL_UNSIGNED_INT, nullptr);
  }
  if (tintedMesh_.count) {
    surface.setUniformValue("tint", kSelectionTint);
    glBindVertexArray(tintedMesh_.vao);
    glDrawElements(GL_TRIANGLES, tintedMesh_.count, GL_UNSIGNED_INT, nullptr);
    surface.setUniformValue("tint", QVector4D(0, 0, 0, 0));
  }
  // The ground lies just below the track: pushed back, so that it never shows
  // through it far away. It takes no shadows (only barriers cast any to speak
  // of, on the track beside them), which spares the lookup on most of the window.
  glPolygonOffset(2.0f, 8.0f);
  if (ground_.count) {
    if (shadows) {
      QOpenGLShaderProgram& unshadowed = *surfaces_[look_.textures ? 1 : 0];
      unshadowed.bind();
      SetSurfaceUniforms(unshadowed, frame, viewProjection, QMatrix4x4());
    }
    glBindVertexArray(ground_.vao);
    glDrawElements(GL_TRIANGLES, ground_.count, GL_UNSIGNED_INT, nullptr);
  }
  glDisable(GL_POLYGON_OFFSET_FILL);
}

void TView3DRenderer::SetSurfaceUniforms(QOpenGLShaderProgram& surface, const TView3DFrame& frame,
                                         const QMatrix4x4& viewProjection, const QMatrix4x4& lightViewProjection) {
  QMatrix4x4 toMap;  // from the light's clip space to the map's [0, 1]
  toMap.translate(0.5f, 0.5f, 0.5f);
  toMap.scale(0.5f);
  surface.setUniformValue("viewProjection", viewProjection);
  surface.setUniformValue("lightViewProjection", toMap * lightViewProjection);
  surface.setUniformValue("exaggeration", frame.exaggeration);
  surface.setUniformValue("sun", look::kSun);
  surface.setUniformValue("sunColor", look::kSunColor);
  surface.setUniformValue("skyLight", look::kSkyLight);
  surface.setUniformValue("groundLight", look::kGroundLight);
  surface.setUniformValue("eye", frame.eye);
  surface.setUniformValue("fogColor", look_.sky ? look::kHorizon : look::kPlainBackground);
  // exp(-(d k)^2) is a half at the visibility.
  surface.setUniformValue("fogDensity", float(std::sqrt(std::log(2.0)) / std::max(1.0f, frame.visibility)));
  surface.setUniformValue("tint", QVector4D(0, 0, 0, 0));
  GLfloat tiles[128] = {};
  for (int layer = 0; layer < kLayers; ++layer) tiles[layer] = float(TextureMetres(TTexture(layer % kTextureCount)));
  surface.setUniformValueArray("tileMetres", tiles, 128, 1);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D_ARRAY, textures_);
  surface.setUniformValue("surfaces", 0);
  glActiveTexture(GL_TEXTURE1);
  glBindTexture(GL_TEXTURE_BUFFER, offsetsTexture_);
  surface.setUniformValue("alongOffsets", 1);
  glActiveTexture(GL_TEXTURE2);
  glBindTexture(GL_TEXTURE_2D, shadowTexture_);
  surface.setUniformValue("shadowMap", 2);
  glActiveTexture(GL_TEXTURE0);
}

void TView3DRenderer::DrawLines(const TView3DFrame& frame, const QMatrix4x4& viewProjection) {
  const bool grid = look_.grid && gridCount_ > 0, outline = outlineCount_ > 0;
  if (!grid && !outline) return;
  lines_->bind();
  lines_->setUniformValue("viewProjection", viewProjection);
  lines_->setUniformValue("exaggeration", frame.exaggeration);
  lines_->setUniformValue("eye", frame.eye);
  glDepthMask(GL_FALSE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (grid) {
    lines_->setUniformValue("color", QVector4D(0.25f, 0.32f, 0.22f, 0.55f));
    lines_->setUniformValue("fadeFrom", frame.nearestGround * 10);
    lines_->setUniformValue("fadeTo", std::max(frame.nearestGround * 10 + 1, frame.visibility * 0.6f));
    glBindVertexArray(gridVao_);
    glDrawArrays(GL_LINES, 0, gridCount_);
  }
  if (outline) {
    lines_->setUniformValue("color", QVector4D(kOutlineColor, 1.0f));
    lines_->setUniformValue("fadeFrom", 1e9f);
    lines_->setUniformValue("fadeTo", 2e9f);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-2.0f, -8.0f);
    glBindVertexArray(outlineVao_);
    glDrawArrays(GL_TRIANGLES, 0, outlineCount_);
    glDisable(GL_POLYGON_OFFSET_FILL);
  }
  glDisable(GL_BLEND);
  glDepthMask(GL_TRUE);
}

void TView3DRenderer::DrawSky(const TView3DFrame& frame, const QMatrix4x4& viewProjection) {
  // Behind everything: only where nothing was drawn.
  glDepthMask(GL_FALSE);
  glDepthFunc(GL_LEQUAL);
  sky_->bind();
  sky_->setUniformValue("inverseViewProjection", viewProjection.inverted());
  sky_->setUniformValue("eye", frame.eye);
  sky_->setUniformValue("horizon", look::kHorizon);
  sky_->setUniformValue("zenith", look::kZenith);
  sky_->setUniformValue("below", look::kBelow);
  glBindVertexArray(emptyVao_);
  glDrawArrays(GL_TRIANGLES, 0, 3);
  glDepthMask(GL_TRUE);
}

}  // namespace meridal
