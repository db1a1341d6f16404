// The Qt adapters of the platform seam, the image lists and the cursors.
#include <QBitmap>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "model/track.h"
#include "ui/action_edit_commands.h"
#include "ui/cursors.h"
#include "ui/image_lists.h"
#include "ui/qt_file_dialogs.h"
#include "ui/qt_messages.h"
#include "document/document.h"
#include "shell/tree_binder.h"
#include "ui/qt_tree_nodes.h"
#include "ui/ui_test_main.h"

using namespace meridal;

namespace {

QStringList Texts(const QModelIndex& parent) {
  QStringList out;
  for (int i = 0; i < parent.model()->rowCount(parent); ++i) out << parent.model()->index(i, 0, parent).data().toString();
  return out;
}

// How many pixels of an image are close to a colour.
int PixelsNear(const QImage& image, QColor color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() > 200 && qAbs(c.red() - color.red()) < 40 && qAbs(c.green() - color.green()) < 40 &&
          qAbs(c.blue() - color.blue()) < 40)
        ++n;
    }
  return n;
}

}  // namespace

class AdaptersTest : public QObject {
  Q_OBJECT

 private slots:
  void treeNodesKeepTheModelsOrder() {
    QTreeView tree;
    TTrackTreeModel model;
    tree.setModel(&model);
    QtTreeNodes nodes(tree, model);
    auto document = meridal::TDocument::New();
    const TTrack& track = document->Track();
    meridal::TTreeBinder binder(*document, nodes);
    QCOMPARE(tree.updatesEnabled(), true);  // the build's update bracket is closed
    const QModelIndex root = model.index(0, 0);
    QCOMPARE(nodes.IndexOf(binder.NodeOf(meridal::TObjectPath::Track())), root);
    const QModelIndex section = model.index(0, 0, root);
    QCOMPARE(Texts(section), (QStringList{"Altitude 0", "Altitude 1", "Wall 0", "Wall 1"}));

    // Insert before a sibling, add first, append, relabel, delete.
    NodeHandle wall1 = binder.NodeOf(meridal::TObjectPath::Wall(0, 1));
    nodes.Insert(wall1, "Wall X", nullptr);
    NodeHandle sectionNode = binder.NodeOf(meridal::TObjectPath::Section(0));
    nodes.AddChildFirst(sectionNode, "First", nullptr);
    NodeHandle last = nodes.AddChild(sectionNode, "Last", nullptr);
    nodes.SetText(last, "Renamed");
    QCOMPARE(Texts(section), (QStringList{"First", "Altitude 0", "Altitude 1", "Wall 0", "Wall X", "Wall 1", "Renamed"}));
    nodes.Delete(wall1);
    QCOMPARE(Texts(section).size(), 6);
    QCOMPARE(QtTreeNodes::ObjectOf(section), static_cast<const TBase*>(track.Section(0)));
    QCOMPARE(QtTreeNodes::ObjectOf(QModelIndex()), nullptr);

    // Selecting makes the node current and visible.
    NodeHandle altitude = binder.NodeOf(meridal::TObjectPath::Altitude(0, 1));
    QVERIFY(!tree.isExpanded(root));
    nodes.Select(altitude);
    QCOMPARE(tree.currentIndex(), nodes.IndexOf(altitude));
    QVERIFY(tree.isExpanded(root) && tree.isExpanded(section));

    // Changes between BeginUpdate and EndUpdate reach the view once; a node selected
    // meanwhile is selected when the update ends.
    nodes.BeginUpdate();
    nodes.BeginUpdate();
    NodeHandle added = nodes.AddChild(sectionNode, "Added", nullptr);
    nodes.Select(added);
    nodes.EndUpdate();
    QVERIFY(!tree.updatesEnabled());
    QCOMPARE(tree.currentIndex(), nodes.IndexOf(altitude));
    nodes.EndUpdate();
    QVERIFY(tree.updatesEnabled());
    QCOMPARE(tree.currentIndex(), nodes.IndexOf(added));
    QCOMPARE(Texts(section).back(), QStringLiteral("Added"));
  }

  void fileDialogFiltersInQtsForm() {
    QCOMPARE(QtFileDialogs::NameFilters("Meridal Files (*.mrd)|*.mrd"), QStringList{"Meridal Files (*.mrd)"});
    QCOMPARE(QtFileDialogs::NameFilters("Sorvan Track Files (*.trk)|*.trk"),
             QStringList{"Sorvan Track Files (*.trk)"});
    QCOMPARE(QtFileDialogs::NameFilters("Text|*.txt;*.text|All (*.*)|*.*"),
             (QStringList{"Text (*.txt *.text)", "All (*.*)"}));
    QCOMPARE(QtFileDialogs::NameFilters(""), QStringList{"All Files (*)"});
    QCOMPARE(QtFileDialogs::DefaultSuffix("*.mrd"), QStringLiteral("mrd"));
    QCOMPARE(QtFileDialogs::DefaultSuffix("*.*"), QString());

    FileDialogRequest open;
    open.defaultExtension = "*.mrd";
    open.filter = "Meridal Files (*.mrd)|*.mrd";
    open.fileName = "noname.mrd";
    open.mustExist = true;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QtFileDialogs::Prepare(dialog, open, false);
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dialog.defaultSuffix(), QStringLiteral("mrd"));
    QCOMPARE(dialog.nameFilters(), QStringList{"Meridal Files (*.mrd)"});

    FileDialogRequest save = open;
    save.mustExist = false;
    save.promptOverwrite = true;
    QtFileDialogs::Prepare(dialog, save, true);
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
    save.promptOverwrite = false;
    QtFileDialogs::Prepare(dialog, save, true);
    QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
  }

  void messageBoxesMapIconsButtonsAndAnswers() {
    QCOMPARE(QtMessages::QtIcon(MessageIcon::Error), QMessageBox::Critical);
    QCOMPARE(QtMessages::QtIcon(MessageIcon::None), QMessageBox::NoIcon);
    QCOMPARE(QtMessages::QtIcon(MessageIcon::Warning), QMessageBox::Warning);
    QCOMPARE(QtMessages::QtButtons(MessageButtons::YesNoCancel),
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(QtMessages::Answer(QMessageBox::NoButton, MessageButtons::YesNo), MessageAnswer::No);
    QCOMPARE(QtMessages::Answer(QMessageBox::NoButton, MessageButtons::YesNoCancel), MessageAnswer::Cancel);

    // A real box: its title, text, icon and buttons, answered by a click.
    QtMessages messages;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      buttons = box->buttons().size();
      box->button(QMessageBox::No)->click();
    });
    const MessageAnswer answer =
        messages.Show("Meridal", "Save changes to  noname.mrd ?", MessageIcon::Warning, MessageButtons::YesNoCancel);
    QCOMPARE(answer, MessageAnswer::No);
    QCOMPARE(title, QStringLiteral("Meridal"));
    QCOMPARE(text, QStringLiteral("Save changes to  noname.mrd ?"));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, 3);

    // A box during a file operation shows the normal pointer, and the hourglass comes back.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool pointerWasNormal = false;
    QTimer::singleShot(0, [&] {
      pointerWasNormal = QApplication::overrideCursor() == nullptr;
      QApplication::activeModalWidget()->close();
    });
    QCOMPARE(messages.Show("Error", "Unable to open file!", MessageIcon::None, MessageButtons::Ok), MessageAnswer::Ok);
    QVERIFY(pointerWasNormal);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
  }

  void theEditMenuLayout() {
    QMenu menu;
    ActionEditCommands items;
    items.Build(menu, true);
    QCOMPARE(menu.actions().size(), 10);
    QVERIFY(items.Action(kEditSeparator1)->isSeparator() && items.Action(kEditSeparator2)->isSeparator());
    QCOMPARE(items.Action(kEditCopyWallsToAll)->text(), QStringLiteral("Copy &Walls To All "));
    items.SetEnabled(kEditSplit, false);
    items.SetEnabled(42, false);  // no such item: ignored
    QVERIFY(!items.Action(kEditSplit)->isEnabled());
    QCOMPARE(items.Action(42), nullptr);
  }

  void imageListsHaveTheirPicturesAndColours() {
    QSet<qint64> keys;
    for (int i = 0; i < kNodeImageCount; ++i) {
      const QPixmap p = NodeImage(i);
      QCOMPARE(p.size(), QSize(16, 16));
      keys.insert(p.toImage().cacheKey());
    }
    QVERIFY(NodeImage(0).toImage() != NodeImage(1).toImage());  // closed and open
    QVERIFY(NodeImage(2).toImage() != NodeImage(4).toImage());  // outline colours differ
    QVERIFY(PixelsNear(NodeImage(2).toImage(), QColor(0xc0, 0, 0)) > 5);       // section: red
    QVERIFY(PixelsNear(NodeImage(4).toImage(), QColor(0, 0x30, 0xc0)) > 5);    // altitude: blue
    QVERIFY(PixelsNear(NodeImage(6).toImage(), QColor(0, 0x80, 0)) > 5);       // wall: green
    QVERIFY(PixelsNear(NodeImage(6).toImage(), QColor(0xc0, 0, 0)) == 0);
    QList<QImage> badges;
    for (int i = 0; i < kRowImageCount; ++i) {
      badges << RowImage(i).toImage();
      QCOMPARE(badges.last().size(), QSize(16, 16));
      for (int j = 0; j < i; ++j) QVERIFY(badges[i] != badges[j]);
    }
    QVERIFY(RowImage(7).toImage().pixelColor(8, 8).alpha() == 0);  // out of range: blank
  }

  void theThreeCursors() {
    const QCursor center = TCursorSet::LoadByName(QStringLiteral("CENTER"));
    QCOMPARE(center.shape(), Qt::BitmapCursor);
    QCOMPARE(center.hotSpot(), QPoint(16, 16));
    QCOMPARE(center.bitmap().size(), QSize(32, 32));
    QCOMPARE(center.mask().size(), QSize(32, 32));
    QCOMPARE(TCursorSet::LoadByName(QStringLiteral("ZOOMIN")).hotSpot(), QPoint(0, 0));
    QCOMPARE(TCursorSet::LoadByName(QStringLiteral("ZOOMOUT")).hotSpot(), QPoint(0, 0));
    QVERIFY(TCursorSet::LoadByName(QStringLiteral("ZOOMIN")).bitmap().toImage() !=
            TCursorSet::LoadByName(QStringLiteral("ZOOMOUT")).bitmap().toImage());
    QCOMPARE(TCursorSet::LoadByName(QStringLiteral("OTHER")).shape(), Qt::ArrowCursor);
    TCursorSet set;
    set.Load();
    QCOMPARE(set.Cursor(kCursorZoomOut).shape(), Qt::BitmapCursor);
    QCOMPARE(set.Cursor(0).shape(), Qt::ArrowCursor);
  }
};

MERIDAL_UI_TEST_MAIN(AdaptersTest)
#include "adapters_test.moc"
