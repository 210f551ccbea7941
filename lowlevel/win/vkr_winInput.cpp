// vkr_winInput.cpp: the desktop's buttons and keyboard: window key events become the button word
// (button mode) or Linux-style key events (keyboard emulation mode); Scroll Lock switches between
// the two. One window event is taken per pump, so events keep their order across frames.
#include <SDL.h>

#include <array>

#include "vkr_winHost.h"
#include "vkr_winKeyMaps.h"
#include "vkr_winState.h"
#include "vkr_winWindow.h"

namespace {

uint32_t ButtonMaskOf(SDLKey key) {
  for (const ButtonKey& entry : kButtonKeys)
    if (entry.key == key) return entry.mask;
  return 0;
}

uint16_t LinuxCodeOf(SDLKey key) {
  for (const LinuxKey& entry : kLinuxKeys)
    if (entry.key == key) return entry.code;
  return 0;
}

}  // namespace

int VKR_WinKeyOfButton(uint32_t buttonMask) {
  for (const ButtonKey& entry : kButtonKeys)
    if (entry.mask == buttonMask) return entry.key;
  return 0;
}

// Input state of the desktop back end; main thread only, reset at every start.
static int bReadGP2XMode = 1;        // 1 button mode, 0 keyboard emulation mode
static int bScrollLockDown = 0;
static uint32_t ulGP2XInputState = 0;
static uint16_t usLastType = 0, usLastCode = 0;  // type 0: no event waiting
static uint32_t unLastValue = 0;
static int bCloseRequested = 0;     // the window was closed since the start

void VKR_WinResetInput() {
  bReadGP2XMode = 1;
  bCloseRequested = 0;
  bScrollLockDown = 0;
  ulGP2XInputState = 0;
  usLastType = usLastCode = 0;
  unLastValue = 0;
}

static void HandleKeyEvent(const SDL_KeyboardEvent& event) {
  const bool down = event.type == SDL_KEYDOWN;
  const SDLKey key = event.keysym.sym;
  if (key == SDLK_SCROLLOCK) {
    if (down && !bScrollLockDown) {
      bScrollLockDown = 1;
    } else if (!down && bScrollLockDown) {
      bScrollLockDown = 0;
      bReadGP2XMode = !bReadGP2XMode;
    }
  }
  if (bReadGP2XMode) {
    const uint32_t mask = ButtonMaskOf(key);
    ulGP2XInputState = down ? (ulGP2XInputState | mask) : (ulGP2XInputState & ~mask);
  } else if (const uint16_t code = LinuxCodeOf(key)) {
    usLastType = 1;
    usLastCode = code;
    unLastValue = down ? 1 : 0;
  }
}

uint32_t VKR_WinReadSDLEvent(uint32_t wantedMode, uint32_t* state, uint16_t* type, uint16_t* code,
                             uint32_t* value) {
  SDL_Event event;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&event)) {
    if (event.type == SDL_KEYDOWN) VKR_WinHandleWindowKey(event.key.keysym.sym);
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) HandleKeyEvent(event.key);
    // The console has no window to close; on the desktop closing it asks the demo to end.
    if (event.type == SDL_QUIT) bCloseRequested = 1;
  }
  if (state) *state = ulGP2XInputState;
  if (type) *type = usLastType;
  if (code) *code = usLastCode;
  if (value) *value = unLastValue;
  if (wantedMode == 0) {
    usLastType = usLastCode = 0;
    unLastValue = 0;
  }
  return wantedMode == static_cast<uint32_t>(bReadGP2XMode) ? 1 : 0;
}

bool VKR_WinCloseRequested() { return bCloseRequested != 0; }

uint32_t VKR_GetGP2XInputState(uint32_t* state) {
  if (!state) return VKR_BAD_ARGUMENT;
  VKR_WinReadSDLEvent(1, state, nullptr, nullptr, nullptr);
  return VKR_OK;
}

uint32_t VKR_GetHIDEvent(uint16_t device, uint16_t* type, uint16_t* code, int32_t* value) {
  if (device != 0) return VKR_HID_NOT_AVAILABLE;
  if (!type || !code || !value) return VKR_BAD_ARGUMENT;
  uint16_t eventType = 0, eventCode = 0;
  uint32_t eventValue = 0;
  VKR_WinReadSDLEvent(0, nullptr, &eventType, &eventCode, &eventValue);
  if (bReadGP2XMode) return VKR_HID_NOT_AVAILABLE;
  if (eventType == 0 || eventCode == 0) return VKR_HID_NO_EVENT;
  *type = eventType;
  *code = eventCode;
  *value = static_cast<int32_t>(eventValue);
  return VKR_HID_EVENT;
}

uint32_t VKR_GetTouchScreen(uint16_t* x, uint16_t* y, uint16_t* pressure) {
  if (!x || !y || !pressure) return VKR_BAD_ARGUMENT;
  return VKR_NOT_SUPPORTED;
}
