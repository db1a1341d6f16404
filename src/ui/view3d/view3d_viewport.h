#pragma once
// The 3D view's widget: the pointer and keys that move the orbit and drive
// cameras and pick sections, and the frame each camera asks of the renderer
// (view3d_renderer.h), which draws it.
#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QTimer>
#include <memory>
#include <utility>
#include <vector>

#include "ui/view3d/view3d_cameras.h"
#include "ui/view3d/view3d_look.h"
#include "ui/view3d/view3d_renderer.h"
#include "ui/view3d/view3d_scene.h"

namespace meridal {

class TView3DViewport : public QOpenGLWidget {
  Q_OBJECT

 public:
  TView3DViewport(TView3DScene& scene, QWidget* parent = nullptr);
  ~TView3DViewport() override;

  // The scene's meshes changed: upload what is dirty and draw again.
  void SceneChanged();
  void SetSelected(int section);
  int Selected() const { return selected_; }
  // A run of several sections holding the selected one is tinted whole.
  void SetSelectedRun(int first, int last);
  void SetExaggeration(int factor);
  int Exaggeration() const { return exaggeration_; }
  void ZoomToFit();
  void SetDriving(bool driving);
  bool Driving() const { return driving_; }
  void SetPlaying(bool playing);
  bool Playing() const { return playTimer_.isActive(); }
  void SetSpeed(double kilometresPerHour) { speed_ = kilometresPerHour; }
  // The line laid over the track (empty: none). While there is one, Play rides
  // it at its own speeds rather than the zero line at the set speed.
  void SetLine(std::vector<TView3DLinePoint> line, bool dimmed);
  const std::vector<TView3DLinePoint>& Line() const { return line_; }
  // The point of the line Play rides from (Line().size() until it starts).
  size_t LineAt() const { return lineAt_; }
  void SetLook(const TView3DLook& look);
  const TView3DLook& Look() const { return look_; }
  // The samples a pixel the display allows for antialiasing (1: none); 0 before
  // the view first drew.
  int Samples() const { return samples_; }
  // Moves the drive camera along the zero line (negative: back).
  void Drive(double metres);
  // The drive camera to the start of the next (+1) or previous (-1) section.
  void JumpSection(int step);
  int DriveSection() const { return drive_.section; }
  // Draws the picture at once and waits until the renderer has finished it.
  void RenderNow();
  // Where a point of the plan (track units) at a height shows in the widget.
  QPointF WidgetPointOf(double planX, double planY, double height) const;

 signals:
  void SectionClicked(int section);
  void DriveSectionChanged(int section);
  void PlayingChanged(bool playing);
  void OpenGLFailed(const QString& why);
  // OpenGL is set up: Samples() is known.
  void Started();

 protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  // With the context current: what the renderer needs to know of the scene and
  // the selection.
  void SendToRenderer();
  TView3DFrame Frame() const;
  QMatrix4x4 ViewMatrix() const;
  QMatrix4x4 ProjectionMatrix() const;
  void Ray(const QPointF& at, float origin[3], float direction[3]) const;
  void PlaceDriveCamera(int section, double t);
  // Puts the drive camera `metres` on from t of `section` along the zero line.
  void Ride(int section, double t, double metres);
  void Step();
  // Play on the line: `seconds` on at the line's speeds.
  void RideLine(double seconds);
  size_t NearestLinePoint() const;
  bool Ready() const { return ready_ && !failed_; }

  TView3DScene& scene_;
  TView3DRenderer renderer_;
  bool ready_ = false, failed_ = false;
  TView3DLook look_;
  int samples_ = 0;

  int selected_ = -1;
  int runFirst_ = -1, runLast_ = -1;
  // The sections tinted: the run when it holds the selected section, else that one.
  std::pair<int, int> Tinted() const;
  int exaggeration_ = 1;
  TOrbitCamera orbit_;
  bool driving_ = false;
  TDriveCamera drive_;
  QVector3D driveEye_, driveAhead_{1, 0, 0};
  double speed_ = 100;  // km/h
  QTimer playTimer_;
  std::vector<TView3DLinePoint> line_;
  bool lineDimmed_ = false, lineSent_ = false;
  size_t lineAt_ = 0;     // the step Play is on
  double lineShare_ = 0;  // how much of it is behind
  QElapsedTimer playClock_;

  QPoint pressAt_, lastAt_;
  Qt::MouseButton pressButton_ = Qt::NoButton;
  bool dragged_ = false, spaceHeld_ = false;
};

}  // namespace meridal
