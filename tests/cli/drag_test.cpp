// drag on the command line: the value a handle takes where it is let go, the same
// step name as the editor's in a batch's history, and a refused drag that exits 1
// and leaves the file byte for byte as it was.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "document/document.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal::cli_test {
namespace {

using Drag = Cli;

TEST_F(Drag, TheEndTakesThePointersLengthAndRefusalsLeaveTheFile) {
  // The new track's straight runs east from its start.
  const auto fresh = TDocument::New();
  const TSection& s = *fresh->Track().Section(0);
  ASSERT_EQ(s.Orientation, 0);
  const double startMetres = s.StartX() / kUnitsPerMeter;
  Ok({"drag", file_, "section 0", "end", std::to_string(startMetres + 61.23), "7"});
  EXPECT_EQ(Ok({"get", file_, "section-0", "Length"}), std::to_string(nearest(61.23 * kUnitsPerMeter)) + "\n");
  // Snapped: to the 0.5 m grid.
  Ok({"drag", file_, "section-0", "END", std::to_string(startMetres + 61.23), "0", "--snap"});
  EXPECT_EQ(Ok({"get", file_, "section-0", "Length"}), std::to_string(nearest(61.0 * kUnitsPerMeter)) + "\n");

  Refused({"drag", file_, "section-0", "end", std::to_string(startMetres - 5), "0"}, "Drag stopped: Length below 1");
  Refused({"drag", file_, "section-0", "end", "2000000", "0"}, "Drag stopped: value outside 32 bits");
  Refused({"drag", file_, "section-0", "radius", "1", "1"}, "A straight section has no radius handle");
  Refused({"drag", file_, "section-7", "end", "1", "1"}, "meridal-cli: no such object in this track: 'section-7'");
  EXPECT_EQ(RunCommand({"drag", file_, "section-0", "bend", "1", "1"}).code, 2);
  // Coordinates are decimal numbers: not hexadecimal, not an infinity.
  const std::string before = Bytes(file_);
  for (const char* x : {"0x10", "inf", " "}) {
    const Result r = RunCommand({"drag", file_, "section-0", "end", x, "0"});
    EXPECT_EQ(r.code, 2) << x;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
              "meridal-cli: X is a decimal number of metres, not '" + std::string(x) + "'");
  }
  EXPECT_EQ(Bytes(file_), before);
}

TEST_F(Drag, EachDragOfABatchIsOneStepNamedAsInTheEditor) {
  const Result r = RunCommand({"batch", file_},
                              "edit section-0 add-after\n"
                              "drag section-1 heading 500 300 --detach\n"
                              "drag section-0 move 10 -4\n"
                              "history\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Drag Heading of Section 1"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Move Section 0"), std::string::npos) << r.out;
  // The move took the start to the point, and section 1 followed it.
  EXPECT_EQ(Ok({"get", file_, "section-1", "Longitudinal gap"}), "0\n");
  EXPECT_EQ(Ok({"get", file_, "section-1", "Lateral gap"}), "0\n");
}

}  // namespace
}  // namespace meridal::cli_test
