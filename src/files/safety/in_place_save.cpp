#include "files/safety/in_place_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/safety/target_path.h"

namespace meridal {

namespace {

ReplaceOutcome Outcome(ReplaceResult result, int error, std::string reason = std::string()) {
  ReplaceOutcome outcome;
  outcome.result = result;
  outcome.error = error;
  outcome.reason = std::move(reason);
  return outcome;
}

// Writes `bytes` over the open file from its start, cuts it to their length,
// syncs and closes it. Returns 0, or the errno of the call that failed.
int Overwrite(IFileCalls& calls, int fd, std::span<const uint8_t> bytes, struct stat* written = nullptr) {
  bool ok = WriteAll(calls, fd, bytes.data(), bytes.size()) &&
            calls.Ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && calls.Fsync(fd) == 0 &&
            (!written || calls.Fstat(fd, written) == 0);
  const int error = ok ? 0 : errno;
  if (calls.Close(fd) != 0 && ok) return errno;
  return error;
}

// The old contents, kept whole and synced under their final name before the
// file is touched; the copy's path, or empty with errno set.
std::string KeepBackup(const std::string& target, std::span<const uint8_t> old) {
  const std::string folder = BackupFolder();
  if (folder.empty()) {
    errno = ENOENT;
    return std::string();
  }
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (made) {
    errno = made.value();
    return std::string();
  }
  static unsigned counter = 0;
  const std::string stem = folder + "/" + NameOf(target) + "." + std::to_string(getpid()) + "-" +
                           std::to_string(++counter);
  const std::string partial = stem + ".partial", backup = stem + ".backup";
  // Only the user may read the copy: it may sit in a folder others can list.
  const int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return std::string();
  IFileCalls& system = SystemFileCalls();
  const bool ok = WriteAll(system, fd, old.data(), old.size()) && fsync(fd) == 0;
  const int error = errno;
  if (close(fd) != 0 || !ok || rename(partial.c_str(), backup.c_str()) != 0) {
    unlink(partial.c_str());
    errno = ok ? errno : error;
    return std::string();
  }
  SyncFolder(system, folder);
  return backup;
}

}  // namespace

std::string BackupFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return std::string(cache) + "/meridal";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.cache/meridal";
  return std::string();
}

bool WriteAll(IFileCalls& calls, int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t done = calls.Write(fd, data, n);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (done == 0) {  // no progress and no error (it should not happen): a full disk
      errno = ENOSPC;
      return false;
    }
    data += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

void SyncFolder(IFileCalls& calls, const std::string& folder) {
  const int fd = calls.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  calls.Fsync(fd);
  calls.Close(fd);
}

ReplaceOutcome ReplaceInPlace(IFileCalls& calls, const std::string& target, std::span<const uint8_t> bytes) {
  // A target that cannot be read first is not touched: nothing could be restored.
  const FileContents old = ReadWholeFile(target, UINT64_MAX);
  if (!old.ok) return Outcome(ReplaceResult::CannotCreate, old.error);
  const std::string backup = KeepBackup(target, old.bytes);
  if (backup.empty()) {
    const int error = errno;
    return Outcome(ReplaceResult::CannotCreate, error,
                   "no copy of " + NameOf(target) + " could be kept in " + BackupFolder() +
                       " before writing it in place: " + std::strerror(error));
  }
  const int fd = calls.Open(target.c_str(), O_WRONLY | O_CLOEXEC, 0);
  if (fd < 0) {
    const int error = errno;
    unlink(backup.c_str());
    return Outcome(ReplaceResult::CannotCreate, error);
  }
  ReplaceOutcome outcome = Outcome(ReplaceResult::Ok, 0);
  outcome.inPlace = true;
  const int error = Overwrite(calls, fd, bytes, &outcome.written);
  if (error == 0) {
    unlink(backup.c_str());
    return outcome;
  }
  const int again = calls.Open(target.c_str(), O_WRONLY | O_CLOEXEC, 0);
  if (again >= 0 && Overwrite(calls, again, old.bytes) == 0) {
    unlink(backup.c_str());
    return Outcome(ReplaceResult::WriteFailed, error);
  }
  return Outcome(ReplaceResult::WriteFailed, error,
                 SystemReason(target, error) + "; its old contents are kept in " + backup);
}

}  // namespace meridal
