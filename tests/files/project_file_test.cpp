// The project file: its layout, round trips, and the files it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "file_test_support.h"
#include "files/project/project_io.h"
#include "files/project/project_reader.h"
#include "files/project/project_writer.h"
#include "files/cipher/seal.h"
#include "support/recording_messages.h"

namespace meridal {
namespace {

using testing::DefaultTrack;
using testing::ExpectSameTrack;
using testing::RecordingMessages;
using testing::SetWordAt;
using testing::Unsealed;
using testing::WordAt;

std::vector<uint8_t> Write(TTrack& track, uint32_t seed = 99) {
  TFiller filler(seed);
  RecordingMessages messages;
  auto image = WriteProjectImage(track, filler, messages);
  EXPECT_TRUE(image.has_value());
  EXPECT_TRUE(messages.Empty());
  return image.value_or(std::vector<uint8_t>{});
}

std::unique_ptr<TTrack> Read(const std::vector<uint8_t>& image) {
  auto track = std::make_unique<TTrack>();
  RecordingMessages messages;
  EXPECT_TRUE(ReadProjectImage(image, *track, messages));
  EXPECT_TRUE(messages.Empty());
  return track;
}

TEST(ProjectFile, DefaultTrackLayout) {
  auto track = DefaultTrack();
  const auto image = Write(*track);
  ASSERT_EQ(image.size(), 424u);
  EXPECT_EQ(std::memcmp(image.data(), "MRDL", 4), 0);
  EXPECT_EQ(WordAt(image, 4), 1);

  const auto plain = Unsealed(image);
  EXPECT_EQ(WordAt(plain, 8 + 4 * 2), 2);  // traces
  EXPECT_EQ(WordAt(plain, 8 + 4 * 5), 1);  // sections
  EXPECT_EQ(WordAt(plain, 40), -98425);
  EXPECT_EQ(WordAt(plain, 48), 98425);
  // Altitude records at 168 and 200: the trace points.
  for (size_t at : {168u, 200u}) {
    EXPECT_EQ(WordAt(plain, at + 0), 0);
    EXPECT_EQ(WordAt(plain, at + 4), 0);
    EXPECT_EQ(WordAt(plain, at + 12), 0);
    EXPECT_EQ(WordAt(plain, at + 16), 0);
    EXPECT_EQ(WordAt(plain, at + 24), 0);
  }
  EXPECT_EQ(WordAt(plain, 168 + 28), -98425);
  EXPECT_EQ(WordAt(plain, 200 + 28), 98425);
  // Wall records at 232 and 296.
  EXPECT_EQ(WordAt(plain, 232 + 0), -98425);
  EXPECT_EQ(WordAt(plain, 232 + 8), -98425);
  EXPECT_EQ(WordAt(plain, 232 + 16), 1);
  EXPECT_EQ(WordAt(plain, 296 + 0), 98425);
  EXPECT_EQ(WordAt(plain, 296 + 8), 98425);
  EXPECT_EQ(WordAt(plain, 296 + 16), 10);
  for (size_t word : {6u, 8u, 10u, 12u, 14u}) {
    EXPECT_EQ(WordAt(plain, 232 + 4 * word), 0);
    EXPECT_EQ(WordAt(plain, 296 + 4 * word), 0);
  }
  // The section record at 360: straight layout.
  EXPECT_EQ(WordAt(plain, 360 + 4 * 0), 1);
  EXPECT_EQ(WordAt(plain, 360 + 4 * 3), 984252);
  EXPECT_EQ(WordAt(plain, 360 + 4 * 6), 0);
  EXPECT_EQ(WordAt(plain, 360 + 4 * 9), 0);
  EXPECT_EQ(WordAt(plain, 360 + 4 * 12), 2);
  EXPECT_EQ(WordAt(plain, 360 + 4 * 15), 0);

  ExpectSameTrack(*track, *Read(image));
}

TEST(ProjectFile, FillersAreFreshInEveryGroupAndTheModelComesBackWhole) {
  auto track = testing::MixedTrack();
  TFiller filler(4242);
  RecordingMessages messages;
  const auto first = WriteProjectImage(*track, filler, messages).value();
  const auto second = WriteProjectImage(*track, filler, messages).value();
  ASSERT_EQ(first.size(), second.size());
  EXPECT_EQ(std::memcmp(first.data(), second.data(), 8), 0);
  for (size_t at = 8; at < first.size(); at += 32)
    EXPECT_NE(std::memcmp(first.data() + at, second.data() + at, 32), 0) << "group at " << at;

  const auto a = Read(first);
  const auto b = Read(second);
  ExpectSameTrack(*a, *b);

  // Against the original: every stored field comes back; the derived values are
  // rederived from the stored, rounded trace points.
  ASSERT_EQ(a->NumberOfSections(), 4);
  EXPECT_EQ(a->Traces, track->Traces);
  for (int s = 0; s < 4; ++s) {
    const TSection& x = *track->Section(s);
    const TSection& y = *a->Section(s);
    EXPECT_EQ(x.Type, y.Type);
    EXPECT_EQ(x.Length, y.Length);
    EXPECT_EQ(x.Orientation, y.Orientation);
    EXPECT_EQ(x.Start, y.Start);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(x.ExportWords[k], y.ExportWords[k]);
    ASSERT_EQ(x.NumberOfAltitudes(), y.NumberOfAltitudes());
    for (int i = 0; i < x.NumberOfAltitudes(); ++i) {
      EXPECT_EQ(x.Altitude(i)->ThirdOrder, y.Altitude(i)->ThirdOrder);
      EXPECT_EQ(x.Altitude(i)->A3, y.Altitude(i)->A3);
      EXPECT_EQ(x.Altitude(i)->B2, y.Altitude(i)->B2);
      EXPECT_EQ(x.Altitude(i)->FirstOrder, y.Altitude(i)->FirstOrder);
      EXPECT_EQ(x.Altitude(i)->HeightAtStart, y.Altitude(i)->HeightAtStart);
      EXPECT_EQ(x.Altitude(i)->X, y.Altitude(i)->X);
      EXPECT_EQ(x.Altitude(i)->Y, y.Altitude(i)->Y);
    }
    ASSERT_EQ(x.NumberOfWalls(), y.NumberOfWalls());
    for (int k = 0; k < x.NumberOfWalls(); ++k) {
      EXPECT_EQ(x.Wall(k)->From, y.Wall(k)->From);
      EXPECT_EQ(x.Wall(k)->Unk4, y.Wall(k)->Unk4);
      EXPECT_EQ(x.Wall(k)->Number, k);
    }
    EXPECT_NEAR(x.StartX(), y.StartX(), 1.0);
    EXPECT_NEAR(x.StartY(), y.StartY(), 1.0);
    EXPECT_EQ(y.Number, s);
  }
  EXPECT_EQ(a->Length, track->Length);
  EXPECT_EQ(a->WallTableSize, 32 * 6);
}

TEST(ProjectFile, CurvedSectionRoundTrip) {
  auto track = testing::MixedTrack();
  const auto image = Write(*track);
  const auto plain = Unsealed(image);
  // Section 1 is curved; its record is the third from the end.
  const size_t record = plain.size() - 3 * 64;
  const auto& curve = static_cast<const TCurvedSection&>(*track->Section(1));
  EXPECT_EQ(WordAt(plain, record + 0), 2);
  EXPECT_EQ(WordAt(plain, record + 4 * 1), curve.Length);
  EXPECT_EQ(WordAt(plain, record + 4 * 3), curve.Orientation);
  EXPECT_EQ(WordAt(plain, record + 4 * 4), curve.CurveCenterX());
  EXPECT_EQ(WordAt(plain, record + 4 * 6), curve.CurveCenterY());
  EXPECT_EQ(WordAt(plain, record + 4 * 8), curve.Curvature());
  EXPECT_EQ(WordAt(plain, record + 4 * 10), curve.FirstAltitude);
  EXPECT_EQ(WordAt(plain, record + 4 * 11), 2);
  EXPECT_EQ(WordAt(plain, record + 4 * 13), curve.FirstWall);

  const auto back = Read(image);
  const auto& read = dynamic_cast<const TCurvedSection&>(*back->Section(1));
  EXPECT_EQ(read.Curvature(), curve.Curvature());
  EXPECT_EQ(read.CurveCenterX(), curve.CurveCenterX());
  EXPECT_EQ(read.ExportWords[3], 0x07070707);
  EXPECT_EQ(read.ExportWords[4], 0x07070707);
  EXPECT_EQ(read.Radius, curve.Radius);
  EXPECT_EQ(read.StartAngle, curve.StartAngle);
  EXPECT_EQ(read.Extent, curve.Extent);
  EXPECT_NE(dynamic_cast<const TCurvedSection*>(back->Section(3)), nullptr);
  EXPECT_NE(dynamic_cast<const TStraightSection*>(back->Section(2)), nullptr);
}

TEST(ProjectFile, SixteenTracesFillEveryTraceEntry) {
  auto track = testing::TrackWithTraces(16);
  const auto plain = Unsealed(Write(*track));
  ASSERT_EQ(plain.size(), 168u + 32 * 16 + 64 * 2 + 64);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(WordAt(plain, 40 + 8 * i), track->Traces[i]) << i;
  const auto back = Read(Write(*track));
  EXPECT_EQ(back->Traces, track->Traces);
  EXPECT_EQ(back->Section(0)->NumberOfAltitudes(), 16);
  EXPECT_EQ(back->Section(0)->Altitude(15)->Y, track->Section(0)->Altitude(15)->Y);
}

TEST(ProjectFile, ASectionWithoutWallsWritesNoWallRecords) {
  auto track = testing::MixedTrack();
  ASSERT_EQ(track->Section(2)->NumberOfWalls(), 0);
  EXPECT_EQ(track->Section(3)->FirstWall, track->Section(2)->FirstWall);
  const auto image = Write(*track);
  // 2 traces, 4 sections, 6 walls.
  EXPECT_EQ(image.size(), 168u + 32 * 4 * 2 + 64 * 6 + 64 * 4);
  const auto back = Read(image);
  EXPECT_EQ(back->Section(2)->NumberOfWalls(), 0);
  EXPECT_EQ(back->Section(3)->FirstWall, 4);
  EXPECT_EQ(back->Section(3)->Wall(1)->Unk3, track->Section(3)->Wall(1)->Unk3);
}

TEST(ProjectFile, ReadingRecomputesStartsAndTheTrackLength) {
  auto track = testing::MixedTrack();
  const int32_t sum = track->SumOfSectionLengths();
  track->Length = 12345;
  track->Section(2)->Start = 777;
  const auto back = Read(Write(*track));
  EXPECT_EQ(back->Length, sum);
  EXPECT_EQ(back->Section(2)->Start, track->Section(0)->Length + track->Section(1)->Length);
  EXPECT_STREQ(back->Tag, "TRAK");
  EXPECT_EQ(back->FormatCode, 3000);
}

TEST(ProjectFile, WritingRefusesWhatCouldNotBeReadBack) {
  RecordingMessages messages;
  TFiller filler(1);
  auto tooMany = testing::TrackWithTraces(17);
  EXPECT_FALSE(WriteProjectImage(*tooMany, filler, messages).has_value());
  // A record index outside its table would overwrite another record.
  auto stale = testing::MixedTrack();
  stale->Section(3)->FirstWall = 6;
  EXPECT_FALSE(WriteProjectImage(*stale, filler, messages).has_value());
  stale->RecomputeRecordIndices();
  stale->Section(1)->FirstAltitude = 7;
  EXPECT_FALSE(WriteProjectImage(*stale, filler, messages).has_value());
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Track: Error writing file!", "Wall: Error writing file!",
                                                         "Altitude: Error writing file!"}));
  for (const auto& shown : messages.shown) {
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
  }
}

// ---- refusals ----

struct Refusal {
  std::string text;
  size_t messages;
};

// Reads into a track that already holds the default track: a refused file must
// leave it exactly as it was.
Refusal ReadRefused(const std::vector<uint8_t>& image) {
  auto track = DefaultTrack();
  auto before = Read(Write(*track));
  RecordingMessages messages;
  EXPECT_FALSE(ReadProjectImage(image, *before, messages));
  ExpectSameTrack(*before, *Read(Write(*track)));
  for (const auto& shown : messages.shown) {
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
  }
  return Refusal{messages.Empty() ? "" : messages.Last().text, messages.shown.size()};
}

// A well-formed file of the mixed track with one plaintext word changed.
std::vector<uint8_t> WithWord(size_t offset, int32_t value) {
  auto track = testing::MixedTrack();
  auto plain = Unsealed(Write(*track));
  SetWordAt(plain, offset, value);
  return testing::Sealed(plain);
}

TEST(ProjectFileRefusals, TheHeaderChecksComeInOrder) {
  auto image = Write(*DefaultTrack());
  EXPECT_EQ(ReadRefused({'M', 'R', 'D'}).text, "Track: Error reading file!");
  EXPECT_EQ(ReadRefused({}).text, "Track: Error reading file!");
  // Too short for the header wins over a wrong magic.
  std::vector<uint8_t> shortJunk(39, 'x');
  EXPECT_EQ(ReadRefused(shortJunk).text, "Track: Error reading file!");

  auto wrongMagic = image;
  wrongMagic[3] = 'X';
  SetWordAt(wrongMagic, 4, 2);
  EXPECT_EQ(ReadRefused(wrongMagic).text, "Not a MERIDAL File !");
  auto lowerCase = image;
  lowerCase[0] = 'm';
  EXPECT_EQ(ReadRefused(lowerCase).text, "Not a MERIDAL File !");

  auto version2 = image;
  SetWordAt(version2, 4, 2);
  const Refusal r = ReadRefused(version2);
  EXPECT_EQ(r.text, "Wrong file version !");
  EXPECT_EQ(r.messages, 1u);

  // A whole header but no whole trace block.
  std::vector<uint8_t> headerOnly(image.begin(), image.begin() + 100);
  EXPECT_EQ(ReadRefused(headerOnly).text, "Track: Error reading file!");
}

TEST(ProjectFileRefusals, ImpossibleCountsAndSizes) {
  const size_t tracesWord = 8 + 4 * 2, sectionsWord = 8 + 4 * 5;
  for (int32_t traces : {0, -1, 17, 0x7fffffff, -0x7fffffff - 1, 3, 1}) {
    const Refusal r = ReadRefused(WithWord(tracesWord, traces));
    EXPECT_EQ(r.text, "Track: Error reading file!") << traces;
    EXPECT_EQ(r.messages, 1u);
  }
  for (int32_t sections : {0, -1, 3, 0x7fffffff, 0x7ffffff, -0x7fffffff - 1})
    EXPECT_EQ(ReadRefused(WithWord(sectionsWord, sections)).text, "Track: Error reading file!") << sections;
  // Five sections would put section 0's record on a wall record: read as a
  // curve, its counts do not add up to the file's size.
  EXPECT_EQ(ReadRefused(WithWord(sectionsWord, 5)).text, "Track: Error reading file!");

  auto image = Write(*testing::MixedTrack());
  // Section records are found from the end: in a file cut short or lengthened at
  // the end, section 0's place holds part of a wall record.
  auto truncated = image;
  truncated.resize(image.size() - 64);
  EXPECT_EQ(ReadRefused(truncated).text, "Track: Error reading file!");
  auto longer = image;
  longer.resize(image.size() + 32);
  EXPECT_EQ(ReadRefused(longer).text, "Track: Error reading file!");
  // Two groups too many before the section table: every record is in place but
  // the size does not add up.
  auto padded = image;
  padded.insert(padded.begin() + static_cast<ptrdiff_t>(image.size() - 4 * 64), 64, 0);
  EXPECT_EQ(ReadRefused(padded).text, "Track: Error reading file!");
  auto ragged = image;
  ragged.resize(image.size() + 5);
  EXPECT_EQ(ReadRefused(ragged).text, "Track: Error reading file!");
}

// The type word's low byte decides the kind, 1 straight and anything else curved;
// the word itself is kept, and written back as it was read.
TEST(ProjectFileRead, AnyTypeWordGivesAStraightOrACurve) {
  auto track = testing::MixedTrack();
  const size_t size = Write(*track).size();
  const size_t straight = size - 4 * 64, curved = size - 64;
  for (const auto& [offset, type, curve] :
       {std::tuple{straight, 0x101, false}, std::tuple{curved, 0, true}, std::tuple{curved, 7, true}}) {
    const auto read = Read(WithWord(offset, type));
    TSection* section = read->Section(offset == straight ? 0 : 3);
    EXPECT_EQ(section->Type, type);
    EXPECT_EQ(section->IsCurved(), curve);
    EXPECT_EQ(section->Length, track->Section(offset == straight ? 0 : 3)->Length);
    EXPECT_EQ(Read(Write(*read))->Section(section->Number)->Type, type);
  }
}

TEST(ProjectFileRefusals, ImpossibleSectionRecords) {
  auto track = testing::MixedTrack();
  const size_t size = Write(*track).size();
  // Section 0 (straight) is the fourth record from the end, section 3 (curved)
  // the last.
  const size_t straight = size - 4 * 64, curved = size - 64;

  EXPECT_EQ(ReadRefused(WithWord(straight + 4 * 12, -1)).text, "Section: Error reading file!");
  EXPECT_EQ(ReadRefused(WithWord(curved + 4 * 11, -0x7fffffff - 1)).text, "Section: Error reading file!");
  // One wall more than the file holds: the size no longer adds up.
  EXPECT_EQ(ReadRefused(WithWord(straight + 4 * 12, 3)).text, "Track: Error reading file!");
  EXPECT_EQ(ReadRefused(WithWord(curved + 4 * 11, 0x7fffffff)).text, "Track: Error reading file!");

  for (int32_t first : {-1, 7, 8, 0x7fffffff, -0x7fffffff - 1})
    EXPECT_EQ(ReadRefused(WithWord(straight + 4 * 9, first)).text, "Altitude: Error reading file!") << first;
  EXPECT_EQ(ReadRefused(WithWord(curved + 4 * 10, 7)).text, "Altitude: Error reading file!");
  for (int32_t first : {-1, 5, 6, 0x7fffffff})
    EXPECT_EQ(ReadRefused(WithWord(curved + 4 * 13, first)).text, "Wall: Error reading file!") << first;
  EXPECT_EQ(ReadRefused(WithWord(straight + 4 * 15, 5)).text, "Wall: Error reading file!");

  // Indices inside their tables are followed as they are, even when they are not
  // the ones the track would compute; reading then puts the indices right.
  const auto shared = Read(WithWord(straight + 4 * 9, 2));  // section 0 reads section 1's altitudes
  EXPECT_EQ(shared->Section(0)->Altitude(1)->HeightAtStart, track->Section(1)->Altitude(1)->HeightAtStart);
  EXPECT_EQ(shared->Section(0)->FirstAltitude, 0);
}

TEST(ProjectFileRefusals, ForeignBytesBehindAGoodHeader) {
  // Random bytes after "MRDL" and version 1 unseal to noise.
  std::mt19937 random(3);
  for (size_t size : {168u, 200u, 424u, 1000u, 4104u}) {
    std::vector<uint8_t> junk(size);
    for (auto& b : junk) b = static_cast<uint8_t>(random());
    std::memcpy(junk.data(), "MRDL", 4);
    SetWordAt(junk, 4, 1);
    EXPECT_EQ(ReadRefused(junk).messages, 1u) << size;
  }
}

TEST(ProjectReader, ReadsNothingOutsideTheFile) {
  const std::vector<uint8_t> bytes(72, 0);
  RecordingMessages messages;
  ProjectReader in(bytes, messages);
  int32_t words[16];
  in.Seek(40);
  EXPECT_TRUE(in.ReadSealed(words, 1));
  EXPECT_FALSE(in.ReadSealed(words, 1));  // 32 bytes from 72 would pass the end
  EXPECT_EQ(in.Position(), 72u);
  in.SeekFromEnd(100);
  EXPECT_FALSE(in.ReadSealed(words, 1));
  in.Seek(UINT64_MAX - 8);
  uint8_t raw[16];
  EXPECT_FALSE(in.ReadBytes(raw, 16));
  EXPECT_TRUE(messages.Empty());
}

}  // namespace
}  // namespace meridal

namespace meridal {
namespace {

TEST(ProjectWriter, SealsEveryRecordWhereverAndWheneverItWasWritten) {
  RecordingMessages messages;
  TFiller filler(5);
  ProjectWriter out(messages, filler);
  // 8 raw bytes, then 300 groups of plaintext written back to front in records of
  // one or two groups, one of them written twice.
  const size_t groups = 300;
  std::vector<uint8_t> plain(8 + groups * 32);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 7 + 3);
  ASSERT_TRUE(out.WriteBytes(plain.data(), 8));
  ASSERT_TRUE(out.WriteZeros(groups * 32));
  auto words = [&](size_t group) {
    std::vector<int32_t> w(16);
    for (size_t k = 0; k < 16 && group * 32 + 4 * k + 4 <= groups * 32; ++k)
      w[k] = WordAt(plain, 8 + group * 32 + 4 * k);
    return w;
  };
  const std::vector<int32_t> junk(16, 12345);
  out.Seek(8 + 10 * 32);
  ASSERT_TRUE(out.WriteSealed(junk.data(), 2));
  for (size_t g = groups; g >= 2; g -= 2) {
    if (g == 2) {  // overwrites a record that still waits to be sealed
      out.Seek(8);
      ASSERT_TRUE(out.WriteSealed(junk.data(), 2));
    }
    out.Seek(8 + (g - 2) * 32);
    ASSERT_TRUE(out.WriteSealed(words(g - 2).data(), 2));
  }
  out.Seek(9);
  EXPECT_FALSE(out.WriteSealed(junk.data(), 1));  // off the group grid

  std::vector<uint8_t> expected = plain;
  SealGroupsScalar(expected.data() + 8, groups, kProjectKey);
  EXPECT_EQ(out.Image(), expected);
  EXPECT_TRUE(messages.Empty());
}

}  // namespace
}  // namespace meridal
