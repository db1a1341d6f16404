// The editor itself on big tracks, on Qt's offscreen platform: what opening a
// track costs (CPU to an idle event loop, and the process's peak memory, each
// beyond an empty start), how long a zoom step and Zoom to Fit take in the plan
// view, and how long each edit, its undo and its redo take with the tree, the
// list and the drawing brought up to date.
//
//   meridal_gui_bench            runs everything: each opening in a process of its
//                                own, then the zooms and the edits on the
//                                10,000-section track
//   meridal_gui_bench open FILE  (one measurement, as the runner starts it)
//   meridal_gui_bench edits FILE [all [NAME]]  the zooms and the edits on a track of 10,000
//                                sections or more (all: the edits with the tool windows open;
//                                NAME: only the edits whose name holds it)
//   meridal_gui_bench zooms FILE the zooms alone, for a profiler
//   meridal_gui_bench drags FILE N  a drag of a section's end on a track of N sections
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "files/cipher/filler.h"
#include "files/project/project_io.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "platform/file_dialogs.h"
#include "platform/memory_hints.h"
#include "platform/messages.h"
#include "shell/document_files.h"
#include "shell/document_shell.h"
#include "shell/shell_dialogs.h"
#include "graphics/scale_draw.h"
#include "shape/shape_rules.h"
#include "ui/plan/plan_view.h"
#include "ui/plan/tools/shape_tool.h"
#include "clipboard/section_payload.h"
#include "ui/clipboard_actions.h"
#include "ui/main_window.h"
#include "ui/qt_clipboard.h"
#include "ui/tree_window.h"

namespace {

using namespace meridal;

// Every question answered Yes; nothing shown but a line on stderr, so that an
// edit refused with a message is not taken for one measured.
class YesMessages : public IMessages {
 public:
  MessageAnswer Show(const std::string& title, const std::string& text, MessageIcon, MessageButtons buttons) override {
    std::fprintf(stderr, "(%s: %s)\n", title.c_str(), text.c_str());
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
  }
};

class NoFileDialogs : public IFileDialogs {
 public:
  std::optional<std::string> Open(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> Save(const FileDialogRequest&) override { return std::nullopt; }
};

// The dialogs as a user who types the length and presses OK.
class TypingDialogs : public IShellDialogs {
 public:
  int32_t typed = 0;
  bool EditValue(const TBase*, const std::string&, const ValueWriter& write) override { return write(typed); }
  bool SplitSection(const TBase*, const ValueWriter& split) override { return split(typed); }
  std::optional<int> CopyWallsFrom(int, int) override { return std::nullopt; }
  void About() override {}
};

// Runs the event loop until nothing is pending: the tree's delayed layout, the
// repaints. Twice, because one can post the other.
void Idle() {
  for (int i = 0; i < 2; ++i) {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

double CpuMs(int who = RUSAGE_SELF) {
  rusage u{};
  getrusage(who, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

long PeakKb(int who = RUSAGE_SELF) {
  rusage u{};
  getrusage(who, &u);
  return u.ru_maxrss;
}

struct Frame {
  YesMessages messages;
  NoFileDialogs fileDialogs;
  TypingDialogs dialogs;
  std::unique_ptr<IDocumentFiles> files = MakeDiskFiles();
  TFormMain window{MainWindowServices{&messages, &fileDialogs, &dialogs, files.get()}};
  Frame() {
    window.resize(1920, 1080);
    window.show();
    Idle();
  }
};

// One opening, measured in this process: CPU and peak memory at an idle loop.
int MeasureOpen(const char* path) {
  Frame frame;
  if (path && !frame.window.OpenAtStartUp(QString::fromLocal8Bit(path))) return 1;
  Idle();
  std::printf("%.1f %ld\n", CpuMs(), PeakKb());
  return 0;
}

struct Opening {
  double cpuMs = 0;
  long peakKb = 0;
};

// Runs `self open FILE` (or an empty start) as a child and reads its figures.
Opening RunOpen(const char* self, const std::string& path) {
  int pipefd[2];
  if (pipe(pipefd) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipefd[1], STDOUT_FILENO);
    close(pipefd[0]);
    if (path.empty()) execl(self, self, "open", static_cast<char*>(nullptr));
    else execl(self, self, "open", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipefd[1]);
  char buffer[128] = {};
  const ssize_t n = read(pipefd[0], buffer, sizeof buffer - 1);
  close(pipefd[0]);
  int status = 0;
  waitpid(child, &status, 0);
  Opening o;
  if (n > 0) std::sscanf(buffer, "%lf %ld", &o.cpuMs, &o.peakKb);
  return o;
}

std::string WriteSynthetic(const QTemporaryDir& dir, int sections) {
  auto track = SyntheticTrack(sections);
  TFiller filler(1);
  struct Quiet : IMessages {
    MessageAnswer Show(const std::string&, const std::string&, MessageIcon, MessageButtons) override {
      return MessageAnswer::Ok;
    }
  } quiet;
  const std::string path = dir.filePath(QStringLiteral("synthetic-%1.mrd").arg(sections)).toStdString();
  SaveProjectFile(path, *track, filler, quiet);
  return path;
}

// CPU time of one action and the idle loop after it, in milliseconds (the wall
// time on a shared machine says more about the neighbours than about the editor).
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Timed(const std::function<void()>& action) {
  const double start = ThreadCpuMs();
  action();
  Idle();
  return ThreadCpuMs() - start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A user's zooming in the plan view, smooth drawing on as the editor starts: a
// Ctrl+wheel step in and out about the window's middle, View > Zoom to Fit from
// a step in, and F5's redraw at that fit. The median of five of each.
void MeasureZooms(TFormMain& w, const char* layout) {
  QWidget& viewport = *w.PlanView->viewport();
  const auto wheel = [&](int notches) {
    const QPointF middle = QRectF(viewport.rect()).center();
    QWheelEvent event(middle, viewport.mapToGlobal(middle), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&viewport, &event);
  };
  std::vector<double> in, out, fit, redraw;
  for (int i = 0; i < 5; ++i) {
    in.push_back(Timed([&] { wheel(1); }));
    out.push_back(Timed([&] { wheel(-1); }));
    Timed([&] { wheel(1); });
    fit.push_back(Timed([&] { w.ViewZoomToFit->trigger(); }));
    redraw.push_back(Timed([&] { w.Redraw->trigger(); }));
  }
  std::printf("  %-26s %8.1f %8.1f %8.1f %8.1f   (%dx%d, smooth %s)\n", layout, Median(in), Median(out), Median(fit),
              Median(redraw), viewport.width(), viewport.height(), w.PlanView->Smooth() ? "on" : "off");
}

// The zooms, then the edits with the tree, the list and the plan; with
// `toolWindows` the edits alone, with the history, the profile and the check
// open beside them as well.
void MeasureEdits(const std::string& path, bool zoomsOnly = false, bool toolWindows = false,
                  const std::string& only = std::string()) {
  Frame frame;
  TFormMain& w = frame.window;
  TDocumentShell& shell = w.Shell();
  w.OpenAtStartUp(QString::fromStdString(path));
  Idle();
  if (toolWindows) {
    w.WindowHistoryClick();
    w.ViewElevationProfileClick();
    w.ViewTrackCheckClick();
    w.WindowTileClick();
    Idle();
  }
  if (!toolWindows) {
    std::printf("\nZooming the plan of the 10,000-section track (CPU time, ms, to an idle event loop)\n");
    std::printf("  %-26s %8s %8s %8s %8s\n", "", "step in", "step out", "to fit", "F5");
    MeasureZooms(w, "as the window opens");
    auto* child = qobject_cast<QMdiSubWindow*>(w.PlanView->parentWidget());
    if (child) {
      child->showMaximized();
      Idle();
      MeasureZooms(w, "maximised");
      child->showNormal();
      Idle();
    }
  }
  if (zoomsOnly) return;
  // The selection moves as a click in the tree moves it: through the document.
  const auto select = [&](int section) {
    shell.Document()->Select(TObjectPath::Section(section));
    Idle();
  };
  // A value typed into the list's row as a user types it: the row selected, F2
  // (the dialog answers with `typed`).
  const auto typeRow = [&](int section, const char* caption, int32_t typed) {
    select(section);
    const auto found = w.FormTree->ListView->findItems(QString::fromLatin1(caption), Qt::MatchExactly);
    if (found.isEmpty()) return;
    w.FormTree->ListView->setCurrentItem(found.front());
    frame.dialogs.typed = typed;
    w.FormTree->ListViewDblClick();
  };
  struct Edit {
    const char* name;
    std::function<void()> run;
    bool joined = false;  // View > Keep Joined
  };
  const std::vector<Edit> edits = {
      {"set a value (Length)",
       [&] {
         select(5000);
         frame.dialogs.typed = 400000;
         shell.Document()->SetValue(TObjectPath::Section(5000), "Length", 400000);
       }},
      {"set a height (Height@Start)",
       [&] {
         shell.Document()->Select(TObjectPath::Altitude(5000, 3));
         Idle();
         shell.Document()->SetValue(TObjectPath::Altitude(5000, 3), "Height@Start", 123456);
       }},
      {"remove a section", [&] { select(5000); w.EditRemoveClick(); }},
      {"add a section after", [&] { select(5000); w.EditAddAfterClick(); }},
      {"split a section",
       [&] {
         select(5000);
         frame.dialogs.typed = 100000;
         w.EditSplitClick();
       }},
      {"change a section's type", [&] { select(5000); w.EditChangeTypeClick(); }},
      {"remove a trace", [&] { shell.Change([](history::TEditor& e) { return e.RemoveTrace(7); }); }},
      {"add a trace", [&] { shell.Change([](history::TEditor& e) { return e.AddTrace(7, true); }); }},
      // The Edit menu's items, as Ctrl+V and the menu run them.
      {"paste 1,000 sections",
       [&] {
         select(5000);
         w.ClipboardItems->Paste->trigger();
       }},
      {"reverse the track", [&] { w.ClipboardItems->Reverse->trigger(); }},
      {"mirror the track", [&] { w.ClipboardItems->Mirror->trigger(); }},
      // With Keep Joined the sections after the changed one follow it, in the
      // same step: some 5,000 of them from the middle, nearly all from section 10.
      {"typed Length, joined", [&] { typeRow(5000, "Length", 400000); }, true},
      {"typed Length at 10, joined", [&] { typeRow(10, "Length", 400000); }, true},
      {"typed Curvature, joined",
       [&] {
         int s = 5000;
         while (!shell.Document()->Track().Section(s)->IsCurved()) ++s;
         typeRow(s, "Curvature", 100000000);
       },
       true},
      {"add after, joined", [&] { select(5000); w.EditAddAfterClick(); }, true},
      {"split, joined",
       [&] {
         select(5000);
         frame.dialogs.typed = 100000;
         w.EditSplitClick();
       },
       true},
      {"paste 1,000, joined",
       [&] {
         select(5000);
         w.ClipboardItems->Paste->trigger();
       },
       true},
  };
  // What the paste takes: sections 2,000 to 2,999 on the system clipboard, each a
  // quarter as long, so that the track with them still fits its 32-bit Length
  // (a synthetic track leaves only a twentieth of it free: copied as they are,
  // the paste would be refused and nothing measured).
  {
    TTrack copied;
    std::string error;
    const std::string text = clipboard::SectionsPayload(shell.Document()->Track(), TSectionRun{2000, 2999});
    if (!clipboard::ReadSectionsPayload(text, copied, error)) std::fprintf(stderr, "(copy: %s)\n", error.c_str());
    for (const auto& section : copied.Sections) section->SetLength(std::max<int32_t>(1, section->Length / 4));
    QtClipboard().PutSections(clipboard::SectionsPayload(copied, TSectionRun{0, copied.NumberOfSections() - 1}));
  }
  std::printf("\nEdits on the 10,000-section track (CPU time, ms, to an idle event loop)%s\n",
              toolWindows ? ", with the history, profile and check windows open" : "");
  std::printf("  %-26s %8s %8s %8s\n", "", "edit", "undo", "redo");
  for (const Edit& edit : edits) {
    if (std::string(edit.name).find(only) == std::string::npos) continue;
    w.ViewKeepJoined->setChecked(edit.joined);
    // The selection before the edit is part of the setting, not of the edit.
    const size_t steps = shell.Document()->History().Index();
    const double done = Timed([&] { edit.run(); });
    if (shell.Document()->History().Index() == steps) std::printf("  (%s made no step)\n", edit.name);
    const double undone = Timed([&] { w.EditUndoClick(); });
    const double redone = Timed([&] { w.EditRedoClick(); });
    std::printf("  %-26s %8.1f %8.1f %8.1f\n", edit.name, done, undone, redone);
  }
  std::printf("  (steps kept: %zu, history bytes: %zu)\n", shell.Document()->History().Count(), shell.Document()->History().Bytes());
}

// A drag of a straight's end in the middle of the track with the mouse (back:
// the 10,000-section track is longer than a file's 32-bit Length, so it may
// only be shortened), the
// elevation profile open beside the plan and the list: the median CPU time of a
// pointer move (the values, the later sections with keep joined, the read-out,
// and the redraw of the plan, the profile and the list), of the release, and of
// its undo and redo.
void MeasureDrags(const std::string& path, int sections, bool atFit) {
  Frame frame;
  TFormMain& w = frame.window;
  TDocumentShell& shell = w.Shell();
  w.OpenAtStartUp(QString::fromStdString(path));
  w.ViewElevationProfile->trigger();
  Idle();
  const TTrack& track = *shell.Track();
  int s = sections / 2;
  while (track.Section(s)->IsCurved()) ++s;
  shell.Document()->Select(TObjectPath::Section(s));
  Idle();
  // The whole track at Fit, or the section in the middle of the plan, zoomed in
  // as far as one step short of a full-window section, so that its handles are a
  // drag apart.
  TScaleDraw& view = w.PlanView->ScaleDraw();
  const TSection& section = *track.Section(s);
  if (atFit) {
    w.PlanView->ZoomToFit();
  } else {
    while (view.PixelsPerUnit() * section.Length < 150 && view.ZoomIn()) {
    }
    view.CenterOn(section.EndX(), section.EndY());
  }
  Idle();
  QWidget& viewport = *w.PlanView->viewport();
  const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, viewport.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::ControlModifier);
    QCoreApplication::sendEvent(&viewport, &event);
  };
  for (bool joined : {true, false}) {
    w.ViewKeepJoined->setChecked(joined);
    const auto handle = w.PlanView->Shape().HandlePixel(shape::Handle::End);
    if (!handle) return;
    const QPoint at = *handle;
    send(QEvent::MouseButtonPress, at, Qt::LeftButton);
    std::vector<double> moves;
    for (int i = 1; i <= 15; ++i)
      moves.push_back(Timed([&] { send(QEvent::MouseMove, at - QPoint(3 * (i % 5) + 2, 0), Qt::LeftButton); }));
    const double release = Timed([&] { send(QEvent::MouseButtonRelease, at - QPoint(9, 0), Qt::NoButton); });
    if (shell.Document()->History().Count() == 0) std::printf("  (the drag made no step: %s)\n", qPrintable(w.PlanView->Shape().StopMessage()));
    const double undone = Timed([&] { w.EditUndoClick(); });
    const double redone = Timed([&] { w.EditRedoClick(); });
    std::printf("  %5d sections, %-6s %-12s %8.1f %8.1f %8.1f %8.1f\n", sections, atFit ? "at Fit" : "zoomed",
                joined ? "keep joined" : "detached",
                Median(moves), release, undone, redone);
    w.EditUndoClick();
    Idle();
  }
}

}  // namespace

// Qt's offscreen platform unless another is asked for: the benchmark needs no
// display. Its screen is made 1920 x 1080, as a desktop's: the platform's own is
// 800 x 600, which keeps every window, and the plan view's picture, far smaller
// than a user's. The measurements in processes of their own inherit it.
void UseOffscreenScreen(const QTemporaryDir& dir) {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
  const QString path = dir.filePath(QStringLiteral("screen.json"));
  QFile config(path);
  if (config.open(QIODevice::WriteOnly))
    config.write(R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                 R"( "logicalDpiX": 96, "logicalDpiY": 96, "dpr": 1}]})");
  config.close();
  qputenv("QT_QPA_PLATFORM", config.exists() ? ("offscreen:configfile=" + path).toLocal8Bit() : "offscreen");
}

int main(int argc, char** argv) {
  // As the editor itself starts (see ui/main.cpp).
  meridal::RestartWithHugePages(argv);
  const QTemporaryDir screenDir;
  UseOffscreenScreen(screenDir);
  if (argc >= 2 && std::string(argv[1]) == "open") {
    QApplication app(argc, argv);
    return MeasureOpen(argc >= 3 ? argv[2] : nullptr);
  }
  if (argc >= 3 && std::string(argv[1]) == "drags") {  // for a profiler
    QApplication app(argc, argv);
    for (bool atFit : {false, true}) MeasureDrags(argv[2], argc >= 4 ? std::atoi(argv[3]) : 10000, atFit);
    return 0;
  }
  if (argc >= 3 && (std::string(argv[1]) == "edits" || std::string(argv[1]) == "zooms")) {  // for a profiler
    QApplication app(argc, argv);
    MeasureEdits(argv[2], std::string(argv[1]) == "zooms", argc >= 4 && std::string(argv[3]) == "all",
                 argc >= 5 ? argv[4] : "");
    return 0;
  }
  QTemporaryDir dir;
  std::vector<std::pair<int, std::string>> tracks;
  for (int sections : {1000, 10000}) tracks.emplace_back(sections, WriteSynthetic(dir, sections));

  const Opening empty = RunOpen(argv[0], std::string());
  std::printf("Opening in the editor (CPU to an idle loop, peak memory; beyond an empty start)\n");
  std::printf("  empty start: %.0f ms CPU, %.0f MB peak\n", empty.cpuMs, empty.peakKb / 1024.0);
  for (const auto& [sections, path] : tracks) {
    const Opening o = RunOpen(argv[0], path);
    std::printf("  %5d sections: %7.0f ms CPU, %6.0f MB peak (+%.0f ms, +%.0f MB)\n", sections, o.cpuMs,
                o.peakKb / 1024.0, o.cpuMs - empty.cpuMs, (o.peakKb - empty.peakKb) / 1024.0);
  }
  QApplication app(argc, argv);
  MeasureEdits(tracks.back().second);
  MeasureEdits(tracks.back().second, false, true);
  std::printf("\nDragging a section's end with the mouse, the profile open (CPU time, ms, to an idle event loop)\n");
  std::printf("  %-27s %8s %8s %8s %8s\n", "", "move", "release", "undo", "redo");
  for (const auto& [sections, path] : tracks)
    for (bool atFit : {false, true}) MeasureDrags(path, sections, atFit);
  return 0;
}
