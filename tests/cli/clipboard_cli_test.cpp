// copy, paste, reverse and mirror on the command line: a run carried from one file
// to another through standard output and input, the batch's own clipboard, and
// transforms that twice give back the very bytes.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"

namespace meridal::cli_test {
namespace {

class ClipboardCli : public Cli {
 protected:
  // A track of four sections, the second an arc.
  void SetUp() override {
    Cli::SetUp();
    Result r = RunCommand({"batch", file_}, "edit 'section 0' add-after\nedit 'section 1' change-type\n"
                                            "edit 'section 1' add-after\nedit 'section 2' add-after\n"
                                            "set 'section 2' Length 300000\n");
    ASSERT_EQ(r.code, 0) << r.err;
  }
  std::string Tree(const std::string& file) { return Ok({"tree", file}); }
};

TEST_F(ClipboardCli, CopiesToStdoutAndPastesFromStdin) {
  const std::string text = Ok({"copy", file_, "section 1-2"});
  EXPECT_EQ(text.rfind("{\n  \"format\": \"meridal-track\",", 0), 0u) << text;
  const std::string other = (dir_ / "other.mrd").string();
  ASSERT_EQ(RunCommand({"new", other}).code, 0);
  Result r = RunCommand({"paste", other, "section 0"}, text);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Ok({"get", other, "section 2", "Length"}), "300000\n");
  EXPECT_EQ(Ok({"copy", other, "section 1-2"}), text);

  // What is not a list of sections changes nothing.
  const std::string before = Bytes(other);
  r = RunCommand({"paste", other, "section 0"}, "[1, 2]");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.rfind("Cannot paste after Section 0 (straight) !", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("The text is not a list of sections: "), std::string::npos) << r.err;
  EXPECT_EQ(Bytes(other), before);
  EXPECT_EQ(RunCommand({"copy", file_, "section 2-9"}).code, 1);
  // A range written backwards is told so, before the usage line.
  r = RunCommand({"copy", file_, "section 5-2"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err,
            "meridal-cli: 5-2 runs backwards: a range goes from the lower section number to the higher (2-5)\n"
            "usage: meridal-cli copy FILE.mrd \"section A-B\"\n");
}

TEST_F(ClipboardCli, ReverseAndMirrorTwiceGiveBackTheFile) {
  const std::string before = Bytes(file_);
  for (const char* command : {"reverse", "mirror"}) {
    Ok({command, file_});
    EXPECT_NE(Bytes(file_), before) << command;
    Ok({command, file_});
    EXPECT_EQ(Bytes(file_), before) << command;
  }
  // Reversed, the arc that was second is third.
  const std::string reversed = (dir_ / "reversed.mrd").string();
  Ok({"reverse", file_, "-o", reversed});
  EXPECT_NE(Tree(reversed).find("Section 2 (curved)"), std::string::npos) << Tree(reversed);
  EXPECT_EQ(Bytes(file_), before);
}

TEST_F(ClipboardCli, BatchCopyAndPasteUseTheirOwnClipboardOneStepEach) {
  Result r = RunCommand({"batch", file_}, "paste 'section 0'\ncopy 'section 1-3'\npaste 'section 3'\nreverse\n"
                                          "mirror\nundo\nhistory\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "line 1: meridal-cli: nothing to paste: copy sections first\n");
  r = RunCommand({"batch", file_}, "copy 'section 1-3'\npaste 'section 3'\nreverse\nmirror\nundo\nhistory\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "  <opened>\n  Paste 3 Sections\n* Reverse Track\n  Mirror Track\n");
  EXPECT_NE(Tree(file_).find("Section 6"), std::string::npos);
}

}  // namespace
}  // namespace meridal::cli_test
