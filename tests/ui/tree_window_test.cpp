// The tree window: the tree and its images, the list and its columns, the
// selection handling, double-click editing and the two popup menus.
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QSplitter>
#include <QIcon>
#include <QTest>

#include "present/property_rows.h"
#include "model/track.h"
#include "ui/qt_tree_nodes.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::MessageAnswer;
using meridal::QtTreeNodes;
using meridal::testing::UiFrame;

namespace {

// Every row as "Variable | Value | Meaning".
QStringList RowTexts(const QTreeWidget* list) {
  QStringList out;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    out << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
  }
  return out;
}

QStringList RowTexts(const meridal::TBase* object) {
  meridal::RowList rows;
  FillProperties(*object, rows);
  QStringList out;
  for (const meridal::PropertyRow& row : rows) {
    QStringList texts{QString::fromStdString(row.Caption), QString(), QString()};
    for (size_t c = 0; c < 2 && c < row.SubItems.size(); ++c) texts[int(c) + 1] = QString::fromStdString(row.SubItems[c]);
    out << texts.join(" | ");
  }
  return out;
}

QStringList EnabledItems(const QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions())
    if (!a->isSeparator() && a->isEnabled()) out << a->text();
  return out;
}

}  // namespace

class TreeWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutAndColumns() {
    UiFrame f;
    f.window->show();
    f.window->FileNewClick();
    meridal::TFormTree* tree = f.window->FormTree;
    QVERIFY(QTest::qWaitForWindowExposed(tree));
    QCOMPARE(tree->windowTitle(), QStringLiteral("Tree"));
    QCOMPARE(tree->TreeView->indentation(), 19);
    QCOMPARE(tree->Splitter->handleWidth(), 3);
    QCOMPARE(tree->Splitter->sizes().front(), 193);
    QStringList headers;
    QList<int> widths;
    for (int i = 0; i < tree->ListView->columnCount(); ++i) {
      headers << tree->ListView->headerItem()->text(i);
      widths << tree->ListView->columnWidth(i);
    }
    QCOMPARE(headers, (QStringList{"Variable", "Value", "Meaning", "Edit", "Comment"}));
    QCOMPARE(widths, (QList<int>{120, 100, 100, 32, 200}));
    QCOMPARE(tree->ListPopupMenu->actions().size(), 3);
    QCOMPARE(tree->TreePopupMenu->actions().size(), 10);
    QCOMPARE(tree->TreePopupItems.Action(meridal::kEditCopyWallsToAll)->text(), QStringLiteral("Copy &Walls To All"));
  }

  void theTreeShowsTheTrackWithItsImages() {
    UiFrame f;
    f.window->FileNewClick();
    QAbstractItemModel* model = f.TreeModel();
    const QModelIndex track = model->index(0, 0);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(track.data().toString(), QStringLiteral("Track"));
    QCOMPARE(QtTreeNodes::ObjectOf(track), static_cast<const meridal::TBase*>(f.Shell().Track()));
    QCOMPARE(model->rowCount(track), 1);
    const QModelIndex section = model->index(0, 0, track);
    QStringList children;
    for (int i = 0; i < model->rowCount(section); ++i) children << model->index(i, 0, section).data().toString();
    QCOMPARE(children, (QStringList{"Altitude 0", "Altitude 1", "Wall 0", "Wall 1"}));
    const auto images = [](const QModelIndex& item) {
      return qMakePair(item.data(QtTreeNodes::kImageRole).toInt(), item.data(QtTreeNodes::kSelectedImageRole).toInt());
    };
    using Images = QPair<int, int>;
    QCOMPARE(images(track), Images(0, 1));
    QCOMPARE(images(section), Images(2, 3));
    QCOMPARE(images(model->index(1, 0, section)), Images(4, 5));
    QCOMPARE(images(model->index(3, 0, section)), Images(6, 7));
    QVERIFY(!track.data(Qt::DecorationRole).value<QIcon>().isNull());
  }

  void selectingANodeListsItsRowsAndSetsBothMenus() {
    UiFrame f;
    f.window->FileNewClick();
    meridal::TFormTree* tree = f.window->FormTree;
    const QStringList structural{"&Remove", "Add &Before", "Add &After"};
    QVERIFY(f.SelectNode(QStringLiteral("Section 0 (straight)")));
    QCOMPARE(f.List()->topLevelItemCount(), 7);
    QCOMPARE(f.List()->topLevelItem(2)->text(0), QStringLiteral("Length"));
    QCOMPARE(f.List()->topLevelItem(2)->text(2), QStringLiteral("50.000002 m"));
    QCOMPARE(f.List()->topLevelItem(2)->text(3), QStringLiteral("yes"));
    QCOMPARE(EnabledItems(tree->TreePopupMenu),
             structural + QStringList({"&Split Section...", "Change Section &Type", "Copy Walls &From...",
                                       "Copy &Walls To All"}));
    QCOMPARE(EnabledItems(f.window->EditMenuItems).size(), 14);  // and Cut, Copy, Paste, Reverse, Mirror, Close Loop, Preferences
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Section(0));

    QVERIFY(f.SelectNode(QStringLiteral("Wall 1")));
    QCOMPARE(EnabledItems(tree->TreePopupMenu), structural);
    // The track, whatever is selected.
    const QStringList whole{"Re&verse Track", "&Mirror Track", "Close &Loop\u2026", "Pre&ferences\u2026"};
    QCOMPARE(EnabledItems(f.window->EditMenuItems), structural + whole);
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Wall(0, 1));
    QCOMPARE(f.List()->topLevelItem(6)->text(4), QStringLiteral("Vostrel Surface Sub-Type"));

    QVERIFY(f.SelectNode(QStringLiteral("Altitude 0")));
    QCOMPARE(EnabledItems(tree->TreePopupMenu), QStringList{"&Copy Altitude"});
    QCOMPARE(EnabledItems(f.window->EditMenuItems), QStringList{"&Copy Altitude"} + whole);

    QVERIFY(f.SelectNode(QStringLiteral("Track")));
    QCOMPARE(EnabledItems(f.window->EditMenuItems), whole);
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Track());
  }

  void aValueThatCannotBeEditedSaysSo() {
    UiFrame f;
    f.window->FileNewClick();
    QVERIFY(f.SelectNode(QStringLiteral("Section 0 (straight)")));
    f.window->FormTree->ListViewDblClick();  // no row selected: nothing
    QVERIFY(f.messages.shown.empty());
    QVERIFY(f.SelectRow(QStringLiteral("Type")));
    f.window->FormTree->ListViewDblClick();
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"This value can not be edited !"});
    QCOMPARE(f.messages.shown[0].icon, meridal::MessageIcon::Information);
    QCOMPARE(f.dialogs.editValues, 0);
    QVERIFY(!f.Shell().Modified());

    QVERIFY(f.SelectRow(QStringLiteral("Orientation")));
    QTest::keyClick(f.List(), Qt::Key_Return);  // the keyboard's double-click
    QCOMPARE(f.dialogs.editValues, 1);
    QCOMPARE(QString::fromStdString(f.dialogs.editedName), QStringLiteral("Orientation"));
  }

  void thePopupOfTraceRows() {
    UiFrame f;
    f.window->FileNewClick();
    meridal::TFormTree* tree = f.window->FormTree;
    QVERIFY(EnabledItems(tree->ListPopupMenu).isEmpty());  // no row selected
    QVERIFY(f.SelectRow(QStringLiteral("Trace 1")));
    QCOMPARE(EnabledItems(tree->ListPopupMenu), (QStringList{"&Remove", "Add &Before", "Add &After"}));
    QVERIFY(f.SelectRow(QStringLiteral("Number of Traces")));
    QVERIFY(EnabledItems(tree->ListPopupMenu).isEmpty());

    // Two traces stay: removing one is refused and nothing changes.
    QVERIFY(f.SelectRow(QStringLiteral("Trace 1")));
    f.messages.answers = {MessageAnswer::Yes};
    tree->ListPopupMenu->actions()[0]->trigger();
    QCOMPARE(f.messages.Texts(), (std::vector<std::string>{"Remove Trace 1 ?", "Cannot remove Trace 1 !"}));
    QCOMPARE(f.Shell().Track()->NumberOfTraces(), 2);
    QVERIFY(!f.Shell().Modified());
  }

  // Qt makes a pressed row current before it selects it; the popup must follow
  // the row the user pressed on, with either button.
  void aPressOnATraceRowEnablesItsPopup() {
    UiFrame f;
    f.window->show();
    f.window->FileNewClick();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QMenu* popup = f.window->FormTree->ListPopupMenu;
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
      QVERIFY(f.PressRow(QStringLiteral("Number of Traces")));
      QVERIFY(EnabledItems(popup).isEmpty());
      QVERIFY(f.PressRow(QStringLiteral("Trace 1"), button));
      QCOMPARE(EnabledItems(popup), (QStringList{"&Remove", "Add &Before", "Add &After"}));
      popup->hide();
    }
  }

  // An edit moves Qt's current item while the model is half changed; afterwards
  // every row of the list must show the selected object as it is now.
  void afterARemovalTheListShowsTheObjectAsItIsNow() {
    UiFrame f(true);
    f.window->show();
    QVERIFY(f.window->OpenAtStartUp(QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd")));
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    const auto remove = [&f] {
      f.messages.answers = {MessageAnswer::Yes};
      f.window->EditItems.Action(meridal::kEditRemove)->trigger();
    };
    QVERIFY(f.ClickNode(QStringLiteral("Section 3 (curved)")));
    remove();
    QCOMPARE(f.CurrentNode(), QStringLiteral("Section 3 (straight)"));
    QCOMPARE(RowTexts(f.List()), RowTexts(f.window->FormTree->SelectedObject()));

    // The last wall of a section: the wall before it now reaches the border.
    const QModelIndex section = f.Node(QStringLiteral("Section 0 (straight)"));
    const QModelIndex lastWall = section.model()->index(section.model()->rowCount(section) - 1, 0, section);
    QCOMPARE(lastWall.data().toString(), QStringLiteral("Wall 4"));
    QVERIFY(f.ClickNode(lastWall));
    remove();
    QCOMPARE(f.CurrentNode(), QStringLiteral("Wall 3"));
    QCOMPARE(RowTexts(f.List()), RowTexts(f.window->FormTree->SelectedObject()));
  }

  // The rows keep the file's names; the tip on a name says what it is, and the
  // View menu says what Unk1 is.
  void rowNamesCarryABuildersWords() {
    UiFrame f(true);
    f.window->show();
    QVERIFY(f.window->OpenAtStartUp(QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd")));
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QVERIFY(f.ClickNode(QStringLiteral("Section 3 (curved)")));
    const auto tip = [&f](const char* caption) {
      const auto found = f.List()->findItems(QString::fromLatin1(caption), Qt::MatchExactly);
      return found.isEmpty() ? QStringLiteral("(no row)") : found.front()->toolTip(0);
    };
    QCOMPARE(tip("Curvature"), QStringLiteral("Sweep: the angle the arc turns through"));
    QCOMPARE(tip("Orientation"), QStringLiteral("Heading: the direction the section starts in"));
    QVERIFY(f.ClickNode(f.Node(QStringLiteral("Wall 0"))));
    QVERIFY(tip("Unk1").startsWith(QStringLiteral("Unknown field 1")));
    QVERIFY(f.window->ViewShowNonZeroUnk1->toolTip().contains(QStringLiteral("Unk1 is unknown field 1")));
  }

  void aRightClickSelectsTheNodeAndOpensThePopup() {
    UiFrame f;
    f.window->show();
    f.window->FileNewClick();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.Tree()->expandAll();
    const QPersistentModelIndex wall = f.Node(QStringLiteral("Wall 0"));
    const QPoint at = f.Tree()->visualRect(wall).center();
    QTest::mouseClick(f.Tree()->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QCOMPARE(f.Tree()->currentIndex(), QModelIndex(wall));
    QVERIFY(f.window->FormTree->TreePopupMenu->isVisible());
    QCOMPARE(EnabledItems(f.window->FormTree->TreePopupMenu), (QStringList{"&Remove", "Add &Before", "Add &After"}));
    f.window->FormTree->TreePopupMenu->hide();

    // Below the last node: nothing.
    f.window->FormTree->TreeViewMouseDown(Qt::RightButton, QPoint(5, f.Tree()->viewport()->height() - 2));
    QCOMPARE(f.Tree()->currentIndex(), QModelIndex(wall));
    QVERIFY(!f.window->FormTree->TreePopupMenu->isVisible());
  }

  void thePopupRunsTheEditCommands() {
    UiFrame f;
    f.window->FileNewClick();
    QVERIFY(f.SelectNode(QStringLiteral("Section 0 (straight)")));
    f.messages.answers = {MessageAnswer::No};
    f.window->FormTree->TreePopupItems.Action(meridal::kEditRemove)->trigger();
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"Remove Section 0 (straight) ?"});
    f.window->FormTree->TreePopupItems.Action(meridal::kEditSplit)->trigger();
    QCOMPARE(f.dialogs.splits, 1);
  }

  // The edits delete and add nodes of the real tree, the selected one included:
  // the list must always show the selected node's object.
  void structuralEditsKeepTheTreeAndTheListInStep() {
    UiFrame f;
    f.window->show();
    f.window->FileNewClick();
    const auto listShowsSelected = [&f] {
      meridal::RowList rows;
      FillProperties(*f.window->FormTree->SelectedObject(), rows);
      return f.List()->topLevelItemCount() == int(rows.size()) &&
             f.List()->topLevelItem(0)->text(0) == QString::fromStdString(rows[0].Caption);
    };
    const auto yes = [&f](int item) {
      f.messages.answers = {MessageAnswer::Yes};
      f.window->EditItems.Action(item)->trigger();
    };
    QVERIFY(f.SelectNode(QStringLiteral("Section 0 (straight)")));
    yes(meridal::kEditAddAfter);
    QAbstractItemModel* model = f.TreeModel();
    QCOMPARE(model->rowCount(model->index(0, 0)), 2);
    QCOMPARE(f.CurrentNode(), QStringLiteral("Section 1 (straight)"));
    QVERIFY(listShowsSelected());

    // A third wall, selected, then removed while selected.
    const QPersistentModelIndex section1 = model->index(1, 0, model->index(0, 0));
    f.Tree()->setCurrentIndex(model->index(2, 0, section1));  // Wall 0
    yes(meridal::kEditAddAfter);
    QCOMPARE(model->rowCount(section1), 5);
    QCOMPARE(f.CurrentNode(), QStringLiteral("Wall 1"));
    yes(meridal::kEditRemove);
    QCOMPARE(model->rowCount(section1), 4);
    QVERIFY(f.Tree()->currentIndex().isValid());
    QVERIFY(listShowsSelected());

    QVERIFY(f.SelectNode(QStringLiteral("Section 1 (straight)")));
    yes(meridal::kEditChangeType);
    QVERIFY(f.Node(QStringLiteral("Section 1 (curved)")).isValid());
    QVERIFY(listShowsSelected());

    // A trace added from the track's list reaches every section's altitudes.
    QVERIFY(f.SelectNode(QStringLiteral("Track")));
    QVERIFY(f.SelectRow(QStringLiteral("Trace 0")));
    f.messages.answers = {MessageAnswer::Yes};
    f.window->FormTree->ListPopupMenu->actions()[2]->trigger();
    QVERIFY(f.List()->findItems(QStringLiteral("Trace 2"), Qt::MatchExactly).size() == 1);
    QCOMPARE(f.CountNodes(QStringLiteral("Altitude 2")), 2);
    QVERIFY(f.window->FileSave->isEnabled());
    QCOMPARE(f.messages.Texts().back(), std::string("Add new trace after Trace 0 ?"));
  }
};

MERIDAL_UI_TEST_MAIN(TreeWindowTest)
#include "tree_window_test.moc"
