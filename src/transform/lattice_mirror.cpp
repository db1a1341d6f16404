#include "transform/lattice_mirror.h"

#include <cmath>

#include "model/numbers.h"
#include "model/units.h"

namespace meridal::transform {

int64_t RoundHalfEven(double z) {
  if (std::isnan(z)) return 0;
  double r = std::floor(z);
  const double fraction = z - r;  // exact: z and its floor are close
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0)) r += 1;
  return trunc64(r);
}

int64_t RoundHalfEven(__int128 num, __int128 den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  __int128 q = num / den, r = num % den;
  if (r < 0) {  // the floor, and a remainder in [0, den)
    q -= 1;
    r += den;
  }
  if (2 * r > den || (2 * r == den && q % 2 != 0)) q += 1;
  return static_cast<int64_t>(q);
}

TLatticeMirror::TLatticeMirror(int64_t kx, int64_t ky, int32_t orientation) : kx_(kx), ky_(ky) {
  // The reflection across a line at heading theta is the flip across a
  // horizontal line followed by a turn of 2 theta, done in 32-bit angles.
  const int32_t turn = wrapMul(2, orientation);
  halfTurn_ = turn > (1 << 30) || turn < -(1 << 30);
  const double psi = OrientationToRadians(halfTurn_ ? wrapAdd(turn, INT32_MIN) : turn);
  a_ = -std::tan(psi / 2);
  b_ = std::sin(psi);
  const double twice = OrientationToRadians(turn);
  cos2_ = std::cos(twice);
  sin2_ = std::sin(twice);
}

void TLatticeMirror::Map(int64_t x, int64_t y, int64_t& outX, int64_t& outY) const {
  // Offsets from the centre, which may lie halfway between integers: taken
  // doubled as integers and halved exactly, so that the offset of a flipped
  // point is exactly the opposite.
  const auto across = [this](int64_t v) { return static_cast<double>(2 * v - ky_) * 0.5; };
  const auto along = [this](int64_t v) { return static_cast<double>(2 * v - kx_) * 0.5; };
  y = ky_ - y;
  x += nearest64(a_ * across(y));
  y += nearest64(b_ * along(x));
  x += nearest64(a_ * across(y));
  if (halfTurn_) {
    x = kx_ - x;
    y = ky_ - y;
  }
  outX = x;
  outY = y;
}

TPointD TLatticeMirror::Reflect(double x, double y) const {
  const double dx = x - kx_ * 0.5, dy = y - ky_ * 0.5;
  return TPointD{kx_ * 0.5 + cos2_ * dx + sin2_ * dy, ky_ * 0.5 + sin2_ * dx - cos2_ * dy};
}

}  // namespace meridal::transform
