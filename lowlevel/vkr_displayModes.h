// vkr_displayModes.h: what a display mode number means: its output (LCD, NTSC or PAL), the output
// size and the size of the RGB layer image. Both back ends and the tests read it from here.
#pragma once

#include <array>
#include <cstdint>

enum VKR_Output : int { VKR_OUTPUT_LCD = 0, VKR_OUTPUT_NTSC = 1, VKR_OUTPUT_PAL = 2 };

struct VKR_LayerSize {
  uint16_t width, height;
};

// RGB layer size of modes 0 to 32. The handheld's scaler makes modes 15, 16, 29, 30 184 wide and
// 17, 18, 31, 32 96 wide; this is the desktop's table.
inline constexpr std::array<VKR_LayerSize, 33> kVKR_LayerSizeOfMode = {{
    {320, 240}, {160, 240}, {160, 120}, {80, 120},  {80, 60},                          // LCD
    {320, 240}, {720, 480}, {720, 240}, {584, 480}, {512, 240}, {392, 240}, {360, 480},  // NTSC
    {360, 240}, {296, 240}, {256, 240}, {180, 240}, {180, 120}, {90, 120},  {90, 60},
    {320, 240}, {720, 576}, {720, 288}, {704, 576}, {512, 288}, {392, 288}, {360, 576},  // PAL
    {360, 288}, {352, 288}, {256, 288}, {180, 288}, {180, 144}, {90, 144},  {90, 72},
}};

constexpr VKR_Output VKR_OutputOfMode(uint32_t mode) {
  return mode <= 4 ? VKR_OUTPUT_LCD : mode <= 18 ? VKR_OUTPUT_NTSC : VKR_OUTPUT_PAL;
}
constexpr bool VKR_IsTVMode(uint32_t mode) { return mode >= 5; }

constexpr int VKR_OutputWidth(VKR_Output output) { return output == VKR_OUTPUT_LCD ? 320 : 720; }
constexpr int VKR_OutputHeight(VKR_Output output) {
  return output == VKR_OUTPUT_LCD ? 240 : output == VKR_OUTPUT_NTSC ? 480 : 576;
}

inline constexpr int VKR_MAX_OUTPUT_WIDTH = 720;
inline constexpr int VKR_MAX_OUTPUT_HEIGHT = 576;
inline constexpr int VKR_MAX_OUTPUT_PIXELS = VKR_MAX_OUTPUT_WIDTH * VKR_MAX_OUTPUT_HEIGHT;
