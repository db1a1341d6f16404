// A background image from a path anybody may have written: a picture is read,
// and a pipe, a device, a folder, a file too large or a picture of too many
// pixels is refused at once with its reason.
#include "graphics/qt/bounded_image_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <chrono>
#include <future>
#include <ostream>

#include "support/png_bomb.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace meridal {
namespace {

struct Read {
  bool ok;
  QString error;
};

Read ReadImage(const QString& path) {
  QImage image;
  QString error;
  const bool ok = TBoundedImageReader::Read(path, image, error);
  return {ok, error};
}

TEST(BoundedImageReader, ReadsAPictureAndRefusesWhatIsNone) {
  QTemporaryDir dir;
  const QString photo = dir.filePath(QStringLiteral("photo.png"));
  QImage blue(40, 20, QImage::Format_RGB32);
  blue.fill(qRgb(0, 0, 255));
  ASSERT_TRUE(blue.save(photo));
  QImage image;
  QString error;
  ASSERT_TRUE(TBoundedImageReader::Read(photo, image, error));
  EXPECT_EQ(image.size(), QSize(40, 20));
  EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));

  // A named pipe with no writer is refused, not waited on.
  const QString fifo = dir.filePath(QStringLiteral("pipe.png"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  auto read = std::async(std::launch::async, [&] { return ReadImage(fifo); });
  ASSERT_EQ(read.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "waits on a named pipe";
  EXPECT_EQ(read.get().error, QStringLiteral("pipe.png: a named pipe, not a regular file"));

  EXPECT_EQ(ReadImage(QStringLiteral("/dev/zero")).error, QStringLiteral("zero: a character device, not a regular file"));
  EXPECT_EQ(ReadImage(dir.path()).error, dir.path().section('/', -1) + QStringLiteral(": Is a directory"));
  EXPECT_EQ(ReadImage(dir.filePath(QStringLiteral("none.png"))).error,
            QStringLiteral("none.png: No such file or directory"));
  // A text file, wherever it lies, is read only as far as its size allows and is no picture.
  const QString text = dir.filePath(QStringLiteral("notes.png"));
  QFile notes(text);
  ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
  notes.write("root:x:0:0:root:/root:/bin/bash\n");
  notes.close();
  EXPECT_EQ(ReadImage(text).error, QStringLiteral("notes.png: not a PNG or JPEG image"));
  // A file too large is not read at all.
  ASSERT_TRUE(notes.open(QIODevice::ReadWrite));
  ASSERT_TRUE(notes.resize(qint64(TBoundedImageReader::kMaxFileBytes) + 1));
  notes.close();
  EXPECT_EQ(ReadImage(text).error,
            QStringLiteral("notes.png: 134217729 bytes, more than the 128 MB a background image may have"));
}

TEST(BoundedImageReader, APictureOfTooManyPixelsIsRefusedBeforeItIsDecoded) {
  // A small PNG that says it is 20000 x 20000 pixels: its header is all that is
  // read, the 1.6 GB it would take are never asked for.
  const QByteArray png = testing::PngClaimingSize(20000, 20000);
  QTemporaryDir dir;
  const QString bomb = dir.filePath(QStringLiteral("bomb.png"));
  QFile file(bomb);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(png);
  file.close();
  EXPECT_EQ(ReadImage(bomb).error,
            QStringLiteral("bomb.png: 20000 \u00d7 20000 pixels, more than the 64 megapixels a background image may have"));
}

}  // namespace
}  // namespace meridal
