// The display controller, blitter and rotator of the hardware back end on the simulated console:
// the register writes of each operation, written out by hand, the checks that write nothing, and
// the console's side: its blitter running on the start bit, and the display model it decodes.
#include <algorithm>
#include <map>
#include <vector>

#include "sim_fixture.h"
#include "sim_state.h"
#include "vkr_gp2xAccess.h"

namespace {

constexpr uint32_t kPhys = 0x03800000;

class DisplayRegisterTest : public SimTest {
 protected:
  // Powers on with the firmware's output and starts the back end; the log then sees every access.
  void StartOn(SimTV tv) {
    SimConfig config;
    config.tv = tv;
    PowerOn(config);
    ASSERT_EQ(Start(), VKR_OK);
    log.clear();
    SimSetAccessLog(&log);
  }
  void SetUp() override {
    SimTest::SetUp();
    StartOn(SimTV::Lcd);
  }
  // Writes to the register window (16-bit writes; a 32-bit one as its two halves' aligned word).
  std::vector<SimAccess> Writes(bool blitter = false) const {
    std::vector<SimAccess> writes;
    for (const SimAccess& a : log)
      if (a.write && a.blitter == blitter) writes.push_back(a);
    return writes;
  }
  // The last value written to each halfword.
  std::map<uint32_t, uint32_t> LastWritten() const {
    std::map<uint32_t, uint32_t> last;
    for (const SimAccess& a : Writes()) {
      last[a.offset] = a.value & 0xFFFF;
      if (a.wide) last[a.offset + 2] = a.value >> 16;
    }
    return last;
  }
  std::map<uint32_t, uint32_t> LastBlitterWritten() const {
    std::map<uint32_t, uint32_t> last;
    for (const SimAccess& a : Writes(true)) last[a.offset] = a.value;
    return last;
  }
  std::vector<SimAccess> log;
};

SimAccess W16(uint32_t offset, uint32_t value) { return {true, false, false, offset, value}; }

TEST_F(DisplayRegisterTest, ModeZeroAt16BitsWritesTheLcdTimingAndEnablesLast) {
  ASSERT_EQ(VKR_SetDisplayMode(0, 16), VKR_OK);
  const auto last = LastWritten();
  EXPECT_EQ(last.at(0x2906), 1024u);
  EXPECT_EQ(last.at(0x2908), 640u);
  EXPECT_EQ(last.at(0x290C), 640u);
  EXPECT_EQ(last.at(0x28DA), 0x05AAu);
  EXPECT_EQ(last.at(0x2818), 240u);
  EXPECT_EQ(last.at(0x183A), 0x0E13u);
  EXPECT_EQ(last.at(0x2880), 0x1040u);
  // Bit 0 of 0x2800 is cleared before the first timing write and set by the very last write.
  const std::vector<SimAccess> writes = Writes();
  const auto firstControl = std::find_if(writes.begin(), writes.end(),
                                         [](const SimAccess& a) { return a.offset == 0x2800; });
  ASSERT_NE(firstControl, writes.end());
  EXPECT_EQ(firstControl->value & 1, 0u);
  EXPECT_EQ(writes.back().offset, 0x2800u);
  EXPECT_EQ(writes.back().value & 1, 1u);
  for (auto it = writes.begin(); it + 1 != writes.end(); ++it)
    if (it->offset == 0x2800) {
      EXPECT_EQ(it->value & 1, 0u);
    }
  // The LCD's vertical sync registers: the masked value, then with the bits ORed in.
  std::vector<uint32_t> vsync;
  for (const SimAccess& a : writes)
    if (a.offset == 0x2820) vsync.push_back(a.value);
  EXPECT_EQ(vsync, (std::vector<uint32_t>{0x0000, 0x0502}));
  int width = 0, height = 0;
  VKR_GetDisplaySize(&width, &height);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 240);
}

TEST_F(DisplayRegisterTest, TelevisionModesScaleAndShowFieldsAfterTheOutputSwitch) {
  StartOn(SimTV::Pal);
  ASSERT_EQ(VKR_SetDisplayMode(20, 24), VKR_OK);
  auto last = LastWritten();
  EXPECT_EQ(last.at(0x2906), 1024u);
  EXPECT_EQ(last.at(0x2908), 4320u);
  EXPECT_EQ(last.at(0x290C), 4320u);  // two lines: a frame shown as two fields
  EXPECT_EQ(last.at(0x2818), 287u);
  EXPECT_EQ(last.at(0x3014), 288u);
  EXPECT_EQ(last.at(0x28DA), 0x07AAu);
  EXPECT_EQ(last.at(0x281C), 0x23u);
  // The encoder's lines on port B move before the display controller is touched.
  const std::vector<SimAccess> writes = Writes();
  const auto firstDisplay = std::find_if(writes.begin(), writes.end(), [](const SimAccess& a) {
    return a.offset >= 0x2800 && a.offset < 0x2A00;
  });
  const auto lastPortB = std::find_if(writes.rbegin(), writes.rend(), [](const SimAccess& a) {
    return a.offset == GP2X_GPIOBOUT || a.offset == GP2X_GPIOBALTFNLOW;
  });
  ASSERT_NE(lastPortB, writes.rend());
  EXPECT_LT(lastPortB.base() - writes.begin(), firstDisplay - writes.begin() + 1);

  StartOn(SimTV::Ntsc);
  ASSERT_EQ(VKR_SetDisplayMode(5, 16), VKR_OK);
  last = LastWritten();
  EXPECT_EQ(last.at(0x2906), 455u);  // 320 x 1024 / 720
  EXPECT_EQ(last.at(0x2818), 239u);
  // The handheld's narrow modes.
  int width = 0, height = 0;
  ASSERT_EQ(VKR_SetDisplayMode(15, 8), VKR_OK);
  VKR_GetDisplaySize(&width, &height);
  EXPECT_EQ(width, 184);
  ASSERT_EQ(VKR_SetDisplayMode(18, 8), VKR_OK);
  VKR_GetDisplaySize(&width, &height);
  EXPECT_EQ(width, 96);
  EXPECT_EQ(height, 60);
}

TEST_F(DisplayRegisterTest, OutOfRangeArgumentsWriteNothing) {
  const uint32_t entry = 0x112233;
  const uint16_t none = 0;
  EXPECT_EQ(VKR_SetDisplayMode(33, 16), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetDisplayMode(0, 12), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBStartAddress(0x800000), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBRegionOperation(0, 1, 1, 0, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBRegionOperation(6, 1, 1, 0, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBRegionOperation(1, 1, 1, 3, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetRGBRegionOperation(1, 1, 1, 2, 16, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetPalette(0, &entry, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetPalette(255, &entry, 2), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetPalette(0, nullptr, 1), VKR_BAD_ARGUMENT);
  // The handheld answers 4 for an empty OSD palette or gamma table, unlike the desktop.
  EXPECT_EQ(VKR_SetOSDPalette(0, &entry, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetGamma(0, &entry, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetCursorParams(1, 48, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetCursorParams(0, 32, 0, 0, 0x800000), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetYUVVideoPlane(1, 0, 0, 0, 0, 0, 0, 0, 0x800000, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetYUVContrast(8), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SetSPUColor(16, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteOSDHeader(2, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteOSDHeader(0, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteSPUChangeCmd(0, 1, 0, 0, 16, &none, &none, &none, &none), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteSPUChangeCmd(0, 1, 0, 0, 1, nullptr, &none, &none, &none), VKR_BAD_ARGUMENT);
  EXPECT_TRUE(Writes().empty());
  // A blit or rotation of nothing programs nothing and answers 0.
  EXPECT_EQ(VKR_HwBitBlt(0, 320, 0, 10, 0, 320, 12, 0, 0, 0), VKR_OK);
  EXPECT_EQ(VKR_HwBitBltRotate(0, 320, 10, 0, 0, 320, 5), VKR_OK);
  EXPECT_TRUE(Writes(true).empty());
}

TEST_F(DisplayRegisterTest, StartAddressKeepsLowBitsAndGivesTheOddFieldALineLater) {
  StartOn(SimTV::Ntsc);
  ASSERT_EQ(VKR_SetDisplayMode(6, 16), VKR_OK);
  log.clear();
  ASSERT_EQ(VKR_SetRGBStartAddress(0x1000), VKR_OK);
  EXPECT_EQ(Writes(), (std::vector<SimAccess>{W16(0x290E, 0x15A0), W16(0x2910, 0x0380),
                                              W16(0x2912, 0x1000), W16(0x2914, 0x0380)}));
  ASSERT_EQ(VKR_SetDisplayMode(5, 16), VKR_OK);
  log.clear();
  ASSERT_EQ(VKR_SetRGBStartAddress(0x1002), VKR_OK);
  EXPECT_EQ(Writes(), (std::vector<SimAccess>{W16(0x290E, 0x1002), W16(0x2910, 0x0380),
                                              W16(0x2912, 0x1002), W16(0x2914, 0x0380)}));
}

TEST_F(DisplayRegisterTest, CursorPaletteAndRegionWrites) {
  ASSERT_EQ(VKR_SetCursorParams(1, 32, 0xF0123456, 0x80ABCDEF, 0x2000), VKR_OK);
  EXPECT_EQ(Writes().front(), W16(0x291E, 0x8F20));
  auto last = LastWritten();
  EXPECT_EQ(last.at(0x292C) | last.at(0x292E) << 16, 0x03802100u);
  EXPECT_EQ(last.at(0x2930) | last.at(0x2932) << 16, 0x03802000u);
  EXPECT_EQ(SimPeekReg16(0x2880) & 0x0200, 0x0200);

  log.clear();
  const uint32_t entry = 0x112233;
  ASSERT_EQ(VKR_SetPalette(10, &entry, 1), VKR_OK);
  EXPECT_EQ(Writes(), (std::vector<SimAccess>{W16(0x2958, 20), W16(0x295A, 0x2233),
                                              W16(0x295A, 0x0011)}));
  log.clear();
  const uint32_t osd = 0xA5123456;
  ASSERT_EQ(VKR_SetOSDPalette(3, &osd, 1), VKR_OK);
  EXPECT_EQ(Writes(), (std::vector<SimAccess>{W16(0x2954, 6), W16(0x2956, 0x3456),
                                              W16(0x2956, 0x0A12)}));

  log.clear();
  ASSERT_EQ(VKR_SetRGBRegionOperation(4, 1, 0, 2, 9, 10, 20, 30, 40), VKR_OK);
  last = LastWritten();
  EXPECT_EQ(SimPeekReg16(0x2880) & 0x0020, 0x0020);   // bit 5: region 4 active
  EXPECT_EQ(SimPeekReg16(0x28DA) & 0x0040, 0);        // bit 6: region 4 hidden
  EXPECT_EQ((SimPeekReg16(0x28DC) >> 6) & 3, 2);
  EXPECT_EQ(SimPeekReg16(0x28E0) & 0xF, 9);
  EXPECT_EQ(last.at(0x28FA), 10u);
  EXPECT_EQ(last.at(0x28FC), 30u);
  EXPECT_EQ(last.at(0x28FE), 20u);
  EXPECT_EQ(last.at(0x2900), 40u);
}

TEST_F(DisplayRegisterTest, BlitterControlWordsAndTheRotatorsStartCorner) {
  ASSERT_EQ(VKR_HwBitBlt(0x100, 320, 8, 4, 0x4000, 320, 0x40C, 0xF81F, 0, 0), VKR_OK);
  auto last = LastBlitterWritten();
  EXPECT_EQ(last.at(0x30), 0xF81F0B0Cu);
  EXPECT_EQ(last.at(0x04), kPhys + 0x100);
  EXPECT_EQ(last.at(0x08), 640u);
  EXPECT_EQ(last.at(0x2C), 4u << 16 | 8);
  EXPECT_EQ(Writes(true).back().offset, 0x34u);
  log.clear();
  ASSERT_EQ(VKR_HwBitBlt(0x102, 320, 8, 4, 0x4000, 320, 12, 0, 0, 0), VKR_OK);
  last = LastBlitterWritten();
  EXPECT_EQ(last.at(0x00), 0x20u | 2 << 3);
  EXPECT_EQ(last.at(0x0C), 0x1A0u);
  log.clear();
  ASSERT_EQ(VKR_HwBitBlt(0x100, 320, 8, 4, 0x4000, 320, 0, 0, 0, 0), VKR_OK);
  last = LastBlitterWritten();
  EXPECT_EQ(last.at(0x0C), 0x120u);
  EXPECT_EQ(last.at(0x00), 0x20u);

  log.clear();
  ASSERT_EQ(VKR_HwBitBltRotate(0x8000, 100, 30, 50, 0x1000, 200, 5), VKR_OK);
  last = LastBlitterWritten();
  EXPECT_EQ(last.at(0x110), kPhys + 0x1000 + 400 * 49);
  EXPECT_EQ(last.at(0x104), 400u);
  EXPECT_EQ(last.at(0x108), 200u);
  EXPECT_EQ(Writes(true).back(), (SimAccess{true, true, true, 0x100, 0x0B}));
  log.clear();
  ASSERT_EQ(VKR_HwBitBltRotate(0x8000, 100, 30, 50, 0x1000, 200, 10), VKR_OK);
  EXPECT_EQ(LastBlitterWritten().at(0x110), kPhys + 0x1000 + 600 * 49 + 3 * 29);
}

// The console's blitter runs on the start bit with the busy bit held for its time, so the wait
// and the next operation really wait; the rotator takes its start corner back to the rectangle.
TEST_F(DisplayRegisterTest, ConsoleBlitterRunsOnStartAndStaysBusyForItsTime) {
  uint8_t* video = nullptr;
  VKR_GetVideoBasePtr(&video);
  video[0x40000] = 1;
  video[0x40000 + 640 * 239 + 1] = 2;
  const uint64_t before = SimNowNs();
  ASSERT_EQ(VKR_HwBitBlt(0x100, 320, 320, 240, 0x40000, 320, 12, 0, 0, 0), VKR_OK);
  EXPECT_NE(GP2X_ReadBlitter(0x34) & 1, 0u);
  ASSERT_EQ(VKR_WaitHwBlitter(0), VKR_OK);
  EXPECT_GE(SimNowNs() - before, 320u * 240 * 2);
  EXPECT_EQ(GP2X_ReadBlitter(0x34) & 1, 0u);
  EXPECT_EQ(video[0x100], 1);
  EXPECT_EQ(video[0x100 + 640 * 239 + 1], 2);

  // A 2 x 3 block of one-byte pixels, a quarter turn clockwise: rows become columns.
  const uint8_t block[6] = {1, 2, 3, 4, 5, 6};  // rows {1, 2}, {3, 4}, {5, 6}
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 2; ++c) video[0x9000 + r * 16 + c] = block[r * 2 + c];
  ASSERT_EQ(VKR_HwBitBltRotate(0xA000, 16, 2, 3, 0x9000, 16, 1), VKR_OK);
  ASSERT_EQ(VKR_WaitHwBlitter(1), VKR_OK);
  // Clockwise: the destination's first row is the source's first column read bottom to top.
  EXPECT_EQ(video[0xA000], 5);
  EXPECT_EQ(video[0xA001], 3);
  EXPECT_EQ(video[0xA002], 1);
  EXPECT_EQ(video[0xA010], 6);
  EXPECT_EQ(video[0xA012], 2);
}

// What the console decodes from the registers is what the operations were given.
TEST_F(DisplayRegisterTest, ConsoleDecodesTheSettingsBackIntoTheDisplayModel) {
  StartOn(SimTV::Ntsc);
  ASSERT_EQ(VKR_SetDisplayMode(6, 16), VKR_OK);
  ASSERT_EQ(VKR_SetRGBStartAddress(0x12344), VKR_OK);
  ASSERT_EQ(VKR_SetRGBRegionColorKey(0xFF00FF), VKR_OK);
  ASSERT_EQ(VKR_SetRGBRegionOperation(2, 1, 1, 1, 7, 5, 6, 100, 200), VKR_OK);
  ASSERT_EQ(VKR_SetYUVVideoPlane(1, 1, 8, 10, 711, 230, 120, 720, 0x20000, 1, 0, 0x60000, 0, 1),
            VKR_OK);
  ASSERT_EQ(VKR_SetYUVVideoPlaneScaler(1, 1, 512, 2048), VKR_OK);
  ASSERT_EQ(VKR_SetYUVVideoPlaneScaler(1, 0, 1024, 1000), VKR_OK);
  ASSERT_EQ(VKR_SetYUVVideoPlanePriority(0), VKR_OK);
  ASSERT_EQ(VKR_SetYUVBrightness(-5), VKR_OK);
  ASSERT_EQ(VKR_SetYUVContrast(3), VKR_OK);
  ASSERT_EQ(VKR_SetYUVSaturationAndHUE(6, 200, 20), VKR_OK);
  const uint32_t gamma[2] = {0x030201, 0x060504};
  ASSERT_EQ(VKR_SetGamma(254, gamma, 2), VKR_OK);
  ASSERT_EQ(VKR_EnableGamma(1), VKR_OK);
  ASSERT_EQ(VKR_SetCursorParams(1, 64, 0xF0123456, 0x80ABCDEF, 0x2002), VKR_OK);
  ASSERT_EQ(VKR_MoveCursor(33, 44), VKR_OK);

  DISP_Model model{};
  SimDisplay_Decode(&model);
  DISP_Model expected{};
  DISP_InitModel(&expected, 6);
  DISP_SetHueCoefficients(&expected, 2, 200, 20);
  EXPECT_EQ(model.displayMode, 5u);  // the output: NTSC
  EXPECT_EQ(model.screenSizeX, 720);
  EXPECT_EQ(model.screenSizeY, 480);
  EXPECT_EQ(model.colorBitDepth, 16);
  EXPECT_EQ(model.rgbVideoMemOffset, 0x12344u);
  EXPECT_EQ(model.regionColorKey, 0xFF00FFu);
  const DISP_RGBRegion& region = model.rgbLayerRegion[2];
  EXPECT_EQ(region.active, 1u);
  EXPECT_EQ(region.operation, 1);
  EXPECT_EQ(region.alpha, 7);
  EXPECT_EQ(region.left, 5);
  EXPECT_EQ(region.top, 6);
  EXPECT_EQ(region.right, 100);
  EXPECT_EQ(region.bottom, 200);
  EXPECT_EQ(model.rgbLayerRegion[5].active, 1u);
  const DISP_YUVPlane& a = model.yuvPlane[0];
  EXPECT_EQ(a.enable, 1u);
  EXPECT_EQ(a.left, 8);
  EXPECT_EQ(a.top, 10);
  EXPECT_EQ(a.right, 711);
  EXPECT_EQ(a.bottom, 230);
  EXPECT_EQ(a.split, 120);
  EXPECT_EQ(a.pitch, 720);
  EXPECT_EQ(a.topOffset, 0x20000u);
  EXPECT_EQ(a.bottomOffset, 0x60000u);
  EXPECT_EQ(a.topMirror, 1u);
  EXPECT_EQ(a.topFlip, 0u);
  EXPECT_EQ(a.bottomMirror, 0u);
  EXPECT_EQ(a.bottomFlip, 1u);
  EXPECT_EQ(model.yuvPlane[1].enable, 0u);
  EXPECT_EQ(model.yuvScaler[0].horizontal, 512);
  EXPECT_EQ(model.yuvScaler[0].vertical, 2048);
  EXPECT_EQ(model.yuvScaler[1].vertical, 1000);
  EXPECT_EQ(model.yuvFirstPlanePriority, 0);
  EXPECT_EQ(model.yuvBrightness, -5);
  EXPECT_EQ(model.yuvContrast, 3);
  EXPECT_EQ(model.hueCbA, expected.hueCbA);
  EXPECT_EQ(model.hueCbB, expected.hueCbB);
  EXPECT_EQ(model.hueCrA, expected.hueCrA);
  EXPECT_EQ(model.hueCrB, expected.hueCrB);
  EXPECT_EQ(model.enableGamma, 1);
  EXPECT_EQ(model.gammaTable[254], 0x030201u);
  EXPECT_EQ(model.gammaTable[255], 0x060504u);
  EXPECT_EQ(model.gammaTable[7], 0x070707u);
  const DISP_CursorLayer& cursor = model.cursorLayer;
  EXPECT_EQ(cursor.enable, 1u);
  EXPECT_EQ(cursor.large, 1u);
  EXPECT_EQ(cursor.color1, 0xF0123456u);
  EXPECT_EQ(cursor.color0, 0x80ABCDEFu);
  EXPECT_EQ(cursor.bitmapOffset, 0x2000u);
  EXPECT_EQ(cursor.x, 33);
  EXPECT_EQ(cursor.y, 44);
}

}  // namespace
