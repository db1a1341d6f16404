// The JSON form: its exact layout, both round trips, one changed value changing
// one line, and a refusal naming the path and the line for each kind of problem.
#include <gtest/gtest.h>

#include <sstream>

#include "files/track_assembly.h"
#include "files/json/track_json_reader.h"
#include "format_test_support.h"

namespace meridal {
namespace {

using testing::BytesOf;
using testing::ExportOf;
using testing::JsonOf;
using testing::RecordingMessages;

const char kDefaultJson[] =
    "{\n"
    "  \"format\": \"meridal-track\",\n"
    "  \"version\": 1,\n"
    "  \"traces\": [-98425, 98425],\n"
    "  \"sections\": [\n"
    "    {\"type\": \"straight\", \"length\": 984252, \"orientation\": 0,\n"
    "      \"walls\": [\n"
    "        {\"from\": -98425, \"to\": -98425, \"surface\": 1, \"unk1\": 0, \"height\": 0, \"unk2\": 0, "
    "\"unk3\": 0, \"unk4\": 0},\n"
    "        {\"from\": 98425, \"to\": 98425, \"surface\": 10, \"unk1\": 0, \"height\": 0, \"unk2\": 0, "
    "\"unk3\": 0, \"unk4\": 0}\n"
    "      ],\n"
    "      \"altitudes\": [\n"
    "        {\"thirdOrderCoeff\": 0, \"secondOrderCoeff\": 0, \"firstOrderCoeff\": 0, \"heightAtStart\": 0, "
    "\"x\": 0, \"y\": -98425},\n"
    "        {\"thirdOrderCoeff\": 0, \"secondOrderCoeff\": 0, \"firstOrderCoeff\": 0, \"heightAtStart\": 0, "
    "\"x\": 0, \"y\": 98425}\n"
    "      ]}\n"
    "  ]\n"
    "}\n";

std::unique_ptr<TTrack> FromJson(const std::string& text, RecordingMessages& messages) {
  return testing::ReadAs(TrackFormat::Json, BytesOf(text), messages);
}

std::vector<uint8_t> ProjectOf(TTrack& track) {
  RecordingMessages messages;
  TFiller filler(3);
  return WriteProjectImage(track, filler, messages).value();
}

TEST(TrackJson, TheDefaultTrackIsWrittenInTheStableLayout) {
  EXPECT_EQ(JsonOf(*testing::DefaultTrack()), kDefaultJson);
}

TEST(TrackJson, RoundTripsBothWaysForRandomTracks) {
  std::mt19937 rng(5);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    auto track = testing::RandomTrack(rng);
    RecordingMessages messages;
    // Whatever a track holds (a track file's A3 and B2, old type words) survives the text.
    const std::string text = JsonOf(*track);
    auto back = FromJson(text, messages);
    ASSERT_TRUE(back) << messages.Last().text;
    EXPECT_EQ(ExportOf(*back), ExportOf(*track));
    EXPECT_EQ(JsonOf(*back), text);
    // The general parser reads the same track, from this text and laid out otherwise.
    TTrack general;
    ASSERT_TRUE(TrackJsonReader(text, messages, false).Read(general));
    EXPECT_EQ(JsonOf(general), text);
    std::string compact = text;
    std::erase_if(compact, [](char c) { return c == ' ' || c == '\n'; });
    EXPECT_EQ(JsonOf(*FromJson(compact, messages)), text);

    // mrd -> json -> mrd: the same export bytes and rows, odd type words included.
    auto opened = testing::ReadAs(TrackFormat::Project, ProjectOf(*track), messages);
    ASSERT_TRUE(opened);
    auto viaJson = FromJson(JsonOf(*opened), messages);
    ASSERT_TRUE(viaJson);
    auto reopened = testing::ReadAs(TrackFormat::Project, ProjectOf(*viaJson), messages);
    EXPECT_EQ(ExportOf(*reopened), ExportOf(*opened));
    EXPECT_EQ(testing::AllRows(*reopened), testing::AllRows(*opened));
    // json -> mrd -> json: the same text.
    EXPECT_EQ(JsonOf(*reopened), JsonOf(*opened));
    EXPECT_TRUE(messages.Empty());
  }
}

TEST(TrackJson, OneChangedValueChangesOneLine) {
  auto track = testing::MixedTrack();
  const std::string before = JsonOf(*track);
  track->Section(1)->Wall(1)->SetValue("Height", 4321);
  const std::string after = JsonOf(*track);
  std::istringstream a(before), b(after);
  std::string x, y;
  int changed = 0;
  while (std::getline(a, x) && std::getline(b, y)) changed += (x != y);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), std::count(after.begin(), after.end(), '\n'));
}

TEST(TrackJson, RefusesEachKindOfProblemNamingPathAndLine) {
  struct Case {
    const char* find;
    const char* replace;
    const char* message;
  };
  const Case cases[] = {
      {"\"from\": 98425", "\"from\": 2500000000",
       "JSON file, line 9: sections[0].walls[1].from: 2500000000 does not fit in 32 bits"},
      {"\"length\": 984252", "\"length\": 1.5", "JSON file, line 6: sections[0].length: 1.5 is not an integer"},
      {"\"length\": 984252", "\"length\": \"5\"", "JSON file, line 6: sections[0].length: expected an integer"},
      {"\"length\": 984252", "\"lenght\": 984252", "JSON file, line 6: sections[0]: unknown key \"lenght\""},
      {"\"orientation\": 0", "\"length\": 0", "JSON file, line 6: sections[0].length: appears twice"},
      {"\"to\": 98425, ", "", "JSON file, line 9: sections[0].walls[1]: \"to\" is missing"},
      {"meridal-track", "other", "JSON file, line 2: format: \"other\" is not \"meridal-track\""},
      {"\"version\": 1", "\"version\": 2", "JSON file, line 3: version: 2 is not a version this program reads (1)"},
      {"[-98425, 98425]", "[]", "JSON file, line 1: traces: a track has 1 to 16 traces"},
      {"[-98425, 98425]", "[-98425, 98425, 200000]",
       "JSON file, line 11: sections[0].altitudes: 2 altitudes, but the track has 3 traces"},
      {"\"orientation\": 0,", "\"orientation\": 0, \"curvature\": 5,",
       "JSON file, line 6: sections[0]: a straight section has no curveCenterX, curveCenterY or curvature"},
      {"\"type\": \"straight\"", "\"type\": \"curved\"", "JSON file, line 6: sections[0]: \"curveCenterX\" is missing"},
      {"\"walls\": [", "\"walls\": {", "JSON file, line 7: sections[0].walls: expected an array"},
      {"\"unk4\": 0},", "\"unk4\": 0}", "JSON file, line 9: sections[0].walls[1]: syntax error while parsing array - "
                                       "unexpected '{'; expected ']'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::string text = kDefaultJson;
    const size_t at = text.find(c.find);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::strlen(c.find), c.replace);
    auto open = testing::DefaultTrack();
    open->Section(0)->SetLength(777);
    const auto before = ExportOf(*open);
    RecordingMessages messages;
    EXPECT_FALSE(ReadTrackImage(TrackFormat::Json, BytesOf(text), *open, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.Last().text, c.message);
    EXPECT_EQ(ExportOf(*open), before);
  }
}

}  // namespace
}  // namespace meridal
