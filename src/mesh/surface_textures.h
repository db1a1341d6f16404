#pragma once
// The look of every surface, drawn from noise and stripes so that no image file
// is needed: square images that tile without a seam, each covering a square of
// ground `TextureMetres` wide, with their mipmap levels. The 3D view and the glTF
// export take the same images. They are drawn in integer arithmetic only, so that
// they are the same bytes on every machine and in every run.
//
//   const TSurfaceTextures& textures = TSurfaceTextures::Shared();  // drawn once
//   const TTextureImage& grass = textures.Image(TTexture::Grass);
//   std::vector<TTextureImage> levels = MipLevels(grass);           // 128 x 128 .. 1 x 1
//
// Texture coordinates are metres: a vertex at (u, v) metres takes the pixel at
// (u, v) / TextureMetres(texture) of the image, x along the surface, y across it
// (up the face of a barrier). Kerbs are red and white stripes of 1 m along x.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace meridal {

enum class TTexture : uint8_t {
  Tarmac,
  Concrete,
  Curbs,
  Grass,
  Dirt,
  Gravel,
  Banking,
  Neutral,  // a surface code without a name
  ConcreteWall,
  GuardRail,
  StartLine,  // the chequered start/finish line
};
constexpr int kTextureCount = 11;

struct TTextureImage {
  int size = 0;               // pixels a side
  std::vector<uint8_t> rgba;  // rows from y = 0 up, 4 bytes a pixel, opaque

  const uint8_t* Pixel(int x, int y) const { return rgba.data() + 4 * (size_t(y) * size + x); }
};

// The texture of a strip's surface code: a marked code (2048 and above) takes its
// surface's; codes without a name take the neutral one.
TTexture TextureOfSurface(int32_t surface);
// Whether a surface code is marked: the plan hatches it in yellow, and so does its texture.
bool MarkedSurface(int32_t surface);
// How many metres of ground one image covers.
double TextureMetres(TTexture texture);

class TSurfaceTextures {
 public:
  static constexpr int kSize = 256;

  // Every texture, plain and marked, drawn once for the whole program.
  static const TSurfaceTextures& Shared();

  const TTextureImage& Image(TTexture texture, bool marked = false) const {
    return images_[size_t(marked)][size_t(texture)];
  }

  // Draws one image afresh (the shared ones are drawn by this).
  static TTextureImage Draw(TTexture texture, bool marked);

 private:
  TSurfaceTextures();
  std::array<std::array<TTextureImage, kTextureCount>, 2> images_;
};

// The mipmap levels below an image: each half the size of the one above, every
// pixel the rounded mean of the four it stands for, down to 1 x 1.
std::vector<TTextureImage> MipLevels(const TTextureImage& image);

}  // namespace meridal
