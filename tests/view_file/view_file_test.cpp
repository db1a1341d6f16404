// The plan's side file: where it lies, its round trip, what it makes of damage.
#include "view_file/view_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

namespace meridal {
namespace {

namespace fs = std::filesystem;

struct ViewFileTest : ::testing::Test {
  void SetUp() override {
    folder = fs::path(MERIDAL_TEST_TMPDIR) / "view_file";
    fs::remove_all(folder);
    fs::create_directories(folder / "photos");
    track = (folder / "my circuit.mrd").string();
  }
  std::string Text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void Write(const std::string& text) { std::ofstream(ViewFilePath(track)) << text; }
  fs::path folder;
  std::string track;
};

TEST_F(ViewFileTest, BesideTheTrackAndRoundTrip) {
  EXPECT_EQ(ViewFilePath("a/b/circuit.mrd"), "a/b/circuit.view.json");
  EXPECT_EQ(ViewFilePath("circuit.trk"), "circuit.view.json");

  std::string error;
  // No side file: nothing to show, no error.
  const auto none = ReadViewSettings(track, error);
  ASSERT_TRUE(none);
  EXPECT_FALSE(none->background);

  TViewSettings settings;
  settings.background = TBackgroundSettings{(folder / "photos" / "aerial.png").string(),
                                            {1500.25, -2000.5, 98.425, 12.5}, 0.35, false};
  ASSERT_TRUE(WriteViewSettings(track, settings, error)) << error;
  // The image is kept relative to the track's folder.
  EXPECT_NE(Text(ViewFilePath(track)).find("\"image\": \"photos/aerial.png\""), std::string::npos);
  const auto read = ReadViewSettings(track, error);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, settings);

  // The terrain model a fitted track came from, kept beside the picture and
  // alone; its path relative to the track's folder too.
  settings.terrain = TTerrainLink{(folder / "dem" / "hills.tif").string(), {true, 49.43, 11.12, -2.5, 3.25}, 402.5};
  ASSERT_TRUE(WriteViewSettings(track, settings, error)) << error;
  EXPECT_NE(Text(ViewFilePath(track)).find("\"model\": \"dem/hills.tif\""), std::string::npos);
  EXPECT_EQ(*ReadViewSettings(track, error), settings);
  settings.background.reset();
  ASSERT_TRUE(WriteViewSettings(track, settings, error)) << error;
  EXPECT_EQ(*ReadViewSettings(track, error), settings);

  // Nothing left to keep: the file goes.
  ASSERT_TRUE(WriteViewSettings(track, TViewSettings{}, error));
  EXPECT_FALSE(fs::exists(ViewFilePath(track)));
}

TEST_F(ViewFileTest, DamageIsRefusedOrMended) {
  std::string error;
  Write("{\"background\": [1, 2");
  EXPECT_FALSE(ReadViewSettings(track, error));
  EXPECT_EQ(error, ViewFilePath(track) + ": not a view settings file");

  // Values out of range are brought into it; an image outside the folder stays absolute.
  Write(R"({"background": {"image": "/elsewhere/a.jpg", "unitsPerPixel": -4, "opacity": 7, "visible": "yes"}})");
  const auto read = ReadViewSettings(track, error);
  ASSERT_TRUE(read && read->background);
  EXPECT_EQ(read->background->image, "/elsewhere/a.jpg");
  EXPECT_EQ(read->background->placement.unitsPerPixel, 1);
  EXPECT_EQ(read->background->opacity, 1);
  EXPECT_TRUE(read->background->visible);

  // A background without an image is none.
  Write(R"({"background": {"opacity": 0.5}})");
  EXPECT_FALSE(ReadViewSettings(track, error)->background);
}

// Whatever stands at the side file's name, the track opens: at once, without
// its settings and with the reason.
TEST_F(ViewFileTest, OnlyARegularFileOfBoundedSizeIsRead) {
  const std::string side = ViewFilePath(track);
  std::string error;
  fs::create_directory(side);
  EXPECT_FALSE(ReadViewSettings(track, error));
  EXPECT_EQ(error, side + ": Is a directory");
  // Removing the background leaves a folder that is not the side file alone.
  EXPECT_TRUE(WriteViewSettings(track, TViewSettings{}, error));
  EXPECT_TRUE(fs::is_directory(side));
  fs::remove(side);

  ASSERT_EQ(mkfifo(side.c_str(), 0644), 0);
  auto read = std::async(std::launch::async, [&] {
    std::string reason;
    return std::make_pair(ReadViewSettings(track, reason).has_value(), reason);
  });
  if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    close(open(side.c_str(), O_RDWR | O_NONBLOCK));  // lets the stuck reader go
    FAIL() << "reading a named pipe waits for a writer";
  }
  EXPECT_EQ(read.get(), std::make_pair(false, side + ": a named pipe, not a regular file"));
  fs::remove(side);

  // A device is not read without end.
  fs::create_symlink("/dev/zero", side);
  EXPECT_FALSE(ReadViewSettings(track, error));
  EXPECT_EQ(error, side + ": a character device, not a regular file");
  fs::remove(side);

  Write(R"({"background": {"image": ")" + std::string(kMaxViewFileBytes, 'a') + "\"}}");
  EXPECT_FALSE(ReadViewSettings(track, error));
  EXPECT_EQ(error, side + ": 1048605 bytes, more than the 1 MB a view settings file may have");
}

TEST_F(ViewFileTest, WrittenAsSafelyAsATrack) {
  const std::string side = ViewFilePath(track);
  TViewSettings settings;
  settings.background = TBackgroundSettings{(folder / "a.png").string(), {}, 0.5, true};
  std::string error;
  // A link planted at a temporary name the side file once used is not followed.
  const fs::path victim = folder / "victim";
  std::ofstream(victim) << "keep";
  fs::create_symlink(victim, side + ".tmp");
  ASSERT_TRUE(WriteViewSettings(track, settings, error)) << error;
  EXPECT_EQ(Text(victim.string()), "keep");
  EXPECT_TRUE(fs::is_symlink(side + ".tmp"));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(side)));
  EXPECT_EQ(ReadViewSettings(track, error)->background, settings.background);

  // A named pipe at the side file's name is refused and stays.
  fs::remove(side);
  ASSERT_EQ(mkfifo(side.c_str(), 0644), 0);
  EXPECT_FALSE(WriteViewSettings(track, settings, error));
  EXPECT_EQ(error, side + ": a named pipe, not a regular file");
  EXPECT_TRUE(fs::is_fifo(side));
  // No temporary file is left behind.
  for (const auto& entry : fs::directory_iterator(folder))
    EXPECT_EQ(entry.path().filename().string().find(".my circuit.view.json."), std::string::npos);
}

}  // namespace
}  // namespace meridal
