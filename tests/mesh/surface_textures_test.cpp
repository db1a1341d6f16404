// The surface textures: the same bytes in every run, tiling without a seam, kerbs
// in red and white metres, the marking of marked codes, and mipmap levels that
// are the means of the pixels they stand for.
#include "mesh/surface_textures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace meridal {
namespace {

uint64_t Fnv1a(const std::vector<uint8_t>& bytes, uint64_t hash = 14695981039346656037ull) {
  for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

// The mean of the absolute differences of one channel between columns x0 and x1.
double ColumnDifference(const TTextureImage& image, int x0, int x1) {
  double sum = 0;
  for (int y = 0; y < image.size; ++y)
    for (int c = 0; c < 3; ++c) sum += std::abs(image.Pixel(x0, y)[c] - image.Pixel(x1, y)[c]);
  return sum / (3 * image.size);
}

TEST(SurfaceTextures, SameBytesEveryTimeAndTileWithoutASeam) {
  const TSurfaceTextures& shared = TSurfaceTextures::Shared();
  uint64_t hash = 14695981039346656037ull;
  for (int marked = 0; marked < 2; ++marked)
    for (int t = 0; t < kTextureCount; ++t) {
      SCOPED_TRACE(t);
      const TTextureImage& image = shared.Image(TTexture(t), marked);
      ASSERT_EQ(image.size, 256);
      EXPECT_EQ(image.rgba, TSurfaceTextures::Draw(TTexture(t), marked).rgba);
      hash = Fnv1a(image.rgba, hash);
      // Across the edge where the image repeats, neighbouring columns differ no
      // more than neighbours within it do (the slabs' joints and the kerbs'
      // stripes begin at an edge on purpose).
      if (marked || t == int(TTexture::Curbs) || t == int(TTexture::StartLine) || t == int(TTexture::GuardRail))
        continue;
      double within = 0;
      for (int x = 2; x + 1 < 255; ++x) within = std::max(within, ColumnDifference(image, x, x + 1));
      EXPECT_LE(ColumnDifference(image, 255, 2), within * 1.1 + 1) << "the wrap";
    }
  // The bytes the export writes and the view draws, pinned: a change to them is
  // a change of the look, made on purpose.
  EXPECT_EQ(hash, 0x100d614c82fb4effull) << std::hex << hash;
}

TEST(SurfaceTextures, KerbStripesMarkingsAndTheTexturesOfCodes) {
  const TTextureImage& kerb = TSurfaceTextures::Shared().Image(TTexture::Curbs);
  EXPECT_EQ(TextureMetres(TTexture::Curbs), 2.0);  // a red and a white metre
  for (int y = 0; y < 256; y += 51) {
    const uint8_t* red = kerb.Pixel(60, y);
    const uint8_t* white = kerb.Pixel(190, y);
    EXPECT_GT(red[0], 180);
    EXPECT_LT(red[1], 60);
    EXPECT_GT(white[0], 220);
    EXPECT_GT(white[1], 220);
  }
  const TTextureImage &grass = TSurfaceTextures::Shared().Image(TTexture::Grass),
                      &marked = TSurfaceTextures::Shared().Image(TTexture::Grass, true);
  int yellow = 0, same = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const uint8_t *m = marked.Pixel(x, y), *g = grass.Pixel(x, y);
      if (m[0] == 250 && m[1] == 222 && m[2] == 0) ++yellow;
      else same += std::equal(m, m + 4, g);
    }
  EXPECT_EQ(yellow + same, 256 * 256);
  EXPECT_NEAR(yellow / 65536.0, 2 * 3 / 32.0, 0.01);  // lines of 3 pixels in 32, both ways

  EXPECT_EQ(TextureOfSurface(1), TTexture::Tarmac);
  EXPECT_EQ(TextureOfSurface(7), TTexture::Banking);
  EXPECT_EQ(TextureOfSurface(2048 + 3), TTexture::Curbs);
  for (int32_t unnamed : {0, 8, 10, -1, 2048, 2048 + 10, INT32_MIN}) EXPECT_EQ(TextureOfSurface(unnamed), TTexture::Neutral);
  EXPECT_TRUE(MarkedSurface(2048));
  EXPECT_FALSE(MarkedSurface(2047));
  EXPECT_FALSE(MarkedSurface(-5));
}

TEST(SurfaceTextures, MipLevelsAreRoundedMeansDownToOnePixel) {
  const TTextureImage& dirt = TSurfaceTextures::Shared().Image(TTexture::Dirt);
  const std::vector<TTextureImage> levels = MipLevels(dirt);
  ASSERT_EQ(levels.size(), 8u);
  EXPECT_EQ(levels[0].size, 128);
  EXPECT_EQ(levels[7].size, 1);
  for (int c = 0; c < 4; ++c) {
    const int sum = dirt.Pixel(10, 20)[c] + dirt.Pixel(11, 20)[c] + dirt.Pixel(10, 21)[c] + dirt.Pixel(11, 21)[c];
    EXPECT_EQ(levels[0].Pixel(5, 10)[c], (sum + 2) / 4);
  }
  // The last level is about the mean of the whole image.
  for (int c = 0; c < 3; ++c) {
    double mean = 0;
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) mean += dirt.Pixel(x, y)[c];
    EXPECT_NEAR(levels[7].Pixel(0, 0)[c], mean / 65536, 1.5);
  }
}

}  // namespace
}  // namespace meridal
