// The track file import: what the exporter wrote comes back whole, a damaged file
// is refused with its own message and builds nothing, and derived words that
// disagree are repaired with one warning.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "files/trackfile/track_import.h"
#include "format_test_support.h"
#include "model/length_limit.h"

namespace meridal {
namespace {

using testing::ExportOf;
using testing::RecordingMessages;
using testing::SetWordAt;
using testing::WordAt;

TEST(TrackImport, GivesBackWhatTheExporterWroteForRandomTracks) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    auto track = testing::RandomTrack(rng);
    const auto exported = ExportOf(*track);
    ASSERT_FALSE(exported.empty());
    RecordingMessages messages;
    auto imported = testing::ReadAs(TrackFormat::TrackFile, exported, messages);
    ASSERT_TRUE(imported);
    EXPECT_TRUE(messages.Empty()) << messages.Last().text;
    EXPECT_EQ(ExportOf(*imported), exported);
    EXPECT_EQ(testing::AllRows(*imported), testing::AllRows(*track));
  }
}

// A valid file of four sections (straight, curve, straight without walls, curve),
// two traces and six walls, and where its parts are.
struct Mixed {
  std::vector<uint8_t> file = ExportOf(*testing::MixedTrack());
  size_t Section(int i) const { return file.size() - 52 * static_cast<size_t>(4 - i); }
};

TEST(TrackImport, RefusesEachKindOfDamageWithItsOwnMessageAndBuildsNothing) {
  struct Case {
    const char* damage;
    void (*apply)(Mixed&);
    const char* reason;  // beneath "Track: Error reading file!"
  };
  const Case cases[] = {
      {"no whole header", [](Mixed& m) { m.file.resize(91); },
       "the file ends inside its header: it holds 91 bytes, the header and the trace list take 92"},
      {"cut short", [](Mixed& m) { m.file.resize(712); },
       "the file is cut short: it holds 712 bytes, but its header describes 764"},
      {"added to", [](Mixed& m) { m.file.resize(796); },
       "the file holds 796 bytes, 32 more than its header describes: something was added to its end"},
      {"tag", [](Mixed& m) { m.file[3] = 'S'; }, "the file does not begin with KART"},
      {"format code", [](Mixed& m) { SetWordAt(m.file, 4, 2999); }, "the format code is 2999, not 3000"},
      {"no trace", [](Mixed& m) { SetWordAt(m.file, 12, 0); },
       "the header names 0 traces; a track has 1 to 16"},
      {"17 traces", [](Mixed& m) { SetWordAt(m.file, 12, 17); },
       "the header names 17 traces; a track has 1 to 16"},
      {"no section", [](Mixed& m) { SetWordAt(m.file, 16, 0); },
       "the header names 0 sections; a track has at least one"},
      {"section table size", [](Mixed& m) { SetWordAt(m.file, 24, 200); },
       "the section table size is 200, but 4 sections take 208 bytes"},
      {"wall table size", [](Mixed& m) { SetWordAt(m.file, 20, 100); },
       "the wall table size 100 is not a whole number of 32-byte records"},
      {"far too many sections",
       [](Mixed& m) {
         SetWordAt(m.file, 16, 1000000);
         SetWordAt(m.file, 24, 52000000);
       },
       "the file holds 764 bytes, too few for 1000000 sections of 2 traces"},
      {"negative wall count", [](Mixed& m) { SetWordAt(m.file, m.Section(2) + 44, -1); },
       "section 2 names -1 walls"},
      {"wall table against the sections", [](Mixed& m) { SetWordAt(m.file, 20, 32 * 5); },
       "the wall table holds 5 records but the sections name 6"},
      {"size",
       [](Mixed& m) {
         SetWordAt(m.file, 20, 32 * 7);
         SetWordAt(m.file, m.Section(2) + 44, 1);
       },
       "the file is cut short: it holds 764 bytes, but its header describes 796"},
      {"padded before the section records",
       [](Mixed& m) { m.file.insert(m.file.end() - 4 * 52, 32, uint8_t{0}); },
       "the file holds 796 bytes, but its header and sections describe 764"},
      {"offset list", [](Mixed& m) { SetWordAt(m.file, 96, 53); },
       "the offset list gives section 1 the offset 53, not 52"},
      {"FirstAltitude", [](Mixed& m) { SetWordAt(m.file, m.Section(1) + 40, 3); },
       "section 1 has FirstAltitude 3, not 2"},
      {"FirstWall", [](Mixed& m) { SetWordAt(m.file, m.Section(3) + 48, 5); },
       "section 3 has FirstWall 5, not 4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.damage);
    Mixed mixed;
    ASSERT_EQ(mixed.file.size(), 764u);
    c.apply(mixed);
    auto open = testing::DefaultTrack();  // the document open before
    const auto before = ExportOf(*open);
    RecordingMessages messages;
    EXPECT_FALSE(ReadTrackImage(TrackFormat::TrackFile, std::move(mixed.file), *open, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.Last().text, std::string("Track: Error reading file!\n") + c.reason);
    EXPECT_EQ(messages.Last().title, "Error");
    EXPECT_EQ(ExportOf(*open), before);
  }
}

TEST(TrackImport, RepairsDerivedWordsAndListsThemInOneWarning) {
  Mixed mixed;
  const auto original = mixed.file;
  SetWordAt(mixed.file, 8, 5);                                      // the track's Length
  SetWordAt(mixed.file, 28 + 4 * 3, 77);                            // a word after the last trace
  SetWordAt(mixed.file, mixed.Section(1) + 4, 12);                  // a Start
  SetWordAt(mixed.file, mixed.Section(0) + 4 * 6, 1);               // a rotation word
  SetWordAt(mixed.file, mixed.Section(3) + 4 * 9, 0);               // a spare word of a curve
  SetWordAt(mixed.file, mixed.Section(2) + 4 * 4, 9);               // Reserved
  RecordingMessages messages;
  auto track = testing::ReadAs(TrackFormat::TrackFile, mixed.file, messages);
  ASSERT_TRUE(track);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.Last().title, "Meridal");
  EXPECT_EQ(messages.Last().icon, MessageIcon::Warning);
  EXPECT_EQ(messages.Last().text,
            "The track file was repaired while it was read:\n"
            "The trace words after trace 1 are not 0; a track of 2 traces keeps none\n"
            "The track's Length 5 is not the sum of the section lengths; it is now " +
                std::to_string(WordAt(original, 8)) +
                "\n"
                "Section 0: the rotation words do not match its Orientation; they are recomputed\n"
                "Section 1: Start 12 is not the sum of the lengths before it; it is now 500000\n"
                "Section 2: Reserved 9 is set to 0\n"
                "Section 3: the spare words are not 0x07070707; they are set to it");
  EXPECT_EQ(ExportOf(*track), original);
}

// Section lengths that add up beyond 32 bits (inputs the fuzzer found): the
// track opens, with no Length or Start "mended" to a wrapped value, and its
// export is refused, naming the reason.
TEST(TrackImport, ATrackLongerThan32BitsHoldIsOpenedButNotExported) {
  for (const char* name : {"lengths-add-up-past-2-31.trk", "lengths-add-up-past-2-32.trk",
                           "lengths-add-up-below-minus-2-31.trk"}) {
    SCOPED_TRACE(name);
    std::ifstream in(std::string(MERIDAL_SOURCE_DIR "/fuzz/regressions/track_import/") + name, std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(file.size(), 644u);
    RecordingMessages messages;
    auto track = testing::ReadAs(TrackFormat::TrackFile, file, messages);
    ASSERT_TRUE(track);
    EXPECT_FALSE(WithinLengthLimit(*track));
    EXPECT_TRUE(messages.Empty()) << messages.Last().text;
    EXPECT_FALSE(ExportTrackImage(*track, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.Last().text, "Track: Error writing file!\n" + LengthLimitText(*track));
  }
}

}  // namespace
}  // namespace meridal
