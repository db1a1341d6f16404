#pragma once
// Random tracks and their files for the import and JSON tests.
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "present/property_rows.h"
#include "file_test_support.h"
#include "files/project/project_io.h"
#include "files/track_formats.h"
#include "files/json/track_json_writer.h"
#include "support/recording_messages.h"

namespace meridal::testing {

// A track of 1 to 6 sections of every kind (straights, arcs to the left and the
// right), 1 to 16 traces, 0 to 4 walls a section and varied values everywhere,
// some altitudes with an A3 or B2 set apart from its coefficient (as a track file
// may hold them) and some type words other than 1 and 2 (as old files hold them).
inline std::unique_ptr<TTrack> RandomTrack(std::mt19937& rng) {
  auto pick = [&](int64_t lo, int64_t hi) {
    return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(lo, hi)(rng));
  };
  auto track = std::make_unique<TTrack>();
  int32_t trace = pick(-600000, -100000);
  for (int i = pick(1, 16); i > 0; --i) track->Traces.push_back(trace += pick(1, 60000));
  const int sections = pick(1, 6);
  for (int n = 0; n < sections; ++n) {
    auto straight = std::make_unique<TStraightSection>(track.get());
    straight->SetDefaults();
    straight->Number = n;
    straight->Walls.clear();
    int32_t from = pick(-500000, 0), to = pick(-500000, 0);
    for (int k = pick(0, 4); k > 0; --k) {
      auto wall = std::make_unique<TWall>(straight.get());
      wall->Number = straight->NumberOfWalls();
      wall->From = from += pick(0, 90000);
      wall->To = to += pick(0, 90000);
      wall->Surface = pick(0, 3000);
      wall->Unk1 = pick(-5, 5);
      wall->Height = pick(0, 30000);
      wall->Unk2 = pick(INT32_MIN, INT32_MAX);
      wall->Unk3 = pick(-100, 100);
      wall->Unk4 = pick(INT32_MIN, INT32_MAX);
      straight->Walls.push_back(std::move(wall));
    }
    for (auto& a : straight->Altitudes) {
      a->SetValue("3rd order coeff.", pick(-40000, 40000));
      a->SetValue("2nd order coeff.", pick(-40000, 40000));
      a->FirstOrder = pick(-40000, 40000);
      a->HeightAtStart = pick(-100000, 100000);
      if (pick(0, 5) == 0) a->A3 = pick(INT32_MIN, INT32_MAX);
      if (pick(0, 5) == 0) a->B2 = pick(INT32_MIN, INT32_MAX);
    }
    straight->SetLength(pick(1, 3000000));
    std::unique_ptr<TSection> section;
    const int kind = pick(0, 2);
    if (kind == 0) {
      section = std::move(straight);
    } else {
      auto curve = std::make_unique<TCurvedSection>(track.get(), *straight);
      curve->SetCurvature(kind == 1 ? pick(1000000, 500000000) : -pick(1000000, 500000000));
      section = std::move(curve);
    }
    section->SetOrientation(pick(INT32_MIN, INT32_MAX));
    section->SetStart(pick(-20000000, 20000000), pick(-20000000, 20000000));
    if (pick(0, 7) == 0) section->Type = (section->Type == kStraight ? 0x0101 : 0x0107);
    track->Sections.push_back(std::move(section));
  }
  track->RecomputeRecordIndices();
  track->RecomputeStarts();
  track->UpdateExtent();
  return track;
}

// Every object's rows, as the property list would show them.
inline std::vector<RowList> AllRows(TTrack& track) {
  std::vector<RowList> all(1);
  FillProperties(track, all.back());
  for (auto& s : track.Sections) {
    FillProperties(*s, all.emplace_back());
    for (auto& a : s->Altitudes) FillProperties(*a, all.emplace_back());
    for (auto& w : s->Walls) FillProperties(*w, all.emplace_back());
  }
  return all;
}

inline std::vector<uint8_t> ExportOf(TTrack& track) {
  RecordingMessages messages;
  return ExportTrackImage(track, messages).value_or(std::vector<uint8_t>{});
}

inline std::string JsonOf(const TTrack& track) { return TrackJsonWriter().Write(track); }

inline std::vector<uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Reads an image; the track is built only when the read succeeds.
inline std::unique_ptr<TTrack> ReadAs(TrackFormat format, std::vector<uint8_t> image, RecordingMessages& messages) {
  auto track = std::make_unique<TTrack>();
  if (!ReadTrackImage(format, std::move(image), *track, messages)) return nullptr;
  return track;
}

}  // namespace meridal::testing
