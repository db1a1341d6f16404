#include "files/json/track_json_writer.h"

#include <algorithm>
#include <charconv>

#include "files/json/track_json_format.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/track.h"

namespace meridal {

void TrackJsonWriter::Number(long long value) {
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  out_.append(buffer, end);
}

void TrackJsonWriter::Key(const char* key, long long value) {
  if (!first_) out_ += ", ";
  first_ = false;
  out_ += '"';
  out_ += key;
  out_ += "\": ";
  Number(value);
}

void TrackJsonWriter::Section(const TSection& s) {
  out_ += "    {\"type\": ";
  if (s.Type == kStraight)
    out_ += "\"straight\"";
  else if (s.Type == kCurved)
    out_ += "\"curved\"";
  else
    Number(s.Type);
  first_ = false;
  Key("length", s.Length);
  Key("orientation", s.Orientation);
  if (const auto* curve = dynamic_cast<const TCurvedSection*>(&s)) {
    Key("curveCenterX", curve->CurveCenterX());
    Key("curveCenterY", curve->CurveCenterY());
    Key("curvature", curve->Curvature());
  }
  out_ += ",\n      \"walls\": [";
  for (int k = 0; k < s.NumberOfWalls(); ++k) {
    const TWall& w = *s.Wall(k);
    const int32_t values[8] = {w.From, w.To, w.Surface, w.Unk1, w.Height, w.Unk2, w.Unk3, w.Unk4};
    out_ += k == 0 ? "\n        {" : ",\n        {";
    first_ = true;
    for (int f = 0; f < 8; ++f) Key(kJsonWallKeys[f], values[f]);
    out_ += '}';
  }
  out_ += s.NumberOfWalls() > 0 ? "\n      ],\n      \"altitudes\": [" : "],\n      \"altitudes\": [";
  for (int i = 0; i < s.NumberOfAltitudes(); ++i) {
    const TAltitude& a = *s.Altitude(i);
    const int32_t values[8] = {a.ThirdOrder, a.SecondOrder, a.FirstOrder, a.HeightAtStart, a.A3, a.B2, a.X, a.Y};
    out_ += i == 0 ? "\n        {" : ",\n        {";
    first_ = true;
    for (int f = 0; f < 8; ++f) {
      if (f == kJsonA3 && a.A3 == wrapMul(3, a.ThirdOrder)) continue;
      if (f == kJsonB2 && a.B2 == wrapMul(2, a.SecondOrder)) continue;
      Key(kJsonAltitudeKeys[f], values[f]);
    }
    out_ += '}';
  }
  out_ += s.NumberOfAltitudes() > 0 ? "\n      ]}" : "]}";
}

std::string TrackJsonWriter::Write(const TTrack& track) { return Write(track, 0, track.NumberOfSections()); }

std::string TrackJsonWriter::Write(const TTrack& track, int first, int count) {
  out_.clear();
  first = std::clamp(first, 0, track.NumberOfSections());
  const int end = first + std::clamp(count, 0, track.NumberOfSections() - first);
  // About 130 bytes an altitude or wall line: one allocation for the whole text.
  size_t lines = 0;
  for (int s = first; s < end; ++s) lines += 3 + track.Section(s)->Altitudes.size() + track.Section(s)->Walls.size();
  out_.reserve(128 + 130 * lines);

  out_ += "{\n  \"format\": \"";
  out_ += kJsonFormatName;
  out_ += "\",\n  \"version\": ";
  Number(kJsonVersion);
  out_ += ",\n  \"traces\": [";
  for (size_t i = 0; i < track.Traces.size(); ++i) {
    if (i > 0) out_ += ", ";
    Number(track.Traces[i]);
  }
  out_ += "],\n  \"sections\": [";
  for (int s = first; s < end; ++s) {
    out_ += s == first ? "\n" : ",\n";
    Section(*track.Section(s));
  }
  out_ += "\n  ]\n}\n";
  return std::move(out_);
}

}  // namespace meridal
