#pragma once
// The 3D view: the track's surface in perspective, to look at from all sides
// (orbit camera) or to ride along at eye height (drive camera), with the
// selected section highlighted.
//
// It knows the track only through this narrow interface, so that whoever owns
// the document wires it to its change announcements:
//
//   auto* view = new TView3D(parent);
//   view->SetTrack(track);                       // builds every section's mesh
//   view->SectionsChanged(4, 1);                 // after a value edit of section 4
//   view->SectionsInserted(5, 2);                // sections 5 and 6 are new
//   view->SectionsRemoved(3, 1);
//   view->Reset();                               // anything else (traces, a new track)
//   view->Changed(documentChange.track);         // or all of an edit, undo or redo at once
//   view->SetSelectedSection(4);                 // the document's selection
//   view->SetSelectedRun(2, 6);                  // and the run it lies in, tinted whole
//   connect(view, &TView3D::SectionPicked, ...); // a click, or the drive camera moving on
//   view->SetLook({.shadows = false});            // what the tool bar's look buttons set
//
// The track must outlive the view or be replaced (SetTrack, ClearTrack) first.
// Where OpenGL 3.3 is not available the view says so in place of the picture.
#include <QImage>
#include <QWidget>
#include <optional>
#include <string>

#include "ui/view3d/view3d_look.h"
#include "ui/view3d/view3d_ribbon.h"
#include "ui/view3d/view3d_scene.h"

class QAction;
class QComboBox;
class QLabel;
class QSpinBox;
class QStackedLayout;
class QToolBar;

namespace meridal {

class TTrack;
class TView3DViewport;
struct TTrackChange;

class TView3D : public QWidget {
  Q_OBJECT

 public:
  explicit TView3D(QWidget* parent = nullptr);
  ~TView3D() override;

  void SetTrack(const TTrack& track);
  void ClearTrack();
  // The terrain model the track was fitted to (its side file's), drawn as the
  // ground within 200 m of the track; none: the ground lies just under the
  // track. False and the reason when the model cannot be read: the ground then
  // lies under the track as without one. Set after the track.
  bool SetTerrain(const std::optional<TTerrainLink>& link, std::string& error);
  void SectionsChanged(int first, int count);
  void SectionsInserted(int first, int count);
  void SectionsRemoved(int first, int count);
  void Reset();
  // Rebuilds what a change of the document names (TView3DScene::Apply).
  void Changed(const TTrackChange& change);
  void SetSelectedSection(int section);
  // The run of sections from `first` to `last` (-1: none) holding the selected one.
  void SetSelectedRun(int first, int last);
  int SelectedSection() const;

  void ZoomToFit();
  // 1, 2, 5 or 10, as the profile offers.
  void SetHeightExaggeration(int factor);
  void SetDriveMode(bool drive);
  bool DriveMode() const;
  // Moves the drive camera along the zero line (negative: back).
  void DriveAlong(double metres);
  void SetPlaying(bool playing);
  void SetPlaySpeed(int kilometresPerHour);
  void SetSkyBackground(bool sky);
  // The lap's line, laid over the track as a ribbon coloured by its speeds and
  // ridden at them by Play; greyed while the track changed since it was driven.
  // The tool bar's Racing Line asks for it (LineWanted) and hides it.
  void SetLine(std::vector<TView3DLinePoint> line, bool dimmed);
  bool LineShown() const;
  bool RacingLineOn() const;
  // Textures, shadows, antialiasing, the grid and the sky, as the tool bar sets them.
  void SetLook(const TView3DLook& look);
  TView3DLook Look() const { return look_; }
  // The samples a pixel the display gives antialiasing: 1 where it gives none
  // (the tool bar's Antialiasing is then off and disabled).
  int AntialiasingSamples() const;

  bool OpenGLAvailable() const { return viewport_ != nullptr; }
  // The picture as it stands (or the notice where there is no OpenGL).
  QImage Picture();
  // Draws the picture at once and waits until it is drawn (what a frame costs).
  void RenderNow();
  // The widget that draws, for pointer and key events.
  QWidget* Viewport() const;
  // Where a plan point (track units) at a height (track units) shows in Viewport().
  QPointF ViewportPointOf(double planX, double planY, double height) const;
  const TView3DScene& Scene() const { return scene_; }

 signals:
  // The user picked a section: a click on it, or the drive camera moving onto it.
  void SectionPicked(int section);
  // Racing Line was switched on or off.
  void LineWanted(bool on);

 protected:
  // A hidden view stops playing: the selection would ride on unseen.
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildToolBar();
  void ShowNotice(const QString& why);
  void SceneChanged();

  TView3DScene scene_;
  QToolBar* toolBar_ = nullptr;
  QStackedLayout* stack_ = nullptr;
  TView3DViewport* viewport_ = nullptr;
  QLabel* notice_ = nullptr;
  QAction *orbit_ = nullptr, *drive_ = nullptr, *zoomToFit_ = nullptr, *play_ = nullptr, *sky_ = nullptr;
  QAction* racingLine_ = nullptr;
  QAction *textures_ = nullptr, *shadows_ = nullptr, *antialiasing_ = nullptr, *grid_ = nullptr;
  TView3DLook look_;
  QLabel* meshNote_ = nullptr;  // says when the mesh is coarser than 2 cm, or not there
  QComboBox* exaggeration_ = nullptr;
  QSpinBox* speed_ = nullptr;
  bool fitted_ = false;
};

// Whether OpenGL 3.3 can be had here, and if not, why not.
bool OpenGL33Available(QString* why = nullptr);

}  // namespace meridal
