// Saving over a file another program changed since the editor opened it: the
// user is asked first (Overwrite, Save As..., Cancel), and only a change of the
// bytes counts.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "files/track_formats.h"
#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/save_guard.h"
#include "shell/shell_doubles.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;

class SaveGuard : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(MERIDAL_TEST_TMPDIR) / "save-guard";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "circuit.json").string();
    WriteElsewhere(100000);
    ASSERT_TRUE(shell_.OpenPath(path_));
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Another program writes the file, with trace 1 at `trace`.
  void WriteElsewhere(int32_t trace) {
    TTrack track;
    track.SetDefaults();
    track.Traces[1] = trace;
    testing::ScriptedMessages quiet;
    TFiller filler(1);
    ASSERT_EQ(SaveTrackFile(path_, TrackFormat::Json, track, filler, quiet).status, FileStatus::Ok);
  }
  int32_t TraceOnDisk() {
    testing::ScriptedMessages quiet;
    TTrack track;
    EXPECT_EQ(LoadTrackFile(path_, std::nullopt, track, quiet).status, FileStatus::Ok);
    return track.Traces[1];
  }
  void Change(int32_t trace) {
    ASSERT_EQ(shell_.Change([&](history::TEditor& e) { return e.SetValue(*shell_.Track, "Trace 1", trace); }),
              history::Outcome::Changed);
  }

  fs::path dir_;
  std::string path_;
  std::unique_ptr<IDocumentFiles> files_ = MakeDiskFiles();
  testing::RecordingWindows windows_;
  testing::ScriptedMessages messages_;
  testing::ScriptedFileDialogs dialogs_;
  TDocumentShell shell_{windows_, messages_, dialogs_, *files_};
};

TEST_F(SaveGuard, AFileChangedElsewhereIsOverwrittenOnlyWhenTheUserSaysSo) {
  Change(150000);
  WriteElsewhere(120000);
  for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::SaveAs}) {
    messages_.answers = {answer};
    shell_.FileSave();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "circuit.json was changed by another program since you opened it.");
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::OverwriteSaveAsCancel);
    EXPECT_EQ(dialogs_.asked.size(), answer == MessageAnswer::SaveAs ? 1u : 0u);  // and cancelled there
    EXPECT_TRUE(shell_.Modified);
    EXPECT_EQ(TraceOnDisk(), 120000);
    messages_.shown.clear();
  }
  messages_.answers = {MessageAnswer::Overwrite};
  shell_.FileSave();
  EXPECT_FALSE(shell_.Modified);
  EXPECT_EQ(TraceOnDisk(), 150000);

  // What was saved is what the next save compares with; a file given a new time
  // but the same bytes is no change.
  Change(160000);
  struct timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
  ASSERT_EQ(utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
  messages_.shown.clear();
  shell_.FileSave();
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(TraceOnDisk(), 160000);
}

}  // namespace
}  // namespace meridal
