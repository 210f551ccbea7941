// second_core.cpp: jobs for the second core through the command queue. The program starts the
// second core with its own image (job940t.s, after the library's command loop), sends a job a
// frame (three while A is held), waits until the queue is empty and shows the counts of sent and
// processed commands as a bar. On the desktop the second core is a thread that runs the
// VKR_Arm940T_Main below instead of the image; on a web page the program's own thread runs it
// while it waits. Start ends.
#include <copperbramble/vkr_host.h>
#include <copperbramble/vkr_lowLevel.h>

#include <atomic>
#include <cstdio>

#include "job940t_image.h"

namespace {

// The desktop's second core: the same job in C++.
std::atomic<uint32_t> g_ulJobTotal{0};

void ShowFrame() {
  VKR_WaitVSync();
#if defined(VKR_BACKEND_DESKTOP)
  VKR_LowLevelAPI_SoftRender();
#endif
}

}  // namespace

void VKR_Arm940T_Main(uint32_t command) {
  for (volatile uint32_t left = command; left > 1; left = left - 1) {
  }
  g_ulJobTotal += command;
}

int AppMain(int, char**) {
  if (VKR_InitLowLevelAPI("Second core") != VKR_OK) {
    VKR_FreeLowLevelAPI(0);
    return 1;
  }
  VKR_SetDisplayMode(0, 16);
  VKR_SetRGBStartAddress(0);
  if (VKR_DualCoreStart(JOB940T_IMAGE, JOB940T_IMAGE_WORDS) != VKR_OK) {
    std::fprintf(stderr, "second_core: the second core did not start\n");
    VKR_FreeLowLevelAPI(0);
    return 1;
  }

  for (uint32_t frame = 0;; ++frame) {
    uint32_t held = 0;
    VKR_GetGP2XInputState(&held);
    if ((held & VKR_BUTTON_START) || VKR_Host_EndRequested()) break;
    const uint32_t jobs = (held & VKR_BUTTON_A) ? 3 : 1;
    for (uint32_t job = 0; job < jobs; ++job) VKR_DualCoreSendCmd(1000 + 10 * frame + job);
    VKR_WaitArm940T();
    uint32_t sent = 0, processed = 0;
    VKR_DualCoreGetSendCmdCount(&sent);
    VKR_DualCoreGetCmdProcessedCount(&processed);

    VKR_DbgClrScr(0, 0);
    VKR_DbgColor(10, 0);
    VKR_DbgGotoXY(2, 2);
    VKR_DbgPrint("Jobs for the second core");
    VKR_DbgColor(15, 0);
    VKR_DbgGotoXY(2, 6);
    VKR_DbgPrint("sent %u, processed %u", sent, processed);
    VKR_DbgGotoXY(2, 8);
    for (uint32_t cell = 0; cell < processed % 37; ++cell) VKR_DbgPrint("#");
    VKR_DbgColor(7, 0);
    VKR_DbgGotoXY(2, 22);
    VKR_DbgPrint("A: three jobs a frame. Start: end");
    VKR_DbgDrawScr(0, 0);
    VKR_Host_FramePainted(frame);
    ShowFrame();
  }
  VKR_DualCoreStop();
  VKR_FreeLowLevelAPI(1);
  return 0;
}
