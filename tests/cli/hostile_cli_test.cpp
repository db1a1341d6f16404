// meridal-cli against hostile files and the other programs on the machine: no
// control byte of a file reaches the terminal, no pipe or device is replaced,
// nothing is torn in place unless asked, two commands on one file keep each
// other's change, and a batch refuses to save a value where it would be lost.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "cli/cli_fixture.h"
#include "cli/output_buffer.h"
#include "files/safety/file_lock.h"
#include "support/file_size_limit.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;
using cli_test::Bytes;
using cli_test::Result;
using cli_test::RunCommand;

class HostileCli : public cli_test::Cli {
 protected:
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
};

TEST_F(HostileCli, NoControlByteOfAFileReachesTheTerminal) {
  const std::string json = Path("t.json");
  Ok({"convert", file_, json});
  std::string text = Bytes(json);
  text.replace(text.find("\"version\""), 9, "\"\\u001b]0;owned\\u0007\\u0000\\u001b[2J\": 1, \"version\"");
  Write(json, text);
  const Result r = RunCommand({"tree", json});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "JSON file, line 3: unknown key \"\\x1b]0;owned\\x07\\x00\\x1b[2J\" at the top\n");
  EXPECT_TRUE(std::none_of(r.err.begin(), r.err.end(), [](char c) { return c != '\n' && static_cast<uint8_t>(c) < 0x20; }));
}

// A file name, or a word of the command line, holding a terminal's escape
// sequences and a newline is echoed escaped by every message.
TEST_F(HostileCli, NoControlByteOfANameReachesTheTerminal) {
  const std::string name = "a\x1b]0;owned\x07\nb\x1b[2J";
  const std::string at = dir_.string() + "/" + name, shown = dir_.string() + "/a\\x1b]0;owned\\x07\\x0ab\\x1b[2J";
  const auto clean = [](const Result& r) {
    return std::none_of(r.err.begin(), r.err.end(), [](char c) { return c != '\n' && static_cast<uint8_t>(c) < 0x20; });
  };
  Result r = RunCommand({"tree", at + ".mrd"});
  EXPECT_EQ(r.err, "Unable to open " + shown + ".mrd !\n" + shown + ".mrd: No such file or directory\n");
  r = RunCommand({"fit", at + ".csv", Path("o.mrd")});
  EXPECT_EQ(r.err, shown + ".csv: the file cannot be read\n");
  Write(at + ".mrd", "MRDL and nothing more");
  r = RunCommand({"tree", at + ".mrd"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("a\\x1b]0;owned\\x07\\x0ab\\x1b[2J.mrd"), std::string::npos) << r.err;
  EXPECT_TRUE(clean(r)) << r.err;
  ASSERT_EQ(mkfifo((at + ".json").c_str(), 0644), 0);
  r = RunCommand({"convert", file_, at + ".json"});
  EXPECT_EQ(r.err, "Unable to open file!\n" + shown + ".json: a named pipe, not a regular file\n");
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"props", file_, name}, {"get", file_, "track", name}, {name}}) {
    r = RunCommand(words);
    EXPECT_EQ(r.err.find(name), std::string::npos);
    EXPECT_NE(r.err.find("a\\x1b]0;owned\\x07\\x0ab\\x1b[2J"), std::string::npos) << r.err;
    EXPECT_TRUE(clean(r)) << r.err;
  }
}

TEST_F(HostileCli, APipeOrADeviceIsNotReplacedAndStandardOutputStaysDash) {
  const std::string fifo = Path("T"), device = Path("D");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  Result r = RunCommand({"convert", file_, fifo, "--to", "json"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Unable to open file!\n" + fifo + ": a named pipe, not a regular file\n");
  EXPECT_TRUE(fs::is_fifo(fifo));
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    r = RunCommand({"convert", file_, device, "--to", "json"});
    EXPECT_EQ(r.err, "Unable to open file!\n" + device + ": a character device, not a regular file\n");
    EXPECT_TRUE(fs::is_character_file(device));
  }
  r = RunCommand({"convert", file_, "-", "--to", "json"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.substr(0, 1), "{");
}

// Standard output on a full disk: every command that prints fails with the
// system's reason, and a batch saves nothing after its output was lost.
TEST_F(HostileCli, OutputThatCannotBeWrittenIsAFailure) {
  const std::vector<std::vector<std::string>> printing = {
      {"tree", file_}, {"props", file_}, {"get", file_, "section 0", "Length"}, {"profile", file_},
      {"copy", file_, "section 0"}, {"check", file_}, {"convert", file_, "-", "--to", "json"}, {"--help"}, {"--version"}};
  const auto onFullDisk = [](const std::vector<std::string>& args, const std::string& input = std::string()) {
    const int fd = open("/dev/full", O_WRONLY | O_CLOEXEC);
    OutputBuffer buffer(fd);
    std::ostream out(&buffer);
    std::ostringstream err;
    std::istringstream in(input);
    const int code = RunCli(args, CliIo{out, err, &in});
    buffer.Close();
    return Result{code, std::string(), err.str()};
  };
  const std::string reason = "write error: No space left on device\n";
  for (const auto& args : printing) {
    const Result r = onFullDisk(args);
    EXPECT_EQ(r.code, 1) << args[0];
    // After what the command itself says on stderr (check: the problems found).
    EXPECT_TRUE(r.err.ends_with(reason)) << args[0] << ": " << r.err;
  }
  const std::string before = Bytes(file_);
  const Result r = onFullDisk({"batch", file_}, "tree\nset 'section 0' Length 5000\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "write error: No space left on device\n");
  EXPECT_EQ(Bytes(file_), before);
}

#ifdef MERIDAL_CLI_RENDER
// A picture that the disk has no room for leaves the old one whole.
TEST_F(HostileCli, ARenderThatCannotBeWrittenLeavesTheOldPicture) {
  const std::string png = Path("t.png");
  Ok({"render", file_, png, "--size", "40x30"});
  const std::string before = Bytes(png);
  // Files of this process may not grow beyond 4 KB: a write beyond fails as on a full disk.
  std::optional<testing::FileSizeLimit> limit(std::in_place, 4096);
  ASSERT_TRUE(limit->Set());
  const Result r = RunCommand({"render", file_, png, "--size", "2000x2000"});
  limit.reset();
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "Image: Error writing file!");
  EXPECT_NE(r.err.find(": File too large\n"), std::string::npos) << r.err;
  EXPECT_EQ(Bytes(png), before);
  for (const auto& entry : fs::directory_iterator(dir_)) EXPECT_NE(entry.path().extension(), ".tmp");
}
#endif

// A folder the user may not write, holding a file he may: the command refuses
// to write it in place unless told to. Run as another user, since the superuser
// may write every folder.
TEST_F(HostileCli, AFileIsWrittenInPlaceOnlyWithInPlace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs to become another user";
  const fs::path folder = dir_ / "shared", cache = dir_ / "cache";
  fs::create_directories(folder);
  fs::create_directories(cache);
  fs::permissions(folder, fs::perms(0755));
  fs::permissions(cache, fs::perms(0777));
  fs::permissions(dir_, fs::perms(0755));
  const std::string file = (folder / "circuit.mrd").string();
  fs::copy_file(file_, file);
  fs::permissions(file, fs::perms(0666));
  // The command as user nobody, in a child process; its exit code and stderr.
  const auto runAsNobody = [&](std::vector<std::string> args) {
    const fs::path said = cache / "said";
    const pid_t child = fork();
    if (child == 0) {
      if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
      setenv("XDG_CACHE_HOME", cache.c_str(), 1);
      const Result r = RunCommand(args);
      std::ofstream(said) << r.err;
      _exit(r.code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return Result{WEXITSTATUS(status), std::string(), Bytes(said)};
  };
  const std::string before = Bytes(file);
  Result r = runAsNobody({"set", file, "section 0", "Length", "5000"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "The folder does not allow a safe save. circuit.mrd was not overwritten in place: if the save were "
            "interrupted the file would be lost (--in-place writes it all the same, keeping a copy until it is "
            "done).\n" + folder.string() + ": Permission denied\n");
  EXPECT_EQ(Bytes(file), before);
  r = runAsNobody({"set", file, "section 0", "Length", "5000", "--in-place"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Ok({"get", file, "section 0", "Length"}), "5000\n");
  EXPECT_TRUE(fs::is_empty(cache / "meridal"));
}

// Two commands on different sections of one file, started together a hundred
// times: each waits for the other's lock, and neither change is lost.
TEST_F(HostileCli, TwoCommandsOnOneFileKeepEachOthersChange) {
  Ok({"edit", file_, "section 0", "add-after"});
  int lost = 0, failed = 0;
  constexpr int kRounds = 100;
  for (int round = 0; round < kRounds; ++round) {
    const std::string lengths[2] = {std::to_string(100000 + round), std::to_string(200000 + round)};
    pid_t children[2];
    for (int s = 0; s < 2; ++s) {
      children[s] = fork();
      ASSERT_GE(children[s], 0);
      if (children[s] == 0)
        _exit(RunCommand({"set", file_, "section " + std::to_string(s), "Length", lengths[s]}).code);
    }
    for (pid_t child : children) {
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      failed += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    for (int s = 0; s < 2; ++s)
      lost += Ok({"get", file_, "section " + std::to_string(s), "Length"}) != lengths[s] + "\n";
  }
  std::printf("%d rounds of two concurrent sets: %d lost updates, %d refused\n", kRounds, lost, failed);
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(failed, 0);

  // A file held all the time by another program is refused after a few seconds.
  FileLock held;
  ASSERT_EQ(held.Acquire(file_), FileLock::Status::Locked);
  Refused({"set", file_, "section 0", "Length", "7"}, "t.mrd is being changed by another program");
}

TEST_F(HostileCli, ABatchRefusesToSaveAValueWhereItWouldBeLost) {
  const std::string before = Bytes(file_);
  const std::string lost =
      "Altitude 1 in Section 0: A3 is not kept in the project file; it is 3 \u00d7 3rd order coeff. when the file "
      "is read\n";
  Result r = RunCommand({"batch", file_}, "set 'section 0/altitude 1' A3 5\nsave\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "line 2: " + lost);
  r = RunCommand({"batch", file_}, "set 'section 0/altitude 1' A3 5\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, lost);
  EXPECT_EQ(Bytes(file_), before);

  // The JSON text keeps A3 and B2 but not a Length; the track file keeps all.
  const std::string json = Path("t.json"), trk = Path("t.trk");
  r = RunCommand({"batch", file_}, "set 'section 0/altitude 1' A3 5\nsave '" + json + "'\nsave '" + trk + "'\nundo\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Ok({"get", json, "section 0/altitude 1", "A3"}), "5\n");
  r = RunCommand({"batch", file_}, "set track Length 5\nsave '" + json + "'\nsave '" + trk + "'\nundo\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "line 2: Track: Length is not kept in the JSON text; it is the sum of the section lengths when the file "
            "is read\n");
  EXPECT_EQ(Bytes(file_), before);
}

}  // namespace
}  // namespace meridal
