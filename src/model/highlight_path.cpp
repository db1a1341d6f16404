#include "model/highlight_path.h"

#include "model/track.h"

namespace meridal {

TObjectPath HighlightPath(const TTrack& track) {
  const TSection* section = track.HighlightedSection();
  if (section == nullptr) return TObjectPath::Track();
  const int s = track.SelectedChild;
  if (section->SelectedChild >= 0 && section->SelectedChild < section->NumberOfWalls())
    return TObjectPath::Wall(s, section->SelectedChild);
  if (section->SelectedItem >= 0 && section->SelectedItem < section->NumberOfAltitudes())
    return TObjectPath::Altitude(s, section->SelectedItem);
  return TObjectPath::Section(s);
}

}  // namespace meridal
