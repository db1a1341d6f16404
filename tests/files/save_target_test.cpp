// Where a save writes: through a link to its target, even a missing one; with the
// old file's owner, group and permissions; and in place only with a copy kept.
// (Pipes and devices: the command line's tests.)
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "files/track_formats.h"
#include "format_test_support.h"
#include "support/failing_calls.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessages;

class SaveTarget : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(MERIDAL_TEST_TMPDIR) / "save-target" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    track_ = testing::DefaultTrack();
  }
  void TearDown() override { fs::remove_all(dir_); }

  FileOutcome Save(const fs::path& path, IFileCalls& calls = SystemFileCalls(), bool inPlace = false) {
    TFiller filler(1);
    ReplaceOptions options;
    options.inPlaceAllowed = inPlace;
    return SaveTrackFile(path.string(), TrackFormat::Json, *track_, filler, messages_, calls, options);
  }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Json() const { return testing::JsonOf(*track_); }

  fs::path dir_;
  std::unique_ptr<TTrack> track_;
  RecordingMessages messages_;
};

TEST_F(SaveTarget, ALinkLeadsToItsTargetMissingOrNotAndAHardLinkKeepsTheOldFile) {
  fs::create_directories(dir_ / "tracks");
  fs::create_symlink("tracks/circuit.json", dir_ / "dangling.json");
  ASSERT_EQ(Save(dir_ / "dangling.json").status, FileStatus::Ok);
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.json"));
  EXPECT_EQ(Contents(dir_ / "tracks" / "circuit.json"), Json());

  std::ofstream(dir_ / "a.json") << "old";
  fs::create_hard_link(dir_ / "a.json", dir_ / "b.json");
  ASSERT_EQ(Save(dir_ / "a.json").status, FileStatus::Ok);
  EXPECT_EQ(Contents(dir_ / "a.json"), Json());
  EXPECT_EQ(Contents(dir_ / "b.json"), "old");  // a file of its own now
}

TEST_F(SaveTarget, TheOwnerGroupAndPermissionsAreKeptWhereTheProcessMay) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser may give a file away";
  const fs::path path = dir_ / "circuit.json";
  std::ofstream(path) << "old";
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);  // nobody:nogroup
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(Save(path).status, FileStatus::Ok);
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_TRUE(messages_.Empty());

  // Another user keeps the group where he belongs to it, and is told what he
  // could not keep.
  testing::FailingCalls calls;
  calls.ownerRefused = true;
  ASSERT_EQ(Save(path, calls).status, FileStatus::Ok);
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(st.st_gid, 65534u);
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  calls.groupRefused = true;
  ASSERT_EQ(Save(path, calls).status, FileStatus::Ok);
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[0].text, "circuit.json now belongs to root: its owner nobody could not be kept");
  EXPECT_EQ(messages_.shown[1].text,
            "circuit.json now belongs to root: its owner nobody and its group nogroup could not be kept");
  EXPECT_EQ(messages_.shown[1].icon, MessageIcon::Warning);
}

// Where no copy of the old file can be kept, it is not written in place at all.
TEST_F(SaveTarget, InPlaceOnlyWithACopyKept) {
  const fs::path path = dir_ / "circuit.json";
  std::ofstream(path) << "old";
  testing::FailingCalls calls;
  calls.folderRefuses = true;
  setenv("XDG_CACHE_HOME", (path / "cache").c_str(), 1);  // beneath a file
  const FileOutcome outcome = Save(path, calls, true);
  EXPECT_EQ(outcome.status, FileStatus::CannotOpen);
  EXPECT_EQ(outcome.reason, "no copy of circuit.json could be kept in " + (path / "cache" / "meridal").string() +
                                " before writing it in place: Not a directory");
  EXPECT_EQ(Contents(path), "old");
}

}  // namespace
}  // namespace meridal
