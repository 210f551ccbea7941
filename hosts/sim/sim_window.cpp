// sim_window.cpp: the console's screen in a window on the PC (real-time mode), in the desktop
// program's window (whole-number scale, full screen, screenshots): presented at every frame begun,
// on a television with the captions its decoder shows (key C hides and shows them); the desktop
// program's keys hold the button lines, the other mapped keys arrive on event device 0 (the window
// keys too, as the desktop's keyboard mode reports them), the mouse is the touch screen. Closing
// the window ends the program.
#include <SDL.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "disp_model.h"
#include "sim_captionOverlay.h"
#include "sim_state.h"
#include "sim_window.h"
#include "vkr_winKeyMaps.h"
#include "vkr_winWindow.h"

namespace {

// The window's input state and the frame it shows (the composed frame with the captions drawn
// over it); main thread only.
uint32_t g_ulSimButtonsHeld = 0;
bool g_bSimTouching = false;
uint16_t g_usSimTouchX = 0, g_usSimTouchY = 0;
bool g_bSimCaptionsShown = true;
std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS * 3> g_ucSimWindowFrame;

// When the last frame shown had been presented, and how long that took, on the host's clock.
uint64_t g_ulSimPresentEndNs = 0, g_ulSimPresentCostNs = 0;

constexpr uint16_t kTouchPressure = 1000;

uint64_t HostNowNs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return uint64_t(now.tv_sec) * 1000000000 + uint64_t(now.tv_nsec);
}

// In real time a frame comes due whenever the console's time crosses a frame boundary, and the
// console's time is the host's: a window slower than the frame period would be asked again at the
// program's very next register access, and the program would get one access a frame. So a frame
// is shown only when the program has had at least as long as the last one took to show (and half
// a frame period), as a slow display drops frames: the window takes at most half the host.
bool HostHasTimeToShow() {
  if (!g_sim.config.realTime) return true;
  const uint64_t halfPeriodNs = uint64_t{g_sim.config.framePeriodMs} * 500000;
  return HostNowNs() - g_ulSimPresentEndNs >= std::max(g_ulSimPresentCostNs, halfPeriodNs);
}
constexpr SDLKey kCaptionKey = SDLK_c;

uint32_t ButtonOfKey(SDLKey key) {
  for (const ButtonKey& entry : kButtonKeys)
    if (entry.key == key) return entry.mask;
  return 0;
}

uint16_t LinuxCodeOfKey(SDLKey key) {
  for (const LinuxKey& entry : kLinuxKeys)
    if (entry.key == key) return entry.code;
  return 0;
}

// A press or a move inside the picture touches it there; a release anywhere ends the touch where
// it last was.
void Touch(int windowX, int windowY, bool pressed) {
  int x = 0, y = 0;
  if (VKR_WinFramePointOfWindow(windowX, windowY, &x, &y)) {
    g_usSimTouchX = static_cast<uint16_t>(x);
    g_usSimTouchY = static_cast<uint16_t>(y);
  } else if (pressed) {
    return;
  }
  SimQueueTouch(pressed ? kTouchPressure : 0, g_usSimTouchX, g_usSimTouchY);
}

void TakeEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        const SDLKey key = event.key.keysym.sym;
        if (down && !VKR_WinHandleWindowKey(key) && key == kCaptionKey)
          g_bSimCaptionsShown = !g_bSimCaptionsShown;
        if (const uint32_t button = ButtonOfKey(key)) {
          g_ulSimButtonsHeld = down ? g_ulSimButtonsHeld | button : g_ulSimButtonsHeld & ~button;
          SimGpio_SetButtons(g_ulSimButtonsHeld);
        } else if (const uint16_t code = LinuxCodeOfKey(key)) {
          SimQueueInputEvent(0, 1, code, down ? 1 : 0);
        }
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        g_bSimTouching = true;
        Touch(event.button.x, event.button.y, true);
        break;
      case SDL_MOUSEMOTION:
        if (g_bSimTouching) Touch(event.motion.x, event.motion.y, true);
        break;
      case SDL_MOUSEBUTTONUP:
        g_bSimTouching = false;
        Touch(event.button.x, event.button.y, false);
        break;
      case SDL_QUIT:
        std::fprintf(stderr, "copperbramble-sim: window closed\n");
        std::exit(0);
    }
  }
}

}  // namespace

// After power-on: the window takes the console's output and sets its presenter in it.
bool SimWindow_Open(const char* title) {
  const SimTV tv = g_sim.config.tv;
  const int width = tv == SimTV::Lcd ? 320 : 720;
  const int height = tv == SimTV::Lcd ? 240 : tv == SimTV::Ntsc ? 480 : 576;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (!VKR_WinOpenWindow(width, height)) return false;
  SDL_WM_SetCaption(title, title);
  g_bSimCaptionsShown = true;
  g_ulSimPresentEndNs = g_ulSimPresentCostNs = 0;
  SimCaptionOverlay_Reset();
  SimTiming_SetPresenter(SimWindow_Frame);
  return true;
}

bool SimWindow_CaptionsShown() { return g_bSimCaptionsShown; }

void SimWindow_Frame() {
  if (!g_Screen) return;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {  // the program has shut SDL down
    VKR_WinCloseWindow();
    return;
  }
  TakeEvents();
  if (!g_Screen) return;  // full screen could not be switched and the window is gone
  // The decoder follows the captions whether they are shown or not, as a television's does. The
  // console's time is read as it stands: asking the real-time clock would move it on and begin
  // the next frame inside this one.
  const uint64_t nowNs = g_sim.clock.nowNs;
  SimCaptionOverlay_Follow(nowNs);
  if (!HostHasTimeToShow()) return;
  const uint64_t startNs = HostNowNs();
  int width = 0, height = 0;
  const uint8_t* frame = SimComposeFrame(&width, &height);
  const size_t bytes = size_t(width) * height * 3;
  if (bytes > g_ucSimWindowFrame.size()) return;
  std::memcpy(g_ucSimWindowFrame.data(), frame, bytes);
  if (g_bSimCaptionsShown) SimCaptionOverlay_Draw(g_ucSimWindowFrame.data(), width, height, nowNs);
  // The program may switch the output (the LCD to a television): the window follows it.
  if (width != VKR_WinWindowOutputWidth() || height != VKR_WinWindowOutputHeight()) {
    if (!VKR_WinOpenWindow(width, height)) return;
  }
  VKR_WinShowFrame(g_ucSimWindowFrame.data(), width, height);
  g_ulSimPresentEndNs = HostNowNs();
  g_ulSimPresentCostNs = g_ulSimPresentEndNs - startNs;
}
