#pragma once
// Reading the images of a glTF asset in tests: tinygltf is built without an image
// decoder, so its loader is given one that keeps an image's bytes as they are
// (in Image::image), and PNG bytes are decoded here with libpng.
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/gltf_library.h"

namespace meridal::testing {

inline bool KeepImageBytes(tinygltf::Image* image, const int, std::string*, std::string*, int, int,
                           const unsigned char* bytes, int size, void*) {
  image->image.assign(bytes, bytes + size);
  image->as_is = true;
  return true;
}

// A loader that reads images without decoding them.
inline tinygltf::TinyGLTF GltfLoader() {
  tinygltf::TinyGLTF loader;
  loader.SetImageLoader(KeepImageBytes, nullptr);
  return loader;
}

struct TDecodedPng {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // rows from the file's first, 3 bytes a pixel
};

inline TDecodedPng DecodePng(const std::vector<uint8_t>& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  TDecodedPng out;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return out;
  image.format = PNG_FORMAT_RGB;
  out.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr)) return {};
  out.width = int(image.width);
  out.height = int(image.height);
  return out;
}

}  // namespace meridal::testing
