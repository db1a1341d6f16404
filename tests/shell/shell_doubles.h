#pragma once
// Doubles for the shell's seams: message boxes and file dialogs answered from a
// script, a frame that records what the commands asked of it, dialogs with
// scripted results, and files that fail on request.
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/base.h"
#include "platform/edit_commands.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "document/document.h"
#include "shell/document_files.h"
#include "shell/document_shell.h"
#include "shell/edit_command_flow.h"
#include "shell/property_list_commands.h"
#include "shell/shell_dialogs.h"
#include "shell/shell_windows.h"
#include "support/fake_draw_window.h"
#include "support/memory_tree.h"

namespace meridal::testing {

struct ShownMessage {
  std::string title, text;
  MessageIcon icon;
  MessageButtons buttons;
};

// Answers in the order given; a box without a scripted answer gets OK, or Cancel
// when it has no OK button (so an unexpected question never goes on by itself).
class ScriptedMessages : public IMessages {
 public:
  MessageAnswer Show(const std::string& title, const std::string& text, MessageIcon icon,
                     MessageButtons buttons) override {
    shown.push_back({title, text, icon, buttons});
    if (!answers.empty()) {
      const MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown) out.push_back(m.text);
    return out;
  }
  std::deque<MessageAnswer> answers;
  std::vector<ShownMessage> shown;
};

// Paths in the order given; nothing scripted means the user cancelled.
class ScriptedFileDialogs : public IFileDialogs {
 public:
  std::optional<std::string> Open(const FileDialogRequest& request) override { return Answer(request, false); }
  std::optional<std::string> Save(const FileDialogRequest& request) override { return Answer(request, true); }

  struct Asked {
    FileDialogRequest request;
    bool save;
  };
  std::deque<std::optional<std::string>> answers;
  std::vector<Asked> asked;

 private:
  std::optional<std::string> Answer(const FileDialogRequest& request, bool save) {
    asked.push_back({request, save});
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

class RecordingEditCommands : public IEditCommands {
 public:
  RecordingEditCommands() { enabled.fill(true); }
  void SetEnabled(int index, bool on) override { enabled[static_cast<size_t>(index)] = on; }
  std::array<bool, kEditCommandCount> enabled{};
};

// The frame: a memory tree for the tree window; its plan window counts the
// document's changes of the track it would redraw.
class RecordingWindows : public IShellWindows {
 public:
  ~RecordingWindows() override { DestroyPlanWindow(); }
  void CreatePlanWindow(TDocument& document) override {
    DestroyPlanWindow();
    plan = &document;
    ++planWindowsCreated;
    planListener = document.Subscribe([this](const TDocumentChange& change) {
      if (!change.track.Empty()) ++repaints;
    });
  }
  ITreeNodes& CreateTreeWindow() override {
    tree = std::make_unique<MemoryTree>();
    tree->onSelect = [this](MemoryTree::Node* node) {
      if (node && node->object && onSelect) onSelect(*node->object);
    };
    ++treeWindowsCreated;
    return *tree;
  }
  void DestroyPlanWindow() override {
    if (plan) plan->Unsubscribe(planListener);
    plan = nullptr;
  }
  void DestroyTreeWindow() override { tree.reset(); }
  void TileWindows() override { ++tiles; }
  void RefillProperties() override {
    ++refills;
    if (onRefill) onRefill();
  }
  // The list follows the selection as the tree window's does.
  void SelectionMoved() override {
    if (onRefill) onRefill();
  }
  IEditCommands& EditMenu() override { return editMenu; }
  void SetSaveEnabled(bool on) override { saveEnabled = on; }
  void SetDocumentItemsEnabled(bool on) override { documentItemsEnabled = on; }
  void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
  void SetDocumentTitle(const std::string& path, bool modified) override {
    titlePath = path;
    titleModified = modified;
  }
  void SetDocumentNote(const std::string& note) override { titleNote = note; }
  void ShowStatus(const std::string& text) override { statusTexts.push_back(text); }

  // Selects the node whose text is `label` as a user does (and runs the tree's
  // selection handling).
  bool SelectNode(const std::string& label) {
    if (!tree) return false;
    for (auto& root : tree->roots)
      if (MemoryTree::Node* n = Find(*root, label)) {
        tree->Select(n);
        return true;
      }
    return false;
  }

  // The tree window's selection handling (a fixture connects it to the document),
  // and the list's refill.
  std::function<void(const TBase&)> onSelect;
  std::function<void()> onRefill;
  TDocument* plan = nullptr;  // the document the plan window shows
  int planListener = 0;
  int planWindowsCreated = 0;
  std::unique_ptr<MemoryTree> tree;
  RecordingEditCommands editMenu;
  bool saveEnabled = false, documentItemsEnabled = false;
  std::string titlePath;
  bool titleModified = false;
  std::string titleNote;
  std::vector<std::string> statusTexts;
  int tiles = 0, repaints = 0, refills = 0, busyDepth = 0, treeWindowsCreated = 0;

 private:
  static MemoryTree::Node* Find(MemoryTree::Node& n, const std::string& label) {
    if (n.text == label) return &n;
    for (auto& c : n.children)
      if (MemoryTree::Node* f = Find(*c, label)) return f;
    return nullptr;
  }
};

class ScriptedDialogs : public IShellDialogs {
 public:
  // The value "typed" is written as OK writes it; a refused one counts as Cancel.
  bool EditValue(const TBase* object, const std::string& name, const ValueWriter& write) override {
    editedObject = object;
    editedName = name;
    ++editValues;
    return editResult && object && write(*editResult);
  }
  bool SplitSection(const TBase* section, const ValueWriter& split) override {
    splitTarget = section;
    ++splits;
    if (splitAt) return split(*splitAt);  // the length "typed", split as OK does
    return splitResult;
  }
  std::optional<int> CopyWallsFrom(int presetNumber, int numberOfSections) override {
    copyPreset = presetNumber;
    copyCount = numberOfSections;
    ++copies;
    return copyResult;
  }
  void About() override { ++abouts; }

  std::optional<int32_t> editResult;  // the value "typed" and accepted; nothing: Cancel
  bool splitResult = false;
  std::optional<int32_t> splitAt;
  std::optional<int> copyResult;
  const TBase* editedObject = nullptr;
  const TBase* splitTarget = nullptr;
  std::string editedName;
  int copyPreset = -1, copyCount = -1;
  int editValues = 0, splits = 0, copies = 0, abouts = 0;
};

// Files that answer with a set status and remember what they were asked.
class ScriptedFiles : public IDocumentFiles {
 public:
  FileOutcome Load(const std::string& path, TTrack&, IMessages&) override { return Record(path, loadStatus); }
  FileOutcome Save(const std::string& path, TTrack&, IMessages&) override { return Record(path, saveStatus); }
  FileOutcome Export(const std::string& path, TTrack&, IMessages&) override { return Record(path, exportStatus); }

  FileStatus loadStatus = FileStatus::Failed;
  FileStatus saveStatus = FileStatus::Ok;
  FileStatus exportStatus = FileStatus::Ok;
  std::string reason;  // the system's reason given with a failure
  std::vector<std::string> paths;

 private:
  FileOutcome Record(const std::string& path, FileStatus status) {
    paths.push_back(path);
    FileOutcome outcome;
    outcome.status = status;
    outcome.reason = status == FileStatus::Ok ? "" : reason;
    return outcome;
  }
};

// A shell over the doubles with the Edit and list commands, as the frame holds
// them; a selection in the tree goes to the document as the tree window sends it.
struct ShellFixture {
  RecordingWindows windows;
  ScriptedMessages messages;
  ScriptedFileDialogs fileDialogs;
  ScriptedFiles files;
  ScriptedDialogs dialogs;
  TDocumentShell shell{windows, messages, fileDialogs, files};
  TEditCommandFlow flow{shell, dialogs};
  TPropertyListCommands list{shell, dialogs};

  ShellFixture() {
    windows.onSelect = [this](const TBase& object) {
      if (TDocument* document = shell.Document()) document->Select(PathOf(object));
    };
  }
  // The open document's track, for a test to set up values the commands then meet.
  TTrack& Track() { return const_cast<TTrack&>(*shell.Track()); }
};

}  // namespace meridal::testing
