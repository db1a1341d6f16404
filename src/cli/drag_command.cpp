// drag: a handle of a section let go at a point of the plan, exactly as the plan
// view's drag ends there: the same value, the same later sections following with
// keep joined (unless --detach), the same snapping with --snap (the end lands on
// a start within 0.5 m; lengths and radii go in 0.5 m steps, angles in degrees),
// and the same one step, "Drag End of Section 3". A drag the handle stops at
// prints why, exits 1 and leaves the file as it was.
#include <cmath>
#include <optional>
#include <ostream>

#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "files/safety/shown_text.h"
#include "model/track.h"
#include "model/units.h"
#include "present/value_text.h"
#include "shape/document_drag.h"

namespace meridal {

namespace {

// A coordinate in metres, written as a decimal number ("-12.5", "1e3"); a
// hexadecimal form, an infinity or blanks are not coordinates.
bool ParseMetres(const std::string& text, double& units) {
  if (text.find_first_not_of(" \t") == std::string::npos) return false;
  const std::optional<double> metres = ParseDecimalNumber(text);
  if (!metres || std::fabs(*metres) > 1e7) return false;
  units = *metres * kUnitsPerMeter;
  return true;
}

}  // namespace

int RunDrag(TCliSession& session, const CliArgs& args, CliIo io) {
  shape::Handle handle;
  double x = 0, y = 0;
  if (!shape::HandleOfWord(args.positional[1], handle)) return kShowUsage;
  for (int i : {2, 3}) {
    if (ParseMetres(args.positional[i], i == 2 ? x : y)) continue;
    io.err << "meridal-cli: " << (i == 2 ? "X" : "Y") << " is a decimal number of metres, not '"
           << ShownPath(args.positional[i]) << "'\n";
    return kShowUsage;
  }
  TDocument* document = session.Document(io);
  if (!document) return 1;
  const TBase* object = FindObject(document->Track(), args.positional[0], io);
  if (!object) return 1;
  const TObjectPath path = PathOf(*object);
  if (path.kind != TObjectPath::Kind::Section) {
    io.err << "meridal-cli: drag takes a section\n";
    return 1;
  }
  shape::TDragOptions options;
  options.keepJoined = !args.Has("--detach");
  options.snap = shape::CommandLineSnap(args.Has("--snap"));
  shape::Stop stop = shape::Stop::None;
  const auto outcome = shape::DragOnce(*document, path.section, handle, {x, y}, options, stop);
  if (outcome != TDocument::Outcome::Refused) return 0;
  if (stop == shape::Stop::Refused && !shape::HasHandle(*document->Track().Section(path.section), handle))
    io.err << "A straight section has no radius handle\n";
  else io.err << shape::StopText(stop) << "\n";
  return 1;
}


}  // namespace meridal
