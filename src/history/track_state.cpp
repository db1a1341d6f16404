#include "history/track_state.h"

#include <algorithm>
#include <bit>

#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal::history {

namespace {

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }
bool SameBits(const TPointD& a, const TPointD& b) { return SameBits(a.x, b.x) && SameBits(a.y, b.y); }

}  // namespace

// ---- altitudes and walls ----

AltitudeState AltitudeState::Of(const TAltitude& a) {
  return {a.ThirdOrder, a.SecondOrder, a.FirstOrder, a.HeightAtStart, a.A3, a.B2, a.X, a.Y};
}

void AltitudeState::ApplyTo(TAltitude& a) const {
  a.ThirdOrder = A;
  a.SecondOrder = B;
  a.FirstOrder = C;
  a.HeightAtStart = D;
  a.A3 = A3;
  a.B2 = B2;
  a.X = X;
  a.Y = Y;
}

WallState WallState::Of(const TWall& w) {
  return {w.From, w.To, w.Surface, w.Unk1, w.Height, w.Unk2, w.Unk3, w.Unk4, w.FromPoint, w.ToPoint};
}

void WallState::ApplyTo(TWall& w) const {
  w.From = From;
  w.To = To;
  w.Surface = Surface;
  w.Unk1 = Unk1;
  w.Height = Height;
  w.Unk2 = Unk2;
  w.Unk3 = Unk3;
  w.Unk4 = Unk4;
  w.FromPoint = FromPoint;
  w.ToPoint = ToPoint;
}

bool operator==(const WallState& a, const WallState& b) {
  return a.From == b.From && a.To == b.To && a.Surface == b.Surface && a.Unk1 == b.Unk1 && a.Height == b.Height &&
         a.Unk2 == b.Unk2 && a.Unk3 == b.Unk3 && a.Unk4 == b.Unk4 && SameBits(a.FromPoint, b.FromPoint) &&
         SameBits(a.ToPoint, b.ToPoint);
}

// ---- sections ----

bool operator==(const SectionHeader& a, const SectionHeader& b) {
  return a.curved == b.curved && a.Type == b.Type && a.Start == b.Start && a.Length == b.Length &&
         a.Orientation == b.Orientation && a.Reserved == b.Reserved &&
         std::equal(std::begin(a.ExportWords), std::end(a.ExportWords), std::begin(b.ExportWords)) &&
         a.FirstAltitude == b.FirstAltitude && a.FirstWall == b.FirstWall && SameBits(a.Radius, b.Radius) &&
         SameBits(a.BaseX, b.BaseX) && SameBits(a.BaseY, b.BaseY) && SameBits(a.SpanX, b.SpanX) &&
         SameBits(a.SpanY, b.SpanY) && SameBits(a.StartAngle, b.StartAngle) && a.Extent == b.Extent;
}

SectionHeader SectionHeader::Of(const TSection& s) {
  SectionHeader h;
  h.curved = dynamic_cast<const TCurvedSection*>(&s) != nullptr;
  h.Type = s.Type;
  h.Start = s.Start;
  h.Length = s.Length;
  h.Orientation = s.Orientation;
  h.Reserved = s.Reserved;
  std::copy(std::begin(s.ExportWords), std::end(s.ExportWords), h.ExportWords);
  h.FirstAltitude = s.FirstAltitude;
  h.FirstWall = s.FirstWall;
  h.Radius = s.Radius;
  h.BaseX = s.BaseX;
  h.BaseY = s.BaseY;
  h.SpanX = s.SpanX;
  h.SpanY = s.SpanY;
  h.StartAngle = s.StartAngle;
  h.Extent = s.Extent;
  return h;
}

void SectionHeader::ApplyTo(TSection& s) const {
  s.Type = Type;
  s.Start = Start;
  s.Length = Length;
  s.Orientation = Orientation;
  s.Reserved = Reserved;
  std::copy(std::begin(ExportWords), std::end(ExportWords), s.ExportWords);
  s.FirstAltitude = FirstAltitude;
  s.FirstWall = FirstWall;
  s.Radius = Radius;
  s.BaseX = BaseX;
  s.BaseY = BaseY;
  s.SpanX = SpanX;
  s.SpanY = SpanY;
  s.StartAngle = StartAngle;
  s.Extent = Extent;
}

SectionState SectionState::Of(const TSection& s) {
  SectionState state;
  state.header = SectionHeader::Of(s);
  state.altitudes.reserve(s.Altitudes.size());
  for (const auto& a : s.Altitudes) state.altitudes.push_back(AltitudeState::Of(*a));
  state.walls.reserve(s.Walls.size());
  for (const auto& w : s.Walls) state.walls.push_back(WallState::Of(*w));
  return state;
}

std::unique_ptr<TSection> SectionState::Build(TTrack& track, int number) const {
  std::unique_ptr<TSection> section;
  if (header.curved) section = std::make_unique<TCurvedSection>(&track);
  else section = std::make_unique<TStraightSection>(&track);
  header.ApplyTo(*section);
  section->Number = number;
  for (size_t i = 0; i < altitudes.size(); ++i) {
    auto altitude = std::make_unique<TAltitude>(section.get());
    altitudes[i].ApplyTo(*altitude);
    altitude->Number = static_cast<int32_t>(i);
    section->Altitudes.push_back(std::move(altitude));
  }
  for (size_t k = 0; k < walls.size(); ++k) {
    auto wall = std::make_unique<TWall>(section.get());
    walls[k].ApplyTo(*wall);
    wall->Number = static_cast<int32_t>(k);
    section->Walls.push_back(std::move(wall));
  }
  return section;
}

size_t SectionState::Bytes() const { return sizeof(*this) + VectorBytes(altitudes) + VectorBytes(walls); }

bool SectionDelta::Between(const SectionState& before, const TSection& after, SectionDelta& delta) {
  delta.before = before.header;
  delta.altitudes.clear();
  delta.walls.clear();
  bool changed = !(before.header == SectionHeader::Of(after));
  // The counts of altitudes and walls are the business of the structural steps.
  const size_t altitudes = std::min(before.altitudes.size(), after.Altitudes.size());
  for (size_t i = 0; i < altitudes; ++i)
    if (!(before.altitudes[i] == AltitudeState::Of(*after.Altitudes[i])))
      delta.altitudes.emplace_back(static_cast<int>(i), before.altitudes[i]);
  const size_t walls = std::min(before.walls.size(), after.Walls.size());
  for (size_t k = 0; k < walls; ++k)
    if (!(before.walls[k] == WallState::Of(*after.Walls[k])))
      delta.walls.emplace_back(static_cast<int>(k), before.walls[k]);
  delta.altitudes.shrink_to_fit();
  delta.walls.shrink_to_fit();
  return changed || !delta.altitudes.empty() || !delta.walls.empty();
}

void SectionDelta::Restore(TSection& section) const {
  before.ApplyTo(section);
  for (const auto& [i, state] : altitudes)
    if (i < section.NumberOfAltitudes()) state.ApplyTo(*section.Altitude(i));
  for (const auto& [k, state] : walls)
    if (k < section.NumberOfWalls()) state.ApplyTo(*section.Wall(k));
}

size_t SectionDelta::Bytes() const { return sizeof(*this) + VectorBytes(altitudes) + VectorBytes(walls); }

// ---- the track ----

TrackScalars TrackScalars::Of(const TTrack& track) {
  TrackScalars s;
  s.Length = track.Length;
  s.WallTableSize = track.WallTableSize;
  s.SectionTableSize = track.SectionTableSize;
  s.Extent = track.Extent;
  s.Traces = track.Traces;
  int32_t start = 0;
  for (int i = 0; i < track.NumberOfSections(); ++i) {
    const TSection* section = track.Section(i);
    if (section->Start != start) s.startsSetByName.emplace_back(i, section->Start);
    start = wrapAdd(start, section->Length);
  }
  return s;
}

void TrackScalars::Restore(TTrack& track) const {
  track.RecomputeStarts();
  for (const auto& [i, start] : startsSetByName)
    if (i < track.NumberOfSections()) track.Section(i)->Start = start;
  track.Length = Length;
  track.WallTableSize = WallTableSize;
  track.SectionTableSize = SectionTableSize;
  track.Extent = Extent;
  track.Traces = Traces;
}

size_t TrackScalars::Bytes() const { return sizeof(*this) + VectorBytes(Traces) + VectorBytes(startsSetByName); }

}  // namespace meridal::history
