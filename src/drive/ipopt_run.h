#pragma once
// Running IPOPT on a problem of ours: the options every solve shares, none read
// from elsewhere, and one solve at a time (IPOPT's linear solver keeps state of
// its own). Only the drive folder's sources include this.
#include <IpTNLP.hpp>

namespace meridal {

enum class TSolveOutcome { Solved, Cancelled, Infeasible, Failed };

// `tolerance` is IPOPT's own (the scaled optimality error it stops at). A
// problem whose intermediate_callback returns false (cancelled) ends Cancelled.
TSolveOutcome RunIpopt(const Ipopt::SmartPtr<Ipopt::TNLP>& problem, double tolerance);

}  // namespace meridal
