// window_test.cpp: the desktop window around the frame: its whole-number scale for a screen, the
// frame scaled nearest-neighbour into it, full screen letterboxed and back, and screenshots as
// numbered PNG files equal to the frame the library captures. The headless video driver reports
// a 1024 x 768 screen.
#include <SDL.h>
#include <gtest/gtest.h>
#include <spng.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "captured_output.h"
#include "scratch_dir.h"
#include "vkr_lowLevel.h"
#include "vkr_winWindow.h"

namespace {

TEST(WindowScale, LargestWholeMultipleThatFits) {
  struct Case {
    int width, height, screenWidth, screenHeight;
    bool fullScreen;
    int scale;
  };
  const Case cases[] = {
      {320, 240, 1920, 1080, false, 4}, {320, 240, 1920, 1080, true, 4},
      {720, 480, 1920, 1080, false, 2}, {720, 576, 1920, 1080, false, 1},
      {720, 576, 1920, 1080, true, 1},  {320, 240, 1024, 768, false, 2},
      {320, 240, 1024, 768, true, 3},   {320, 240, 3840, 2160, false, 8},
      {320, 240, 1280, 720, false, 2},  {320, 240, 355, 266, false, 1},
      {720, 576, 640, 480, true, 1},    {320, 240, 0, 0, false, 1},
      {320, 240, 1300, 1080, false, 3}, {320, 240, 1300, 1080, true, 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VKR_WinScaleToFit(c.width, c.height, c.screenWidth, c.screenHeight, c.fullScreen),
              c.scale)
        << c.width << "x" << c.height << " on " << c.screenWidth << "x" << c.screenHeight
        << (c.fullScreen ? " full screen" : "");
}

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // red, green, blue, rows top to bottom
};

// The library's own capture of the frame, a bottom-up 24-bit bitmap file.
Picture ReadBitmap(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  Picture picture;
  if (bytes.size() < 54) return picture;
  std::memcpy(&picture.width, &bytes[18], 4);
  std::memcpy(&picture.height, &bytes[22], 4);
  picture.rgb.resize(size_t{3} * picture.width * picture.height);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      for (int c = 0; c < 3; ++c)
        picture.rgb[3 * (y * picture.width + x) + c] =
            bytes[54 + 3 * ((picture.height - 1 - y) * picture.width + x) + 2 - c];
  return picture;
}

Picture ReadPNG(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  Picture picture;
  spng_ctx* decoder = spng_ctx_new(0);
  spng_ihdr header{};
  size_t size = 0;
  if (spng_set_png_buffer(decoder, bytes.data(), bytes.size()) == 0 &&
      spng_get_ihdr(decoder, &header) == 0 &&
      spng_decoded_image_size(decoder, SPNG_FMT_RGB8, &size) == 0) {
    picture.rgb.resize(size);
    if (spng_decode_image(decoder, picture.rgb.data(), size, SPNG_FMT_RGB8, 0) == 0) {
      picture.width = static_cast<int>(header.width);
      picture.height = static_cast<int>(header.height);
    }
  }
  spng_ctx_free(decoder);
  return picture;
}

// The window's pixel (x, y) as red, green, blue.
std::array<uint8_t, 3> WindowPixel(int x, int y) {
  SDL_Surface* window = SDL_GetVideoSurface();
  uint32_t value = 0;
  std::memcpy(&value,
              static_cast<uint8_t*>(window->pixels) + y * window->pitch + x * window->format->BytesPerPixel,
              window->format->BytesPerPixel);
  std::array<uint8_t, 3> rgb;
  SDL_GetRGB(value, window->format, &rgb[0], &rgb[1], &rgb[2]);
  return rgb;
}

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("window"), VKR_OK);
    // A picture with a different colour in every pixel of the RGB layer (RGB565 at 16 bits).
    uint8_t* base = nullptr;
    VKR_GetVideoBasePtr(&base);
    for (uint32_t i = 0; i < 720 * 576; ++i) {
      const uint16_t pixel = static_cast<uint16_t>(i * 2654435761u >> 16);
      std::memcpy(base + 2 * i, &pixel, 2);
    }
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  // The frame just composed, as the library's capture writes it.
  static Picture CapturedFrame() {
    EXPECT_EQ(VKR_LowLevelAPI_SaveBMP("window_frame"), 1u);
    for (const auto& entry : std::filesystem::directory_iterator("."))
      if (entry.path().filename().string().rfind("window_frame_", 0) == 0) {
        Picture picture = ReadBitmap(entry.path().string());
        std::filesystem::remove(entry.path());
        return picture;
      }
    return {};
  }

  // Every window pixel inside the frame's place shows frame pixel (x / scale, y / scale); every
  // pixel outside it is black.
  static void ExpectFrameInWindow(const Picture& frame, int scale, int left, int top) {
    SDL_Surface* window = SDL_GetVideoSurface();
    ASSERT_NE(window, nullptr);
    SDL_LockSurface(window);
    int wrong = 0;
    for (int y = 0; y < window->h; ++y)
      for (int x = 0; x < window->w; ++x) {
        const int fx = (x - left) / scale, fy = (y - top) / scale;
        const bool inside = x >= left && y >= top && fx < frame.width && fy < frame.height;
        std::array<uint8_t, 3> expected{0, 0, 0};
        if (inside) std::memcpy(expected.data(), &frame.rgb[3 * (fy * frame.width + fx)], 3);
        if (WindowPixel(x, y) != expected && ++wrong <= 3)
          ADD_FAILURE() << "window pixel " << x << ", " << y;
      }
    SDL_UnlockSurface(window);
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(Window, OpensAtTheLargestWholeMultipleAndScalesEveryPixel) {
  ScratchDir dir("cb_window_scale");
  ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_OK);
  const Picture frame = CapturedFrame();
  ASSERT_EQ(frame.width, 320);
  SDL_Surface* window = SDL_GetVideoSurface();
  EXPECT_EQ(VKR_WinWindowScale(), 2);
  EXPECT_EQ(window->w, 640);
  EXPECT_EQ(window->h, 480);
  EXPECT_FALSE(window->flags & SDL_FULLSCREEN);
  ExpectFrameInWindow(frame, 2, 0, 0);

  // Television outputs are too large to double on this screen.
  ASSERT_EQ(VKR_SetDisplayMode(6, 16), VKR_OK);
  EXPECT_EQ(SDL_GetVideoSurface()->w, 720);
  EXPECT_EQ(SDL_GetVideoSurface()->h, 480);
  ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_OK);
  ExpectFrameInWindow(CapturedFrame(), 1, 0, 0);
}

TEST_F(Window, FullScreenKeyLetterboxesAtAWholeScaleAndComesBack) {
  ScratchDir dir("cb_window_full");
  ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_OK);
  const Picture frame = CapturedFrame();
  const auto pressFullScreenKey = [] {
    SDL_Event event{};
    event.type = event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_F11;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
    uint32_t buttons = 1;
    VKR_GetGP2XInputState(&buttons);
    EXPECT_EQ(buttons, 0u) << "the window key is no button";
  };
  pressFullScreenKey();
  ASSERT_TRUE(VKR_WinIsFullScreen());
  SDL_Surface* screen = SDL_GetVideoSurface();
  EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
  EXPECT_EQ(screen->w, 1024);
  EXPECT_EQ(screen->h, 768);
  EXPECT_EQ(VKR_WinWindowScale(), 3);
  ExpectFrameInWindow(frame, 3, 32, 24);  // shown again at once, without a new frame
  ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_OK);
  ExpectFrameInWindow(frame, 3, 32, 24);

  // A display-mode change stays in full screen.
  ASSERT_EQ(VKR_SetDisplayMode(20, 16), VKR_OK);
  EXPECT_TRUE(SDL_GetVideoSurface()->flags & SDL_FULLSCREEN);
  ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_OK);
  ExpectFrameInWindow(CapturedFrame(), 1, 152, 96);
  ASSERT_EQ(VKR_SetDisplayMode(0, 16), VKR_OK);

  pressFullScreenKey();
  EXPECT_FALSE(VKR_WinIsFullScreen());
  EXPECT_FALSE(SDL_GetVideoSurface()->flags & SDL_FULLSCREEN);
  EXPECT_EQ(SDL_GetVideoSurface()->w, 640);
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  EXPECT_STREQ(title, "window") << "the new window keeps its title";
}

TEST_F(Window, ScreenshotKeyWritesTheFrameAsTheNextFreeNumberedPNG) {
  ScratchDir dir("cb_window_shot");
  dir.Write("screenshot_0001.png", {1, 2, 3});  // taken already: kept
  ASSERT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_OK);
  const Picture frame = CapturedFrame();
  CapturedOutput out(1);
  for (SDLKey key : {SDLK_PRINT, SDLK_F12}) {
    SDL_Event event{};
    event.type = event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
    uint32_t buttons = 1;
    VKR_GetGP2XInputState(&buttons);
    EXPECT_EQ(buttons, 0u);
  }
  const std::string said = out.Stop();
  for (const char* name : {"screenshot_0002.png", "screenshot_0003.png"}) {
    const std::string path = (dir.path() / name).string();
    EXPECT_NE(said.find("Screenshot saved to " + path + "\n"), std::string::npos) << said;
    const Picture shot = ReadPNG(name);
    EXPECT_EQ(shot.width, 320) << name;
    EXPECT_EQ(shot.height, 240) << name;
    EXPECT_TRUE(shot.rgb == frame.rgb) << name << " differs from the frame";
  }
  EXPECT_EQ(std::filesystem::file_size("screenshot_0001.png"), 3u);

  // A working folder that is gone: said on standard error, nothing on standard output.
  std::filesystem::create_directory("gone");
  std::filesystem::current_path("gone");
  std::filesystem::remove(dir.path() / "gone");
  CapturedOutput err(2);
  CapturedOutput quiet(1);
  char name[300] = "x";
  EXPECT_FALSE(VKR_WinSaveScreenshot(name, sizeof name));
  EXPECT_STREQ(name, "");
  EXPECT_EQ(quiet.Stop(), "");
  const std::string complaint = err.Stop();
  EXPECT_NE(complaint.find("Screenshot not saved"), std::string::npos) << complaint;
}

}  // namespace
