// meridal-cli batch: words split as a shell splits them, failing lines, the
// history through undo, redo and history, and the document written back once.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "cli/words.h"

#ifdef MERIDAL_CLI_RENDER
#include <QImage>
#endif

namespace meridal {
namespace {

using cli_test::Bytes;
using cli_test::Result;
using cli_test::RunCommand;
using Words = std::vector<std::string>;

TEST(BatchWords, SplitAsAShellDoes) {
  const std::pair<const char*, Words> cases[] = {
      {R"(set "section 1/wall 0" From -5 --base m)", {"set", "section 1/wall 0", "From", "-5", "--base", "m"}},
      {" \tget  'section 0'\tLength  ", {"get", "section 0", "Length"}},
      {R"(a\ b 'it''s' "" '' x"y"'z')", {"a b", "its", "", "", "xyz"}},
      // In double quotes a backslash escapes only $ ` " and itself; in single quotes nothing.
      {R"(x "a\"b\\c\d\$\`" 'a\b' \'\#)", {"x", R"(a"b\c\d$`)", R"(a\b)", "'#"}},
      {"tree # the rest is a comment", {"tree"}},
      {"set a#b '#' \"#\"", {"set", "a#b", "#", "#"}},
      {"# a comment", {}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto& [line, words] : cases) {
    const TWords split = SplitWords(line);
    EXPECT_EQ(split.error, "") << line;
    EXPECT_EQ(split.words, words) << line;
  }
  const std::pair<const char*, const char*> bad[] = {
      {R"(set "section 0)", "unterminated double quote"},
      {R"(set "a\")", "unterminated double quote"},
      {"set 'it", "unterminated single quote"},
      {R"(set x \)", "a backslash ends the line"},
  };
  for (const auto& [line, error] : bad) {
    const TWords split = SplitWords(line);
    EXPECT_EQ(split.error, error) << line;
    EXPECT_TRUE(split.words.empty()) << line;
  }
}

class Batch : public cli_test::Cli {
 protected:
  Result Run(const std::string& script, Words options = {}) {
    Words args{"batch", file_};
    args.insert(args.end(), options.begin(), options.end());
    return RunCommand(args, script);
  }
};

TEST_F(Batch, StopsAtTheFirstFailingLineOrGoesOnWithKeepGoing) {
  const std::string script =
      "set 'section 0' Length 100 --base m\n"
      "# the next line is refused\n"
      "set 'section 0' Radius 5000000\n"
      "edit section-0 add-after\n";
  const std::string before = Bytes(file_);
  Result r = Run(script);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "line 3: Input not valid ! Range Error!\n");
  EXPECT_EQ(Bytes(file_), before);

  r = Run(script +
              "get \"section 0 Length\n"
              "get track\n"
              "frobnicate\n"
              "set track 'Trace 0' -5 -o other.mrd\n"
              "get 'section 1' Length\n",
          {"--keep-going"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "line 3: Input not valid ! Range Error!\n"
            "line 5: meridal-cli: unterminated double quote\n"
            "line 6: usage: get OBJECT NAME\n"
            "line 7: meridal-cli: unknown command 'frobnicate'\n"
            "line 8: meridal-cli: -o does not apply inside a batch: 'save OUT' writes the document elsewhere\n");
  EXPECT_EQ(r.out, "1968504\n");
  EXPECT_EQ(Ok({"get", file_, "track", "Trace 0"}), "-98425\n");
  EXPECT_EQ(Ok({"get", file_, "track", "Length"}), "3937008\n");  // the two sections of 100 m
}

TEST_F(Batch, UndoesRedoesAndListsTheSteps) {
  const std::string before = Bytes(file_);
  Result r = Run(
      "undo\n"
      "set 'section 0' Length 1000\n"
      "edit 'section 0' add-after\n"
      "undo\n"
      "history\n"
      "redo\n"
      "redo\n"
      "undo\n"
      "undo\n"
      "history\n",
      {"--keep-going"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "line 1: Nothing to undo\nline 7: Nothing to redo\n");
  EXPECT_EQ(r.out,
            "  <opened>\n* Set Length of Section 0\n  Add Section after Section 0\n"
            "* <opened>\n  Set Length of Section 0\n  Add Section after Section 0\n");
  EXPECT_EQ(Bytes(file_), before);  // back where it was opened: nothing to write

  r = Run("set 'section 0' Length 1000\nedit 'section 0' add-after\nundo\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Ok({"get", file_, "section 0", "Length"}), "1000\n");
  EXPECT_EQ(Ok({"tree", file_}), "Track\n  Section 0 (straight)\n    Altitude 0\n    Altitude 1\n    Wall 0\n    Wall 1\n");
}

// The values a project file derives anew can be set and exported within a batch
// (and taken back before its end, which would not save them in the project).
TEST_F(Batch, SetsAndExportsValuesTheProjectDoesNotKeep) {
  const std::string trk = (dir_ / "t.trk").string();
  const Result r = Run(
      "set 'section 0/altitude 1' A3 3\n"
      "set 'section 0/altitude 1' B2 2\n"
      "set track Length 5\n"
      "set 'section 0' Start 7\n"
      "export '" + trk + "'\n"
      "undo\nundo\nundo\nundo\n");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Ok({"get", trk, "section 0/altitude 1", "A3"}), "3\n");
  EXPECT_EQ(Ok({"get", trk, "section 0/altitude 1", "B2"}), "2\n");
  const std::string read = RunCommand({"tree", trk}).err;  // the reader reports the sums it repairs
  EXPECT_NE(read.find("The track's Length 5 is not the sum"), std::string::npos) << read;
  EXPECT_NE(read.find("Section 0: Start 7 is not the sum"), std::string::npos) << read;
  EXPECT_EQ(Ok({"get", file_, "section 0/altitude 1", "A3"}), "0\n");
}

TEST_F(Batch, WritesTheDocumentBackInItsOwnFormatOrWhereOSays) {
  const std::string json = (dir_ / "t.json").string(), trk = (dir_ / "out.trk").string();
  Ok({"convert", file_, json});
  Result r = RunCommand({"batch", json}, "set 'section 0' Length 1234\n");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Bytes(json)[0], '{');
  EXPECT_EQ(Ok({"get", json, "section 0", "Length"}), "1234\n");
  // -o is written even when nothing changed; the input stays as it was.
  const std::string before = Bytes(json);
  r = RunCommand({"batch", json, "-o", trk}, "get track Length\n");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Bytes(trk).substr(0, 4), "KART");
  EXPECT_EQ(Bytes(json), before);
}

#ifdef MERIDAL_CLI_RENDER
// What one picture selects is not selected in the next.
TEST_F(Batch, RendersEachPictureWithOnlyItsOwnSelection) {
  const std::string a = (dir_ / "a.png").string(), b = (dir_ / "b.png").string();
  const Result r = Run("render '" + a + "' --select 'section 0/wall 0' --view-flags 0\nrender '" + b +
                       "' --view-flags 0\n");
  ASSERT_EQ(r.code, 0) << r.err;
  auto selected = [](const std::string& png) {
    const QImage image(QString::fromStdString(png));
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == 0xFF7F00;
    return n;
  };
  EXPECT_GT(selected(a), 50);
  EXPECT_EQ(selected(b), 0);
}
#endif

}  // namespace
}  // namespace meridal
