// display_modes_test.cpp: every one of the 33 display modes: its RGB layer size, written out here,
// and the output it drives, seen through the interface.
#include <gtest/gtest.h>

#include "vkr_lowLevel.h"

namespace {

TEST(DisplayModes, EveryModeHasItsLayerSizeAndOutput) {
  struct Mode {
    int width, height;
  };
  constexpr Mode kLayers[33] = {
      {320, 240}, {160, 240}, {160, 120}, {80, 120},  {80, 60},   {320, 240}, {720, 480},
      {720, 240}, {584, 480}, {512, 240}, {392, 240}, {360, 480}, {360, 240}, {296, 240},
      {256, 240}, {180, 240}, {180, 120}, {90, 120},  {90, 60},   {320, 240}, {720, 576},
      {720, 288}, {704, 576}, {512, 288}, {392, 288}, {360, 576}, {360, 288}, {352, 288},
      {256, 288}, {180, 288}, {180, 144}, {90, 144},  {90, 72}};
  ASSERT_EQ(VKR_InitLowLevelAPI("display modes"), VKR_OK);
  for (uint32_t mode = 0; mode <= 32; ++mode) {
    ASSERT_EQ(VKR_SetDisplayMode(mode, 16), VKR_OK) << "mode " << mode;
    int width = 0, height = 0;
    ASSERT_EQ(VKR_GetDisplaySize(&width, &height), VKR_OK);
    EXPECT_EQ(width, kLayers[mode].width) << "mode " << mode;
    EXPECT_EQ(height, kLayers[mode].height) << "mode " << mode;
    // The output: LCD modes have no television field, the others do.
    int field = -1;
    EXPECT_EQ(VKR_GetCurrentTVFieldOutput(&field), mode <= 4 ? VKR_NOT_SUPPORTED : VKR_OK)
        << "mode " << mode;
  }
  EXPECT_EQ(VKR_SetDisplayMode(33, 16), VKR_BAD_ARGUMENT);
  VKR_FreeLowLevelAPI(0);
}

}  // namespace
