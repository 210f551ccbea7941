// The encoder's two-wire transfers, the output switching and the caption hand-over on the simulated
// console, checked by its encoder, which decodes the transfers from the line levels alone.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "caption_fixture.h"
#include "vkr_gp2xRegisters.h"
#include "vkr_gp2xState.h"
#include "vkr_gp2xTVEncoder.h"

using Writes = std::vector<std::string>;

namespace {

Writes SetWrites(const char* const* values) {
  static const char* const kRegisters[] = {
      "38", "76", "78", "7A", "7C", "7E", "80", "82", "84", "86", "88", "8A",
      "8C", "8E", "90", "92", "94", "96", "98", "9A", "9C", "9E", "A0", "A2",
      "A4", "A6", "A8", "AA", "AC", "AE", "B0", "B2", "B4", "C6", "C8", "6C"};
  Writes writes;
  for (int i = 0; i < 36; ++i) writes.push_back(std::string(kRegisters[i]) + "=" + values[i]);
  return writes;
}

const char* const kPAL[] = {"10", "C0", "D0", "7E", "98", "54", "15", "17", "20", "A6", "FA", "60",
                            "28", "13", "38", "16", "20", "35", "00", "40", "00", "00", "8C", "24",
                            "F0", "59", "CF", "93", "A4", "CB", "8A", "09", "2A", "06", "C0", "C6"};
const char* const kNTSC[] = {"10", "B4", "D0", "7E", "90", "58", "03", "14", "F0", "26", "15", "5A",
                             "28", "13", "06", "13", "F0", "31", "00", "40", "00", "00", "8C", "0A",
                             "E5", "76", "C1", "89", "9A", "1F", "7C", "F0", "21", "06", "C0", "C6"};

Writes Concat(Writes a, const Writes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST_F(CaptionTest, WriteAndReadBackARegisterLeavingBothLinesReleasedOrIdle) {
  ASSERT_EQ(VKR_OutCX25874(0x5E, 0x37), VKR_OK);
  EXPECT_EQ(SimPeekReg16(0x1022) & 0xF, 0);  // both lines released after a write
  uint8_t value = 0;
  ASSERT_EQ(VKR_InCX25874(0x5E, &value), VKR_OK);
  EXPECT_EQ(value, 0x37);
  ASSERT_EQ(VKR_InCX25874(0x8C, &value), VKR_OK);  // the firmware's NTSC set is in place
  EXPECT_EQ(value, 0x43);
  EXPECT_EQ(TVConsole_Trace(), (Writes{"ENC W 0x5E 0x37", "ENC R 0x5E 0x37", "ENC R 0x8C 0x43"}));
  // A read ends with both lines driven low; the next write still starts cleanly.
  EXPECT_EQ(SimPeekReg16(0x1022) & 0xF, 0x5);
  EXPECT_EQ(VKR_OutCX25874(0xD0, 0x4A), VKR_OK);
  EXPECT_EQ(SIM_CX25874_Register(0xD0), 0x4A);
}

TEST_F(CaptionTest, ReadIntoNullTouchesNoLine) {
  const uint64_t before = SimAccessCount();
  EXPECT_EQ(VKR_InCX25874(0x02, nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(SimAccessCount(), before);
}

TEST_F(CaptionTest, BeforeStartUpNothingReachesTheBus) {
  TVConsole_PowerOff();
  const uint64_t accesses = SimAccessCount();
  uint8_t value = 0x5A;
  EXPECT_EQ(VKR_OutCX25874(0x8C, 0x43), VKR_ERROR);
  EXPECT_EQ(VKR_InCX25874(0x02, &value), VKR_ERROR);
  EXPECT_EQ(VKR_WriteCloseCaption(0x942C), VKR_ERROR);  // no wait on a clock that cannot run
  EXPECT_EQ(VKR_InterlaceSwitch(), VKR_ERROR);
  int field = 7;
  EXPECT_EQ(VKR_GetCurrentTVFieldOutput(&field), VKR_ERROR);
  EXPECT_EQ(field, 7);
  EXPECT_EQ(value, 0x5A);
  EXPECT_EQ(SimAccessCount(), accesses);
}

TEST_F(CaptionTest, SilentEncoderAnswersOneAndLeavesTheByteAndTheLines) {
  TVConsole_PowerOn(SimTV::Ntsc, 6, SIM_FAULT_ENCODER);
  EXPECT_EQ(VKR_OutCX25874(0x8C, 0x43), VKR_ERROR);
  uint8_t value = 0x5A;
  EXPECT_EQ(VKR_InCX25874(0x02, &value), VKR_ERROR);
  EXPECT_EQ(value, 0x5A);
  EXPECT_EQ(SimPeekReg16(0x1022) & 0xF, 0);
  EXPECT_EQ(TVConsole_Trace(), (Writes{"ENC NACK", "ENC NACK"}));
}

TEST_F(CaptionTest, SwitchBetweenTelevisionModes) {
  GP2X_SwitchTVOutput(5, 6);
  EXPECT_EQ(TVConsole_EncoderWrites(), Writes{"8C=43"});
  TVConsole_ClearTrace();
  GP2X_SwitchTVOutput(5, 19);
  EXPECT_EQ(TVConsole_EncoderWrites(), Concat(SetWrites(kPAL), {"8C=43"}));
  EXPECT_EQ(SIM_CX25874_Standard(), kSimTVPAL);
  TVConsole_ClearTrace();
  GP2X_SwitchTVOutput(20, 32);
  EXPECT_EQ(TVConsole_EncoderWrites(), Writes{"8C=43"});
}

TEST_F(CaptionTest, SwitchFromLcdResetsTheEncoderAndLoadsTheStandard) {
  TVConsole_PowerOn(SimTV::Lcd, 0);
  EXPECT_EQ(SIM_CX25874_Standard(), kSimTVUnknown);
  EXPECT_EQ(SimPeekReg16(0x1062) & 0x4, 0x4);  // the firmware left the LCD line up
  const uint64_t accesses = SimAccessCount();
  GP2X_SwitchTVOutput(0, 0);
  EXPECT_EQ(SimAccessCount(), accesses);

  const uint64_t start = SimNowNs();
  GP2X_SwitchTVOutput(4, 5);
  EXPECT_EQ(TVConsole_EncoderWrites(), Concat(Concat({"BA=80"}, SetWrites(kNTSC)), {"8C=43"}));
  EXPECT_EQ(SIM_CX25874_Standard(), kSimTVNTSC);
  EXPECT_EQ(SimPeekReg16(0x1062) & 0xC, 0x8);  // LCD line down, encoder line back up
  EXPECT_GE(SimNowNs() - start, 22000000u);  // 1 + 1 + 10 + 10 ms of waits

  TVConsole_ClearTrace();
  GP2X_SwitchTVOutput(6, 2);
  EXPECT_EQ(TVConsole_EncoderWrites(), Writes{"BA=80"});
  EXPECT_EQ(SIM_CX25874_Standard(), kSimTVUnknown);
  EXPECT_EQ(SimPeekReg16(0x1062) & 0x4, 0x4);
}

// The encoder's fields are the display controller's: one a frame of the console's display.
TEST_F(CaptionTest, FieldFollowsTheDisplaysFieldTiming) {
  int field = -1;
  EXPECT_EQ(VKR_GetCurrentTVFieldOutput(nullptr), VKR_BAD_ARGUMENT);
  g_ulDISPLAY_MODE = 4;
  EXPECT_EQ(VKR_GetCurrentTVFieldOutput(&field), VKR_NOT_SUPPORTED);
  EXPECT_EQ(field, -1);
  g_ulDISPLAY_MODE = 6;
  std::vector<int> fields;
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(VKR_GetCurrentTVFieldOutput(&field), VKR_OK);
    fields.push_back(field);
    SimAdvanceNs(20000000);
  }
  for (int i = 1; i < 6; ++i) EXPECT_NE(fields[i], fields[i - 1]) << i;
}

TEST_F(CaptionTest, InterlaceSwitchToProgressiveAndBack) {
  SimPokeReg16(0x2800, 0x03A8 | 0x0100);  // NTSC, interlaced
  ASSERT_EQ(VKR_InterlaceSwitch(), VKR_OK);
  EXPECT_EQ(TVConsole_EncoderWrites(), (Writes{"6C=42", "90=04", "6C=46"}));
  EXPECT_EQ(SimPeekReg16(0x2800), 0x0388);
  EXPECT_EQ(SimPeekReg16(0x2820), 0x01C0);
  EXPECT_EQ(SimPeekReg16(0x2822), 0x3815);
  TVConsole_ClearTrace();
  SimPokeReg16(0x2800, 0x0388 | 0x0100);
  ASSERT_EQ(VKR_InterlaceSwitch(), VKR_OK);
  EXPECT_EQ(TVConsole_EncoderWrites(), (Writes{"6C=42", "90=06", "6C=46"}));
  EXPECT_EQ(SimPeekReg16(0x2800), 0x03A8);
  EXPECT_EQ(SimPeekReg16(0x2822), 0x3816);
  // LCD: nothing is written.
  TVConsole_ClearTrace();
  SimPokeReg16(0x2800, 0x0004);
  EXPECT_EQ(VKR_InterlaceSwitch(), VKR_OK);
  EXPECT_TRUE(TVConsole_Trace().empty());
}

TEST_F(CaptionTest, InterlaceSwitchWithASilentEncoderStillEnds) {
  TVConsole_PowerOn(SimTV::Ntsc, 6, SIM_FAULT_ENCODER);
  SimPokeReg16(0x2800, 0x03A8 | 0x0100);
  const uint64_t start = SimNowNs();
  EXPECT_EQ(VKR_InterlaceSwitch(), VKR_OK);
  EXPECT_LT(SimNowNs() - start, 200000000u);
  EXPECT_EQ(SimPeekReg16(0x2800), 0x0388);
}

TEST_F(CaptionTest, CaptionPairsWaitForTheEncoderOneFieldApart) {
  const uint64_t accesses = SimAccessCount();
  ASSERT_EQ(VKR_WriteCloseCaption(0x94A7), VKR_OK);
  ASSERT_EQ(VKR_WriteCloseCaption(0x94AD), VKR_OK);
  ASSERT_EQ(VKR_WriteCloseCaption(0x9120), VKR_OK);
  EXPECT_EQ(SentPairs(), (std::vector<uint16_t>{0x94A7, 0x94AD, 0x9120}));
  const SimCaptionPair* sent = SIM_CX25874_Captions();
  EXPECT_EQ(sent[1].field, sent[0].field + 1);
  EXPECT_EQ(sent[2].field, sent[1].field + 1);
  // Each went out in a vertical blank, the next pair waiting for it: a wait of under a field.
  EXPECT_EQ(sent[2].timeNs - sent[0].timeNs, 40000000u);
  // After the second one left: a status read and the two writes, under a millisecond each.
  EXPECT_LT(SimNowNs() - sent[1].timeNs, 3000000u);
  // The busy status read a second time jumped the clock to its end: a few transfers a pair.
  EXPECT_LT(SimAccessCount() - accesses, 5000u);
  EXPECT_EQ(TVConsole_EncoderWrites(), (Writes{"C0=94", "C2=A7", "C0=94", "C2=AD", "C0=91", "C2=20"}));
}

TEST_F(CaptionTest, SilentEncoderDropsThePairAfterACoupleOfFields) {
  TVConsole_PowerOn(SimTV::Ntsc, 6, SIM_FAULT_ENCODER);
  const uint64_t accesses = SimAccessCount();
  const uint64_t start = SimNowNs();
  EXPECT_EQ(VKR_WriteCloseCaption(0x942C), VKR_ERROR);
  const uint64_t waited = SimNowNs() - start;
  EXPECT_GE(waited, 39000000u);
  EXPECT_LE(waited, 42000000u);
  EXPECT_EQ(SIM_CX25874_CaptionCount(), 0u);
  // Its unanswered polls jumped the clock a millisecond at a time.
  EXPECT_LT(SimAccessCount() - accesses, 10000u);
}

namespace {

// The scan-mode switch as it happens: the display controller's writes (0x2800 to 0x28FF) and the
// encoder's transfers in one sequence, each transfer with its time in microseconds.
struct SwitchEvent {
  std::string what;
  uint64_t us;
};
std::vector<SimAccess> g_switchAccesses;
std::vector<SwitchEvent> g_switchEncoder;
std::vector<size_t> g_switchEncoderAt;  // accesses logged before each transfer

void CollectSwitchTransfer(void*, const char* line) {
  const std::string text = line;
  g_switchEncoder.push_back({text.substr(text.find("ENC")), std::stoull(text)});
  g_switchEncoderAt.push_back(g_switchAccesses.size());
}

std::vector<SwitchEvent> RecordInterlaceSwitch() {
  g_switchAccesses.clear();
  g_switchEncoder.clear();
  g_switchEncoderAt.clear();
  SIM_CX25874_SetTraceSink(CollectSwitchTransfer, nullptr);
  SimSetAccessLog(&g_switchAccesses);
  EXPECT_EQ(VKR_InterlaceSwitch(), VKR_OK);
  SimSetAccessLog(nullptr);
  std::vector<SwitchEvent> events;
  size_t transfer = 0;
  for (size_t n = 0; n <= g_switchAccesses.size(); ++n) {
    for (; transfer < g_switchEncoder.size() && g_switchEncoderAt[transfer] <= n; ++transfer)
      events.push_back(g_switchEncoder[transfer]);
    if (n == g_switchAccesses.size()) break;
    const SimAccess& access = g_switchAccesses[n];
    if (access.write && !access.blitter && access.offset >= 0x2800 && access.offset < 0x2900) {
      char text[32];
      std::snprintf(text, sizeof text, "W 0x%04X 0x%04X", access.offset, access.value);
      events.push_back({text, 0});
    }
  }
  return events;
}

// The events without the field polls, and the values of those polls before the first display write.
std::vector<std::string> WithoutFieldReads(const std::vector<SwitchEvent>& events) {
  std::vector<std::string> kept;
  for (const SwitchEvent& event : events)
    if (event.what.rfind("ENC R 0x06", 0) != 0) kept.push_back(event.what);
  return kept;
}

// Lets time pass until the encoder's field register reads zero in its low four bits (the blank of
// an even field): the moment a switch that skipped the first phase of its poll would go at once.
void WaitForZeroField() {
  for (uint8_t field = 1; (field & 0x0F) != 0;) {
    ASSERT_EQ(VKR_InCX25874(0x06, &field), VKR_OK);
    if (field & 0x0F) SimAdvanceNs(100000);
  }
}

}  // namespace

// Both outputs, both ways, written out in full; the way to progressive first waits for a field
// boundary (the field register's low bits non-zero, then zero) and lets 40 or 48 ms pass before
// the encoder's scan register.
TEST_F(CaptionTest, InterlaceSwitchOnBothOutputsWritesItsWholeSequence) {
  struct Case {
    SimTV tv;
    uint32_t mode;
    uint16_t control;  // 0x2800 as the firmware left it
    std::vector<std::string> toProgressive, back;
    uint64_t waitUs;
  };
  const Case cases[] = {
      {SimTV::Ntsc, 6, 0x03A9,
       {"ENC W 0x6C 0x42", "W 0x2820 0x01C0", "W 0x2800 0x0389", "W 0x2826 0x0270",
        "ENC W 0x90 0x04", "W 0x2822 0x3815", "ENC W 0x6C 0x46"},
       {"ENC W 0x6C 0x42", "W 0x2822 0x3816", "W 0x2800 0x03A9", "W 0x2820 0x0180",
        "W 0x2826 0x0270", "ENC W 0x90 0x06", "ENC W 0x6C 0x46"},
       40000},
      {SimTV::Pal, 20, 0x13A9,
       {"ENC W 0x6C 0x42", "W 0x2820 0x01C1", "W 0x2800 0x1389", "W 0x2826 0x0270",
        "ENC W 0x90 0x37", "ENC W 0x6C 0x46"},
       {"ENC W 0x6C 0x42", "W 0x2822 0x3818", "W 0x2800 0x13A9", "W 0x2820 0x0181",
        "W 0x2826 0x0270", "ENC W 0x90 0x38", "ENC W 0x6C 0x46"},
       48000},
  };
  for (const Case& c : cases) {
    TVConsole_PowerOn(c.tv, c.mode);
    ASSERT_EQ(SimPeekReg16(0x2800), c.control);
    WaitForZeroField();
    const std::vector<SwitchEvent> events = RecordInterlaceSwitch();
    EXPECT_EQ(WithoutFieldReads(events), c.toProgressive) << "to progressive, mode " << c.mode;
    // The field polls: zero at first, then non-zero, then zero again right before the writes.
    std::vector<uint8_t> fields;
    uint64_t lastPollUs = 0, scanUs = 0;
    for (const SwitchEvent& event : events) {
      if (event.what.rfind("ENC R 0x06", 0) == 0) {
        fields.push_back(static_cast<uint8_t>(std::stoul(event.what.substr(11), nullptr, 16)));
        lastPollUs = event.us;
      }
      if (event.what.rfind("ENC W 0x90", 0) == 0) scanUs = event.us;
    }
    ASSERT_GE(fields.size(), 3u);
    EXPECT_EQ(fields.front() & 0x0F, 0);
    EXPECT_EQ(fields.back() & 0x0F, 0);
    EXPECT_NE(std::find_if(fields.begin(), fields.end(), [](uint8_t f) { return f & 0x0F; }),
              fields.end());
    // A wait of 40 or 48 ms on the millisecond clock: the last millisecond may be a part of one.
    EXPECT_GT(scanUs - lastPollUs, c.waitUs - 1000);
    EXPECT_LT(scanUs - lastPollUs, c.waitUs + 2000);

    EXPECT_EQ(WithoutFieldReads(RecordInterlaceSwitch()), c.back) << "back, mode " << c.mode;
  }
}
