// dualcore_test.cpp: the back end's second-core operations on the simulated console, whose second
// core runs the real program image (and an example image whose routine leaves results) in its
// emulator over the console's second-core memory, in step with the main core on the virtual clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "example940t_image.h"
#include "main940t_image.h"
#include "sim.h"
#include "sim_arm940.h"
#include "vkr_gp2xAccess.h"
#include "vkr_gp2xDualCore.h"
#include "vkr_gp2xRegisters.h"
#include "vkr_lowLevel.h"

namespace {

// The second-core memory word at a second-core address.
uint32_t Word(uint32_t address) { return g_pGP2X_DUALCORE_MEM[address / 4]; }
uint32_t HeaderWord(uint32_t field) { return Word(GP2X_DUALCORE_HEADER + field); }

constexpr uint64_t kMillisecondNs = 1000000;

// Lets console time pass until the condition holds or two seconds have; the second core runs as
// the clock moves.
template <typename Condition>
bool Eventually(Condition condition) {
  for (int step = 0; step < 20000; ++step) {
    if (condition()) return true;
    SimAdvanceNs(kMillisecondNs / 10);
  }
  return condition();
}

uint32_t Sent() {
  uint32_t count = 0;
  EXPECT_EQ(VKR_DualCoreGetSendCmdCount(&count), VKR_OK);
  return count;
}

uint32_t Processed() {
  uint32_t count = 0;
  EXPECT_EQ(VKR_DualCoreGetCmdProcessedCount(&count), VKR_OK);
  return count;
}

// The console powered on (virtual clock) with the back end started: the second core held.
class DualCore : public ::testing::Test {
 protected:
  void SetUp() override {
    SimConfig config;
    config.realTime = false;
    SimPowerOn(config);
    ASSERT_EQ(VKR_InitLowLevelAPI(""), VKR_OK);
  }
  void TearDown() override {
    VKR_FreeLowLevelAPI(0);
    SimPowerOff();
  }
};

}  // namespace

TEST(DualCoreClosed, OperationsAnswerErrorWithoutTheWindow) {
  VKR_FreeLowLevelAPI(0);
  uint32_t count = 0;
  EXPECT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_ERROR);
  EXPECT_EQ(VKR_DualCoreStop(), VKR_ERROR);
  EXPECT_EQ(VKR_DualCorePause(1), VKR_ERROR);
  EXPECT_EQ(VKR_DualCoreSendCmd(1), VKR_ERROR);
  EXPECT_EQ(VKR_DualCoreGetSendCmdCount(&count), VKR_ERROR);
  EXPECT_EQ(VKR_DualCoreGetCmdProcessedCount(nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WaitArm940T(), VKR_ERROR);
}

TEST_F(DualCore, StartLoadsTheProgramAndAFreshQueueThenTheCoreRunsIt) {
  std::memset(const_cast<uint32_t*>(g_pGP2X_DUALCORE_MEM), 0xA5, GP2X_DUALCORE_MEM_SIZE);
  ASSERT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_OK);

  EXPECT_EQ(std::memcmp(const_cast<uint32_t*>(g_pGP2X_DUALCORE_MEM), MAIN940T_IMAGE,
                        sizeof(MAIN940T_IMAGE)), 0);
  EXPECT_EQ(Word(sizeof(MAIN940T_IMAGE)), 0xA5A5A5A5u);  // nothing beyond the program
  EXPECT_EQ(HeaderWord(GP2X_DCQ_WRITE_INDEX), 0u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_READ_INDEX), 0u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_PENDING), 0u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_CAPACITY), 1000u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_SENT), 0u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_PROCESSED), 0u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_RECEIVER_RING), GP2X_DUALCORE_RING);
  // The sender's field is 32 bits wide: the low half of the window address on a 64-bit PC.
  EXPECT_EQ(HeaderWord(GP2X_DCQ_SENDER_RING) - HeaderWord(GP2X_DCQ_RECEIVER_RING),
            static_cast<uint32_t>(reinterpret_cast<uintptr_t>(g_pGP2X_DUALCORE_MEM)));
  for (uint32_t i = 0; i < GP2X_DUALCORE_CAPACITY; ++i) {
    ASSERT_EQ(Word(GP2X_DUALCORE_RING + 4 * i), 0u) << i;
  }

  EXPECT_EQ(GP2X_ReadReg16(GP2X_DUALCTRL940), GP2X_DUALCTRL940_RUN);
  EXPECT_EQ(GP2X_ReadReg16(GP2X_DUALINT920), 0u);
  EXPECT_EQ(GP2X_ReadReg16(GP2X_DUALPEND940), 0xFFFFu);
  EXPECT_TRUE(Eventually([] { return Word(0xFFFF4) == 0x1EE7FACEu; }));
  EXPECT_EQ(Word(0xFFFF8), 0xDEADBEEFu);
  const SimArm940Status status = SimArm940_GetStatus();
  EXPECT_EQ(status.run, SimArm940Run::Running);
  EXPECT_EQ(status.releases, 1u);
}

TEST_F(DualCore, StartRefusesAProgramThatIsNullEmptyOrReachesTheQueue) {
  std::vector<uint32_t> large(GP2X_DUALCORE_QUEUE_AREA / 4 + 1, 0xE1A00000);  // mov r0, r0
  EXPECT_EQ(VKR_DualCoreStart(nullptr, 61), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DualCoreStart(large.data(), static_cast<uint32_t>(large.size())),
            VKR_BAD_ARGUMENT);
  EXPECT_EQ(Word(0), 0u);
  EXPECT_EQ(GP2X_ReadReg16(GP2X_DUALCTRL940), GP2X_DUALCTRL940_HOLD);
  EXPECT_EQ(SimArm940_GetStatus().releases, 0u);

  // Right up to the queue area is a program.
  std::memcpy(large.data(), MAIN940T_IMAGE, sizeof(MAIN940T_IMAGE));
  EXPECT_EQ(VKR_DualCoreStart(large.data(), static_cast<uint32_t>(large.size() - 1)), VKR_OK);
  ASSERT_EQ(VKR_DualCoreSendCmd(7), VKR_OK);
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(Processed(), 1u);
}

TEST_F(DualCore, PausedCoreFillsTheRingAndTheNextSendWaitsForRelease) {
  ASSERT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_OK);
  ASSERT_EQ(VKR_DualCorePause(1), VKR_OK);
  EXPECT_EQ(GP2X_ReadReg16(GP2X_SYSCLKENREG) & GP2X_SYSCLKEN_ARM940, 0u);
  EXPECT_EQ(SimArm940_GetStatus().run, SimArm940Run::Paused);
  for (uint32_t i = 0; i < 1000; ++i) ASSERT_EQ(VKR_DualCoreSendCmd(1000 + i), VKR_OK);
  EXPECT_EQ(Sent(), 1000u);
  EXPECT_EQ(Processed(), 0u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_WRITE_INDEX), 0u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_PENDING), 1000u);
  EXPECT_EQ(Word(GP2X_DUALCORE_RING + 4 * 999), 1999u);

  SimAdvanceNs(50 * kMillisecondNs);
  EXPECT_EQ(Processed(), 0u);

  // Released, the core takes one while the next send waits for room.
  ASSERT_EQ(VKR_DualCorePause(0), VKR_OK);
  ASSERT_EQ(VKR_DualCoreSendCmd(2000), VKR_OK);
  EXPECT_EQ(Sent(), 1001u);
  EXPECT_EQ(Word(GP2X_DUALCORE_RING), 2000u);
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(Processed(), 1001u);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_READ_INDEX), 1u);
  EXPECT_TRUE(Eventually([] { return HeaderWord(GP2X_DCQ_PENDING) == 0; }));
}

TEST_F(DualCore, FiveSendsThenWaitGiveBothTotalsFive) {
  ASSERT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_OK);
  for (uint32_t i = 0; i < 5; ++i) ASSERT_EQ(VKR_DualCoreSendCmd(i), VKR_OK);
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(Sent(), 5u);
  EXPECT_EQ(Processed(), 5u);
  EXPECT_EQ(VKR_DualCoreGetSendCmdCount(nullptr), VKR_BAD_ARGUMENT);
}

TEST_F(DualCore, StopHoldsTheCoreAndARestartStartsAFreshQueue) {
  ASSERT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_OK);
  ASSERT_EQ(VKR_DualCorePause(1), VKR_OK);
  ASSERT_EQ(VKR_DualCoreStop(), VKR_OK);
  EXPECT_EQ(GP2X_ReadReg16(GP2X_DUALCTRL940), GP2X_DUALCTRL940_HOLD);
  EXPECT_NE(GP2X_ReadReg16(GP2X_SYSCLKENREG) & GP2X_SYSCLKEN_ARM940, 0u);
  EXPECT_EQ(SimArm940_GetStatus().run, SimArm940Run::Held);

  for (uint32_t i = 0; i < 3; ++i) ASSERT_EQ(VKR_DualCoreSendCmd(i), VKR_OK);
  SimAdvanceNs(20 * kMillisecondNs);
  EXPECT_EQ(Processed(), 0u);

  ASSERT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_OK);
  EXPECT_EQ(Sent(), 0u);
  ASSERT_EQ(VKR_DualCoreSendCmd(9), VKR_OK);
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(Processed(), 1u);
  EXPECT_EQ(SimArm940_GetStatus().releases, 2u);
}

TEST_F(DualCore, ExampleRoutineSeesEveryCommandInOrderWhileTheCoreRuns) {
  ASSERT_EQ(VKR_DualCoreStart(EXAMPLE940T_IMAGE, EXAMPLE940T_IMAGE_WORDS), VKR_OK);
  uint32_t sum = 0, hash = 0, seed = 12345;
  constexpr uint32_t kCommands = 20000;
  for (uint32_t i = 0; i < kCommands; ++i) {
    seed = seed * 1664525u + 1013904223u;
    sum += seed;
    hash = ((hash << 5) | (hash >> 27)) ^ seed;
    ASSERT_EQ(VKR_DualCoreSendCmd(seed), VKR_OK);
  }
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(Sent(), kCommands);
  EXPECT_EQ(Processed(), kCommands);
  EXPECT_EQ(HeaderWord(GP2X_DCQ_READ_INDEX), kCommands % 1000);
  EXPECT_EQ(Word(GP2X_DUALCORE_QUEUE_AREA), sum);
  EXPECT_EQ(Word(GP2X_DUALCORE_QUEUE_AREA + 4), hash);
}

TEST_F(DualCore, AProgramLeavingItsMemoryStopsTheCoreUntilTheNextStart) {
  const uint32_t jumpOut[] = {0xE3A0F502};  // mov pc, #0x800000: beyond the 6 MiB
  ASSERT_EQ(VKR_DualCoreStart(jumpOut, 1), VKR_OK);
  EXPECT_TRUE(Eventually([] { return SimArm940_GetStatus().run == SimArm940Run::Faulted; }));
  EXPECT_EQ(SimArm940_GetStatus().pc, 0x800000u);

  ASSERT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_OK);
  ASSERT_EQ(VKR_DualCoreSendCmd(1), VKR_OK);
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(SimArm940_GetStatus().run, SimArm940Run::Running);
}

// The back end's teardown holds the core before its memory goes; powering the console on afresh
// while a core runs stops that core before its memory is cleared.
TEST_F(DualCore, TeardownHoldsTheCoreAndPowerOnStopsARunningOne) {
  ASSERT_EQ(VKR_DualCoreStart(EXAMPLE940T_IMAGE, EXAMPLE940T_IMAGE_WORDS), VKR_OK);
  ASSERT_EQ(VKR_DualCoreSendCmd(5), VKR_OK);
  ASSERT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(Word(GP2X_DUALCORE_QUEUE_AREA), 5u);
  VKR_FreeLowLevelAPI(0);
  EXPECT_EQ(SimArm940_GetStatus().run, SimArm940Run::Held);

  ASSERT_EQ(VKR_InitLowLevelAPI(""), VKR_OK);
  ASSERT_EQ(VKR_DualCoreStart(MAIN940T_IMAGE, MAIN940T_IMAGE_WORDS), VKR_OK);
  EXPECT_EQ(SimArm940_GetStatus().run, SimArm940Run::Running);
  SimConfig config;
  config.realTime = false;
  SimPowerOn(config);
  const SimArm940Status status = SimArm940_GetStatus();
  EXPECT_EQ(status.run, SimArm940Run::Held);
  EXPECT_EQ(status.releases, 0u);
  VKR_FreeLowLevelAPI(0);
}

// What one run of the example image left: its results, the console time and the trace.
struct SummingRun {
  uint32_t sum, hash, processed;
  uint64_t endNs;
  std::string trace;
};

SummingRun RunSummingImage(const std::string& tracePath) {
  SimConfig config;
  config.realTime = false;
  config.tracePath = tracePath;
  SimPowerOn(config);
  EXPECT_EQ(VKR_InitLowLevelAPI(""), VKR_OK);
  EXPECT_EQ(VKR_DualCoreStart(EXAMPLE940T_IMAGE, EXAMPLE940T_IMAGE_WORDS), VKR_OK);
  uint32_t seed = 99;
  for (uint32_t i = 0; i < 3000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    VKR_DualCoreSendCmd(seed);
    if (i % 500 == 0) VKR_WaitHSync();  // the main core's own work between sends
  }
  VKR_WaitArm940T();
  SummingRun run{Word(GP2X_DUALCORE_QUEUE_AREA), Word(GP2X_DUALCORE_QUEUE_AREA + 4), Processed(),
                 SimNowNs(), {}};
  VKR_FreeLowLevelAPI(0);
  SimPowerOff();
  std::ifstream file(tracePath);
  std::stringstream text;
  text << file.rdbuf();
  run.trace = text.str();
  std::remove(tracePath.c_str());
  return run;
}

// The second core runs on the console's clock: the same commands give the same results, times and
// trace run after run.
TEST(DualCoreClock, TwoRunsOfTheSummingImageAreTheSame) {
  const std::string path = ::testing::TempDir() + "dualcore_trace.txt";
  const SummingRun first = RunSummingImage(path);
  const SummingRun second = RunSummingImage(path);
  EXPECT_EQ(first.processed, 3000u);
  EXPECT_EQ(first.sum, second.sum);
  EXPECT_EQ(first.hash, second.hash);
  EXPECT_EQ(first.endNs, second.endNs);
  EXPECT_GT(first.trace.size(), 1000u);
  EXPECT_TRUE(first.trace == second.trace);
}

// A core that waits on an empty queue is not run: its time passes without the emulator.
TEST_F(DualCore, AnIdleCoreCostsNoEmulationUntilACommandComes) {
  ASSERT_EQ(VKR_DualCoreStart(EXAMPLE940T_IMAGE, EXAMPLE940T_IMAGE_WORDS), VKR_OK);
  SimAdvanceNs(kMillisecondNs);
  const uint32_t pc = SimArm940_GetStatus().pc;
  SimAdvanceNs(1000 * kMillisecondNs);  // a second of console time
  EXPECT_EQ(SimArm940_GetStatus().pc, pc);
  ASSERT_EQ(VKR_DualCoreSendCmd(41), VKR_OK);
  ASSERT_EQ(VKR_WaitArm940T(), VKR_OK);
  EXPECT_EQ(Word(GP2X_DUALCORE_QUEUE_AREA), 41u);
}
