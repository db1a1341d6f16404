#pragma once
// The track check: every place where the track does not join up. A closed
// circuit of sections should meet itself at every joint, in plan (no turn, no
// gap), in height (no step, no sudden change of gradient) and in its walls (each
// wall going on where it ended). The check lists what fails, as plain data a
// window or the command line shows.
//
// Every problem at a joint is reported under the section whose start fails to
// meet its predecessor (the loop's own joint under section 0), as the section's
// rows show its gaps.
//
//   for (const TTrackProblem& p : CheckTrack(track)) std::cout << ProblemText(p) << '\n';
#include <string>
#include <vector>

#include "model/object_path.h"

namespace meridal {

class TTrack;

enum class ProblemKind {
  OrientationMismatch,  // the section's heading against the previous end's
  LongitudinalGap,      // along the heading
  LateralGap,           // across it
  HeightStep,           // a trace's height at the start against its previous end
  GradientKink,         // a trace's gradient there, when off by more than 1 percentage point
  WallJump,             // a wall's From against the same wall's previous To
  WallCount,            // the number of walls changes: information, not a problem
  // What the files may hold and every reader takes, but no edit makes:
  LengthNotPositive,    // a section of length 0 or less
  WallOrder,            // a wall right of the wall before it, at the start or the end
  TrackTooLong,         // the sections add up to more than a track can hold (model/length_limit.h)
  Steep,                // a trace inside its section rises or falls more steeply than the limit
};

// What the check allows that is not a gap: the steepest slope of any trace
// anywhere inside a section, as rise per run.
struct TCheckLimits {
  static constexpr double kDefaultMaxSlope = 0.25;
  double maxSlope = kDefaultMaxSlope;
};

struct TTrackProblem {
  ProblemKind kind = ProblemKind::OrientationMismatch;
  int section = 0;  // reported under this section (-1: the track as a whole)
  int item = -1;    // the trace (heights, gradients) or the wall (jumps); -1 otherwise
  // The value at the end of the previous section and at the start of this one,
  // and how much they differ: track units for lengths and heights, 32-bit
  // orientation units for the mismatch, rise per run for gradients, walls for
  // the count. A steep trace has the limit before and its steepest slope after. A position problem has only its amount, the row's value.
  double before = 0, after = 0, amount = 0;

  bool IsInformation() const { return kind == ProblemKind::WallCount; }
  // A gap or a turn in plan, as the section's rows show it.
  bool IsPosition() const {
    return kind == ProblemKind::OrientationMismatch || kind == ProblemKind::LongitudinalGap ||
           kind == ProblemKind::LateralGap;
  }
};

// The track-wide problem of a track longer than a track can hold, if it is; it
// comes before every joint's problems.
void AddLengthProblem(const TTrack& track, std::vector<TTrackProblem>& problems);

std::vector<TTrackProblem> CheckTrack(const TTrack& track, const TCheckLimits& limits = {});
// The same into `problems`, in the room it has: a rough track has a problem at
// nearly every joint, and a list made anew is memory the system must find again.
void CheckTrack(const TTrack& track, std::vector<TTrackProblem>& problems, const TCheckLimits& limits = {});
// The problems of one joint, the start of section s against the end of the one
// before it, and of section s's own values (its traces' slopes among them),
// appended in the order CheckTrack lists them.
void CheckJoint(const TTrack& track, int s, std::vector<TTrackProblem>& out, const TCheckLimits& limits = {});
// The height step, the gradient kink and the steepness of one trace at joint s,
// as CheckJoint lists them.
void CheckJointTrace(const TTrack& track, int s, int trace, std::vector<TTrackProblem>& out,
                     const TCheckLimits& limits = {});
// Whether any of them is a problem rather than information.
bool HasProblems(const std::vector<TTrackProblem>& problems);
// How many joints are open in plan: sections whose start does not meet the
// previous end in position or heading (the gaps an export warns of).
int OpenJoints(const std::vector<TTrackProblem>& problems);
// A problem in the check's words, in three parts: where ("Section 4, trace 1"),
// what ("height step") and how much ("250 mm"). A line tells a change in the
// wall count by its amount alone ("Section 2: 3 walls after 2 (information)").
struct TProblemWords {
  std::string where, what, amount;
};
TProblemWords ProblemWords(const TTrackProblem& problem);
// One line in the check's words, e.g. "Section 4, trace 1: height step 250 mm".
std::string ProblemText(const TTrackProblem& problem);
// The object a problem is about: the section, the altitude of its trace or its wall.
TObjectPath ProblemObject(const TTrackProblem& problem);

}  // namespace meridal
