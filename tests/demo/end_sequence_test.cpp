// end_sequence_test.cpp: how a whole run hands the display back, seen at the moment the music
// output is closed (after the end sequence, before the library is freed): plane A off, page 0
// black, only region 5 in force, and the display mode found at start-up back.
#include <gtest/gtest.h>
#include <mikmod.h>

#include <algorithm>
#include <vector>

#include "demo_main.h"
#include "emulated_state.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "software_mixer_driver.h"
#include "vkr_lowLevel.h"
#include "vkr_winHost.h"

namespace {

constexpr uint32_t kPageBytes = 829440;

// What the display looked like when libmikmod closed the output.
struct HandedBack {
  bool seen = false;
  uint32_t mode = 99;
  int depth = 0;
  uint32_t planeAEnable = 1, rgbStart = 1;
  DISP_RGBRegion regions[6] = {};
  bool pageZeroBlack = false;
};
HandedBack handedBack;

void NoteDisplay() {
  handedBack.seen = true;
  VKR_GetDisplayMode(&handedBack.mode, &handedBack.depth);
  handedBack.planeAEnable = EmulatedYUVPlane(1).enable;
  handedBack.rgbStart = EmulatedRGBStartAddress();
  for (int region = 1; region <= 5; ++region) handedBack.regions[region] = EmulatedRGBRegion(region);
  uint8_t* base = nullptr;
  VKR_GetVideoBasePtr(&base);
  handedBack.pageZeroBlack = base && std::all_of(base, base + kPageBytes, [](uint8_t b) { return b == 0; });
}

BOOL AlwaysPresent() { return 1; }
void NoUpdate() {}
void NotingExit() {
  NoteDisplay();
  VC_Exit();
}
MDRIVER drv_watching = VKR_SoftwareMixerDriver(
    "Watching", "watching", {.isPresent = AlwaysPresent, .exit = NotingExit, .update = NoUpdate});

MDRIVER* const* RegisterWatching() {
  static MDRIVER* const drivers[] = {&drv_watching, nullptr};
  MikMod_RegisterDriver(&drv_watching);
  return drivers;
}

void AdvanceASecond(void*) { VKR_WinAdvanceVirtualClock(1000); }

class EndSequence : public ::testing::TestWithParam<uint32_t> {};

// Start-up modes 4 (LCD, 80 x 60), 5 (NTSC) and 19 (PAL): each differs from the mode the demo
// plays in (0, 6, 20), so only a restore brings it back.
TEST_P(EndSequence, AfterAWholeRunTheDisplayIsHandedBackClean) {
  const uint32_t startupMode = GetParam();
  ScratchDir dir("cb_end_sequence");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x9D));  // nothing black
  handedBack = HandedBack{};
  VKR_WinSetStartupDisplayMode(startupMode);
  VKR_WinUseVirtualClock(0);
  VKR_WinSetFrameHook(AdvanceASecond, nullptr);
  DemoReport report;
  DemoHost host;
  host.registerMusicDrivers = RegisterWatching;
  host.report = &report;
  const int status = VKR_Demo_Run(host);
  VKR_WinSetFrameHook(nullptr, nullptr);
  VKR_WinUseSystemClock();
  VKR_WinSetStartupDisplayMode(0);

  EXPECT_EQ(status, 0);
  EXPECT_EQ(report.paints, 118u) << "0, 1000, ..., 117000 ms";
  ASSERT_TRUE(handedBack.seen);
  EXPECT_EQ(handedBack.mode, startupMode);
  EXPECT_EQ(handedBack.depth, 16);
  // The mode change resets planes and regions itself; these catch a step moved after it.
  EXPECT_EQ(handedBack.planeAEnable, 0u);
  EXPECT_TRUE(handedBack.pageZeroBlack);
  EXPECT_EQ(handedBack.rgbStart, 0u);
  for (int region = 1; region <= 4; ++region)
    EXPECT_EQ(handedBack.regions[region].active, 0u) << "region " << region;
  EXPECT_EQ(handedBack.regions[5].active, 1u);
  EXPECT_EQ(handedBack.regions[5].visible, 1u);
}

INSTANTIATE_TEST_SUITE_P(StartupModes, EndSequence, ::testing::Values(4u, 5u, 19u));

}  // namespace
