#pragma once
// Text drawn with a QPainter needs fonts, and fonts need a QGuiApplication. A
// program without windows (the command line, the benchmarks) gets one on the
// offscreen platform, made the first time it is needed and closed when the
// program ends; where an application exists already, nothing happens.
namespace meridal {

void EnsureFonts();

}  // namespace meridal
