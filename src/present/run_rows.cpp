#include "present/run_rows.h"

#include <cstdint>

#include "model/track.h"
#include "present/format.h"
#include "present/object_labels.h"
#include "present/property_rows.h"
#include "present/row_builder.h"

namespace meridal {

namespace {

// The sections that have a value of that name: an arc's curvature and radius
// only arcs.
bool Has(const TSection& section, const std::string& name) {
  return section.IsCurved() || (name != "Curvature" && name != "Radius");
}

}  // namespace

std::string RunLabel(const TTrack& track, TSectionRun run) {
  if (run.Count() == 1 && run.first < track.NumberOfSections()) return Label(*track.Section(run.first));
  return "Sections " + std::to_string(run.first) + " to " + std::to_string(run.last);
}

void FillRunProperties(const TTrack& track, TSectionRun run, int current, RowList& rows) {
  rows.clear();
  if (run.Empty() || run.last >= track.NumberOfSections() || current < 0 || current >= track.NumberOfSections())
    return;
  int64_t length = 0;
  for (int s = run.first; s <= run.last; ++s) length += track.Section(s)->Length;
  AddRow(rows, "Selected Sections", kRowImageCode, {FormatInt(run.Count()), RunLabel(track, run)});
  AddRow(rows, "Selected Length", kRowImageDerived, {std::to_string(length), LengthMeaningOf(length)});
  for (PropertyRow& row : PropertyRows(*track.Section(current))) {
    if (row.Editable()) {
      bool varies = false;
      const TSection* first = nullptr;
      for (int s = run.first; s <= run.last && !varies; ++s) {
        const TSection& section = *track.Section(s);
        if (!Has(section, row.Caption)) continue;
        if (!first) first = &section;
        varies = section.GetValue(row.Caption) != first->GetValue(row.Caption);
      }
      if (varies) {
        row.SubItems.resize(4);
        row.SubItems[3] = "varies in the run";
      }
    }
    rows.push_back(std::move(row));
  }
}

}  // namespace meridal
