#include "shell/recent_files.h"

#include <algorithm>
#include <filesystem>

namespace meridal {

namespace {

std::string Absolute(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace

void TRecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  const std::string absolute = Absolute(path);
  Remove(absolute);
  paths_.insert(paths_.begin(), absolute);
  if (paths_.size() > kMaxFiles) paths_.resize(kMaxFiles);
}

void TRecentFiles::Remove(const std::string& path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), Absolute(path)), paths_.end());
}

void TRecentFiles::Set(const std::vector<std::string>& paths) {
  paths_.clear();
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) Add(*it);
}

}  // namespace meridal
