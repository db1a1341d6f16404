#include "files/track_assembly.h"

#include <cstring>

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal {

std::unique_ptr<TSection> NewSectionOfType(TTrack& track, int32_t type) {
  std::unique_ptr<TSection> section;
  if (IsStraightTypeWord(type))
    section = std::make_unique<TStraightSection>(&track);
  else
    section = std::make_unique<TCurvedSection>(&track);
  section->Type = type;
  return section;
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
    s.SelectedChild = -1;
    s.SelectedItem = -1;
  }
  track.Number = 0;
  std::memcpy(track.Tag, "TRAK", 5);
  track.FormatCode = 3000;
  track.SelectedChild = -1;
  track.SelectedItem = -1;
  track.RecomputeRecordIndices();
  track.RecomputeStarts();
  track.UpdateExtent();
}

}  // namespace meridal
