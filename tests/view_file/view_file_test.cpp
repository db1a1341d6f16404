// The plan's side file: where it lies, its round trip, what it makes of damage.
#include "view_file/view_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

}  // namespace
}  // namespace meridal
