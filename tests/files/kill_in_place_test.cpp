// A save in place killed at any moment: the folder takes no temporary file, so a
// child process writes a large track over the file itself, again and again,
// alternating two versions of different sizes on a slow disk, and is killed with
// SIGKILL at a random moment.
// Afterwards either the file or the copy the save kept of it in the cache folder
// reads as one of the two versions. A torn file is put back from its copy, as a
// user would, before the next round.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "files/track_formats.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "support/recording_messages.h"
#include "support/refusing_calls.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;

#ifdef MERIDAL_SANITIZE_BUILD
constexpr int kKills = 10;
#else
constexpr int kKills = 50;
#endif

std::vector<uint8_t> Fingerprint(TTrack& track) {
  testing::RecordingMessages messages;
  return ExportTrackImage(track, messages).value();
}

// The fingerprint of the track in a project file, or nothing when it does not read.
std::optional<std::vector<uint8_t>> ReadAs(const fs::path& path) {
  testing::RecordingMessages messages;
  TTrack track;
  if (LoadTrackFile(path.string(), TrackFormat::Project, track, messages).status != FileStatus::Ok) return std::nullopt;
  return Fingerprint(track);
}

[[noreturn]] void SaveInPlaceForever(const std::string& path, TTrack& a, TTrack& b) {
  testing::RecordingMessages messages;
  testing::RefusingCalls calls;
  calls.refusingFolder = fs::path(path).parent_path().string();
  calls.slowDisk = true;
  ReplaceOptions inPlace;
  inPlace.inPlaceAllowed = true;
  TFiller filler{7};
  for (unsigned round = 0;; ++round)
    SaveTrackFile(path, TrackFormat::Project, round % 2 ? a : b, filler, messages, calls, inPlace);
}

TEST(KillDuringSaveInPlace, TheFileOrItsCopyIsAlwaysTheOldOrTheNewTrack) {
  const fs::path dir = fs::path(MERIDAL_TEST_TMPDIR) / "kill-in-place";
  const fs::path copies = dir / "cache" / "meridal";
  fs::remove_all(dir);
  fs::create_directories(dir / "tracks");
  fs::create_directories(copies);
  setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  const fs::path path = dir / "tracks" / "big.mrd";

  // Two sizes: a file torn between them does not read.
  auto a = SyntheticTrack(1500);
  auto b = SyntheticTrack(1550);
  const auto fingerprintA = Fingerprint(*a), fingerprintB = Fingerprint(*b);
  testing::RecordingMessages messages;
  TFiller filler{1};
  ASSERT_EQ(SaveTrackFile(path.string(), TrackFormat::Project, *a, filler, messages).status, FileStatus::Ok);
  testing::RefusingCalls calls;
  calls.refusingFolder = path.parent_path().string();
  calls.slowDisk = true;
  ReplaceOptions inPlace;
  inPlace.inPlaceAllowed = true;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(SaveTrackFile(path.string(), TrackFormat::Project, *a, filler, messages, calls, inPlace).inPlace);
  const auto saveTime = std::chrono::steady_clock::now() - started;

  std::random_device seeds;
  const unsigned seed = seeds();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // Kills spread over two saves' time: reading, copying, syncing, writing, syncing.
  std::uniform_int_distribution<int64_t> delay(
      0, 2 * std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count());

  int whole = 0, torn = 0, copiesLeft = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveInPlaceForever(path.string(), *a, *b);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    // The copy the killed save kept, if it got so far.
    std::optional<fs::path> copy;
    for (const auto& entry : fs::directory_iterator(copies)) {
      if (entry.path().extension() == ".backup") copy = entry.path();
      else fs::remove(entry.path());  // a copy still being written: the file was not touched yet
    }
    const auto file = ReadAs(path);
    if (file) {
      ASSERT_TRUE(*file == fingerprintA || *file == fingerprintB) << "after kill " << kill;
      ++whole;
    } else {
      ASSERT_TRUE(copy) << "torn, and no copy, after kill " << kill;
      const auto kept = ReadAs(*copy);
      ASSERT_TRUE(kept && (*kept == fingerprintA || *kept == fingerprintB)) << "after kill " << kill;
      fs::copy_file(*copy, path, fs::copy_options::overwrite_existing);
      ++torn;
    }
    if (copy) {
      ++copiesLeft;
      fs::remove(*copy);
    }
  }
  RecordProperty("kills", kKills);
  RecordProperty("file_whole", whole);
  RecordProperty("file_torn_copy_whole", torn);
  std::printf("%d kills during saves in place: the file read whole %d times; torn %d times, and each time its "
              "copy read whole; %d copies left by killed saves\n",
              kKills, whole, torn, copiesLeft);
  EXPECT_TRUE(messages.Empty());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace meridal
