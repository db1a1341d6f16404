#include "ui/view3d/view3d.h"

#include <QActionGroup>
#include <QSignalBlocker>
#include <QComboBox>
#include <QLabel>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSpinBox>
#include <QStackedLayout>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "history/track_change.h"
#include "model/track.h"
#include "model/units.h"
#include "ui/view3d/view3d_viewport.h"

namespace meridal {

bool OpenGL33Available(QString* why) {
  QSurfaceFormat format;
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  QOpenGLContext context;
  context.setFormat(format);
  QOffscreenSurface surface;
  surface.setFormat(format);
  surface.create();
  QString reason;
  if (!context.create()) {
    reason = QObject::tr("No OpenGL context can be made on this display.");
  } else if (!surface.isValid() || !context.makeCurrent(&surface)) {
    reason = QObject::tr("The OpenGL context cannot be used on this display.");
  } else if (context.format().version() < qMakePair(3, 3)) {
    reason = QObject::tr("OpenGL %1.%2 is all this display offers.")
                 .arg(context.format().majorVersion())
                 .arg(context.format().minorVersion());
  }
  if (context.isValid()) context.doneCurrent();
  if (why) *why = reason;
  return reason.isEmpty();
}

TView3D::TView3D(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  BuildToolBar();
  layout->addWidget(toolBar_);
  stack_ = new QStackedLayout;
  layout->addLayout(stack_, 1);
  notice_ = new QLabel(this);
  notice_->setAlignment(Qt::AlignCenter);
  notice_->setWordWrap(true);
  notice_->setMargin(24);
  notice_->setObjectName("noOpenGLNotice");
  stack_->addWidget(notice_);
  QString why;
  if (!OpenGL33Available(&why)) {
    ShowNotice(why);
    return;
  }
  viewport_ = new TView3DViewport(scene_, this);
  viewport_->setObjectName("viewport");
  stack_->addWidget(viewport_);
  stack_->setCurrentWidget(viewport_);
  connect(viewport_, &TView3DViewport::SectionClicked, this, &TView3D::SectionPicked);
  connect(viewport_, &TView3DViewport::DriveSectionChanged, this, [this](int section) {
    viewport_->SetSelected(section);
    emit SectionPicked(section);
  });
  connect(viewport_, &TView3DViewport::PlayingChanged, play_, &QAction::setChecked);
  connect(viewport_, &TView3DViewport::OpenGLFailed, this, &TView3D::ShowNotice);
  connect(viewport_, &TView3DViewport::Started, this, [this] { SetLook(look_); });
}

TView3D::~TView3D() = default;

void TView3D::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("view3dToolBar");
  auto* cameras = new QActionGroup(this);
  orbit_ = toolBar_->addAction(tr("Orbit"));
  orbit_->setObjectName("orbitAction");
  orbit_->setToolTip(tr("Look at the track from all sides: drag to turn, wheel to zoom, middle drag or Space+drag to pan"));
  drive_ = toolBar_->addAction(tr("Drive"));
  drive_->setObjectName("driveAction");
  drive_->setToolTip(tr("Ride along the zero line: arrow keys or wheel to move, Page Up and Page Down to jump a section"));
  for (QAction* a : {orbit_, drive_}) {
    a->setCheckable(true);
    cameras->addAction(a);
  }
  orbit_->setChecked(true);
  connect(drive_, &QAction::toggled, this, &TView3D::SetDriveMode);
  zoomToFit_ = toolBar_->addAction(tr("Zoom to Fit"), this, &TView3D::ZoomToFit);
  zoomToFit_->setObjectName("zoomToFitAction");
  toolBar_->addSeparator();
  toolBar_->addWidget(new QLabel(tr("Heights "), toolBar_));
  exaggeration_ = new QComboBox(toolBar_);
  exaggeration_->setObjectName("exaggerationBox");
  for (int factor : {1, 2, 5, 10}) exaggeration_->addItem(QString::number(factor) + QChar(0x00D7), factor);
  toolBar_->addWidget(exaggeration_);
  connect(exaggeration_, &QComboBox::currentIndexChanged, this,
          [this](int index) { SetHeightExaggeration(exaggeration_->itemData(index).toInt()); });
  toolBar_->addSeparator();
  play_ = toolBar_->addAction(tr("Play"));
  play_->setToolTip(tr("Ride along the zero line at the set speed, or along the racing line at its own speeds while it is shown"));
  play_->setObjectName("playAction");
  play_->setCheckable(true);
  connect(play_, &QAction::toggled, this, &TView3D::SetPlaying);
  speed_ = new QSpinBox(toolBar_);
  speed_->setObjectName("speedBox");
  speed_->setRange(5, 400);
  speed_->setSingleStep(10);
  speed_->setValue(100);
  speed_->setSuffix(tr(" km/h"));
  toolBar_->addWidget(speed_);
  connect(speed_, &QSpinBox::valueChanged, this, &TView3D::SetPlaySpeed);
  racingLine_ = toolBar_->addAction(tr("Racing Line"));
  racingLine_->setObjectName("racingLineAction");
  racingLine_->setCheckable(true);
  racingLine_->setToolTip(tr("The lap's line coloured by its speeds (the Lap window's vehicle and line); "
                             "Play then rides it at those speeds"));
  connect(racingLine_, &QAction::toggled, this, [this](bool on) {
    if (!on) SetLine({}, false);
    emit LineWanted(on);
  });
  toolBar_->addSeparator();
  // The look: each button switches one part of the picture on or off.
  const auto option = [this](const QString& text, const char* name, bool on, const QString& tip, bool TView3DLook::*part) {
    QAction* action = toolBar_->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(on);
    action->setToolTip(tip);
    connect(action, &QAction::toggled, this, [this, part](bool checked) {
      TView3DLook look = look_;
      look.*part = checked;
      SetLook(look);
    });
    return action;
  };
  textures_ = option(tr("Textures"), "texturesAction", look_.textures,
                     tr("The surfaces' textures, or the plan's plain colours"), &TView3DLook::textures);
  shadows_ = option(tr("Shadows"), "shadowsAction", look_.shadows, tr("The sun casts shadows"), &TView3DLook::shadows);
  antialiasing_ = option(tr("Antialiasing"), "antialiasingAction", look_.antialiasing,
                         tr("Smooth edges: four samples a pixel"), &TView3DLook::antialiasing);
  grid_ = option(tr("Grid"), "gridAction", look_.grid, tr("A grid on the ground, fading with distance"),
                 &TView3DLook::grid);
  sky_ = option(tr("Sky"), "skyAction", look_.sky, tr("A sky behind the track, or a plain background"),
                &TView3DLook::sky);
  meshNote_ = new QLabel(toolBar_);
  meshNote_->setObjectName("meshNote");
  meshNote_->setContentsMargins(8, 0, 8, 0);
  toolBar_->addWidget(meshNote_);
}

void TView3D::ShowNotice(const QString& why) {
  notice_->setText(tr("The 3D view needs OpenGL 3.3, which is not available here.") + "\n\n" + why);
  stack_->setCurrentWidget(notice_);
  toolBar_->setEnabled(false);
  if (viewport_) {
    viewport_->SetPlaying(false);
    viewport_->hide();
  }
}

void TView3D::SceneChanged() {
  const QString refusal = QString::fromStdString(scene_.Refusal()), coarser = QString::fromStdString(scene_.Coarser());
  meshNote_->setText(!refusal.isEmpty() ? tr("Not shown: too large") : !coarser.isEmpty() ? tr("Coarser mesh") : QString());
  meshNote_->setToolTip(!refusal.isEmpty() ? refusal : coarser);
  if (!viewport_) return;
  viewport_->SceneChanged();
  if (!fitted_ && scene_.Sections() > 0) {
    fitted_ = true;
    viewport_->ZoomToFit();
  }
}

void TView3D::SetTrack(const TTrack& track) {
  fitted_ = false;
  scene_.SetTrack(&track);
  SceneChanged();
}

bool TView3D::SetTerrain(const std::optional<TTerrainLink>& link, std::string& error) {
  std::shared_ptr<TTerrainSampler> terrain;
  if (link && scene_.Track()) {
    terrain = TTerrainSampler::Open(*link, error);
    // The model's cells under a square about the track that holds the ground.
    const TRect& extent = scene_.Track()->Extent;
    const double m = double(kMetersPerUnit);
    const double half = std::max(std::fabs(double(extent.right) - extent.left), std::fabs(double(extent.bottom) - extent.top)) * m / 2 +
                        TGroundGrid::kLandReach + 50;
    const double cx = (double(extent.left) + extent.right) * m / 2, cy = (double(extent.top) + extent.bottom) * m / 2;
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i <= 4; ++i)
      for (int j = 0; j <= 4; ++j) points.emplace_back(cx - half + i * half / 2, cy - half + j * half / 2);
    if (terrain && !terrain->Read(points, error)) terrain.reset();
  }
  scene_.SetTerrain(terrain);
  SceneChanged();
  return !link || terrain;
}

void TView3D::ClearTrack() {
  if (viewport_) viewport_->SetPlaying(false);
  scene_.SetTrack(nullptr);
  SceneChanged();
}

void TView3D::SectionsChanged(int first, int count) {
  scene_.Changed(first, count);
  SceneChanged();
}

void TView3D::SectionsInserted(int first, int count) {
  scene_.Inserted(first, count);
  SceneChanged();
}

void TView3D::SectionsRemoved(int first, int count) {
  scene_.Removed(first, count);
  SceneChanged();
}

void TView3D::Reset() {
  scene_.Reset();
  SceneChanged();
}

void TView3D::Changed(const TTrackChange& change) {
  if (change.Empty()) return;
  scene_.Apply(change);
  SceneChanged();
}

void TView3D::SetSelectedSection(int section) {
  if (viewport_) viewport_->SetSelected(section);
}

void TView3D::SetSelectedRun(int first, int last) {
  if (viewport_) viewport_->SetSelectedRun(first, last);
}

int TView3D::SelectedSection() const { return viewport_ ? viewport_->Selected() : -1; }

void TView3D::ZoomToFit() {
  if (!viewport_) return;
  SetDriveMode(false);
  viewport_->ZoomToFit();
}

void TView3D::SetHeightExaggeration(int factor) {
  const int index = exaggeration_->findData(factor);
  if (index >= 0 && index != exaggeration_->currentIndex()) exaggeration_->setCurrentIndex(index);
  if (viewport_) viewport_->SetExaggeration(factor);
}

void TView3D::SetDriveMode(bool drive) {
  (drive ? drive_ : orbit_)->setChecked(true);
  if (viewport_) viewport_->SetDriving(drive);
}

bool TView3D::DriveMode() const { return viewport_ && viewport_->Driving(); }

void TView3D::DriveAlong(double metres) {
  if (viewport_ && viewport_->Driving()) viewport_->Drive(metres);
}

void TView3D::SetLine(std::vector<TView3DLinePoint> line, bool dimmed) {
  if (!racingLine_->isChecked()) line.clear();
  if (viewport_) viewport_->SetLine(std::move(line), dimmed);
}

bool TView3D::RacingLineOn() const { return racingLine_->isChecked(); }

bool TView3D::LineShown() const { return viewport_ && !viewport_->Line().empty(); }

void TView3D::SetPlaying(bool playing) {
  if (playing && !DriveMode()) SetDriveMode(true);
  play_->setChecked(playing);
  if (viewport_) viewport_->SetPlaying(playing);
}

void TView3D::SetPlaySpeed(int kilometresPerHour) {
  if (speed_->value() != kilometresPerHour) speed_->setValue(kilometresPerHour);
  if (viewport_) viewport_->SetSpeed(kilometresPerHour);
}

void TView3D::SetSkyBackground(bool sky) {
  TView3DLook look = look_;
  look.sky = sky;
  SetLook(look);
}

void TView3D::SetLook(const TView3DLook& wanted) {
  TView3DLook look = wanted;
  // A display without multisampling has no antialiasing to give.
  if (AntialiasingSamples() == 1) look.antialiasing = false;
  look_ = look;
  const std::pair<QAction*, bool> buttons[] = {{textures_, look.textures}, {shadows_, look.shadows},
                                               {antialiasing_, look.antialiasing}, {grid_, look.grid},
                                               {sky_, look.sky}};
  for (auto [action, on] : buttons) {
    const QSignalBlocker quiet(action);
    action->setChecked(on);
  }
  antialiasing_->setEnabled(AntialiasingSamples() != 1);
  if (viewport_) viewport_->SetLook(look);
}

int TView3D::AntialiasingSamples() const { return viewport_ ? viewport_->Samples() : 1; }

void TView3D::hideEvent(QHideEvent* event) {
  SetPlaying(false);
  QWidget::hideEvent(event);
}

QImage TView3D::Picture() {
  if (viewport_ && stack_->currentWidget() == viewport_) return viewport_->grabFramebuffer();
  return grab().toImage();
}

void TView3D::RenderNow() {
  if (viewport_) viewport_->RenderNow();
}

QWidget* TView3D::Viewport() const { return viewport_ ? static_cast<QWidget*>(viewport_) : notice_; }

QPointF TView3D::ViewportPointOf(double planX, double planY, double height) const {
  return viewport_ ? viewport_->WidgetPointOf(planX, planY, height) : QPointF();
}

}  // namespace meridal
