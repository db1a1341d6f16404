// Saving through every way the system can fail: each call of the safe save made
// to fail in turn, through the editor's shell and the files on disk. Whatever
// fails, the previous file stays byte for byte, no temporary file is left, the
// message names the failure and its cause, and the changes stay unsaved.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "files/safety/file_calls.h"
#include "model/track.h"
#include "document/document.h"
#include "shell/document_shell.h"
#include "shell/shell_doubles.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;

enum class Call { None, Open, Write, Fsync, Close, Rename, Fchmod };

// The real calls, except that the `nth` call of one kind (counted from 1; 0: every
// one) fails with `error`. A write may first put down all but its last byte, as a
// disk that fills up at the last byte does. A folder that refuses new files
// refuses the first file opened, the temporary one, before anything else fails.
class FailingCalls : public IFileCalls {
 public:
  Call failing = Call::None;
  int nth = 1;
  int error = 0;
  bool lastByte = false;
  bool folderRefuses = false;

  int Open(const char* path, int flags, mode_t mode) override {
    if (folderRefuses && opens_++ == 0) return Fail<int>(EACCES);
    return Fails(Call::Open) ? Fail<int>(error) : real_.Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, size_t n) override {
    if (lastByte && failing == Call::Write && n > 1) return real_.Write(fd, data, n - 1);
    return Fails(Call::Write) ? Fail<ssize_t>(error) : real_.Write(fd, data, n);
  }
  int Fsync(int fd) override { return Fails(Call::Fsync) ? Fail<int>(error) : real_.Fsync(fd); }
  int Fchmod(int fd, mode_t mode) override { return Fails(Call::Fchmod) ? Fail<int>(error) : real_.Fchmod(fd, mode); }
  int Ftruncate(int fd, off_t length) override { return real_.Ftruncate(fd, length); }
  int Close(int fd) override {
    if (!Fails(Call::Close)) return real_.Close(fd);
    real_.Close(fd);  // closed all the same, as close(2) does when it reports an error
    return Fail<int>(error);
  }
  int Rename(const char* from, const char* to) override {
    return Fails(Call::Rename) ? Fail<int>(error) : real_.Rename(from, to);
  }
  int Unlink(const char* path) override { return real_.Unlink(path); }
  int Stat(const char* path, struct stat* st) override { return real_.Stat(path, st); }
  int Access(const char* path, int mode) override { return real_.Access(path, mode); }

 private:
  bool Fails(Call call) {
    if (call != failing) return false;
    ++seen_;
    return nth == 0 || seen_ == nth;
  }
  template <typename T>
  static T Fail(int e) {
    errno = e;
    return T(-1);
  }
  IFileCalls& real_ = SystemFileCalls();
  int seen_ = 0, opens_ = 0;
};

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
const char kOpenError[] = "Unable to open file!";

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
  }
  void TearDown() override { fs::remove_all(dir_); }

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

  fs::path dir_;
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
    session.shell.FileSave();
    // The error, then the offer of another name (answered No).
    ASSERT_EQ(session.messages.shown.size(), 2u);
    EXPECT_EQ(session.messages.shown[1].text, "Save circuit.mrd under another name ?");
    EXPECT_EQ(session.messages.shown[0].title, "Error");
    EXPECT_EQ(session.messages.shown[0].text,
              std::string(point.message) + "\n" + path_ + ": " + std::strerror(point.error));
    EXPECT_TRUE(session.shell.Modified());
    EXPECT_TRUE(session.windows.saveEnabled);
    EXPECT_TRUE(session.windows.titleModified);
    EXPECT_TRUE(session.windows.statusTexts.empty());
    EXPECT_EQ(Contents(path_), old);  // in place: written back after the failure
    EXPECT_EQ(Names(), std::vector<std::string>{"circuit.mrd"});
  }
}

// A folder that takes no new file, with a target that may be written: the target
// is written in place, and the status bar says so.
TEST_F(SafeSave, AFolderThatRefusesTheTemporaryFileGetsTheTargetWrittenInPlace) {
  SaveNewTrack();
  FailingCalls calls;
  calls.folderRefuses = true;
  Session session(calls);
  session.OpenAndChange(path_);
  session.shell.FileSave();
  EXPECT_TRUE(session.messages.shown.empty());
  EXPECT_FALSE(session.shell.Modified());
  EXPECT_EQ(session.windows.statusTexts,
            std::vector<std::string>{"Saved circuit.mrd in place (its folder takes no temporary file)"});
  EXPECT_EQ(Names(), std::vector<std::string>{"circuit.mrd"});
  Session reader(SystemFileCalls());
  ASSERT_TRUE(reader.shell.OpenPath(path_));
  EXPECT_EQ(reader.shell.Track()->Traces[1], 150000);
}

}  // namespace
}  // namespace meridal
