// disp_cursorLayer.cpp: the hardware cursor: a 32 x 32 or 64 x 64 bitmap of two-bit codes (two
// colours with 16 alpha levels, transparent, inverted), drawn over the converted picture, with its
// LCD and television line rules.
#include <algorithm>
#include <array>

#include "disp_composeUnits.h"

namespace {

using ChannelTables = std::array<std::array<uint8_t, 256>, 3>;

constexpr ChannelTables MakeChannelTables(bool inverted) {
  ChannelTables t{};
  for (auto& channel : t)
    for (int old = 0; old < 256; ++old)
      channel[old] = static_cast<uint8_t>(inverted ? 255 - old : old);
  return t;
}
// Code 2 leaves a pixel, code 3 inverts every byte.
constexpr ChannelTables kUnchanged = MakeChannelTables(false);
constexpr ChannelTables kInverted = MakeChannelTables(true);

void FillBlendTables(uint32_t colour, ChannelTables& tables) {
  const uint32_t weight = (colour >> 24) & 0xF0;
  const uint32_t components[3] = {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
  for (int channel = 0; channel < 3; ++channel)
    for (uint32_t old = 0; old < 256; ++old)
      tables[channel][old] =
          static_cast<uint8_t>((old * (240 - weight) + components[channel] * weight) / 240);
}

}  // namespace
void DISP_PrepareCursor(DISP_Composition& composition) {
  DISP_CursorFrame& c = composition.cursor;
  const DISP_CursorLayer& layer = composition.model->cursorLayer;
  c.size = layer.large == 1 ? 64 : 32;
  c.tv = composition.tv != 0;
  c.x = layer.x;
  c.columns = c.x + c.size > composition.width ? composition.width - c.x : c.size;
  const int y = layer.y;
  if (!c.tv) {
    c.firstLine = y;
    c.lines = y + c.size > 240 ? 240 - y : c.size;
  } else {
    // The television limits count field lines, as the controller does.
    const int fieldLines = composition.height / 2;
    c.firstLine = 2 * y;
    c.lines = y + 2 * c.size > fieldLines ? fieldLines - y : 2 * c.size;
  }
  if (c.firstLine + c.lines > composition.height) c.lines = composition.height - c.firstLine;
  c.shown = layer.enable && c.columns > 0 && c.lines > 0;
  c.bitmap = layer.bitmapOffset;
  FillBlendTables(layer.color0, c.ofCode[0]);
  FillBlendTables(layer.color1, c.ofCode[1]);
  c.ofCode[2] = kUnchanged;
  c.ofCode[3] = kInverted;
}

void DISP_DrawCursorRow(const DISP_Composition& composition, int y) {
  const DISP_CursorFrame& c = composition.cursor;
  const int m = y - c.firstLine;
  if (!c.shown || m < 0 || m >= c.lines) return;
  // Television: the first half of the bitmap's rows on even lines, the second on odd lines.
  const int line = !c.tv ? m : (m & 1) ? c.size + (m - 1) / 2 : m / 2;
  const int64_t start = c.bitmap + line * c.size / 4;
  // Pixels whose bitmap byte would lie past video memory are not drawn.
  int columns = c.columns;
  const int64_t bytesInMemory = int64_t{DISP_VIDEO_MEMORY_SIZE} - start;
  if (bytesInMemory < (columns + 3) / 4) columns = static_cast<int>(bytesInMemory * 4);
  if (columns <= 0) return;
  const uint8_t* bits = composition.video + start;
  uint8_t* out = DISP_SurfaceRow(composition, y) + 3 * c.x;
  uint8_t* written = DISP_WrittenRow(composition, y) + c.x;
  std::memset(written, 1, static_cast<size_t>(columns));
  // Four pixels a bitmap byte, lowest bits first.
  for (int n = 0; n < columns; ++bits) {
    uint32_t codes = *bits;
    for (const int last = std::min(n + 4, columns); n < last; ++n, out += 3, codes >>= 2) {
      const auto& tables = c.ofCode[codes & 3];
      out[0] = tables[0][out[0]];
      out[1] = tables[1][out[1]];
      out[2] = tables[2][out[2]];
    }
  }
}
