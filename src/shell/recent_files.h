#pragma once
// The files used last, newest first: File > Open Recent. The frame keeps the list
// between runs; the shell adds to it whenever a file is opened, imported or saved
// under a new name.
#include <string>
#include <vector>

namespace meridal {

class TRecentFiles {
 public:
  static constexpr size_t kMaxFiles = 8;

  // Puts the path first (as an absolute path), once, and drops the oldest beyond eight.
  void Add(const std::string& path);
  void Remove(const std::string& path);
  void Clear() { paths_.clear(); }
  // A list kept from an earlier run; the same rules as Add.
  void Set(const std::vector<std::string>& paths);
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

}  // namespace meridal
