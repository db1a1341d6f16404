#include "document/document.h"

#include <algorithm>

#include "history/run_steps.h"
#include "model/track.h"

namespace meridal {

TDocument::TDocument(std::unique_ptr<TTrack> track, std::string fileName)
    : track_(std::move(track)), editor_(*track_, history_), fileName_(std::move(fileName)) {}

TDocument::~TDocument() = default;

std::unique_ptr<TDocument> TDocument::New(std::string fileName) {
  auto track = std::make_unique<TTrack>();
  track->SetDefaults();
  return std::make_unique<TDocument>(std::move(track), std::move(fileName));
}

// ---- the file ----

void TDocument::SetFileName(std::string fileName) {
  if (fileName == fileName_) return;
  fileName_ = std::move(fileName);
  TDocumentChange change;
  change.modified = true;
  Announce(change);
}

void TDocument::MarkSaved() {
  const bool was = Modified();
  history_.SetClean();
  TDocumentChange change;
  change.modified = was;
  change.history = true;
  Announce(change);
}

void TDocument::SetHistoryLimits(size_t steps, size_t bytes) {
  const size_t dropped = history_.Dropped();
  const bool was = Modified();
  history_.SetLimits(steps, bytes);
  if (history_.Dropped() == dropped) return;
  TDocumentChange change;
  change.history = true;
  change.modified = was != Modified();
  Announce(change);
}

void TDocument::MarkNeverClean() {
  const bool was = Modified();
  history_.SetNeverClean();
  TDocumentChange change;
  change.modified = !was;
  change.history = true;
  Announce(change);
}

// ---- the selection ----

const TBase* TDocument::SelectedObject() const { return Resolve(*track_, selection_); }

void TDocument::SetSelection(const TObjectPath& path) {
  selection_ = Resolve(*track_, path) ? path : TObjectPath::Track();
}

void TDocument::Select(const TObjectPath& path) {
  // What is selected already stays selected with its run: a view that follows the
  // selection and tells it back changes nothing.
  if (path == selection_) return;
  SelectWithAnchor(path, path.section);
}

void TDocument::SelectWithAnchor(const TObjectPath& path, int anchor) {
  const TObjectPath before = selection_;
  const int anchorBefore = anchor_;
  SetSelection(path);
  const bool section = selection_.kind == TObjectPath::Kind::Section;
  anchor_ = !section ? -1 : anchor >= 0 && anchor < track_->NumberOfSections() ? anchor : selection_.section;
  if (selection_ == before && anchor_ == anchorBefore) return;
  TDocumentChange change;
  change.selection = true;
  Announce(change);
}

// ---- the run ----

TSectionRun TDocument::SelectedRun() const {
  const int n = track_->NumberOfSections();
  const int current = selection_.section;
  if (selection_.kind != TObjectPath::Kind::Section || current < 0 || current >= n) return {};
  const int anchor = anchor_ >= 0 && anchor_ < n ? anchor_ : current;
  return {std::min(anchor, current), std::max(anchor, current)};
}

void TDocument::SelectRun(int anchor, int current) {
  const int n = track_->NumberOfSections();
  if (n == 0) return;
  SelectWithAnchor(TObjectPath::Section(std::clamp(current, 0, n - 1)), std::clamp(anchor, 0, n - 1));
}

void TDocument::ExtendRun(int section) {
  const int anchor = RunAnchor();
  SelectRun(anchor >= 0 ? anchor : section, section);
}

void TDocument::ToggleInRun(int section) {
  const TSectionRun run = SelectedRun();
  if (run.Empty()) return Select(TObjectPath::Section(section));
  if (!run.Contains(section)) return SelectRun(section < run.first ? run.last : run.first, section);
  if (run.Count() == 1) return;  // a run keeps at least its current section
  const int current = selection_.section, anchor = RunAnchor();
  const int toward = current > anchor ? -1 : 1;  // from the current end toward the anchor
  if (section == current) SelectRun(anchor, current + toward);
  else if (section == anchor) SelectRun(anchor - toward, current);
}

// ---- changes ----

namespace {

// The section `offset` places after the one at `path`, the first to follow a
// change of it; -1 for any other object.
int SectionOf(const TObjectPath& path, int offset) {
  return path.kind == TObjectPath::Kind::Section ? path.section + offset : -1;
}

}  // namespace

void TDocument::Stepped(const history::TStep& step, TTrackChange changed, bool undone, bool made, bool joined) {
  TDocumentChange change;
  change.track = std::move(changed);
  change.history = true;
  change.joined = joined;
  change.modified = true;  // cheap to tell; the title reads the state anew
  const TObjectPath before = selection_;
  const int anchorBefore = anchor_;
  const TObjectPath& target = undone ? step.UndoSelection() : step.RedoSelection();
  if (Resolve(*track_, target) && (undone || !made || step.SelectsWhenDone())) {
    SetSelection(target);
    anchor_ = undone ? step.UndoAnchor() : step.RedoAnchor();
  } else {
    // What was selected may be gone: the nearest object that is still there.
    TObjectPath kept = selection_;
    if (!Resolve(*track_, kept) && kept.kind != TObjectPath::Kind::Track) {
      const TSection* section =
          kept.section < track_->NumberOfSections() ? track_->Section(kept.section) : nullptr;
      if (!section) kept = TObjectPath::Track();
      else if (kept.kind == TObjectPath::Kind::Wall && section->NumberOfWalls() > 0)
        kept.child = section->NumberOfWalls() - 1;
      else if (kept.kind == TObjectPath::Kind::Altitude && section->NumberOfAltitudes() > 0)
        kept.child = section->NumberOfAltitudes() - 1;
      else kept = TObjectPath::Section(kept.section);
    }
    SetSelection(kept);
  }
  // The run's anchor stays on a section that is still there (the selected one
  // when it is not).
  if (selection_.kind != TObjectPath::Kind::Section) anchor_ = -1;
  else if (anchor_ < 0 || anchor_ >= track_->NumberOfSections()) anchor_ = selection_.section;
  // Views number their rows anew after a structural change: tell them of the
  // selection too, even where its path looks the same.
  change.selection = !(selection_ == before) || anchor_ != anchorBefore || change.track.Structural();
  Announce(change);
}

bool TDocument::MovesSectionEnd(const std::string& name) {
  static const char* const kShapes[] = {"Length",      "Radius",           "Curvature",  "Orientation",
                                        "Orientation mismatch", "Longitudinal gap", "Lateral gap"};
  for (const char* shape : kShapes)
    if (name == shape) return true;
  return false;
}

TDocument::Outcome TDocument::Change(const std::function<Outcome(history::TEditor&)>& change, int joinFrom) {
  const bool joined = keepJoined_ && joinFrom >= 0;
  const Outcome outcome = joined ? editor_.KeepingJoined(joinFrom, change) : change(editor_);
  if (outcome == Outcome::Changed) {
    const history::TStep& step = history_.Step(history_.Index() - 1);
    Stepped(step, step.Made(), false, true, joined);
  }
  return outcome;
}

void TDocument::Preview(const std::function<TTrackChange(TTrack&)>& change) {
  TDocumentChange announced;
  announced.track = change(*track_);
  if (!announced.track.Empty()) Announce(announced);
}

TDocument::Outcome TDocument::SetValue(const TObjectPath& object, const std::string& name, int32_t value) {
  TBase* target = Resolve(*track_, object);
  if (!target) return Outcome::Refused;
  const bool moves = object.kind == TObjectPath::Kind::Section && MovesSectionEnd(name);
  return Change([&](history::TEditor& e) { return e.SetValue(*target, name, value); },
                moves ? object.section + 1 : -1);
}

TDocument::Outcome TDocument::Remove(const TObjectPath& object) {
  TBase* target = Resolve(*track_, object);
  if (!target) return Outcome::Refused;
  return Change([&](history::TEditor& e) { return e.Remove(*target); }, SectionOf(object, 0));
}

TDocument::Outcome TDocument::Add(const TObjectPath& object, bool before) {
  TBase* target = Resolve(*track_, object);
  if (!target) return Outcome::Refused;
  // The copy stands where the section before it ends; the section it was made
  // from, or the one after it, follows.
  return Change([&](history::TEditor& e) { return e.Add(*target, before); }, SectionOf(object, before ? 1 : 2));
}

TDocument::Outcome TDocument::Split(const TObjectPath& section, int32_t firstLength) {
  TBase* target = Resolve(*track_, section);
  if (!target) return Outcome::Refused;
  return Change([&](history::TEditor& e) { return e.Split(*target, firstLength); }, SectionOf(section, 2));
}

TDocument::Outcome TDocument::ChangeType(const TObjectPath& section) {
  TBase* target = Resolve(*track_, section);
  if (!target) return Outcome::Refused;
  return Change([&](history::TEditor& e) { return e.ChangeType(*target); }, SectionOf(section, 1));
}

TDocument::Outcome TDocument::CopyWallsFrom(int source, int destination) {
  return Change([&](history::TEditor& e) { return e.CopyWallsFrom(source, destination); });
}

TDocument::Outcome TDocument::CopyWallsToAll(int source) {
  return Change([&](history::TEditor& e) { return e.CopyWallsToAll(source); });
}

TDocument::Outcome TDocument::CopyAltitude(const TObjectPath& altitude) {
  TBase* target = Resolve(*track_, altitude);
  if (!target) return Outcome::Refused;
  return Change([&](history::TEditor& e) { return e.CopyAltitude(*target); });
}

TDocument::Outcome TDocument::RemoveTrace(int n) {
  return Change([&](history::TEditor& e) { return e.RemoveTrace(n); });
}

TDocument::Outcome TDocument::AddTrace(int n, bool after) {
  return Change([&](history::TEditor& e) { return e.AddTrace(n, after); });
}

TDocument::Outcome TDocument::ChangeValues(std::string text, const TObjectPath& selection,
                                           const std::function<void(TTrack&)>& change) {
  return Change([&](history::TEditor& e) { return e.ChangeValues(std::move(text), selection, change); });
}

TDocument::Outcome TDocument::SetValueOnRun(const std::string& name, int32_t value) {
  const TSectionRun run = SelectedRun();
  if (run.Empty()) return Outcome::Refused;
  const int current = selection_.section, anchor = RunAnchor();
  return Change([&](history::TEditor& e) {
    bool accepted = false;
    auto step = history::TRunValueStep::Do(e.Track(), run, current, anchor, name, value, accepted);
    return e.Record(std::move(step), accepted);
  }, MovesSectionEnd(name) ? run.first + 1 : -1);
}

TDocument::Outcome TDocument::RemoveRun(const std::string& verb) {
  const TSectionRun run = SelectedRun();
  if (run.Empty()) return Outcome::Refused;
  const int current = selection_.section, anchor = RunAnchor();
  return Change([&](history::TEditor& e) {
    return e.Record(history::TRemoveRunStep::Do(e.Track(), run, current, anchor, verb), false);
  }, run.first);
}

// ---- taking changes back ----

bool TDocument::Undo() {
  TTrackChange change;
  const history::TStep* step = history_.Undo(*track_, change);
  if (step) Stepped(*step, std::move(change), true, false);
  return step != nullptr;
}

bool TDocument::Redo() {
  TTrackChange change;
  const history::TStep* step = history_.Redo(*track_, change);
  if (step) Stepped(*step, std::move(change), false, false);
  return step != nullptr;
}

void TDocument::GoTo(size_t index) {
  while (history_.Index() > index && Undo()) {
  }
  while (history_.Index() < index && Redo()) {
  }
}

// ---- listening ----

int TDocument::Subscribe(Listener listener) {
  listeners_.emplace_back(nextListener_, std::move(listener));
  return nextListener_++;
}

void TDocument::Unsubscribe(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void TDocument::Announce(const TDocumentChange& change) {
  // A listener may unsubscribe (or subscribe another) while it is told.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners)
    if (std::any_of(listeners_.begin(), listeners_.end(), [id = id](const auto& e) { return e.first == id; }))
      listener(change);
}

}  // namespace meridal
