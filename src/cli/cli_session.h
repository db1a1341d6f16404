#pragma once
// TCliSession: the one document a command works on, in memory. A one-shot command
// opens it, runs and writes it back when it changed; a batch runs every line on
// the same session, so nothing is read again between commands. Every change goes
// through the editor, so that each is one step of the history and `undo` can take
// it back.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "files/track_formats.h"
#include "history/editor.h"

namespace meridal {

class TTrack;

class TCliSession {
 public:
  enum class Mode {
    OneShot,  // saved as soon as the command is done: a value the file does not keep is refused
    Batch,    // kept in memory until the end of the input
  };

  // The document in `path`, written back to `output` (in the format its name
  // tells) or, when that is empty, to `path` in the format it was read in.
  TCliSession(std::string path, std::string output, Mode mode);
  ~TCliSession();
  TCliSession(const TCliSession&) = delete;
  TCliSession& operator=(const TCliSession&) = delete;

  // The document, read at the first call; nullptr after reporting why it could
  // not be read (and at every later call). A damaged file or an overlong track
  // is read with a warning line, unless the command lists such things itself.
  TTrack* Track(CliIo io);
  void ListsWhatIsWrongItself() { warn_ = false; }
  // The damaged places of the file read, one line each.
  const std::vector<std::string>& Damage() const { return damage_; }
  // The editor and the history of the document Track() has read.
  history::TEditor& Editor() { return *editor_; }
  history::THistory& History() { return history_; }
  bool SavesAtOnce() const { return mode_ == Mode::OneShot; }

  // The target does not hold the document as it stands.
  bool Changed() const { return track_ && !history_.IsClean(); }
  // Writes the document to its target; the state written becomes the saved one.
  bool SaveToTarget(CliIo io);
  // Writes it to another file in the format its name tells, or to the target
  // when `path` names that.
  bool SaveTo(const std::string& path, CliIo io);

 private:
  std::string path_, output_;
  Mode mode_;
  bool tried_ = false;
  bool warn_ = true;
  std::vector<std::string> damage_;
  TrackFormat format_ = TrackFormat::Project;
  std::unique_ptr<TTrack> track_;
  history::THistory history_;
  std::optional<history::TEditor> editor_;
};

}  // namespace meridal
