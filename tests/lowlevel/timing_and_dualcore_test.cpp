// The desktop clock seam, frame time, and the second-core queue shared by two threads.
#include <gtest/gtest.h>

#include "vkr_winHost.h"
#include "vkr_winState.h"

namespace {

class Timing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("timing"), VKR_OK);
    VKR_WinUseVirtualClock(1000);
  }
  void TearDown() override {
    VKR_WinUseSystemClock();
    VKR_FreeLowLevelAPI(0);
  }
};

TEST_F(Timing, VirtualClockMovesOnlyWhenAdvanced) {
  uint32_t now = 0;
  VKR_GetTime(&now);
  EXPECT_EQ(now, 1000u);
  VKR_DelayMS(500);
  VKR_LowLevelAPI_SoftRender();
  VKR_GetTime(&now);
  EXPECT_EQ(now, 1000u);
  VKR_WinAdvanceVirtualClock(20);
  VKR_GetTime(&now);
  EXPECT_EQ(now, 1020u);
  EXPECT_EQ(VKR_GetTime(nullptr), VKR_BAD_ARGUMENT);
}

TEST_F(Timing, FrameTimeCountsFromTheFirstCallAfterAReset) {
  uint32_t time = 99, count = 99;
  VKR_WinAdvanceVirtualClock(5);
  VKR_ResetFrameTime();
  EXPECT_EQ(VKR_GetFrameTime(&time), VKR_OK);
  EXPECT_EQ(time, 0u);
  VKR_GetFrameCount(&count);
  EXPECT_EQ(count, 1u);
  VKR_WinAdvanceVirtualClock(40);
  VKR_GetFrameTime(&time);
  EXPECT_EQ(time, 40u);
  VKR_GetFrameCount(&count);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(VKR_GetFrameTime(nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetFrameCount(nullptr), VKR_BAD_ARGUMENT);
}

TEST_F(Timing, TelevisionFieldFollowsTheClock) {
  int field = -1;
  VKR_SetDisplayMode(6, 16);
  VKR_WinUseVirtualClock(33 * 10 + 15);
  VKR_GetCurrentTVFieldOutput(&field);
  EXPECT_EQ(field, 0);
  VKR_WinAdvanceVirtualClock(1);
  VKR_GetCurrentTVFieldOutput(&field);
  EXPECT_EQ(field, 1);
  VKR_SetDisplayMode(20, 16);
  VKR_WinUseVirtualClock(40 * 3 + 19);
  VKR_GetCurrentTVFieldOutput(&field);
  EXPECT_EQ(field, 0);
  VKR_WinAdvanceVirtualClock(1);
  VKR_GetCurrentTVFieldOutput(&field);
  EXPECT_EQ(field, 1);
}

TEST_F(Timing, FrameHookRunsAfterEveryComposition) {
  int calls = 0;
  VKR_WinSetFrameHook([](void* context) { ++*static_cast<int*>(context); }, &calls);
  VKR_LowLevelAPI_SoftRender();
  VKR_LowLevelAPI_SoftRender();
  VKR_WinSetFrameHook(nullptr, nullptr);
  VKR_LowLevelAPI_SoftRender();
  EXPECT_EQ(calls, 2);
}

class DualCore : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(VKR_InitLowLevelAPI("dual core"), VKR_OK); }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }
};

TEST_F(DualCore, AThousandCommandsFillTheQueueAndTheThreadDrainsThem) {
  for (uint32_t command = 0; command < 1000; ++command) ASSERT_EQ(VKR_DualCoreSendCmd(command), VKR_OK);
  uint32_t sent = 0, processed = 99;
  VKR_DualCoreGetSendCmdCount(&sent);
  VKR_DualCoreGetCmdProcessedCount(&processed);
  EXPECT_EQ(sent, 1000u);
  EXPECT_EQ(processed, 0u);

  ASSERT_EQ(VKR_DualCoreStart(nullptr, 0), VKR_OK);
  // More than the capacity: the sender waits for the receiver, and counts still agree.
  for (uint32_t command = 0; command < 2500; ++command) ASSERT_EQ(VKR_DualCoreSendCmd(command), VKR_OK);
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  VKR_DualCoreGetSendCmdCount(&sent);
  EXPECT_EQ(sent, 3500u);
  // The processed count is raised just after the pending count falls.
  do {
    VKR_DualCoreGetCmdProcessedCount(&processed);
  } while (processed < 3500);
  EXPECT_EQ(processed, 3500u);
  EXPECT_EQ(VKR_DualCoreStop(), VKR_OK);

  // Stopped means stopped: nothing more is taken.
  VKR_DualCoreSendCmd(1);
  VKR_DualCoreGetCmdProcessedCount(&processed);
  EXPECT_EQ(processed, 3500u);
  EXPECT_EQ(VKR_DualCoreStop(), VKR_OK);
  EXPECT_EQ(VKR_DualCoreGetSendCmdCount(nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DualCoreGetCmdProcessedCount(nullptr), VKR_BAD_ARGUMENT);
}

TEST_F(DualCore, RestartingKeepsTheQueueAndFreeStopsTheThread) {
  VKR_DualCoreSendCmd(7);
  ASSERT_EQ(VKR_DualCoreStart(nullptr, 0), VKR_OK);
  ASSERT_EQ(VKR_DualCoreStart(nullptr, 0), VKR_OK);
  VKR_WaitArm940T();
  VKR_DualCoreSendCmd(8);
  VKR_WaitArm940T();
  uint32_t processed = 0;
  do {
    VKR_DualCoreGetCmdProcessedCount(&processed);
  } while (processed < 2);
  EXPECT_EQ(processed, 2u);
}

// A host with one thread: every command runs on the program's thread, in order, when it waits for
// room, for the queue to empty, or for the next frame; and stopping ends it.
TEST_F(DualCore, OnTheCallerCommandsRunWhereTheProgramWaits) {
  VKR_WinRunSecondCoreOnCaller(true);
  ASSERT_EQ(VKR_DualCoreStart(nullptr, 0), VKR_OK);
  for (uint32_t command = 0; command < 1500; ++command) ASSERT_EQ(VKR_DualCoreSendCmd(command), VKR_OK);
  uint32_t processed = 0;
  VKR_DualCoreGetCmdProcessedCount(&processed);
  EXPECT_EQ(processed, 500u);  // taken while the full queue waited for room
  EXPECT_EQ(VKR_WaitArm940T(), VKR_OK);
  VKR_DualCoreGetCmdProcessedCount(&processed);
  EXPECT_EQ(processed, 1500u);

  VKR_DualCoreSendCmd(1);
  EXPECT_EQ(VKR_WaitVSync(), VKR_OK);
  VKR_DualCoreGetCmdProcessedCount(&processed);
  EXPECT_EQ(processed, 1501u);

  EXPECT_EQ(VKR_DualCoreStop(), VKR_OK);
  VKR_DualCoreSendCmd(2);
  VKR_WaitVSync();
  VKR_DualCoreGetCmdProcessedCount(&processed);
  EXPECT_EQ(processed, 1501u);
  VKR_WinRunSecondCoreOnCaller(false);
}

}  // namespace
