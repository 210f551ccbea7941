// The simulated console as a judge of the encoder's bus and control lines: the back end's own
// transport and output switch pass clean, and transports with a fault planted (a copy of the back
// end's bit-banging here, one fault a flag) are each named.
#include <gtest/gtest.h>

#include <string>

#include "sim.h"
#include "sim_cx25874.h"
#include "tv_console.h"
#include "vkr_gp2xAccess.h"
#include "vkr_gp2xBusyWait.h"
#include "vkr_gp2xRegisters.h"
#include "vkr_gp2xTVEncoder.h"
#include "vkr_lowLevel.h"

namespace {

// The faults a back end's transport may have.
struct Plant {
  bool noDelays = false;          // every delay unit removed
  bool keepSDAForAck = false;     // SDA stays driven through the acknowledge clock
  bool driveSDAInRead = false;    // SDA driven high through a read's data bits
};

// The back end's transfer, step for step, with the planted faults.
class PlantedTransport {
 public:
  explicit PlantedTransport(Plant plant) : plant_(plant) {}

  void Write(uint8_t reg, uint8_t value) {
    Begin();
    SendAndAcknowledge(0x8A);
    Drive();
    SendAndAcknowledge(reg);
    Drive();
    SendAndAcknowledge(value);
    Wait(1);
    Set(kSCL);
    Wait(1);
    Set(kSDA);
    Function(kSDAField | kSCLField, 0);
  }

  uint8_t Read(uint8_t reg) {
    Begin();
    SendAndAcknowledge(0x8A);
    Drive();
    SendAndAcknowledge(reg);
    Clear(kSDA);
    Drive();
    Wait(1);
    Set(kSCL);
    Wait(1);
    Set(kSDA);
    Wait(3);
    Clear(kSDA);
    Wait(1);
    Clear(kSCL);
    SendAndAcknowledge(0x8B);
    if (plant_.driveSDAInRead) {
      Set(kSDA);
      Drive();
    }
    uint8_t byte = 0;
    for (int bit = 7; bit >= 0; --bit) {
      Wait(1);
      Set(kSCL);
      if (GP2X_ReadReg16(GP2X_GPIOBPINLVL) & kSDA) byte = static_cast<uint8_t>(byte | 1 << bit);
      Wait(1);
      Clear(kSCL);
    }
    Set(kSDA);
    Drive();
    Wait(1);
    Set(kSCL);
    Wait(1);
    Clear(kSCL);
    Clear(kSDA);
    return byte;
  }

 private:
  static constexpr uint16_t kSDA = 1, kSCL = 2, kSDAField = 3, kSCLField = 0xC;

  void Wait(uint32_t units) {
    if (!plant_.noDelays) GP2X_DelayLoop(200 * units);
  }
  static void Set(uint16_t line) { GP2X_SetBits16(GP2X_GPIOBOUT, line); }
  static void Clear(uint16_t line) { GP2X_ClearBits16(GP2X_GPIOBOUT, line); }
  static void Function(uint16_t field, uint16_t drive) {
    const uint16_t function = GP2X_ReadReg16(GP2X_GPIOBALTFNLOW);
    GP2X_WriteReg16(GP2X_GPIOBALTFNLOW, static_cast<uint16_t>((function & ~field) | drive));
  }
  static void Drive() { Function(kSDAField, 1); }

  void Begin() {
    Set(kSDA | kSCL);
    Function(kSCLField, 4);
    Drive();
    Wait(1);
    Clear(kSCL);
    Clear(kSDA);
    Wait(1);
    Set(kSCL);
    Wait(1);
    Set(kSDA);
    Wait(3);
    Clear(kSDA);
    Wait(1);
    Clear(kSCL);
  }

  void SendAndAcknowledge(uint8_t byte) {
    for (int bit = 7; bit >= 0; --bit) {
      if (byte >> bit & 1) Set(kSDA);
      else Clear(kSDA);
      Wait(1);
      Set(kSCL);
      Wait(1);
      Clear(kSCL);
    }
    if (!plant_.keepSDAForAck) Function(kSDAField, 0);
    Wait(1);
    Set(kSCL);
    Wait(1);
    Clear(kSCL);
  }

  Plant plant_;
};

class StrictJudge : public ::testing::Test {
 protected:
  void TearDown() override { TVConsole_PowerOff(); }

  // The first offence, or empty.
  static std::string Offence() { return SimStrictOffences() ? SimFirstOffence() : std::string(); }
  static void ExpectOffence(const char* part) {
    EXPECT_NE(Offence().find(part), std::string::npos) << "offence: " << Offence();
  }
};

}  // namespace

TEST_F(StrictJudge, TheBackEndsTransfersAndOutputSwitchesAreClean) {
  TVConsole_PowerOn(SimTV::Lcd, 0);
  ASSERT_EQ(VKR_SetDisplayMode(5, 16), VKR_OK);  // LCD to NTSC: LCD line, reset pulse, reset, set
  uint8_t value = 0;
  EXPECT_EQ(VKR_InCX25874(0x5E, &value), VKR_OK);
  EXPECT_EQ(VKR_OutCX25874(0x5E, static_cast<uint8_t>((value & 0xF0) | 4)), VKR_OK);
  EXPECT_EQ(SIM_CX25874_Register(0x5E), 0x34);
  EXPECT_EQ(VKR_SetDisplayMode(19, 16), VKR_OK);  // to PAL
  EXPECT_EQ(VKR_WriteCloseCaption(0x942C), VKR_OK);
  EXPECT_EQ(VKR_SetDisplayMode(0, 16), VKR_OK);  // back to the LCD: reset, then the LCD line
  EXPECT_EQ(Offence(), "");
}

TEST_F(StrictJudge, ADelayLoopCostsItsCyclesAndTheBusKeepsItsPaceAtAnyClock) {
  TVConsole_PowerOn(SimTV::Ntsc, 5);
  uint64_t before = SimNowNs();
  GP2X_DelayLoop(30);
  EXPECT_EQ(SimNowNs() - before, 1508u);  // 300 cycles at the firmware's 199.07 MHz
  before = SimNowNs();
  ASSERT_EQ(VKR_OutCX25874(0xD0, 0x4A), VKR_OK);
  const uint64_t at200 = SimNowNs() - before;
  ASSERT_EQ(VKR_SetCPUClock(100), VKR_OK);
  before = SimNowNs();
  GP2X_DelayLoop(30);
  EXPECT_GT(SimNowNs() - before, 3000u);
  before = SimNowNs();
  ASSERT_EQ(VKR_OutCX25874(0xD0, 0x4B), VKR_OK);
  const uint64_t at100 = SimNowNs() - before;
  EXPECT_NEAR(static_cast<double>(at100) / static_cast<double>(at200), 1.0, 0.05);
  EXPECT_EQ(Offence(), "");
}

TEST_F(StrictJudge, APlantedTransportFaultIsNamed) {
  struct Case {
    Plant plant;
    bool read;
    const char* offence;
  };
  const Case cases[] = {
      {{.driveSDAInRead = true}, true, "port B bit 0 driven high by the port while a device holds it low"},
      {{.keepSDAForAck = true}, false, "driven by the port through the encoder's acknowledge"},
      {{.noDelays = true}, false, "encoder bus: stop set-up 0.10 us, under its 0.6 us"},
  };
  for (const Case& c : cases) {
    TVConsole_PowerOn(SimTV::Ntsc, 5);
    PlantedTransport transport(c.plant);
    if (c.read) transport.Read(0x02);
    else transport.Write(0xD0, 0x4A);
    ExpectOffence(c.offence);
  }
  TVConsole_PowerOn(SimTV::Ntsc, 5);
  PlantedTransport sound({});
  sound.Write(0xD0, 0x4A);
  EXPECT_EQ(sound.Read(0xD0), 0x4A);
  EXPECT_EQ(Offence(), "");
}

TEST_F(StrictJudge, SDADrivenHighThroughAReadFightsTheEncoderAndReadsWhatThePortDrives) {
  TVConsole_PowerOn(SimTV::Ntsc, 5);
  PlantedTransport transport({.driveSDAInRead = true});
  EXPECT_EQ(transport.Read(0x8C), 0xFF);  // 0x43 on the encoder's side
  EXPECT_GE(SimStrictOffences(), 2u);      // the port's fight and the encoder's ownership
}

TEST_F(StrictJudge, APlainWriteOverTheBitsToKeepIsNamed) {
  TVConsole_PowerOn(SimTV::Ntsc, 5);
  EXPECT_EQ(SIM_CX25874_Register(0x5E), 0x30);
  EXPECT_EQ(SIM_CX25874_Register(0xC4), 0x81);
  VKR_OutCX25874(0x5E, 0x04);
  ExpectOffence("encoder register 0x5E written 0x04 over 0x30");
}

TEST_F(StrictJudge, ControlLineSequencesOutOfOrderOrShortAreNamed) {
  struct Case {
    uint16_t clearFirst, clearSecond;  // the lines cleared, in this order
    uint32_t lowMs;                    // then the reset line low for this long
    const char* offence;
  };
  const Case cases[] = {
      {GP2X_GPIOB_LCD, 0, 0, "before the encoder's reset line (bit 3) was pulsed"},
      {GP2X_GPIOB_LCD, GP2X_GPIOB_ENCODER, 0, "low under 1 ms"},
      {GP2X_GPIOB_ENCODER, GP2X_GPIOB_LCD, 1, "pulled low while the LCD line (bit 2) is still set"},
  };
  for (const Case& c : cases) {
    TVConsole_PowerOn(SimTV::Lcd, 0);
    GP2X_ClearBits16(GP2X_GPIOBOUT, c.clearFirst);
    if (c.clearSecond) GP2X_ClearBits16(GP2X_GPIOBOUT, c.clearSecond);
    VKR_DelayMS(c.lowMs);
    GP2X_SetBits16(GP2X_GPIOBOUT, GP2X_GPIOB_ENCODER);
    VKR_DelayMS(1);
    VKR_OutCX25874(CX25874_RESET, CX25874_RESET_ALL);
    ExpectOffence(c.offence);
  }
  // Back to the LCD without the 10 ms after the reset.
  TVConsole_PowerOn(SimTV::Ntsc, 5);
  VKR_OutCX25874(CX25874_RESET, CX25874_RESET_ALL);
  GP2X_SetBits16(GP2X_GPIOBOUT, GP2X_GPIOB_LCD);
  ExpectOffence("LCD line (port B bit 2) set under 10 ms after the encoder's reset");
}

TEST_F(StrictJudge, StrictModeEndsTheProgramAtTheFirstOffence) {
  // The console runs no thread of its own: the child is forked without an exec (which an emulated
  // ARM's runner could not do).
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(
      {
        SimConfig config;
        config.tv = SimTV::Ntsc;
        config.strict = true;
        TVConsole_PowerOnWith(config, 5);
        VKR_OutCX25874(0x5E, 0x04);
        VKR_OutCX25874(0xC4, 0x18);
      },
      ::testing::ExitedWithCode(SIM_STRICT_EXIT_STATUS),
      "strict: encoder register 0x5E written 0x04 over 0x30: bits 0xF0 are to be kept at [0-9]+ us");
}
