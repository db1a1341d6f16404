#pragma once
// TDocument: one open track with its history, its selection and the file it came
// from. It is the one door for every change: each edit runs through its history
// as one step, and undo, redo and going to a step are its own. After each change
// it tells whoever listens what changed, in terms a view can act on; the views
// read the track and redraw what they were told of. No view writes to the track.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "history/editor.h"
#include "history/history.h"
#include "model/section_run.h"
#include "history/track_change.h"
#include "model/object_path.h"

namespace meridal {

class TBase;
class TTrack;

// What a view is told after a change of the document.
struct TDocumentChange {
  TTrackChange track;      // what the track's objects did
  bool reset = false;      // a whole new track: views start over
  bool selection = false;  // the selection moved
  bool history = false;    // the history's steps or its position changed
  bool modified = false;   // the modified state or the file's name changed
  bool joined = false;     // a new change that Keep Joined followed with the later sections
};

class TDocument {
 public:
  using Listener = std::function<void(const TDocumentChange&)>;
  using Outcome = history::Outcome;

  // A document of `track`, as read from `fileName` (empty: never saved).
  explicit TDocument(std::unique_ptr<TTrack> track, std::string fileName = std::string());
  ~TDocument();
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;

  // A new document: the default track of one straight section.
  static std::unique_ptr<TDocument> New(std::string fileName = std::string());

  const TTrack& Track() const { return *track_; }
  const history::THistory& History() const { return history_; }
  history::THistory& History() { return history_; }
  // How many steps and bytes the history keeps; the oldest steps beyond them go
  // at once, and the views that list the history hear of it.
  void SetHistoryLimits(size_t steps, size_t bytes);

  // ---- the file ----
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string fileName);
  // Changes not in the file: the history stands elsewhere than where it was saved.
  bool Modified() const { return !history_.IsClean(); }
  // The document was saved (or matches its file) as it stands.
  void MarkSaved();
  // The document matches no file (an import, a damaged file): modified until saved.
  void MarkNeverClean();

  // ---- the selection: the object the commands act on and the views highlight ----
  const TObjectPath& Selection() const { return selection_; }
  const TBase* SelectedObject() const;
  // Selects the object at `path` (the track when nothing is there). A section
  // selected this way is a run of one, and the anchor of the next run.
  void Select(const TObjectPath& path);

  // ---- a run of sections: from the anchor to the selected section ----
  // The selected section is the run's current object, the end a Shift+click moves;
  // the anchor is the other end. Empty unless a section is selected.
  TSectionRun SelectedRun() const;
  int RunAnchor() const { return SelectedRun().Empty() ? -1 : anchor_; }
  // The run from `anchor` to `current`, `current` selected (both clamped to the
  // track's sections).
  void SelectRun(int anchor, int current);
  // Shift+click: the run from the anchor to `section`.
  void ExtendRun(int section);
  // Ctrl+click: a section outside the run joins it (with those between); an end
  // of a run of several leaves it.
  void ToggleInRun(int section);

  // ---- Keep Joined ----
  // While on, every change that moves a section's end places the later sections
  // where the ones before them end, as Join All Positions places them, in the
  // same step: a section's Length, Radius, Curvature, Orientation and gaps typed,
  // sections added, removed, split, retyped, pasted and cut, a value set on a
  // run. Only the loop's closure at section 0 may open. Start, the traces and the
  // walls and altitudes move no section. Off by default.
  void SetKeepJoined(bool on) { keepJoined_ = on; }
  bool KeepJoined() const { return keepJoined_; }
  // Whether setting the value of that name may move a section's end.
  static bool MovesSectionEnd(const std::string& name);

  // ---- changes, each one step of the history ----
  Outcome SetValue(const TObjectPath& object, const std::string& name, int32_t value);
  Outcome Remove(const TObjectPath& object);
  Outcome Add(const TObjectPath& object, bool before);
  Outcome Split(const TObjectPath& section, int32_t firstLength);
  Outcome ChangeType(const TObjectPath& section);
  Outcome CopyWallsFrom(int source, int destination);
  Outcome CopyWallsToAll(int source);
  Outcome CopyAltitude(const TObjectPath& altitude);
  Outcome RemoveTrace(int n);
  Outcome AddTrace(int n, bool after);
  Outcome ChangeValues(std::string text, const TObjectPath& selection, const std::function<void(TTrack&)>& change);
  // A value set on every section of the selected run that has it ("Set Length of
  // 4 Sections"); refused whole when any one of them refuses.
  Outcome SetValueOnRun(const std::string& name, int32_t value);
  // The selected run removed ("Remove 4 Sections", or with `verb` "Cut"); refused
  // when it would leave no section.
  Outcome RemoveRun(const std::string& verb = "Remove");
  // Any change made through the editor (the check's fixes take it), as one step.
  // With Keep Joined on, the sections from `joinFrom` on follow the change in the
  // same step (see TEditor::KeepingJoined); -1: they stay where they are.
  Outcome Change(const std::function<Outcome(history::TEditor&)>& change, int joinFrom = -1);
  // A change shown before it is kept, as a drag of the plan view's handles shows
  // each move: `change` alters the track outside the history and says what it
  // did, and the views are told. Whoever previews ends by keeping the change as
  // one step (Change, with the editor's Push) or by putting the track back
  // exactly as it was and previewing that.
  void Preview(const std::function<TTrackChange(TTrack&)>& change);

  // ---- taking changes back ----
  bool Undo();
  bool Redo();
  // Undoes or redoes until `index` steps are done (the History window's click).
  void GoTo(size_t index);

  // ---- listening ----
  // Returns a number for Unsubscribe. Listeners are told in the order they came.
  int Subscribe(Listener listener);
  void Unsubscribe(int id);

 private:
  void Announce(const TDocumentChange& change);
  // After a step was made (`made`), undone or redone: select what it changed and
  // tell.
  void Stepped(const history::TStep& step, TTrackChange change, bool undone, bool made, bool joined = false);
  void SetSelection(const TObjectPath& path);
  // Sets the selection and the anchor together and tells when either moved.
  void SelectWithAnchor(const TObjectPath& path, int anchor);

  std::unique_ptr<TTrack> track_;
  history::THistory history_;
  history::TEditor editor_;
  std::string fileName_;
  TObjectPath selection_;
  int anchor_ = -1;  // the run's other end, while a section is selected
  bool keepJoined_ = false;
  std::vector<std::pair<int, Listener>> listeners_;
  int nextListener_ = 1;
};

}  // namespace meridal
