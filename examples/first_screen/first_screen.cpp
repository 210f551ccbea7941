// first_screen.cpp: a first program: the LCD at 320 x 240 in 16 bits, text drawn by the debug
// console into the RGB layer, the buttons held shown by name. Start ends it and returns to the
// console's launcher.
#include <copperbramble/vkr_host.h>
#include <copperbramble/vkr_lowLevel.h>

#include <cstdio>

namespace {

struct ButtonName {
  uint32_t mask;
  const char* name;
};
constexpr ButtonName kButtons[] = {
    {VKR_BUTTON_UP, "Up"}, {VKR_BUTTON_DOWN, "Down"}, {VKR_BUTTON_LEFT, "Left"},
    {VKR_BUTTON_RIGHT, "Right"}, {VKR_BUTTON_A, "A"}, {VKR_BUTTON_B, "B"},
    {VKR_BUTTON_X, "X"}, {VKR_BUTTON_Y, "Y"}, {VKR_BUTTON_L, "L"}, {VKR_BUTTON_R, "R"},
    {VKR_BUTTON_SELECT, "Select"}, {VKR_BUTTON_STICK, "Stick"}};

// Shows the frame: the desktop composes it when told, the console's display reads memory itself.
void ShowFrame() {
  VKR_WaitVSync();
#if defined(VKR_BACKEND_DESKTOP)
  VKR_LowLevelAPI_SoftRender();
#endif
}

}  // namespace

int AppMain(int, char**) {
  if (VKR_InitLowLevelAPI("First screen") != VKR_OK) {
    std::fprintf(stderr, "first_screen: the library did not start\n");
    VKR_FreeLowLevelAPI(0);
    return 1;
  }
  VKR_SetDisplayMode(0, 16);
  VKR_SetRGBStartAddress(0);

  for (uint32_t frame = 0;; ++frame) {
    uint32_t held = 0;
    VKR_GetGP2XInputState(&held);
    if ((held & VKR_BUTTON_START) || VKR_Host_EndRequested()) break;

    VKR_DbgClrScr(1, 1);
    VKR_DbgColor(15, 1);
    VKR_DbgGotoXY(11, 3);
    VKR_DbgPrint("Hello, console!");
    VKR_DbgColor(14, 1);
    VKR_DbgGotoXY(2, 8);
    VKR_DbgPrint("Frame %u", frame);
    VKR_DbgGotoXY(2, 10);
    VKR_DbgPrint("Held:");
    int column = 8;
    for (const ButtonName& button : kButtons) {
      if (!(held & button.mask)) continue;
      VKR_DbgGotoXY(column, 10);
      VKR_DbgPrint("%s", button.name);
      column += 7;
      if (column > 33) break;
    }
    VKR_DbgColor(7, 1);
    VKR_DbgGotoXY(2, 22);
    VKR_DbgPrint("Start returns to the menu");
    VKR_DbgDrawScr(0, 0);
    VKR_Host_FramePainted(frame);
    ShowFrame();
  }
  VKR_FreeLowLevelAPI(1);
  return 0;
}
