#include "files/safety/target_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "files/safety/shown_text.h"

namespace meridal {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FollowLinks(const std::string& path) {
  std::string current = path;
  // As many links as the system itself follows before it gives up.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    // An existing target: its real name, through whatever links its folders are.
    char resolved[PATH_MAX];
    if (stat(current.c_str(), &st) == 0 && realpath(current.c_str(), resolved) != nullptr) return resolved;
    char target[PATH_MAX];
    const ssize_t n = readlink(current.c_str(), target, sizeof target - 1);
    if (n < 0) return current;
    const std::string next(target, static_cast<size_t>(n));
    current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
  }
  errno = ELOOP;
  return std::string();
}

const char* OtherFileKind(mode_t mode) {
  if (S_ISREG(mode)) return nullptr;
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

std::string NotRegularReason(const std::string& path, mode_t mode) {
  const char* kind = OtherFileKind(mode);
  return ShownPath(path) + ": " + (kind ? kind : "a file") + ", not a regular file";
}

}  // namespace meridal
