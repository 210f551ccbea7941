// key_map_test.cpp: the keyboard emulation mode's whole map of 105 keys against the list written
// out here, every other key ignored, and the Scroll Lock switch's edge rules.
#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "vkr_lowLevel.h"

namespace {

struct KeyCode {
  SDLKey key;
  uint16_t code;
};

// In the order the map is written down: letters, digits, keypad digits, F1 to F15, then the rest.
constexpr KeyCode kExpected[] = {
    {SDLK_a, 30}, {SDLK_b, 48}, {SDLK_c, 46}, {SDLK_d, 32}, {SDLK_e, 18}, {SDLK_f, 33},
    {SDLK_g, 34}, {SDLK_h, 35}, {SDLK_i, 23}, {SDLK_j, 36}, {SDLK_k, 37}, {SDLK_l, 38},
    {SDLK_m, 50}, {SDLK_n, 49}, {SDLK_o, 24}, {SDLK_p, 25}, {SDLK_q, 16}, {SDLK_r, 19},
    {SDLK_s, 31}, {SDLK_t, 20}, {SDLK_u, 22}, {SDLK_v, 47}, {SDLK_w, 17}, {SDLK_x, 45},
    {SDLK_y, 21}, {SDLK_z, 44},
    {SDLK_0, 11}, {SDLK_1, 2}, {SDLK_2, 3}, {SDLK_3, 4}, {SDLK_4, 5}, {SDLK_5, 6}, {SDLK_6, 7},
    {SDLK_7, 8}, {SDLK_8, 9}, {SDLK_9, 10},
    {SDLK_KP0, 82}, {SDLK_KP1, 79}, {SDLK_KP2, 80}, {SDLK_KP3, 81}, {SDLK_KP4, 75},
    {SDLK_KP5, 76}, {SDLK_KP6, 77}, {SDLK_KP7, 71}, {SDLK_KP8, 72}, {SDLK_KP9, 73},
    {SDLK_F1, 59}, {SDLK_F2, 60}, {SDLK_F3, 61}, {SDLK_F4, 62}, {SDLK_F5, 63}, {SDLK_F6, 64},
    {SDLK_F7, 65}, {SDLK_F8, 66}, {SDLK_F9, 67}, {SDLK_F10, 68}, {SDLK_F11, 87}, {SDLK_F12, 88},
    {SDLK_F13, 85}, {SDLK_F14, 89}, {SDLK_F15, 90},
    {SDLK_BACKSPACE, 14}, {SDLK_TAB, 15}, {SDLK_RETURN, 28}, {SDLK_PAUSE, 119},
    {SDLK_ESCAPE, 1}, {SDLK_SPACE, 57},
    {SDLK_RSHIFT, 54}, {SDLK_LSHIFT, 42}, {SDLK_RCTRL, 97}, {SDLK_LCTRL, 29}, {SDLK_RALT, 100},
    {SDLK_LALT, 56}, {SDLK_RMETA, 126}, {SDLK_LMETA, 125}, {SDLK_CAPSLOCK, 58},
    {SDLK_NUMLOCK, 69}, {SDLK_DELETE, 111},
    {SDLK_KP_PERIOD, 83}, {SDLK_KP_DIVIDE, 98}, {SDLK_KP_MULTIPLY, 55}, {SDLK_KP_MINUS, 74},
    {SDLK_KP_PLUS, 78}, {SDLK_KP_ENTER, 96}, {SDLK_KP_EQUALS, 117},
    {SDLK_UP, 103}, {SDLK_DOWN, 108}, {SDLK_RIGHT, 106}, {SDLK_LEFT, 105}, {SDLK_INSERT, 110},
    {SDLK_HOME, 102}, {SDLK_END, 107}, {SDLK_PAGEUP, 104}, {SDLK_PAGEDOWN, 109},
    {SDLK_MINUS, 12}, {SDLK_EQUALS, 13}, {SDLK_LEFTBRACKET, 26}, {SDLK_RIGHTBRACKET, 27},
    {SDLK_SEMICOLON, 39}, {SDLK_QUOTE, 40}, {SDLK_CARET, 41}, {SDLK_BACKSLASH, 43},
    {SDLK_COMMA, 51}, {SDLK_PERIOD, 52}, {SDLK_SLASH, 53},
};
static_assert(sizeof kExpected / sizeof kExpected[0] == 105);

void PushKey(int key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = static_cast<SDLKey>(key);
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}

struct KeyEvent {
  uint32_t result;
  uint16_t type = 0, code = 0;
  int32_t value = -1;
};

KeyEvent ReadKeyEvent() {
  KeyEvent event{};
  event.result = VKR_GetHIDEvent(0, &event.type, &event.code, &event.value);
  return event;
}

bool InKeyboardMode() {
  uint16_t type, code;
  int32_t value;
  return VKR_GetHIDEvent(0, &type, &code, &value) != VKR_HID_NOT_AVAILABLE;
}

class KeyMap : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("key map"), VKR_OK);
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  // Each pushed Scroll Lock event taken by one pump.
  static void ScrollLock(std::initializer_list<bool> downs) {
    for (bool down : downs) {
      PushKey(SDLK_SCROLLOCK, down);
      uint32_t state;
      VKR_GetGP2XInputState(&state);
    }
  }
};

TEST_F(KeyMap, EveryListedKeyReportsItsCodeDownAndUp) {
  ScrollLock({true, false});
  ASSERT_TRUE(InKeyboardMode());
  for (const KeyCode& expected : kExpected) {
    for (bool down : {true, false}) {
      PushKey(expected.key, down);
      const KeyEvent event = ReadKeyEvent();
      EXPECT_EQ(event.result, VKR_HID_EVENT) << "key " << expected.key;
      EXPECT_EQ(event.type, 1) << "key " << expected.key;
      EXPECT_EQ(event.code, expected.code) << "key " << expected.key;
      EXPECT_EQ(event.value, down ? 1 : 0) << "key " << expected.key;
    }
  }
}

TEST_F(KeyMap, EveryOtherKeyIsIgnored) {
  ScrollLock({true, false});
  std::set<int> listed;
  for (const KeyCode& expected : kExpected) listed.insert(expected.key);
  for (int key = SDLK_FIRST; key < SDLK_LAST; ++key) {
    if (listed.count(key) || key == SDLK_SCROLLOCK) continue;
    PushKey(key, true);
    EXPECT_EQ(ReadKeyEvent().result, VKR_HID_NO_EVENT) << "key " << key;
  }
  EXPECT_TRUE(InKeyboardMode());
}

// The mode changes on a release that follows a press: a repeated press counts once, a release
// without a press does nothing.
TEST_F(KeyMap, ScrollLockSwitchesOnlyOnAReleaseAfterAPress) {
  ScrollLock({false});
  EXPECT_FALSE(InKeyboardMode()) << "release without a press";
  ScrollLock({true});
  EXPECT_FALSE(InKeyboardMode()) << "a press alone";
  ScrollLock({true, true, false});
  EXPECT_TRUE(InKeyboardMode()) << "repeated press, one release";
  ScrollLock({false});
  EXPECT_TRUE(InKeyboardMode()) << "second release";
  ScrollLock({true, false});
  EXPECT_FALSE(InKeyboardMode()) << "back to buttons";
}

}  // namespace
