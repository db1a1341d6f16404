#include "ui/image_lists.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace meridal {

namespace {

// Folder outlines by kind: track, section, altitude, wall.
const QColor kFolderOutline[] = {QColor(0x8a, 0x70, 0x00), QColor(0xc0, 0x00, 0x00),
                                 QColor(0x00, 0x30, 0xc0), QColor(0x00, 0x80, 0x00)};
const QColor kFolderFill(0xf5, 0xd3, 0x4a);
const QColor kFolderFlap(0xfb, 0xe7, 0x8c);

QPixmap Blank() {
  QPixmap pixmap(kImageSize, kImageSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void DrawFolder(QPainter& p, const QColor& outline, bool open) {
  p.setPen(QPen(outline, 1.0));
  p.setBrush(kFolderFill);
  // The back with its tab.
  QPolygonF back;
  back << QPointF(1.5, 3.5) << QPointF(6.5, 3.5) << QPointF(7.5, 5.0) << QPointF(14.5, 5.0)
       << QPointF(14.5, 13.5) << QPointF(1.5, 13.5);
  p.drawPolygon(back);
  if (open) {
    // The front flap tilted open towards the viewer.
    QPolygonF flap;
    flap << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
    p.setBrush(kFolderFlap);
    p.drawPolygon(flap);
  } else {
    p.drawLine(QPointF(1.5, 6.5), QPointF(14.5, 6.5));
  }
}

struct Badge {
  QColor ring;
  QColor symbol;
};

const Badge kBadges[] = {
    {QColor(0xd0, 0x10, 0x10), QColor(0xb0, 0x00, 0x00)},  // percent
    {QColor(0x00, 0x90, 0x90), QColor(0x00, 0x60, 0x60)},  // ruler
    {QColor(0x10, 0x90, 0x10), QColor(0x00, 0x60, 0x00)},  // coordinate cross
    {QColor(0x80, 0x20, 0xa0), QColor(0x60, 0x10, 0x80)},  // angle
    {QColor(0x00, 0x00, 0x00), QColor(0x00, 0x00, 0x00)},  // X
    {QColor(0xe0, 0xc0, 0x00), QColor(0x80, 0x60, 0x00)},  // question mark
    {QColor(0x10, 0x40, 0xd0), QColor(0x00, 0x20, 0xa0)},  // letter i
};

void DrawText(QPainter& p, const QString& text, const QColor& color) {
  QFont font = p.font();
  font.setPixelSize(10);
  font.setBold(true);
  p.setFont(font);
  p.setPen(color);
  p.drawText(QRectF(0, 0, kImageSize, kImageSize), Qt::AlignCenter, text);
}

void DrawSymbol(QPainter& p, int index, const QColor& c) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c, 1.2, Qt::SolidLine, Qt::FlatCap));
  switch (index) {
    case 0: DrawText(p, QStringLiteral("%"), c); break;
    case 1:  // a ruler with ticks
      p.setPen(QPen(c, 1.0));
      p.setBrush(QColor(0xf0, 0xe0, 0x90));
      p.drawRect(QRectF(2.5, 5.5, 11.0, 5.0));
      for (int i = 0; i < 5; ++i) {
        const double x = 4.5 + 2.0 * i;
        p.drawLine(QPointF(x, 5.5), QPointF(x, i % 2 == 0 ? 8.5 : 7.5));
      }
      break;
    case 2:  // axes with arrow heads
      p.drawLine(QPointF(4.0, 12.0), QPointF(4.0, 3.5));
      p.drawLine(QPointF(4.0, 12.0), QPointF(12.5, 12.0));
      p.drawLine(QPointF(2.5, 5.5), QPointF(4.0, 3.5));
      p.drawLine(QPointF(5.5, 5.5), QPointF(4.0, 3.5));
      p.drawLine(QPointF(10.5, 10.5), QPointF(12.5, 12.0));
      p.drawLine(QPointF(10.5, 13.5), QPointF(12.5, 12.0));
      break;
    case 3:  // two legs and the arc between them
      p.drawLine(QPointF(3.5, 12.0), QPointF(12.5, 12.0));
      p.drawLine(QPointF(3.5, 12.0), QPointF(10.5, 4.5));
      p.drawArc(QRectF(-1.5, 7.0, 10.0, 10.0), 0, 47 * 16);
      break;
    case 4:
      p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(5.0, 5.0), QPointF(11.0, 11.0));
      p.drawLine(QPointF(11.0, 5.0), QPointF(5.0, 11.0));
      break;
    case 5: DrawText(p, QStringLiteral("?"), c); break;
    default: DrawText(p, QStringLiteral("i"), c); break;
  }
}

}  // namespace

QPixmap NodeImage(int index) {
  QPixmap pixmap = Blank();
  if (index < 0 || index >= kNodeImageCount) return pixmap;
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawFolder(p, kFolderOutline[index / 2], index % 2 == 1);
  return pixmap;
}

QPixmap RowImage(int index) {
  QPixmap pixmap = Blank();
  if (index < 0 || index >= kRowImageCount) return pixmap;
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient grey(QPointF(6.0, 6.0), 9.0);
  grey.setColorAt(0.0, QColor(0xf4, 0xf4, 0xf4));
  grey.setColorAt(1.0, QColor(0xb4, 0xb4, 0xb4));
  p.setPen(QPen(kBadges[index].ring, 1.6));
  p.setBrush(grey);
  p.drawEllipse(QRectF(1.0, 1.0, 14.0, 14.0));
  DrawSymbol(p, index, kBadges[index].symbol);
  return pixmap;
}

QIcon NodeIcon(int image, int selectedImage) {
  // Built once for each pair: a large track shows the same eight pictures on a
  // quarter of a million nodes.
  static QIcon icons[kNodeImageCount + 1][kNodeImageCount + 1];
  const auto slot = [](int i) { return i >= 0 && i < kNodeImageCount ? i : kNodeImageCount; };
  QIcon& icon = icons[slot(image)][slot(selectedImage)];
  if (icon.isNull()) {
    icon.addPixmap(NodeImage(image), QIcon::Normal);
    icon.addPixmap(NodeImage(selectedImage), QIcon::Selected);
  }
  return icon;
}

QIcon RowIcon(int index) {
  static QIcon icons[kRowImageCount + 1];
  QIcon& icon = icons[index >= 0 && index < kRowImageCount ? index : kRowImageCount];
  if (icon.isNull()) icon = QIcon(RowImage(index));
  return icon;
}

}  // namespace meridal
