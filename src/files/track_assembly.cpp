#include "files/track_assembly.h"

#include <cstring>

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal {

std::unique_ptr<TSection> NewSectionOfType(TTrack& track, int32_t type) {
  std::unique_ptr<TSection> section;
  if (IsStraightType(type))
    section = std::make_unique<TStraightSection>(&track);
  else
    section = std::make_unique<TCurvedSection>(&track);
  section->Type = type;
  return section;
}

std::unique_ptr<TWall> NewWall(TSection* owner, const int32_t v[8]) {
  auto wall = std::make_unique<TWall>(owner);
  wall->From = v[0];
  wall->To = v[1];
  wall->Surface = v[2];
  wall->Unk1 = v[3];
  wall->Height = v[4];
  wall->Unk2 = v[5];
  wall->Unk3 = v[6];
  wall->Unk4 = v[7];
  return wall;
}

std::unique_ptr<TAltitude> NewAltitude(TSection* owner, const int32_t v[8]) {
  auto altitude = std::make_unique<TAltitude>(owner);
  altitude->ThirdOrder = v[0];
  altitude->SecondOrder = v[1];
  altitude->FirstOrder = v[2];
  altitude->HeightAtStart = v[3];
  altitude->A3 = v[4];
  altitude->B2 = v[5];
  altitude->X = v[6];
  altitude->Y = v[7];
  return altitude;
}

void InstallReadTrack(TTrack& track, std::vector<int32_t>&& traces,
                      std::vector<std::unique_ptr<TSection>>&& sections) {
  track.Traces = std::move(traces);
  track.Sections = std::move(sections);
  for (int i = 0; i < track.NumberOfSections(); ++i) {
    TSection& s = *track.Section(i);
    s.Number = i;
    for (int k = 0; k < s.NumberOfAltitudes(); ++k) s.Altitude(k)->Number = k;
    for (int k = 0; k < s.NumberOfWalls(); ++k) s.Wall(k)->Number = k;
    s.RecomputeExportWords();
    s.RecomputeDerived();
  }
  track.Number = 0;
  std::memcpy(track.Tag, "TRAK", 5);
  track.FormatCode = 3000;
  track.RecomputeRecordIndices();
  track.RecomputeStarts();
  track.UpdateExtent();
}

}  // namespace meridal
