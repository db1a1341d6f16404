// The 3D view on a display with OpenGL (run it under xvfb-run, where Mesa's
// llvmpipe draws in software):
//  - a frame of the 1,000-section synthetic track at 1280x800, the whole track in
//    the orbit camera and riding it in the drive camera, drawn until finished,
//    with everything on and with each option of the look on or off (and once
//    more read back as a picture); the 10,000-section track in the orbit camera;
//  - the update after a value edit on the 10,000-section track, made through the
//    document: the changed section's mesh and its neighbours' rebuilt from its
//    announcement and their chunk uploaded.
// The triangle counts are printed with the results.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "document/document.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "ui/view3d/view3d.h"

namespace {

using meridal::TView3D;

struct TShownTrack {
  std::unique_ptr<meridal::TTrack> track;
  std::unique_ptr<TView3D> view;
};

TShownTrack Show(int sections) {
  TShownTrack shown{meridal::SyntheticTrack(sections, 16, 12), std::make_unique<TView3D>()};
  shown.view->show();
  shown.view->SetTrack(*shown.track);
  // The picture itself 1280x800, below the view's tool bar.
  const QSize bar = shown.view->size() - shown.view->Viewport()->size();
  shown.view->resize(QSize(1280, 800) + bar);
  QApplication::processEvents();
  shown.view->ZoomToFit();
  return shown;
}

void Frame(benchmark::State& state, bool drive, meridal::TView3DLook look = {}, int sections = 1000,
           bool readBack = false) {
  TShownTrack shown = Show(sections);
  if (!shown.view->OpenGLAvailable()) return state.SkipWithError("no OpenGL 3.3 on this display");
  shown.view->SetLook(look);
  if (drive) {
    shown.view->SetSelectedSection(40);
    shown.view->SetDriveMode(true);
  }
  shown.view->Picture();  // everything on the card before the first measured frame
  for (auto _ : state) {
    if (readBack)
      benchmark::DoNotOptimize(shown.view->Picture());
    else
      shown.view->RenderNow();
  }
  state.counters["triangles"] = double(shown.view->Scene().TriangleCount());
  state.counters["width"] = shown.view->Viewport()->width();
  state.counters["height"] = shown.view->Viewport()->height();
  state.counters["samples"] = shown.view->Look().antialiasing ? shown.view->AntialiasingSamples() : 1;
}
// Everything on: textures, shadows, antialiasing (4 samples a pixel where the
// display has them), the sky; the grid off, as the view starts.
void BM_View3DFrameOrbit1000(benchmark::State& state) { Frame(state, false); }
void BM_View3DFrameDrive1000(benchmark::State& state) { Frame(state, true); }
BENCHMARK(BM_View3DFrameOrbit1000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_View3DFrameDrive1000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
// Each option of the look on or off against that, and antialiasing and shadows
// both off.
void BM_View3DFrameOrbit1000Without(benchmark::State& state, bool meridal::TView3DLook::*part) {
  meridal::TView3DLook look;
  look.*part = !(look.*part);
  Frame(state, false, look);
}
BENCHMARK_CAPTURE(BM_View3DFrameOrbit1000Without, textures_off, &meridal::TView3DLook::textures)
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_View3DFrameOrbit1000Without, shadows_off, &meridal::TView3DLook::shadows)
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_View3DFrameOrbit1000Without, antialiasing_off, &meridal::TView3DLook::antialiasing)
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_View3DFrameOrbit1000Without, grid_on, &meridal::TView3DLook::grid)
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_View3DFrameOrbit1000Without, sky_off, &meridal::TView3DLook::sky)
    ->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
void BM_View3DFrameOrbit1000NoAntialiasingNoShadows(benchmark::State& state) {
  meridal::TView3DLook look;
  look.antialiasing = look.shadows = false;
  Frame(state, false, look);
}
BENCHMARK(BM_View3DFrameOrbit1000NoAntialiasingNoShadows)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
// A track of one section (what the sky and the ground cost by themselves); and
// read back into a picture.
void BM_View3DFrameOrbit1(benchmark::State& state) { Frame(state, false, {}, 1); }
void BM_View3DPictureOrbit1000(benchmark::State& state) { Frame(state, false, {}, 1000, true); }
BENCHMARK(BM_View3DFrameOrbit1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_View3DPictureOrbit1000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
// The 10,000-section track, whole in the orbit camera, everything on.
void BM_View3DFrameOrbit10000(benchmark::State& state) { Frame(state, false, {}, 10000); }
BENCHMARK(BM_View3DFrameOrbit10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The value edit goes through the document as the editor makes it (one undoable
// step), and the view rebuilds from the document's announcement: the changed
// section's mesh and its neighbours', and their chunk uploaded (the driver has
// copied the data when the call returns).
void BM_View3DUpdateAfterValueEdit10000(benchmark::State& state) {
  meridal::TDocument document(meridal::SyntheticTrack(10000, 16, 12));
  TView3D view;
  view.show();
  view.SetTrack(document.Track());
  view.resize(QSize(1280, 800) + view.size() - view.Viewport()->size());
  QApplication::processEvents();
  if (!view.OpenGLAvailable()) return state.SkipWithError("no OpenGL 3.3 on this display");
  view.ZoomToFit();
  view.Picture();
  document.Subscribe([&view](const meridal::TDocumentChange& change) { view.Changed(change.track); });
  const meridal::TObjectPath wall = meridal::TObjectPath::Wall(5000, 3);
  int32_t height = 0;
  for (auto _ : state) {
    if (document.SetValue(wall, "Height", height += 100) != meridal::history::Outcome::Changed)
      return state.SkipWithError("the edit was refused");
  }
  state.counters["triangles"] = double(view.Scene().TriangleCount());
}
BENCHMARK(BM_View3DUpdateAfterValueEdit10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
