#include "mesh/png_image.h"

#include <png.h>

#include "mesh/surface_textures.h"

namespace meridal {

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

}  // namespace

std::vector<uint8_t> PngOfImage(const TTextureImage& image) {
  std::vector<uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return {};
  }
  std::vector<uint8_t> row(size_t(image.size) * 3);
  // libpng reports its failures by a long jump back here; nothing with a
  // destructor is made between here and there.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &bytes, Append, Flush);
  png_set_IHDR(png, info, png_uint_32(image.size), png_uint_32(image.size), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // A PNG's first row is the image's top: the textures' rows run from y = 0 up
  // as the glTF's texture coordinates do, which start at the image's top.
  for (int y = 0; y < image.size; ++y) {
    for (int x = 0; x < image.size; ++x)
      for (int c = 0; c < 3; ++c) row[size_t(x) * 3 + size_t(c)] = image.Pixel(x, y)[c];
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

}  // namespace meridal
