// console_draw_test.cpp: VKR_DbgDrawScr against a per-pixel reference in every depth, draw mode
// and layout, the loading screen at 320 x 240 x 16, blending, and frames at the end of video
// memory.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "disp_model.h"
#include "vkr_font8x8.h"
#include "vkr_lowLevel.h"
#include "vkr_lowLevelDbgState.h"

namespace {

constexpr uint32_t kColours32[16] = {0x000000, 0xFFFFFF, 0x880000, 0xAAFFEE, 0xCC44CC, 0x00CC55,
                                     0x0000AA, 0xEEEE77, 0xDD8855, 0x664400, 0xFF7777, 0x333333,
                                     0x777777, 0xAAFF66, 0x0088FF, 0xBBBBBB};

// One component of colour s drawn over d at a blend level, with truncating shifts.
uint32_t Blend(uint32_t s, uint32_t d, int level) {
  switch (level) {
    case 1: return (s >> 1) + (s >> 2) + (d >> 2);
    case 2: return (s >> 1) + (d >> 1);
    case 3: return (s >> 2) + (d >> 1) + (d >> 2);
    default: return s;
  }
}

struct Frame {
  uint8_t* at;
  int width, height, depth;
};

// Colour n written over pixel p of the frame, by its components.
void PutReference(const Frame& f, int p, int colour, int level) {
  const uint32_t rgb = kColours32[colour];
  const uint32_t r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (f.depth == 4) {
    uint8_t& byte = f.at[p / 2];
    byte = static_cast<uint8_t>(p % 2 ? (byte & 0x0F) | colour << 4 : (byte & 0xF0) | colour);
  } else if (f.depth == 8) {
    f.at[p] = static_cast<uint8_t>(240 + colour);
  } else if (f.depth == 16) {
    uint16_t d;
    std::memcpy(&d, f.at + 2 * p, 2);
    const uint16_t out = static_cast<uint16_t>(Blend(r >> 3, d >> 11, level) << 11 |
                                               Blend(g >> 2, (d >> 5) & 0x3F, level) << 5 |
                                               Blend(b >> 3, d & 0x1F, level));
    std::memcpy(f.at + 2 * p, &out, 2);
  } else {
    uint8_t* px = f.at + 3 * p;
    px[0] = static_cast<uint8_t>(Blend(b, px[0], level));
    px[1] = static_cast<uint8_t>(Blend(g, px[1], level));
    px[2] = static_cast<uint8_t>(Blend(r, px[2], level));
  }
}

// The console drawn pixel by pixel: which of border, text cell or glyph bit each pixel is.
void ReferenceDraw(const Frame& f, uint32_t mode, int drawMode) {
  int cols = f.width / 8, rows = f.height / 8, sx = 1, sy = 1;
  if (cols > 40) sx = cols / 40, cols = 40;
  if (rows > 25) sy = rows / 25, rows = 25;
  const int tw = cols * sx * 8, th = rows * sy * 8;
  const int xo = (f.width - tw) / 2, yo = (f.height - th) / (mode <= 4 ? 2 : 4);
  const int right = f.width - xo - tw;
  const int level = drawMode % 4, coverage = drawMode / 4;
  const int border = g_ucVKR_DBG_SCREEN_COLOR >> 4, screen = g_ucVKR_DBG_SCREEN_COLOR & 0xF;
  for (int y = 0; y < f.height; ++y) {
    for (int x = 0; x < f.width; ++x) {
      const int p = y * f.width + x;
      if (y < yo || y >= yo + th || x < xo || x >= xo + tw) {
        // Borders go in whole pixel pairs: an odd side border leaves its inner pixel.
        const bool paired =
            y < yo || y >= yo + th || x < xo / 2 * 2 || x >= f.width - right / 2 * 2;
        if (coverage == 0 && paired) PutReference(f, p, border, level);
        continue;
      }
      const int cell = (x - xo) / (8 * sx) + 40 * ((y - yo) / (8 * sy));
      const int code = g_ucVKR_DBG_CHAR_SCREEN[cell];
      if (code == 0) {
        if (coverage == 0) PutReference(f, p, screen, level);
        continue;
      }
      const int gx = (x - xo) / sx % 8, gy = (y - yo) / sy % 8;
      const bool set = (g_uc_VKR_DBG_CHARSET[code * 8 + gy] >> (7 - gx)) & 1;
      const uint8_t attribute = g_ucVKR_DBG_CHARCOLOR_TABLE[cell];
      if (set)
        PutReference(f, p, attribute >> 4, level);
      else if (coverage < 2)
        PutReference(f, p, attribute & 0xF, level);
    }
  }
}

class ConsoleDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("console"), VKR_OK);
    VKR_GetVideoBasePtr(&memory);
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  // Every cell with a character and colours, some empty, so each rule of the layout shows.
  static void FillConsole(uint32_t seed) {
    std::mt19937 random(seed);
    VKR_DbgClrScr(static_cast<int>(random() % 16), static_cast<int>(random() % 16));
    for (int cell = 0; cell < 1000; ++cell) {
      g_ucVKR_DBG_CHAR_SCREEN[cell] = static_cast<uint8_t>(random() % 5 ? random() % 256 : 0);
      g_ucVKR_DBG_CHARCOLOR_TABLE[cell] = static_cast<uint8_t>(random());
    }
  }
  void FillPicture(uint32_t bytes, uint32_t seed) {
    std::mt19937 random(seed);
    for (uint32_t i = 0; i < bytes; ++i) memory[i] = static_cast<uint8_t>(random());
  }

  uint8_t* memory = nullptr;
};

TEST_F(ConsoleDrawTest, MatchesThePerPixelReferenceInEveryDepthModeAndLayout) {
  // LCD 320 x 240, 160 x 120 and 80 x 60; TV 320 x 240, 720 x 480, 720 x 576, 584 x 480, 90 x 60.
  const uint32_t modes[] = {0, 2, 4, 5, 6, 20, 8, 18};
  const int depths[] = {4, 8, 16, 24};
  uint32_t seed = 0;
  for (uint32_t mode : modes) {
    for (int depth : depths) {
      ASSERT_EQ(VKR_SetDisplayMode(mode, depth), VKR_OK);
      const DISP_LayerSize size = kDISP_LayerSizeOfMode[mode];
      const uint32_t bytes = size.width * size.height * depth / 8;
      for (int drawMode = 0; drawMode < 12; drawMode += depth >= 16 ? 1 : 3) {
        FillConsole(++seed);
        FillPicture(bytes + 64, seed);
        std::vector<uint8_t> expected(memory, memory + bytes + 64);
        ReferenceDraw({expected.data(), size.width, size.height, depth}, mode, drawMode);
        ASSERT_EQ(VKR_DbgDrawScr(drawMode, 0), VKR_OK);
        ASSERT_EQ(0, std::memcmp(expected.data(), memory, bytes + 64))
            << "mode " << mode << " depth " << depth << " draw mode " << drawMode;
      }
    }
  }
}

TEST_F(ConsoleDrawTest, LoadingScreenAt320x240x16) {
  struct Line {
    int column, row;
    const char* text;
  };
  const Line lines[] = {{12, 10, "Loading  Music"},
                        {4, 12, "Varnek Thalor FastCompo 2010"},
                        {17, 20, " Code.Tarnwick"},
                        {17, 21, "  Gfx.Morrowen"},
                        {17, 22, "Music.Quillsworth"}};
  VKR_DbgClrScr(13, 11);
  VKR_SetRGBStartAddress(0);
  VKR_DbgColor(13, 11);
  for (const Line& line : lines) {
    VKR_DbgGotoXY(line.column, line.row);
    EXPECT_EQ(VKR_OUTPUT_DEBUG(0, 0, "%s", line.text), VKR_OK);
  }
  EXPECT_EQ(VKR_DbgDrawScr(0, 0), VKR_OK);

  // Every text cell holds its character or nothing; glyph pixels in colour 13, the rest 11.
  std::vector<uint8_t> expectedCells(1000, 0);
  for (const Line& line : lines)
    for (size_t i = 0; line.text[i]; ++i)
      expectedCells[line.column + 40 * line.row + i] = line.text[i];
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      uint16_t pixel;
      std::memcpy(&pixel, memory + 2 * (y * 320 + x), 2);
      uint16_t expected = 0xAFEC;
      if (y >= 20 && y < 220) {
        const uint8_t code = expectedCells[x / 8 + 40 * ((y - 20) / 8)];
        const bool set = (g_uc_VKR_DBG_CHARSET[code * 8 + (y - 20) % 8] >> (7 - x % 8)) & 1;
        expected = set ? 0xAFEC : 0x3186;
      }
      ASSERT_EQ(pixel, expected) << x << "," << y;
    }
  }
}

TEST_F(ConsoleDrawTest, BlendLevelTwoOfBlackOnWhite) {
  VKR_MEMSET(memory, 0xFF, 320 * 240 * 2);
  VKR_DbgClrScr(0, 0);
  VKR_DbgDrawScr(2, 0);
  uint16_t pixel;
  std::memcpy(&pixel, memory + 2 * (100 * 320 + 100), 2);
  EXPECT_EQ(pixel, 0x7BEF);
  // The exported fills take the colour part already blended: 0 + white / 2.
  alignas(4) uint8_t pairs[12];
  VKR_MEMSET(pairs, 0xFF, sizeof pairs);
  VKR_DbgDrawScr_Fill16bit(2, 0, reinterpret_cast<uint32_t*>(pairs),
                           reinterpret_cast<uint32_t*>(pairs) + 1);
  VKR_DbgDrawScr_Fill24bit(2, 0, 0, 0, pairs + 4, pairs + 10);
  const uint8_t blended[12] = {0xEF, 0x7B, 0xEF, 0x7B, 0x7F, 0x7F,
                               0x7F, 0x7F, 0x7F, 0x7F, 0xFF, 0xFF};
  EXPECT_EQ(0, std::memcmp(pairs, blended, sizeof pairs));
}

// Run under AddressSanitizer too: a frame that runs past the end of video memory is cut there.
TEST_F(ConsoleDrawTest, FramesAtTheEndOfVideoMemoryStayInside) {
  FillConsole(5);
  for (int depth : {4, 16, 24}) {
    ASSERT_EQ(VKR_SetDisplayMode(20, depth), VKR_OK);
    const uint32_t lineBytes = 720 * depth / 8;
    const uint32_t offset = VKR_VIDEO_MEMORY_SIZE - 100 * lineBytes - 7;
    FillPicture(VKR_VIDEO_MEMORY_SIZE, depth);
    // The whole frame drawn in a scratch copy: its first 100 lines land, the 7 bytes of the
    // partial line after them stay as they were.
    const std::vector<uint8_t> before(memory + offset, memory + VKR_VIDEO_MEMORY_SIZE);
    std::vector<uint8_t> frame = before;
    frame.resize(size_t{lineBytes} * 576);
    ReferenceDraw({frame.data(), 720, 576, depth}, 20, 0);
    EXPECT_EQ(VKR_DbgDrawScr(0, offset), VKR_OK);
    EXPECT_EQ(0, std::memcmp(frame.data(), memory + offset, 100 * lineBytes)) << depth;
    EXPECT_EQ(0,
              std::memcmp(before.data() + 100 * lineBytes, memory + offset + 100 * lineBytes, 7));
  }
  EXPECT_EQ(VKR_DbgDrawScr(0, VKR_VIDEO_MEMORY_SIZE), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DbgDrawScr(12, 0), VKR_BAD_ARGUMENT);
  VKR_FreeLowLevelAPI(0);
  EXPECT_EQ(VKR_DbgDrawScr(0, 0), VKR_ERROR) << "no video memory before start-up";
  ASSERT_EQ(VKR_InitLowLevelAPI("console"), VKR_OK);
}

// The exported fills at each blend level: the given value plus the share kept of the pixel below
// (none, a quarter, a half, three quarters), worked out per RGB565 component or per byte; the
// word at the end is not written, and a level above 3 writes nothing.
TEST(ConsoleFills, EveryBlendLevelKeepsItsShareOfThePixelBelow) {
  const auto kept = [](uint32_t d, int level) {
    return level == 0 ? 0 : level == 1 ? d >> 2 : level == 2 ? d >> 1 : (d >> 1) + (d >> 2);
  };
  const uint32_t below[4] = {0xFFFFFFFF, 0x12345678, 0x84218421, 0xF800001F};
  const uint32_t value = 0x08410841;  // red 1, green 2, blue 1 in both pixels
  for (int level = 0; level <= 4; ++level) {
    uint32_t words[5] = {below[0], below[1], below[2], below[3], 0xA5A5A5A5};
    VKR_DbgDrawScr_Fill16bit(level, value, words, words + 4);
    for (int i = 0; i < 4; ++i)
      for (int half = 0; half < 2; ++half) {
        const uint32_t d = below[i] >> 16 * half & 0xFFFF, v = value >> 16 * half & 0xFFFF;
        const uint32_t r = (v >> 11) + kept(d >> 11, level), g = (v >> 5 & 63) + kept(d >> 5 & 63, level),
                       b = (v & 31) + kept(d & 31, level);
        const uint32_t expected = level > 3 ? d : r << 11 | g << 5 | b;
        EXPECT_EQ(words[i] >> 16 * half & 0xFFFF, expected) << "level " << level << " word " << i;
      }
    EXPECT_EQ(words[4], 0xA5A5A5A5u);
  }

  const uint8_t bytesBelow[12] = {0xFF, 0x00, 0x80, 0x7F, 0x03, 0xFC, 0x11, 0xEE, 0x40, 0x9C, 0x01, 0xFE};
  const uint16_t w[3] = {0x0102, 0x0304, 0x0506};
  for (int level = 0; level <= 4; ++level) {
    uint8_t bytes[14];
    std::memcpy(bytes, bytesBelow, 12);
    bytes[12] = bytes[13] = 0xA5;
    VKR_DbgDrawScr_Fill24bit(level, w[0], w[1], w[2], bytes, bytes + 12);
    for (int i = 0; i < 12; ++i) {
      const uint32_t v = w[i / 2 % 3] >> 8 * (i % 2) & 0xFF;
      const uint32_t expected = level > 3 ? bytesBelow[i] : v + kept(bytesBelow[i], level);
      EXPECT_EQ(bytes[i], expected) << "level " << level << " byte " << i;
    }
    EXPECT_EQ(bytes[12], 0xA5);
    EXPECT_EQ(bytes[13], 0xA5);
  }

  uint8_t nibbles[5] = {1, 2, 3, 4, 5};
  VKR_DbgDrawScr_Fill4bit(0x77, nibbles + 1, nibbles + 4);
  EXPECT_EQ(std::vector<uint8_t>(nibbles, nibbles + 5), (std::vector<uint8_t>{1, 0x77, 0x77, 0x77, 5}));
  uint16_t indexed[4] = {1, 2, 3, 4};
  VKR_DbgDrawScr_Fill8bit(0xF3F3, indexed, indexed + 3);
  EXPECT_EQ(std::vector<uint16_t>(indexed, indexed + 4), (std::vector<uint16_t>{0xF3F3, 0xF3F3, 0xF3F3, 4}));
}

}  // namespace
