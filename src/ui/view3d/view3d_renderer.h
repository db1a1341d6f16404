#pragma once
// The OpenGL side of the 3D view: everything it keeps on the graphics card (the
// track's chunks, the ground, the start line, the selection, the textures, the
// shadow map, the antialiased picture) and the passes of a frame:
//   1. the shadow map: the track's depth seen from the sun, around where the
//      camera looks;
//   2. the picture, into 4 samples a pixel where antialiasing is on: the track,
//      the selection tinted (or outlined while driving), the start line, the
//      ground, the grid, the outline, then the sky behind all of them;
//   3. the samples resolved into the widget's picture.
// A further layer over the track (a line, a marker) is one more mesh drawn in
// pass 2 with the surface or the lines program.
//
// Every call but the constructor needs the view's OpenGL context current.
#include <QMatrix4x4>
#include <QOpenGLExtraFunctions>
#include <QSize>
#include <QString>
#include <QVector3D>
#include <memory>
#include <vector>

#include "ui/view3d/view3d_look.h"
#include "ui/view3d/view3d_ribbon.h"
#include "ui/view3d/view3d_scene.h"

class QOpenGLShaderProgram;

namespace meridal {

// What one frame shows, and from where.
struct TView3DFrame {
  QMatrix4x4 view, projection;
  QVector3D eye;
  float exaggeration = 1;
  QVector3D shadowCentre;     // where shadows matter most (heights stretched)
  float shadowRadius = 100;   // metres around it that the shadow map covers
  float visibility = 2000;    // metres at which the fog has taken half the colour
  float nearestGround = 0.3f; // metres: the grid fades from ten times this
  QSize size;                 // device pixels
  GLuint target = 0;          // the framebuffer that shows
};

class TView3DRenderer : protected QOpenGLExtraFunctions {
 public:
  explicit TView3DRenderer(TView3DScene& scene);
  ~TView3DRenderer();

  // Compiles the programs and sends the textures; false with the reason.
  bool Initialize(QString* why);
  // Gives back everything on the card (before the context goes).
  void Release();

  void SetLook(const TView3DLook& look) { look_ = look; }
  const TView3DLook& Look() const { return look_; }
  // The samples a pixel the display allows (1: no antialiasing).
  int Samples() const { return samples_; }

  // Sends what changed: the dirty chunks, the offsets along, the ground, the
  // start line. True when anything was sent.
  bool UploadDirty();
  // The sections tinted (orbit) and the one outlined (drive); -1: none.
  void SetTinted(int first, int last);
  void SetOutlined(int section);
  // The line laid over the track as a ribbon (empty: none).
  void SetLine(const std::vector<TView3DLinePoint>& line, bool dimmed);
  int TintedFirst() const { return tinted_[0]; }

  void Draw(const TView3DFrame& frame);

 private:
  struct TGpuMesh {
    GLuint vao = 0, vertices = 0, indices = 0;
    GLsizei count = 0;
    TBox box;
  };
  void Upload(TGpuMesh& mesh, const std::vector<TViewVertex>& vertices, const std::vector<uint32_t>& indices);
  void UploadLines(GLuint& vao, GLuint& buffer, const std::vector<float>& positions);
  void Release(TGpuMesh& mesh);
  void UploadTextures();
  void UploadTinted();
  void UploadOutline();
  void UploadStartLine();
  void UploadGround();
  void UploadGrid();
  bool Visible(const TBox& box, const QMatrix4x4& viewProjection, float exaggeration) const;
  QMatrix4x4 LightViewProjection(const TView3DFrame& frame) const;
  void DrawShadowMap(const QMatrix4x4& lightViewProjection, const TView3DFrame& frame);
  void PrepareTarget(const TView3DFrame& frame);
  void DrawSurfaces(const TView3DFrame& frame, const QMatrix4x4& viewProjection, const QMatrix4x4& lightViewProjection);
  void SetSurfaceUniforms(QOpenGLShaderProgram& surface, const TView3DFrame& frame, const QMatrix4x4& viewProjection,
                          const QMatrix4x4& lightViewProjection);
  void DrawLines(const TView3DFrame& frame, const QMatrix4x4& viewProjection);
  void DrawSky(const TView3DFrame& frame, const QMatrix4x4& viewProjection);

  TView3DScene& scene_;
  TView3DLook look_;
  bool ready_ = false;
  int samples_ = 1;
  void ReleasePrograms();
  std::unique_ptr<QOpenGLShaderProgram> surfaces_[4];  // without and with textures (+1) and shadows (+2)
  std::unique_ptr<QOpenGLShaderProgram> depth_, sky_, lines_;
  // Each chunk at every level of detail (TView3DScene::Pack), the farthest packed
  // for textures on or off as `farTextured_` says.
  struct TChunk {
    TGpuMesh levels[TView3DScene::kLevels];
    TBox box;
  };
  std::vector<TChunk> chunks_;
  bool farTextured_ = true;
  // The level a chunk is drawn at: by how many pixels a metre spans there.
  int LevelOf(const TBox& box, const TView3DFrame& frame) const;
  void DrawChunks(const QMatrix4x4& viewProjection, const TView3DFrame& frame);
  TGpuMesh tintedMesh_, startLine_, ground_, line_;
  GLuint outlineVao_ = 0, outlineBuffer_ = 0, gridVao_ = 0, gridBuffer_ = 0, emptyVao_ = 0;
  GLsizei outlineCount_ = 0, gridCount_ = 0;
  int tinted_[2] = {-1, -1};
  int outlined_ = -1;
  int groundVersion_ = -1;
  GLuint textures_ = 0;                         // the textures: one layer each
  GLuint offsetsBuffer_ = 0, offsetsTexture_ = 0;  // the sections' offsets along
  static constexpr int kShadowSize = 1024;
  GLuint shadowFramebuffer_ = 0, shadowTexture_ = 0;
  GLuint sampledFramebuffer_ = 0, sampledColor_ = 0, sampledDepth_ = 0;
  QSize sampledSize_;
};

}  // namespace meridal
