#pragma once
// The two cameras of the 3D view, in the scene's frame (metres, y up; heights
// already exaggerated where they are used).
//
// The orbit camera looks at a target from a distance, turned about the vertical
// (yaw) and raised above the horizon (pitch). The drive camera rides the zero
// line of the track: a section and the share t of it travelled.
#include <QMatrix4x4>
#include <QVector3D>

namespace meridal {

constexpr float kFieldOfView = 45.0f;  // degrees, vertically

struct TOrbitCamera {
  QVector3D target;
  float distance = 100.0f;
  float yaw = 0.6f;     // radians about the vertical, 0 looking north
  float pitch = 0.38f;  // radians above the horizon

  QVector3D Eye() const;
  QMatrix4x4 View() const;
  // Turns by a pointer movement of (dx, dy) pixels.
  void Rotate(float dx, float dy);
  // Brings everything `factor` times nearer about the point `fixed`, which stays
  // where it is on the screen.
  void ZoomAbout(const QVector3D& fixed, float factor);
  // Moves the target by a pointer movement in a window `height` pixels high.
  void Pan(float dx, float dy, float height);
  // Shows a box whole in a window of this aspect (width / height).
  void Fit(const QVector3D& lo, const QVector3D& hi, float aspect);
};

struct TDriveCamera {
  int section = 0;
  double t = 0;
  float lookAside = 0;  // radians to the left of the direction of travel
};

// The perspective projection of a window of this aspect.
QMatrix4x4 Projection(float aspect, float nearPlane, float farPlane);

}  // namespace meridal
