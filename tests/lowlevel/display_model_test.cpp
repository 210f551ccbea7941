// Display-model settings of the desktop back end: start-up values, the argument checks (a rejected
// call answers 4 and changes nothing at all), what a display-mode change resets, and calls made
// before the library is started.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "vkr_winState.h"
#include "vkr_winWindow.h"

namespace {

// Every emulated setting, copied byte for byte, so a rejected call can be shown to change none.
std::vector<uint8_t> SnapshotSettings() {
  std::vector<uint8_t> bytes;
  auto add = [&bytes](const auto& value) {
    const auto* first = reinterpret_cast<const uint8_t*>(&value);
    bytes.insert(bytes.end(), first, first + sizeof value);
  };
  add(g_ulDISPLAY_MODE); add(g_nColorBitDepth); add(g_nScreenSizeX); add(g_nScreenSizeY);
  add(g_ulRGBVideoMemOffset); add(g_ulRGBColorTable); add(g_ulRegionColorKey);
  add(g_RGBLayerRegion); add(g_YUVPlane); add(g_YUVScaler); add(g_bYUVFirstPlanePriority);
  add(g_scYUVBrightness); add(g_ucYUVContrast); add(g_sMLC_HUECb_A); add(g_sMLC_HUECb_B);
  add(g_sMLC_HUECr_A); add(g_sMLC_HUECr_B); add(g_bEnableGamma); add(g_ulGammaTable);
  add(g_cursorLayer); add(g_bOSDLayerEnable); add(g_ulOSDHeaderEvenField);
  add(g_ulOSDHeaderOddField); add(g_ulOSDPalette); add(g_bSPULayerEnable);
  add(g_bSPUonTopOfOSDLayer); add(g_bSPUHighlight); add(g_ulSPUBaseCmdMemOffset);
  add(g_ulSPUHighlightInfoMemOffset); add(g_ulSPUColorPalette); add(g_bGP2XBatteryLEDState);
  return bytes;
}

class DisplayModel : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(VKR_InitLowLevelAPI("display model"), VKR_OK); }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  // Scribbles on every setting so that a reset or a silent change would show.
  void SetEverything() {
    const uint32_t entries[256] = {0x123456, 0x654321};
    VKR_SetDisplayMode(20, 24);
    VKR_SetPalette(0, entries, 256);
    VKR_SetRGBStartAddress(0x1234);
    VKR_SetRGBRegionColorKey(0xFF00FF);
    VKR_SetRGBRegionOperation(2, 1, 0, 2, 7, 10, 20, 30, 40);
    VKR_SetYUVVideoPlane(1, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12);
    VKR_SetYUVVideoPlaneScaler(0, 0, 512, 2048);
    VKR_SetYUVBrightness(-5);
    VKR_SetYUVContrast(3);
    VKR_SetYUVSaturationAndHUE(2, 200, 30);
    VKR_EnableGamma(1);
    VKR_SetGamma(0, entries, 2);
    VKR_SetCursorParams(1, 64, 0xF0FFFFFF, 0x80000000, 0x7F4800);
    VKR_MoveCursor(100, 50);
    VKR_SetOSDPalette(0, entries, 2);
    VKR_SetOSDPlane(1, 0x100, 0x200);
    VKR_SetSPUColor(3, 0x801080);
    VKR_SetSPUPlane(1, 1, 1, 0x300, 0x400);
  }
};

TEST_F(DisplayModel, StartsInTheDocumentedState) {
  uint32_t mode = 99;
  int depth = 0, width = 0, height = 0;
  EXPECT_EQ(VKR_GetDisplayMode(&mode, &depth), VKR_OK);
  EXPECT_EQ(mode, 0u);
  EXPECT_EQ(depth, 16);
  EXPECT_EQ(VKR_GetDisplaySize(&width, &height), VKR_OK);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
  EXPECT_EQ(g_bEnableGamma, 0);
  for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(g_ulGammaTable[i], i * 0x010101u);
  for (uint32_t entry : g_ulRGBColorTable) ASSERT_EQ(entry, 0u);
  for (int region = 1; region <= 4; ++region) {
    EXPECT_EQ(g_RGBLayerRegion[region].active, 0u);
    EXPECT_EQ(g_RGBLayerRegion[region].visible, 1u);
  }
  EXPECT_EQ(g_RGBLayerRegion[5].active, 1u);
  EXPECT_EQ(g_YUVPlane[0].enable | g_YUVPlane[1].enable | g_cursorLayer.enable, 0u);
  EXPECT_EQ(g_bYUVFirstPlanePriority, 1);
  for (int q = 0; q < 4; ++q) {
    EXPECT_EQ(g_sMLC_HUECb_A[q], 63);
    EXPECT_EQ(g_sMLC_HUECr_B[q], 63);
    EXPECT_EQ(g_sMLC_HUECb_B[q], 0);
    EXPECT_EQ(g_sMLC_HUECr_A[q], 0);
  }
  EXPECT_EQ(VKR_GetBatteryLEDState(), VKR_LED_OFF);
  uint8_t* base = nullptr;
  EXPECT_EQ(VKR_GetVideoBasePtr(&base), VKR_OK);
  ASSERT_NE(base, nullptr);
  base[VKR_VIDEO_MEMORY_SIZE - 1] = 1;  // the whole 8 MiB is ours (ASan would object otherwise)
  EXPECT_EQ(VKR_GetVideoPtrOn920(0x100), base + 0x100);
  EXPECT_EQ(VKR_GetVideoPtrOn920(VKR_VIDEO_MEMORY_SIZE), nullptr);
}

TEST_F(DisplayModel, RejectedCallsChangeNothing) {
  SetEverything();
  const std::vector<uint8_t> before = SnapshotSettings();
  const uint32_t entries[2] = {1, 2};
  uint32_t mode = 0;
  int value = 0;
  EXPECT_EQ(VKR_SetDisplayMode(33, 16), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetDisplayMode(0, 12), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetPalette(255, entries, 2), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetPalette(0, entries, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetPalette(0, nullptr, 1), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBStartAddress(0x800000), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBRegionOperation(0, 1, 1, 1, 1, 1, 1, 1, 1), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBRegionOperation(6, 1, 1, 1, 1, 1, 1, 1, 1), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetYUVContrast(8), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetGamma(255, entries, 2), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetGamma(0, nullptr, 1), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetCursorParams(1, 48, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetCursorParams(1, 32, 0, 0, 0x800000), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetOSDPalette(200, entries, 57), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetOSDPalette(0, nullptr, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetSPUColor(16, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetDisplayMode(nullptr, &value), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetDisplayMode(&mode, nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetDisplaySize(&value, nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetCurrentTVFieldOutput(nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetPowerState(nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetTouchScreen(nullptr, nullptr, nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(SnapshotSettings(), before);
}

TEST_F(DisplayModel, AcceptedBoundaryValues) {
  const uint32_t entries[1] = {0xABCDEF};
  EXPECT_EQ(VKR_SetPalette(255, entries, 1), VKR_OK);
  EXPECT_EQ(g_ulRGBColorTable[255], 0xABCDEFu);
  EXPECT_EQ(VKR_SetOSDPalette(0, entries, 0), VKR_OK);
  EXPECT_EQ(VKR_SetGamma(0, entries, 0), VKR_OK);
  EXPECT_EQ(VKR_SetRGBStartAddress(0x7FFFFF), VKR_OK);
  EXPECT_EQ(g_ulRGBVideoMemOffset, 0x7FFFFCu);
  const uint8_t contrastWithHighBits = static_cast<uint8_t>(0x107);
  EXPECT_EQ(VKR_SetYUVContrast(contrastWithHighBits), VKR_OK);
  EXPECT_EQ(g_ucYUVContrast, 7);
  EXPECT_EQ(VKR_SetCursorParams(1, 32, 0, 0, 0x7F4803), VKR_OK);
  EXPECT_EQ(g_cursorLayer.bitmapOffset, 0x7F4800u);
  EXPECT_EQ(g_cursorLayer.large, 0u);
}

TEST_F(DisplayModel, HueQuadrantIsTakenModuloFourAndFollowsTheSineTable) {
  EXPECT_EQ(VKR_SetYUVSaturationAndHUE(5, 128, 64), VKR_OK);  // quadrant 1, a quarter turn
  EXPECT_EQ(g_sMLC_HUECb_A[1], 0);    // 128 * T[128] = 0
  EXPECT_EQ(g_sMLC_HUECb_B[1], 63);   // (128 * 127) >> 8
  EXPECT_EQ(g_sMLC_HUECr_A[1], -64);  // (-(128 * 127)) >> 8 rounds toward minus infinity
  EXPECT_EQ(g_sMLC_HUECr_B[1], 0);
  EXPECT_EQ(g_sMLC_HUECb_A[0], 63);   // the other quadrants keep their values
  EXPECT_EQ(VKR_SetYUVSaturationAndHUE(3, 255, 192), VKR_OK);
  EXPECT_EQ(g_sMLC_HUECb_B[3], static_cast<int8_t>((255 * -127) >> 8));
}

TEST_F(DisplayModel, DisplayModeChangeResetsLayersAndKeepsTheRest) {
  SetEverything();
  ASSERT_EQ(VKR_SetDisplayMode(6, 16), VKR_OK);
  EXPECT_EQ(g_nScreenSizeX, 720);
  EXPECT_EQ(g_nScreenSizeY, 480);
  EXPECT_EQ(VKR_WinOutputWidth(), 720);
  EXPECT_EQ(VKR_WinOutputHeight(), 480);
  ASSERT_NE(g_Screen, nullptr);
  EXPECT_EQ(g_Screen->w, 720 * VKR_WinWindowScale());
  EXPECT_EQ(g_Screen->h, 480 * VKR_WinWindowScale());
  EXPECT_EQ(g_cursorLayer.enable, 0u);
  EXPECT_EQ(g_YUVPlane[0].enable, 0u);
  EXPECT_EQ(g_YUVPlane[1].enable, 0u);
  for (int region = 1; region <= 4; ++region) {
    EXPECT_EQ(g_RGBLayerRegion[region].active, 0u);
    EXPECT_EQ(g_RGBLayerRegion[region].visible, 1u);
  }
  EXPECT_EQ(g_RGBLayerRegion[5].active, 1u);
  EXPECT_EQ(g_ulRGBColorTable[0], 0x123456u);
  EXPECT_EQ(g_ulRegionColorKey, 0xFF00FFu);
  EXPECT_EQ(g_ulRGBVideoMemOffset, 0x1234u);
  EXPECT_EQ(g_bEnableGamma, 1);
  EXPECT_EQ(g_bOSDLayerEnable, 1);
  EXPECT_EQ(g_bSPULayerEnable, 1);

  const struct {
    uint32_t mode;
    int width, height, layerWidth, layerHeight;
  } modes[] = {{0, 320, 240, 320, 240}, {4, 320, 240, 80, 60},    {5, 720, 480, 320, 240},
               {8, 720, 480, 584, 480}, {18, 720, 480, 90, 60},   {19, 720, 576, 320, 240},
               {22, 720, 576, 704, 576}, {32, 720, 576, 90, 72}};
  for (const auto& expected : modes) {
    ASSERT_EQ(VKR_SetDisplayMode(expected.mode, 8), VKR_OK);
    int width = 0, height = 0;
    VKR_GetDisplaySize(&width, &height);
    EXPECT_EQ(width, expected.layerWidth) << "mode " << expected.mode;
    EXPECT_EQ(height, expected.layerHeight) << "mode " << expected.mode;
    EXPECT_EQ(g_Screen->w, expected.width * VKR_WinWindowScale()) << "mode " << expected.mode;
    EXPECT_EQ(g_Screen->h, expected.height * VKR_WinWindowScale()) << "mode " << expected.mode;
  }
}

TEST_F(DisplayModel, TelevisionFieldAndSystemControls) {
  int field = 7;
  EXPECT_EQ(VKR_GetCurrentTVFieldOutput(&field), VKR_NOT_SUPPORTED);
  VKR_SetDisplayMode(4, 16);
  EXPECT_EQ(VKR_GetCurrentTVFieldOutput(&field), VKR_NOT_SUPPORTED);
  VKR_SetDisplayMode(6, 16);
  EXPECT_EQ(VKR_GetCurrentTVFieldOutput(&field), VKR_OK);
  EXPECT_TRUE(field == 0 || field == 1);

  uint16_t level = 0;
  int clock = 0;
  uint32_t word = 0;
  uint8_t byte = 0;
  EXPECT_EQ(VKR_SetBatteryLEDState(1), VKR_OK);
  EXPECT_EQ(VKR_GetBatteryLEDState(), VKR_LED_ON);
  EXPECT_EQ(VKR_GetPowerState(&level), VKR_OK);
  EXPECT_EQ(level, 1023);
  EXPECT_EQ(VKR_GetCPUClock(&clock), VKR_OK);
  EXPECT_EQ(clock, 199);
  EXPECT_EQ(VKR_SetCPUClock(200), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_GetSDState(), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_GetHardwareModel(&word), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_GetFirmwareVersion(&word), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_ReadMemRegister(0, &level), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_WriteMemRegister(0, 0), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_InCX25874(0, &byte), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_OutCX25874(0, 0), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_DualCorePause(1), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_HIDDetection(), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_WriteCloseCaption(0x942C), VKR_OK);
  EXPECT_EQ(VKR_CC_SetChannel(9), VKR_OK);
  EXPECT_EQ(VKR_CC_printf("%s", "greetings"), VKR_OK);
  EXPECT_EQ(VKR_CC_OutputToTV(), VKR_OK);
}

TEST(DisplayModelUnstarted, CallsBeforeStartAnswerErrorAndTouchNothing) {
  uint8_t* base = reinterpret_cast<uint8_t*>(1);
  uint32_t mode = 0;
  int depth = 0;
  EXPECT_EQ(VKR_GetVideoBasePtr(&base), VKR_ERROR);
  EXPECT_EQ(base, nullptr);
  EXPECT_EQ(VKR_GetVideoPtrOn920(0), nullptr);
  EXPECT_EQ(VKR_SetDisplayMode(0, 16), VKR_ERROR);
  EXPECT_EQ(VKR_GetDisplayMode(&mode, &depth), VKR_ERROR);
  EXPECT_EQ(VKR_SetRGBStartAddress(0), VKR_ERROR);
  EXPECT_EQ(VKR_SetCursorParams(1, 32, 0, 0, 0), VKR_ERROR);
  EXPECT_EQ(VKR_LowLevelAPI_SoftRender(), VKR_ERROR);
  EXPECT_EQ(VKR_DualCoreSendCmd(1), VKR_ERROR);
  // The record writers check their arguments first, as the hardware back end's do.
  EXPECT_EQ(VKR_WriteOSDHeader(0, 0x800000, 0, 0, 9, 9, 3, 0, 0, 0, 15, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteOSDHeader(0, 0x800000, 0, 0, 9, 9, 8, 0, 0, 0, 15, 0), VKR_ERROR);
  EXPECT_EQ(VKR_WriteSPUBaseCmd(0x7FFFF0, 0, 0, 0, 0, 0, 9, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteSPUHighlightInfo(0, 0, 0, 9, 9, 0, 0), VKR_ERROR);
  EXPECT_EQ(VKR_FreeLowLevelAPI(0), VKR_OK);
}

TEST(DisplayModelLifecycle, StartsAgainAfterAFree) {
  ASSERT_EQ(VKR_InitLowLevelAPI("first"), VKR_OK);
  VKR_SetDisplayMode(20, 24);
  VKR_FreeLowLevelAPI(0);
  ASSERT_EQ(VKR_InitLowLevelAPI(nullptr), VKR_OK);
  uint32_t mode = 9;
  int depth = 0;
  VKR_GetDisplayMode(&mode, &depth);
  EXPECT_EQ(mode, 0u);
  EXPECT_EQ(depth, 16);
  VKR_FreeLowLevelAPI(0);
}

}  // namespace
