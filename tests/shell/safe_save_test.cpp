// Saving through every way the system can fail: each call of the safe save made
// to fail in turn, through the editor's shell and the files on disk. Whatever
// fails, the previous file stays byte for byte, no temporary file is left, the
// message names the failure and its cause, and the changes stay unsaved.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "model/track.h"
#include "document/document.h"
#include "shell/document_shell.h"
#include "shell/save_guard.h"
#include "shell/shell_doubles.h"
#include "support/failing_calls.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;

using testing::Call;
using testing::FailingCalls;

struct FailurePoint {
  const char* name;
  Call call;
  int nth;
  int error;
  bool lastByte;
  bool folderRefuses;
  const char* message;  // the first line; the system's reason follows beneath it
};

const char kWriteError[] = "Track: Error writing file!";
const char kOpenError[] = "Unable to write";  // a save that cannot open or make its file

const FailurePoint kFailurePoints[] = {
    {"disk full at the first byte", Call::Write, 1, ENOSPC, false, false, kWriteError},
    {"disk full at the last byte", Call::Write, 1, ENOSPC, true, false, kWriteError},
    {"EIO on fsync", Call::Fsync, 1, EIO, false, false, kWriteError},
    {"EIO on close", Call::Close, 1, EIO, false, false, kWriteError},
    {"EPERM keeping the permissions", Call::Fchmod, 1, EPERM, false, false, kWriteError},
    {"EIO on rename", Call::Rename, 1, EIO, false, false, kWriteError},
    {"target replaced by a folder", Call::Rename, 1, EISDIR, false, false, kWriteError},
    {"EROFS: no temporary file", Call::Open, 1, EROFS, false, false, kOpenError},
    {"EACCES: neither temporary file nor target", Call::Open, 0, EACCES, false, false, kOpenError},
    {"folder refuses, disk full at the first byte in place", Call::Write, 1, ENOSPC, false, true, kWriteError},
    {"folder refuses, disk full at the last byte in place", Call::Write, 1, ENOSPC, true, true, kWriteError},
    {"folder refuses, EIO on fsync in place", Call::Fsync, 1, EIO, false, true, kWriteError},
};

class SafeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(MERIDAL_TEST_TMPDIR) / "safe-save" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "circuit.mrd").string();
    // A save in place keeps its copy of the old file here while it writes.
    cache_ = fs::path(MERIDAL_TEST_TMPDIR) / "safe-save-cache" / dir_.filename();
    fs::remove_all(cache_);
    setenv("XDG_CACHE_HOME", cache_.c_str(), 1);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    fs::remove_all(cache_);
  }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    return names;
  }

  // A new track saved as circuit.mrd with the real calls: the previous file.
  void SaveNewTrack();

  fs::path dir_, cache_;
  std::string path_;
};

// The editor's shell over the files on disk, reached through `calls`.
struct Session {
  explicit Session(IFileCalls& calls) : files(MakeDiskFiles(calls)) {}
  // Opens `path` and changes the document.
  void OpenAndChange(const std::string& path) {
    ASSERT_TRUE(shell.OpenPath(path));
    ASSERT_EQ(shell.Document()->SetValue(TObjectPath::Track(), "Trace 1", 150000), history::Outcome::Changed);
  }
  testing::RecordingWindows windows;
  testing::ScriptedMessages messages;
  testing::ScriptedFileDialogs dialogs;
  std::unique_ptr<IDocumentFiles> files;
  TDocumentShell shell{windows, messages, dialogs, *files};
};

void SafeSave::SaveNewTrack() {
  Session writer(SystemFileCalls());
  writer.shell.FileNew();
  writer.shell.MarkModified();
  writer.dialogs.answers = {path_};
  writer.shell.FileSaveAs();
  ASSERT_FALSE(writer.shell.Modified());
}

TEST_F(SafeSave, EveryFailurePointLeavesThePreviousFileAndTheChanges) {
  SaveNewTrack();
  const std::string old = Contents(path_);
  ASSERT_EQ(old.substr(0, 4), "MRDL");

  for (const FailurePoint& point : kFailurePoints) {
    SCOPED_TRACE(point.name);
    FailingCalls calls;
    calls.failing = point.call;
    calls.nth = point.nth;
    calls.error = point.error;
    calls.lastByte = point.lastByte;
    calls.folderRefuses = point.folderRefuses;
    Session session(calls);
    session.OpenAndChange(path_);
    // Where the folder takes no temporary file the user is asked first, and lets
    // the file be written in place.
    const bool asked = point.folderRefuses || (point.call == Call::Open && point.error == EACCES);
    if (asked) session.messages.answers = {MessageAnswer::Overwrite};
    session.shell.FileSave();
    // The error, then the offer of another name (answered No).
    ASSERT_EQ(session.messages.shown.size(), asked ? 3u : 2u);
    if (asked) {
      EXPECT_EQ(session.messages.shown[0].text, InPlaceQuestionText(path_));
    }
    EXPECT_EQ(session.messages.shown.back().text, "Save circuit.mrd under another name ?");
    const auto& error = session.messages.shown[session.messages.shown.size() - 2];
    EXPECT_EQ(error.title, "Error");
    EXPECT_EQ(error.text,
              std::string(point.message) + "\n" + path_ + ": " + std::strerror(point.error));
    EXPECT_TRUE(session.shell.Modified());
    EXPECT_TRUE(session.windows.saveEnabled);
    EXPECT_TRUE(session.windows.titleModified);
    EXPECT_TRUE(session.windows.statusTexts.empty());
    EXPECT_EQ(Contents(path_), old);  // in place: written back after the failure
    EXPECT_EQ(Names(), std::vector<std::string>{"circuit.mrd"});
    EXPECT_TRUE(!fs::exists(cache_ / "meridal") || fs::is_empty(cache_ / "meridal"));  // the copy went with the failure
  }
}

// A folder that takes no new file, with a target that may be written: asked
// first, the user may have the target written in place, and the status bar says
// so. (Cancel and Save As... answer as to a file changed elsewhere, below.)
TEST_F(SafeSave, AFolderThatRefusesTheTemporaryFileGetsTheTargetWrittenInPlaceWhenTheUserSaysSo) {
  SaveNewTrack();
  FailingCalls calls;
  calls.folderRefuses = true;
  Session session(calls);
  session.OpenAndChange(path_);
  session.messages.answers = {MessageAnswer::Overwrite};
  session.shell.FileSave();
  ASSERT_EQ(session.messages.shown.size(), 1u);
  EXPECT_EQ(session.messages.shown[0].text,
            "The folder does not allow a safe save. Overwrite circuit.mrd in place? If the save is interrupted the "
            "file will be lost.");
  EXPECT_FALSE(session.shell.Modified());
  EXPECT_EQ(session.windows.statusTexts,
            std::vector<std::string>{"Saved circuit.mrd in place (its folder takes no temporary file)"});
  EXPECT_EQ(Names(), std::vector<std::string>{"circuit.mrd"});
  Session reader(SystemFileCalls());
  ASSERT_TRUE(reader.shell.OpenPath(path_));
  EXPECT_EQ(reader.shell.Track()->Traces[1], 150000);
}

// Another program rewrites the file after the editor opened it: Save asks first,
// and only a change of the bytes counts.
TEST_F(SafeSave, AFileChangedElsewhereIsOverwrittenOnlyWhenTheUserSaysSo) {
  SaveNewTrack();
  Session session(SystemFileCalls());
  session.OpenAndChange(path_);
  Session other(SystemFileCalls());
  ASSERT_TRUE(other.shell.OpenPath(path_));
  other.shell.Document()->SetValue(TObjectPath::Track(), "Trace 1", 170000);
  other.shell.FileSave();
  const std::string theirs = Contents(path_);
  for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::SaveAs, MessageAnswer::Overwrite}) {
    session.messages.answers = {answer};
    session.messages.shown.clear();
    session.shell.FileSave();
    ASSERT_EQ(session.messages.shown.size(), 1u);
    EXPECT_EQ(session.messages.shown[0].text, "circuit.mrd was changed by another program since you opened it.");
    EXPECT_EQ(session.messages.shown[0].buttons, MessageButtons::OverwriteSaveAsCancel);
    EXPECT_EQ(session.shell.Modified(), answer != MessageAnswer::Overwrite);
    EXPECT_EQ(Contents(path_) == theirs, answer != MessageAnswer::Overwrite);
  }
  EXPECT_EQ(session.dialogs.asked.size(), 1u);  // Save As asked for a name, and was cancelled
  // What was saved is what the next save compares with; a new time alone is no change.
  ASSERT_EQ(session.shell.Document()->SetValue(TObjectPath::Track(), "Trace 1", 160000), history::Outcome::Changed);
  const struct timespec now[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
  ASSERT_EQ(utimensat(AT_FDCWD, path_.c_str(), now, 0), 0);
  session.messages.shown.clear();
  session.shell.FileSave();
  EXPECT_TRUE(session.messages.shown.empty());
  EXPECT_FALSE(session.shell.Modified());
}

}  // namespace
}  // namespace meridal
