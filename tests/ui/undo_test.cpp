// Undo and redo in the editor, driven as a user drives it: a click on the node, the
// Edit command or its key, then Ctrl+Z. What the user saw before the edit (the tree
// node for node, the list, the drawing, the file the export writes) must be back.
#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "files/cipher/filler.h"
#include "files/project/project_io.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "ui/plan/plan_view.h"
#include "ui/history_window.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::MessageAnswer;
using meridal::testing::UiFrame;

namespace {

// The tree as the user sees it: every node's label and images in order, and
// whether it is expanded.
QStringList TreeLines(QTreeView& view) {
  QStringList lines;
  QAbstractItemModel& model = *view.model();
  const std::function<void(const QModelIndex&, int)> dump = [&](const QModelIndex& parent, int depth) {
    for (int i = 0; i < model.rowCount(parent); ++i) {
      const QModelIndex node = model.index(i, 0, parent);
      lines << QStringLiteral("%1%2 %3/%4%5")
                   .arg(QString(depth * 2, ' '), node.data().toString())
                   .arg(node.data(meridal::QtTreeNodes::kImageRole).toInt())
                   .arg(node.data(meridal::QtTreeNodes::kSelectedImageRole).toInt())
                   .arg(view.isExpanded(node) ? " +" : "");
      dump(node, depth + 1);
    }
  };
  dump(QModelIndex(), 0);
  return lines;
}

QStringList ListRows(QTreeWidget& list) {
  QStringList rows;
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    QStringList cells;
    for (int c = 0; c < list.columnCount(); ++c) cells << list.topLevelItem(i)->text(c);
    rows << cells.join('|');
  }
  return rows;
}

struct Frame : UiFrame {
  explicit Frame(const QString& path) : UiFrame(true) {
    window->show();
    QVERIFY(window->OpenAtStartUp(path));
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    Settle();
  }
  const QImage& Settle() {
    QCoreApplication::processEvents();
    return window->PlanView->Picture();
  }
  QByteArray Exported() {
    meridal::testing::ScriptedMessages quiet;
    const auto image = meridal::ExportTrackImage(const_cast<meridal::TTrack&>(*Shell().Track()), quiet);
    return QByteArray(reinterpret_cast<const char*>(image->data()), static_cast<int>(image->size()));
  }
  // Everything the user can see of the document.
  struct Seen {
    QStringList tree, list;
    QString selected;
    QImage picture;
    QByteArray exported;
  };
  Seen Look() { return {TreeLines(*Tree()), ListRows(*List()), CurrentNode(), Settle().copy(), Exported()}; }
  void Yes(QAction* action) {
    messages.answers = {MessageAnswer::Yes};
    action->trigger();
  }
  // The platform's keys for Undo and Redo (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y).
  void CtrlZ() { QTest::keySequence(Tree(), QKeySequence(QKeySequence::Undo)); }
  void Redo() { QTest::keySequence(Tree(), QKeySequence(QKeySequence::Redo)); }
};

void ExpectSame(const Frame::Seen& a, const Frame::Seen& b) {
  QCOMPARE(a.tree, b.tree);
  QCOMPARE(a.selected, b.selected);
  QCOMPARE(a.list, b.list);
  QCOMPARE(a.exported, b.exported);
  QVERIFY(a.picture == b.picture);
}

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");

}  // namespace

class UndoTest : public QObject {
  Q_OBJECT

 private slots:
  void ctrlZTakesBackWhatTheEditDid() {
    Frame f(kCircuit);
    using Edit = std::function<void()>;
    const std::vector<std::pair<const char*, Edit>> edits = {
        {"Remove (Delete key)", [&] {
           f.messages.answers = {MessageAnswer::Yes};
           QTest::keyClick(f.Tree(), Qt::Key_Delete);
         }},
        {"Split", [&] {
           f.dialogs.splitAt = 100000;
           f.window->EditSplitClick();
         }},
        {"Change Type", [&] { f.Yes(f.window->EditItems.Action(meridal::kEditChangeType)); }},
        {"Copy Walls To All", [&] { f.Yes(f.window->EditItems.Action(meridal::kEditCopyWallsToAll)); }},
        {"Set Radius (F2)", [&] {
           QVERIFY(f.PressRow(QStringLiteral("Radius")));
           f.dialogs.editResult = 400000;
           QTest::keyClick(f.List(), Qt::Key_F2);
         }},
    };
    for (const auto& [name, edit] : edits) {
      qDebug() << name;  // which edit, should one fail
      QVERIFY(f.ClickNode(QStringLiteral("Section 3 (curved)")));
      const Frame::Seen before = f.Look();
      edit();
      QVERIFY(f.Shell().Modified());
      // The picture drawn piece by piece is the one a full repaint gives.
      const QImage edited = f.Settle().copy();
      f.window->PlanView->Repaint();
      QVERIFY(f.Settle() == edited);
      QVERIFY(f.window->EditUndo->isEnabled());
      QVERIFY(f.Exported() != before.exported);
      f.CtrlZ();
      ExpectSame(f.Look(), before);
      QVERIFY(!f.Shell().Modified());  // back at the state the file holds
      QVERIFY(!f.window->isWindowModified());
      QVERIFY(f.window->EditRedo->isEnabled());
      f.window->PlanView->Repaint();
      QVERIFY(f.Settle() == before.picture);
    }
  }

  void redoIsDroppedByANewEditAndTheTitleFollowsTheHistory() {
    Frame f(kCircuit);
    QVERIFY(f.ClickNode(QStringLiteral("Section 2 (straight)")));
    f.Yes(f.window->EditItems.Action(meridal::kEditAddAfter));
    QCOMPARE(f.window->EditUndo->text(), QStringLiteral("&Undo Add Section after Section 2"));
    f.CtrlZ();
    QVERIFY(!f.window->isWindowModified());
    QCOMPARE(f.window->EditRedo->text(), QStringLiteral("&Redo Add Section after Section 2"));
    f.Redo();
    QVERIFY(f.window->isWindowModified());
    f.CtrlZ();
    // A new edit after an undo: nothing is left to redo.
    QVERIFY(f.ClickNode(QStringLiteral("Section 2 (straight)")));
    f.Yes(f.window->EditItems.Action(meridal::kEditChangeType));
    QVERIFY(!f.window->EditRedo->isEnabled());
    QVERIFY(f.window->isWindowModified());

    // The History window lists the steps; a click on the first row goes back to it.
    f.window->WindowHistory->trigger();
    QVERIFY(f.window->isWindowModified());  // opening a window keeps the title's mark
    meridal::TFormHistory& history = *f.window->FormHistory;
    QCOMPARE(history.model()->rowCount(), 2);
    QCOMPARE(history.model()->index(1, 0).data().toString(), QStringLiteral("Change Type of Section 2"));
    QTest::mouseClick(history.viewport(), Qt::LeftButton, Qt::NoModifier,
                      history.visualRect(history.model()->index(0, 0)).center());
    QCOMPARE(f.Shell().Document()->History().Index(), 0u);
    QVERIFY(f.Node(QStringLiteral("Section 2 (straight)")).isValid());
    QVERIFY(!f.window->isWindowModified());
  }

  // A run of edits and their undos leaves the tree as a fresh open shows it, and
  // the nodes the user had opened stay open.
  void theTreeAfterEditsAndUndosIsTheTreeOfAFreshOpen() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mid.mrd"));
    {
      auto track = meridal::SyntheticTrack(40, 6, 5);
      meridal::TFiller filler(1);
      meridal::testing::ScriptedMessages quiet;
      QVERIFY(meridal::SaveProjectFile(path.toStdString(), *track, filler, quiet) == meridal::FileStatus::Ok);
    }
    Frame f(path);
    QVERIFY(f.ClickNode(QStringLiteral("Section 1 (straight)")));
    f.Tree()->expand(f.Node(QStringLiteral("Section 1 (straight)")));
    const QStringList before = TreeLines(*f.Tree());

    QVERIFY(f.ClickNode(QStringLiteral("Section 5 (straight)")));
    f.Yes(f.window->EditItems.Action(meridal::kEditRemove));
    QVERIFY(f.ClickNode(QStringLiteral("Section 10 (straight)")));
    f.Yes(f.window->EditItems.Action(meridal::kEditAddAfter));
    QVERIFY(f.ClickNode(QStringLiteral("Section 20 (straight)")));
    f.dialogs.splitAt = 50000;
    f.window->EditSplitClick();
    QVERIFY(f.ClickNode(QStringLiteral("Section 7 (straight)")));
    f.Yes(f.window->EditItems.Action(meridal::kEditChangeType));
    const QModelIndex section1 = f.Node(QStringLiteral("Section 1 (straight)"));
    QVERIFY(f.ClickNode(section1.model()->index(8, 0, section1)));  // Wall 2
    f.Yes(f.window->EditItems.Action(meridal::kEditAddBefore));
    QVERIFY(f.ClickNode(QStringLiteral("Track")));
    QVERIFY(f.PressRow(QStringLiteral("Trace 2")));
    f.Yes(f.window->FormTree->ListPopupMenu->actions()[2]);  // Add After
    QVERIFY(f.ClickNode(QStringLiteral("Section 3 (straight)")));
    QVERIFY(f.PressRow(QStringLiteral("Length")));
    f.dialogs.editResult = 123456;
    QTest::keyClick(f.List(), Qt::Key_F2);
    QCOMPARE(f.Shell().Document()->History().Count(), 7u);
    QVERIFY(TreeLines(*f.Tree()) != before);

    while (f.window->EditUndo->isEnabled()) f.CtrlZ();
    QVERIFY(f.ClickNode(QStringLiteral("Section 1 (straight)")));
    QCOMPARE(TreeLines(*f.Tree()), before);

    Frame fresh(path);
    QVERIFY(fresh.ClickNode(QStringLiteral("Section 1 (straight)")));
    fresh.Tree()->expand(fresh.Node(QStringLiteral("Section 1 (straight)")));
    QCOMPARE(TreeLines(*f.Tree()), TreeLines(*fresh.Tree()));
  }
};

MERIDAL_UI_TEST_MAIN(UndoTest)
#include "undo_test.moc"
