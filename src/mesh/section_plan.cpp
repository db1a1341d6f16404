#include "mesh/section_plan.h"

#include <algorithm>
#include <cmath>

#include "model/curved_section.h"
#include "model/straight_section.h"

namespace meridal {

namespace {

bool Finite(const TPointD& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::optional<TSectionPlan> TSectionPlan::Of(const TSection& section, std::string* reason) {
  const auto refuse = [reason](const char* why) {
    if (reason) *reason = why;
    return std::nullopt;
  };
  TSectionPlan plan;
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) {
    plan.curved_ = true;
    plan.centre_ = {double(arc->CurveCenterX()), double(arc->CurveCenterY())};
    plan.radius_ = arc->Radius;
    plan.startAngle_ = arc->StartAngle;
    plan.swept_ = arc->SweptAngle();
    if (!std::isfinite(plan.radius_) || !std::isfinite(plan.startAngle_) || !std::isfinite(plan.swept_))
      return refuse("its geometry is not a number");
    if (arc->Curvature() == 0) return refuse("its curvature is 0");
    if (plan.radius_ == 0) return refuse("its radius is 0");
    return plan;
  }
  const auto* straight = dynamic_cast<const TStraightSection*>(&section);
  if (!straight) return refuse("it is neither a straight nor an arc");
  if (section.Length < 1) return refuse("its length is not positive");
  plan.base_ = {straight->BaseX, straight->BaseY};
  plan.span_ = {straight->SpanX, straight->SpanY};
  plan.lateral_ = straight->LateralUnit();
  if (!Finite(plan.base_) || !Finite(plan.span_) || !Finite(plan.lateral_))
    return refuse("its geometry is not a number");
  if (plan.lateral_.x == 0 && plan.lateral_.y == 0) return refuse("it has no direction across");
  return plan;
}

TCrossFrame TSectionPlan::Frame(double t) const {
  if (!curved_) {
    return {{base_.x + t * span_.x, base_.y + t * span_.y}, lateral_, span_, {0, 0}};
  }
  // P(v) = C + (R - v)(cos a, sin a) with a = a0 + t * swept.
  const double a = startAngle_ + t * swept_;
  const double c = std::cos(a), s = std::sin(a);
  return {{centre_.x + radius_ * c, centre_.y + radius_ * s},
          {-c, -s},
          {-radius_ * swept_ * s, radius_ * swept_ * c},
          {swept_ * s, -swept_ * c}};
}

int TSectionPlan::StepsFor(double tolerance, double vMin, double vMax) const {
  if (!curved_) return 1;  // every line of a straight is straight
  // The chord of an arc of radius r over the angle d lies r (1 - cos(d / 2)) off
  // it; the outermost line has the largest radius.
  const double r = std::max(std::fabs(radius_ - vMin), std::fabs(radius_ - vMax));
  if (r <= tolerance) return 1;
  const double step = 2.0 * std::acos(1.0 - tolerance / r);
  const double steps = std::ceil(std::fabs(swept_) / step);
  return steps < 1 ? 1 : steps > 1e9 ? 1000000000 : int(steps);
}

double TSectionPlan::LongestLine(double vMin, double vMax) const {
  if (!curved_) return std::hypot(span_.x, span_.y);
  return std::max(std::fabs(radius_ - vMin), std::fabs(radius_ - vMax)) * std::fabs(swept_);
}

double TSectionPlan::Reach(double vMin, double vMax) const {
  if (!curved_) {
    double reach = 0;
    for (double t : {0.0, 1.0})
      for (double v : {vMin, vMax}) {
        const TPointD p = Frame(t).At(v);
        reach = std::max({reach, std::fabs(p.x), std::fabs(p.y)});
      }
    return reach;
  }
  // Every point of the arc lies within its largest radius of the centre.
  const double r = std::max(std::fabs(radius_ - vMin), std::fabs(radius_ - vMax));
  return std::max(std::fabs(centre_.x), std::fabs(centre_.y)) + r;
}

}  // namespace meridal
