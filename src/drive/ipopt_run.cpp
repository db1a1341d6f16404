#include "drive/ipopt_run.h"

#include <IpIpoptApplication.hpp>
#include <mutex>
#include <sstream>

namespace meridal {

namespace {

std::mutex& SolverLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

TSolveOutcome RunIpopt(const Ipopt::SmartPtr<Ipopt::TNLP>& problem, double tolerance) {
  std::lock_guard<std::mutex> hold(SolverLock());
  // No console: the program says nothing on its own.
  Ipopt::SmartPtr<Ipopt::IpoptApplication> app = new Ipopt::IpoptApplication(false);
  app->Options()->SetIntegerValue("print_level", 0);
  app->Options()->SetStringValue("sb", "yes");
  app->Options()->SetNumericValue("tol", tolerance);
  app->Options()->SetIntegerValue("max_iter", 500);
  // Approximate minimum degree suits the banded matrices of a line.
  app->Options()->SetIntegerValue("mumps_pivot_order", 0);
  // Options come from here alone, never from an ipopt.opt that happens to lie
  // in the working folder.
  std::istringstream none;
  if (app->Initialize(none) != Ipopt::Solve_Succeeded) return TSolveOutcome::Failed;
  switch (app->OptimizeTNLP(problem)) {
    case Ipopt::Solve_Succeeded:
    case Ipopt::Solved_To_Acceptable_Level:
      return TSolveOutcome::Solved;
    case Ipopt::User_Requested_Stop:
      return TSolveOutcome::Cancelled;
    case Ipopt::Infeasible_Problem_Detected:
      return TSolveOutcome::Infeasible;
    default:
      return TSolveOutcome::Failed;
  }
}

}  // namespace meridal
