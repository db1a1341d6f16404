// Every file Meridal writes, it reads back: a track that any reader takes, with
// whatever values a file may hold, converts to each other format and reads back
// as the same track.
#include <gtest/gtest.h>

#include "support/convert_back.h"
#include "support/recording_messages.h"

namespace meridal {
namespace {

TEST(ConvertBack, AnyTrackAReaderTakesReadsBackFromEveryFormat) {
#ifdef MERIDAL_SANITIZE_BUILD
  constexpr int kRounds = 60;  // a round takes ten times as long under the sanitizers
#else
  constexpr int kRounds = 300;
#endif
  std::mt19937 rng(18);
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    auto built = testing::AnyReadableTrack(rng);
    for (TrackFormat source : {TrackFormat::Project, TrackFormat::TrackFile, TrackFormat::Json}) {
      // The track as this format's reader takes it from its own file.
      testing::RecordingMessages messages;
      TFiller filler(5);
      auto image = WriteTrackImage(source, *built, filler, messages);
      ASSERT_TRUE(image);
      TTrack read;
      ASSERT_TRUE(ReadTrackImage(source, std::move(*image), read, messages)) << messages.Last().text;
      EXPECT_EQ(testing::ConvertBackProblem(read), "") << "from " << TrackFormatExtension(source);
    }
  }
}

}  // namespace
}  // namespace meridal
