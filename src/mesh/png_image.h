#pragma once
// A texture as the bytes of a PNG file (8-bit RGB: the textures are opaque), to be
// embedded in a glTF asset. The same image gives the same bytes.
#include <cstdint>
#include <vector>

namespace meridal {

struct TTextureImage;

std::vector<uint8_t> PngOfImage(const TTextureImage& image);

}  // namespace meridal
