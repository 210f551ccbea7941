// vkr_webWindow.cpp: the desktop back end's window on a web page: the page's canvas at the
// output's own size (the page scales it), the frame copied in at each present, and the wait for
// the browser's next animation frame. Full screen and screenshots belong to the browser there.
#include <SDL.h>
#include <emscripten.h>

#include <cstring>

#include "vkr_winState.h"
#include "vkr_winWindow.h"

SDL_Surface* g_Screen = nullptr;

namespace {

// Where each colour goes in a canvas pixel, from the surface's masks; main thread only.
int nRedShift = 0, nGreenShift = 8, nBlueShift = 16;
uint32_t ulOpaque = 0;
bool bPresenting = true;

int ShiftOf(uint32_t mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

}  // namespace

// Resolves at the page's next animation frame; a page in the background has none, so a timer
// ends the wait as well.
EM_ASYNC_JS(void, VKR_WebNextAnimationFrame, (), {
  await new Promise(function(resolve) {
    requestAnimationFrame(resolve);
    setTimeout(resolve, 100);
  });
});

SDL_Surface* VKR_WinOpenWindow(int width, int height) {
  g_Screen = SDL_SetVideoMode(width, height, 32, SDL_SWSURFACE);
  if (g_Screen && g_Screen->format->BytesPerPixel != 4) g_Screen = nullptr;
  if (!g_Screen) return nullptr;
  const SDL_PixelFormat* format = g_Screen->format;
  nRedShift = ShiftOf(format->Rmask);
  nGreenShift = ShiftOf(format->Gmask);
  nBlueShift = ShiftOf(format->Bmask);
  ulOpaque = format->Amask;
  return g_Screen;
}

void VKR_WinCloseWindow() { g_Screen = nullptr; }
int VKR_WinWindowScale() { return 1; }
bool VKR_WinIsFullScreen() { return false; }
bool VKR_WinToggleFullScreen() { return false; }
bool VKR_WinSaveScreenshot(char* name, int nameSize) {
  if (name && nameSize > 0) name[0] = '\0';
  return false;
}
bool VKR_WinHandleWindowKey(int) { return false; }

void VKR_WinSetPresenting(bool present) { bPresenting = present; }

void VKR_WinPresentFrame() {
  if (!g_Screen || !bPresenting) return;
  const int width = VKR_WinOutputWidth(), height = VKR_WinOutputHeight();
  if (width > g_Screen->w || height > g_Screen->h) return;
  if (SDL_MUSTLOCK(g_Screen) && SDL_LockSurface(g_Screen) != 0) return;
  const uint8_t* bgr = g_ucFrameSurface.data();
  for (int y = 0; y < height; ++y) {
    uint32_t* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(g_Screen->pixels) +
                                                static_cast<size_t>(y) * g_Screen->pitch);
    for (int x = 0; x < width; ++x, bgr += 3)
      out[x] = uint32_t{bgr[2]} << nRedShift | uint32_t{bgr[1]} << nGreenShift |
               uint32_t{bgr[0]} << nBlueShift | ulOpaque;
  }
  // The canvas takes the pixels when the screen is unlocked.
  if (SDL_MUSTLOCK(g_Screen)) SDL_UnlockSurface(g_Screen);
  SDL_UpdateRect(g_Screen, 0, 0, width, height);
}

void VKR_WinWaitForDisplayFrame() { VKR_WebNextAnimationFrame(); }
