#pragma once
// TrackJsonWriter: a track as its JSON text (see track_json_format.h).
#include <string>

namespace meridal {

class TTrack;
class TSection;

class TrackJsonWriter {
 public:
  std::string Write(const TTrack& track);
  // The same form holding only the sections from `first` on, `count` of them,
  // with the track's traces (what the clipboard carries of a run of sections).
  std::string Write(const TTrack& track, int first, int count);

 private:
  void Section(const TSection& section);
  void Key(const char* key, long long value);  // ", " before every key but an object's first
  void Number(long long value);
  std::string out_;
  bool first_ = true;
};

}  // namespace meridal
