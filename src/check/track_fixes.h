#pragma once
// The track check's fixes: each mends one kind of problem at one joint or at
// every joint, through the objects' own setters, as one step of the history.
//
// A value a setter refuses stays as it was and is reported; the step keeps what
// the other setters did. One wall that its neighbours' order refuses should not
// hold back the other ten thousand joints, the list of refusals says what is left
// to do by hand, and Undo still takes the whole step back.
//
//   const TFixReport report = ApplyFix(editor, FixCommand::MatchAllHeights);
//   for (const TFixEntry& entry : report.entries) std::cout << FixText(entry) << '\n';
#include <string>
#include <vector>

#include "check/track_check.h"
#include "history/editor.h"

namespace meridal {

enum class FixCommand {
  JoinToPrevious,    // one section's orientation mismatch and gaps to 0
  JoinAllPositions,  // sections 1 to NS - 1 in order: only the loop's closure remains
  MatchHeights,      // one section's Height@Start of every trace to the previous Height@End
  MatchAllHeights,   // every joint from section 1 on, in order
  MatchWalls,        // one section's wall From values to the previous To values
  MatchAllWalls,     // every joint, the loop's own too: a wall's From moves nothing else
};

// One value a fix set, or would have set: the problem as it stood just before.
struct TFixEntry {
  TTrackProblem problem;
  bool refused = false;
};

struct TFixReport {
  // Changed: one step more in the history. Unchanged: nothing to do, or every
  // value refused. Refused: no such section.
  history::Outcome outcome = history::Outcome::Unchanged;
  std::vector<TFixEntry> entries;

  int Refusals() const;
};

// The command's name on a button or a menu item ("Join to Previous").
const char* FixName(FixCommand command);
// Whether the command mends one joint (the one of a problem's section).
bool FixesOneJoint(FixCommand command);
// Whether a one-joint command mends problems of this kind.
bool FixMends(FixCommand command, const TTrackProblem& problem);

// Runs the fix on the editor's track as one step. `section` is the section whose
// start is joined or matched to its predecessor's end (a problem's section); the
// commands for every joint take none.
TFixReport ApplyFix(history::TEditor& editor, FixCommand command, int section = -1);

// "Section 4, trace 1: height step 250 mm, matched"; "..., refused".
std::string FixText(const TFixEntry& entry);

}  // namespace meridal
