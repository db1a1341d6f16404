#pragma once
// One trace's cubic height profile over a section: h(t) = A t^3 + B t^2 + C t + D.
#include "model/base.h"

namespace meridal {

class TSection;

class TAltitude final : public TBase, public AltitudeValues {
 public:
  explicit TAltitude(TSection* owner);
  // A copy of every field (Number included) for another owner, without a tree node.
  TAltitude(TSection* owner, const TAltitude& source);

  // Tracks hold these by the hundred thousand: they come from a pool.
  static void* operator new(size_t size);
  static void operator delete(void* p) noexcept;

  AltitudeValues& Values() { return *this; }
  const AltitudeValues& Values() const { return *this; }

  TSection* Section() const;
  // Length of the trace over its section: the section's length on a straight, the
  // trace's radius times the swept angle on a curve.
  double TraceLength() const;
  // Height at the end, D + A + B + C as a wrapping 32-bit sum.
  int32_t HeightAtEnd() const;
  // The profile at t (0 at the section's start, 1 at its end), in track units:
  // h(t) = A t^3 + B t^2 + C t + D, computed in double without any 32-bit wrap.
  double HeightAt(double t) const {
    return ((static_cast<double>(ThirdOrder) * t + SecondOrder) * t + FirstOrder) * t + HeightAtStart;
  }
  // The gradient (rise per run) at t: h'(t) / |L| = (3A t^2 + 2B t + C) / |L| with L
  // the trace's length, 0 when the trace has no length. At t = 0 and t = 1 it is
  // the list's Gradient@Start and Gradient@End (which sum 3A + 2B + C in 32 bits
  // and so differ only where that sum wraps).
  double GradientAt(double t) const;
  // The steepest gradient anywhere on the section, as a magnitude: the largest
  // |h'(t)| / |L| for t from 0 to 1, at an end or where h'' is 0.
  double GreatestGradient() const;

  int32_t GetValue(const std::string& name) const override;
  bool SetValue(const std::string& name, int32_t value) override;
};

}  // namespace meridal
