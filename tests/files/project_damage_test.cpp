// A damaged project file: read all the same, its damaged places named; files this
// program writes are never taken for damaged ones.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "files/project/project_file_reader.h"
#include "files/project/project_io.h"
#include "format_test_support.h"
#include "model/synthetic_track.h"

namespace meridal {
namespace {

using testing::RecordingMessages;
using testing::SetWordAt;
using testing::Unsealed;
using testing::WordAt;

std::vector<uint8_t> Write(const TTrack& track, uint32_t seed = 7) {
  TFiller filler(seed);
  RecordingMessages messages;
  return WriteProjectImage(track, filler, messages).value_or(std::vector<uint8_t>{});
}

// The damaged places of a file that must be read; the track read goes to `into`.
std::vector<std::string> DamageOf(std::vector<uint8_t> image, TTrack* into = nullptr) {
  TTrack track;
  RecordingMessages messages;
  TProjectFileReader reader(std::move(image), messages, "t.mrd");
  EXPECT_TRUE(reader.ReadProject(into ? *into : track));
  EXPECT_TRUE(messages.Empty());
  return reader.Damage();
}

TEST(ProjectDamage, NothingThisProgramWritesIsTakenForDamaged) {
  for (const auto& entry : std::filesystem::directory_iterator(MERIDAL_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".mrd") continue;
    SCOPED_TRACE(entry.path().string());
    TTrack track;
    RecordingMessages messages;
    const FileOutcome outcome = LoadProjectFile(entry.path().string(), track, messages);
    ASSERT_EQ(outcome, FileStatus::Ok);
    EXPECT_TRUE(outcome.damage.empty());
    EXPECT_TRUE(DamageOf(Write(track)).empty());
  }
  // Synthetic tracks (the largest deciphered and sealed on two threads), random
  // ones of every kind, and each again after a round trip.
  std::vector<std::unique_ptr<TTrack>> tracks;
  for (int sections : {1, 99, 100, 2100}) tracks.push_back(SyntheticTrack(sections));
  std::mt19937 rng(17);
  for (int i = 0; i < 60; ++i) tracks.push_back(testing::RandomTrack(rng));
  for (size_t i = 0; i < tracks.size(); ++i) {
    SCOPED_TRACE(i);
    TTrack again;
    EXPECT_TRUE(DamageOf(Write(*tracks[i], static_cast<uint32_t>(i)), &again).empty());
    // A trace moved after the read places one point from the start derived on
    // reading, the others where they were written.
    if (again.NumberOfTraces() > 2) {
      ASSERT_TRUE(again.SetTrace(1, again.Traces[1] + 1));
    }
    EXPECT_TRUE(DamageOf(Write(again)).empty());
  }
}

// One byte flipped in a record of the mixed track's file: the file is read, and
// the record is named.
TEST(ProjectDamage, AFlippedByteNamesItsRecord) {
  auto track = testing::MixedTrack();
  const auto image = Write(*track);
  const size_t size = image.size();
  // 2 traces, 4 sections, 6 walls: altitudes from 168, walls from 424, sections from 808.
  const struct {
    size_t offset;
    std::string place;
  } cases[] = {
      {40 + 32 + 3, "Trace list: damaged record (its filler words are wrong)"},  // entries 4 to 7: no trace there
      {size - 4 * 64 + 9, "Section 0: damaged record (its filler words are wrong)"},
      {424 + 3 * 64 + 32 + 20, "Section 1, wall 1: damaged record (its filler words are wrong)"},
      {168 + 4 * 32 + 1, "Section 2, altitude 0: its trace point"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.place);
    auto damaged = image;
    damaged[c.offset] ^= 0x20;
    const auto places = DamageOf(damaged);
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(places[0].substr(0, c.place.size()), c.place);
  }
}

// A file whose fillers come from no run of the generator (another writer) is not
// judged by them; its trace points still tell.
TEST(ProjectDamage, WithoutTheGeneratorsRunTheTracePointsStillTell) {
  auto track = testing::MixedTrack();
  auto plain = Unsealed(Write(*track));
  // Every filler word 0: the header's, the trace list's and each record's.
  for (size_t word : {0, 1, 3, 4, 6, 7}) SetWordAt(plain, 8 + 4 * word, 0);
  for (size_t entry = 0; entry < 16; ++entry) {
    if (entry >= 2) SetWordAt(plain, 40 + 8 * entry, 0);
    SetWordAt(plain, 44 + 8 * entry, 0);
  }
  for (size_t a = 168; a < 424; a += 32)
    for (size_t word : {2, 5}) SetWordAt(plain, a + 4 * word, 0);
  EXPECT_TRUE(DamageOf(testing::Sealed(plain)).empty());

  // Section 1 is an arc: both its traces keep one radius of the zero line.
  const TAltitude& a = *track->Section(1)->Altitude(1);
  SetWordAt(plain, 168 + 3 * 32 + 24, a.X + 5000);
  SetWordAt(plain, 168 + 3 * 32 + 28, 12);
  const auto places = DamageOf(testing::Sealed(plain));
  ASSERT_EQ(places.size(), 1u);
  EXPECT_EQ(places[0], "Section 1, altitude 1: its trace point (" + std::to_string(a.X + 5000) +
                           ", 12) is not where the section puts it (" + std::to_string(a.X) + ", 117901063)");
}

TEST(ProjectDamage, TheRefusalsSayWhereTheFileEnds) {
  auto track = testing::MixedTrack();
  const auto image = Write(*track);
  auto refusal = [](std::vector<uint8_t> bytes) {
    TTrack read;
    RecordingMessages messages;
    EXPECT_FALSE(TProjectFileReader(std::move(bytes), messages, "circuit.mrd").ReadProject(read));
    return messages.Empty() ? std::string() : messages.Last().text;
  };
  auto cut = image;
  cut.resize(image.size() - 64);
  EXPECT_EQ(refusal(cut),
            "Track: Error reading file!\ncircuit.mrd: the file does not end with the records of its 4 sections: it "
            "was cut short, or something was added to its end (it holds 1000 bytes)");
  auto lost = image;  // wall 4 gone: section 3's walls no longer fit
  lost.erase(lost.begin() + 424 + 4 * 64, lost.begin() + 424 + 5 * 64);
  EXPECT_EQ(refusal(lost),
            "Track: Error reading file!\ncircuit.mrd: the file ends inside section 3's walls: it holds 1000 bytes, "
            "but its records need 1064");
}

TEST(Filler, TheStateBeforeARunIsFoundFromItsWords) {
  TFiller filler(20240601);
  int32_t words[6];
  filler.Fill(words, 6);
  const auto state = TFiller::StateBefore(words, 6);
  ASSERT_TRUE(state);
  TFiller again(*state);
  for (int32_t word : words) EXPECT_EQ(again.Next(), word);
  words[4] ^= 0x100;
  EXPECT_FALSE(TFiller::StateBefore(words, 6));
  EXPECT_EQ(TFiller::Rewind(TFiller(5).State(), 0), 5u);
}

}  // namespace
}  // namespace meridal

namespace meridal {
namespace {

// Every byte of the example's sealed part flipped in turn: how many of the files
// are refused or read with damage named, against those read as if whole.
TEST(ProjectDamage, NearlyEveryFlippedByteOfTheExampleIsFound) {
  std::vector<uint8_t> original;
  {
    std::ifstream in(MERIDAL_SOURCE_DIR "/examples/circuit.mrd", std::ios::binary);
    original.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_GT(original.size(), 168u);
  RecordingMessages messages;
  TTrack whole;
  TProjectFileReader reader(original, messages);
  ASSERT_TRUE(reader.ReadProject(whole));
  EXPECT_TRUE(reader.Damage().empty());  // no false alarm

  size_t refused = 0, named = 0, silent = 0;
  for (size_t at = kProjectHeaderGroupOffset; at < original.size(); ++at) {
    auto flipped = original;
    flipped[at] ^= 0xFF;
    TTrack track;
    RecordingMessages quiet;
    TProjectFileReader flippedReader(flipped, quiet);
    if (!flippedReader.ReadProject(track))
      ++refused;
    else if (!flippedReader.Damage().empty())
      ++named;
    else
      ++silent;
  }
  const double found = 100.0 * static_cast<double>(refused + named) / static_cast<double>(refused + named + silent);
  std::printf("flipped bytes: %zu refused, %zu read with damage named, %zu read as whole (%.1f %% found)\n", refused,
              named, silent, found);
  EXPECT_GE(found, 90.0);
}

}  // namespace
}  // namespace meridal
