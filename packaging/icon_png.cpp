// icon_png SVG SIZE OUT.png: the program's icon drawn at SIZE x SIZE pixels with
// Qt's own SVG renderer, so that the desktop's icons look like the window's.
// Runs at build time; it is not installed.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: icon_png SVG SIZE OUT.png\n");
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  const int size = QString::fromLatin1(argv[2]).toInt();
  if (!svg.isValid() || size < 1 || size > 4096) {
    std::fprintf(stderr, "icon_png: cannot draw %s at %s pixels\n", argv[1], argv[2]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  svg.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "icon_png: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
