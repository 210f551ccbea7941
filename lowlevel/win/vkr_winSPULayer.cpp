// vkr_winSPULayer.cpp: the sub-picture layer: two-bit pixels run-length coded in nibbles, four
// colours and four contrasts out of a 16-entry palette, steered by the base command, the
// change-command list and the highlight record in video memory; drawn in the YUV domain.
#include "vkr_winCompose.h"

namespace {

// Longer change lists are cut here (the list then ends as if terminated).
constexpr int kMaxChangeRecords = 64;
constexpr int kMaxEntries = 15;
constexpr uint32_t kBaseRecordBytes = 28;
constexpr uint32_t kHighlightBytes = 12;
constexpr uint32_t kListEnd = 0xFFFFFFFF;

// Colour word (palette index per pixel value) and contrast word (weight per pixel value).
struct Words {
  uint32_t colour, contrast;
};

// Inclusive columns where an entry's words apply.
struct Entry {
  int left, right;
  Words words;
};

// One pass's position in its nibble stream; it runs on through the whole frame.
struct NibbleCursor {
  int64_t nibble;
  bool ended;  // the data reached the end of video memory
};

uint32_t NextNibble(NibbleCursor& c) {
  const int64_t byte = c.nibble >> 1;
  if (!VKR_WinInVideoMemory(byte, 1)) {
    c.ended = true;
    return 0;
  }
  const uint32_t value = g_GP2X_VIDEO_BASE_PTR[byte];
  return (c.nibble++ & 1) ? value & 0xF : value >> 4;
}

// A code is 1 to 4 nibbles: one if its value is 4 or more, else two if 16 or more, else three if
// 64 or more, else four.
uint32_t NextCode(NibbleCursor& c) {
  uint32_t code = NextNibble(c);
  for (uint32_t limit = 4; code < limit && limit <= 64 && !c.ended; limit <<= 2)
    code = code << 4 | NextNibble(c);
  return code;
}

struct Layer {
  Words base;
  int left, right;  // columns of every line, inclusive
  int top, bottom;
  NibbleCursor even, odd;
};

// Which words apply at each output column of a band: 0 the base words, k entry k - 1.
struct ColumnWords {
  Words sets[kMaxEntries + 1];
  uint8_t setOf[VKR_MAX_OUTPUT_WIDTH];
};

void PrepareColumns(const VKR_WinGeometry& g, const Layer& layer, const Entry* entries, int count,
                    ColumnWords* columns) {
  columns->sets[0] = layer.base;
  for (int e = 0; e < count; ++e) columns->sets[e + 1] = entries[e].words;
  // The last entry that holds a column supplies its words.
  for (int x = 0; x < g.width; ++x) {
    uint8_t set = 0;
    for (int e = 0; e < count; ++e)
      if (entries[e].left <= x && x <= entries[e].right) set = static_cast<uint8_t>(e + 1);
    columns->setOf[x] = set;
  }
}

void DrawPixels(const VKR_WinGeometry& g, int y, int x0, int x1, uint32_t value,
                const ColumnWords& columns) {
  uint8_t* row = VKR_WinSurfaceRow(g, y);
  uint8_t* written = VKR_WinWrittenRow(g, y);
  const uint32_t shift = 4 * value;
  for (int x = x0; x < x1; ++x) {
    const Words& words = columns.sets[columns.setOf[x]];
    const uint32_t colour = g_ulSPUColorPalette[(words.colour >> shift) & 0xF];
    const uint32_t weight = written[x] ? (words.contrast >> shift) & 0xF : 15;
    written[x] = 1;
    const uint32_t yuv[3] = {colour & 0xFF, (colour >> 8) & 0xFF, colour >> 24};
    uint8_t* out = row + 3 * x;
    for (int i = 0; i < 3; ++i)
      out[i] = weight == 15 ? static_cast<uint8_t>(yuv[i]) : VKR_WinBlend15(yuv[i], out[i], weight);
  }
}

// One line from the cursor's data: every column of the line is decoded, those inside the output
// drawn. Lines start on a byte; a run never passes the line's end, and length 0 fills it.
void DrawLine(const VKR_WinGeometry& g, const Layer& layer, int y, NibbleCursor& cursor,
              const ColumnWords& columns) {
  if (layer.right < layer.left || cursor.ended) return;
  const int visibleEnd = layer.right + 1 < g.width ? layer.right + 1 : g.width;
  int x = layer.left;
  while (x <= layer.right) {
    const uint32_t code = NextCode(cursor);
    if (cursor.ended) return;
    const int remaining = layer.right - x + 1;
    const int run = (code >> 2) == 0 || static_cast<int>(code >> 2) > remaining
                        ? remaining
                        : static_cast<int>(code >> 2);
    const int end = x + run < visibleEnd ? x + run : visibleEnd;
    if (x < end) DrawPixels(g, y, x, end, code & 3, columns);
    x += run;
  }
  cursor.nibble += cursor.nibble & 1;
}

// Lines a to b: the odd-line pass, then the even-line pass. Television: each pass its own parity
// of the band's output lines. LCD: both passes the lines a / 2 to b / 2. Lines past the output
// are neither drawn nor read.
void DrawBand(const VKR_WinGeometry& g, Layer& layer, int a, int b, const Entry* entries, int count) {
  if (a >= b) return;
  ColumnWords columns;
  PrepareColumns(g, layer, entries, count, &columns);
  NibbleCursor* cursors[2] = {&layer.odd, &layer.even};
  for (int pass = 0; pass < 2; ++pass) {
    int first = a / 2, end = b / 2, step = 1;
    if (g.tv) {
      const int parity = pass == 0 ? 1 : 0;
      first = a + ((a & 1) != parity);
      end = b;
      step = 2;
    }
    if (end > g.height) end = g.height;
    for (int y = first; y < end; y += step) DrawLine(g, layer, y, *cursors[pass], columns);
  }
}

Words WordsOf(uint32_t word) { return {word >> 16, word & 0xFFFF}; }

void DrawChangeList(const VKR_WinGeometry& g, Layer& layer, int64_t at) {
  int current = layer.top;
  for (int record = 0; record < kMaxChangeRecords; ++record) {
    if (!VKR_WinInVideoMemory(at, 4)) break;
    const uint32_t header = VKR_WinReadBE32(static_cast<uint32_t>(at));
    if (header == kListEnd) break;
    const int count = static_cast<int>((header >> 12) & 0xF);
    if (!VKR_WinInVideoMemory(at + 4, 8 * int64_t{count})) break;
    Entry entries[kMaxEntries];
    for (int e = 0; e < count; ++e) {
      const uint32_t entryAt = static_cast<uint32_t>(at + 4 + 8 * e);
      const uint32_t columns = VKR_WinReadBE32(entryAt + 4);
      entries[e] = {static_cast<int>(columns >> 16), static_cast<int>(columns & 0xFFFF),
                    WordsOf(VKR_WinReadBE32(entryAt))};
    }
    const int start = static_cast<int>(header >> 16), end = static_cast<int>(header & 0xFFF);
    if (current < start) DrawBand(g, layer, current, start, nullptr, 0);
    DrawBand(g, layer, start, end, entries, count);
    current = end;
    at += 4 + 8 * count;
  }
  DrawBand(g, layer, current, layer.bottom, nullptr, 0);
}

// Highlight left to right - 1 between the base words, on the highlight's lines.
void DrawHighlighted(const VKR_WinGeometry& g, Layer& layer, uint32_t at) {
  const uint32_t columns = VKR_WinReadBE32(at), lines = VKR_WinReadBE32(at + 4);
  const int left = static_cast<int>(columns >> 16), right = static_cast<int>(columns & 0xFFFF);
  const int top = static_cast<int>(lines >> 16), bottom = static_cast<int>(lines & 0xFFFF);
  const Entry entries[3] = {{0, left, layer.base},
                            {left, right, WordsOf(VKR_WinReadBE32(at + 8))},
                            {right, layer.right, layer.base}};
  DrawBand(g, layer, layer.top, top, nullptr, 0);
  DrawBand(g, layer, top, bottom, entries, 3);
  DrawBand(g, layer, bottom, layer.bottom, nullptr, 0);
}

}  // namespace

uint32_t VKR_LowLevelAPI_SoftRender_SPU_Layer() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (!g_bSPULayerEnable) return VKR_OK;
  const uint32_t at = g_ulSPUBaseCmdMemOffset & ~3u;
  if (!VKR_WinInVideoMemory(at, kBaseRecordBytes)) return VKR_OK;
  const VKR_WinGeometry g = VKR_WinCurrentGeometry();
  const uint32_t columns = VKR_WinReadBE32(at + 8), lines = VKR_WinReadBE32(at + 12);
  Layer layer = {WordsOf(VKR_WinReadBE32(at + 4)),
                 static_cast<int>(columns >> 16),
                 static_cast<int>(columns & 0xFFFF),
                 static_cast<int>(lines >> 16),
                 static_cast<int>(lines & 0xFFFF),
                 {2 * int64_t{VKR_WinReadBE32(at + 16)}, false},
                 {2 * int64_t{VKR_WinReadBE32(at + 20)}, false}};
  const bool changes = VKR_WinReadBE32(at) & 1;
  const uint32_t highlightAt = g_ulSPUHighlightInfoMemOffset & ~3u;
  if (changes && !g_bSPUHighlight)
    DrawChangeList(g, layer, VKR_WinReadBE32(at + 24));
  else if (!changes && g_bSPUHighlight && VKR_WinInVideoMemory(highlightAt, kHighlightBytes))
    DrawHighlighted(g, layer, highlightAt);
  else
    DrawBand(g, layer, layer.top, layer.bottom, nullptr, 0);
  return VKR_OK;
}
