#pragma once
// Pictures of the plan and of the profile for File > Export Image, drawn by the
// windows' own drawing code with the windows' own view options: as a PNG of any
// size or as an SVG file.
//
//   WritePicture(path, size, [&](QPainter& p) { DrawPlanPicture(p, size, track, selection, plan.ScaleDraw(), flags, smooth); },
//                error);
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

class QPainter;

namespace meridal {

struct TObjectPath;
class TProfileView;
class TScaleDraw;
class TTrack;

// The part of the plan `shown` (the graphics window's view) shows, with its
// highlight, scaled to fill `size` as far as its proportions allow and centred;
// at the window's own size, the window's picture. False when the plan cannot be
// drawn that large.
bool DrawPlanPicture(QPainter& painter, QSize size, const TTrack& track, const TObjectPath& selection,
                     const TScaleDraw& shown, int32_t viewFlags, bool smooth);
// The profile as `view` (the profile window's) shows it, laid out for `size`.
void DrawProfilePicture(QPainter& painter, QSize size, const TTrack& track, const TObjectPath& selection,
                        const TProfileView& view, bool smooth);

// Writes what `draw` paints on a white picture of `size`: an SVG when the path
// ends in ".svg", a PNG otherwise. An existing file is replaced only once the new
// one is whole. False, with the message to show in `error`, when it cannot be
// drawn or written ("Unable to open file!" over the path and the reason).
bool WritePicture(const QString& path, QSize size, const std::function<bool(QPainter&)>& draw, QString& error);

}  // namespace meridal
