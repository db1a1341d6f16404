#pragma once
// A PNG or JPEG read from a file that anybody may have named: a side file can
// point anywhere. Only a regular file is read (a named pipe or a device is not
// even opened, so nothing waits on it), of a bounded size, and its picture is
// decoded only when its header promises a bounded number of pixels. Whatever is
// refused comes back with its reason, for the user to read.
#include <QImage>
#include <QString>
#include <cstdint>

namespace meridal {

class TBoundedImageReader {
 public:
  // Large enough for an aerial photograph of a whole circuit.
  static constexpr uint64_t kMaxFileBytes = 128ull * 1024 * 1024;
  static constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;  // 256 MB as 32-bit pixels

  // The picture in `path`, or false with the reason in `error`:
  // "photos/aerial.jpg: 20000 × 20000 pixels, more than the 64 megapixels a
  // background image may have".
  static bool Read(const QString& path, QImage& image, QString& error);
};

}  // namespace meridal
