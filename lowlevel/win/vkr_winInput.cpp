// vkr_winInput.cpp: the desktop's buttons and keyboard: window key events become the button word
// (button mode) or Linux-style key events (keyboard emulation mode); Scroll Lock switches between
// the two. One window event is taken per pump, so events keep their order across frames.
#include <SDL.h>

#include <array>

#include "vkr_winHost.h"
#include "vkr_winState.h"

namespace {

struct ButtonKey {
  SDLKey key;
  uint32_t mask;
};

constexpr std::array<ButtonKey, 19> kButtonKeys = {{
    {SDLK_KP8, VKR_BUTTON_UP},          {SDLK_KP7, VKR_BUTTON_UP_LEFT},
    {SDLK_KP4, VKR_BUTTON_LEFT},        {SDLK_KP1, VKR_BUTTON_DOWN_LEFT},
    {SDLK_KP2, VKR_BUTTON_DOWN},        {SDLK_KP3, VKR_BUTTON_DOWN_RIGHT},
    {SDLK_KP6, VKR_BUTTON_RIGHT},       {SDLK_KP9, VKR_BUTTON_UP_RIGHT},
    {SDLK_PAGEDOWN, VKR_BUTTON_START},  {SDLK_DELETE, VKR_BUTTON_SELECT},
    {SDLK_KP_DIVIDE, VKR_BUTTON_L},     {SDLK_KP_MULTIPLY, VKR_BUTTON_R},
    {SDLK_HOME, VKR_BUTTON_A},          {SDLK_PAGEUP, VKR_BUTTON_B},
    {SDLK_INSERT, VKR_BUTTON_X},        {SDLK_END, VKR_BUTTON_Y},
    {SDLK_KP_MINUS, VKR_BUTTON_VOLUME_DOWN}, {SDLK_KP_PLUS, VKR_BUTTON_VOLUME_UP},
    {SDLK_KP5, VKR_BUTTON_STICK},
}};

struct LinuxKey {
  SDLKey key;
  uint16_t code;
};

// The 105 keys reported in keyboard emulation mode, with their Linux input key codes.
constexpr std::array<LinuxKey, 105> kLinuxKeys = {{
    {SDLK_a, 30}, {SDLK_b, 48}, {SDLK_c, 46}, {SDLK_d, 32}, {SDLK_e, 18}, {SDLK_f, 33},
    {SDLK_g, 34}, {SDLK_h, 35}, {SDLK_i, 23}, {SDLK_j, 36}, {SDLK_k, 37}, {SDLK_l, 38},
    {SDLK_m, 50}, {SDLK_n, 49}, {SDLK_o, 24}, {SDLK_p, 25}, {SDLK_q, 16}, {SDLK_r, 19},
    {SDLK_s, 31}, {SDLK_t, 20}, {SDLK_u, 22}, {SDLK_v, 47}, {SDLK_w, 17}, {SDLK_x, 45},
    {SDLK_y, 21}, {SDLK_z, 44},
    {SDLK_0, 11}, {SDLK_1, 2}, {SDLK_2, 3}, {SDLK_3, 4}, {SDLK_4, 5}, {SDLK_5, 6},
    {SDLK_6, 7}, {SDLK_7, 8}, {SDLK_8, 9}, {SDLK_9, 10},
    {SDLK_KP0, 82}, {SDLK_KP1, 79}, {SDLK_KP2, 80}, {SDLK_KP3, 81}, {SDLK_KP4, 75},
    {SDLK_KP5, 76}, {SDLK_KP6, 77}, {SDLK_KP7, 71}, {SDLK_KP8, 72}, {SDLK_KP9, 73},
    {SDLK_F1, 59}, {SDLK_F2, 60}, {SDLK_F3, 61}, {SDLK_F4, 62}, {SDLK_F5, 63},
    {SDLK_F6, 64}, {SDLK_F7, 65}, {SDLK_F8, 66}, {SDLK_F9, 67}, {SDLK_F10, 68},
    {SDLK_F11, 87}, {SDLK_F12, 88}, {SDLK_F13, 85}, {SDLK_F14, 89}, {SDLK_F15, 90},
    {SDLK_BACKSPACE, 14}, {SDLK_TAB, 15}, {SDLK_RETURN, 28}, {SDLK_PAUSE, 119},
    {SDLK_ESCAPE, 1}, {SDLK_SPACE, 57},
    {SDLK_RSHIFT, 54}, {SDLK_LSHIFT, 42}, {SDLK_RCTRL, 97}, {SDLK_LCTRL, 29},
    {SDLK_RALT, 100}, {SDLK_LALT, 56}, {SDLK_RMETA, 126}, {SDLK_LMETA, 125},
    {SDLK_CAPSLOCK, 58}, {SDLK_NUMLOCK, 69}, {SDLK_DELETE, 111},
    {SDLK_KP_PERIOD, 83}, {SDLK_KP_DIVIDE, 98}, {SDLK_KP_MULTIPLY, 55}, {SDLK_KP_MINUS, 74},
    {SDLK_KP_PLUS, 78}, {SDLK_KP_ENTER, 96}, {SDLK_KP_EQUALS, 117},
    {SDLK_UP, 103}, {SDLK_DOWN, 108}, {SDLK_RIGHT, 106}, {SDLK_LEFT, 105},
    {SDLK_INSERT, 110}, {SDLK_HOME, 102}, {SDLK_END, 107}, {SDLK_PAGEUP, 104},
    {SDLK_PAGEDOWN, 109},
    {SDLK_MINUS, 12}, {SDLK_EQUALS, 13}, {SDLK_LEFTBRACKET, 26}, {SDLK_RIGHTBRACKET, 27},
    {SDLK_SEMICOLON, 39}, {SDLK_QUOTE, 40}, {SDLK_CARET, 41}, {SDLK_BACKSLASH, 43},
    {SDLK_COMMA, 51}, {SDLK_PERIOD, 52}, {SDLK_SLASH, 53},
}};

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
