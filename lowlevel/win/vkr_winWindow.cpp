// vkr_winWindow.cpp: the window around a composed frame: opened at the largest whole multiple of
// the output size that fits the screen, the frame scaled into it nearest-neighbour; full screen
// letterboxed at a whole scale; screenshots of the frame at the output's own size as numbered PNG
// files. It knows only the frame it is handed, not who composed it.
#include "vkr_winWindow.h"

#include <SDL.h>
#include <spng.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

SDL_Surface* g_Screen = nullptr;

// Window state; main thread only. The screen size is read once, before the first window opens
// (afterwards SDL 1.2 may report the window's own size). The frame last shown belongs to the
// caller of VKR_WinShowFrame.
static int nDesktopWidth = 0, nDesktopHeight = 0;
static bool bDesktopKnown = false;
static bool bFullScreen = false;
static int nOutputWidth = 0, nOutputHeight = 0;
static int nWindowScale = 1;
static int nFrameLeft = 0, nFrameTop = 0;  // where the scaled frame starts in the surface
static const uint8_t* pShownFrame = nullptr;

int VKR_WinScaleToFit(int width, int height, int screenWidth, int screenHeight, bool fullScreen) {
  if (width <= 0 || height <= 0 || screenWidth <= 0 || screenHeight <= 0) return 1;
  const int roomX = fullScreen ? screenWidth : screenWidth * 9 / 10;
  const int roomY = fullScreen ? screenHeight : screenHeight * 9 / 10;
  const int scale = std::min(roomX / width, roomY / height);
  return scale >= 1 ? scale : 1;
}

SDL_Surface* VKR_WinOpenWindow(int width, int height) {
  if (!bDesktopKnown) {
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    nDesktopWidth = info ? info->current_w : 0;
    nDesktopHeight = info ? info->current_h : 0;
    bDesktopKnown = true;
  }
  if (width != nOutputWidth || height != nOutputHeight) pShownFrame = nullptr;
  nOutputWidth = width;
  nOutputHeight = height;
  nWindowScale = VKR_WinScaleToFit(width, height, nDesktopWidth, nDesktopHeight, bFullScreen);
  int surfaceWidth = width * nWindowScale, surfaceHeight = height * nWindowScale;
  Uint32 flags = SDL_SWSURFACE;
  // Full screen takes the whole screen and centres the frame in black; a screen smaller than the
  // output gets the output's own size, which the system scales down.
  if (bFullScreen) {
    flags |= SDL_FULLSCREEN;
    surfaceWidth = std::max(surfaceWidth, nDesktopWidth);
    surfaceHeight = std::max(surfaceHeight, nDesktopHeight);
  }
  g_Screen = SDL_SetVideoMode(surfaceWidth, surfaceHeight, 24, flags);
  if (!g_Screen) return nullptr;
  nFrameLeft = (g_Screen->w - width * nWindowScale) / 2;
  nFrameTop = (g_Screen->h - height * nWindowScale) / 2;
  if (nFrameLeft < 0 || nFrameTop < 0) {
    nWindowScale = 1;
    nFrameLeft = std::max(0, (g_Screen->w - width) / 2);
    nFrameTop = std::max(0, (g_Screen->h - height) / 2);
  }
  SDL_FillRect(g_Screen, nullptr, SDL_MapRGB(g_Screen->format, 0, 0, 0));
  return g_Screen;
}

void VKR_WinCloseWindow() {
  g_Screen = nullptr;
  bDesktopKnown = false;
  bFullScreen = false;
  nOutputWidth = nOutputHeight = 0;
  nWindowScale = 1;
  pShownFrame = nullptr;
}

int VKR_WinWindowOutputWidth() { return nOutputWidth; }
int VKR_WinWindowOutputHeight() { return nOutputHeight; }
int VKR_WinWindowScale() { return nWindowScale; }
bool VKR_WinIsFullScreen() { return bFullScreen; }

// One output row in the surface's pixel format, each pixel repeated scale times.
static void ScaleRow(const uint8_t* bgr, int width, int scale, const SDL_PixelFormat* format,
                     uint8_t* out) {
  const int bytes = format->BytesPerPixel;
  if (bytes == 3 && format->Bmask == 0x0000FF && format->Rmask == 0xFF0000) {
    for (int x = 0; x < width; ++x, bgr += 3)
      for (int copy = 0; copy < scale; ++copy, out += 3) std::memcpy(out, bgr, 3);
    return;
  }
  // The window came in another format: map each pixel.
  for (int x = 0; x < width; ++x, bgr += 3) {
    const uint32_t pixel = SDL_MapRGB(format, bgr[2], bgr[1], bgr[0]);
    for (int copy = 0; copy < scale; ++copy, out += bytes) std::memcpy(out, &pixel, bytes);
  }
}

void VKR_WinShowFrame(const uint8_t* bgr, int width, int height) {
  if (!g_Screen || !bgr || width != nOutputWidth || height != nOutputHeight) return;
  pShownFrame = bgr;
  const int scale = nWindowScale;
  if (nFrameLeft + width * scale > g_Screen->w || nFrameTop + height * scale > g_Screen->h) return;
  if (SDL_MUSTLOCK(g_Screen) && SDL_LockSurface(g_Screen) != 0) return;
  const size_t rowBytes = static_cast<size_t>(width) * scale * g_Screen->format->BytesPerPixel;
  uint8_t* row = static_cast<uint8_t*>(g_Screen->pixels) +
                 static_cast<size_t>(nFrameTop) * g_Screen->pitch +
                 static_cast<size_t>(nFrameLeft) * g_Screen->format->BytesPerPixel;
  for (int y = 0; y < height; ++y) {
    ScaleRow(bgr + static_cast<size_t>(y) * width * 3, width, scale, g_Screen->format, row);
    for (int copy = 1; copy < scale; ++copy) std::memcpy(row + copy * g_Screen->pitch, row, rowBytes);
    row += static_cast<size_t>(scale) * g_Screen->pitch;
  }
  if (SDL_MUSTLOCK(g_Screen)) SDL_UnlockSurface(g_Screen);
  SDL_UpdateRect(g_Screen, nFrameLeft, nFrameTop, width * scale, height * scale);
}

bool VKR_WinFramePointOfWindow(int windowX, int windowY, int* frameX, int* frameY) {
  if (!g_Screen || windowX < nFrameLeft || windowY < nFrameTop) return false;
  const int x = (windowX - nFrameLeft) / nWindowScale, y = (windowY - nFrameTop) / nWindowScale;
  if (x >= nOutputWidth || y >= nOutputHeight) return false;
  if (frameX) *frameX = x;
  if (frameY) *frameY = y;
  return true;
}

// The window is made anew for each switch: a window that already exists keeps its place on the
// screen where no window manager moves it into full screen.
static SDL_Surface* ReopenWindow() {
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  const std::string savedTitle = title ? title : "", savedIcon = icon ? icon : "";
  const int cursor = SDL_ShowCursor(SDL_QUERY);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  g_Screen = nullptr;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  if (!VKR_WinOpenWindow(nOutputWidth, nOutputHeight)) return nullptr;
  SDL_WM_SetCaption(savedTitle.c_str(), savedIcon.c_str());
  SDL_ShowCursor(cursor);
  return g_Screen;
}

bool VKR_WinToggleFullScreen() {
  if (!g_Screen) return false;
  bFullScreen = !bFullScreen;
  if (!ReopenWindow()) {
    std::fprintf(stderr, "Cannot switch to %s: %s\n", bFullScreen ? "full screen" : "a window",
                 SDL_GetError());
    bFullScreen = !bFullScreen;
    if (!ReopenWindow()) return false;
  }
  SDL_UpdateRect(g_Screen, 0, 0, 0, 0);
  VKR_WinShowFrame(pShownFrame, nOutputWidth, nOutputHeight);
  return true;
}

namespace {


struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct EncoderFree {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// Encodes width x height RGB pixels into the open file; 0 or a libspng error.
int EncodePNG(std::FILE* file, const uint8_t* rgb, uint32_t width, uint32_t height) {
  std::unique_ptr<spng_ctx, EncoderFree> encoder(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!encoder) return SPNG_EMEM;
  if (const int error = spng_set_png_file(encoder.get(), file)) return error;
  spng_ihdr header{};
  header.width = width;
  header.height = height;
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  if (const int error = spng_set_ihdr(encoder.get(), &header)) return error;
  return spng_encode_image(encoder.get(), rgb, size_t{width} * height * 3, SPNG_FMT_PNG,
                           SPNG_ENCODE_FINALIZE);
}

}  // namespace

bool VKR_WinSaveScreenshot(char* name, int nameSize) {
  if (name && nameSize > 0) name[0] = '\0';
  if (!pShownFrame) return false;
  char file[32] = "";
  std::error_code error;
  for (int number = 1; number <= 9999 && !file[0]; ++number) {
    std::snprintf(file, sizeof file, "screenshot_%04d.png", number);
    if (std::filesystem::exists(file, error) || error) file[0] = '\0';
  }
  if (!file[0]) {
    std::fprintf(stderr, "Screenshot not saved: screenshot_0001.png to 9999 are all taken\n");
    return false;
  }
  // The frame in red, green, blue order for the encoder; made only when a screenshot is taken.
  const uint32_t width = static_cast<uint32_t>(nOutputWidth);
  const uint32_t height = static_cast<uint32_t>(nOutputHeight);
  std::vector<uint8_t> rgb(size_t{width} * height * 3);
  for (size_t i = 0; i < size_t{width} * height; ++i) {
    rgb[3 * i] = pShownFrame[3 * i + 2];
    rgb[3 * i + 1] = pShownFrame[3 * i + 1];
    rgb[3 * i + 2] = pShownFrame[3 * i];
  }
  const std::string path = std::filesystem::absolute(file, error).string();
  std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file, "wb"));
  if (!out) {
    std::fprintf(stderr, "Screenshot not saved: cannot create %s: %s\n", path.c_str(),
                 std::strerror(errno));
    return false;
  }
  const int encoded = EncodePNG(out.get(), rgb.data(), width, height);
  const bool closed = std::fclose(out.release()) == 0;
  if (encoded != 0 || !closed) {
    std::fprintf(stderr, "Screenshot not saved: writing %s failed: %s\n", path.c_str(),
                 encoded ? spng_strerror(encoded) : std::strerror(errno));
    std::remove(file);
    return false;
  }
  std::printf("Screenshot saved to %s\n", path.c_str());
  std::fflush(stdout);
  if (name && nameSize > 0) std::snprintf(name, static_cast<size_t>(nameSize), "%s", path.c_str());
  return true;
}

bool VKR_WinHandleWindowKey(int key) {
  if (key == kVKR_WinFullScreenKey) {
    VKR_WinToggleFullScreen();
    return true;
  }
  if (key == kVKR_WinScreenshotKey || key == kVKR_WinScreenshotKey2) {
    VKR_WinSaveScreenshot(nullptr, 0);
    return true;
  }
  return false;
}
