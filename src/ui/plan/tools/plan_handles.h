#pragma once
// The handles of the selected section as the plan shows them: a square at its
// end, a circle at an arc's midpoint for the radius, a circle beyond the end for
// the heading. They are at least 12 logical pixels across, more on a denser
// screen, and grabbed anywhere on them and a little around; the one under the
// pointer is lit.
#include <QPoint>
#include <QPolygon>
#include <optional>

#include "shape/shape_rules.h"

class QPainter;

namespace meridal {

class IPlanHost;
class TSection;

class TPlanHandles {
 public:
  explicit TPlanHandles(IPlanHost& host) : host_(host) {}

  // Across, in logical pixels.
  double Size() const;
  // How far beyond the end the heading handle sits, in logical pixels.
  double HeadingPixels() const { return 2.5 * Size(); }
  // The selected section, when one is.
  const TSection* Selected() const;
  // A handle's pixel as it is drawn now.
  std::optional<QPoint> Pixel(shape::Handle handle) const;
  // The handle under a pixel: the end before the heading before the radius, as
  // the end is what is most often dragged.
  std::optional<shape::Handle> At(QPoint pixel) const;
  // The outline of a section on the screen, for what must keep clear of it.
  static QPolygon Outline(const TSection& section, const class TScaleDraw& view);

  void Paint(QPainter& painter, std::optional<shape::Handle> lit) const;

 private:
  IPlanHost& host_;
};

}  // namespace meridal
