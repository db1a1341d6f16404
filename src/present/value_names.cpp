#include "present/value_names.h"

#include <algorithm>

#include "model/altitude.h"
#include "model/object_path.h"
#include "model/section.h"
#include "present/property_rows.h"

namespace meridal {

namespace {

// The names an object takes beside its rows: the words of an altitude that its
// file keeps and that the rows show only in passing (3*A, 2*B) or not at all
// (the trace point), and a section's curve values, which a straight has too
// (it reads them as 0 and refuses to take them).
bool IsNameBesideRows(const TBase& object, const std::string& name) {
  if (dynamic_cast<const TAltitude*>(&object)) return name == "A3" || name == "B2" || name == "X" || name == "Y";
  if (dynamic_cast<const TSection*>(&object)) return name == "Curvature" || name == "Radius";
  return false;
}

const PropertyRow* RowNamed(const RowList& rows, const std::string& name) {
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const PropertyRow& r) { return r.Caption == name; });
  return row == rows.end() ? nullptr : &*row;
}

}  // namespace

bool HasValueNamed(const TBase& object, const std::string& name) {
  return IsNameBesideRows(object, name) || RowNamed(PropertyRows(object), name) != nullptr;
}

std::optional<std::string> ValueTextNamed(const TBase& object, const std::string& name) {
  if (IsNameBesideRows(object, name)) return std::to_string(object.GetValue(name));
  const RowList rows = PropertyRows(object);
  const PropertyRow* row = RowNamed(rows, name);
  if (!row) return std::nullopt;
  return row->SubItems.empty() ? std::to_string(object.GetValue(name)) : row->SubItems.front();
}

std::string NoValueNamedText(const TBase& object, const std::string& name) {
  std::string text = PathName(PathOf(object)) + " has no value named \"" + name + "\"; its values are: ";
  const RowList rows = PropertyRows(object);
  for (size_t i = 0; i < rows.size(); ++i) text += (i > 0 ? ", " : "") + rows[i].Caption;
  return text;
}

}  // namespace meridal
