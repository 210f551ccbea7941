// disp_spuLayer.cpp: the sub-picture layer: two-bit pixels run-length coded in nibbles, four
// colours and four contrasts out of a 16-entry palette, steered by the base command, the
// change-command list and the highlight record in video memory; drawn in the YUV domain.
#include "disp_composeUnits.h"

namespace {

// Longer change lists are cut here (the list then ends as if terminated).
constexpr int kMaxChangeRecords = 64;
constexpr int kMaxEntries = kDISP_SPUMaxEntries;

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

uint32_t NextNibble(const uint8_t* video, NibbleCursor& cursor) {
  const int64_t byte = cursor.nibble >> 1;
  if (!DISP_InVideoMemory(byte, 1)) {
    cursor.ended = true;
    return 0;
  }
  const uint32_t value = video[byte];
  return (cursor.nibble++ & 1) ? value & 0xF : value >> 4;
}

// A code is 1 to 4 nibbles: one if its value is 4 or more, else two if 16 or more, else three if
// 64 or more, else four.
uint32_t NextCode(const uint8_t* video, NibbleCursor& cursor) {
  uint32_t code = NextNibble(video, cursor);
  for (uint32_t limit = 4; code < limit && limit <= 64 && !cursor.ended; limit <<= 2)
    code = code << 4 | NextNibble(video, cursor);
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
  uint8_t setOf[DISP_MAX_OUTPUT_WIDTH];
};

void PrepareColumns(const DISP_Composition& c, const Layer& layer, const Entry* entries, int count,
                    ColumnWords* columns) {
  columns->sets[0] = layer.base;
  for (int e = 0; e < count; ++e) columns->sets[e + 1] = entries[e].words;
  // The last entry that holds a column supplies its words.
  for (int x = 0; x < c.width; ++x) {
    uint8_t set = 0;
    for (int e = 0; e < count; ++e)
      if (entries[e].left <= x && x <= entries[e].right) set = static_cast<uint8_t>(e + 1);
    columns->setOf[x] = set;
  }
}

void DrawPixels(const DISP_Composition& c, int y, int x0, int x1, uint32_t value,
                const ColumnWords& columns) {
  uint8_t* row = DISP_SurfaceRow(c, y);
  uint8_t* written = DISP_WrittenRow(c, y);
  const uint32_t shift = 4 * value;
  for (int x = x0; x < x1; ++x) {
    const Words& words = columns.sets[columns.setOf[x]];
    const uint32_t colour = c.model->spuColorPalette[(words.colour >> shift) & 0xF];
    const uint32_t weight = written[x] ? (words.contrast >> shift) & 0xF : 15;
    written[x] = 1;
    const uint32_t yuv[3] = {colour & 0xFF, (colour >> 8) & 0xFF, colour >> 24};
    uint8_t* out = row + 3 * x;
    for (int i = 0; i < 3; ++i)
      out[i] = weight == 15 ? static_cast<uint8_t>(yuv[i]) : DISP_Blend15(yuv[i], out[i], weight);
  }
}

// One line from the cursor's data: every column of the line is decoded, those inside the output
// drawn. Lines start on a byte; a run never passes the line's end, and length 0 fills it.
void DrawLine(const DISP_Composition& c, const Layer& layer, int y, NibbleCursor& cursor,
              const ColumnWords& columns) {
  if (layer.right < layer.left || cursor.ended) return;
  const int visibleEnd = layer.right + 1 < c.width ? layer.right + 1 : c.width;
  int x = layer.left;
  while (x <= layer.right) {
    const uint32_t code = NextCode(c.video, cursor);
    if (cursor.ended) return;
    const int remaining = layer.right - x + 1;
    const int run = (code >> 2) == 0 || static_cast<int>(code >> 2) > remaining
                        ? remaining
                        : static_cast<int>(code >> 2);
    const int end = x + run < visibleEnd ? x + run : visibleEnd;
    if (x < end) DrawPixels(c, y, x, end, code & 3, columns);
    x += run;
  }
  cursor.nibble += cursor.nibble & 1;
}

// Lines a to b: the odd-line pass, then the even-line pass. Television: each pass its own parity
// of the band's output lines. LCD: both passes the lines a / 2 to b / 2. Lines past the output
// are neither drawn nor read.
void DrawBand(const DISP_Composition& c, Layer& layer, int a, int b, const Entry* entries, int count) {
  if (a >= b) return;
  ColumnWords columns;
  PrepareColumns(c, layer, entries, count, &columns);
  NibbleCursor* cursors[2] = {&layer.odd, &layer.even};
  for (int pass = 0; pass < 2; ++pass) {
    int first = a / 2, end = b / 2, step = 1;
    if (c.tv) {
      const int parity = pass == 0 ? 1 : 0;
      first = a + ((a & 1) != parity);
      end = b;
      step = 2;
    }
    if (end > c.height) end = c.height;
    for (int y = first; y < end; y += step) DrawLine(c, layer, y, *cursors[pass], columns);
  }
}

void DrawChangeList(const DISP_Composition& c, Layer& layer, int64_t at) {
  int current = layer.top;
  for (int record = 0; record < kMaxChangeRecords; ++record) {
    if (!DISP_InVideoMemory(at, kDISP_SPUChangeHeaderBytes)) break;
    const uint32_t word = DISP_ReadBE32(c.video + at);
    if (word == kDISP_SPUListEnd) break;
    const DISP_SPUChangeHeader header = DISP_ReadSPUChangeHeader(word);
    const int count = header.count;
    const int64_t entriesAt = at + kDISP_SPUChangeHeaderBytes;
    if (!DISP_InVideoMemory(entriesAt, kDISP_SPUChangeEntryBytes * int64_t{count})) break;
    Entry entries[kMaxEntries];
    for (int e = 0; e < count; ++e) {
      const DISP_SPUChangeEntry entry =
          DISP_ReadSPUChangeEntry(c.video + entriesAt + kDISP_SPUChangeEntryBytes * e);
      entries[e] = {entry.left, entry.right, {entry.colorWord, entry.contrastWord}};
    }
    const int start = header.lineStart, end = header.lineEnd;
    if (current < start) DrawBand(c, layer, current, start, nullptr, 0);
    DrawBand(c, layer, start, end, entries, count);
    current = end;
    at = entriesAt + kDISP_SPUChangeEntryBytes * count;
  }
  DrawBand(c, layer, current, layer.bottom, nullptr, 0);
}

// Highlight left to right - 1 between the base words, on the highlight's lines.
void DrawHighlighted(const DISP_Composition& c, Layer& layer, uint32_t at) {
  const DISP_SPUHighlight h = DISP_ReadSPUHighlight(c.video + at);
  const Entry entries[3] = {{0, h.left, layer.base},
                            {h.left, h.right, {h.colorWord, h.contrastWord}},
                            {h.right, layer.right, layer.base}};
  DrawBand(c, layer, layer.top, h.top, nullptr, 0);
  DrawBand(c, layer, h.top, h.bottom, entries, 3);
  DrawBand(c, layer, h.bottom, layer.bottom, nullptr, 0);
}

}  // namespace

void DISP_DrawSPULayer(const DISP_Composition& c) {
  const DISP_Model& model = *c.model;
  if (!model.spuLayerEnable) return;
  const uint32_t at = model.spuBaseCmdMemOffset & ~3u;
  if (!DISP_InVideoMemory(at, kDISP_SPUBaseCmdBytes)) return;
  const DISP_SPUBaseCmd base = DISP_ReadSPUBaseCmd(DISP_RecordBytes(c, at));
  Layer layer = {{base.colorWord, base.contrastWord},
                 base.left,
                 base.right,
                 base.top,
                 base.bottom,
                 {2 * int64_t{base.evenLineData}, false},
                 {2 * int64_t{base.oddLineData}, false}};
  const uint32_t highlightAt = model.spuHighlightInfoMemOffset & ~3u;
  if (base.changeCmdPresent && !model.spuHighlight)
    DrawChangeList(c, layer, base.changeListOffset);
  else if (!base.changeCmdPresent && model.spuHighlight &&
           DISP_InVideoMemory(highlightAt, kDISP_SPUHighlightBytes))
    DrawHighlighted(c, layer, highlightAt);
  else
    DrawBand(c, layer, layer.top, layer.bottom, nullptr, 0);
}
