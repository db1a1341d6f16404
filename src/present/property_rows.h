#pragma once
// The rows each kind of object shows in the property list: its values by name,
// what they mean and whether the user may edit them.
#include "present/rows.h"

namespace meridal {

class TBase;

// Replaces `items` by the object's rows.
void FillProperties(const TBase& object, RowList& items);
RowList PropertyRows(const TBase& object);

}  // namespace meridal
