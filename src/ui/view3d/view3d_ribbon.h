#pragma once
// A ribbon: a band of even width along a line of points, lying flat (across it
// horizontally), as triangles for the view's lines program. The selection's
// outline is drawn with it; so can any other line laid over the track.
//
//   std::vector<QVector3D> line = ...;              // metres, the scene's frame
//   AppendRibbon(line, 0.15f, ribbonPositions);     // x, y, z three floats a corner
#include <QVector3D>
#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "ui/view3d/view3d_scene.h"

namespace meridal {

// Appends the triangles of a ribbon `width` metres wide centred on `line` (two
// triangles a step) to `positions`. Heights are those of the line, unstretched.
void AppendRibbon(const std::vector<QVector3D>& line, float width, std::vector<float>& positions);

// A line laid over the track, coloured along its length (the lap's line by its
// speeds): where it runs in the plan (metres, as the plan's points times the
// metres a unit) and how high, the section it crosses there, and the speed at
// which Play rides it.
struct TView3DLinePoint {
  double x = 0, y = 0, height = 0;  // metres
  int section = 0;
  double t = 0;      // along the section
  double speed = 0;  // m/s
  TColor colour;
};

// The surface program's triangles of a ribbon `width` metres wide along the
// closed `line`, lit from above and each step in its first point's colour
// (greyed half way when `dimmed`); `origin` is the scene's in metres, and the
// ribbon lies `lift` metres above the line.
void LineRibbon(const std::vector<TView3DLinePoint>& line, double originX, double originY, float width, float lift,
                bool dimmed, std::vector<TViewVertex>& vertices, std::vector<uint32_t>& indices);

}  // namespace meridal
