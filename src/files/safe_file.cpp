#include "files/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>

#include "platform/memory_hints.h"

namespace meridal {

namespace {

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

// A link is followed, so that the file it names is replaced and the link stays.
std::string ResolveLink(const std::string& target) {
  struct stat st;
  if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
  char resolved[PATH_MAX];
  if (realpath(target.c_str(), resolved) == nullptr) return target;
  return resolved;
}

bool WriteAll(int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t done = write(fd, data, n);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

// A new, empty file beside the target; -1 when none can be made.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& path) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder + "/." + name + "." + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".tmp";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

ReplaceResult ReplaceFileContents(const std::string& requested, std::span<const uint8_t> bytes) {
  const std::string target = ResolveLink(requested);
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return ReplaceResult::CannotCreate;
  // A file the user may not write stays as it is, as it would if it were opened
  // for writing; the rename alone would not ask.
  if (exists && access(target.c_str(), W_OK) != 0) return ReplaceResult::CannotCreate;

  std::string temporary;
  const int fd = CreateTemporary(FolderOf(target), NameOf(target), temporary);
  if (fd < 0) return ReplaceResult::CannotCreate;
  // The replacement keeps the permissions of the file it replaces.
  bool ok = !exists || fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, bytes.data(), bytes.size());
  ok = ok && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(temporary.c_str());
    return ReplaceResult::WriteFailed;
  }
  // Make the rename itself durable; the new contents are in place either way.
  const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return ReplaceResult::Ok;
}

FileContents ReadWholeFile(const std::string& path, uint64_t maxBytes) {
  FileContents result;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return result;
  result.opened = true;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > maxBytes) {
    close(fd);
    return result;
  }
  try {
    // The storage exists before anything touches it, so the hint comes in time.
    result.bytes.reserve(static_cast<size_t>(st.st_size));
    AdviseHugePages(result.bytes.data(), result.bytes.capacity());
    result.bytes.resize(static_cast<size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    close(fd);
    return result;
  }
  size_t done = 0;
  while (done < result.bytes.size()) {
    const ssize_t n = read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // an error, or the file shrank
    done += static_cast<size_t>(n);
  }
  close(fd);
  result.ok = done == result.bytes.size();
  if (!result.ok) result.bytes.clear();
  return result;
}

}  // namespace meridal
