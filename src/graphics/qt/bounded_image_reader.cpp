#include "graphics/qt/bounded_image_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cerrno>
#include <string>
#include <vector>

#include "files/safety/input_file.h"
#include "files/safety/safe_file.h"
#include "files/safety/shown_text.h"
#include "files/safety/target_path.h"

namespace meridal {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The reason a file that could not be read whole gives, naming it by `name`.
QString FileReason(const InputFile& file, const std::string& name) {
  if (file.Error() == EFBIG)
    return QStringLiteral("%1: %2 bytes, more than the %3 MB a background image may have")
        .arg(Text(name))
        .arg(file.Size())
        .arg(TBoundedImageReader::kMaxFileBytes >> 20);
  if (file.Opened() && file.Error() == 0 && !S_ISREG(file.Status().st_mode))
    return Text(NotRegularReason(name, file.Status().st_mode));
  return Text(SystemReason(name, file.Error() != 0 ? file.Error() : EIO));
}

}  // namespace

bool TBoundedImageReader::Read(const QString& path, QImage& image, QString& error) {
  const std::string name = ShownPath(QFileInfo(path).fileName().toStdString());
  InputFile file(QFile::encodeName(path).toStdString(), kMaxFileBytes);
  std::vector<uint8_t> bytes;
  if (!file.Usable() || !file.ReadRest({}, bytes)) {
    error = FileReason(file, name);
    return false;
  }
  // The bytes in memory: the decoder never touches the file itself.
  QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QByteArray format = reader.format();
  if (format != "png" && format != "jpeg") {
    error = Text(name) + QStringLiteral(": not a PNG or JPEG image");
    return false;
  }
  // The header tells the size before a pixel is decoded.
  const QSize size = reader.size();
  if (size.isValid() && int64_t(size.width()) * size.height() > kMaxPixels) {
    error = QStringLiteral("%1: %2 \u00d7 %3 pixels, more than the %4 megapixels a background image may have")
                .arg(Text(name))
                .arg(size.width())
                .arg(size.height())
                .arg(kMaxPixels >> 20);
    return false;
  }
  QImage read;
  if (!reader.read(&read) || read.isNull()) {
    error = Text(name) + QStringLiteral(": ") + reader.errorString();
    return false;
  }
  image = read;
  error.clear();
  return true;
}

}  // namespace meridal
