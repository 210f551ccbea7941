// vkr_lowLevelDbg.cpp: the debug text console: 40 x 25 character and colour cells with a cursor,
// printing with newline, tab and scrolling, and drawing into the RGB frame buffer of the current
// display mode at 4, 8, 16 or 24 bits. Owns the console's process-wide state.
#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "vkr_font8x8.h"
#include "vkr_lowLevel.h"
#include "vkr_lowLevelDbgState.h"

namespace {

constexpr int kColumns = 40;
constexpr int kRows = 25;
constexpr int kCells = kColumns * kRows;
constexpr int kTabWidth = 5;

}  // namespace

// The console's state (vkr_lowLevelDbgState.h).
static_assert(kCells == 1000);
std::array<uint8_t, kCells> g_ucVKR_DBG_CHAR_SCREEN{};
std::array<uint8_t, kCells> g_ucVKR_DBG_CHARCOLOR_TABLE{};
int32_t g_nVKR_DBG_CURPOS = 0;
uint8_t g_ucVKR_DBG_TEXT_COLOR = 0xE6;
uint8_t g_ucVKR_DBG_SCREEN_COLOR = 0xE6;

namespace {

// The sixteen colours as 0x00RRGGBB, and as RGB565 truncated from them.
constexpr std::array<uint32_t, 16> g_ulVKR_DBG_COLOR_TABLE32 = {
    0x000000, 0xFFFFFF, 0x880000, 0xAAFFEE, 0xCC44CC, 0x00CC55, 0x0000AA, 0xEEEE77,
    0xDD8855, 0x664400, 0xFF7777, 0x333333, 0x777777, 0xAAFF66, 0x0088FF, 0xBBBBBB,
};
constexpr std::array<uint16_t, 16> g_ulVKR_DBG_COLOR_TABLE16 = [] {
  std::array<uint16_t, 16> table{};
  for (size_t n = 0; n < table.size(); ++n) {
    const uint32_t rgb = g_ulVKR_DBG_COLOR_TABLE32[n];
    table[n] = static_cast<uint16_t>(((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 |
                                     ((rgb >> 3) & 0x1F));
  }
  return table;
}();
static_assert(g_ulVKR_DBG_COLOR_TABLE16[13] == 0xAFEC && g_ulVKR_DBG_COLOR_TABLE16[11] == 0x3186);

// Indexed colours at 4 and 8 bits: palette entry n, or 240 + n.
constexpr uint32_t kPaletteBase8 = 240;

// Blending keeps the pixel already there in part: level 1 adds d/4, level 2 d/2, level 3 both,
// each shift masked so no bit crosses into the next component.
constexpr uint32_t kHalf565 = 0x7BEF, kQuarter565 = 0x39E7;
constexpr uint32_t kHalf888 = 0x7F7F7F, kQuarter888 = 0x3F3F3F;
constexpr uint32_t kHalfBytePair = 0x7F7F, kQuarterBytePair = 0x3F3F;

bool KeepsHalf(int level) { return level & 2; }
bool KeepsQuarter(int level) { return level & 1; }

// The drawn colour's share at a level: all of it, 3/4, 1/2 or 1/4.
uint32_t ColourShare(uint32_t colour, int level, uint32_t half, uint32_t quarter) {
  const uint32_t halfPart = (colour >> 1) & half, quarterPart = (colour >> 2) & quarter;
  switch (level) {
    case 1: return halfPart + quarterPart;
    case 2: return halfPart;
    case 3: return quarterPart;
    default: return colour;
  }
}

uint32_t KeptShare(uint32_t pixel, uint32_t half, uint32_t quarter) {
  return ((pixel >> 1) & half) + ((pixel >> 2) & quarter);
}

// Frame-buffer words lie at any byte offset: every access goes through memcpy.
uint32_t Load16(const uint8_t* at) {
  uint16_t value;
  std::memcpy(&value, at, 2);
  return value;
}
void Store16(uint8_t* at, uint32_t value) {
  const uint16_t word = static_cast<uint16_t>(value);
  std::memcpy(at, &word, 2);
}
uint32_t Load24(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16; }
void Store24(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
  at[2] = static_cast<uint8_t>(value >> 16);
}

// The pair fills behind the exported fill operations and the border, over byte pointers.
void FillPairs16(int level, uint32_t value, uint8_t* at, size_t pairs) {
  const uint32_t half = KeepsHalf(level) ? kHalf565 * 0x10001 : 0;
  const uint32_t quarter = KeepsQuarter(level) ? kQuarter565 * 0x10001 : 0;
  for (; pairs; --pairs, at += 4) {
    uint32_t pixels;
    std::memcpy(&pixels, at, 4);
    pixels = value + KeptShare(pixels, half, quarter);
    std::memcpy(at, &pixels, 4);
  }
}

void FillPairs24(int level, const uint16_t words[3], uint8_t* at, size_t pairs) {
  const uint32_t half = KeepsHalf(level) ? kHalfBytePair : 0;
  const uint32_t quarter = KeepsQuarter(level) ? kQuarterBytePair : 0;
  for (; pairs; --pairs) {
    for (int i = 0; i < 3; ++i, at += 2)
      Store16(at, words[i] + KeptShare(Load16(at), half, quarter));
  }
}

bool ValidLevel(int level) { return level >= 0 && level <= 3; }

// Everything one draw call works with, fixed before the first pixel.
struct ConsoleInk {
  int level;
  std::array<uint32_t, 16> share;  // per colour: its index, or its share at the level
  uint32_t half, quarter;          // masks of the pixel's kept share, 0 when not kept
};

struct FrameTarget {
  uint8_t* frame;
  uint32_t width;
  uint32_t lineBytes;
  uint32_t lines;  // lines that fit whole in video memory, at most the display height
};

struct ConsoleGeometry {
  uint32_t columns, rows;   // cells drawn
  uint32_t scaleX, scaleY;  // each glyph pixel is scaleX x scaleY pixels
  uint32_t left, top;       // text block offsets
  uint32_t textWidth, textHeight, rightBorder, bottomBorder;
};

ConsoleGeometry GeometryOf(uint32_t width, uint32_t height, uint32_t mode) {
  ConsoleGeometry g{};
  g.columns = width / 8, g.rows = height / 8, g.scaleX = 1, g.scaleY = 1;
  if (g.columns > kColumns) g.scaleX = g.columns / kColumns, g.columns = kColumns;
  if (g.rows > kRows) g.scaleY = g.rows / kRows, g.rows = kRows;
  g.textWidth = g.columns * g.scaleX * 8;
  g.textHeight = g.rows * g.scaleY * 8;
  g.left = (width - g.textWidth) / 2;
  // On a television the block sits nearer the top.
  g.top = (height - g.textHeight) / (mode <= 4 ? 2 : 4);
  g.rightBorder = width - g.left - g.textWidth;
  g.bottomBorder = height - g.top - g.textHeight;
  return g;
}

template <int Depth>
void PutPixel(uint8_t* line, uint32_t p, uint32_t colour, const ConsoleInk& ink) {
  if constexpr (Depth == 4) {
    // Even pixels in the low nibble.
    uint8_t& byte = line[p / 2];
    const uint32_t shift = (p & 1) * 4;
    byte = static_cast<uint8_t>((byte & ~(0xF << shift)) | ink.share[colour] << shift);
  } else if constexpr (Depth == 8) {
    line[p] = static_cast<uint8_t>(ink.share[colour]);
  } else if constexpr (Depth == 16) {
    uint8_t* at = line + 2 * p;
    Store16(at, ink.share[colour] + KeptShare(Load16(at), ink.half, ink.quarter));
  } else {
    uint8_t* at = line + 3 * p;
    Store24(at, ink.share[colour] + KeptShare(Load24(at), ink.half, ink.quarter));
  }
}

// `pairs` pixel pairs of one colour from `at`.
template <int Depth>
void FillBorder(uint8_t* at, size_t pairs, uint32_t colour, const ConsoleInk& ink) {
  if constexpr (Depth == 4) {
    std::memset(at, static_cast<int>(colour * 0x11), pairs);
  } else if constexpr (Depth == 8) {
    std::memset(at, static_cast<int>(kPaletteBase8 + colour), pairs * 2);
  } else if constexpr (Depth == 16) {
    FillPairs16(ink.level, ink.share[colour] * 0x10001, at, pairs);
  } else {
    const uint32_t bgr = ink.share[colour];
    const uint16_t words[3] = {static_cast<uint16_t>(bgr & 0xFFFF),
                               static_cast<uint16_t>((bgr >> 16) | (bgr & 0xFF) << 8),
                               static_cast<uint16_t>(bgr >> 8)};
    FillPairs24(ink.level, words, at, pairs);
  }
}

template <int Depth>
void DrawBorder(const FrameTarget& target, const ConsoleGeometry& g, uint32_t colour,
                const ConsoleInk& ink) {
  const auto byteOf = [](uint32_t pixel) { return size_t{pixel} * Depth / 8; };
  const uint32_t textEnd = g.top + g.textHeight;
  const uint32_t topLines = std::min(g.top, target.lines);
  FillBorder<Depth>(target.frame, size_t{target.width} * topLines / 2, colour, ink);
  const uint32_t rightStart = target.width - g.rightBorder / 2 * 2;
  for (uint32_t line = g.top; line < std::min(textEnd, target.lines); ++line) {
    uint8_t* start = target.frame + size_t{line} * target.lineBytes;
    FillBorder<Depth>(start, g.left / 2, colour, ink);
    FillBorder<Depth>(start + byteOf(rightStart), g.rightBorder / 2, colour, ink);
  }
  if (textEnd < target.lines) {
    FillBorder<Depth>(target.frame + size_t{textEnd} * target.lineBytes,
                      size_t{target.width} * (target.lines - textEnd) / 2, colour, ink);
  }
}

// One line of one cell: the 8 bits of a glyph row from bit 7, each scaleX pixels wide. A clear
// bit paints the background only when `paintBackground`.
template <int Depth>
void DrawCellLine(uint8_t* line, uint32_t first, uint32_t scaleX, uint8_t bits,
                  bool paintBackground, const uint32_t colours[2], const ConsoleInk& ink) {
  const uint8_t painted = paintBackground ? 0xFF : bits;
  uint32_t p = first;
  for (int bit = 7; bit >= 0; --bit) {
    if (!((painted >> bit) & 1)) {
      p += scaleX;
      continue;
    }
    const uint32_t colour = colours[(bits >> bit) & 1];
    for (uint32_t repeat = 0; repeat < scaleX; ++repeat, ++p) PutPixel<Depth>(line, p, colour, ink);
  }
}

// coverage 0: every cell; 1: non-empty cells with their background; 2: set glyph pixels only.
template <int Depth>
void DrawCells(const FrameTarget& target, const ConsoleGeometry& g, uint32_t coverage,
               const ConsoleInk& ink) {
  const uint32_t screenBackground = g_ucVKR_DBG_SCREEN_COLOR & 0xF;
  for (uint32_t y = 0; y < g.rows; ++y) {
    for (uint32_t glyphRow = 0; glyphRow < 8; ++glyphRow) {
      for (uint32_t repeat = 0; repeat < g.scaleY; ++repeat) {
        const uint32_t line = g.top + (y * 8 + glyphRow) * g.scaleY + repeat;
        if (line >= target.lines) return;
        uint8_t* start = target.frame + size_t{line} * target.lineBytes;
        for (uint32_t x = 0; x < g.columns; ++x) {
          const uint32_t cell = x + kColumns * y;
          const uint8_t code = g_ucVKR_DBG_CHAR_SCREEN[cell];
          const uint32_t first = g.left + 8 * g.scaleX * x;
          if (code == 0) {
            // An empty cell is a solid block of screen background, in the full modes only.
            if (coverage != 0) continue;
            const uint32_t solid[2] = {screenBackground, screenBackground};
            DrawCellLine<Depth>(start, first, g.scaleX, 0, true, solid, ink);
            continue;
          }
          const uint8_t attribute = g_ucVKR_DBG_CHARCOLOR_TABLE[cell];
          const uint32_t colours[2] = {attribute & 0xFu, attribute >> 4u & 0xFu};
          DrawCellLine<Depth>(start, first, g.scaleX, g_uc_VKR_DBG_CHARSET[code * 8 + glyphRow],
                              coverage < 2, colours, ink);
        }
      }
    }
  }
}

ConsoleInk InkOf(int depth, int level) {
  ConsoleInk ink{level, {}, 0, 0};
  for (uint32_t n = 0; n < 16; ++n) {
    switch (depth) {
      case 4: ink.share[n] = n; break;
      case 8: ink.share[n] = kPaletteBase8 + n; break;
      case 16:
        ink.share[n] = ColourShare(g_ulVKR_DBG_COLOR_TABLE16[n], level, kHalf565, kQuarter565);
        break;
      default:
        ink.share[n] = ColourShare(g_ulVKR_DBG_COLOR_TABLE32[n], level, kHalf888, kQuarter888);
        break;
    }
  }
  const bool is16 = depth == 16;
  if (depth >= 16) {
    ink.half = KeepsHalf(level) ? (is16 ? kHalf565 : kHalf888) : 0;
    ink.quarter = KeepsQuarter(level) ? (is16 ? kQuarter565 : kQuarter888) : 0;
  }
  return ink;
}

struct DepthDrawing {
  int depth;
  void (*border)(const FrameTarget&, const ConsoleGeometry&, uint32_t, const ConsoleInk&);
  void (*cells)(const FrameTarget&, const ConsoleGeometry&, uint32_t, const ConsoleInk&);
};
constexpr DepthDrawing kDrawingOfDepth[] = {
    {4, DrawBorder<4>, DrawCells<4>},
    {8, DrawBorder<8>, DrawCells<8>},
    {16, DrawBorder<16>, DrawCells<16>},
    {24, DrawBorder<24>, DrawCells<24>},
};

void Scroll() {
  std::memmove(g_ucVKR_DBG_CHAR_SCREEN.data(), g_ucVKR_DBG_CHAR_SCREEN.data() + kColumns,
               kCells - kColumns);
  std::memmove(g_ucVKR_DBG_CHARCOLOR_TABLE.data(), g_ucVKR_DBG_CHARCOLOR_TABLE.data() + kColumns,
               kCells - kColumns);
  const uint8_t attribute =
      static_cast<uint8_t>((g_ucVKR_DBG_TEXT_COLOR & 0xF0) | (g_ucVKR_DBG_SCREEN_COLOR & 0x0F));
  std::fill_n(g_ucVKR_DBG_CHAR_SCREEN.end() - kColumns, kColumns, 0);
  std::fill_n(g_ucVKR_DBG_CHARCOLOR_TABLE.end() - kColumns, kColumns, attribute);
}

void PrintText(const char* text, size_t length) {
  int32_t cursor = g_nVKR_DBG_CURPOS;
  for (size_t i = 0; i < length; ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    if (cursor >= kCells) {
      Scroll();
      cursor = kCells - kColumns;
    }
    if (c == '\n') {
      cursor = cursor / kColumns * kColumns + kColumns;
    } else if (c == '\t') {
      cursor = (cursor + kTabWidth) / kTabWidth * kTabWidth;
    } else {
      g_ucVKR_DBG_CHAR_SCREEN[cursor] = c;
      g_ucVKR_DBG_CHARCOLOR_TABLE[cursor] = g_ucVKR_DBG_TEXT_COLOR;
      ++cursor;
    }
  }
  g_nVKR_DBG_CURPOS = cursor;
}

bool IsColour(int n) { return n >= 0 && n <= 15; }

}  // namespace

uint32_t VKR_DbgClrScr(int border, int background) {
  if (!IsColour(border) || !IsColour(background)) return VKR_BAD_ARGUMENT;
  g_ucVKR_DBG_SCREEN_COLOR = static_cast<uint8_t>(border * 16 + background);
  g_ucVKR_DBG_CHAR_SCREEN.fill(0);
  g_ucVKR_DBG_CHARCOLOR_TABLE.fill(
      static_cast<uint8_t>((g_ucVKR_DBG_TEXT_COLOR & 0xF0) | background));
  g_nVKR_DBG_CURPOS = 0;
  return VKR_OK;
}

uint32_t VKR_DbgColor(int foreground, int background) {
  if (!IsColour(foreground) || !IsColour(background)) return VKR_BAD_ARGUMENT;
  g_ucVKR_DBG_TEXT_COLOR = static_cast<uint8_t>(foreground * 16 + background);
  return VKR_OK;
}

uint32_t VKR_DbgGotoXY(int x, int y) {
  if (x < 0 || y < 0 || x >= kColumns || y >= kRows) return VKR_BAD_ARGUMENT;
  g_nVKR_DBG_CURPOS = x + kColumns * y;
  return VKR_OK;
}

uint32_t VKR_DbgPrint(const char* format, ...) {
  if (!format) return VKR_BAD_ARGUMENT;
  // Bounded: a longer text is cut at 159 characters.
  char text[160];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  if (length < 0) return VKR_BAD_ARGUMENT;
  PrintText(text, std::min<size_t>(static_cast<size_t>(length), sizeof text - 1));
  return VKR_OK;
}

uint32_t VKR_DbgDrawScr(uint32_t drawMode, uint32_t videoOffset) {
  if (drawMode > 11) return VKR_BAD_ARGUMENT;
  uint8_t* base = nullptr;
  VKR_GetVideoBasePtr(&base);
  if (!base) return VKR_ERROR;
  if (videoOffset >= VKR_VIDEO_MEMORY_SIZE) return VKR_BAD_ARGUMENT;
  uint32_t mode = 0;
  int depth = 0, width = 0, height = 0;
  if (VKR_GetDisplayMode(&mode, &depth) != VKR_OK || VKR_GetDisplaySize(&width, &height) != VKR_OK)
    return VKR_ERROR;
  const DepthDrawing* drawing =
      std::find_if(std::begin(kDrawingOfDepth), std::end(kDrawingOfDepth),
                   [depth](const DepthDrawing& d) { return d.depth == depth; });
  if (drawing == std::end(kDrawingOfDepth) || width <= 0 || height <= 0) return VKR_ERROR;

  const int level = static_cast<int>(drawMode % 4);
  const uint32_t coverage = drawMode / 4;
  FrameTarget target{base + videoOffset, static_cast<uint32_t>(width),
                     static_cast<uint32_t>(width) * static_cast<uint32_t>(depth) / 8, 0};
  // Only lines that fit whole in video memory are drawn.
  target.lines = std::min<uint32_t>(static_cast<uint32_t>(height),
                                    (VKR_VIDEO_MEMORY_SIZE - videoOffset) / target.lineBytes);
  const ConsoleGeometry geometry = GeometryOf(target.width, static_cast<uint32_t>(height), mode);
  const ConsoleInk ink = InkOf(depth, level);
  if (coverage == 0) drawing->border(target, geometry, g_ucVKR_DBG_SCREEN_COLOR >> 4, ink);
  drawing->cells(target, geometry, coverage, ink);
  return VKR_OK;
}

void VKR_DbgDrawScr_Fill4bit(uint8_t value, uint8_t* begin, uint8_t* end) {
  if (!begin || !end || end <= begin) return;
  std::memset(begin, value, static_cast<size_t>(end - begin));
}

void VKR_DbgDrawScr_Fill8bit(uint16_t value, uint16_t* begin, uint16_t* end) {
  if (!begin || !end || end <= begin) return;
  uint8_t* at = reinterpret_cast<uint8_t*>(begin);
  for (std::ptrdiff_t n = end - begin; n; --n, at += 2) Store16(at, value);
}

void VKR_DbgDrawScr_Fill16bit(int blendLevel, uint32_t value, uint32_t* begin, uint32_t* end) {
  if (!ValidLevel(blendLevel) || !begin || !end || end <= begin) return;
  FillPairs16(blendLevel, value, reinterpret_cast<uint8_t*>(begin),
              static_cast<size_t>(end - begin));
}

void VKR_DbgDrawScr_Fill24bit(int blendLevel, uint16_t w0, uint16_t w1, uint16_t w2, uint8_t* begin,
                              uint8_t* end) {
  if (!ValidLevel(blendLevel) || !begin || !end || end <= begin) return;
  const uint16_t words[3] = {w0, w1, w2};
  FillPairs24(blendLevel, words, begin, static_cast<size_t>(end - begin) / 6);
}
