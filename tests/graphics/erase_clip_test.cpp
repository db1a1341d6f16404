// Erasing the highlight draws the sections again only inside the box it blanked.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/scale_draw.h"
#include "graphics/track_painter.h"
#include "graphics/view_flags.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "support/fake_draw_window.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::FakeDrawWindow;
using Log = std::vector<std::string>;

// Records the clip calls too, which the plain recording canvas leaves out.
class ClipRecordingCanvas : public testing::RecordingCanvas {
 public:
  using RecordingCanvas::RecordingCanvas;
  void ClipTo(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    log.push_back("clip " + std::to_string(x1) + "," + std::to_string(y1) + "," + std::to_string(x2) + "," +
                  std::to_string(y2));
  }
  void ClipOff() override { log.push_back("unclip"); }
};

class ClippingWindow : public FakeDrawWindow {
 public:
  ICanvas& Canvas() override { return clipping; }
  ClipRecordingCanvas clipping{700, 400};
};

TEST(EraseClipTest, TheRedrawIsClippedToTheBlankedBox) {
  TObjectPath selection;  // nothing highlighted
  // Three 50 m straights in a row, the middle one highlighted.
  auto track = testing::DefaultTrack();
  testing::AppendCopy<TStraightSection>(*track);
  testing::AppendCopy<TStraightSection>(*track);
  ClippingWindow window;
  TScaleDraw view(window, track->Extent, 600);
  selection = PathOf(*track->Section(1));
  const TRect box = track->Section(1)->Extent;
  const std::string rect = std::to_string(view.ToWindowX(box.left)) + "," + std::to_string(view.ToWindowY(box.top)) +
                           "," + std::to_string(view.ToWindowX(box.right)) + "," +
                           std::to_string(view.ToWindowY(box.bottom));

  TTrackPainter(*track).EraseSelection(view, kViewAll, selection);
  const Log& log = window.clipping.log;
  const auto blank = std::find(log.begin(), log.end(), "rect " + rect);
  const auto clip = std::find(log.begin(), log.end(), "clip " + rect);
  ASSERT_NE(blank, log.end());
  ASSERT_NE(clip, log.end());
  // Blanked, then clipped before any section is drawn, unclipped as the last call
  // (after the start/finish marker), and clipped once only.
  EXPECT_LT(blank, clip);
  EXPECT_EQ(std::find_if(log.begin(), clip, [](const std::string& l) { return l.rfind("polygon", 0) == 0; }), clip);
  EXPECT_NE(std::find(clip, log.end(), "width 5"), log.end());
  EXPECT_EQ(log.back(), "unclip");
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("clip", 0) == 0; }), 1);
  EXPECT_TRUE(window.clipping.InRestState());

  // Nothing highlighted: nothing drawn, nothing clipped.
  window.clipping.Clear();
  selection = TObjectPath::Track();
  TTrackPainter(*track).EraseSelection(view, kViewAll, selection);
  EXPECT_TRUE(window.clipping.log.empty());
}

}  // namespace
}  // namespace meridal
