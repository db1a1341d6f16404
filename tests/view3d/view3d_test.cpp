// The 3D view driven as a user drives it: on a display with OpenGL (Xvfb with
// Mesa's software renderer) it opens and draws the example, a click selects the
// section under the pointer, an edit announced for a section changes the
// picture, and the drive camera carries the selection along. Without OpenGL
// (MERIDAL_VIEW3D_NO_OPENGL set, the minimal platform) it says so and takes every
// call without harm.
#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "files/track_formats.h"
#include "mesh/mesh_budget.h"
#include "mesh/section_mesh.h"
#include "mesh/track_mesh.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "support/recording_messages.h"
#include "ui/ui_test_main.h"
#include "ui/view3d/view3d.h"
#include "view3d/view3d_pixels.h"

using meridal::TView3D;

namespace {

std::unique_ptr<meridal::TTrack> Example() {
  auto track = std::make_unique<meridal::TTrack>();
  meridal::testing::RecordingMessages messages;
  if (meridal::LoadTrackFile(MERIDAL_EXAMPLES_DIR "/circuit.mrd", std::nullopt, *track, messages).status !=
      meridal::FileStatus::Ok)
    return nullptr;
  return track;
}

using meridal::testing::GrassPixels;

void Press(QWidget* toolBarOwner, const char* action) {
  auto* bar = toolBarOwner->findChild<QToolBar*>();
  QTest::mouseClick(bar->widgetForAction(toolBarOwner->findChild<QAction*>(action)), Qt::LeftButton);
}

}  // namespace

class View3DTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<meridal::TTrack> track_;
  std::unique_ptr<TView3D> view_;

  QPoint MiddleOf(int section) const {
    const auto p = meridal::SurfacePointAt(*track_, section, 0.5, 0);
    return view_->ViewportPointOf(p->x, p->y, p->height + p->raised).toPoint();
  }

 private slots:
  void init() {
    track_ = Example();
    QVERIFY(track_);
    view_ = std::make_unique<TView3D>();
    view_->resize(900, 640);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    QVERIFY2(view_->OpenGLAvailable(), "the 3D view needs OpenGL 3.3 here: run under Xvfb with Mesa");
    view_->SetTrack(*track_);
  }
  void cleanup() { view_.reset(); }

  void opensAndDrawsTheTrack() {
    const QImage picture = view_->Picture();
    QVERIFY(!picture.isNull());
    QVERIFY(picture.width() > 800);
    QVERIFY2(GrassPixels(picture) > 5000, "the grass verges are drawn");
    QCOMPARE(view_->findChild<QLabel*>("noOpenGLNotice")->isVisible(), false);
  }

  void aClickSelectsTheSectionUnderThePointer() {
    QSignalSpy picked(view_.get(), &TView3D::SectionPicked);
    for (int section : {0, 3, 7, 2}) {
      QTest::mouseClick(view_->Viewport(), Qt::LeftButton, {}, MiddleOf(section));
      QCOMPARE(picked.count(), 1);
      QCOMPARE(picked.takeFirst().at(0).toInt(), section);
      QCOMPARE(view_->SelectedSection(), section);
    }
    // A click beside the track picks nothing.
    QTest::mouseClick(view_->Viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(picked.count(), 0);
    QCOMPARE(view_->SelectedSection(), 2);
  }

  void anAnnouncedEditChangesThePicture() {
    const QImage before = view_->Picture();
    // Section 0's grass verge becomes gravel, as the property list would set it.
    QVERIFY(track_->Section(0)->Wall(0)->SetValue("Surface", 6));
    view_->SectionsChanged(0, 1);
    const QImage after = view_->Picture();
    QVERIFY(after != before);
    QVERIFY(GrassPixels(after) < GrassPixels(before) - 500);
  }

  // A track whose finest mesh passes its budget is shown as coarse as it is
  // exported, and says so; an edit that brings it within the budget shows it fine.
  void keepsTheExportsBudgetOfVertices() {
    auto steep = meridal::SyntheticTrack(200, 16, 12);
    for (auto& section : steep->Sections)
      for (auto& a : section->Altitudes) a->ThirdOrder = a->SecondOrder = INT32_MAX;
    view_->SetTrack(*steep);
    const meridal::TTrackMesh exported = meridal::BuildTrackMesh(*steep);
    QVERIFY(!exported.coarser.empty());
    QCOMPARE(view_->Scene().StepScale(), meridal::PlanMeshBudget(*steep, {}).stepScale);
    size_t vertices = 0;
    for (int s = 0; s < view_->Scene().Sections(); ++s) vertices += view_->Scene().Mesh(s).vertices.size();
    QCOMPARE(vertices, exported.VertexCount());
    auto* note = view_->findChild<QLabel*>("meshNote");
    QCOMPARE(note->text(), QString("Coarser mesh"));
    QCOMPARE(note->toolTip().toStdString(), exported.coarser);
    for (auto& section : steep->Sections)
      for (auto& a : section->Altitudes) a->ThirdOrder = a->SecondOrder = 0;
    view_->SectionsChanged(0, 200);
    QCOMPARE(view_->Scene().StepScale(), 1.0);
    QCOMPARE(note->text(), QString());
    view_->SetTrack(*track_);
  }

  // Riding section 0 (a straight of 200 m), looking 30 degrees to the left: the
  // kerb there (5 m to 10 m left) shows red and white stripes of 1 m one after
  // the other along its middle.
  void kerbStripesAlternateAlongAKerb() {
    Press(view_.get(), "driveAction");
    QVERIFY(view_->DriveMode());
    for (int i = 0; i < 6; ++i) QTest::keyClick(view_->Viewport(), Qt::Key_Left);
    const QImage picture = view_->Picture();
    QString runs;          // R and W, one a stripe seen
    std::vector<double> lengths;  // metres each stripe runs, the first and last cut off
    double from = -1;
    char last = 0;
    for (double along = 6; along <= 20; along += 0.02) {
      const auto p = meridal::SurfacePointAt(*track_, 0, along / 200, 7.5 * 19685.03937);
      const QPoint at = view_->ViewportPointOf(p->x, p->y, p->height).toPoint();
      QVERIFY(picture.rect().contains(at));
      const QColor c = picture.pixelColor(at);
      const char seen = meridal::testing::KerbRed(c) ? 'R' : meridal::testing::KerbWhite(c) ? 'W' : 0;
      if (!seen || seen == last) continue;
      if (last) lengths.push_back(along - from);
      runs += QChar(seen);
      from = along, last = seen;
    }
    QVERIFY2(runs.size() >= 10, qPrintable(runs));
    for (int i = 1; i < runs.size(); ++i) QVERIFY(runs[i] != runs[i - 1]);
    // Each stripe between the first and the last runs about a metre (its edges
    // blurred over a few centimetres by the texture's filter).
    for (size_t i = 1; i < lengths.size(); ++i) QVERIFY2(std::fabs(lengths[i] - 1.0) < 0.2, qPrintable(QString::number(lengths[i])));
  }

  // Each look button changes the picture, and pressed again brings it back
  // pixel for pixel: textures, shadows (the example's barrier casts one),
  // antialiasing (where the display has it), the grid, the sky.
  void lookButtonsChangeThePictureAndBack() {
    const QImage start = view_->Picture();
    QVERIFY(view_->AntialiasingSamples() == 1 || view_->AntialiasingSamples() >= 4);
    for (const char* button : {"texturesAction", "shadowsAction", "antialiasingAction", "gridAction", "skyAction"}) {
      auto* action = view_->findChild<QAction*>(button);
      if (!action->isEnabled()) continue;  // no antialiasing on this display
      Press(view_.get(), button);
      QVERIFY2(view_->Picture() != start, button);
      Press(view_.get(), button);
      QVERIFY2(view_->Picture() == start, button);
    }
    QVERIFY(!view_->Look().grid);
  }

  // Selected, a section is tinted in the orbit camera; riding it, it is outlined
  // at its edges instead, and the road under the camera keeps its colour.
  void drivingOutlinesTheSelectionInsteadOfTintingIt() {
    QTest::mouseClick(view_->Viewport(), Qt::LeftButton, {}, MiddleOf(0));
    QCOMPARE(view_->SelectedSection(), 0);
    const auto orange = [](const QColor& c) { return c.red() > 150 && c.green() < c.red() * 0.7 && c.blue() < 90; };
    QVERIFY(orange(view_->Picture().pixelColor(MiddleOf(0))));
    Press(view_.get(), "driveAction");
    const QImage riding = view_->Picture();
    const QPoint road = view_->ViewportPointOf(meridal::SurfacePointAt(*track_, 0, 0.05, 0)->x,
                                               meridal::SurfacePointAt(*track_, 0, 0.05, 0)->y, 0).toPoint();
    QVERIFY(!orange(riding.pixelColor(road)));
    int outlined = 0;
    for (int y = 0; y < riding.height(); ++y)
      for (int x = 0; x < riding.width(); ++x) outlined += orange(riding.pixelColor(x, y));
    QVERIFY2(outlined > 500, qPrintable(QString::number(outlined)));
  }

  void driveModeCarriesTheSelectionAlong() {
    QSignalSpy picked(view_.get(), &TView3D::SectionPicked);
    QTest::mouseClick(view_->Viewport(), Qt::LeftButton, {}, MiddleOf(4));
    picked.clear();
    Press(view_.get(), "driveAction");
    QVERIFY(view_->DriveMode());
    QCOMPARE(view_->SelectedSection(), 4);  // the ride starts on the selection
    QTest::keyClick(view_->Viewport(), Qt::Key_PageDown);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.takeFirst().at(0).toInt(), 5);
    // Section 5 is a quarter circle of 50 m: some 40 steps of 2 m take the camera on.
    for (int i = 0; i < 45 && picked.isEmpty(); ++i) QTest::keyClick(view_->Viewport(), Qt::Key_Up);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.takeFirst().at(0).toInt(), 6);
    QCOMPARE(view_->SelectedSection(), 6);
    QTest::keyClick(view_->Viewport(), Qt::Key_PageUp);
    QCOMPARE(picked.takeFirst().at(0).toInt(), 5);
    const QImage riding = view_->Picture();
    Press(view_.get(), "orbitAction");
    QVERIFY(!view_->DriveMode());
    QVERIFY(view_->Picture() != riding);
  }
};

class View3DWithoutOpenGLTest : public QObject {
  Q_OBJECT

 private slots:
  void saysSoAndTakesEveryCall() {
    auto track = Example();
    QVERIFY(track);
    TView3D view;
    view.resize(600, 400);
    view.show();
    QVERIFY(!view.OpenGLAvailable());
    auto* notice = view.findChild<QLabel*>("noOpenGLNotice");
    QVERIFY(notice->isVisible());
    QVERIFY(notice->text().startsWith("The 3D view needs OpenGL 3.3, which is not available here."));
    view.SetTrack(*track);
    view.SectionsChanged(0, 2);
    view.SectionsRemoved(9, 1);
    view.SetSelectedSection(3);
    view.SetDriveMode(true);
    view.ZoomToFit();
    QCOMPARE(view.SelectedSection(), -1);
    QVERIFY(!view.Picture().isNull());
  }
};

int main(int argc, char* argv[]) {
  meridal::testing::IsolateSettings();
  QApplication app(argc, argv);
  if (qEnvironmentVariableIsSet("MERIDAL_VIEW3D_NO_OPENGL")) {
    View3DWithoutOpenGLTest test;
    return QTest::qExec(&test, argc, argv);
  }
  View3DTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "view3d_test.moc"
