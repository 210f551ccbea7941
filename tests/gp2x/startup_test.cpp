// Start-up and teardown of the hardware back end on the simulated console: firmware version and
// model, the input probe, the mode the firmware left, the snapshot written back, the launcher,
// and failures that leave nothing open.
#include <array>
#include <string>
#include <vector>

#include "sim_cx25874.h"
#include "sim_fixture.h"

namespace {

// Every register the snapshot covers, as halfwords.
constexpr std::array<uint32_t, 46> kSavedHalfwords = {
    0x0904, 0x090A, 0x091C, 0x091E, 0x0924, 0x3010, 0x3014, 0x2800, 0x280A, 0x280C, 0x280E, 0x2820,
    0x2822, 0x2804, 0x2806, 0x2808, 0x2816, 0x281A, 0x281C, 0x281E, 0x2882, 0x2824, 0x2848, 0x2818,
    0x2892, 0x28DA, 0x28DC, 0x2880, 0x2826, 0x2846, 0x28DE, 0x28E0, 0x2906, 0x2908, 0x290C, 0x290E,
    0x2910, 0x2912, 0x2914, 0x183A, 0x181E, 0x1820, 0x0910, 0x0912, 0x3B48, 0x2884};

uint32_t FirmwareVersionOf(const std::string& text, uint32_t* model) {
  SimConfig config;
  config.firmware = text;
  config.realTime = false;
  SimPowerOn(config);
  EXPECT_EQ(VKR_InitLowLevelAPI(""), VKR_OK);
  uint32_t version = 0xDEAD;
  VKR_GetFirmwareVersion(&version);
  VKR_GetHardwareModel(model);
  VKR_FreeLowLevelAPI(0);
  return version;
}

TEST_F(SimTest, FirmwareVersionGivesVersionAndModel) {
  uint32_t model = 0;
  EXPECT_EQ(FirmwareVersionOf("4.1.0", &model), 0x040100u);
  EXPECT_EQ(model, 0x100u);
  EXPECT_EQ(FirmwareVersionOf("3.0.3", &model), 0x030003u);
  EXPECT_EQ(model, 0u);
  EXPECT_EQ(FirmwareVersionOf("4.0.0", &model), 0x040000u);
  EXPECT_EQ(model, 0x100u);
  EXPECT_EQ(FirmwareVersionOf("2.1", &model), 0x020100u);  // missing fields count as 0
  EXPECT_EQ(FirmwareVersionOf("", &model), 0u);            // no version file
  EXPECT_EQ(model, 0u);
}

TEST_F(SimTest, InputProbeStopsAtTheFirstMissingDevice) {
  SimConfig config;
  config.inputDeviceMask = 0b0101;  // devices 0 and 2, not 1
  PowerOn(config);
  ASSERT_EQ(Start(), VKR_OK);
  uint16_t type, code;
  int32_t value;
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_NO_EVENT);
  for (uint16_t device = 1; device <= 3; ++device)
    EXPECT_EQ(VKR_GetHIDEvent(device, &type, &code, &value), VKR_HID_NOT_AVAILABLE) << device;
  EXPECT_EQ(SimOpenDescriptors(), 3u);  // memory, touch screen, event device 0
  EXPECT_EQ(VKR_HIDDetection(0), VKR_OK);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_NOT_AVAILABLE);
  EXPECT_EQ(SimOpenDescriptors(), 2u);
  EXPECT_EQ(VKR_HIDDetection(1), VKR_OK);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_NO_EVENT);
  config.faults = SIM_FAULT_NO_INPUT;
  PowerOn(config);
  ASSERT_EQ(Start(), VKR_OK);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_NOT_AVAILABLE);
}

TEST_F(SimTest, DisplayModeLeftByTheFirmware) {
  const std::pair<SimTV, uint32_t> cases[] = {{SimTV::Lcd, 0}, {SimTV::Ntsc, 5}, {SimTV::Pal, 19}};
  for (const auto& [tv, expected] : cases) {
    SimConfig config;
    config.tv = tv;
    PowerOn(config);
    ASSERT_EQ(Start(), VKR_OK);
    uint32_t mode = 99;
    int depth = 0;
    EXPECT_EQ(VKR_GetDisplayMode(&mode, &depth), VKR_OK);
    EXPECT_EQ(mode, expected);
    EXPECT_EQ(depth, 16);
    VKR_FreeLowLevelAPI(0);
  }
  EXPECT_EQ(SimPeekReg16(GP2X_DPC_Y_MAX), 287);  // PAL: bit 8 of the control register, 287 lines
  EXPECT_TRUE(SimPeekReg16(GP2X_DPC_CNTL) & 0x0100);
}

TEST_F(SimTest, TeardownRestoresEverySavedRegister) {
  std::array<uint16_t, kSavedHalfwords.size()> before{};
  for (size_t n = 0; n < before.size(); ++n) before[n] = SimPeekReg16(kSavedHalfwords[n]);
  ASSERT_EQ(Start(), VKR_OK);
  EXPECT_EQ(SimPeekReg16(GP2X_COMCLKENREG), 0xFFFF);
  EXPECT_EQ(SimPeekReg16(GP2X_SYSCLKENREG), before[0] | 0x0400);
  EXPECT_EQ(SimPeekReg16(GP2X_MLC_YUV_CNTL), 0);
  // What the library changes while it runs: a clock, the display, the start address halves.
  EXPECT_EQ(VKR_SetCPUClock(100), VKR_OK);
  for (uint32_t offset : kSavedHalfwords)
    if (offset != GP2X_MLC_YUV_CNTL) VKR_WriteMemRegister(offset, 0x5A5A);
  EXPECT_EQ(VKR_FreeLowLevelAPI(0), VKR_OK);
  for (size_t n = 0; n < before.size(); ++n) {
    if (kSavedHalfwords[n] == GP2X_MLC_YUV_CNTL || kSavedHalfwords[n] == GP2X_DUALCTRL940) continue;
    EXPECT_EQ(SimPeekReg16(kSavedHalfwords[n]), before[n]) << std::hex << kSavedHalfwords[n];
  }
  EXPECT_EQ(SimPeekReg16(GP2X_MLC_YUV_CNTL), 0);                       // cleared, not restored
  EXPECT_EQ(SimPeekReg16(GP2X_DUALCTRL940), GP2X_DUALCTRL940_HOLD);    // second core held
  EXPECT_EQ(SimMappedWindows(), 0u);
  EXPECT_EQ(SimOpenDescriptors(), 0u);
  EXPECT_FALSE(SimLauncher().started);
}

TEST_F(StartedSimTest, TeardownTwiceOrWithoutStartTouchesNothing) {
  EXPECT_EQ(VKR_FreeLowLevelAPI(0), VKR_OK);
  const uint64_t accesses = SimAccessCount();
  SimPokeReg16(GP2X_DUALCTRL940, GP2X_DUALCTRL940_RUN);
  EXPECT_EQ(VKR_FreeLowLevelAPI(1), VKR_OK);
  EXPECT_EQ(SimAccessCount(), accesses);
  EXPECT_EQ(SimPeekReg16(GP2X_DUALCTRL940), GP2X_DUALCTRL940_RUN);
  EXPECT_FALSE(SimLauncher().started);
  // Every operation afterwards answers the error or does nothing.
  uint32_t word = 0;
  uint16_t level = 0;
  EXPECT_EQ(VKR_GetGP2XInputState(&word), VKR_ERROR);
  EXPECT_EQ(VKR_GetTime(&word), VKR_ERROR);
  EXPECT_EQ(VKR_DelayMS(100), VKR_ERROR);
  EXPECT_EQ(VKR_WaitVSync(), VKR_ERROR);
  EXPECT_EQ(VKR_ReadMemRegister(0x1184, &level), VKR_ERROR);
  EXPECT_EQ(VKR_SetCPUClock(200), VKR_ERROR);
  // The record writers check their arguments first, as the desktop's do.
  EXPECT_EQ(VKR_WriteOSDHeader(0, 0x800000, 0, 0, 9, 9, 3, 0, 0, 0, 15, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteOSDHeader(0, 0x800000, 0, 0, 9, 9, 8, 0, 0, 0, 15, 0), VKR_ERROR);
  EXPECT_EQ(VKR_WriteSPUBaseCmd(0x7FFFF0, 0, 0, 0, 0, 0, 9, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteSPUHighlightInfo(0, 0, 0, 9, 9, 0, 0), VKR_ERROR);
  EXPECT_EQ(SimAccessCount(), accesses);
}

TEST_F(StartedSimTest, ReturnToLauncherRunsTheMenuFromItsFolder) {
  EXPECT_EQ(VKR_FreeLowLevelAPI(1), VKR_OK);
  const SimLauncherRecord& launcher = SimLauncher();
  EXPECT_TRUE(launcher.started);
  EXPECT_EQ(launcher.path, "/usr/gp2x/gp2xmenu");
  EXPECT_EQ(launcher.argv, std::vector<std::string>{"/usr/gp2x/gp2xmenu"});
  EXPECT_EQ(launcher.directory, "/usr/gp2x");
}

TEST_F(SimTest, StartUpFailureAnswersErrorAndLeavesNothingOpen) {
  const uint32_t faults[] = {SIM_FAULT_DEV_MEM, SIM_FAULT_MAP_VIDEO};
  const char* devices[] = {"/dev/mem", "video memory"};
  for (size_t n = 0; n < std::size(faults); ++n) {
    SimConfig config;
    config.faults = faults[n];
    PowerOn(config);
    const uint16_t clockEnables = SimPeekReg16(GP2X_COMCLKENREG);
    std::vector<SimAccess> accesses;
    SimSetAccessLog(&accesses);
    EXPECT_EQ(Start(), VKR_ERROR);
    SimSetAccessLog(nullptr);
    for (const SimAccess& access : accesses)  // the registers were only read
      EXPECT_FALSE(access.write) << std::hex << access.offset;
    EXPECT_NE(std::string(VKR_GetStartUpError()).find(devices[n]), std::string::npos)
        << VKR_GetStartUpError();
    EXPECT_EQ(SimMappedWindows(), 0u);
    EXPECT_EQ(SimOpenDescriptors(), 0u);
    EXPECT_EQ(SimPeekReg16(GP2X_COMCLKENREG), clockEnables);  // nothing written
    uint8_t* base = reinterpret_cast<uint8_t*>(1);
    EXPECT_EQ(VKR_GetVideoBasePtr(&base), VKR_ERROR);
    EXPECT_EQ(base, nullptr);
    EXPECT_EQ(VKR_FreeLowLevelAPI(1), VKR_OK);
    EXPECT_FALSE(SimLauncher().started);
  }
  // A later start on a sound console succeeds.
  PowerOn(SimConfig{});
  EXPECT_EQ(Start(), VKR_OK);
  EXPECT_STREQ(VKR_GetStartUpError(), "");
  EXPECT_EQ(SimMappedWindows(), 4u);
}

TEST_F(StartedSimTest, StartingAgainRestoresFirst) {
  VKR_WriteMemRegister(GP2X_DPC_X_MAX, 1);
  ASSERT_EQ(Start(), VKR_OK);
  VKR_FreeLowLevelAPI(0);
  EXPECT_EQ(SimPeekReg16(GP2X_DPC_X_MAX), 319);
}

}  // namespace

namespace {

uint32_t g_framesHooked = 0;
void CountFrame(void*) { ++g_framesHooked; }

}  // namespace

// The console powers on only when asked, and each power-on is a new console: nothing of the run
// before (time, frames, captions, offences, hooks, registers) is left.
TEST(SimPower, NothingAnswersUntilPowerOnAndEachPowerOnIsANewConsole) {
  SimPowerOff();
  EXPECT_EQ(VKR_InitLowLevelAPI(""), VKR_ERROR);
  EXPECT_EQ(SimMappedWindows(), 0u);
  EXPECT_EQ(SimAccessCount(), 0u);

  SimConfig config;
  config.realTime = false;
  config.tv = SimTV::Ntsc;
  SimPowerOn(config);
  ASSERT_EQ(VKR_InitLowLevelAPI(""), VKR_OK);
  SimSetFrameHook(CountFrame, nullptr);
  ASSERT_EQ(VKR_WriteCloseCaption(0x942C), VKR_OK);
  VKR_OutCX25874(0x5E, 0x04);  // an offence
  SimAdvanceNs(100000000);
  ASSERT_GT(g_framesHooked, 0u);
  ASSERT_EQ(SIM_CX25874_CaptionCount(), 1u);
  ASSERT_EQ(SimStrictOffences(), 1u);
  VKR_FreeLowLevelAPI(0);

  SimPowerOn(config);
  EXPECT_EQ(SimNowNs(), 0u);
  EXPECT_EQ(SimFramesBegun(), 0u);
  EXPECT_EQ(SimAccessCount(), 0u);
  EXPECT_EQ(SIM_CX25874_CaptionCount(), 0u);
  EXPECT_EQ(SIM_CX25874_Register(0x5E), 0x30);
  EXPECT_EQ(SimStrictOffences(), 0u);
  const uint32_t hooked = g_framesHooked;
  SimAdvanceNs(100000000);
  EXPECT_EQ(g_framesHooked, hooked);  // the hook went with the console it was set on
  SimPowerOff();
}
