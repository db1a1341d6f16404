// render: draws a track into a PNG with the same drawing code as the graphics
// window, or as the profile window with --profile.
#include <algorithm>
#include <ostream>

#include "cli/cli_document.h"
#include "cli/cli_session.h"
#include "cli/document_commands.h"
#include "model/track.h"
#include "present/value_text.h"

#ifdef MERIDAL_CLI_RENDER
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <span>

#include "files/safety/safe_file.h"

#include "graphics/offscreen_window.h"
#include "graphics/profile_drawing.h"
#include "graphics/profile_view.h"
#include "graphics/qt/offscreen_fonts.h"
#include "graphics/qt/painter_canvas.h"
#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "graphics/view_flags.h"
#include "platform/canvas.h"
#include "platform/messages.h"
#include "shell/shell_texts.h"
#endif

namespace meridal {

#ifdef MERIDAL_CLI_RENDER
namespace {

constexpr int kMaxSide = 16384;
constexpr int kProfileWidth = 1200, kProfileHeight = 600;

// A canvas that only knows its size, to measure the drawing before the image exists.
struct SizeOnlyCanvas : ICanvas {
  int width, height;
  SizeOnlyCanvas(int w, int h) : width(w), height(h) {}
  void SetPenColor(TColor) override {}
  void SetPenWidth(int) override {}
  void SetBrushColor(TColor) override {}
  void SetBrushStyle(BrushStyle) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Polygon(const TPoint*, int) override {}
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
  int ClientWidth() const override { return width; }
  int ClientHeight() const override { return height; }
};

bool ParseSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  auto w = ParseCanonicalDecimal(text.substr(0, x));
  auto h = ParseCanonicalDecimal(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > kMaxSide || *h > kMaxSide) return false;
  width = *w;
  height = *h;
  return true;
}

// The picture encoded in memory, then saved as a track is: a full disk leaves
// the old file, not a torn one.
int SavePng(const QImage& image, const std::string& path, CliIo io) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    io.err << "meridal-cli: the picture could not be encoded as PNG\n";
    return 1;
  }
  const ReplaceOutcome outcome =
      ReplaceFileContents(path, std::span(reinterpret_cast<const uint8_t*>(png.constData()), size_t(png.size())));
  if (outcome.result == ReplaceResult::Ok) return 0;
  const std::string reason = outcome.reason.empty() ? SystemReason(path, outcome.error) : outcome.reason;
  io.err << WithReason(outcome.result == ReplaceResult::CannotCreate ? kCannotOpenFile : "Image: Error writing file!",
                       reason)
         << "\n";
  return 1;
}

// The profile of the whole track, as the profile window shows it zoomed to fit.
void DrawProfile(const TTrack& track, const TObjectPath& selection, QImage& image, bool smooth, bool slope) {
  EnsureFonts();
  QPainter painter(&image);
  TPainterCanvas canvas(painter, image.size(), smooth);
  TProfileView view;
  view.SetExtent(TrackDistances(track, SectionStarts(track)));
  view.SlopeColouring = slope;
  TProfileDrawing().Draw(track, selection, view, canvas);
}

}  // namespace
#endif

int RunRender(TCliSession& session, const CliArgs& args, CliIo io) {
#ifdef MERIDAL_CLI_RENDER
  int width = 0, height = 0;
  if (args.Has("--size") && !ParseSize(args.Get("--size"), width, height)) {
    io.err << "meridal-cli: --size takes WIDTHxHEIGHT, each 1 to " << kMaxSide << " pixels\n";
    return 2;
  }
  auto flags = ParseCanonicalDecimal(args.Get("--view-flags", "63"));
  if (!flags || *flags < 0 || *flags > kViewAll) {
    io.err << "meridal-cli: --view-flags takes a number from 0 to 63\n";
    return 2;
  }
  const std::optional<double> zoom = ParseDecimalNumber(args.Get("--zoom", "1"));
  const double zoomFactor = zoom.value_or(0);
  if (!(zoomFactor > 0)) {
    io.err << "meridal-cli: --zoom takes a positive number\n";
    return 2;
  }
  const TTrack* track = session.Track(io);
  if (!track) return 1;
  // The picture shows only what --select asks for, whatever the document has selected.
  TObjectPath selection = TObjectPath::Track();
  const TSection* focus = nullptr;
  if (args.Has("--select")) {
    const TBase* object = FindObject(*track, args.Get("--select"), io);
    if (!object) return 1;
    selection = PathOf(*object);
    if (selection.section >= 0) focus = track->Section(selection.section);
  }
  const bool smooth = args.Has("--smooth");
  if (args.Has("--profile")) {
    QImage image(width ? width : kProfileWidth, height ? height : kProfileHeight, QImage::Format_RGB32);
    DrawProfile(*track, selection, image, smooth, args.Has("--slope"));
    return SavePng(image, args.positional[0], io);
  }

  // Without --size the image is the drawing's own size at the chosen zoom; with
  // --size the whole track fits the picture as Zoom to Fit fits the window, and
  // --zoom zooms in from there.
  const bool sized = width != 0;
  if (!sized) {
    SizeOnlyCanvas probe(1, 1);
    TOffscreenWindow probeWindow(probe);
    TScaleDraw measure(probeWindow, track->Extent, 600);
    if (!measure.SetZoom(zoomFactor)) {
      io.err << "meridal-cli: the drawing is too large at zoom " << zoomFactor << "\n";
      return 1;
    }
    width = std::clamp<int32_t>(measure.HorizontalRange(), 1, kMaxSide);
    height = std::clamp<int32_t>(measure.VerticalRange(), 1, kMaxSide);
  }

  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TPainterCanvas canvas(painter, image.size(), smooth);
    TOffscreenWindow window(canvas);
    TScaleDraw view(window, track->Extent, 600);
    // The plan window's own mapping: the view is placed where asked, not held
    // to the drawing's top-left corner.
    view.SetFreeOrigin(true);
    const double zoom = sized && view.ZoomToFit() ? view.Zoom() * zoomFactor : zoomFactor;
    if (!view.SetZoom(zoom)) {
      io.err << "meridal-cli: the drawing is too large at zoom " << zoomFactor << "\n";
      return 1;
    }
    // Centre on the selected section, or on the whole track.
    const TRect& box = focus ? focus->Extent : track->Extent;
    view.CenterOn((static_cast<double>(box.left) + box.right) / 2, (static_cast<double>(box.top) + box.bottom) / 2);
    TTrackPainter(*track).Draw(view, *flags, selection);
  }
  return SavePng(image, args.positional[0], io);
#else
  (void)session;
  (void)args;
  io.err << "meridal-cli: render needs the Qt build\n";
  return 1;
#endif
}

}  // namespace meridal
