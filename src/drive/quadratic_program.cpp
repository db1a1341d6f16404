#include "drive/quadratic_program.h"

#include <IpIpoptApplication.hpp>
#include <IpTNLP.hpp>
#include <mutex>
#include <sstream>

#include "drive/cancel_flag.h"

namespace meridal {

namespace {

using Ipopt::Index;
using Ipopt::Number;

class TProgramNlp : public Ipopt::TNLP {
 public:
  TProgramNlp(const TQuadraticProgram& program, const TCancelFlag* cancel, TProgramResult& result)
      : p_(program), cancel_(cancel), result_(result) {}

  bool get_nlp_info(Index& n, Index& m, Index& nnzJac, Index& nnzHess, IndexStyleEnum& style) override {
    n = p_.n;
    m = p_.m;
    nnzJac = Index(p_.constraints.size());
    nnzHess = Index(p_.hessian.size());
    style = C_STYLE;
    return true;
  }
  bool get_bounds_info(Index n, Number* xl, Number* xu, Index m, Number* gl, Number* gu) override {
    for (Index i = 0; i < n; ++i) xl[i] = p_.lower[size_t(i)], xu[i] = p_.upper[size_t(i)];
    for (Index j = 0; j < m; ++j) gl[j] = p_.gLower[size_t(j)], gu[j] = p_.gUpper[size_t(j)];
    return true;
  }
  bool get_starting_point(Index n, bool initX, Number* x, bool, Number*, Number*, Index, bool, Number*) override {
    if (initX)
      for (Index i = 0; i < n; ++i) x[i] = p_.start[size_t(i)];
    return true;
  }
  bool eval_f(Index n, const Number* x, bool, Number& f) override {
    std::vector<double> hx;
    Multiply(n, x, hx);
    f = 0;
    for (Index i = 0; i < n; ++i) f += x[i] * (0.5 * hx[size_t(i)] + p_.linear[size_t(i)]);
    return true;
  }
  bool eval_grad_f(Index n, const Number* x, bool, Number* g) override {
    std::vector<double> hx;
    Multiply(n, x, hx);
    for (Index i = 0; i < n; ++i) g[i] = hx[size_t(i)] + p_.linear[size_t(i)];
    return true;
  }
  bool eval_g(Index, const Number* x, bool, Index m, Number* g) override {
    for (Index j = 0; j < m; ++j) g[j] = 0;
    for (const TSparseEntry& e : p_.constraints) g[e.row] += e.value * x[e.col];
    return true;
  }
  bool eval_jac_g(Index, const Number*, bool, Index, Index, Index* rows, Index* cols, Number* values) override {
    for (size_t k = 0; k < p_.constraints.size(); ++k) {
      if (values) {
        values[k] = p_.constraints[k].value;
      } else {
        rows[k] = p_.constraints[k].row;
        cols[k] = p_.constraints[k].col;
      }
    }
    return true;
  }
  bool eval_h(Index, const Number*, bool, Number objFactor, Index, const Number*, bool, Index, Index* rows,
              Index* cols, Number* values) override {
    for (size_t k = 0; k < p_.hessian.size(); ++k) {
      if (values) {
        values[k] = objFactor * p_.hessian[k].value;
      } else {
        rows[k] = p_.hessian[k].row;
        cols[k] = p_.hessian[k].col;
      }
    }
    return true;
  }
  bool intermediate_callback(Ipopt::AlgorithmMode, Index, Number, Number, Number, Number, Number, Number, Number,
                             Number, Index, const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {
    return !Cancelled(cancel_);
  }
  void finalize_solution(Ipopt::SolverReturn, Index n, const Number* x, const Number*, const Number*, Index,
                         const Number*, const Number*, Number, const Ipopt::IpoptData*,
                         Ipopt::IpoptCalculatedQuantities*) override {
    result_.x.assign(x, x + n);
  }

 private:
  // H x from the lower triangle.
  void Multiply(Index n, const Number* x, std::vector<double>& out) const {
    out.assign(size_t(n), 0.0);
    for (const TSparseEntry& e : p_.hessian) {
      out[size_t(e.row)] += e.value * x[e.col];
      if (e.row != e.col) out[size_t(e.col)] += e.value * x[e.row];
    }
  }

  const TQuadraticProgram& p_;
  const TCancelFlag* cancel_;
  TProgramResult& result_;
};

std::mutex& SolverLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

TProgramResult SolveQuadraticProgram(const TQuadraticProgram& program, const TCancelFlag* cancel) {
  TProgramResult result;
  std::lock_guard<std::mutex> hold(SolverLock());
  if (Cancelled(cancel)) {
    result.cancelled = true;
    return result;
  }
  // No console: the program says nothing on its own.
  Ipopt::SmartPtr<Ipopt::IpoptApplication> app = new Ipopt::IpoptApplication(false);
  app->Options()->SetIntegerValue("print_level", 0);
  app->Options()->SetStringValue("sb", "yes");
  app->Options()->SetStringValue("hessian_constant", "yes");
  app->Options()->SetStringValue("jac_c_constant", "yes");
  app->Options()->SetStringValue("jac_d_constant", "yes");
  app->Options()->SetStringValue("mehrotra_algorithm", "yes");
  app->Options()->SetIntegerValue("max_iter", 500);
  app->Options()->SetNumericValue("tol", 1e-9);
  // Approximate minimum degree suits the banded matrices of a line.
  app->Options()->SetIntegerValue("mumps_pivot_order", 0);
  // Options come from here alone, never from an ipopt.opt that happens to lie
  // in the working folder.
  std::istringstream none;
  if (app->Initialize(none) != Ipopt::Solve_Succeeded) {
    result.error = "the solver could not be started";
    return result;
  }
  Ipopt::SmartPtr<Ipopt::TNLP> nlp = new TProgramNlp(program, cancel, result);
  const Ipopt::ApplicationReturnStatus status = app->OptimizeTNLP(nlp);
  switch (status) {
    case Ipopt::Solve_Succeeded:
    case Ipopt::Solved_To_Acceptable_Level:
      result.ok = result.x.size() == size_t(program.n);
      break;
    case Ipopt::User_Requested_Stop:
      result.cancelled = true;
      break;
    case Ipopt::Infeasible_Problem_Detected:
      result.infeasible = true;
      result.error = "the bounds leave no line";
      break;
    default:
      result.error = "the solver stopped without a line (status " + std::to_string(int(status)) + ")";
      break;
  }
  if (!result.ok) result.x.clear();
  return result;
}

}  // namespace meridal
