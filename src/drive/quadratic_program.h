#pragma once
// A sparse convex quadratic program handed to IPOPT:
//
//   minimise 1/2 x'Hx + b'x   subject to  lower <= x <= upper,  gLower <= Ax <= gUpper
//
// with H given by the entries of its lower triangle (each place once) and A by
// its entries. IPOPT keeps global state in its linear solver: one program is
// solved at a time, and a cancelled run stops at IPOPT's next iteration.
#include <string>
#include <vector>

namespace meridal {

class TCancelFlag;

struct TSparseEntry {
  int row = 0, col = 0;
  double value = 0;
};

struct TQuadraticProgram {
  int n = 0;
  std::vector<TSparseEntry> hessian;  // lower triangle: row >= col
  std::vector<double> linear;
  std::vector<double> lower, upper;
  int m = 0;
  std::vector<TSparseEntry> constraints;  // A: row < m, col < n
  std::vector<double> gLower, gUpper;
  std::vector<double> start;
};

struct TProgramResult {
  bool ok = false;
  bool cancelled = false;
  bool infeasible = false;
  std::string error;
  std::vector<double> x;
};

TProgramResult SolveQuadraticProgram(const TQuadraticProgram& program, const TCancelFlag* cancel = nullptr);

}  // namespace meridal
