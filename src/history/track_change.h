#pragma once
// What a change did to a track, in terms a view can act on: which sections came
// and went, which changed their values or their walls, whether the traces
// changed, and where in the plan the change shows.
#include <vector>

#include "model/values.h"

namespace meridal {

struct TTrackChange {
  // At `at`, `removed` sections gave way to `inserted` ones (in the order made).
  struct Splice {
    int at = 0, removed = 0, inserted = 0;
    friend bool operator==(const Splice&, const Splice&) = default;
  };
  std::vector<Splice> splices;
  // Sections whose values, or their altitudes' or walls' values, changed (numbers
  // after the splices), each once and in order.
  std::vector<int> sections;
  // Sections whose walls were replaced: their number may have changed.
  std::vector<int> wallLists;
  // A trace was added (or removed) at `traceAt`: every section has one altitude
  // more (or fewer) there.
  int traceAt = -1;
  bool traceAdded = false;
  // The traces' positions (and with them every section's trace points) changed.
  bool traces = false;
  // The track's own values: its length, its traces, its table sizes, its extent.
  bool trackValues = false;
  // Where the plan changed, when `local`; anywhere otherwise.
  bool local = false;
  std::vector<TRect> boxes;

  // Nothing at all changed.
  bool Empty() const {
    return splices.empty() && sections.empty() && wallLists.empty() && traceAt < 0 && !traces && !trackValues;
  }
  // Whether sections, altitudes or walls came or went.
  bool Structural() const { return !splices.empty() || traceAt >= 0 || !wallLists.empty(); }
  // Notes a section whose values changed, or whose walls were replaced.
  void Touch(int section);
  void TouchWalls(int section);
};

}  // namespace meridal
