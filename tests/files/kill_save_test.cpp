// A save killed at any moment: a child process saves a large track over the same
// file again and again, alternating two versions, and is killed with SIGKILL at a
// random moment. Afterwards the file must read as one of the two versions, never
// as anything else. A killed save leaves its temporary file behind; the next save
// that completes removes it. Where the folder takes no temporary file and the
// file is written in place, a torn file's copy in the cache folder reads whole.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "model/synthetic_track.h"
#include "model/track.h"
#include "files/project/project_io.h"
#include "files/track_formats.h"
#include "support/recording_messages.h"
#include "support/failing_calls.h"

namespace meridal {
namespace {

namespace fs = std::filesystem;

#ifdef MERIDAL_SANITIZE_BUILD
constexpr int kKills = 20;  // a save and its check take ten times as long under the sanitizers
#else
constexpr int kKills = 200;
#endif

// The track file image: the same track always gives the same bytes, unlike the
// project file, whose fillers differ from save to save.
std::vector<uint8_t> Fingerprint(TTrack& track) {
  testing::RecordingMessages messages;
  return ExportTrackImage(track, messages).value();
}

[[noreturn]] void SaveForever(const std::string& path, TTrack& a, TTrack& b) {
  testing::RecordingMessages messages;
  TFiller filler{7};
  for (unsigned round = 0;; ++round) SaveProjectFile(path, round % 2 ? a : b, filler, messages);
}

TEST(KillDuringSave, TheFileIsAlwaysTheOldOrTheNewTrack) {
  const fs::path dir = fs::path(MERIDAL_TEST_TMPDIR) / "kill-save";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string path = (dir / "big.mrd").string();

  auto a = SyntheticTrack(10000);
  auto b = SyntheticTrack(10000);
  b->Section(5000)->Altitude(3)->HeightAtStart += 1000;
  const auto fingerprintA = Fingerprint(*a), fingerprintB = Fingerprint(*b);
  ASSERT_NE(fingerprintA, fingerprintB);

  testing::RecordingMessages messages;
  TFiller filler{1};
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(SaveProjectFile(path, *a, filler, messages), FileStatus::Ok);
  const auto saveTime = std::chrono::steady_clock::now() - started;

  // Kills spread over two saves' time, so that they land in every step of a save:
  // sealing, writing, flushing, renaming, and between saves.
  std::random_device seeds;
  const unsigned seed = seeds();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int64_t> delay(0, 2 * std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count());

  int readA = 0, readB = 0, temporaryFiles = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(path, *a, *b);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    TTrack read;
    ASSERT_EQ(LoadProjectFile(path, read, messages), FileStatus::Ok) << "after kill " << kill;
    const auto fingerprint = Fingerprint(read);
    ASSERT_TRUE(fingerprint == fingerprintA || fingerprint == fingerprintB) << "after kill " << kill;
    (fingerprint == fingerprintA ? readA : readB)++;
    for (const auto& entry : fs::directory_iterator(dir)) temporaryFiles += entry.path() != path;
  }
  // The next save tidies up after the killed ones.
  ASSERT_EQ(SaveProjectFile(path, *a, filler, messages), FileStatus::Ok);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  RecordProperty("kills", kKills);
  RecordProperty("old", readA);
  RecordProperty("new", readB);
  RecordProperty("temporary_files_seen", temporaryFiles);
  std::printf("%d kills: %d times the one version, %d times the other; %d temporary files seen after kills, "
              "none after the next save\n",
              kKills, readA, readB, temporaryFiles);
  EXPECT_TRUE(messages.Empty());
  fs::remove_all(dir);
}

// The fingerprint of the track in a project file, or nothing when it does not read.
std::optional<std::vector<uint8_t>> FingerprintOf(const fs::path& path) {
  testing::RecordingMessages messages;
  TTrack track;
  if (LoadProjectFile(path.string(), track, messages) != FileStatus::Ok) return std::nullopt;
  return Fingerprint(track);
}

// Saves in place: the folder refuses the temporary file, on a disk that takes its time.
FileOutcome SaveInPlace(const fs::path& path, TTrack& track, TFiller& filler) {
  testing::RecordingMessages messages;
  testing::FailingCalls calls;
  calls.folderRefuses = true;
  calls.slowDisk = true;
  ReplaceOptions inPlace;
  inPlace.inPlaceAllowed = true;
  return SaveTrackFile(path.string(), TrackFormat::Project, track, filler, messages, calls, inPlace);
}

TEST(KillDuringSaveInPlace, TheFileOrItsCopyIsAlwaysTheOldOrTheNewTrack) {
  const fs::path dir = fs::path(MERIDAL_TEST_TMPDIR) / "kill-in-place", copies = dir / "cache" / "meridal";
  fs::remove_all(dir);
  fs::create_directories(dir / "tracks");
  fs::create_directories(copies);
  setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
  const fs::path path = dir / "tracks" / "big.mrd";
  auto a = SyntheticTrack(1500), b = SyntheticTrack(1550);  // two sizes: torn between them, a file does not read
  const auto fingerprintA = Fingerprint(*a), fingerprintB = Fingerprint(*b);
  TFiller filler{1};
  testing::RecordingMessages messages;
  ASSERT_EQ(SaveProjectFile(path.string(), *a, filler, messages), FileStatus::Ok);
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(SaveInPlace(path, *a, filler).inPlace);
  const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
  std::random_device seeds;
  const unsigned seed = seeds();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int64_t> delay(0, 2 * saveTime.count());

  const int kills = kKills / 4;
  int whole = 0, torn = 0;
  for (int kill = 0; kill < kills; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
      for (unsigned round = 0;; ++round) SaveInPlace(path, round % 2 ? *a : *b, filler);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    std::optional<fs::path> copy;  // the killed save's, if it got so far; a ".partial" one had not touched the file
    for (const auto& entry : fs::directory_iterator(copies))
      if (entry.path().extension() == ".backup") copy = entry.path();
    const auto read = FingerprintOf(path);
    const auto kept = read ? read : copy ? FingerprintOf(*copy) : std::nullopt;
    ASSERT_TRUE(kept && (*kept == fingerprintA || *kept == fingerprintB)) << "after kill " << kill;
    (read ? whole : torn)++;
    if (!read) fs::copy_file(*copy, path, fs::copy_options::overwrite_existing);  // as the user would
    for (const auto& entry : fs::directory_iterator(copies)) fs::remove(entry.path());
  }
  RecordProperty("file_whole", whole);
  RecordProperty("file_torn_copy_whole", torn);
  std::printf("%d kills during saves in place: the file read whole %d times; torn %d times, and its copy read "
              "whole each time\n", kills, whole, torn);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace meridal
