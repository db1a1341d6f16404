#pragma once
// A ribbon: a band of even width along a line of points, lying flat (across it
// horizontally), as triangles for the view's lines program. The selection's
// outline is drawn with it; so can any other line laid over the track.
//
//   std::vector<QVector3D> line = ...;              // metres, the scene's frame
//   AppendRibbon(line, 0.15f, ribbonPositions);     // x, y, z three floats a corner
#include <QVector3D>
#include <vector>

namespace meridal {

// Appends the triangles of a ribbon `width` metres wide centred on `line` (two
// triangles a step) to `positions`. Heights are those of the line, unstretched.
void AppendRibbon(const std::vector<QVector3D>& line, float width, std::vector<float>& positions);

}  // namespace meridal
