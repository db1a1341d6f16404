// The track file export: exact bytes, tables and repeatability.
#include <gtest/gtest.h>

#include "file_test_support.h"
#include "files/project/project_io.h"
#include "files/trackfile/track_export.h"
#include "support/recording_messages.h"

namespace meridal {
namespace {

using testing::RecordingMessages;
using testing::WordAt;

std::vector<uint8_t> Export(TTrack& track) {
  RecordingMessages messages;
  auto image = ExportTrackImage(track, messages);
  EXPECT_TRUE(image.has_value());
  EXPECT_TRUE(messages.Empty());
  return image.value_or(std::vector<uint8_t>{});
}

std::vector<uint8_t> Bytes(std::initializer_list<int32_t> words) {
  std::vector<uint8_t> bytes;
  for (int32_t w : words)
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(w) >> (8 * i)));
  return bytes;
}

TEST(TrackExport, DefaultTrackByteForByte) {
  auto track = testing::DefaultTrack();
  std::vector<uint8_t> expected = {'K', 'A', 'R', 'T'};
  const auto rest = Bytes({3000, 984252, 2, 1, 64, 52,
                           // traces
                           -98425, 98425, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                           // section offsets
                           0,
                           // altitudes at 96 and 128
                           0, 0, 0, 0, 0, 0, 0, -98425,
                           0, 0, 0, 0, 0, 0, 0, 98425,
                           // walls at 160 and 192
                           -98425, -98425, 1, 0, 0, 0, 0, 0,
                           98425, 98425, 10, 0, 0, 0, 0, 0,
                           // the section at 224
                           1, 0, 984252, 0, 0, 0x40000000, 0, 0, 0x40000000, 0x40000000, 0, 2, 0});
  expected.insert(expected.end(), rest.begin(), rest.end());
  ASSERT_EQ(expected.size(), 276u);
  EXPECT_EQ(Export(*track), expected);
}

TEST(TrackExport, TablesOfAMixedTrack) {
  auto track = testing::MixedTrack();
  const auto image = Export(*track);
  const size_t ns = 4, nt = 2, walls = 6;
  ASSERT_EQ(image.size(), 92 + 4 * ns + 32 * ns * nt + 32 * walls + 52 * ns);
  EXPECT_EQ(WordAt(image, 8), track->Length);
  EXPECT_EQ(WordAt(image, 20), 32 * 6);
  EXPECT_EQ(WordAt(image, 24), 52 * 4);
  for (size_t i = 0; i < ns; ++i) EXPECT_EQ(WordAt(image, 92 + 4 * i), static_cast<int32_t>(52 * i));

  const size_t altitudes = 92 + 4 * ns, wallTable = altitudes + 32 * ns * nt, sections = wallTable + 32 * walls;
  for (int s = 0; s < 4; ++s) {
    SCOPED_TRACE(s);
    const TSection& section = *track->Section(s);
    const size_t record = sections + 52 * static_cast<size_t>(s);
    const int32_t expected[13] = {section.Type, section.Start, section.Length, section.Orientation, 0,
                                  section.ExportWords[0], section.ExportWords[1], section.ExportWords[2],
                                  section.ExportWords[3], section.ExportWords[4], section.FirstAltitude,
                                  section.NumberOfWalls(), section.FirstWall};
    for (int w = 0; w < 13; ++w) EXPECT_EQ(WordAt(image, record + 4 * w), expected[w]) << w;
    for (int i = 0; i < 2; ++i) {
      const TAltitude& a = *section.Altitude(i);
      const size_t at = altitudes + 32 * static_cast<size_t>(section.FirstAltitude + i);
      const int32_t fields[8] = {a.ThirdOrder, a.SecondOrder, a.FirstOrder, a.HeightAtStart, a.A3, a.B2, a.X, a.Y};
      for (int w = 0; w < 8; ++w) EXPECT_EQ(WordAt(image, at + 4 * w), fields[w]) << i << "," << w;
    }
    for (int k = 0; k < section.NumberOfWalls(); ++k) {
      const TWall& wall = *section.Wall(k);
      const size_t at = wallTable + 32 * static_cast<size_t>(section.FirstWall + k);
      const int32_t fields[8] = {wall.From, wall.To, wall.Surface, wall.Unk1,
                                 wall.Height, wall.Unk2, wall.Unk3, wall.Unk4};
      for (int w = 0; w < 8; ++w) EXPECT_EQ(WordAt(image, at + 4 * w), fields[w]) << k << "," << w;
    }
  }
  // The curves carry the filler in words 8 and 9; the wall-less straight shares
  // its FirstWall with the next section.
  EXPECT_EQ(WordAt(image, sections + 52 * 1 + 4 * 8), 0x07070707);
  EXPECT_EQ(WordAt(image, sections + 52 * 1 + 4 * 9), 0x07070707);
  EXPECT_EQ(WordAt(image, sections + 52 * 3 + 4 * 8), 0x07070707);
  EXPECT_EQ(WordAt(image, sections + 52 * 2 + 4 * 11), 0);
  EXPECT_EQ(WordAt(image, sections + 52 * 2 + 4 * 12), WordAt(image, sections + 52 * 3 + 4 * 12));
}

TEST(TrackExport, IsRepeatableAndChangesNothing) {
  auto track = testing::MixedTrack();
  const auto first = Export(*track);
  const auto second = Export(*track);
  EXPECT_EQ(first, second);
  auto fresh = testing::MixedTrack();
  testing::ExpectSameTrack(*track, *fresh);
}

TEST(TrackExport, SixteenTracesLeaveNoZeroTraceWord) {
  auto track = testing::TrackWithTraces(16);
  const auto image = Export(*track);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(WordAt(image, 28 + 4 * static_cast<size_t>(i)), track->Traces[i]);
  EXPECT_EQ(WordAt(image, 92), 0);  // the section offset list follows at once
  EXPECT_EQ(image.size(), 92u + 4 + 32 * 16 + 32 * 2 + 52);
}

TEST(TrackExport, ARecordOutsideItsTableFails) {
  RecordingMessages messages;
  auto track = testing::MixedTrack();
  track->Section(2)->FirstAltitude = -2;
  EXPECT_FALSE(ExportTrackImage(*track, messages).has_value());
  track->RecomputeRecordIndices();
  track->Section(0)->FirstWall = 5;
  EXPECT_FALSE(ExportTrackImage(*track, messages).has_value());
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{"Altitude: Error writing file!", "Wall: Error writing file!"}));
  EXPECT_EQ(messages.Last().title, "Error");
}

}  // namespace
}  // namespace meridal
