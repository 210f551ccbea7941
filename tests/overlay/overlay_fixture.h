// overlay_fixture.h: the library started on a virtual clock, both overlays initialised, frames
// driven through the dispatcher with synthesized button words, and readers for cursor pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "tinymenu_vol.h"
#include "tinymenu_vol_bitmaps.h"
#include "vkr_lowLevel.h"
#include "vkr_winHost.h"

inline constexpr uint32_t kMenuPicture = 0x7F4800;
inline constexpr uint32_t kMutedPicture = 0x7F5000;
inline constexpr uint32_t LevelPicture(int level) { return 0x7F5800 + 2048 * level; }
inline constexpr uint32_t kFrameMs = 16;

// Pixel code at (row, column) of a packed bitmap of the given width.
inline int BitmapCode(const uint8_t* bitmap, uint32_t width, uint32_t row, uint32_t column) {
  return bitmap[row * ((2 * width + 7) / 8) + column / 4] >> 2 * (column % 4) & 3;
}

// Pixel code at a frame line of a cursor picture: 32-pixel rows on the LCD; on TV 64-pixel rows of
// the even-line field, or of the odd-line field 1024 bytes further.
inline int PictureCode(const uint8_t* picture, bool lcd, uint32_t line, uint32_t column) {
  return lcd ? BitmapCode(picture, 32, line, column)
             : BitmapCode(picture + line % 2 * 1024, 64, line / 2, column);
}

// How many pixels of the bitmap, placed with its top-left at (line, column), differ in the picture.
inline int Mismatches(const uint8_t* picture, bool lcd, uint32_t line, uint32_t column,
                      const uint8_t* bitmap, TMV_BitmapSize size) {
  int count = 0;
  for (uint32_t r = 0; r < size.height; ++r)
    for (uint32_t c = 0; c < size.width; ++c)
      count += PictureCode(picture, lcd, line + r, column + c) !=
               BitmapCode(bitmap, size.width, r, c);
  return count;
}

class OverlayTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kClockStartMs = 50000;

  // The cursor layer as the library's operations left it in the display model.
  static const DISP_CursorLayer& Cursor() { return VKR_WinDisplayModel().cursorLayer; }

  void SetUp() override {
    VKR_WinUseVirtualClock(kClockStartMs);
    ASSERT_EQ(VKR_InitLowLevelAPI("overlay test"), VKR_OK);
    VKR_GetVideoBasePtr(&video);
    Initialize(1, 0);
  }
  void TearDown() override {
    VKR_FreeLowLevelAPI(0);
    VKR_WinUseSystemClock();
  }

  void Initialize(int lcd, int pal) {
    VKR_TMV_Vol_Initialize(lcd, pal);
    VKR_TMV_TinyMenu_Initialize(lcd, pal);
    previous = 0;
  }

  // One frame with these buttons held, at the current time.
  void Frame(uint32_t held) {
    HandleVolAndTinyMenu(held, previous);
    previous = held;
  }
  void Advance(uint32_t ms) { VKR_WinAdvanceVirtualClock(ms); }
  // Frames kFrameMs apart for at least ms, with these buttons held.
  void Hold(uint32_t held, uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += kFrameMs) {
      Advance(kFrameMs);
      Frame(held);
    }
  }
  // A press of one frame, then a frame with everything released.
  void Press(uint32_t buttons) {
    Advance(kFrameMs);
    Frame(buttons);
    Advance(kFrameMs);
    Frame(0);
  }
  // Opens the menu and waits until its opening fade is over.
  void OpenMenu() {
    Press(VKR_BUTTON_START);
    Hold(0, 400);
  }
  // Moves the selection and waits until the change is over.
  void Move(uint32_t button) {
    Press(button);
    Hold(0, 400);
  }

  const uint8_t* Picture(uint32_t offset) const { return video + offset; }
  int State() const { return VKR_TMV_TinyMenu_GetState(); }

  uint8_t* video = nullptr;
  uint32_t previous = 0;
};
