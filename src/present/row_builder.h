#pragma once
// Builds property rows: a caption, then only the sub-items given.
#include <initializer_list>
#include <string>

#include "present/rows.h"

namespace meridal {

inline void AddRow(RowList& items, std::string caption, int image, std::initializer_list<std::string> subItems) {
  items.push_back(PropertyRow{std::move(caption), std::vector<std::string>(subItems), image});
}

}  // namespace meridal
