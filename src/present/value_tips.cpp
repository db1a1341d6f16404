#include "present/value_tips.h"

#include <utility>

namespace meridal {

namespace {

const std::pair<const char*, const char*> kTips[] = {
    // The track.
    {"Sum of Section Lengths", "Track length: the sections' lengths added up"},
    {"Number of Sections", "How many sections the track has"},
    {"Number of Traces", "How many traces run along the track"},
    // A section.
    {"Type", "Straight or arc: the kind of section"},
    {"Start", "Distance from the start line to the section's start"},
    {"Length", "Length along the zero line"},
    {"Orientation", "Heading: the direction the section starts in"},
    {"CurveCenterX", "Centre of the arc: its east coordinate"},
    {"CurveCenterY", "Centre of the arc: its north coordinate"},
    {"Curvature", "Sweep: the angle the arc turns through"},
    {"Radius", "Radius of the arc's zero line"},
    {"Orientation mismatch", "Turn at the joint: the heading against the previous section's end heading"},
    {"Longitudinal gap", "Gap along the heading: from the previous section's end to this start"},
    {"Lateral gap", "Gap across the heading: from the previous section's end to this start, left positive"},
    // A wall.
    {"From", "Wall position at the section's start: across the track, left of the zero line positive"},
    {"To", "Wall position at the section's end: across the track, left of the zero line positive"},
    {"Surface", "Surface of the strip beside this wall"},
    {"Height", "Height of the strip beside this wall"},
    {"Unk1", "Unknown field 1: kept as it is; the plan can hatch the strips where it is not 0"},
    {"Unk2", "Unknown field 2: kept as it is"},
    {"Unk3", "Unknown field 3, thought to be a sub-type of the surface: kept as it is"},
    {"Unk4", "Unknown field 4, thought to hold flags: kept as it is"},
    {"Width@Start", "Strip width at the section's start: to the next wall"},
    {"Width@End", "Strip width at the section's end: to the next wall"},
    // An altitude: height = A t^3 + B t^2 + C t + D along the section, t from 0 to 1.
    {"3rd order coeff.", "Height profile, cubic term A: height = A t\u00B3 + B t\u00B2 + C t + D, t from start 0 to end 1"},
    {"2nd order coeff.", "Height profile, square term B: height = A t\u00B3 + B t\u00B2 + C t + D"},
    {"1st order coeff.", "Height profile, linear term C: the rise over the section at its start's gradient"},
    {"Height@Start", "Height at the section's start (D)"},
    {"Height@End", "Height at the section's end: A + B + C + D"},
    {"Gradient@Start", "Slope at the section's start"},
    {"Gradient@End", "Slope at the section's end"},
    {"Length of Trace", "Length of this trace through the section"},
    // A run of sections.
    {"Selected Sections", "How many sections the selected run has"},
    {"Selected Length", "Length of the selected run"},
};

}  // namespace

std::string ValueTip(const std::string& caption) {
  if (caption.rfind("Trace ", 0) == 0) return "Trace position: across the track, left of the zero line positive";
  for (const auto& [name, tip] : kTips)
    if (caption == name) return tip;
  return std::string();
}

}  // namespace meridal
