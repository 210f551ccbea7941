// recorder.cpp: one recording: the virtual clock stepped in the frame hook, timed keys turned into
// window key events, each frame saved with the library's bitmap capture and one frame period of
// music mixed after it.
#include "recorder.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "progress_bar.h"
#include "vkr_lowLevel.h"
#include "vkr_winHost.h"
#include "wav_music_driver.h"

extern int g_nDiskWriteFrameID;

namespace {

constexpr uint32_t kSampleRate = 22050;
constexpr uint32_t kDemoLengthMs = 117300;

struct KeyEvent {
  uint32_t atMs;
  int key;
  bool down;
};

// State of the one recording in progress; the frame hook reads and advances it.
struct Recording {
  const RecorderOptions* options = nullptr;
  uint32_t periodMs = 20;
  uint32_t nowMs = 0;
  std::vector<KeyEvent> events;
  size_t nextEvent = 0;
  uint64_t framesDone = 0;
  uint64_t samplesDone = 0;
  bool writeFailed = false;
  std::chrono::steady_clock::time_point started;
  uint64_t expectedFrames = 0;
  size_t nextStill = 0;
  std::vector<std::string>* stillFiles = nullptr;
};

Recording recording;

std::vector<KeyEvent> KeyEventsOf(const std::vector<KeyPress>& presses) {
  std::vector<KeyEvent> events;
  for (const KeyPress& press : presses) {
    for (uint32_t bit = 1; bit <= press.button; bit <<= 1) {
      if (!(press.button & bit)) continue;
      const int key = VKR_WinKeyOfButton(bit);
      events.push_back({press.atMs, key, true});
      events.push_back({press.atMs + press.holdMs, key, false});
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const KeyEvent& a, const KeyEvent& b) { return a.atMs < b.atMs; });
  return events;
}

void PushDueKeyEvents() {
  while (recording.nextEvent < recording.events.size() &&
         recording.events[recording.nextEvent].atMs <= recording.nowMs) {
    const KeyEvent& due = recording.events[recording.nextEvent++];
    SDL_Event event{};
    event.type = due.down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = due.down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(due.key);
    SDL_PushEvent(&event);
  }
}

// Every frame, or with stills only the first frame at or after each still's time.
bool FrameIsWanted() {
  const RecorderOptions& options = *recording.options;
  if (options.framePrefix.empty()) return false;
  if (options.stillsMs.empty()) return true;
  bool wanted = false;
  while (recording.nextStill < options.stillsMs.size() &&
         options.stillsMs[recording.nextStill] <= recording.nowMs) {
    ++recording.nextStill;
    wanted = true;
  }
  return wanted;
}

void OnFrameComposed(void*) {
  const RecorderOptions& options = *recording.options;
  char bitmapFile[4096];
  bool saved = false;
  if (FrameIsWanted()) {
    std::snprintf(bitmapFile, sizeof bitmapFile, "%s_%.6d.bmp", options.framePrefix.c_str(),
                  g_nDiskWriteFrameID);
    saved = VKR_LowLevelAPI_SaveBMP(options.framePrefix.c_str()) != 0;
    recording.writeFailed |= !saved;
    if (saved && !options.stillsMs.empty()) recording.stillFiles->push_back(bitmapFile);
  }
  if (options.onFrame)
    options.onFrame(static_cast<uint32_t>(recording.framesDone), saved ? bitmapFile : nullptr,
                    options.onFrameContext);
  ++recording.framesDone;
  const uint64_t samplesDue = recording.framesDone * kSampleRate / options.framesPerSecond;
  VKR_Rec_MixFrames(static_cast<uint32_t>(samplesDue - recording.samplesDone));
  recording.samplesDone = samplesDue;

  recording.nowMs += recording.periodMs;
  VKR_WinAdvanceVirtualClock(recording.periodMs);
  PushDueKeyEvents();
  if (options.showProgress)
    ShowProgress(recording.framesDone, std::max(recording.expectedFrames, recording.framesDone),
                 recording.started);
  if (recording.nowMs > options.limitMs) {
    std::fprintf(stderr, "\nrecording stopped at %u ms: the demo was still running (paused?)\n",
                 recording.nowMs);
    VKR_Rec_CloseWav();
    std::exit(1);
  }
}

}  // namespace

uint32_t FramePeriodMs(uint32_t framesPerSecond) {
  return std::max<uint32_t>(1, 1000 / std::max<uint32_t>(1, framesPerSecond));
}

RecorderResult RecordDemo(const RecorderOptions& options) {
  RecorderResult result;
  recording = Recording{};
  recording.options = &options;
  recording.periodMs = FramePeriodMs(options.framesPerSecond);
  recording.events = KeyEventsOf(options.keys);
  recording.started = std::chrono::steady_clock::now();
  recording.expectedFrames = kDemoLengthMs / recording.periodMs + 8;
  recording.stillFiles = &result.stillFiles;
  result.firstFrameNumber = g_nDiskWriteFrameID;

  if (!VKR_Rec_OpenWav(options.wavPath, kSampleRate)) {
    std::fprintf(stderr, "cannot write %s\n", options.wavPath.c_str());
    result.status = 1;
    return result;
  }
  // A recording never shows a window.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  VKR_WinUseVirtualClock(0);
  VKR_WinSetStartupDisplayMode(options.startupDisplayMode);
  VKR_WinSetFrameHook(OnFrameComposed, nullptr);
  VKR_Rec_SetSoundSink(options.soundSink);

  DemoHost host;
  host.registerMusicDrivers = VKR_Rec_RegisterMusicDriver;
  host.report = &result.report;
  result.status = VKR_Demo_Run(host);

  VKR_WinSetFrameHook(nullptr, nullptr);
  VKR_Rec_SetSoundSink(nullptr);
  VKR_WinSetStartupDisplayMode(0);
  VKR_WinUseSystemClock();
  result.sampleFrames = VKR_Rec_CloseWav();
  result.framesComposed = static_cast<uint32_t>(recording.framesDone);
  result.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - recording.started).count();
  if (options.showProgress) FinishProgress();
  if (recording.writeFailed) {
    std::fprintf(stderr, "some frames could not be written to %s_*.bmp\n",
                 options.framePrefix.c_str());
    if (result.status == 0) result.status = 1;
  }
  return result;
}
