// tinymenu_vol.cpp: the volume overlay and the tiny pause menu, both drawn in the cursor layer, the
// per-frame dispatcher of the buttons to them, and the demo clock that stands still while paused.
#include "tinymenu_vol.h"

#include <mikmod.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "demo_layout.h"
#include "tinymenu_vol_bitmaps.h"
#include "vkr_lowLevel.h"

namespace {

// Video memory kept for the overlays' pictures, up to its end. A slot holds one picture: on the
// LCD 32 rows of 32 pixels (the copies carry 1024 bytes); on TV two 64 x 64 field pictures, the
// odd frame lines 1024 bytes after the even ones.
constexpr uint32_t kPictureSlotBytes = 2048;
constexpr uint32_t kMenuPictureOffset = kDemoOverlayPictures;
constexpr uint32_t kMutedPictureOffset = kMenuPictureOffset + kPictureSlotBytes;
constexpr uint32_t kLevelPicturesOffset = kMutedPictureOffset + kPictureSlotBytes;
constexpr uint32_t kFieldPictureBytes = 1024;
constexpr uint32_t kLcdPictureWidth = 32, kTvPictureWidth = 64;  // pixels, four a byte
constexpr uint8_t kFourTransparentPixels = 0xAA;

constexpr int kLevels = 21;
constexpr int kStartLevel = 7;
constexpr uint32_t kVolumeShowMs = 2000, kVolumeFadeMs = 240, kVolumeBlinkMs = 200;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF, kHalfBlack = 0x80000000;

constexpr int kMenuClosed = 0, kMenuOpen = 1, kExitChosen = 2, kPausedHidden = 3;
constexpr int kItemPlay = 0, kItemCamera = 1, kItemExit = 2, kItemCount = 3;
constexpr uint32_t kMenuFadeMs = 320, kItemChangeMs = 290;
constexpr uint32_t kShinePeriodMs = 10000, kShineStartMs = 9000, kShineSweepMs = 1000;
constexpr double kQuarterTurn = 1.570796326795;

constexpr std::array<int, kLevels> MakeVolumeTable() {
  std::array<int, kLevels> table{};
  for (int level = 0; level < kLevels; ++level) table[level] = 128 * level / (kLevels - 1);
  return table;
}

}  // namespace

// ---- Volume overlay state ----------------------------------------------------------------
static int g_TMV_VOLUME_INDEX = kStartLevel;
static constexpr std::array<int, kLevels> g_TMV_VOLUME_TABLE = MakeVolumeTable();
static int g_TMV_MUTE_ENABLE = 0;
static int g_TMV_IS_VOLUME_CHANGE = 0;
static int g_TMV_IS_VOLUME_SHOW = 0;
static uint32_t g_TMV_VOLCTRL_SHOW_UNTIL_TIME = 0;
static uint32_t g_TMV_VOLCTRL_TILD_TIME = 0;  // end of the blink at a limit
static uint16_t g_TMV_VOLCTRL_POSX = 0, g_TMV_VOLCTRL_POSY = 0;
static int g_TMV_Volume_LCD = 1;  // also decides the menu's cursor size

// ---- Pause menu state --------------------------------------------------------------------
static int g_TMV_TINYMENU_STATE = kMenuClosed;
static int g_TMV_TINYMENU_SHOW = 0;  // the menu owns the cursor layer; volume buttons are inert
static int g_TMV_TINYMENU_SELITEM = kItemPlay;
// Ends of the running animations; 0 when none runs.
static uint32_t g_TMV_TINYMENU_FADEIN_UNTIL_TIME = 0;
static uint32_t g_TMV_TINYMENU_FADEOUT_UNTIL_TIME = 0;
static uint32_t g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME = 0;
static uint32_t g_TMV_TINYMENU_DO_PREV_UNTIL_TIME = 0;
static uint32_t g_TMV_TINYMENU_TIME_START_SHOWING = 0;  // drives the shine
static int g_TMV_TINYMENU_NEXT_PRESSED = 0;
static int g_TMV_TINYMENU_PREV_PRESSED = 0;
static int g_TMV_Tinymenu_LCD = 1;
static uint16_t g_TMV_TINYMENU_POSX = 0, g_TMV_TINYMENU_POSY = 0;
// Built every frame in the cursor picture layout, then copied to video memory.
alignas(4) static uint8_t g_TMV_TINYMENU_BUFFER[kPictureSlotBytes];

// ---- Demo clock --------------------------------------------------------------------------
static uint32_t g_TMV_ABSOLUTE_TIMER_START = 0;
static uint32_t g_TMV_ABSOLUTE_TIMER_START_PAUSE = 0;  // 0 when not paused

namespace {

uint32_t ReadClockMS() {
  uint32_t now = 0;
  VKR_GetTime(&now);
  return now;
}

uint8_t* VideoMemory() {
  uint8_t* base = nullptr;
  VKR_GetVideoBasePtr(&base);
  return base;
}

uint16_t CursorSize() { return g_TMV_Volume_LCD ? 32 : 64; }

// ---- Cursor pictures ----------------------------------------------------------------------
// A picture is addressed by frame line: on the LCD line y is row y of 32 pixels; on TV it is row
// y / 2 of the even or odd field picture, 64 pixels a row.

void SetPixelCode(uint8_t* rows, uint32_t rowBytes, uint32_t row, uint32_t column, uint8_t code) {
  uint8_t& byte = rows[row * rowBytes + column / 4];
  const unsigned shift = 2 * (column % 4);
  byte = static_cast<uint8_t>((byte & ~(3u << shift)) | static_cast<unsigned>(code) << shift);
}

uint8_t PixelCode(const uint8_t* rows, uint32_t rowBytes, uint32_t row, uint32_t column) {
  return (rows[row * rowBytes + column / 4] >> 2 * (column % 4)) & 3;
}

void SetLinePixel(uint8_t* picture, bool lcd, uint32_t line, uint32_t column, uint8_t code) {
  if (lcd)
    SetPixelCode(picture, kLcdPictureWidth / 4, line, column, code);
  else
    SetPixelCode(picture + line % 2 * kFieldPictureBytes, kTvPictureWidth / 4, line / 2, column,
                 code);
}

uint8_t LinePixel(const uint8_t* picture, bool lcd, uint32_t line, uint32_t column) {
  return lcd ? PixelCode(picture, kLcdPictureWidth / 4, line, column)
             : PixelCode(picture + line % 2 * kFieldPictureBytes, kTvPictureWidth / 4, line / 2,
                         column);
}

// Copies a whole bitmap with its top-left pixel at (line, column). On TV line must be even, so
// that the bitmap's even rows go to the even field.
void PlaceBitmap(uint8_t* picture, bool lcd, uint32_t line, uint32_t column, const uint8_t* bitmap,
                 TMV_BitmapSize size) {
  if (lcd)
    VKR_BLKMEMCPY(picture, 2 * (line * kLcdPictureWidth + column), 2 * kLcdPictureWidth, bitmap,
                  2 * size.width, size.height);
  else
    VKR_BLKMEMCPY_INTERLACE(picture, picture + kFieldPictureBytes,
                            2 * (line / 2 * kTvPictureWidth + column), 2 * kTvPictureWidth, bitmap,
                            2 * size.width, size.height);
}

// ---- Volume pictures ----------------------------------------------------------------------

const uint8_t* const kDigits[10] = {
    BMP_VOLUME_NUMBER_1.data(), BMP_VOLUME_NUMBER_2.data(), BMP_VOLUME_NUMBER_3.data(),
    BMP_VOLUME_NUMBER_4.data(), BMP_VOLUME_NUMBER_5.data(), BMP_VOLUME_NUMBER_6.data(),
    BMP_VOLUME_NUMBER_7.data(), BMP_VOLUME_NUMBER_8.data(), BMP_VOLUME_NUMBER_9.data(),
    BMP_VOLUME_NUMBER_10.data()};

struct VolumeLayout {
  bool lcd;
  uint32_t mutedPictureBytes, levelPictureBytes;
  const uint8_t* background;       // Volume over a full bar
  const uint8_t* mutedBackground;  // Volume over Muted
  TMV_BitmapSize backgroundSize;
  uint32_t digitLine, tensColumn, unitsColumn;
  uint32_t barFirstLine, barLastLine, barFirstColumn, barColumns;
};

const VolumeLayout kLcdVolumeLayout = {
    true, 512, 1024, BMP_VOLUMEBKG_SMALL.data(), BMP_VOLUMEBKG_MUTED_SMALL.data(),
    TMV_VOLUMEBKG_SMALL_SIZE, 19, 10, 21, 13, 15, 3, 26};
const VolumeLayout kTvVolumeLayout = {
    false, 2048, 2048, BMP_VOLUMEBKG_BIG.data(), BMP_VOLUMEBKG_MUTED_BIG.data(),
    TMV_VOLUMEBKG_BIG_SIZE, 32, 42, 53, 20, 24, 4, 56};

uint8_t* LevelPicture(uint8_t* video, int level) {
  return video + kLevelPicturesOffset + kPictureSlotBytes * level;
}

void PlaceDigit(uint8_t* picture, const VolumeLayout& layout, uint32_t column, int digit) {
  PlaceBitmap(picture, layout.lcd, layout.digitLine, column, kDigits[digit],
              TMV_VOLUME_NUMBER_SIZE);
}

// Levels 1-9 inherit no tens digit from level 0 and levels 11-19 the 1 of level 10, so only the
// units digit and the bar differ from one picture to the next.
void BuildVolumePictures(uint8_t* video, const VolumeLayout& layout) {
  uint8_t* muted = video + kMutedPictureOffset;
  VKR_MEMSET(muted, kFourTransparentPixels, layout.mutedPictureBytes);
  PlaceBitmap(muted, layout.lcd, 0, 0, layout.mutedBackground, layout.backgroundSize);

  uint8_t* level0 = LevelPicture(video, 0);
  VKR_MEMSET(level0, kFourTransparentPixels, layout.levelPictureBytes);
  PlaceBitmap(level0, layout.lcd, 0, 0, layout.background, layout.backgroundSize);

  const int top = kLevels - 1;
  for (int level : {10, 20}) {
    VKR_MEMCPY(LevelPicture(video, level), level0, layout.levelPictureBytes);
    PlaceDigit(LevelPicture(video, level), layout, layout.tensColumn, level / 10);
  }
  for (int level = 1; level <= top; ++level)
    if (level % 10 != 0)
      VKR_MEMCPY(LevelPicture(video, level), LevelPicture(video, level - 1),
                 layout.levelPictureBytes);

  for (int level = 0; level <= top; ++level) {
    uint8_t* picture = LevelPicture(video, level);
    PlaceDigit(picture, layout, layout.unitsColumn, level % 10);
    if (level == top) continue;
    const uint32_t whiteColumns = layout.barColumns * level / top;
    for (uint32_t line = layout.barFirstLine; line <= layout.barLastLine; ++line)
      for (uint32_t column = layout.barFirstColumn + whiteColumns;
           column < layout.barFirstColumn + layout.barColumns; ++column)
        SetLinePixel(picture, layout.lcd, line, column, TMV_CODE_DARK);
  }
}

// One level up (+1) or down (-1), bounded by limit; at the limit the picture blinks instead.
void StepVolume(int step, int limit) {
  if (g_TMV_TINYMENU_SHOW) return;
  const uint32_t now = ReadClockMS();
  g_TMV_VOLCTRL_SHOW_UNTIL_TIME = now + kVolumeShowMs;
  if (g_TMV_MUTE_ENABLE) {
    g_TMV_MUTE_ENABLE = 0;
    g_TMV_IS_VOLUME_CHANGE = 1;
  } else if (g_TMV_VOLUME_INDEX == limit) {
    g_TMV_VOLCTRL_TILD_TIME = now + kVolumeBlinkMs;
  } else {
    g_TMV_VOLUME_INDEX += step;
    g_TMV_IS_VOLUME_CHANGE = 1;
  }
}

// White at alpha 255 x fraction / 65536, fraction 0 to 65536.
uint32_t WhiteWithAlpha(uint32_t fraction) { return fraction * 0xFF00 | 0x00FFFFFF; }

}  // namespace

void VKR_TMV_Vol_Initialize(int lcd, int pal) {
  g_TMV_Volume_LCD = lcd;
  if (lcd) {
    g_TMV_VOLCTRL_POSX = 240;
    g_TMV_VOLCTRL_POSY = 195;
  } else {
    g_TMV_VOLCTRL_POSX = 540;
    g_TMV_VOLCTRL_POSY = pal ? 219 : 179;
  }
  g_TMV_VOLCTRL_SHOW_UNTIL_TIME = 0;
  g_TMV_VOLCTRL_TILD_TIME = 0;
  g_TMV_VOLUME_INDEX = kStartLevel;
  g_TMV_IS_VOLUME_CHANGE = 1;
  g_TMV_IS_VOLUME_SHOW = 0;
  g_TMV_MUTE_ENABLE = 0;
  if (uint8_t* video = VideoMemory())
    BuildVolumePictures(video, lcd ? kLcdVolumeLayout : kTvVolumeLayout);
}

void VKR_TMV_Vol_IncVolume() { StepVolume(+1, kLevels - 1); }
void VKR_TMV_Vol_DecVolume() { StepVolume(-1, 0); }

void VKR_TMV_Vol_Mute() {
  if (g_TMV_TINYMENU_SHOW) return;
  g_TMV_VOLCTRL_SHOW_UNTIL_TIME = ReadClockMS() + kVolumeShowMs;
  if (g_TMV_MUTE_ENABLE) return;
  g_TMV_MUTE_ENABLE = 1;
  g_TMV_IS_VOLUME_CHANGE = 1;
}

int VKR_TMV_Vol_Update() {
  if (g_TMV_TINYMENU_SHOW) {
    g_TMV_VOLCTRL_SHOW_UNTIL_TIME = 0;
    return g_TMV_IS_VOLUME_CHANGE;
  }
  const uint32_t now = ReadClockMS();
  if (now < g_TMV_VOLCTRL_SHOW_UNTIL_TIME) {
    uint32_t color1 = kOpaqueWhite, color0 = kHalfBlack;
    const uint32_t blinkLeft = g_TMV_VOLCTRL_TILD_TIME - now;
    const uint32_t showLeft = g_TMV_VOLCTRL_SHOW_UNTIL_TIME - now;
    if (g_TMV_VOLCTRL_TILD_TIME > now && blinkLeft < kVolumeBlinkMs) {
      // The white dims to half and comes back.
      uint32_t fraction = blinkLeft * 65536 / kVolumeBlinkMs;
      if (blinkLeft < kVolumeBlinkMs / 2) fraction = 65536 - fraction;
      color1 = WhiteWithAlpha(fraction);
    } else if (showLeft < kVolumeFadeMs) {
      const uint32_t fraction = showLeft * 65536 / kVolumeFadeMs;
      color1 = WhiteWithAlpha(fraction);
      color0 = fraction * 32768 & 0xFF000000;
    }
    const uint32_t picture = g_TMV_MUTE_ENABLE
                                 ? kMutedPictureOffset
                                 : kLevelPicturesOffset + kPictureSlotBytes * g_TMV_VOLUME_INDEX;
    VKR_MoveCursor(g_TMV_VOLCTRL_POSX, g_TMV_VOLCTRL_POSY);
    VKR_SetCursorParams(1, CursorSize(), color1, color0, picture);
    g_TMV_IS_VOLUME_SHOW = 1;
  } else if (g_TMV_IS_VOLUME_SHOW) {
    VKR_SetCursorParams(0, CursorSize(), kOpaqueWhite, kHalfBlack, kMutedPictureOffset);
    g_TMV_IS_VOLUME_SHOW = 0;
  }
  return g_TMV_IS_VOLUME_CHANGE;
}

int VKR_TMV_Vol_GetVolume() {
  g_TMV_IS_VOLUME_CHANGE = 0;
  return g_TMV_MUTE_ENABLE ? 0 : g_TMV_VOLUME_TABLE[g_TMV_VOLUME_INDEX];
}

int VKR_TMV_Vol_GetLevel() { return g_TMV_MUTE_ENABLE ? 0 : g_TMV_VOLUME_INDEX; }

namespace {

// ---- Pause menu pictures ------------------------------------------------------------------

struct MenuLayout {
  // By item: Play, Camera, Exit.
  const uint8_t* icons[kItemCount];
  const uint8_t* labels[kItemCount];
  // Left, right, left pressed, right pressed.
  const uint8_t* arrows[4];
  TMV_BitmapSize iconSize, labelSize, arrowSize;
  uint32_t iconColumn, rightArrowColumn, labelLine;
  double slideAmplitude;  // pixels
  uint32_t shineBandWidth;
};

const MenuLayout kLcdMenuLayout = {
    {BMP_TINYMENU_ICON_SMALL_1.data(), BMP_TINYMENU_ICON_SMALL_3.data(),
     BMP_TINYMENU_ICON_SMALL_2.data()},
    {BMP_TINYMENU_LABEL_SMALL_1.data(), BMP_TINYMENU_LABEL_SMALL_3.data(),
     BMP_TINYMENU_LABEL_SMALL_2.data()},
    {BMP_TINYMENU_ARROWS_SMALL_1.data(), BMP_TINYMENU_ARROWS_SMALL_2.data(),
     BMP_TINYMENU_ARROWS_SMALL_3.data(), BMP_TINYMENU_ARROWS_SMALL_4.data()},
    TMV_TINYMENU_ICON_SMALL_SIZE, TMV_TINYMENU_LABEL_SMALL_SIZE, TMV_TINYMENU_ARROWS_SMALL_SIZE,
    6, 26, 20, 12.0, 7};
const MenuLayout kTvMenuLayout = {
    {BMP_TINYMENU_ICON_BIG_1.data(), BMP_TINYMENU_ICON_BIG_3.data(),
     BMP_TINYMENU_ICON_BIG_2.data()},
    {BMP_TINYMENU_LABEL_BIG_1.data(), BMP_TINYMENU_LABEL_BIG_3.data(),
     BMP_TINYMENU_LABEL_BIG_2.data()},
    {BMP_TINYMENU_ARROWS_BIG_1.data(), BMP_TINYMENU_ARROWS_BIG_2.data(),
     BMP_TINYMENU_ARROWS_BIG_3.data(), BMP_TINYMENU_ARROWS_BIG_4.data()},
    TMV_TINYMENU_ICON_BIG_SIZE, TMV_TINYMENU_LABEL_BIG_SIZE, TMV_TINYMENU_ARROWS_BIG_SIZE,
    12, 52, 40, 28.0, 12};

const MenuLayout& CurrentMenuLayout() {
  return g_TMV_Tinymenu_LCD ? kLcdMenuLayout : kTvMenuLayout;
}

bool MenuAnimationRunning() {
  return g_TMV_TINYMENU_FADEIN_UNTIL_TIME || g_TMV_TINYMENU_FADEOUT_UNTIL_TIME ||
         g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME || g_TMV_TINYMENU_DO_PREV_UNTIL_TIME;
}

// Time left of an animation that ends at end, never more than its span, so that a clock set
// back cannot carry a drawing outside its strip.
uint32_t TimeLeft(uint32_t end, uint32_t now, uint32_t span) { return std::min(end - now, span); }

// The pulsing colours: white alpha between about 175 and 254, black between 88 and 127.
void PulseColours(uint32_t now, uint32_t* color1, uint32_t* color0) {
  const double wave = std::sin(now * 6.28318530718 / 1750) * 5177344 + 5177344;
  const uint32_t level = static_cast<uint32_t>(wave) / 2 + 0xB00000;
  *color1 = (level * 255 & 0xFF000000) | 0x00FFFFFF;
  *color0 = level << 7 & 0xFF000000;
}

uint32_t ScaleAlpha(uint32_t colour, uint32_t brightness) {
  return (colour & 0x00FFFFFF) | ((colour >> 24) * brightness >> 8) << 24;
}

// Fades both colours with a running opening or closing fade; answers the slide offset in pixels.
int SlideAndFade(uint32_t now, const MenuLayout& layout, uint32_t* color1, uint32_t* color0) {
  const double amplitude = layout.slideAmplitude;
  int offset = 0;
  uint32_t brightness = 0;
  if (g_TMV_TINYMENU_FADEIN_UNTIL_TIME) {
    const uint32_t left = TimeLeft(g_TMV_TINYMENU_FADEIN_UNTIL_TIME, now, kMenuFadeMs);
    offset = static_cast<int>(-amplitude + amplitude * std::cos(left * kQuarterTurn / kMenuFadeMs));
    brightness = 255 - left * 255 / kMenuFadeMs;
  } else if (g_TMV_TINYMENU_FADEOUT_UNTIL_TIME) {
    const uint32_t left = TimeLeft(g_TMV_TINYMENU_FADEOUT_UNTIL_TIME, now, kMenuFadeMs);
    const double angle = kQuarterTurn - left * kQuarterTurn / kMenuFadeMs;
    offset = static_cast<int>(amplitude - amplitude * std::cos(angle));
    brightness = left * 255 / kMenuFadeMs;
  } else {
    return 0;
  }
  *color1 = ScaleAlpha(*color1, brightness);
  *color0 = ScaleAlpha(*color0, brightness);
  return offset;
}

void EndFinishedItemChange(uint32_t now) {
  if (g_TMV_TINYMENU_DO_PREV_UNTIL_TIME && now > g_TMV_TINYMENU_DO_PREV_UNTIL_TIME) {
    g_TMV_TINYMENU_DO_PREV_UNTIL_TIME = 0;
    g_TMV_TINYMENU_SELITEM = (g_TMV_TINYMENU_SELITEM + kItemCount - 1) % kItemCount;
  } else if (g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME && now > g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME) {
    g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME = 0;
    g_TMV_TINYMENU_SELITEM = (g_TMV_TINYMENU_SELITEM + 1) % kItemCount;
  }
}

// The dark box: the shown part of the image becomes code 0. On TV the field rows below the menu
// keep the transparent code they got at initialisation.
void ClearMenuImage() {
  if (g_TMV_Tinymenu_LCD) {
    VKR_MEMSET(g_TMV_TINYMENU_BUFFER, 0, kFieldPictureBytes);
  } else {
    VKR_MEMSET(g_TMV_TINYMENU_BUFFER, 0, kFieldPictureBytes / 2);
    VKR_MEMSET(g_TMV_TINYMENU_BUFFER + kFieldPictureBytes, 0, kFieldPictureBytes / 2);
  }
}

// Two bitmaps of one size share a strip of its width split at column split: the first squeezed
// into the columns left of the split, the second into the rest. Dark pixels are not written.
void DrawSqueezedPair(const uint8_t* first, const uint8_t* second, TMV_BitmapSize size,
                      uint32_t line, uint32_t column, uint32_t split) {
  const bool lcd = g_TMV_Tinymenu_LCD;
  const uint32_t width = size.width, rowBytes = TMV_RowBytes(size.width);
  for (uint32_t row = 0; row < size.height; ++row) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t code =
          x < split ? PixelCode(first, rowBytes, row, x * width / (split + 1))
                    : PixelCode(second, rowBytes, row, width * (x - split) / (width - split));
      if (code != TMV_CODE_DARK)
        SetLinePixel(g_TMV_TINYMENU_BUFFER, lcd, line + row, column + x, code);
    }
  }
}

// During a change the outgoing and the incoming item push each other across the strip; a change
// to the next item moves right to left, one to the previous item left to right.
void DrawItemTransition(uint32_t now, const MenuLayout& layout) {
  const bool toPrevious = g_TMV_TINYMENU_DO_PREV_UNTIL_TIME != 0;
  const uint32_t end =
      toPrevious ? g_TMV_TINYMENU_DO_PREV_UNTIL_TIME : g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME;
  const uint32_t left = TimeLeft(end, now, kItemChangeMs);
  const int selected = g_TMV_TINYMENU_SELITEM;
  const int first = toPrevious ? (selected + kItemCount - 1) % kItemCount : selected;
  const int second = toPrevious ? selected : (selected + 1) % kItemCount;
  const auto split = [&](uint32_t width) {
    const uint32_t moved = (width - 1) * left / kItemChangeMs;
    return toPrevious ? width - moved - 1 : moved;
  };
  DrawSqueezedPair(layout.icons[first], layout.icons[second], layout.iconSize, 0,
                   layout.iconColumn, split(layout.iconSize.width));
  DrawSqueezedPair(layout.labels[first], layout.labels[second], layout.labelSize,
                   layout.labelLine, 0, split(layout.labelSize.width));
}

// In the last second of every ten shown, a diagonal band sweeps over the icon and inverts what
// lies under its white pixels.
void DrawShine(uint32_t now, const MenuLayout& layout) {
  const uint32_t shown = (now - g_TMV_TINYMENU_TIME_START_SHOWING) % kShinePeriodMs;
  if (shown <= kShineStartMs) return;
  const uint32_t size = layout.iconSize.width, band = layout.shineBandWidth;
  const uint32_t position = (size + band + size) * (shown - kShineStartMs) / kShineSweepMs;
  if (position < band) return;
  const bool lcd = g_TMV_Tinymenu_LCD;
  for (uint32_t row = 0; row < size; ++row) {
    for (uint32_t column = 0; column < size; ++column) {
      const uint32_t diagonal = row + column;
      if (diagonal <= position - band || diagonal >= position) continue;
      if (LinePixel(g_TMV_TINYMENU_BUFFER, lcd, row, layout.iconColumn + column) != TMV_CODE_DARK)
        SetLinePixel(g_TMV_TINYMENU_BUFFER, lcd, row, layout.iconColumn + column, TMV_CODE_INVERT);
    }
  }
}

void BuildMenuImage(uint32_t now, const MenuLayout& layout) {
  const bool lcd = g_TMV_Tinymenu_LCD;
  ClearMenuImage();
  PlaceBitmap(g_TMV_TINYMENU_BUFFER, lcd, 0, 0,
              layout.arrows[g_TMV_TINYMENU_NEXT_PRESSED ? 2 : 0], layout.arrowSize);
  PlaceBitmap(g_TMV_TINYMENU_BUFFER, lcd, 0, layout.rightArrowColumn,
              layout.arrows[g_TMV_TINYMENU_PREV_PRESSED ? 3 : 1], layout.arrowSize);
  if (g_TMV_TINYMENU_DO_PREV_UNTIL_TIME || g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME) {
    DrawItemTransition(now, layout);
    return;
  }
  PlaceBitmap(g_TMV_TINYMENU_BUFFER, lcd, 0, layout.iconColumn,
              layout.icons[g_TMV_TINYMENU_SELITEM], layout.iconSize);
  PlaceBitmap(g_TMV_TINYMENU_BUFFER, lcd, layout.labelLine, 0,
              layout.labels[g_TMV_TINYMENU_SELITEM], layout.labelSize);
  DrawShine(now, layout);
}

void PauseClock(uint32_t now) {
  if (g_TMV_ABSOLUTE_TIMER_START_PAUSE)
    g_TMV_ABSOLUTE_TIMER_START += now - g_TMV_ABSOLUTE_TIMER_START_PAUSE;
  g_TMV_ABSOLUTE_TIMER_START_PAUSE = now;
}

void ResumeClock(uint32_t now) {
  if (!g_TMV_ABSOLUTE_TIMER_START_PAUSE) return;
  g_TMV_ABSOLUTE_TIMER_START += now - g_TMV_ABSOLUTE_TIMER_START_PAUSE;
  g_TMV_ABSOLUTE_TIMER_START_PAUSE = 0;
}

// Select, and give the music back when that closed the menu.
void SelectAndResumeMusic() {
  VKR_TMV_TinyMenu_Select();
  if (g_TMV_TINYMENU_STATE == kMenuClosed) Player_TogglePause();
}

}  // namespace

void VKR_TMV_TinyMenu_Initialize(int lcd, int pal) {
  g_TMV_TINYMENU_STATE = kMenuClosed;
  g_TMV_TINYMENU_SELITEM = kItemPlay;
  g_TMV_TINYMENU_SHOW = 0;
  g_TMV_TINYMENU_FADEIN_UNTIL_TIME = 0;
  g_TMV_TINYMENU_FADEOUT_UNTIL_TIME = 0;
  g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME = 0;
  g_TMV_TINYMENU_DO_PREV_UNTIL_TIME = 0;
  g_TMV_TINYMENU_TIME_START_SHOWING = 0;
  g_TMV_TINYMENU_NEXT_PRESSED = 0;
  g_TMV_TINYMENU_PREV_PRESSED = 0;
  // A closed menu is a running clock.
  g_TMV_ABSOLUTE_TIMER_START_PAUSE = 0;
  g_TMV_Tinymenu_LCD = lcd;
  if (lcd) {
    g_TMV_TINYMENU_POSX = 144;
    g_TMV_TINYMENU_POSY = 104;
  } else {
    g_TMV_TINYMENU_POSX = 328;
    g_TMV_TINYMENU_POSY = pal ? 130 : 90;
    VKR_MEMSET(g_TMV_TINYMENU_BUFFER + kFieldPictureBytes / 2, kFourTransparentPixels,
               kFieldPictureBytes / 2);
    VKR_MEMSET(g_TMV_TINYMENU_BUFFER + kFieldPictureBytes * 3 / 2, kFourTransparentPixels,
               kFieldPictureBytes / 2);
  }
}

void VKR_TMV_TinyMenu_Activate() {
  const uint32_t now = ReadClockMS();
  g_TMV_TINYMENU_SELITEM = kItemPlay;
  g_TMV_TINYMENU_STATE = kMenuOpen;
  g_TMV_TINYMENU_SHOW = 1;
  g_TMV_TINYMENU_TIME_START_SHOWING = now;
  PauseClock(now);
  g_TMV_TINYMENU_FADEIN_UNTIL_TIME = ReadClockMS() + kMenuFadeMs;
  g_TMV_TINYMENU_FADEOUT_UNTIL_TIME = 0;
  g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME = 0;
  g_TMV_TINYMENU_DO_PREV_UNTIL_TIME = 0;
}

void VKR_TMV_TinyMenu_Next() {
  if (MenuAnimationRunning()) return;
  const uint32_t now = ReadClockMS();
  g_TMV_TINYMENU_TIME_START_SHOWING = now;
  g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME = now + kItemChangeMs;
}

void VKR_TMV_TinyMenu_Prev() {
  if (MenuAnimationRunning()) return;
  const uint32_t now = ReadClockMS();
  g_TMV_TINYMENU_TIME_START_SHOWING = now;
  g_TMV_TINYMENU_DO_PREV_UNTIL_TIME = now + kItemChangeMs;
}

void VKR_TMV_TinyMenu_Select() {
  if (MenuAnimationRunning()) return;
  const uint32_t now = ReadClockMS();
  switch (g_TMV_TINYMENU_SELITEM) {
    case kItemPlay:
      g_TMV_TINYMENU_STATE = kMenuClosed;
      ResumeClock(now);
      g_TMV_TINYMENU_FADEOUT_UNTIL_TIME = now + kMenuFadeMs;
      g_TMV_TINYMENU_FADEIN_UNTIL_TIME = 0;
      break;
    case kItemCamera:
      g_TMV_TINYMENU_STATE = kPausedHidden;
      g_TMV_TINYMENU_FADEOUT_UNTIL_TIME = now + kMenuFadeMs;
      g_TMV_TINYMENU_FADEIN_UNTIL_TIME = 0;
      break;
    case kItemExit:
      g_TMV_TINYMENU_STATE = kExitChosen;
      break;
  }
}

void VKR_TMV_TinyMenu_Awake() {
  const uint32_t now = ReadClockMS();
  g_TMV_TINYMENU_STATE = kMenuOpen;
  g_TMV_TINYMENU_TIME_START_SHOWING = now;
  g_TMV_TINYMENU_FADEIN_UNTIL_TIME = now + kMenuFadeMs;
  g_TMV_TINYMENU_FADEOUT_UNTIL_TIME = 0;
  g_TMV_TINYMENU_DO_NEXT_UNTIL_TIME = 0;
  g_TMV_TINYMENU_DO_PREV_UNTIL_TIME = 0;
}

int VKR_TMV_TinyMenu_GetState() { return g_TMV_TINYMENU_STATE; }
void VKR_TMV_TinyMenu_SetPreviousState(int pressed) { g_TMV_TINYMENU_PREV_PRESSED = pressed; }
void VKR_TMV_TinyMenu_SetNextState(int pressed) { g_TMV_TINYMENU_NEXT_PRESSED = pressed; }

void VKR_TMV_TinyMenu_Update() {
  if (!g_TMV_TINYMENU_SHOW) return;
  const uint32_t now = ReadClockMS();
  const uint16_t size = CursorSize();
  uint32_t color1 = 0, color0 = 0;
  PulseColours(now, &color1, &color0);

  if (now > g_TMV_TINYMENU_FADEIN_UNTIL_TIME) g_TMV_TINYMENU_FADEIN_UNTIL_TIME = 0;
  if (g_TMV_TINYMENU_FADEOUT_UNTIL_TIME && now > g_TMV_TINYMENU_FADEOUT_UNTIL_TIME) {
    g_TMV_TINYMENU_FADEOUT_UNTIL_TIME = 0;
    VKR_SetCursorParams(0, size, color1, color0, kMenuPictureOffset);
    if (g_TMV_TINYMENU_STATE == kMenuClosed) g_TMV_TINYMENU_SHOW = 0;
    return;
  }
  if (g_TMV_TINYMENU_STATE == kPausedHidden && !g_TMV_TINYMENU_FADEOUT_UNTIL_TIME) return;

  const MenuLayout& layout = CurrentMenuLayout();
  const int offset = SlideAndFade(now, layout, &color1, &color0);
  EndFinishedItemChange(now);
  BuildMenuImage(now, layout);

  if (uint8_t* video = VideoMemory())
    VKR_MEMCPY(video + kMenuPictureOffset, g_TMV_TINYMENU_BUFFER, kPictureSlotBytes);
  VKR_MoveCursor(static_cast<uint16_t>(g_TMV_TINYMENU_POSX + offset), g_TMV_TINYMENU_POSY);
  VKR_SetCursorParams(1, size, color1, color0, kMenuPictureOffset);
}

void VKR_TMV_Start_Absolute_Timer() { g_TMV_ABSOLUTE_TIMER_START = ReadClockMS(); }

uint32_t VKR_TMV_Retrieve_Absolute_Timer() {
  const uint32_t now = ReadClockMS();
  const uint32_t pausedFor =
      g_TMV_ABSOLUTE_TIMER_START_PAUSE ? now - g_TMV_ABSOLUTE_TIMER_START_PAUSE : 0;
  return now - g_TMV_ABSOLUTE_TIMER_START - pausedFor;
}

void HandleVolAndTinyMenu(uint32_t current, uint32_t previous) {
  constexpr uint32_t kBothVolume = VKR_BUTTON_VOLUME_DOWN | VKR_BUTTON_VOLUME_UP;
  const uint32_t volumeHeld = current & kBothVolume, volumeBefore = previous & kBothVolume;
  if (volumeHeld == kBothVolume && volumeBefore != kBothVolume)
    VKR_TMV_Vol_Mute();
  else if (volumeHeld == VKR_BUTTON_VOLUME_DOWN && volumeBefore == 0)
    VKR_TMV_Vol_DecVolume();
  else if (volumeHeld == VKR_BUTTON_VOLUME_UP && volumeBefore == 0)
    VKR_TMV_Vol_IncVolume();
  if (VKR_TMV_Vol_Update()) Player_SetVolume(static_cast<SWORD>(VKR_TMV_Vol_GetVolume()));

  VKR_TMV_TinyMenu_SetPreviousState((current & (VKR_BUTTON_RIGHT | VKR_BUTTON_SELECT)) != 0);
  VKR_TMV_TinyMenu_SetNextState((current & VKR_BUTTON_LEFT) != 0);

  const uint32_t pressed = current & ~previous;
  const int state = VKR_TMV_TinyMenu_GetState();
  if (state == kPausedHidden && current != 0 && previous == 0) {
    VKR_TMV_TinyMenu_Awake();
  } else if (pressed & VKR_BUTTON_START) {
    if (state == kMenuClosed) {
      Player_TogglePause();
      VKR_TMV_TinyMenu_Activate();
    } else if (state == kMenuOpen) {
      SelectAndResumeMusic();
    }
  } else if (current & VKR_BUTTON_B) {
    // Held, not pressed: B chooses as soon as no animation runs.
    if (state == kMenuOpen) SelectAndResumeMusic();
  } else if (state == kMenuOpen) {
    if (pressed & VKR_BUTTON_LEFT)
      VKR_TMV_TinyMenu_Next();
    else if (pressed & (VKR_BUTTON_RIGHT | VKR_BUTTON_SELECT))
      VKR_TMV_TinyMenu_Prev();
  }
  VKR_TMV_TinyMenu_Update();
}
