#pragma once
// The box of lines a tool shows beside the pointer while it works: placed below
// and to the right of the pointer, or at another corner of it, or at a corner of
// the window, wherever it first keeps clear of what it describes.
#include <QPolygon>
#include <QRect>
#include <QString>

class QPainter;

namespace meridal {

// A box of `size` beside the pointer, inside `area` and, where it can be, clear
// of `avoid` (the dragged section on the screen).
QRect PlaceReadout(QSize size, QPoint pointer, const QRect& area, const QPolygon& avoid);
// The lines in a box placed so.
void DrawReadout(QPainter& painter, const QString& text, QPoint pointer, const QRect& area,
                 const QPolygon& avoid = QPolygon());

}  // namespace meridal
