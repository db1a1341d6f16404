#include "graphics/qt/line_stamps.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace meridal {

namespace {

// Room around a line for the pixels an antialiased line touches beyond its ends.
constexpr int kMargin = 3;
// The scratch image: a line from its centre reaches kReach, its pixels kMargin
// more; a changed pixel in the ring beyond that would mean a stamp missed some.
constexpr int kCentre = TLineStamps::kReach + kMargin + 2;
constexpr int kScratch = 2 * kCentre + 1;
constexpr int kSide = 2 * TLineStamps::kReach + 1;

// The painter's blend of an opaque colour over a pixel with a coverage: each
// channel of the colour times the coverage plus the pixel's times the rest, each
// product divided by 255 rounded as the painter rounds it.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
  uint32_t t = (x & 0xff00ff) * a;
  t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
  t &= 0xff00ff;
  x = ((x >> 8) & 0xff00ff) * a;
  x = x + ((x >> 8) & 0xff00ff) + 0x800080;
  x &= 0xff00ff00;
  return x | t;
}

inline uint32_t Blend(uint32_t colour, uint32_t coverage, uint32_t pixel) {
  return ByteMul(colour, coverage) + ByteMul(pixel, 255 - coverage);
}

}  // namespace

TLineStamps& TLineStamps::ForThread(bool smooth) {
  thread_local TLineStamps plain(false), antialiased(true);
  return smooth ? antialiased : plain;
}

TLineStamps::TLineStamps(bool smooth)
    : smooth_(smooth), stamps_(static_cast<size_t>(kSide) * kSide), scratch_(kScratch, kScratch, QImage::Format_RGB32) {}

bool TLineStamps::Suits(const QImage& image) {
  return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied;
}

bool TLineStamps::Suits(const QPen& pen) {
  return pen.style() == Qt::SolidLine && pen.capStyle() == Qt::RoundCap && pen.widthF() <= 1 && !pen.isCosmetic() &&
         pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255;
}

const TLineStamps::Stamp* TLineStamps::Find(const Target& image, const QPen& pen, int x1, int y1, int x2, int y2) {
  const int dx = x2 - x1, dy = y2 - y1;
  if (dx < -kReach || dx > kReach || dy < -kReach || dy > kReach) return nullptr;
  // Away from the edges, where the painter's clipping cannot reach the line.
  if (std::min(x1, x2) < kMargin || std::min(y1, y2) < kMargin || std::max(x1, x2) >= image.width - kMargin ||
      std::max(y1, y2) >= image.height - kMargin)
    return nullptr;
  const Stamp& stamp = StampOf(pen, dx, dy);
  return stamp.state == Stamp::kReady ? &stamp : nullptr;
}

void TLineStamps::Put(const Target& image, const Stamp& stamp, uint32_t colour, int x1, int y1) const {
  const Pixel* pixel = pixels_.data() + stamp.first;
  for (uint32_t i = 0; i < stamp.count; ++i, ++pixel) {
    auto* p = reinterpret_cast<uint32_t*>(image.bits + (y1 + pixel->dy) * image.stride) + (x1 + pixel->dx);
    *p = pixel->coverage == 255 ? colour : Blend(colour, pixel->coverage, *p);
  }
}

int TLineStamps::Stamped() const {
  return static_cast<int>(std::count_if(stamps_.begin(), stamps_.end(), [](const Stamp& s) { return s.state == Stamp::kReady; }));
}

int TLineStamps::Refused() const {
  return static_cast<int>(std::count_if(stamps_.begin(), stamps_.end(), [](const Stamp& s) { return s.state == Stamp::kRefused; }));
}

const TLineStamps::Stamp& TLineStamps::StampOf(const QPen& pen, int dx, int dy) {
  Stamp& stamp = stamps_[static_cast<size_t>(dy + kReach) * kSide + (dx + kReach)];
  if (stamp.state == Stamp::kUnknown) stamp.state = Make(pen, dx, dy, stamp) ? Stamp::kReady : Stamp::kRefused;
  return stamp;
}

void TLineStamps::DrawScratch(const QPen& pen, QRgb colour, QRgb background, int dx, int dy) {
  scratch_.fill(background);
  QPainter painter(&scratch_);
  painter.setRenderHint(QPainter::Antialiasing, smooth_);
  QPen line(pen);
  line.setColor(QColor::fromRgb(colour));
  painter.setPen(line);
  const QLine segment(kCentre, kCentre, kCentre + dx, kCentre + dy);
  painter.drawLines(&segment, 1);
}

bool TLineStamps::Make(const QPen& pen, int dx, int dy, Stamp& stamp) {
  // Black over white: a pixel's shortfall from white is its coverage.
  DrawScratch(pen, qRgb(0, 0, 0), qRgb(255, 255, 255), dx, dy);
  stamp.first = static_cast<uint32_t>(pixels_.size());
  const int reach = TLineStamps::kReach + kMargin;
  for (int y = 0; y < kScratch; ++y) {
    const auto* line = reinterpret_cast<const uint32_t*>(scratch_.constScanLine(y));
    for (int x = 0; x < kScratch; ++x) {
      const uint32_t value = line[x] & 0xffffff;
      if (value == 0xffffff) continue;
      const int ox = x - kCentre, oy = y - kCentre;
      const uint32_t coverage = 255 - (value & 0xff);
      // Beyond the stamp's room, not a grey, or a plain line's pixel not whole:
      // not a line a stamp can hold.
      if (std::abs(ox) > reach || std::abs(oy) > reach || value != (value & 0xff) * 0x010101u ||
          (!smooth_ && value != 0)) {
        pixels_.resize(stamp.first);
        return false;
      }
      pixels_.push_back(Pixel{static_cast<int8_t>(ox), static_cast<int8_t>(oy), static_cast<uint8_t>(coverage)});
    }
  }
  stamp.count = static_cast<uint32_t>(pixels_.size()) - stamp.first;
  if (!smooth_) return true;  // a plain line covers each of its pixels whole, however often
  // An antialiased pixel the painter blended twice would not come out as one
  // blend over another background: drawn again in a colour over a colour, every
  // pixel must be the stamp's blend, and no other pixel may change.
  const QRgb colour = qRgb(32, 96, 160), background = qRgb(208, 176, 144);
  DrawScratch(pen, colour, background, dx, dy);
  std::vector<uint8_t> inStamp(static_cast<size_t>(kScratch) * kScratch, 0);
  for (uint32_t i = 0; i < stamp.count; ++i) {
    const Pixel& p = pixels_[stamp.first + i];
    const int x = kCentre + p.dx, y = kCentre + p.dy;
    inStamp[static_cast<size_t>(y) * kScratch + x] = 1;
    const uint32_t expected = Blend(0xff000000u | colour, p.coverage, 0xff000000u | background);
    if ((scratch_.pixel(x, y) | 0xff000000u) != expected) {
      pixels_.resize(stamp.first);
      return false;
    }
  }
  for (int y = 0; y < kScratch; ++y)
    for (int x = 0; x < kScratch; ++x)
      if (!inStamp[static_cast<size_t>(y) * kScratch + x] && scratch_.pixel(x, y) != (0xff000000u | background)) {
        pixels_.resize(stamp.first);
        return false;
      }
  return true;
}

}  // namespace meridal
