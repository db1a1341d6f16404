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

// Pixels of the plan's grass green, shaded.
int GrassPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      count += c.green() > 60 && c.red() < 40 && c.blue() < 40;
    }
  return count;
}

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
