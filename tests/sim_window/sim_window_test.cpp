// sim_window_test.cpp: copperbramble-sim's window is the desktop program's: the same whole-number
// scale for the output, screenshots of the frame it shows at the output's own size, full screen;
// C switches the television's captions. The headless video driver reports a 1024 x 768 screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "scratch_dir.h"
#include "sim.h"
#include "sim_window.h"
#include "vkr_winWindow.h"

namespace {

constexpr uint64_t kFrameNs = 20000000;

void PressKey(SDLKey key) {
  SDL_Event event{};
  event.type = event.key.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
  event.type = event.key.type = SDL_KEYUP;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
  SimAdvanceNs(kFrameNs);  // the window takes its events at the next frame begun
}

// A PNG file's width and height, from its header.
std::pair<int, int> PictureSize(const char* file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  if (bytes.size() < 24) return {0, 0};
  const auto word = [&](size_t at) {
    return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
  };
  return {word(16), word(20)};
}

class SimWindowTest : public ::testing::TestWithParam<SimTV> {
 protected:
  void SetUp() override {
    SimConfig config;
    config.tv = GetParam();
    config.realTime = false;
    SimPowerOn(config);
  }
  void TearDown() override {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SimAdvanceNs(kFrameNs);  // the window sees SDL gone and closes
    SimPowerOff();
  }
};

TEST_P(SimWindowTest, OpensAsTheDesktopWindowAndShootsTheFrameAtTheOutputsSize) {
  ScratchDir dir("cb_sim_window");
  const bool lcd = GetParam() == SimTV::Lcd;
  const int width = lcd ? 320 : 720, height = lcd ? 240 : GetParam() == SimTV::Ntsc ? 480 : 576;
  ASSERT_TRUE(SimWindow_Open("sim window"));
  const int scale = VKR_WinScaleToFit(width, height, 1024, 768, false);
  EXPECT_EQ(scale, lcd ? 2 : 1);
  EXPECT_EQ(SDL_GetVideoSurface()->w, width * scale);
  EXPECT_EQ(SDL_GetVideoSurface()->h, height * scale);
  EXPECT_TRUE(SimWindow_CaptionsShown()) << "on at the start";

  SimAdvanceNs(kFrameNs);
  PressKey(SDLK_F12);
  char name[300] = "";
  ASSERT_TRUE(VKR_WinSaveScreenshot(name, sizeof name));
  EXPECT_EQ(PictureSize("screenshot_0001.png"), std::make_pair(width, height));
  EXPECT_EQ(std::filesystem::path(name).filename(), "screenshot_0002.png");

  PressKey(SDLK_c);
  EXPECT_FALSE(SimWindow_CaptionsShown());
  PressKey(SDLK_c);
  EXPECT_TRUE(SimWindow_CaptionsShown());

  PressKey(SDLK_F11);
  EXPECT_TRUE(VKR_WinIsFullScreen());
  EXPECT_EQ(SDL_GetVideoSurface()->w, 1024);
  PressKey(SDLK_F11);
  EXPECT_FALSE(VKR_WinIsFullScreen());
  EXPECT_EQ(SDL_GetVideoSurface()->w, width * scale);
}

INSTANTIATE_TEST_SUITE_P(Outputs, SimWindowTest,
                         ::testing::Values(SimTV::Lcd, SimTV::Ntsc, SimTV::Pal),
                         [](const ::testing::TestParamInfo<SimTV>& info) {
                           return info.param == SimTV::Lcd    ? "Lcd"
                                  : info.param == SimTV::Ntsc ? "Ntsc"
                                                              : "Pal";
                         });

}  // namespace
