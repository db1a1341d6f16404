#pragma once
// Loading and saving for the command line, with failures reported on stderr.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/object_path.h"
#include "files/safety/file_lock.h"
#include "files/track_formats.h"
#include "platform/messages.h"

namespace meridal {

class TTrack;

// Message boxes become lines on stderr; questions are answered Yes, except the
// one before overwriting a file at the risk of its data (Cancel).
class StderrMessages : public IMessages {
 public:
  explicit StderrMessages(std::ostream& err) : err_(err) {}
  MessageAnswer Show(const std::string& title, const std::string& text, MessageIcon icon,
                     MessageButtons buttons) override;

 private:
  std::ostream& err_;
};

// The track in a file of any of the three formats (`as`, or else told by its
// extension, or failing that by its contents), or nullptr after reporting why
// not. `format` tells which format it was read in; `damage` gets the damaged
// places of a project file read all the same.
std::unique_ptr<TTrack> LoadTrack(const std::string& path, CliIo io, TrackFormat* format = nullptr,
                                  std::optional<TrackFormat> as = std::nullopt,
                                  std::vector<std::string>* damage = nullptr);
// What a track just read calls for, one line each on stderr: a damaged file, a
// track longer than a track can be.
void WarnAboutReadTrack(const TTrack& track, const std::vector<std::string>& damage, const std::string& path,
                        CliIo io);
// Saves safely (the old file stays intact on failure) in `format`, or in the
// format the path's extension names; false after reporting. A file whose folder
// takes no temporary file is written in place only when `inPlace` allows it.
bool SaveTrack(TTrack& track, const std::string& path, CliIo io, std::optional<TrackFormat> format = std::nullopt,
               bool inPlace = false);
// Writes a text safely (the old file stays intact on failure); false after
// reporting the system's reason.
bool WriteTextFile(const std::string& path, const std::string& text, CliIo io);
// Writes the track file; false after reporting.
bool ExportTrackTo(TTrack& track, const std::string& path, CliIo io, bool inPlace = false);

// The refusal of a save that would have to overwrite the file in place.
std::string InPlaceRefusal(const std::string& path, const std::string& reason);

// Takes the lock of a file the command writes back (see file_lock.h); false after
// reporting that another program held it all the time.
bool LockTarget(FileLock& lock, const std::string& path, CliIo io);

// Resolves an object path argument, reporting a bad or missing one.
const TBase* FindObject(const TTrack& track, const std::string& path, CliIo io);

// Expects exactly `count` positional arguments (or between min and max).
bool ExpectArgs(const CliArgs& args, size_t min, size_t max, const char* usage, CliIo io);

}  // namespace meridal
