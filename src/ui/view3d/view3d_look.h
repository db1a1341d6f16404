#pragma once
// How the 3D view draws: the options of its tool bar, and the light and air every
// frame shares.
#include <QVector3D>

namespace meridal {

struct TView3DLook {
  bool textures = true;      // the surfaces' textures, or the plan's plain colours
  bool shadows = true;       // the sun casts shadows (a shadow map)
  bool antialiasing = true;  // 4 samples a pixel, where the display allows it
  bool grid = false;         // a grid on the ground, fading with distance
  bool sky = true;           // a sky behind the track, or a plain background

  friend bool operator==(const TView3DLook&, const TView3DLook&) = default;
};

namespace look {
// Towards the sun: from the south-west, 50 degrees up.
inline const QVector3D kSun = QVector3D(-0.45f, 0.77f, 0.45f).normalized();
inline const QVector3D kSunColor(0.78f, 0.75f, 0.68f);
// The ambient light from the sky above and from the ground below.
inline const QVector3D kSkyLight(0.42f, 0.46f, 0.54f), kGroundLight(0.30f, 0.29f, 0.25f);
// The sky: its colour at the horizon is the fog's.
inline const QVector3D kHorizon(0.80f, 0.86f, 0.92f), kZenith(0.33f, 0.55f, 0.86f), kBelow(0.62f, 0.66f, 0.58f);
inline const QVector3D kPlainBackground(0.93f, 0.93f, 0.92f);
}  // namespace look

}  // namespace meridal
