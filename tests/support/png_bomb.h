#pragma once
// A small PNG whose header claims a picture of any size: decoding it would ask
// for width x height pixels, which a reader must refuse before it tries.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>

namespace meridal::testing {

inline QByteArray PngClaimingSize(int width, int height) {
  QImage line(width, 1, QImage::Format_Mono);
  line.fill(0);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  line.save(&buffer, "PNG");
  // The height in the IHDR chunk (bytes 20..23), then the chunk's CRC-32 over
  // its type and its 13 bytes (bytes 12..28).
  for (int i = 0; i < 4; ++i) png[20 + i] = char(uint32_t(height) >> (24 - 8 * i));
  uint32_t crc = 0xFFFFFFFFu;
  for (int i = 12; i < 29; ++i) {
    crc ^= static_cast<uint8_t>(png[i]);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  crc = ~crc;
  for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i));
  return png;
}

}  // namespace meridal::testing
