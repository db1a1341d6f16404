#include "files/safety/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "files/safety/in_place_save.h"
#include "files/safety/input_file.h"
#include "files/safety/shown_text.h"
#include "files/safety/target_path.h"

namespace meridal {

namespace {

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

ReplaceOutcome Failed(ReplaceResult result, int error, std::string reason = std::string()) {
  ReplaceOutcome outcome;
  outcome.result = result;
  outcome.error = error;
  outcome.reason = std::move(reason);
  return outcome;
}

std::string UserName(uid_t uid) {
  const passwd* user = getpwuid(uid);
  return user ? user->pw_name : "user " + std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  const group* g = getgrgid(gid);
  return g ? g->gr_name : "group " + std::to_string(gid);
}

// Gives the new file the old one's owner and group where the process may: the
// superuser gives both, another user keeps the group where he belongs to it.
// Says what could not be kept.
void KeepOwner(IFileCalls& calls, int fd, const struct stat& old, const std::string& target,
               std::vector<std::string>& notes) {
  if (calls.Fchown(fd, old.st_uid, old.st_gid) != 0) calls.Fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  struct stat now;
  if (calls.Fstat(fd, &now) != 0) return;
  const bool owner = now.st_uid == old.st_uid, group = now.st_gid == old.st_gid;
  if (owner && group) return;
  const std::string name = NameOf(target);
  if (!owner)
    notes.push_back(name + " now belongs to " + UserName(now.st_uid) + ": its owner " + UserName(old.st_uid) +
                    (group ? " could not be kept" : " and its group " + GroupName(old.st_gid) + " could not be kept"));
  else
    notes.push_back(name + " is now in the group " + GroupName(now.st_gid) + ": its group " +
                    GroupName(old.st_gid) + " could not be kept");
}

}  // namespace

ReplaceOutcome ReplaceFileContents(const std::string& requested, std::span<const uint8_t> bytes, IFileCalls& calls,
                                   const ReplaceOptions& options) {
  struct stat old;
  const bool exists = calls.Stat(requested.c_str(), &old) == 0;  // through any links
  if (exists && S_ISDIR(old.st_mode)) return Failed(ReplaceResult::CannotCreate, EISDIR);
  // A pipe, a device or a socket is written to, never replaced by a file.
  if (exists && !S_ISREG(old.st_mode))
    return Failed(ReplaceResult::CannotCreate, 0, NotRegularReason(requested, old.st_mode));
  // The file the links lead to is replaced (or created) and the links stay.
  const std::string target = FollowLinks(requested);
  if (target.empty()) return Failed(ReplaceResult::CannotCreate, errno);
  // A file the user may not write stays as it is, as it would if it were opened
  // for writing; the rename alone would not ask.
  if (exists && calls.Access(target.c_str(), W_OK) != 0) return Failed(ReplaceResult::CannotCreate, errno);

  std::string temporary;
  const int fd = CreateTemporary(calls, FolderOf(target), NameOf(target), temporary);
  if (fd < 0) {
    const int error = errno;
    if (!exists || (error != EACCES && error != EPERM)) return Failed(ReplaceResult::CannotCreate, error);
    if (options.inPlaceAllowed) return ReplaceInPlace(calls, target, bytes);
    ReplaceOutcome refused = Failed(ReplaceResult::CannotCreate, error, SystemReason(FolderOf(target), error));
    refused.inPlaceNeeded = true;
    return refused;
  }
  ReplaceOutcome outcome;
  // The replacement keeps the owner and the permissions of the file it replaces
  // (the owner first: a change of owner clears the set-id bits).
  if (exists) KeepOwner(calls, fd, old, target, outcome.notes);
  bool ok = !exists || calls.Fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && WriteAll(calls, fd, bytes.data(), bytes.size());
  ok = ok && calls.Fsync(fd) == 0;
  ok = ok && calls.Fstat(fd, &outcome.written) == 0;
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
  SyncFolder(calls, FolderOf(target));
  RemoveLeftoverTemporaries(calls, FolderOf(target), NameOf(target));
  return outcome;
}

FileContents ReadWholeFile(const std::string& path, uint64_t maxBytes) {
  FileContents result;
  InputFile file(path, maxBytes);
  result.opened = file.Opened();
  result.ok = file.ReadRest({}, result.bytes);
  result.error = file.Error();
  return result;
}

std::string SystemReason(const std::string& path, int error) {
  if (error == 0) return std::string();
  return ShownPath(path) + ": " + std::strerror(error);
}

}  // namespace meridal
