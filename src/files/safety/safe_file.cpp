#include "files/safety/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
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

// Writes every byte; false with errno set when the disk refuses one. A write that
// reports no progress and no error (it should not happen) counts as a full disk.
bool WriteAll(IFileCalls& calls, int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t done = calls.Write(fd, data, n);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (done == 0) {
      errno = ENOSPC;
      return false;
    }
    data += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

// A new, empty file beside the target; -1 with errno set when none can be made.
int CreateTemporary(IFileCalls& calls, const std::string& folder, const std::string& name, std::string& path) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder + "/." + name + "." + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".tmp";
    const int fd = calls.Open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A save that was killed leaves its temporary file (".NAME.PID-N.tmp") behind.
// Those of processes that are gone are removed after the next save of the same
// file; those of a running process may be a save in progress and stay.
void RemoveLeftoverTemporaries(IFileCalls& calls, const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::string prefix = "." + name + ".";
  while (const dirent* entry = readdir(dir)) {
    const std::string file = entry->d_name;
    if (file.size() <= prefix.size() + 4 || file.compare(0, prefix.size(), prefix) != 0 ||
        file.compare(file.size() - 4, 4, ".tmp") != 0)
      continue;
    char* end = nullptr;
    const long pid = std::strtol(file.c_str() + prefix.size(), &end, 10);
    if (pid <= 0 || *end != '-' || pid == getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    calls.Unlink((folder + "/" + file).c_str());
  }
  closedir(dir);
}

ReplaceOutcome Failed(ReplaceResult result, int error) { return ReplaceOutcome{result, error, false}; }

// Runs `write` with its pieces going to `fd`; counts the bytes written.
bool WriteThrough(IFileCalls& calls, int fd, const ContentWriter& write, uint64_t& written) {
  written = 0;
  errno = 0;
  const bool ok = write([&](const uint8_t* data, size_t n) {
    if (!WriteAll(calls, fd, data, n)) return false;
    written += n;
    return true;
  });
  if (!ok && errno == 0) errno = EIO;
  return ok;
}

ContentWriter WholeBytes(std::span<const uint8_t> bytes) {
  return [bytes](const PutBytes& put) { return put(bytes.data(), bytes.size()); };
}

// Writes the contents over the open file from its start, cuts it to their length
// and closes it. Returns 0, or the errno of the call that failed.
int Overwrite(IFileCalls& calls, int fd, const ContentWriter& write) {
  uint64_t written = 0;
  bool ok = WriteThrough(calls, fd, write, written) && calls.Ftruncate(fd, static_cast<off_t>(written)) == 0 &&
            calls.Fsync(fd) == 0;
  const int error = ok ? 0 : errno;
  if (calls.Close(fd) != 0 && ok) return errno;
  return error;
}

// The folder takes no temporary file, but the target may be written: it is
// overwritten in place. Its old contents are kept in memory and written back if
// the new ones do not go down whole; a target that cannot be read first is not
// touched, since nothing could then be restored.
ReplaceOutcome ReplaceInPlace(IFileCalls& calls, const std::string& target, const ContentWriter& write,
                              int folderError) {
  const FileContents old = ReadWholeFile(target, UINT64_MAX);
  if (!old.ok) return Failed(ReplaceResult::CannotCreate, folderError);
  const int fd = calls.Open(target.c_str(), O_WRONLY | O_CLOEXEC, 0);
  if (fd < 0) return Failed(ReplaceResult::CannotCreate, errno);
  const int error = Overwrite(calls, fd, write);
  if (error == 0) return ReplaceOutcome{ReplaceResult::Ok, 0, true};
  const int again = calls.Open(target.c_str(), O_WRONLY | O_CLOEXEC, 0);
  if (again >= 0) Overwrite(calls, again, WholeBytes(old.bytes));
  return Failed(ReplaceResult::WriteFailed, error);
}

}  // namespace

ReplaceOutcome ReplaceFileContents(const std::string& requested, std::span<const uint8_t> bytes,
                                   IFileCalls& calls) {
  return ReplaceFileWith(requested, WholeBytes(bytes), calls);
}

ReplaceOutcome ReplaceFileWith(const std::string& requested, const ContentWriter& write, IFileCalls& calls) {
  const std::string target = ResolveLink(requested);
  struct stat old;
  const bool exists = calls.Stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return Failed(ReplaceResult::CannotCreate, EISDIR);
  // A file the user may not write stays as it is, as it would if it were opened
  // for writing; the rename alone would not ask.
  if (exists && calls.Access(target.c_str(), W_OK) != 0) return Failed(ReplaceResult::CannotCreate, errno);

  std::string temporary;
  const int fd = CreateTemporary(calls, FolderOf(target), NameOf(target), temporary);
  if (fd < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM)) return ReplaceInPlace(calls, target, write, error);
    return Failed(ReplaceResult::CannotCreate, error);
  }
  // The replacement keeps the permissions of the file it replaces.
  bool ok = !exists || calls.Fchmod(fd, old.st_mode & 07777) == 0;
  uint64_t written = 0;
  ok = ok && WriteThrough(calls, fd, write, written);
  ok = ok && calls.Fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (calls.Close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && calls.Rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    calls.Unlink(temporary.c_str());
    return Failed(ReplaceResult::WriteFailed, error);
  }
  // Make the rename itself durable; the new contents are in place either way.
  const int folder = calls.Open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (folder >= 0) {
    calls.Fsync(folder);
    calls.Close(folder);
  }
  RemoveLeftoverTemporaries(calls, FolderOf(target), NameOf(target));
  return ReplaceOutcome{};
}

FileContents ReadWholeFile(const std::string& path, uint64_t maxBytes) {
  FileContents result;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  result.opened = true;
  struct stat st;
  const bool statted = fstat(fd, &st) == 0;
  if (!statted || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > maxBytes) {
    result.error = !statted ? errno : S_ISDIR(st.st_mode) ? EISDIR : S_ISREG(st.st_mode) ? EFBIG : 0;
    close(fd);
    return result;
  }
  try {
    // The storage exists before anything touches it, so the hint comes in time.
    result.bytes.reserve(static_cast<size_t>(st.st_size));
    AdviseHugePages(result.bytes.data(), result.bytes.capacity());
    result.bytes.resize(static_cast<size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    result.error = ENOMEM;
    close(fd);
    return result;
  }
  size_t done = 0;
  while (done < result.bytes.size()) {
    const ssize_t n = read(fd, result.bytes.data() + done, result.bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) result.error = errno;
    if (n <= 0) break;  // an error, or the file shrank
    done += static_cast<size_t>(n);
  }
  close(fd);
  result.ok = done == result.bytes.size();
  if (!result.ok) result.bytes.clear();
  return result;
}

std::string SystemReason(const std::string& path, int error) {
  if (error == 0) return std::string();
  return path + ": " + std::strerror(error);
}

}  // namespace meridal
