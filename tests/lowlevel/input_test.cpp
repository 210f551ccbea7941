// Buttons and keyboard of the desktop back end, driven by synthesized window key events: the
// button map, one window event per call, the Scroll Lock switch and keyboard events.
#include <SDL.h>
#include <gtest/gtest.h>

#include "vkr_winHost.h"
#include "vkr_winState.h"

namespace {

void PushKey(SDLKey key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}

uint32_t ReadButtons() {
  uint32_t state = 0xDEADBEEF;
  EXPECT_EQ(VKR_GetGP2XInputState(&state), VKR_OK);
  return state;
}

struct KeyEvent {
  uint32_t result;
  uint16_t type = 0, code = 0;
  int32_t value = -1;
};

KeyEvent ReadKeyEvent(uint16_t device = 0) {
  KeyEvent event{};
  event.result = VKR_GetHIDEvent(device, &event.type, &event.code, &event.value);
  return event;
}

class Input : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("input"), VKR_OK);
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  void ToggleScrollLock() {
    PushKey(SDLK_SCROLLOCK, true);
    PushKey(SDLK_SCROLLOCK, false);
    ReadButtons();
    ReadButtons();
  }
};

TEST_F(Input, EveryButtonKeySetsAndClearsItsOwnBit) {
  const struct {
    SDLKey key;
    uint32_t mask;
  } buttons[] = {{SDLK_KP8, 0x1},        {SDLK_KP7, 0x2},          {SDLK_KP4, 0x4},
                 {SDLK_KP1, 0x8},        {SDLK_KP2, 0x10},         {SDLK_KP3, 0x20},
                 {SDLK_KP6, 0x40},       {SDLK_KP9, 0x80},         {SDLK_PAGEDOWN, 0x100},
                 {SDLK_DELETE, 0x200},   {SDLK_KP_DIVIDE, 0x400},  {SDLK_KP_MULTIPLY, 0x800},
                 {SDLK_HOME, 0x1000},    {SDLK_PAGEUP, 0x2000},    {SDLK_INSERT, 0x4000},
                 {SDLK_END, 0x8000},     {SDLK_KP_MINUS, 0x10000}, {SDLK_KP_PLUS, 0x20000},
                 {SDLK_KP5, 0x40000}};
  for (const auto& button : buttons) {
    PushKey(button.key, true);
    EXPECT_EQ(ReadButtons(), button.mask) << "key " << button.key;
    PushKey(button.key, false);
    EXPECT_EQ(ReadButtons(), 0u) << "key " << button.key;
  }
}

TEST_F(Input, HeldButtonsCombineAndOtherKeysAreIgnored) {
  PushKey(SDLK_KP7, true);
  EXPECT_EQ(ReadButtons(), 0x2u);
  PushKey(SDLK_KP8, true);
  EXPECT_EQ(ReadButtons(), 0x3u);
  PushKey(SDLK_a, true);
  EXPECT_EQ(ReadButtons(), 0x3u);
  PushKey(SDLK_KP8, false);
  EXPECT_EQ(ReadButtons(), 0x2u);
  PushKey(SDLK_KP7, false);
  PushKey(SDLK_KP_MINUS, true);
  PushKey(SDLK_KP_PLUS, true);
  ReadButtons();
  ReadButtons();
  EXPECT_EQ(ReadButtons(), 0x30000u);
}

TEST_F(Input, OneWindowEventIsTakenPerCall) {
  PushKey(SDLK_KP8, true);
  PushKey(SDLK_KP2, true);
  PushKey(SDLK_KP8, false);
  EXPECT_EQ(ReadButtons(), 0x01u);
  EXPECT_EQ(ReadButtons(), 0x11u);
  EXPECT_EQ(ReadButtons(), 0x10u);
  EXPECT_EQ(ReadButtons(), 0x10u);
}

TEST_F(Input, ScrollLockSwitchesToKeyboardEventsAndBack) {
  EXPECT_EQ(ReadKeyEvent().result, VKR_HID_NOT_AVAILABLE);
  EXPECT_EQ(ReadKeyEvent(1).result, VKR_HID_NOT_AVAILABLE);
  PushKey(SDLK_KP8, true);
  ReadButtons();
  ToggleScrollLock();
  EXPECT_EQ(ReadKeyEvent().result, VKR_HID_NO_EVENT);
  EXPECT_EQ(ReadKeyEvent(1).result, VKR_HID_NOT_AVAILABLE);

  PushKey(SDLK_a, true);
  const KeyEvent pressed = ReadKeyEvent();
  EXPECT_EQ(pressed.result, VKR_HID_EVENT);
  EXPECT_EQ(pressed.type, 1);
  EXPECT_EQ(pressed.code, 30);
  EXPECT_EQ(pressed.value, 1);
  EXPECT_EQ(ReadKeyEvent().result, VKR_HID_NO_EVENT);

  // Buttons held when the mode changed stay held; keys no longer move them.
  PushKey(SDLK_KP8, false);
  EXPECT_EQ(ReadKeyEvent().value, 0);
  EXPECT_EQ(ReadButtons(), 0x1u);

  ToggleScrollLock();
  EXPECT_EQ(ReadKeyEvent().result, VKR_HID_NOT_AVAILABLE);
  PushKey(SDLK_KP8, false);
  EXPECT_EQ(ReadButtons(), 0u);
}

TEST_F(Input, KeyboardModeMapsKeysToLinuxCodes) {
  ToggleScrollLock();
  const struct {
    SDLKey key;
    uint16_t code;
  } keys[] = {{SDLK_z, 44},         {SDLK_0, 11},          {SDLK_9, 10},       {SDLK_KP0, 82},
              {SDLK_KP9, 73},       {SDLK_F1, 59},         {SDLK_F11, 87},     {SDLK_F15, 90},
              {SDLK_RETURN, 28},    {SDLK_ESCAPE, 1},      {SDLK_RMETA, 126},  {SDLK_DELETE, 111},
              {SDLK_KP_ENTER, 96},  {SDLK_KP_EQUALS, 117}, {SDLK_UP, 103},     {SDLK_PAGEDOWN, 109},
              {SDLK_CARET, 41},     {SDLK_SLASH, 53},      {SDLK_PAUSE, 119},  {SDLK_NUMLOCK, 69}};
  for (const auto& key : keys) {
    PushKey(key.key, false);
    const KeyEvent released = ReadKeyEvent();
    EXPECT_EQ(released.result, VKR_HID_EVENT) << "key " << key.key;
    EXPECT_EQ(released.code, key.code) << "key " << key.key;
    EXPECT_EQ(released.value, 0);
  }
  PushKey(SDLK_SCROLLOCK, true);  // not a reported key
  EXPECT_EQ(ReadKeyEvent().result, VKR_HID_NO_EVENT);
}

TEST_F(Input, TwoKeyEventsAreDeliveredByTwoCalls) {
  ToggleScrollLock();
  PushKey(SDLK_b, true);
  PushKey(SDLK_c, true);
  EXPECT_EQ(ReadKeyEvent().code, 48);
  EXPECT_EQ(ReadKeyEvent().code, 46);
  EXPECT_EQ(ReadKeyEvent().result, VKR_HID_NO_EVENT);
}

// Closing the window is a request the host reads, not an exit; a new start forgets it.
TEST_F(Input, ClosingTheWindowIsARequestToEnd) {
  EXPECT_FALSE(VKR_WinCloseRequested());
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&quit), 0);
  ReadButtons();
  EXPECT_TRUE(VKR_WinCloseRequested());
  EXPECT_TRUE(VKR_WinIsStarted());
  ASSERT_EQ(VKR_InitLowLevelAPI("input again"), VKR_OK);
  EXPECT_FALSE(VKR_WinCloseRequested());
}

TEST_F(Input, NullPointersAnswerBadArgument) {
  uint16_t type, code;
  int32_t value;
  EXPECT_EQ(VKR_GetGP2XInputState(nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetHIDEvent(0, nullptr, &code, &value), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, nullptr, &value), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_GetHIDEvent(0, &type, &code, nullptr), VKR_BAD_ARGUMENT);
}

}  // namespace
