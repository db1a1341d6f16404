#pragma once
// TrackJsonWriter: a track as its JSON text (see track_json_format.h).
#include <string>

namespace meridal {

class TTrack;
class TSection;

class TrackJsonWriter {
 public:
  std::string Write(const TTrack& track);

 private:
  void Section(const TSection& section);
  void Key(const char* key, long long value);  // ", " before every key but an object's first
  void Number(long long value);
  std::string out_;
  bool first_ = true;
};

}  // namespace meridal
