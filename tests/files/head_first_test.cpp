// A large file's magic and header are looked at before the rest is read: a
// gigabyte of zeros is refused having read 64 KB of it, with the message its
// reader gives, and every header refusal of a large file is the reader's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "file_test_support.h"
#include "files/track_format_heads.h"
#include "format_test_support.h"
#include "model/synthetic_track.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessages;

// The bytes this process has read from files so far.
uint64_t BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  uint64_t value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return 0;
}

TEST(HeadFirst, AGigabyteOfZerosIsRefusedHavingReadItsHeadOnly) {
  const fs::path dir = fs::path(MERIDAL_TEST_TMPDIR) / "head-first";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::pair<const char*, const char*> cases[] = {
      {"zeros.mrd", "Not a MERIDAL File !"},
      {"zeros", "Not a MERIDAL File !"},  // no extension: the head looks like no other format
      {"zeros.trk", "Track file: the file does not begin with KART"},
      {"zeros.json",
       "JSON file, line 1: syntax error while parsing value - unexpected \\x00; expected '[', '{', or a literal"},
  };
  for (const auto& [name, message] : cases) {
    SCOPED_TRACE(name);
    const fs::path path = dir / name;
    std::ofstream(path).close();
    fs::resize_file(path, uint64_t{1} << 30);  // sparse: no disk is spent on it
    RecordingMessages messages;
    TTrack track;
    const uint64_t before = BytesRead();
    EXPECT_EQ(LoadTrackFile(path.string(), std::nullopt, track, messages).status, FileStatus::Failed);
    EXPECT_LE(BytesRead() - before, uint64_t{1} << 20);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.Last().text, message);
    fs::remove(path);
  }
  fs::remove_all(dir);
}

// The reader's own message for a whole image, and what the head alone says.
void ExpectTheReadersRefusal(TrackFormat format, const std::vector<uint8_t>& image) {
  ASSERT_GT(image.size(), kHeadBytes);
  RecordingMessages messages;
  TTrack track;
  ASSERT_FALSE(ReadTrackImage(format, std::vector<uint8_t>(image), track, messages));
  const std::span<const uint8_t> head(image.data(), kHeadBytes);
  EXPECT_EQ(HeadRefusal(format, head, image.size()).value_or("taken"), messages.Last().text);
}

TEST(HeadFirst, AHeadIsRefusedAsItsReaderRefusesTheWholeFile) {
  auto track = SyntheticTrack(600, 4, 3);
  const auto trk = testing::ExportOf(*track);
  EXPECT_FALSE(HeadRefusal(TrackFormat::TrackFile, std::span(trk).first(kHeadBytes), trk.size()));
  for (const auto& [offset, value] : {std::pair<size_t, int32_t>{0, 0x4B524154}, {4, 3001}, {12, 0}, {12, 17},
                                      {16, 0}, {24, 52 * 599}, {20, -32}, {20, 33}, {16, 100000}}) {
    SCOPED_TRACE(offset);
    auto bad = trk;
    testing::SetWordAt(bad, offset, value);
    if (offset == 16) testing::SetWordAt(bad, 24, 52 * value);
    ExpectTheReadersRefusal(TrackFormat::TrackFile, bad);
  }

  TFiller filler(3);
  RecordingMessages quiet;
  const auto mrd = WriteProjectImage(*track, filler, quiet).value();
  EXPECT_FALSE(HeadRefusal(TrackFormat::Project, std::span(mrd).first(kHeadBytes), mrd.size()));
  for (const auto& [offset, value] : {std::pair<size_t, int32_t>{0, 0x4C44524E}, {4, 2}, {8 + 4 * kHeaderTracesWord, 0},
                                      {8 + 4 * kHeaderTracesWord, 17}, {8 + 4 * kHeaderSectionsWord, 0},
                                      {8 + 4 * kHeaderSectionsWord, 900000}}) {
    SCOPED_TRACE(offset);
    auto plain = testing::Unsealed(mrd);
    testing::SetWordAt(plain, offset, value);
    ExpectTheReadersRefusal(TrackFormat::Project, testing::Sealed(plain));
  }
  auto uneven = mrd;
  uneven.push_back(0);
  ExpectTheReadersRefusal(TrackFormat::Project, uneven);
  const std::string json = testing::JsonOf(*track);  // JSON heads: the JSON reader's tests
  EXPECT_FALSE(HeadRefusal(TrackFormat::Json, testing::BytesOf(json.substr(0, kHeadBytes)), json.size()));
}

}  // namespace
}  // namespace meridal
