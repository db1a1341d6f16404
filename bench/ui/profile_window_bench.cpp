// The profile window's full redraw against the core's drawing alone, on the
// 10,000-section synthetic track at 1920 x 1080, smooth, with a section's altitude
// selected and slope colouring on: what the window adds to the core's picture
// (the track's extent, the picture's upkeep, and putting it on the screen).
// And the track check window read anew over some 280,000 problems.
// A program of its own: windows need a QApplication before anything of Qt runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "files/cipher/filler.h"
#include "files/project/project_io.h"
#include "platform/messages.h"

#include "graphics/profile_drawing.h"
#include "graphics/profile_view.h"
#include "graphics/qt/painter_canvas.h"
#include "model/object_path.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "ui/check_window.h"
#include "ui/main_window.h"
#include "ui/profile_plot.h"
#include "shell/document_shell.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

std::unique_ptr<meridal::TTrack> LongTrack() {
  auto track = meridal::SyntheticTrack(10000);
  return track;
}

void ProfileCoreDrawing(benchmark::State& state) {
  const auto track = LongTrack();
  meridal::TProfileView view;
  view.SetExtent(meridal::TrackDistances(*track, meridal::SectionStarts(*track)));
  view.SlopeColouring = true;
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  meridal::TPainterCanvas canvas(painter, image.size(), true);
  meridal::TProfileDrawing profile;
  for (auto _ : state) profile.Draw(*track, meridal::TObjectPath::Altitude(5000, 3), view, canvas);
}
BENCHMARK(ProfileCoreDrawing)->Unit(benchmark::kMillisecond);

// Opens `track` in the editor's window as File > Open does, from a file of its own.
void Open(meridal::TFormMain& frame, meridal::TTrack& track) {
  struct Quiet : meridal::IMessages {
    meridal::MessageAnswer Show(const std::string&, const std::string&, meridal::MessageIcon,
                                meridal::MessageButtons) override {
      return meridal::MessageAnswer::Ok;
    }
  } quiet;
  const QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("track.mrd")).toStdString();
  meridal::TFiller filler(1);
  meridal::SaveProjectFile(path, track, filler, quiet);
  frame.Shell().OpenPath(path);
}

void ProfileWindowRedraw(benchmark::State& state) {
  meridal::TFormMain frame;
  Open(frame, *LongTrack());
  meridal::TProfilePlot plot(frame.Shell());
  plot.resize(kWidth, kHeight);
  plot.SetSmooth(true);
  plot.SetSlopeColouring(true);
  QImage screen(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    plot.Repaint();
    plot.render(&screen);  // a paint event: the picture drawn anew and put on the "screen"
  }
}
BENCHMARK(ProfileWindowRedraw)->Unit(benchmark::kMillisecond);

// A height step at every joint of every trace and a jump of every wall.
std::unique_ptr<meridal::TTrack> FaultyTrack() {
  auto track = LongTrack();
  for (int s = 0; s < track->NumberOfSections(); ++s) {
    meridal::TSection& section = *track->Section(s);
    for (auto& altitude : section.Altitudes) altitude->HeightAtStart += 1 + s % 7;
    for (auto& wall : section.Walls) wall->From += 1 + s % 3;
  }
  return track;
}

void CheckWindowRefresh(benchmark::State& state) {
  meridal::TFormMain frame;
  Open(frame, *FaultyTrack());
  meridal::TFormCheck check(frame.Shell());
  check.resize(800, 600);
  check.show();
  for (auto _ : state) {
    check.Refresh();
    check.Table->viewport()->repaint();
  }
  state.counters["rows"] = check.Model().rowCount();
}
BENCHMARK(CheckWindowRefresh)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Qt's offscreen platform unless another is asked for: the benchmark needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
