#pragma once
// Circuits made for the fit's tests: a lap drawn as a turtle draws it, straights
// and corners whose curvature ramps in and out as a real road's does, closed
// exactly by two of its straights, then sampled as a centreline every few
// metres, with a repeatable wobble for a GPS's noise and widths that may vary.
//
//   TCentreline line = testing::Sampled(testing::HairpinCircuit(), {.step = 5});
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "solve/centreline.h"

namespace meridal::testing {

struct TPiece {
  double length = 0;     // a straight's, metres; 0 for a corner
  double degrees = 0;    // a corner's turn, positive to the left
  double radius = 0;     // the corner's tightest radius, metres
  double ramp = 0;       // metres over which its curvature builds up and falls away
};

inline TPiece Straight(double length) { return {length, 0, 0, 0}; }
inline TPiece Corner(double degrees, double radius, double ramp = 10) { return {0, degrees, radius, ramp}; }

struct TCircuit {
  std::string name;
  std::vector<TPiece> pieces;
  double right = 6, left = 6;  // half-widths, metres
  double widthWave = 0;        // metres the widths swing by along the lap
};

struct TSampling {
  double step = 5;       // metres between points
  double noise = 0;      // metres: the largest wobble across the line
  bool clockwise = false;  // the lap driven the other way
};

namespace detail {

struct TTurtle {
  double x = 0, y = 0, heading = 0;
  bool record = true;  // false: only the end is wanted, not every step on the way
  std::vector<double> xs, ys, hs;
  void Walk(double length, double k0, double k1) {  // curvature from k0 to k1
    const int steps = std::max(1, int(std::ceil(length / 0.05)));
    const double ds = length / steps;
    for (int i = 0; i < steps; ++i) {
      const double k = k0 + (k1 - k0) * (i + 0.5) / steps;
      const double mid = heading + 0.5 * k * ds;
      x += ds * std::cos(mid);
      y += ds * std::sin(mid);
      heading += k * ds;
      if (!record) continue;
      xs.push_back(x);
      ys.push_back(y);
      hs.push_back(heading);
    }
  }
};

// Walks the pieces with the given lengths of the closing straights; the end.
inline TTurtle Walk(const std::vector<TPiece>& pieces, double scale, bool record = true) {
  TTurtle t;
  t.record = record;
  t.xs.push_back(0);
  t.ys.push_back(0);
  t.hs.push_back(0);
  for (const TPiece& p : pieces) {
    if (p.degrees == 0) {
      t.Walk(p.length, 0, 0);
      continue;
    }
    // Ramp in, hold, ramp out: the turn of the ramps is half their length at the
    // full curvature each; the hold takes the rest of the turn.
    const double k = (p.degrees > 0 ? 1 : -1) / p.radius;
    const double turn = std::fabs(p.degrees) * scale * std::numbers::pi / 180;
    double ramp = p.ramp, hold = (turn - ramp / p.radius) * p.radius;
    if (hold < 0) {  // too little turn for the ramps: ramps alone, shorter
      ramp = turn * p.radius;
      hold = 0;
    }
    t.Walk(ramp, 0, k);
    t.Walk(hold, k, k);
    t.Walk(ramp, k, 0);
  }
  return t;
}

}  // namespace detail

// The pieces closed: the corners scaled so that the lap turns one whole turn,
// and two of its straights lengthened or shortened so that it ends where it
// began; of the pairs that keep every straight 20 m long at least, the one
// that changes least.
inline std::vector<TPiece> Closed(std::vector<TPiece> pieces) {
  double total = 0;
  for (const TPiece& p : pieces) total += p.degrees;
  const double scale = 360.0 / std::fabs(total);
  auto end = [&](const std::vector<TPiece>& p) {
    const detail::TTurtle t = detail::Walk(p, scale, false);
    return std::make_pair(t.x, t.y);
  };
  std::vector<TPiece> best;
  double change = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    for (size_t j = i + 1; j < pieces.size(); ++j) {
      if (pieces[i].degrees != 0 || pieces[j].degrees != 0) continue;
      std::vector<TPiece> p = pieces;
      bool ok = true;
      for (int iteration = 0; iteration < 3 && ok; ++iteration) {
        const auto [x0, y0] = end(p);
        double a[2][2];
        for (int c = 0; c < 2; ++c) {
          std::vector<TPiece> moved = p;
          moved[c == 0 ? i : j].length += 1;
          const auto [x1, y1] = end(moved);
          a[0][c] = x1 - x0;
          a[1][c] = y1 - y0;
        }
        const double det = a[0][0] * a[1][1] - a[0][1] * a[1][0];
        if (std::fabs(det) < 1e-3) ok = false;
        p[i].length += (-x0 * a[1][1] + y0 * a[0][1]) / det;
        p[j].length += (-y0 * a[0][0] + x0 * a[1][0]) / det;
      }
      const double moved = std::fabs(p[i].length - pieces[i].length) + std::fabs(p[j].length - pieces[j].length);
      if (!ok || p[i].length < 20 || p[j].length < 20 || (!best.empty() && moved >= change)) continue;
      best = p;
      change = moved;
    }
  }
  if (best.empty()) best = pieces;  // a loop that closes by its own symmetry
  for (TPiece& p : best) p.degrees *= scale;
  return best;
}

// A centreline of the circuit: a point every `step` metres from the start, the
// lap not repeating its first point.
inline TCentreline Sampled(const TCircuit& circuit, const TSampling& sampling) {
  const std::vector<TPiece> pieces = Closed(circuit.pieces);
  const detail::TTurtle t = detail::Walk(pieces, 1.0);
  const double ds = 0.05;
  const double total = double(t.xs.size() - 1) * ds;
  TCentreline line;
  uint32_t seed = 12345;
  auto wobble = [&] {  // a repeatable number from -1 to 1
    seed = seed * 1664525u + 1013904223u;
    return double(seed >> 8) / double(1u << 24) * 2 - 1;
  };
  const int count = int(std::floor(total / sampling.step - 0.5)) + 1;
  for (int i = 0; i < count; ++i) {
    const double s = i * sampling.step;
    const size_t j = std::min(t.xs.size() - 1, size_t(std::lround(s / ds)));
    const double across = sampling.noise * wobble();
    line.x.push_back(t.xs[j] - across * std::sin(t.hs[j]));
    line.y.push_back(t.ys[j] + across * std::cos(t.hs[j]));
    const double wave = circuit.widthWave * std::sin(2 * std::numbers::pi * 3 * s / total);
    line.right.push_back(circuit.right + wave);
    line.left.push_back(circuit.left - 0.5 * wave);
  }
  if (sampling.clockwise) {
    std::reverse(line.x.begin() + 1, line.x.end());
    std::reverse(line.y.begin() + 1, line.y.end());
    std::reverse(line.right.begin() + 1, line.right.end());
    std::reverse(line.left.begin() + 1, line.left.end());
    std::swap(line.right, line.left);
  }
  return line;
}

// The centreline as a CSV in the racetrack databases' layout.
inline std::string CircuitCsv(const TCentreline& line) {
  std::ostringstream csv;
  csv.precision(10);
  csv << "# x_m,y_m,w_tr_right_m,w_tr_left_m\n";
  for (size_t i = 0; i < line.Size(); ++i)
    csv << line.x[i] << "," << line.y[i] << "," << line.right[i] << "," << line.left[i] << "\n";
  return csv.str();
}

// Hairpins whose radius on the centreline is less than the road's half-width,
// so that the inner edge would cross the centre, between long straights.
inline TCircuit HairpinCircuit() {
  return {"hairpins",
          {Straight(600), Corner(180, 7, 8), Straight(250), Corner(-60, 40), Straight(200), Corner(120, 25),
           Straight(150), Corner(180, 6, 6), Straight(300), Corner(-60, 30), Straight(80)},
          9, 9};
}
// Chicanes on long straights, four quarter turns.
inline TCircuit ChicaneCircuit() {
  std::vector<TPiece> p;
  for (int side = 0; side < 4; ++side) {
    p.push_back(Straight(side % 2 ? 300 : 900));
    if (side % 2 == 0) {
      p.push_back(Corner(30, 15, 6));
      p.push_back(Corner(-60, 14, 6));
      p.push_back(Corner(30, 15, 6));
      p.push_back(Straight(250));
    }
    p.push_back(Corner(90, 60));
  }
  return {"chicanes", p, 7, 7};
}
// A twisty lap with widths that swing from 4 m to 15 m across.
inline TCircuit VaryingWidthCircuit() {
  return {"widths",
          {Straight(400), Corner(100, 30), Straight(120), Corner(-45, 80), Straight(200), Corner(135, 20),
           Straight(60), Corner(-90, 35), Straight(150), Corner(170, 45), Straight(250), Corner(90, 60)},
          5,
          5,
          2.5};
}
// A lap of long straights and two hairpins at their ends, as a speedway's.
inline TCircuit LongStraightCircuit() {
  return {"straights",
          {Straight(1000), Corner(10, 500, 20), Straight(1000), Corner(170, 60, 30), Straight(1000), Corner(10, 500, 20),
           Straight(1000), Corner(170, 60, 30)},
          8,
          8};
}
// An oval: two bends of 180 degrees whose curvature builds up and falls away
// over their whole length.
inline TCircuit OvalCircuit() {
  return {"oval", {Straight(500), Corner(180, 120, 180), Straight(500), Corner(180, 120, 180)}, 10, 10};
}
// A circle of 80 m.
inline TCircuit CircleCircuit() { return {"circle", {Corner(180, 80, 0), Corner(180, 80, 0)}, 6, 6}; }
// A kart track: a kilometre of tight turns on a narrow road.
inline TCircuit KartCircuit() {
  return {"kart",
          {Straight(150), Corner(160, 9, 5), Straight(60), Corner(-90, 12, 5), Straight(40), Corner(120, 10, 5),
           Straight(50), Corner(-70, 14, 5), Straight(80), Corner(150, 8, 4), Straight(70), Corner(-40, 20), Straight(60),
           Corner(120, 11, 5)},
          4.5,
          4.5};
}

}  // namespace meridal::testing
