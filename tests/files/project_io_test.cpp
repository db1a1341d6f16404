// Opening, saving and exporting through paths: what reaches the disk, and what a
// failure leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "file_test_support.h"
#include "files/project/project_io.h"
#include "support/file_size_limit.h"
#include "support/recording_messages.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessages;

class ProjectIo : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::path(MERIDAL_TEST_TMPDIR) / "files" / info->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  static std::vector<uint8_t> Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  static void Put(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  // The names in the folder: a failed save leaves no temporary file.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  TFiller filler_{77};
  RecordingMessages messages_;
};

TEST_F(ProjectIo, SaveThenOpenGivesTheTrackBack) {
  auto track = testing::MixedTrack();
  const std::string path = PathOf("track.mrd");
  ASSERT_EQ(SaveProjectFile(path, *track, filler_, messages_), FileStatus::Ok);
  EXPECT_EQ(Names(), std::vector<std::string>{"track.mrd"});
  EXPECT_EQ(fs::file_size(path), 168u + 32 * 8 + 64 * 6 + 64 * 4);

  TTrack opened;
  ASSERT_EQ(LoadProjectFile(path, opened, messages_), FileStatus::Ok);
  TTrack fromMemory;
  ASSERT_TRUE(ReadProjectImage(Contents(path), fromMemory, messages_));
  testing::ExpectSameTrack(opened, fromMemory);
  EXPECT_EQ(opened.Section(3)->Wall(1)->Unk2, track->Section(3)->Wall(1)->Unk2);

  // Saving again replaces the file with fresh fillers and keeps its permissions.
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const auto first = Contents(path);
  ASSERT_EQ(SaveProjectFile(path, *track, filler_, messages_), FileStatus::Ok);
  EXPECT_NE(Contents(path), first);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(ProjectIo, OpenTellsCannotOpenFromAFailedRead) {
  TTrack track;
  EXPECT_EQ(LoadProjectFile(PathOf("missing.mrd"), track, messages_), FileStatus::CannotOpen);
  EXPECT_TRUE(messages_.Empty());

  EXPECT_EQ(LoadProjectFile(dir_.string(), track, messages_), FileStatus::Failed);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.Last().text, "Track: Error reading file!\n" + dir_.string() + ": Is a directory");

  Put(PathOf("text.mrd"), {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(LoadProjectFile(PathOf("text.mrd"), track, messages_), FileStatus::Failed);
  EXPECT_EQ(messages_.Last().text,
            "Track: Error reading file!\ntext.mrd: the file ends inside its header: it holds 5 bytes, the header "
            "takes 40");
  EXPECT_EQ(track.NumberOfSections(), 0);
  EXPECT_TRUE(track.Traces.empty());
}

TEST_F(ProjectIo, ATargetThatIsAFolderOrInAMissingFolderCannotBeOpened) {
  auto track = testing::DefaultTrack();
  fs::create_directory(PathOf("folder.mrd"));
  EXPECT_EQ(SaveProjectFile(PathOf("folder.mrd"), *track, filler_, messages_), FileStatus::CannotOpen);
  EXPECT_EQ(ExportTrackFile(PathOf("folder.mrd"), *track, messages_), FileStatus::CannotOpen);
  EXPECT_TRUE(fs::is_directory(PathOf("folder.mrd")));
  EXPECT_EQ(SaveProjectFile(PathOf("nowhere/track.mrd"), *track, filler_, messages_), FileStatus::CannotOpen);
  EXPECT_TRUE(messages_.Empty());  // the shell says "Unable to open file!"
  EXPECT_EQ(Names(), std::vector<std::string>{"folder.mrd"});
}

TEST_F(ProjectIo, AFailedWriteLeavesThePreviousFileIntact) {
  auto track = testing::MixedTrack();
  const std::string path = PathOf("track.mrd");
  const std::string exported = PathOf("track.trk");
  Put(path, {'o', 'l', 'd'});
  Put(exported, {'o', 'l', 'd', '!'});

  // A file size limit makes every write past 100 bytes fail, as a full disk does.
  std::optional<testing::FileSizeLimit> limit(std::in_place, 100);
  ASSERT_TRUE(limit->Set());
  const FileOutcome saved = SaveProjectFile(path, *track, filler_, messages_);
  const FileOutcome exportedStatus = ExportTrackFile(exported, *track, messages_);
  limit.reset();

  EXPECT_EQ(saved, FileStatus::Failed);
  EXPECT_EQ(exportedStatus, FileStatus::Failed);
  EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{"Track: Error writing file!\n" + path + ": File too large",
                                                         "Track: Error writing file!\n" + exported + ": File too large"}));
  EXPECT_EQ(messages_.Last().title, "Error");
  EXPECT_EQ(Contents(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(Contents(exported), (std::vector<uint8_t>{'o', 'l', 'd', '!'}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"track.mrd", "track.trk"}));
}

TEST_F(ProjectIo, AReadOnlyFolderOrFileIsNotWritten) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  auto track = testing::DefaultTrack();
  const std::string path = PathOf("track.mrd");
  Put(path, {'o', 'l', 'd'});
  fs::permissions(path, fs::perms::owner_read);
  EXPECT_EQ(SaveProjectFile(path, *track, filler_, messages_), FileStatus::CannotOpen);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Contents(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
  // A folder that takes no new file: the writable file is written in place.
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  const FileOutcome inPlace = SaveProjectFile(path, *track, filler_, messages_);
  EXPECT_EQ(inPlace, FileStatus::Ok);
  EXPECT_TRUE(inPlace.inPlace);
  EXPECT_EQ(fs::file_size(path), 424u);
  EXPECT_EQ(Names(), std::vector<std::string>{"track.mrd"});
}

TEST_F(ProjectIo, SavingThroughALinkReplacesTheFileItNames) {
  auto track = testing::DefaultTrack();
  const std::string real = PathOf("real.mrd"), link = PathOf("link.mrd");
  Put(real, {'o', 'l', 'd'});
  fs::create_symlink(real, link);
  ASSERT_EQ(SaveProjectFile(link, *track, filler_, messages_), FileStatus::Ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::file_size(real), 424u);
}

TEST_F(ProjectIo, ExportWritesTheImage) {
  auto track = testing::MixedTrack();
  const std::string path = PathOf("track.trk");
  Put(path, std::vector<uint8_t>(5000, 1));  // longer than the export: nothing of it may stay
  ASSERT_EQ(ExportTrackFile(path, *track, messages_), FileStatus::Ok);
  EXPECT_EQ(Contents(path), ExportTrackImage(*track, messages_).value());
}

}  // namespace
}  // namespace meridal
