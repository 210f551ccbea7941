// Buttons, input devices, touch screen, the millisecond clock and the system controls of the
// hardware back end, driven through the simulated console's lines and devices.
#include <vector>

#include "sim_fixture.h"
#include "vkr_gp2xAccess.h"

namespace {

using InputTest = StartedSimTest;

uint32_t InputWord() {
  uint32_t word = 0xDEADBEEF;
  EXPECT_EQ(VKR_GetGP2XInputState(&word), VKR_OK);
  return word;
}

TEST_F(SimTest, ButtonWordOfTheFirstModel) {
  SimConfig config;
  config.firmware = "3.0.3";
  PowerOn(config);
  ASSERT_EQ(Start(), VKR_OK);
  EXPECT_EQ(InputWord(), 0u);
  SimSetButtons(VKR_BUTTON_A);
  EXPECT_EQ(InputWord(), 0x1000u);
  // Every button on its own line gives its own bit, diagonals and stick included.
  for (uint32_t bit = 0; bit < 19; ++bit) {
    SimSetButtons(1u << bit);
    EXPECT_EQ(InputWord(), 1u << bit) << bit;
  }
  SimSetButtons(VKR_BUTTON_VOLUME_DOWN | VKR_BUTTON_VOLUME_UP);
  EXPECT_EQ(InputWord(), 0x30000u);
  EXPECT_EQ(VKR_GetGP2XInputState(nullptr), VKR_BAD_ARGUMENT);
}

TEST_F(InputTest, SecondModelReportsNeitherDiagonalsNorStick) {
  SimSetButtons(0x7FFFF);
  EXPECT_EQ(InputWord(), 0x7FFFFu & ~0x400AAu);
  SimSetButtons(VKR_BUTTON_UP_LEFT | VKR_BUTTON_STICK | VKR_BUTTON_START);
  EXPECT_EQ(InputWord(), VKR_BUTTON_START);
}

TEST_F(InputTest, KeyboardEventsOneAtATime) {
  uint16_t type = 0, code = 0;
  int32_t value = 0;
  EXPECT_EQ(VKR_GetHIDEvent(4, &type, &code, &value), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetHIDEvent(0, nullptr, &code, &value), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetHIDEvent(1, &type, &code, &value), VKR_HID_NOT_AVAILABLE);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_NO_EVENT);
  SimQueueInputEvent(0, 1, 30, 1);
  SimQueueInputEvent(0, 1, 30, 0);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_EVENT);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(code, 30);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_EVENT);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, &value), VKR_HID_NO_EVENT);
}

TEST_F(InputTest, TouchScreenNeverWaitsAndNeverReportsHalfARecord) {
  uint16_t x = 7, y = 7, pressure = 7;
  EXPECT_EQ(VKR_GetTouchScreen(nullptr, &y, &pressure), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetTouchScreen(&x, &y, &pressure), VKR_HID_NO_EVENT);  // nothing waiting
  SimQueueTouchBytes({0x10, 0x00, 0x20, 0x00});                       // a short read
  EXPECT_EQ(VKR_GetTouchScreen(&x, &y, &pressure), VKR_HID_NO_EVENT);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(pressure, 7);
  SimQueueTouch(900, 160, 120);
  EXPECT_EQ(VKR_GetTouchScreen(&x, &y, &pressure), VKR_OK);
  EXPECT_EQ(x, 160);
  EXPECT_EQ(y, 120);
  EXPECT_EQ(pressure, 900);
}

TEST_F(SimTest, TouchScreenMissingAnswersNotSupported) {
  SimConfig config;
  config.faults = SIM_FAULT_NO_TOUCH;
  PowerOn(config);
  ASSERT_EQ(Start(), VKR_OK);
  uint16_t x, y, pressure;
  EXPECT_EQ(VKR_GetTouchScreen(&x, &y, &pressure), VKR_NOT_SUPPORTED);
}

TEST_F(InputTest, ClockNeverRunsBackAndCorrectsTheWrap) {
  uint32_t now = 0;
  SimSetTimerCount(7373u * 5000);
  EXPECT_EQ(VKR_GetTime(&now), VKR_OK);
  EXPECT_EQ(now, 5000u);
  SimSetTimerCount(7373u * 4500);
  VKR_GetTime(&now);
  EXPECT_EQ(now, 5000u);
  SimSetTimerCount(7373u * 500000);
  VKR_GetTime(&now);
  EXPECT_EQ(now, 500000u);
  SimSetTimerCount(7373u * 10);
  VKR_GetTime(&now);
  EXPECT_EQ(now, 10u + 582527u);
  EXPECT_EQ(VKR_GetTime(nullptr), VKR_BAD_ARGUMENT);
}

uint32_t TimeAfterOtherAccess() {
  uint32_t word = 0, now = 0;
  VKR_GetGP2XInputState(&word);
  VKR_GetTime(&now);
  return now;
}

// A program timing a short stretch by reading the clock sees the console's own time: a read costs
// one access (50 ns), however many come in a row; only the back end's own waits jump.
TEST_F(InputTest, ThreeTimerReadsInARowCostThreeAccesses) {
  uint32_t word = 0, times[3] = {};
  VKR_GetGP2XInputState(&word);
  const uint64_t startNs = SimNowNs();
  const uint64_t accesses = SimAccessCount();
  for (uint32_t& now : times) ASSERT_EQ(VKR_GetTime(&now), VKR_OK);
  EXPECT_EQ(SimAccessCount() - accesses, 3u);
  EXPECT_EQ(SimNowNs() - startNs, 150u);
  EXPECT_EQ(times[2], times[0]);
}

TEST_F(InputTest, DelaysAndFrameTimeRunOnTheTimer) {
  const uint32_t before = TimeAfterOtherAccess();
  const uint64_t startNs = SimNowNs();
  EXPECT_EQ(VKR_DelayMS(250), VKR_OK);
  const uint32_t after = TimeAfterOtherAccess();
  EXPECT_EQ(after - before, 250u);
  EXPECT_LT(SimNowNs() - startNs, 251000000u);  // the poll jumped, not crawled
  // A wait that crosses the timer's wrap still ends.
  SimSetTimerCount(0xFFFFFFFFu - 7373u * 3);
  EXPECT_EQ(VKR_DelayMS(10), VKR_OK);

  uint32_t frameTime = 99, count = 0, word = 0;
  EXPECT_EQ(VKR_ResetFrameTime(), VKR_OK);
  VKR_GetGP2XInputState(&word);
  EXPECT_EQ(VKR_GetFrameTime(&frameTime), VKR_OK);
  EXPECT_EQ(frameTime, 0u);
  VKR_GetFrameCount(&count);
  EXPECT_EQ(count, 1u);
  VKR_GetGP2XInputState(&word);
  VKR_DelayMS(40);
  VKR_GetGP2XInputState(&word);
  VKR_GetFrameTime(&frameTime);
  EXPECT_EQ(frameTime, 40u);
  VKR_GetFrameCount(&count);
  EXPECT_EQ(count, 2u);
}

TEST_F(InputTest, VerticalBlankPacesFramesAtTheFramePeriod) {
  uint32_t times[4];
  VKR_DelayMS(3);
  for (uint32_t& time : times) {
    VKR_WaitVSync();
    VKR_GetTime(&time);
  }
  for (int n = 1; n < 4; ++n) EXPECT_EQ(times[n] - times[n - 1], 20u);
  EXPECT_EQ(VKR_WaitHSync(), VKR_OK);
  EXPECT_EQ(VKR_WaitVSync2(), VKR_OK);
  EXPECT_EQ(VKR_WaitHSync2(), VKR_OK);
}

TEST_F(SimTest, BatteryLedOnTheFirstModelOnly) {
  EXPECT_EQ(Start(), VKR_OK);
  EXPECT_EQ(VKR_GetBatteryLEDState(), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_SetBatteryLEDState(1), VKR_NOT_SUPPORTED);
  VKR_FreeLowLevelAPI(0);
  SimConfig config;
  config.firmware = "2.1.1";
  PowerOn(config);
  ASSERT_EQ(Start(), VKR_OK);
  EXPECT_EQ(VKR_GetBatteryLEDState(), VKR_LED_OFF);
  EXPECT_EQ(VKR_SetBatteryLEDState(1), VKR_OK);
  EXPECT_EQ(VKR_GetBatteryLEDState(), VKR_LED_ON);
  EXPECT_EQ(SimPeekReg16(GP2X_GPIOHOUT) & 0x10, 0);
  EXPECT_EQ(VKR_SetBatteryLEDState(0), VKR_OK);
  EXPECT_EQ(VKR_GetBatteryLEDState(), VKR_LED_OFF);
}

TEST_F(InputTest, CpuClockThroughThePll) {
  int mhz = 0;
  EXPECT_EQ(VKR_GetCPUClock(&mhz), VKR_OK);
  EXPECT_EQ(mhz, 199);
  SimPokeReg16(GP2X_SYSCSETREG, 0x0203);
  EXPECT_EQ(VKR_SetCPUClock(200), VKR_OK);
  EXPECT_EQ(SimPeekReg16(GP2X_FPLLSETVREG), 0x4904);
  EXPECT_EQ(SimPeekReg16(GP2X_SYSCSETREG), 0x0200);  // dividers to 1
  EXPECT_EQ(VKR_GetCPUClock(&mhz), VKR_OK);
  EXPECT_EQ(mhz, 199);
  EXPECT_EQ(VKR_SetCPUClock(20), VKR_OK);
  EXPECT_EQ(SimPeekReg16(GP2X_FPLLSETVREG), 0x0004);
  EXPECT_EQ(VKR_SetCPUClock(648), VKR_OK);
  EXPECT_EQ(SimPeekReg16(GP2X_FPLLSETVREG), 0xFF04);
  VKR_GetCPUClock(&mhz);
  EXPECT_EQ(mhz, 646);
  // Multipliers that do not fit eight bits are refused, nothing written.
  for (uint32_t request : {0u, 19u, 649u, 100000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(VKR_SetCPUClock(request), VKR_BAD_ARGUMENT) << request;
    EXPECT_EQ(SimPeekReg16(GP2X_FPLLSETVREG), 0xFF04) << request;
  }
}

TEST_F(InputTest, SdCardConverterAndRawRegisters) {
  EXPECT_EQ(VKR_GetSDState(), 8u);
  SimSetSDCard(SimSDCard::WriteProtected);
  EXPECT_EQ(VKR_GetSDState(), 9u);
  SimSetSDCard(SimSDCard::Absent);
  EXPECT_EQ(VKR_GetSDState(), 7u);

  uint16_t level = 0;
  SimSetConverter(0, 0x2FF);
  SimSetConverter(3, 0x155);
  EXPECT_EQ(VKR_GetPowerState(&level), VKR_OK);
  EXPECT_EQ(level, 0x2FF);
  EXPECT_EQ(VKR_GetADCValue(3, &level), VKR_OK);
  EXPECT_EQ(level, 0x155);
  EXPECT_EQ(SimPeekReg16(GP2X_ADC_CHANNEL), 3 << 9);
  EXPECT_EQ(VKR_GetPowerState(nullptr), VKR_BAD_ARGUMENT);

  SimSetButtons(VKR_BUTTON_B);
  EXPECT_EQ(VKR_ReadMemRegister(0x11185, &level), VKR_OK);  // the register at 0x1184
  EXPECT_EQ(level, 0xDFFF);
  EXPECT_EQ(VKR_WriteMemRegister(0x12345, 0xBEEF), VKR_OK);  // lands at 0x2344
  EXPECT_EQ(SimPeekReg16(0x2344), 0xBEEF);
  EXPECT_EQ(VKR_SaveOnDisk(1, "frame"), VKR_NOT_SUPPORTED);
}

}  // namespace

// The simulated ports' wiring against the console's, written out here: the pin-level registers and
// bits each button and the SD card's lines reach (low while a button is held).
TEST_F(SimTest, ButtonsAndTheSDCardReachTheConsolesPins) {
  struct Line {
    uint32_t bit, levels;  // input-word bit; pin-level register
    uint16_t pin;
  };
  std::vector<Line> lines;
  for (uint32_t bit = 0; bit < 8; ++bit) lines.push_back({bit, 0x1198, uint16_t(1u << bit)});
  for (uint32_t bit = 8; bit < 16; ++bit) lines.push_back({bit, 0x1184, uint16_t(1u << bit)});
  lines.push_back({16, 0x1186, 0x0040});  // volume down
  lines.push_back({17, 0x1186, 0x0080});  // volume up
  lines.push_back({18, 0x1186, 0x0800});  // stick press
  for (const Line& held : lines) {
    SimSetButtons(1u << held.bit);
    for (const Line& line : lines) {
      const bool low = (GP2X_ReadReg16(line.levels) & line.pin) == 0;
      EXPECT_EQ(low, line.bit == held.bit) << "button " << held.bit << ", line of " << line.bit;
    }
  }
  SimSetButtons(0);
  SimSetSDCard(SimSDCard::Absent);
  EXPECT_NE(GP2X_ReadReg16(0x1190) & 0x4000, 0);
  SimSetSDCard(SimSDCard::Present);
  EXPECT_EQ(GP2X_ReadReg16(0x1190) & 0x4000, 0);
  EXPECT_EQ(GP2X_ReadReg16(0x1186) & 0x0004, 0);
  SimSetSDCard(SimSDCard::WriteProtected);
  EXPECT_EQ(GP2X_ReadReg16(0x1190) & 0x4000, 0);
  EXPECT_NE(GP2X_ReadReg16(0x1186) & 0x0004, 0);
}
