#pragma once
// TLineStamps: lines a pixel wide put straight into an image's pixels, exactly as
// the painter draws them.
//
// A zoomed-out track is a few hundred thousand lines of a few pixels each, and
// the painter spends far more on setting up each line than on its pixels. Yet a
// line between integer points comes out the same wherever it lies, away from the
// image's edges: which pixels it covers, and with antialiasing how much of each,
// depend only on its extent (dx, dy). So the painter draws each extent once on a
// scratch image, its pixels are kept as a stamp, and every later line of that
// extent is the stamp put down at its start. An extent whose antialiased pixels
// do not blend as one stamp is refused and left to the painter, as are lines
// longer than kReach pixels along an axis and lines near the image's edges.
//
// The stamps are kept per thread, for smooth and for plain lines, and serve
// every canvas: the graphics window makes a canvas for each repaint.
#include <QColor>
#include <QImage>
#include <QPen>
#include <cstdint>
#include <vector>

namespace meridal {

class TLineStamps {
 public:
  static constexpr int kReach = 32;  // the longest extent stamped, in pixels along each axis

  // The stamps of this thread for smooth (antialiased) or plain lines.
  static TLineStamps& ForThread(bool smooth);

  // Whether the image's pixels take stamps: plain 32-bit pixels, opaque colours
  // blended the painter's way.
  static bool Suits(const QImage& image);
  // Whether lines of a pen are stamped: solid, opaque, 1 pixel wide, round caps
  // (the canvas's pen; the stamps are made with the first such pen's shape).
  static bool Suits(const QPen& pen);

  // The pixels of an image, for a run of lines.
  struct Target {
    explicit Target(QImage& image)
        : bits(image.bits()), stride(image.bytesPerLine()), width(image.width()), height(image.height()) {}
    uchar* bits;
    qsizetype stride;
    int width, height;
  };

  struct Stamp;
  // The stamp of the line from (x1, y1) to (x2, y2) drawn with `pen`, or nullptr
  // when the painter is to draw it.
  const Stamp* Find(const Target& image, const QPen& pen, int x1, int y1, int x2, int y2);
  // Puts the line into the image as a painter with the pen (of colour 0xffRRGGBB)
  // and no transform or clipping would draw it.
  void Put(const Target& image, const Stamp& stamp, uint32_t colour, int x1, int y1) const;
  // How many extents have a stamp, and how many were refused one.
  int Stamped() const;
  int Refused() const;

  struct Stamp {
    uint32_t first = 0;  // in pixels_
    uint32_t count = 0;
    enum State : uint8_t { kUnknown, kReady, kRefused } state = kUnknown;
  };

 private:
  explicit TLineStamps(bool smooth);
  // A stamp's pixel: its offset from the line's start, and its coverage.
  struct Pixel {
    int8_t dx, dy;
    uint8_t coverage;  // 255 for a plain line
  };
  const Stamp& StampOf(const QPen& pen, int dx, int dy);
  bool Make(const QPen& pen, int dx, int dy, Stamp& stamp);
  // Draws the line from the scratch image's centre by (dx, dy) over `background`.
  void DrawScratch(const QPen& pen, QRgb colour, QRgb background, int dx, int dy);

  bool smooth_;
  std::vector<Stamp> stamps_;  // (2 kReach + 1)^2, by extent
  std::vector<Pixel> pixels_;
  QImage scratch_;
};

}  // namespace meridal
