// Copy, Cut and Paste of a run of sections as a user does them: Shift+click in the
// tree, Ctrl+C, a click on another section, Ctrl+V, Ctrl+Z; into a second frame
// of the program; and a paste of text that is no list of sections.
#include <cmath>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>

#include "clipboard/section_payload.h"
#include "document/document.h"
#include "files/json/track_json_writer.h"
#include "model/track.h"
#include "present/object_labels.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::testing::UiFrame;

namespace {

struct Frame : UiFrame {
  Frame() : UiFrame(true) {
    window->show();
    QVERIFY(window->OpenAtStartUp(QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd")));
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    Activate();
  }
  void Activate() {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  meridal::TDocument& Document() { return *Shell().Document(); }
  const meridal::TTrack& Track() { return Document().Track(); }
  QModelIndex SectionNode(int n) {
    return Node(QString::fromStdString(meridal::Label(*Track().Section(n))));
  }
  // A click on the section's node, with Shift or Ctrl held or neither.
  void ClickSection(int n, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QModelIndex node = SectionNode(n);
    QVERIFY(node.isValid());
    for (QModelIndex p = node.parent(); p.isValid(); p = p.parent()) Tree()->expand(p);
    Tree()->scrollTo(node);
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, modifiers, OnText(*Tree(), node));
  }
  void Key(int key) { QTest::keyClick(Tree(), static_cast<Qt::Key>(key), Qt::ControlModifier); }
  std::string Json() { return meridal::TrackJsonWriter().Write(Track()); }
  QStringList SelectedNodes() {
    QStringList out;
    for (const QModelIndex& i : Tree()->selectionModel()->selectedRows()) out << i.data().toString();
    out.sort();
    return out;
  }
};

}  // namespace

class ClipboardTest : public QObject {
  Q_OBJECT

 private slots:
  void shiftClickCopyPasteAndUndo() {
    Frame f;
    const std::string before = f.Json();
    const int n = f.Track().NumberOfSections();
    f.ClickSection(1);
    f.ClickSection(3, Qt::ShiftModifier);
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{1, 3}));
    QCOMPARE(f.SelectedNodes().size(), 3);
    // The list shows the run: its count first.
    QVERIFY(f.List()->topLevelItemCount() > 1);
    QCOMPARE(f.List()->topLevelItem(0)->text(0), QStringLiteral("Selected Sections"));
    QCOMPARE(f.List()->topLevelItem(0)->text(1), QStringLiteral("3"));
    QCOMPARE(f.List()->topLevelItem(1)->text(0), QStringLiteral("Selected Length"));

    f.Key(Qt::Key_C);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasFormat(meridal::clipboard::kSectionsMimeType));
    const QByteArray copied = data->data(meridal::clipboard::kSectionsMimeType);
    QCOMPARE(data->text().toUtf8(), copied);
    QVERIFY(copied.contains("\"sections\""));

    f.ClickSection(5);
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{5, 5}));
    f.Key(Qt::Key_V);
    QCOMPARE(f.Track().NumberOfSections(), n + 3);
    QCOMPARE(f.Document().History().UndoText(), std::string("Paste 3 Sections"));
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{6, 8}));
    for (int k = 0; k < 3; ++k) QCOMPARE(f.Track().Section(6 + k)->Length, f.Track().Section(1 + k)->Length);
    // Joined: each pasted section starts where the one before ends.
    for (int k = 6; k <= 8; ++k) {
      QVERIFY(std::abs(f.Track().Section(k)->StartX() - f.Track().Section(k - 1)->EndX()) <= 1);
      QVERIFY(std::abs(f.Track().Section(k)->StartY() - f.Track().Section(k - 1)->EndY()) <= 1);
    }
    QCOMPARE(f.CountNodes(QString::fromStdString(meridal::Label(*f.Track().Section(n + 2)))), 1);

    f.Key(Qt::Key_Z);
    QCOMPARE(f.Track().NumberOfSections(), n);
    QCOMPARE(f.Json(), before);
    QVERIFY(f.messages.shown.empty());
  }

  void pastesIntoASecondFrame() {
    Frame source, target;
    source.Activate();
    source.ClickSection(2);
    source.ClickSection(4, Qt::ShiftModifier);
    source.Key(Qt::Key_C);

    target.Activate();
    const int n = target.Track().NumberOfSections();
    target.ClickSection(0);
    target.Key(Qt::Key_V);
    QCOMPARE(target.Track().NumberOfSections(), n + 3);
    for (int k = 0; k < 3; ++k) QCOMPARE(target.Track().Section(1 + k)->Length, source.Track().Section(2 + k)->Length);
    QCOMPARE(source.Track().NumberOfSections(), n);  // the source keeps its sections
    // Cut in the target takes the pasted run out again as one step.
    target.ClickSection(1);
    target.ClickSection(3, Qt::ShiftModifier);
    target.Key(Qt::Key_X);
    QCOMPARE(target.Track().NumberOfSections(), n);
    QCOMPARE(target.Document().History().UndoText(), std::string("Cut 3 Sections"));
  }

  void refusesBadTextAndChangesNothing() {
    Frame f;
    const std::string before = f.Json();
    QGuiApplication::clipboard()->setText(QStringLiteral("{\"sections\": 12}"));
    f.ClickSection(2);
    f.Key(Qt::Key_V);
    QCOMPARE(f.Json(), before);
    QCOMPARE(f.Document().History().Count(), size_t{0});
    QCOMPARE(f.messages.shown.size(), size_t{1});
    const QString text = QString::fromStdString(f.messages.shown.front().text);
    QVERIFY2(text.startsWith(QStringLiteral("Cannot paste after Section 2")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("The text is not a list of sections: ")), qPrintable(text));
  }
};

MERIDAL_UI_TEST_MAIN(ClipboardTest)
#include "clipboard_test.moc"
