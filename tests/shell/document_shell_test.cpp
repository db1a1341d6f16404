// The document's life: New, Open, Save, Save As, Export and closing, with the
// save-changes prompt, against scripted boxes and dialogs and real files.
#include "present/object_labels.h"
#include "present/property_rows.h"
#include "shell/document_shell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/project/project_io.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "support/track_builders.h"
#include "shell/shell_doubles.h"
#include "shell/shell_texts.h"

namespace meridal {
namespace {

using testing::ScriptedFiles;
using testing::ShownMessage;

std::string TempPath(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(MERIDAL_TEST_TMPDIR) / "shell";
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / name;
  std::filesystem::remove(path);
  return path.string();
}

std::string FirstBytes(const std::string& path, size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(n, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(n));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

void ExpectMessage(const ShownMessage& m, const std::string& title, const std::string& text, MessageIcon icon,
                   MessageButtons buttons) {
  EXPECT_EQ(m.title, title);
  EXPECT_EQ(m.text, text);
  EXPECT_EQ(m.icon, icon);
  EXPECT_EQ(m.buttons, buttons);
}

class DocumentShellTest : public ::testing::Test {
 protected:
  testing::RecordingWindows windows;
  testing::ScriptedMessages messages;
  testing::ScriptedFileDialogs dialogs;
  std::unique_ptr<IDocumentFiles> disk = MakeDiskFiles();
  TDocumentShell shell{windows, messages, dialogs, *disk};
  testing::RecordingEditCommands popup;
  RowList rows;

  DocumentShellTest() {
    windows.onSelect = [this](const TBase& object) { shell.Document()->Select(PathOf(object)); };
    windows.onRefill = [this] {
      const TBase* object = shell.Document() ? shell.Document()->SelectedObject() : nullptr;
      rows = object ? PropertyRows(*object) : RowList();
      if (object) EnableCommands(*object, popup);
    };
  }

  // A document that is not new: saved under `path` and then changed.
  void ChangedDocumentNamed(const std::string& path) {
    shell.FileNew();
    dialogs.answers = {path};
    shell.FileSaveAs();
    ASSERT_EQ(shell.FileName(), path);
    shell.MarkModified();
  }
};

TEST_F(DocumentShellTest, NewBuildsTheDefaultTrackAndSelectsIt) {
  shell.FileNew();
  ASSERT_TRUE(shell.Track());
  EXPECT_EQ(shell.Track()->NumberOfSections(), 1);
  EXPECT_EQ(shell.FileName(), "noname.mrd");
  EXPECT_FALSE(shell.Modified());
  EXPECT_TRUE(windows.documentItemsEnabled);
  EXPECT_FALSE(windows.saveEnabled);
  EXPECT_EQ(windows.tiles, 1);
  EXPECT_EQ(windows.tree->Lines(), (std::vector<std::string>{"Track", "  Section 0 (straight)", "    Altitude 0",
                                                             "    Altitude 1", "    Wall 0", "    Wall 1"}));
  EXPECT_EQ(windows.tree->selected->object, shell.Track());
  // The track's node is selected: every Edit item is off.
  for (int i : {0, 1, 2, 4, 5, 6, 7, 9}) EXPECT_FALSE(windows.editMenu.enabled[static_cast<size_t>(i)]) << i;
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(windows.busyDepth, 0);
}

TEST_F(DocumentShellTest, TheSavePromptOfANewDocumentHasTwoBlanksBeforeTheName) {
  shell.FileNew();
  shell.MarkModified();
  messages.answers = {MessageAnswer::Cancel};
  shell.FileNew();
  ASSERT_EQ(messages.shown.size(), 1u);
  ExpectMessage(messages.shown[0], "Meridal", "Save changes to  noname.mrd ?", MessageIcon::Warning,
                MessageButtons::YesNoCancel);
  // Cancel abandons the command.
  EXPECT_EQ(windows.treeWindowsCreated, 1);
  EXPECT_TRUE(shell.Modified());
}

TEST_F(DocumentShellTest, YesOnANewDocumentRunsSaveAsWhoseCancelKeepsTheDocument) {
  shell.FileNew();
  const TTrack* old = shell.Track();
  shell.MarkModified();
  messages.answers = {MessageAnswer::Yes};
  shell.FileNew();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  const FileDialogRequest& r = dialogs.asked[0].request;
  EXPECT_TRUE(dialogs.asked[0].save);
  EXPECT_EQ(r.defaultExtension, "*.mrd");
  EXPECT_EQ(r.filter, "Meridal Files (*.mrd)|*.mrd|JSON Track Files (*.json)|*.json");
  EXPECT_EQ(r.fileName, "noname.mrd");
  EXPECT_TRUE(r.promptOverwrite);
  EXPECT_TRUE(shell.SaveCancelled);
  EXPECT_EQ(shell.Track(), old);
  EXPECT_EQ(windows.treeWindowsCreated, 1);
  EXPECT_TRUE(shell.Modified());
}

TEST_F(DocumentShellTest, NoDropsTheChangesWithoutWriting) {
  shell.FileNew();
  shell.MarkModified();
  messages.answers = {MessageAnswer::No};
  shell.FileNew();
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(windows.treeWindowsCreated, 2);
  EXPECT_FALSE(shell.Modified());
}

TEST_F(DocumentShellTest, SaveAsWritesAProjectThatOpensAgain) {
  const std::string path = TempPath("saved.mrd");
  shell.FileNew();
  ASSERT_EQ(shell.Document()->SetValue(TObjectPath::Track(), "Trace 0", -123456), history::Outcome::Changed);
  EXPECT_TRUE(windows.saveEnabled);
  dialogs.answers = {path};
  shell.FileSaveAs();
  EXPECT_EQ(shell.FileName(), path);
  EXPECT_FALSE(shell.Modified());
  EXPECT_FALSE(windows.saveEnabled);
  EXPECT_EQ(FirstBytes(path, 4), "MRDL");

  shell.FileNew();
  dialogs.answers = {path};
  shell.FileOpen();
  const FileDialogRequest& r = dialogs.asked.back().request;
  EXPECT_FALSE(dialogs.asked.back().save);
  EXPECT_TRUE(r.mustExist);
  EXPECT_EQ(r.fileName, "noname.mrd");
  EXPECT_EQ(r.filter,
            "Track files (*.mrd *.json *.trk)|*.mrd;*.json;*.trk|Meridal Files (*.mrd)|*.mrd|"
            "JSON Track Files (*.json)|*.json|Sorvan Track Files (*.trk)|*.trk");
  ASSERT_TRUE(shell.Track());
  EXPECT_EQ(shell.Track()->Traces, (std::vector<int32_t>{-123456, 98425}));
  EXPECT_EQ(shell.FileName(), path);
  EXPECT_FALSE(shell.Modified());
  EXPECT_EQ(windows.tree->selected->object, shell.Track());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DocumentShellTest, LaterPromptsNameTheSavedPathAndYesSavesIt) {
  const std::string path = TempPath("named.mrd");
  ChangedDocumentNamed(path);
  ASSERT_EQ(shell.Document()->SetValue(TObjectPath::Track(), "Trace 1", 200000), history::Outcome::Changed);
  std::filesystem::remove(path);
  messages.answers = {MessageAnswer::Yes};
  shell.FileNew();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Save changes to  " + path + " ?");
  EXPECT_EQ(dialogs.asked.size(), 1u);  // Save, not Save As: no second dialog
  EXPECT_EQ(FirstBytes(path, 4), "MRDL");
  EXPECT_EQ(shell.FileName(), "noname.mrd");  // and then the new document
}

TEST_F(DocumentShellTest, ASaveThatCannotCreateItsFileKeepsTheChanges) {
  shell.FileNew();
  shell.MarkModified();
  const std::string path = TempPath("no-such-folder") + "/x.mrd";
  dialogs.answers = {path};
  shell.FileSaveAs();
  ASSERT_EQ(messages.shown.size(), 1u);
  ExpectMessage(messages.shown[0], "Error", "Unable to write\n" + path + ": No such file or directory",
                MessageIcon::None, MessageButtons::Ok);
  // Nothing was written under the new name: the document keeps its own.
  EXPECT_EQ(shell.FileName(), kNewFileName);
  EXPECT_TRUE(shell.Untitled);
  EXPECT_TRUE(shell.Modified());
  EXPECT_TRUE(windows.saveEnabled);
  EXPECT_EQ(windows.busyDepth, 0);
}

TEST_F(DocumentShellTest, OpeningAFileThatIsNoProjectKeepsTheOpenDocument) {
  const std::string path = TempPath("junk.mrd");
  std::ofstream(path, std::ios::binary) << "This is not a track at all, only some text.";
  shell.FileNew();
  ASSERT_EQ(shell.Document()->SetValue(TObjectPath::Section(0), "Length", 4242), history::Outcome::Changed);
  const TTrack* open = shell.Track();
  const auto* tree = windows.tree.get();
  messages.answers = {MessageAnswer::No};  // the changes are not saved
  dialogs.answers = {path};
  shell.FileOpen();
  ASSERT_EQ(messages.shown.size(), 2u);
  ExpectMessage(messages.shown[1], "Error",
                "Not a MERIDAL File !\njunk.mrd: the file begins with the bytes 54 68 69 73, not with MRDL",
                MessageIcon::Error, MessageButtons::Ok);
  // The document is as it was: the same track with its change, its windows, its
  // name and its history.
  EXPECT_EQ(shell.Track(), open);
  EXPECT_EQ(open->Section(0)->Length, 4242);
  EXPECT_EQ(windows.tree.get(), tree);
  EXPECT_EQ(shell.FileName(), kNewFileName);
  EXPECT_TRUE(shell.Modified() && windows.titleModified);
  EXPECT_EQ(windows.titlePath, kNewFileName);
  EXPECT_EQ(shell.Document()->History().Count(), 1u);
  EXPECT_EQ(windows.busyDepth, 0);

  // Without a document the file commands do nothing.
  shell.Close();
  dialogs.answers = {path};
  shell.FileOpen();
  EXPECT_FALSE(shell.Track());
  shell.FileSaveAs();
  shell.FileExportTrackFile();
  EXPECT_EQ(dialogs.asked.size(), 2u);
}

TEST_F(DocumentShellTest, ADamagedFileOpensWithAWarningAndIsDamagedUntilSaved) {
  const std::string path = TempPath("damaged.mrd");
  shell.FileNew();
  dialogs.answers = {path};
  shell.FileSaveAs();
  std::string bytes = FirstBytes(path, 424);
  bytes[296 + 40] = static_cast<char>(bytes[296 + 40] ^ 0x11);  // wall 1's record
  std::ofstream(path, std::ios::binary) << bytes;

  ASSERT_TRUE(shell.OpenPath(path));
  ASSERT_EQ(messages.shown.size(), 1u);
  ExpectMessage(messages.shown[0], "Meridal",
                "damaged.mrd is damaged: 1 place does not hold what the file itself fixes. It has been opened so "
                "that you can rescue what is left; look at these places before you save it:\n"
                "Section 0, wall 1: damaged record (its filler words are wrong)",
                MessageIcon::Warning, MessageButtons::Ok);
  EXPECT_TRUE(shell.Damaged && shell.Modified() && windows.saveEnabled && windows.titleModified);
  EXPECT_EQ(windows.titleNote, "(damaged)");

  // Saved, the file is whole again, and opens without a word.
  shell.FileSave();
  EXPECT_FALSE(shell.Damaged || shell.Modified());
  EXPECT_EQ(windows.titleNote, "");
  ASSERT_TRUE(shell.OpenPath(path));
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(shell.Damaged || shell.Modified());
}

TEST_F(DocumentShellTest, ATrackLongerThanATrackCanHoldOpensWithAWarning) {
  const std::string path = TempPath("long.mrd");
  TTrack track;
  track.SetDefaults();
  testing::AppendCopy<TStraightSection>(track);
  track.Section(0)->Length = 2147000000;  // the limit less 483,647 units, then a 50 m straight
  track.RecomputeStarts();
  testing::ScriptedMessages quiet;
  TFiller filler(1);
  ASSERT_EQ(SaveProjectFile(path, track, filler, quiet), FileStatus::Ok);
  ASSERT_TRUE(shell.OpenPath(path));
  ASSERT_EQ(messages.shown.size(), 1u);
  ExpectMessage(messages.shown[0], "Meridal",
                "long.mrd: the sections add up to 109117.60 m, more than the 109092.17 m (2147483647 units) a "
                "track can hold. Its Length and the Starts beyond that are wrong, and it cannot be exported until "
                "it is shorter.",
                MessageIcon::Warning, MessageButtons::Ok);
  EXPECT_FALSE(shell.Damaged || shell.Modified());
}

TEST_F(DocumentShellTest, AFileThatCannotBeOpenedIsNamed) {
  const std::string path = TempPath("missing.mrd");
  EXPECT_FALSE(shell.OpenPath(path));
  ASSERT_EQ(messages.shown.size(), 1u);
  ExpectMessage(messages.shown[0], "Meridal",
                "Unable to open " + path + " !\n" + path + ": No such file or directory", MessageIcon::Error,
                MessageButtons::Ok);
  EXPECT_FALSE(shell.Track());
}

TEST_F(DocumentShellTest, CancellingOpenChangesNothing) {
  shell.FileNew();
  const TTrack* old = shell.Track();
  shell.FileOpen();
  EXPECT_EQ(shell.Track(), old);
  EXPECT_EQ(shell.FileName(), "noname.mrd");
}

TEST_F(DocumentShellTest, ExportProposesTheTrackFileAndChangesNothing) {
  shell.FileNew();
  shell.MarkModified();
  shell.FileExportTrackFile();  // cancelled
  ASSERT_EQ(dialogs.asked.size(), 1u);
  const FileDialogRequest& r = dialogs.asked[0].request;
  EXPECT_TRUE(dialogs.asked[0].save);
  EXPECT_EQ(r.fileName, "noname.trk");
  EXPECT_EQ(r.defaultExtension, "*.trk");
  EXPECT_EQ(r.filter, "Sorvan Track Files (*.trk)|*.trk");

  const std::string path = TempPath("out.trk");
  dialogs.answers = {path};
  shell.FileExportTrackFile();
  EXPECT_EQ(FirstBytes(path, 4), "KART");
  EXPECT_EQ(shell.FileName(), "noname.mrd");
  EXPECT_TRUE(shell.Modified());
  EXPECT_TRUE(messages.shown.empty());
  // The new track's loop is open (its one straight ends 50 m from its start).
  EXPECT_EQ(windows.statusTexts, std::vector<std::string>{"Exported; the track has 1 gap (see View > Track Check)"});

  const std::string missing = TempPath("no-such-folder") + "/x.trk";
  dialogs.answers = {missing};
  shell.FileExportTrackFile();
  ASSERT_EQ(messages.shown.size(), 1u);
  ExpectMessage(messages.shown[0], "Error", "Unable to open file!\n" + missing + ": No such file or directory",
                MessageIcon::None, MessageButtons::Ok);
}

TEST_F(DocumentShellTest, ClosingAsksOnlyForChanges) {
  EXPECT_TRUE(shell.CloseQuery());
  shell.FileNew();
  EXPECT_TRUE(shell.CloseQuery());
  EXPECT_TRUE(messages.shown.empty());
  shell.MarkModified();
  messages.answers = {MessageAnswer::Cancel, MessageAnswer::Yes, MessageAnswer::No};
  EXPECT_FALSE(shell.CloseQuery());
  EXPECT_FALSE(shell.CloseQuery());  // Yes, then Save As cancelled
  EXPECT_TRUE(shell.CloseQuery());
  shell.Close();
  EXPECT_FALSE(shell.Track());
  EXPECT_FALSE(windows.tree);
}

// ---- with files that fail on request ----

class ScriptedFilesShellTest : public ::testing::Test {
 protected:
  testing::RecordingWindows windows;
  testing::ScriptedMessages messages;
  testing::ScriptedFileDialogs dialogs;
  ScriptedFiles files;
  TDocumentShell shell{windows, messages, dialogs, files};
};

// A document that was never saved has no file yet: Save asks for one rather than
// writing "noname.mrd" over whatever the working folder holds. The title and the
// status bar follow.
TEST_F(ScriptedFilesShellTest, SavingANewDocumentAsksForItsName) {
  shell.FileNew();
  EXPECT_TRUE(shell.Untitled);
  EXPECT_EQ(windows.titlePath, "noname.mrd");
  shell.FileSave();  // nothing to save yet
  EXPECT_TRUE(files.paths.empty());
  shell.MarkModified();
  EXPECT_TRUE(windows.titleModified);
  shell.FileSave();  // cancelled
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].request.fileName, "noname.mrd");
  EXPECT_TRUE(files.paths.empty());
  EXPECT_TRUE(shell.Modified());

  dialogs.answers = {"tracks/circuit.mrd"};
  shell.FileSave();
  EXPECT_EQ(files.paths, std::vector<std::string>{"tracks/circuit.mrd"});
  EXPECT_FALSE(shell.Untitled);
  EXPECT_FALSE(shell.Modified());
  EXPECT_EQ(windows.titlePath, "tracks/circuit.mrd");
  EXPECT_FALSE(windows.titleModified);
  EXPECT_EQ(windows.statusTexts, std::vector<std::string>{"Saved circuit.mrd"});
}

TEST_F(ScriptedFilesShellTest, AWriteThatFailsKeepsModifiedAndSave) {
  shell.FileNew();
  shell.MarkModified();
  files.saveStatus = FileStatus::Failed;  // the writer has said why
  shell.FileSave();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(shell.Modified());
  EXPECT_TRUE(windows.saveEnabled);
}

TEST_F(ScriptedFilesShellTest, APromptedSaveThatFailsKeepsTheDocument) {
  shell.FileNew();
  dialogs.answers = {"track.mrd"};
  shell.FileSaveAs();
  shell.MarkModified();
  const TTrack* old = shell.Track();
  files.saveStatus = FileStatus::CannotOpen;
  messages.answers = {MessageAnswer::Yes};
  shell.FileNew();
  EXPECT_EQ(shell.Track(), old);
  EXPECT_TRUE(shell.Modified());
  messages.answers = {MessageAnswer::Yes};
  EXPECT_FALSE(shell.CloseQuery());
}

TEST_F(ScriptedFilesShellTest, ACannotOpenNamesTheSystemsReasonBeneath) {
  files.loadStatus = FileStatus::CannotOpen;
  files.reason = "tracks/circuit.mrd: Permission denied";
  EXPECT_FALSE(shell.OpenPath("tracks/circuit.mrd"));
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Unable to open tracks/circuit.mrd !\ntracks/circuit.mrd: Permission denied"});
}

TEST_F(ScriptedFilesShellTest, AFailedReadKeepsTheOpenDocument) {
  shell.FileNew();
  const TTrack* open = shell.Track();
  files.loadStatus = FileStatus::Failed;
  EXPECT_FALSE(shell.OpenPath("bad.mrd"));
  EXPECT_EQ(shell.Track(), open);
  EXPECT_TRUE(windows.tree);
  EXPECT_EQ(shell.FileName(), kNewFileName);
  EXPECT_TRUE(messages.shown.empty());  // the reader shows its own message
}

// ---- selection and refresh ----

class SelectionTest : public DocumentShellTest {
 protected:
  void SetUp() override {
    shell.FileNew();
  }
};

TEST_F(SelectionTest, TheEditItemsFollowTheSelectedKind) {
  using Items = std::array<bool, kEditCommandCount>;
  const auto& menu = windows.editMenu.enabled;
  // Separators (3 and 8) are left as they were: on.
  const Items section{true, true, true, true, true, true, true, true, true, false};
  const Items wall{true, true, true, true, false, false, false, false, true, false};
  const Items altitude{false, false, false, true, false, false, false, false, true, true};
  const Items track{false, false, false, true, false, false, false, false, true, false};
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  EXPECT_EQ(menu, section);
  ASSERT_TRUE(windows.SelectNode("Wall 1"));
  EXPECT_EQ(menu, wall);
  ASSERT_TRUE(windows.SelectNode("Altitude 0"));
  EXPECT_EQ(menu, altitude);
  ASSERT_TRUE(windows.SelectNode("Track"));
  EXPECT_EQ(menu, track);

  // The tree's popup is set the same way, and the list gets the object's rows.
  ASSERT_TRUE(windows.SelectNode("Wall 0"));
  EXPECT_EQ(popup.enabled, wall);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].Caption, "From");
}

TEST_F(SelectionTest, SelectingMovesTheHighlight) {
  const TDocument& document = *shell.Document();
  ASSERT_TRUE(windows.SelectNode("Wall 1"));
  EXPECT_EQ(document.Selection(), TObjectPath::Wall(0, 1));
  ASSERT_TRUE(windows.SelectNode("Altitude 1"));
  EXPECT_EQ(document.Selection(), TObjectPath::Altitude(0, 1));
  ASSERT_TRUE(windows.SelectNode("Track"));
  EXPECT_EQ(document.Selection(), TObjectPath::Track());
  ASSERT_TRUE(windows.SelectNode("Wall 0"));
  EXPECT_TRUE(windows.editMenu.enabled[kEditRemove]);  // the menu follows too
}

TEST_F(SelectionTest, AnEditIsAnnouncedOnceToThePlanWindow) {
  const TTrack& track = *shell.Track();
  const TRect before = track.Extent;
  ASSERT_EQ(shell.Change([&](history::TEditor& e) { return e.SetValue(*track.Section(0), "Length", 3 * 984252); }),
            history::Outcome::Changed);
  EXPECT_NE(track.Extent, before);
  EXPECT_EQ(windows.plan, shell.Document());
  EXPECT_EQ(windows.repaints, 1);
  EXPECT_TRUE(shell.Modified());
  EXPECT_TRUE(windows.saveEnabled);
}

TEST_F(SelectionTest, ACommandsReportGoesWithTheNextEdit) {
  shell.Report("Loop closed: gap 0");
  ASSERT_EQ(windows.statusTexts.back(), "Loop closed: gap 0");
  const TTrack& track = *shell.Track();
  ASSERT_EQ(shell.Change([&](history::TEditor& e) { return e.SetValue(*track.Section(0), "Length", 98425); }),
            history::Outcome::Changed);
  EXPECT_EQ(windows.statusTexts.back(), "");
}

TEST_F(SelectionTest, ThePlanWindowGoesWithItsDocument) {
  EXPECT_EQ(windows.planWindowsCreated, 1);
  shell.Close();
  EXPECT_EQ(windows.plan, nullptr);
  shell.FileNew();
  EXPECT_EQ(windows.planWindowsCreated, 2);
  EXPECT_EQ(windows.plan, shell.Document());
}

TEST_F(DocumentShellTest, AnImportIsAnUntitledModifiedDocumentThatSaveAsksToName) {
  const std::string trk = TempPath("imported.trk"), json = TempPath("named.json");
  TTrack source;
  source.SetDefaults();
  ASSERT_TRUE(source.Section(0)->SetLength(4242));
  testing::ScriptedMessages quiet;
  ASSERT_EQ(ExportTrackFile(trk, source, quiet), FileStatus::Ok);

  shell.FileNew();
  dialogs.answers = {trk};
  shell.FileImportTrackFile();
  EXPECT_EQ(dialogs.asked.back().request.filter, "Sorvan Track Files (*.trk)|*.trk");
  ASSERT_TRUE(shell.Track());
  EXPECT_EQ(shell.Track()->Section(0)->Length, 4242);
  EXPECT_EQ(shell.FileName(), TempPath("imported.mrd"));
  EXPECT_TRUE(shell.Untitled && shell.Modified() && windows.saveEnabled);

  // A refused file leaves the imported document as it was.
  const TTrack* imported = shell.Track();
  const std::string bad = TempPath("bad.trk");
  std::ofstream(bad) << "KART but nothing after it";
  EXPECT_FALSE(shell.ImportPath(bad));
  EXPECT_EQ(shell.Track(), imported);
  EXPECT_EQ(messages.Texts().back(),
            "Track: Error reading file!\nbad.trk: the file ends inside its header: it holds 25 bytes, the header and "
            "the trace list take 92");

  // Save asks for a name, proposing the project's; a JSON name writes JSON.
  dialogs.answers = {json};
  shell.FileSave();
  EXPECT_TRUE(dialogs.asked.back().save);
  EXPECT_EQ(dialogs.asked.back().request.fileName, TempPath("imported.mrd"));
  EXPECT_EQ(FirstBytes(json, 1), "{");
  EXPECT_FALSE(shell.Untitled || shell.Modified());
  EXPECT_EQ(shell.Recent.Paths(), (std::vector<std::string>{json, trk}));

  shell.FileNew();
  shell.FileOpenPath(json);  // a JSON document saves back as JSON
  EXPECT_EQ(shell.Track()->Section(0)->Length, 4242);
  shell.Change([&](history::TEditor& e) { return e.SetValue(*shell.Track()->Section(0), "Length", 99); });
  shell.FileSave();
  EXPECT_EQ(FirstBytes(json, 1), "{");
  EXPECT_FALSE(shell.Modified());
}

}  // namespace
}  // namespace meridal
