#include "present/object_labels.h"

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "platform/edit_commands.h"
#include "present/format.h"

namespace meridal {

namespace {

// Sets the eight command items (the separators are left alone).
void EnableItems(IEditCommands& menu, bool structural, bool sectionOnly, bool copyAltitude) {
  menu.SetEnabled(kEditRemove, structural);
  menu.SetEnabled(kEditAddBefore, structural);
  menu.SetEnabled(kEditAddAfter, structural);
  menu.SetEnabled(kEditSplit, sectionOnly);
  menu.SetEnabled(kEditChangeType, sectionOnly);
  menu.SetEnabled(kEditCopyWallsFrom, sectionOnly);
  menu.SetEnabled(kEditCopyWallsToAll, sectionOnly);
  menu.SetEnabled(kEditCopyAltitude, copyAltitude);
}

}  // namespace

// ---- labels ----
// "%s %i" of the kind's word and the number (and "%s %i %s" with the section's
// kind), put together without a format string: a trace edit relabels tens of
// thousands of nodes.

std::string Label(const TBase& object) {
  if (dynamic_cast<const TCurvedSection*>(&object)) return "Section " + std::to_string(object.Number) + " (curved)";
  if (dynamic_cast<const TSection*>(&object)) return "Section " + std::to_string(object.Number) + " (straight)";
  if (const auto* wall = dynamic_cast<const TWall*>(&object)) return Label(*wall);
  if (const auto* altitude = dynamic_cast<const TAltitude*>(&object)) return Label(*altitude);
  return "Track";
}

std::string Label(const TWall& wall) { return "Wall " + std::to_string(wall.Number); }
std::string Label(const TAltitude& altitude) { return "Altitude " + std::to_string(altitude.Number); }

// ---- Edit commands ----

void EnableCommands(const TBase& object, IEditCommands& menu) {
  const bool section = dynamic_cast<const TSection*>(&object) != nullptr;
  const bool wall = dynamic_cast<const TWall*>(&object) != nullptr;
  const bool altitude = dynamic_cast<const TAltitude*>(&object) != nullptr;
  EnableItems(menu, section || wall, section, altitude);
}

}  // namespace meridal
