#pragma once
// TCliSession: the one document a command works on, in memory. A one-shot command
// opens it, runs and writes it back when it changed; a batch runs every line on
// the same session, so nothing is read again between commands. Every change goes
// through the document, so that each is one step of its history and `undo` can
// take it back.
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "document/document.h"
#include "files/track_formats.h"

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
  TDocument* Document(CliIo io);
  const TTrack* Track(CliIo io) {
    TDocument* document = Document(io);
    return document ? &document->Track() : nullptr;
  }
  void ListsWhatIsWrongItself() { warn_ = false; }
  // The damaged places of the file read, one line each.
  const std::vector<std::string>& Damage() const { return damage_; }
  bool SavesAtOnce() const { return mode_ == Mode::OneShot; }

  // The target does not hold the document as it stands.
  bool Changed() const { return document_ && document_->Modified(); }
  // Writes the document to its target; the state written becomes the saved one.
  bool SaveToTarget(CliIo io);
  // Writes it to another file in the format its name tells, or to the target
  // when `path` names that.
  bool SaveTo(const std::string& path, CliIo io);

  // The format the target is written in.
  TrackFormat TargetFormat() const;
  // A value was set that some format does not keep (see unkept_values.h): a save
  // in such a format is refused while the track holds such a value.
  void NoteUnkeptValue(const std::string& name) { unkeptNames_.insert(name); }
  // Saves may write a file in place whose folder takes no temporary file.
  void AllowInPlace(bool allowed) { inPlace_ = allowed; }
  bool InPlaceAllowed() const { return inPlace_; }

  // A batch's own clipboard: what `copy` put there and `paste` takes.
  std::string Clipboard;
  // Keep Joined for the lines that follow (a batch's `keep-joined on|off`); off
  // at the start, so that scripts keep their results.
  bool KeepJoined = false;
  // Sets the document's Keep Joined for a command: the session's, or on where the
  // command says --keep-joined.
  void KeepJoinedFor(const CliArgs& args);

 private:
  std::string path_, output_;
  Mode mode_;
  bool tried_ = false;
  bool warn_ = true;
  std::vector<std::string> damage_;
  TrackFormat format_ = TrackFormat::Project;
  std::unique_ptr<TDocument> document_;
  std::set<std::string> unkeptNames_;
  bool inPlace_ = false;

  // Writes the document to `path` in `format`, unless it holds a value set here
  // that the format would lose; false after reporting.
  bool Write(const std::string& path, TrackFormat format, CliIo io);
};

}  // namespace meridal
