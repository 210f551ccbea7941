// sim_recorder.cpp: the simulated console as a recording host. Its display's frames drive the
// recording: each frame begun is composed and handed over (with the television's captions drawn
// over it when they are burnt in); the console's own clock moves on by itself, the buttons are the
// port lines, the bitmaps are the pictures handed over.
#include "sim_recorder.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "bitmap_file.h"
#include "demo_main.h"
#include "disp_model.h"
#include "sim_captionOverlay.h"
#include "wav_music_driver.h"

namespace {

// The configuration to power on with, and the recording's own state; main thread only.
SimConfig g_simRecordConfig;
uint32_t g_ulSimButtonsHeld = 0;
int g_nSimBitmapNumber = 0;
struct {
  const uint8_t* pixels = nullptr;
  int width = 0, height = 0;
} g_simLastFrame;
bool g_bSimBurnCaptions = false;
std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS * 3> g_ucSimCaptionedFrame;

const char* SaveSimBitmap(const char* prefix) {
  static char bitmapFile[4096];
  std::snprintf(bitmapFile, sizeof bitmapFile, "%s_%.6d.bmp", prefix, g_nSimBitmapNumber++);
  const size_t pitch = size_t(g_simLastFrame.width) * 3;
  return WriteBitmapFile(bitmapFile, g_simLastFrame.pixels, g_simLastFrame.width,
                         g_simLastFrame.height, pitch)
             ? bitmapFile
             : nullptr;
}

void SetSimButton(uint32_t button, bool down) {
  g_ulSimButtonsHeld = down ? g_ulSimButtonsHeld | button : g_ulSimButtonsHeld & ~button;
  SimSetButtons(g_ulSimButtonsHeld);
}

// The console's clock runs on by itself: a frame period after this frame the next one begins.
void LeaveClockAlone(uint32_t) {}

// The composed frame, or a copy with the captions drawn over it when they are burnt in.
const uint8_t* FrameToRecord(int* width, int* height) {
  const uint8_t* frame = SimComposeFrame(width, height);
  if (!g_bSimBurnCaptions) return frame;
  SimCaptionOverlay_Follow(SimNowNs());
  const size_t bytes = size_t(*width) * *height * 3;
  if (!SimCaptionOverlay_Shows() || !SimCaptionOverlay_GridOf(*width, *height, nullptr) ||
      bytes > g_ucSimCaptionedFrame.size())
    return frame;
  std::memcpy(g_ucSimCaptionedFrame.data(), frame, bytes);
  SimCaptionOverlay_Draw(g_ucSimCaptionedFrame.data(), *width, *height, SimNowNs());
  return g_ucSimCaptionedFrame.data();
}

void OnFrameBegun(void*) {
  g_simLastFrame.pixels = FrameToRecord(&g_simLastFrame.width, &g_simLastFrame.height);
  RecordingFrame(g_simLastFrame.pixels, g_simLastFrame.width, g_simLastFrame.height,
                 size_t(g_simLastFrame.width) * 3);
}

}  // namespace

void SimRecorder_SetConfig(const SimConfig& config) { g_simRecordConfig = config; }
void SimRecorder_SetBurnCaptions(bool burn) { g_bSimBurnCaptions = burn; }

RecorderResult RecordOnSimulatedConsole(const RecorderOptions& options) {
  RecorderResult result;
  g_ulSimButtonsHeld = 0;
  result.firstFrameNumber = g_nSimBitmapNumber;
  const RecordingHost host{SaveSimBitmap, SetSimButton, LeaveClockAlone, &result.report};
  if (!RecordingBegin(options, host)) {
    result.status = 1;
    return result;
  }
  SimConfig config = g_simRecordConfig;
  config.realTime = false;
  config.framePeriodMs = FramePeriodMs(options.framesPerSecond);
  SimPowerOn(config);
  SimCaptionOverlay_Reset();
  SimSetFrameHook(OnFrameBegun, nullptr);

  DemoHost demoHost;
  demoHost.registerMusicDrivers = VKR_Rec_RegisterMusicDriver;
  demoHost.report = &result.report;
  result.status = VKR_Demo_Run(demoHost);

  SimSetFrameHook(nullptr, nullptr);
  RecordingEnd(&result);
  return result;
}
