// sim_recorder.cpp: the simulated console as a recording host for any program. Its display's
// frames drive the recording: each frame begun is composed and handed over (with the television's
// captions drawn over it when they are burnt in); the console's own clock moves on by itself, the
// buttons are the port lines, the bitmaps are the pictures handed over.
#include "sim_recorder.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "disp_bitmapFile.h"
#include "disp_model.h"
#include "sim_captionOverlay.h"
#include "vkr_lowLevel.h"

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
  return DISP_WriteBitmapFile(bitmapFile, g_simLastFrame.pixels, g_simLastFrame.width,
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

// The console powered on with the configuration kept, on the virtual clock at the recording's rate.
void PowerOnForRecording(const RecorderOptions& options) {
  SimConfig config = g_simRecordConfig;
  config.realTime = false;
  config.framePeriodMs = FramePeriodMs(options.framesPerSecond);
  SimPowerOn(config);
  SimCaptionOverlay_Reset();
  SimSetFrameHook(OnFrameBegun, nullptr);
}

}  // namespace

void SimRecorder_SetConfig(const SimConfig& config) { g_simRecordConfig = config; }
void SimRecorder_SetBurnCaptions(bool burn) { g_bSimBurnCaptions = burn; }

RecorderResult RecordOnSimulatedConsole(const RecorderOptions& options) {
  RecordingHost host{SaveSimBitmap, SetSimButton, LeaveClockAlone};
  host.nowMs = [] { return SimNowNs() / 1000000; };
  // The back end maps video memory last in its start-up: until then the display shows the
  // firmware's picture, not the program's.
  host.programShowing = [] {
    uint8_t* video = nullptr;
    return VKR_GetVideoBasePtr(&video) == VKR_OK;
  };
  host.setUp = PowerOnForRecording;
  host.tearDown = [] { SimSetFrameHook(nullptr, nullptr); };
  g_ulSimButtonsHeld = 0;
  return RecordProgram(options, host, g_nSimBitmapNumber);
}
