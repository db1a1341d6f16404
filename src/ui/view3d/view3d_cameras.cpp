#include "ui/view3d/view3d_cameras.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace meridal {

QVector3D TOrbitCamera::Eye() const {
  const float c = std::cos(pitch);
  return target + distance * QVector3D(c * std::sin(yaw), std::sin(pitch), c * std::cos(yaw));
}

QMatrix4x4 TOrbitCamera::View() const {
  QMatrix4x4 view;
  view.lookAt(Eye(), target, QVector3D(0, 1, 0));
  return view;
}

void TOrbitCamera::Rotate(float dx, float dy) {
  yaw -= dx * 0.008f;
  pitch = std::clamp(pitch + dy * 0.008f, 0.03f, 1.55f);
}

void TOrbitCamera::ZoomAbout(const QVector3D& fixed, float factor) {
  const float next = std::clamp(distance * factor, 0.5f, 2.0e6f);
  factor = next / distance;
  target = fixed + (target - fixed) * factor;
  distance = next;
}

void TOrbitCamera::Pan(float dx, float dy, float height) {
  const QVector3D forward = (target - Eye()).normalized();
  const QVector3D right = QVector3D::crossProduct(forward, QVector3D(0, 1, 0)).normalized();
  const QVector3D up = QVector3D::crossProduct(right, forward);
  const float perPixel = 2.0f * distance * std::tan(qDegreesToRadians(kFieldOfView) / 2) / std::max(1.0f, height);
  target += (-dx * right + dy * up) * perPixel;
}

void TOrbitCamera::Fit(const QVector3D& lo, const QVector3D& hi, float aspect) {
  // Looking at the box's middle from the present direction: the distance at which
  // every corner comes inside the window, with a little room around.
  target = (lo + hi) / 2;
  const QVector3D back = (Eye() - target).normalized();
  const QVector3D right = QVector3D::crossProduct(QVector3D(0, 1, 0), back).normalized();
  const QVector3D up = QVector3D::crossProduct(back, right);
  const float tanY = std::tan(qDegreesToRadians(kFieldOfView) / 2) * 0.92f, tanX = tanY * aspect;
  float needed = 1.0f;
  for (int corner = 0; corner < 8; ++corner) {
    const QVector3D c = QVector3D(corner & 1 ? hi.x() : lo.x(), corner & 2 ? hi.y() : lo.y(),
                                  corner & 4 ? hi.z() : lo.z()) - target;
    const float nearer = QVector3D::dotProduct(c, back);  // towards the eye
    needed = std::max({needed, std::fabs(QVector3D::dotProduct(c, right)) / tanX + nearer,
                       std::fabs(QVector3D::dotProduct(c, up)) / tanY + nearer});
  }
  distance = needed;
}

QMatrix4x4 Projection(float aspect, float nearPlane, float farPlane) {
  QMatrix4x4 projection;
  projection.perspective(kFieldOfView, aspect, nearPlane, farPlane);
  return projection;
}

}  // namespace meridal
