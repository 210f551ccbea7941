// The demo's timeline with the pause menu and on television, run end to end against the virtual
// clock with synthesized key presses, through the same recorder that makes the videos.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "record_demo.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"

namespace {

constexpr uint32_t kPeriodMs = 20;

DemoRecording RecordWithKeys(const std::vector<KeyPress>& keys, uint32_t startupMode = 0,
                              uint32_t framesPerSecond = 50) {
  RecorderOptions options;
  options.framesPerSecond = framesPerSecond;
  options.startupDisplayMode = startupMode;
  options.keys = keys;
  return RecordDemo(options);
}

class DemoTimeline : public ::testing::Test {
 protected:
  DemoTimeline() : dir_("cb_demo_timeline") {
    dir_.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x80));
    dir_.CopyFromHome("main.it");
  }
  ScratchDir dir_;
};

TEST_F(DemoTimeline, ExitFromTheMenuEndsAfterThatFrameWithoutAnotherPaint) {
  // Start opens the menu at item Play; Right goes to Exit; B chooses it once the change is over.
  const DemoRecording result = RecordWithKeys(
      {{5000, VKR_BUTTON_START, 100}, {5600, VKR_BUTTON_RIGHT, 100}, {6200, VKR_BUTTON_B, 100}});
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.report.exitChosen);
  // Nothing is painted once the menu is open, so the last paint is from just before 5 s.
  EXPECT_LT(result.report.lastPaintMs, 5000u);
  EXPECT_GT(result.report.lastPaintMs, 4000u);
  EXPECT_EQ(result.report.paints, result.report.lastPaintMs / kPeriodMs + 1);
  // The loop ended within a few frames of B going down, not at the end of the part.
  EXPECT_LT(result.framesComposed * kPeriodMs, 6500u);
  EXPECT_FALSE(VKR_WinIsStarted());
}

TEST_F(DemoTimeline, APauseDoesNotAdvanceTheDemoClock) {
  // Open the menu at 5 s, stay three seconds, choose Play (item 0) with B.
  const DemoRecording result =
      RecordWithKeys({{5000, VKR_BUTTON_START, 100}, {8000, VKR_BUTTON_B, 100}});
  EXPECT_EQ(result.status, 0);
  EXPECT_FALSE(result.report.exitChosen);
  // Every demo time 0, 20, ..., 117280 was painted exactly once: the clock neither jumped over
  // the pause nor ran on during it.
  EXPECT_EQ(result.report.paints, 5865u);
  EXPECT_EQ(result.report.lastPaintMs, 117280u);
  // The run took the pause longer than one without it.
  EXPECT_GE(result.report.frames, 5866u + 2900 / kPeriodMs);
}

TEST_F(DemoTimeline, VolumeButtonsDoNotDisturbTheTimeline) {
  const DemoRecording result = RecordWithKeys({{2000, VKR_BUTTON_VOLUME_UP, 60},
                                                {2400, VKR_BUTTON_VOLUME_DOWN, 60},
                                                {3000, VKR_BUTTON_VOLUME_DOWN | VKR_BUTTON_VOLUME_UP, 60}},
                                               0, 5);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.report.paints, 587u);
}

// Where a television picture shows the sprites: a pack whose sprites are solid white over a black
// picture makes every white pixel of a composed frame a sprite pixel.
struct WhiteSpan {
  std::filesystem::path firstFrameFile;
  int width = 0, height = 0;
  int firstLine = 1 << 30, lastLine = -1, firstColumn = 1 << 30, lastColumn = -1;
};

void NoteWhitePixels(uint32_t frame, const char*, void* context) {
  if (frame != 40) return;  // 8 s in at 5 frames a second: the band is fully faded in
  WhiteSpan& span = *static_cast<WhiteSpan*>(context);
  span.width = VKR_WinOutputWidth();
  span.height = VKR_WinOutputHeight();
  for (int y = 0; y < span.height; ++y) {
    for (int x = 0; x < span.width; ++x) {
      const uint8_t* pixel = &g_ucFrameSurface[(static_cast<size_t>(y) * span.width + x) * 3];
      if (pixel[0] < 200 || pixel[1] < 200 || pixel[2] < 200) continue;
      span.firstLine = std::min(span.firstLine, y);
      span.lastLine = std::max(span.lastLine, y);
      span.firstColumn = std::min(span.firstColumn, x);
      span.lastColumn = std::max(span.lastColumn, x);
    }
  }
}

std::vector<uint8_t> WhiteSpritesOnBlack() {
  std::vector<uint8_t> pack(kResourcePackBytes);
  for (size_t i = 0; i < 691200; i += 2) {  // Y 16, chroma 128: black
    pack[i] = 16;
    pack[i + 1] = 128;
  }
  std::fill(pack.begin() + 691200, pack.end(), 0xFF);  // every sprite pixel 0xFFFF
  return pack;
}

WhiteSpan RecordTelevision(uint32_t startupMode, const std::filesystem::path& framePrefix) {
  WhiteSpan span;
  RecorderOptions options;
  options.framesPerSecond = 5;
  options.startupDisplayMode = startupMode;
  options.onFrame = NoteWhitePixels;
  options.onFrameContext = &span;
  options.keys = {{9000, VKR_BUTTON_START, 100}, {9600, VKR_BUTTON_RIGHT, 100},
                  {10400, VKR_BUTTON_B, 100}};  // leave by Exit to keep the run short
  options.framePrefix = framePrefix.string();
  const DemoRecording result = RecordDemo(options);
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.report.exitChosen);
  char number[16];
  std::snprintf(number, sizeof number, "_%.6d.bmp", result.firstFrameNumber);
  span.firstFrameFile = framePrefix.string() + number;
  return span;
}

TEST(DemoTelevision, NtscFramesShowTheSpritesInsideTheBand) {
  ScratchDir dir("cb_demo_ntsc");
  dir.Write("resource.dat", WhiteSpritesOnBlack());
  const WhiteSpan span = RecordTelevision(5, dir.path() / "ntsc");
  EXPECT_EQ(span.width, 720);
  EXPECT_EQ(span.height, 480);
  ASSERT_GE(span.lastLine, 0) << "no sprite pixel in the frame";
  // The band covers field lines 40 to 198: output lines 80 to 397.
  EXPECT_GE(span.firstLine, 80);
  EXPECT_LE(span.lastLine, 397);
  EXPECT_LE(span.lastColumn, 719);
  EXPECT_EQ(std::filesystem::file_size(span.firstFrameFile), 720u * 480 * 3 + 54);
}

TEST(DemoTelevision, PalFramesShowTheSpritesInsideTheBand) {
  ScratchDir dir("cb_demo_pal");
  dir.Write("resource.dat", WhiteSpritesOnBlack());
  const WhiteSpan span = RecordTelevision(19, dir.path() / "pal");
  EXPECT_EQ(span.width, 720);
  EXPECT_EQ(span.height, 576);
  ASSERT_GE(span.lastLine, 0) << "no sprite pixel in the frame";
  // Field lines 65 to 223: output lines 130 to 447.
  EXPECT_GE(span.firstLine, 130);
  EXPECT_LE(span.lastLine, 447);
  EXPECT_EQ(std::filesystem::file_size(span.firstFrameFile), 720u * 576 * 3 + 54);
}

}  // namespace
