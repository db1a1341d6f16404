#pragma once
// A run of sections: the consecutive sections from `first` to `last`, as the
// document's selection holds them. A run is always contiguous, so that it can be
// copied, pasted and removed as one piece; it never wraps past the last section.
namespace meridal {

struct TSectionRun {
  int first = -1, last = -1;

  bool Empty() const { return first < 0 || last < first; }
  int Count() const { return Empty() ? 0 : last - first + 1; }
  bool Contains(int section) const { return !Empty() && first <= section && section <= last; }
  friend bool operator==(const TSectionRun&, const TSectionRun&) = default;
};

}  // namespace meridal
