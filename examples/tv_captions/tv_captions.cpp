// tv_captions.cpp: closed captions on a television. The program runs in the output the console
// was left in (on the simulated console: --tv ntsc or --tv pal); on a television it sets the TV
// encoder up for captions on data channel 1, rolls up two rows, and queues a line every second,
// which VKR_CC_OutputToTV sends a pair a frame. The screen shows the lines too. The desktop sends
// no captions: there its caption operations do nothing. Start ends.
#include <copperbramble/vkr_host.h>
#include <copperbramble/vkr_lowLevel.h>

namespace {

constexpr uint32_t kFramesPerLine = 50;
constexpr uint16_t kRollUpTwoRows = 0x9425;  // EIA-608 control pairs on channel 1
constexpr uint16_t kEraseDisplayed = 0x942C;

// Caption output on, as the encoder's registers want it for channel 1.
void SetUpEncoder() {
  uint8_t value = 0;
  VKR_InCX25874(0x5E, &value);
  VKR_OutCX25874(0x5E, static_cast<uint8_t>((value & 0xF0) | 0x04));
  VKR_InCX25874(0xC4, &value);
  VKR_OutCX25874(0xC4, static_cast<uint8_t>((value & 0xC7) | 0x18));
  VKR_OutCX25874(0xD0, 0x4A);
  VKR_OutCX25874(0xD2, 0x8C);
  VKR_OutCX25874(0xD4, 0x59);
  VKR_CC_SetChannel(1);
}

void ShowFrame() {
  VKR_WaitVSync();
#if defined(VKR_BACKEND_DESKTOP)
  VKR_LowLevelAPI_SoftRender();
#endif
}

}  // namespace

int AppMain(int, char**) {
  if (VKR_InitLowLevelAPI("TV captions") != VKR_OK) {
    VKR_FreeLowLevelAPI(0);
    return 1;
  }
  uint32_t startMode = 0;
  int startDepth = 16;
  VKR_GetDisplayMode(&startMode, &startDepth);
  const bool television = startMode > 4;
  // The same 320 x 240 picture on the LCD (mode 0), NTSC (mode 5) or PAL (mode 19).
  VKR_SetDisplayMode(!television ? 0 : startMode <= 18 ? 5 : 19, 16);
  VKR_SetRGBStartAddress(0);
  if (television) {
    SetUpEncoder();
    VKR_WriteCloseCaption(kRollUpTwoRows);
  }

  VKR_DbgClrScr(0, 0);
  VKR_DbgColor(11, 0);
  VKR_DbgGotoXY(2, 1);
  VKR_DbgPrint(television ? "Captions on data channel 1" : "No television: no captions");
  VKR_DbgGotoXY(0, 4);
  VKR_DbgColor(15, 0);
  for (uint32_t frame = 0;; ++frame) {
    uint32_t held = 0;
    VKR_GetGP2XInputState(&held);
    if ((held & VKR_BUTTON_START) || VKR_Host_EndRequested()) break;
    if (frame % kFramesPerLine == 0) {
      const uint32_t line = frame / kFramesPerLine + 1;
      VKR_DbgPrint(" Caption line %u\n", line);
      if (television) VKR_CC_printf("\nCaption line %u", line);
    }
    if (television) VKR_CC_OutputToTV();
    VKR_DbgDrawScr(0, 0);
    VKR_Host_FramePainted(frame);
    ShowFrame();
  }
  if (television) VKR_WriteCloseCaption(kEraseDisplayed);
  VKR_SetDisplayMode(startMode, startDepth);
  VKR_FreeLowLevelAPI(1);
  return 0;
}
