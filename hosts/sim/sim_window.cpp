// sim_window.cpp: the console's screen in a window on the PC (real-time mode): presented at every
// frame begun, scaled up; the desktop program's keys hold the button lines, the other mapped keys
// arrive on event device 0, the mouse is the touch screen. Closing the window ends the program.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "sim_state.h"
#include "sim_window.h"
#include "vkr_winKeyMaps.h"

namespace {

// The window; null while closed. Main thread only.
SDL_Surface* g_pSimScreen = nullptr;
int g_nSimScale = 1;
uint32_t g_ulSimButtonsHeld = 0;
bool g_bSimTouching = false;

constexpr uint16_t kTouchPressure = 1000;

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

void Touch(int x, int y, bool pressed) {
  SimQueueTouch(pressed ? kTouchPressure : 0, static_cast<uint16_t>(x / g_nSimScale),
                static_cast<uint16_t>(y / g_nSimScale));
}

void TakeEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        if (const uint32_t button = ButtonOfKey(event.key.keysym.sym)) {
          g_ulSimButtonsHeld = down ? g_ulSimButtonsHeld | button : g_ulSimButtonsHeld & ~button;
          SimGpio_SetButtons(g_ulSimButtonsHeld);
        } else if (const uint16_t code = LinuxCodeOfKey(event.key.keysym.sym)) {
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
  const bool lcd = g_sim.config.tv == SimTV::Lcd;
  g_nSimScale = lcd ? 2 : 1;
  const int width = (lcd ? 320 : 720) * g_nSimScale;
  const int height = (lcd ? 240 : g_sim.config.tv == SimTV::Ntsc ? 480 : 576) * g_nSimScale;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  g_pSimScreen = SDL_SetVideoMode(width, height, 32, SDL_SWSURFACE);
  if (!g_pSimScreen) return false;
  SDL_WM_SetCaption(title, title);
  SimTiming_SetPresenter(SimWindow_Frame);
  return true;
}

void SimWindow_Frame() {
  if (!g_pSimScreen) return;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {  // the program has shut SDL down
    g_pSimScreen = nullptr;
    return;
  }
  TakeEvents();
  int width = 0, height = 0;
  const uint8_t* frame = SimComposeFrame(&width, &height);
  SDL_FillRect(g_pSimScreen, nullptr, 0);
  if (SDL_LockSurface(g_pSimScreen) == 0) {
    // A frame of another output than the window's shows in its top-left corner.
    const int rows = std::min(height, g_pSimScreen->h / g_nSimScale);
    const int columns = std::min(width, g_pSimScreen->w / g_nSimScale);
    const SDL_PixelFormat& format = *g_pSimScreen->format;
    for (int y = 0; y < rows * g_nSimScale; ++y) {
      const uint8_t* in = frame + size_t(y / g_nSimScale) * width * 3;
      auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(g_pSimScreen->pixels) +
                                              size_t(y) * g_pSimScreen->pitch);
      for (int x = 0; x < columns * g_nSimScale; ++x) {
        const uint8_t* p = in + (x / g_nSimScale) * 3;
        out[x] = SDL_MapRGB(&format, p[2], p[1], p[0]);
      }
    }
    SDL_UnlockSurface(g_pSimScreen);
  }
  SDL_Flip(g_pSimScreen);
}
