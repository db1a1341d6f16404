#include "graphics/highlight.h"

#include "model/track.h"

namespace meridal {

void SetHighlight(const TTrack& track, const TObjectPath& path) {
  for (auto& section : track.Sections) section->SelectedChild = section->SelectedItem = -1;
  track.SelectedChild = track.SelectedItem = -1;
  if (path.kind == TObjectPath::Kind::Track || path.section < 0 || path.section >= track.NumberOfSections()) return;
  TSection* section = track.Section(path.section);
  track.SelectedChild = path.section;
  if (path.kind == TObjectPath::Kind::Wall) section->SelectedChild = path.child;
  if (path.kind == TObjectPath::Kind::Altitude) section->SelectedItem = path.child;
}

}  // namespace meridal
