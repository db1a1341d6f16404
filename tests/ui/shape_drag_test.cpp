// Shaping the track in the plan view with the mouse, driven by real mouse events
// at the handles' pixels: the list follows, one drag is one undo step named after
// it, Escape gives the track back byte for byte, and Alt draws new sections.
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>
#include <QTest>
#include <cmath>

#include "document/document.h"
#include "files/project/project_io.h"
#include "graphics/scale_draw.h"
#include "model/numbers.h"
#include "model/track.h"
#include "ui/plan/plan_view.h"
#include "ui/plan/tools/draw_tool.h"
#include "ui/plan/tools/shape_tool.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::shape::Handle;
using meridal::testing::UiFrame;

namespace {

struct Frame : UiFrame {
  Frame() : UiFrame(true) {
    window->show();
    window->FileNewClick();
    window->MdiArea->subWindowList().front()->resize(760, 560);
    QCoreApplication::processEvents();
    Viewport()->setFocus();
  }
  meridal::TPlanView& Graph() { return *window->PlanView; }
  QWidget* Viewport() { return Graph().viewport(); }
  meridal::TScaleDraw& View() { return window->PlanView->ScaleDraw(); }
  const meridal::TTrack& Track() { return *Shell().Track(); }
  meridal::TDocument& Document() { return *Shell().Document(); }
  void Settle() {
    QCoreApplication::processEvents();
    Graph().Picture();
  }
  QPoint Pixel(double x, double y) {
    Settle();
    return QPoint(View().ToWindowX(x), View().ToWindowY(y));
  }
  // Selects section `s` by clicking the middle of it.
  void ClickSection(int s) {
    const meridal::TSection& section = *Track().Section(s);
    const QPoint at = Pixel((section.StartX() + section.EndX()) / 2, (section.StartY() + section.EndY()) / 2);
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, at);
    Settle();
  }
  QPoint HandlePixel(Handle handle) {
    Settle();
    const auto at = Graph().Shape().HandlePixel(handle);
    return at ? *at : QPoint(-1, -1);
  }
  QString Row(const QString& caption) {
    for (int i = 0; i < List()->topLevelItemCount(); ++i)
      if (List()->topLevelItem(i)->text(0) == caption) return List()->topLevelItem(i)->text(1);
    return {};
  }
  // The colours of the plan's picture: smooth edges blend them by the hundred.
  int Shades() {
    const QImage picture = Graph().Picture().convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> shades;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) shades.insert(picture.pixel(x, y));
    return static_cast<int>(shades.size());
  }
  QByteArray Exported() {
    meridal::testing::ScriptedMessages quiet;
    const auto image = meridal::ExportTrackImage(const_cast<meridal::TTrack&>(Track()), quiet);
    return QByteArray(reinterpret_cast<const char*>(image->data()), static_cast<int>(image->size()));
  }
};

}  // namespace

class ShapeDragTest : public QObject {
  Q_OBJECT

 private slots:
  void draggingTheEndChangesTheLengthAsOneStep() {
    Frame f;
    f.ClickSection(0);
    QCOMPARE(f.Document().Selection().section, 0);
    const meridal::TSection& s = *f.Track().Section(0);
    QCOMPARE(s.Orientation, 0);  // the new track's straight runs east
    const QPoint end = f.HandlePixel(Handle::End);
    QVERIFY(end.x() >= 0);
    const double handleX = s.EndX();
    const QPoint to = end + QPoint(60, 9);
    // Ctrl at the press: this drag does not snap, the value is the pointer's own.
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::ControlModifier, end);
    const int smooth = f.Shades();
    QTest::mouseMove(f.Viewport(), end + QPoint(30, 4));
    QVERIFY(f.Graph().Shape().Readout().startsWith(QStringLiteral("Length ")));
    // While the hand moves, the plan is drawn as a draft, without blended edges.
    f.Graph().Repaint();
    const int draft = f.Shades();
    QVERIFY2(draft * 4 < smooth, qPrintable(QStringLiteral("%1 shades, smooth %2").arg(draft).arg(smooth)));
    QTest::mouseMove(f.Viewport(), to);
    // The handle goes as the hand does, at the zoom's pixels per unit.
    const int32_t expected = meridal::nearest(handleX + (to.x() - end.x()) / f.View().PixelsPerUnit() - s.StartX());
    QCOMPARE(s.Length, expected);
    QCOMPARE(f.Row(QStringLiteral("Length")), QString::number(expected));  // the list follows live
    QCOMPARE(f.Document().History().Count(), size_t{0});
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::ControlModifier, to);
    QCOMPARE(f.Document().History().Count(), size_t{1});
    QCOMPARE(QString::fromStdString(f.Document().History().UndoText()), QStringLiteral("Drag End of Section 0"));
    QCOMPARE(f.Row(QStringLiteral("Length")), QString::number(expected));
    QVERIFY(f.Graph().Shape().Readout().isEmpty());
    QVERIFY(f.Shades() > draft * 4);  // drawn smooth again on the release
  }

  void escapeRestoresTheTrackByteForByte() {
    Frame f;
    f.ClickSection(0);
    const QByteArray before = f.Exported();
    const QPoint heading = f.HandlePixel(Handle::Heading);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::NoModifier, heading);
    QTest::mouseMove(f.Viewport(), heading + QPoint(0, -80));
    QVERIFY(f.Track().Section(0)->Orientation != 0);
    QVERIFY(f.Exported() != before);
    QTest::keyClick(f.Viewport(), Qt::Key_Escape);
    QCOMPARE(f.Exported(), before);
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::NoModifier, heading + QPoint(0, -80));
    QCOMPARE(f.Exported(), before);
    QCOMPARE(f.Document().History().Count(), size_t{0});
  }

  void altDrawsAStraightAndShiftAnArc() {
    Frame f;
    f.ClickSection(0);
    const QPoint end = f.HandlePixel(Handle::End);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::AltModifier, end);
    QTest::mouseMove(f.Viewport(), end + QPoint(40, 0));
    QVERIFY(f.Graph().Draw().Readout().startsWith(QStringLiteral("Straight ")));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::AltModifier, end + QPoint(40, 0));
    QCOMPARE(f.Track().NumberOfSections(), 2);
    QCOMPARE(QString::fromStdString(f.Document().History().UndoText()), QStringLiteral("Draw Straight after Section 0"));
    QCOMPARE(f.Document().Selection().section, 1);
    QVERIFY(!f.Track().Section(1)->IsCurved());

    // From the new last section, with Shift: an arc that leaves it tangentially.
    const QPoint from = f.HandlePixel(Handle::End);
    const QPoint through = from + QPoint(50, -30);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier, from);
    QTest::mouseMove(f.Viewport(), through);
    QVERIFY(f.Graph().Draw().Readout().startsWith(QStringLiteral("Arc R ")));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier, through);
    QCOMPARE(f.Track().NumberOfSections(), 3);
    QCOMPARE(QString::fromStdString(f.Document().History().UndoText()), QStringLiteral("Draw Arc after Section 1"));
    const meridal::TSection& arc = *f.Track().Section(2);
    QVERIFY(arc.IsCurved());
    QCOMPARE(arc.OrientationMismatch(), 0);
    QVERIFY(arc.EndOrientation() > 0);  // it turns left, up the screen
    QCOMPARE(f.Row(QStringLiteral("Type")), QStringLiteral("2"));
  }

  void keepJoinedIsOnTheViewMenuAndTheLaterSectionsFollow() {
    Frame f;
    QVERIFY(f.window->ViewKeepJoined->isChecked());
    f.Document().Add(meridal::TObjectPath::Section(0), false);  // a second straight at the end of the first
    f.ClickSection(0);
    const QPoint end = f.HandlePixel(Handle::End);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::ControlModifier, end);
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::ControlModifier, end + QPoint(25, 0));
    QCOMPARE(f.Track().Section(1)->LongitudinalGap(), 0);
    f.window->ViewKeepJoined->trigger();
    QTest::mousePress(f.Viewport(), Qt::LeftButton, Qt::ControlModifier, f.HandlePixel(Handle::End));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, Qt::ControlModifier, f.HandlePixel(Handle::End) + QPoint(-40, 0));
    QVERIFY(f.Track().Section(1)->LongitudinalGap() > 0);  // a gap opens after the shorter section
    QCOMPARE(f.Document().History().Count(), size_t{3});
  }
};

MERIDAL_UI_TEST_MAIN(ShapeDragTest)
#include "shape_drag_test.moc"
