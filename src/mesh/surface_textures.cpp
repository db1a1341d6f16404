#include "mesh/surface_textures.h"

#include <algorithm>

#include "model/wall.h"

namespace meridal {

namespace {

constexpr int kSize = TSurfaceTextures::kSize;

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

// Value noise from 0 to 255 on a lattice of `cells` cells across the image (a
// divisor of its size), eased between lattice points; it wraps at the image's
// edges, so that the image tiles.
int Noise(int x, int y, int cells, uint32_t seed) {
  const int step = kSize / cells;
  const int ix = x / step, iy = y / step;
  const auto ease = [step](int f) {
    const int w = f * 256 / step;           // 0 .. 255
    return w * w * (768 - 2 * w) / 65536;  // 3w^2 - 2w^3, 0 .. 255
  };
  const int sx = ease(x % step), sy = ease(y % step);
  const auto at = [&](int cx, int cy) { return int(Hash(uint32_t(cx % cells), uint32_t(cy % cells), seed) & 255); };
  const int top = at(ix, iy) * (256 - sx) + at(ix + 1, iy) * sx;
  const int bottom = at(ix, iy + 1) * (256 - sx) + at(ix + 1, iy + 1) * sx;
  return (top * (256 - sy) + bottom * sy) >> 16;
}

// Octaves of noise from `cells` up, each twice as fine and half as strong: 0 .. 255.
int Fractal(int x, int y, int cells, int octaves, uint32_t seed) {
  int sum = 0, weights = 0;
  for (int o = 0, weight = 8; o < octaves && cells <= kSize; ++o, cells *= 2, weight = std::max(1, weight / 2)) {
    sum += Noise(x, y, cells, seed + uint32_t(o)) * weight;
    weights += weight;
  }
  return sum / weights;
}

// A signed share of `amplitude` from a value of 0 .. 255.
int Swing(int value, int amplitude) { return (value - 128) * amplitude / 128; }

struct TRgb {
  int r, g, b;
  TRgb Plus(int d) const { return {r + d, g + d, b + d}; }
  TRgb Scaled(int percent) const { return {r * percent / 100, g * percent / 100, b * percent / 100}; }
};

TRgb Tarmac(int x, int y, uint32_t seed, TRgb base) {
  const int grain = Swing(Fractal(x, y, 64, 3, seed), 16);
  const int patches = Swing(Noise(x, y, 4, seed + 10), 7);
  // Now and then a stone of the aggregate catches the light.
  const int stone = Hash(uint32_t(x), uint32_t(y), seed + 20) % 61 == 0 ? 34 : 0;
  return base.Plus(grain + patches + stone);
}

// Concrete cast in slabs as wide as the image: joints across (and along, on the
// ground) at its edges.
TRgb Concrete(int x, int y, uint32_t seed, TRgb base, bool jointsAlong = true) {
  const int cloud = Swing(Fractal(x, y, 16, 3, seed), 10);
  const int grain = int(Hash(uint32_t(x), uint32_t(y), seed + 30) % 11) - 5;
  TRgb c = base.Plus(cloud + grain);
  if (x < 2 || (jointsAlong && y < 2)) c = c.Scaled(70);
  return c;
}

TRgb Grass(int x, int y) {
  const int blades = Fractal(x, y, 32, 3, 40), patches = Noise(x, y, 4, 45);
  const int fine = int(Hash(uint32_t(x), uint32_t(y), 47) % 13) - 6;
  return {58 + Swing(blades, 16) + Swing(patches, 14) + fine / 2, 110 + Swing(blades, 34) + Swing(patches, 12) + fine,
          36 + Swing(blades, 10) + Swing(patches, 4)};
}

TRgb Dirt(int x, int y) {
  const int n = Fractal(x, y, 16, 4, 50), clods = Noise(x, y, 64, 55);
  return {122 + Swing(n, 22) + Swing(clods, 10), 96 + Swing(n, 18) + Swing(clods, 8), 64 + Swing(n, 12) + Swing(clods, 6)};
}

TRgb Gravel(int x, int y) {
  // Stones of 4 x 4 pixels (8 mm), each its own shade, and grain within them.
  const int stone = int(Hash(uint32_t(x / 4), uint32_t(y / 4), 60) & 255);
  const int grain = int(Hash(uint32_t(x), uint32_t(y), 61) % 17) - 8;
  const int d = Swing(stone, 34) + grain;
  return {196 + d, 180 + d, 140 + d * 3 / 4};
}

TRgb Curbs(int x, int y) {
  const int grain = int(Hash(uint32_t(x), uint32_t(y), 70) % 9) - 4 + Swing(Noise(x, y, 16, 71), 6);
  // Red over the first metre of the two, white over the second.
  return x < kSize / 2 ? TRgb{200, 34, 32}.Plus(grain) : TRgb{236, 236, 230}.Plus(grain);
}

TRgb ConcreteWall(int x, int y) {
  TRgb c = Concrete(x, y, 80, {178, 176, 170}, false);
  if (y >= 56 && y < 59) c = c.Scaled(82);              // a groove 0.9 m up
  if (y < 13) c = c.Scaled(80 + y * 20 / 13);           // grime at the foot
  return c;
}

TRgb GuardRail(int x, int y) {
  const int sheen = Swing(Noise(x, y, 8, 90), 5);
  // Posts every 2 m; the beam's two grooves and its ridge between them.
  if (x % (kSize / 2) < 6) return TRgb{78, 80, 84}.Plus(sheen);
  TRgb c{152, 158, 164};
  if ((y >= 20 && y < 25) || (y >= 40 && y < 45)) c = c.Scaled(72);
  if (y >= 30 && y < 35) c = c.Plus(24);
  return c.Plus(sheen);
}

TRgb StartLine(int x, int y) {
  // Squares of half a metre.
  const bool dark = (x < kSize / 2) != (y < kSize / 2);
  const int grain = int(Hash(uint32_t(x), uint32_t(y), 100) % 7) - 3;
  return dark ? TRgb{24, 24, 26}.Plus(grain) : TRgb{238, 238, 234}.Plus(grain);
}

TRgb PixelOf(TTexture texture, int x, int y) {
  switch (texture) {
    case TTexture::Tarmac: return Tarmac(x, y, 1, {64, 65, 68});
    case TTexture::Concrete: return Concrete(x, y, 2, {168, 166, 160});
    case TTexture::Curbs: return Curbs(x, y);
    case TTexture::Grass: return Grass(x, y);
    case TTexture::Dirt: return Dirt(x, y);
    case TTexture::Gravel: return Gravel(x, y);
    case TTexture::Banking: return Concrete(x, y, 7, {124, 120, 78});
    case TTexture::Neutral: return TRgb{192, 192, 188}.Plus(Swing(Fractal(x, y, 8, 2, 8), 6));
    case TTexture::ConcreteWall: return ConcreteWall(x, y);
    case TTexture::GuardRail: return GuardRail(x, y);
    case TTexture::StartLine: return StartLine(x, y);
  }
  return {255, 0, 255};
}

// The marking of a marked code: a yellow cross hatch, as the plan draws it.
bool Marking(int x, int y) { return (x + y) % 32 < 3 || (x - y + kSize) % 32 < 3; }

uint8_t Byte(int value) { return uint8_t(std::clamp(value, 0, 255)); }

}  // namespace

TTexture TextureOfSurface(int32_t surface) {
  const int32_t code = surface >= kSurfaceFlag ? surface - kSurfaceFlag : surface;
  if (code >= 1 && code <= 7) return TTexture(code - 1);
  return TTexture::Neutral;
}

bool MarkedSurface(int32_t surface) { return surface >= kSurfaceFlag; }

double TextureMetres(TTexture texture) {
  switch (texture) {
    case TTexture::Curbs:
    case TTexture::Gravel: return 2;
    case TTexture::StartLine: return 1;
    default: return 4;
  }
}

TTextureImage TSurfaceTextures::Draw(TTexture texture, bool marked) {
  TTextureImage image;
  image.size = kSize;
  image.rgba.resize(size_t(kSize) * kSize * 4);
  uint8_t* out = image.rgba.data();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x, out += 4) {
      const TRgb c = marked && Marking(x, y) ? TRgb{250, 222, 0} : PixelOf(texture, x, y);
      out[0] = Byte(c.r), out[1] = Byte(c.g), out[2] = Byte(c.b), out[3] = 255;
    }
  return image;
}

TSurfaceTextures::TSurfaceTextures() {
  for (int marked = 0; marked < 2; ++marked)
    for (int t = 0; t < kTextureCount; ++t) images_[size_t(marked)][size_t(t)] = Draw(TTexture(t), marked != 0);
}

const TSurfaceTextures& TSurfaceTextures::Shared() {
  static const TSurfaceTextures textures;
  return textures;
}

std::vector<TTextureImage> MipLevels(const TTextureImage& image) {
  std::vector<TTextureImage> levels;
  levels.reserve(32);  // never moved: each level is made from the one before
  const TTextureImage* above = &image;
  while (above->size > 1) {
    TTextureImage level;
    level.size = above->size / 2;
    level.rgba.resize(size_t(level.size) * level.size * 4);
    for (int y = 0; y < level.size; ++y)
      for (int x = 0; x < level.size; ++x)
        for (int c = 0; c < 4; ++c) {
          const int sum = above->Pixel(2 * x, 2 * y)[c] + above->Pixel(2 * x + 1, 2 * y)[c] +
                          above->Pixel(2 * x, 2 * y + 1)[c] + above->Pixel(2 * x + 1, 2 * y + 1)[c];
          level.rgba[(size_t(y) * level.size + x) * 4 + size_t(c)] = uint8_t((sum + 2) / 4);
        }
    levels.push_back(std::move(level));
    above = &levels.back();
  }
  return levels;
}

}  // namespace meridal
