#pragma once
// Where a save really writes: the file a chain of symbolic links ends at, even
// when that file does not exist yet, and what kind of file stands there.
#include <sys/types.h>

#include <string>

namespace meridal {

// The folder and the last part of a path: "tracks/circuit.mrd" gives "tracks"
// and "circuit.mrd"; a bare name's folder is ".".
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// The path the links of `path` lead to, followed link by link, so that a link
// whose target is missing leads to the name the target will have; `path` itself
// when it is no link. Empty, with errno ELOOP, for a chain that does not end.
std::string FollowLinks(const std::string& path);

// What a file that is not a regular file is, for a reason: "a named pipe", "a
// character device", ...; nullptr for a regular file.
const char* OtherFileKind(mode_t mode);
// "tracks/T: a named pipe, not a regular file", the path escaped (shown_text.h).
std::string NotRegularReason(const std::string& path, mode_t mode);

}  // namespace meridal
