#pragma once
// A mirror of the integer plan that mirrored twice gives every point back
// exactly. The true reflection across a line at any heading takes integer points
// between integers, and rounding them twice does not come back to where it
// started. This one is made of steps that each take integers to integers one to
// one and are undone exactly by their mirror images: a flip across the horizontal
// line through the centre, three shears that together turn by twice the heading
// (each rounding half away from zero, the same either way), and for a turn
// steeper than a quarter a half turn about the centre. So the whole is its own
// inverse, and a point lands within about two units of its true reflection.
//
// The centre is given doubled (K = 2P), so that it may lie halfway between
// integers: a half turn about it, x -> K - x, is exact all the same.
#include <cstdint>

#include "model/values.h"

namespace meridal::transform {

class TLatticeMirror {
 public:
  // The reflection across the line through K / 2 at the 32-bit heading.
  TLatticeMirror(int64_t kx, int64_t ky, int32_t orientation);

  // The mirror image of an integer point (in 64 bits: the caller checks that it
  // fits the plan).
  void Map(int64_t x, int64_t y, int64_t& outX, int64_t& outY) const;
  // The true reflection, for a place kept only as doubles.
  TPointD Reflect(double x, double y) const;

 private:
  int64_t kx_, ky_;
  double a_ = 0, b_ = 0;   // the shears: -tan(psi / 2) and sin(psi)
  bool halfTurn_ = false;  // the turn is psi + pi
  double cos2_ = 1, sin2_ = 0;
};

// Rounding to the nearest integer with halves to the even one. Unlike rounding
// halves away from zero it is symmetric about the value it gives: rounding
// 2 R(z) - z gives R(z) again, so a centre found this way from a track is found
// again from the track's mirror image.
int64_t RoundHalfEven(double z);
// The same of the exact quotient num / den (den not 0).
int64_t RoundHalfEven(__int128 num, __int128 den);

}  // namespace meridal::transform
