// disp_cursorLayer.cpp: the hardware cursor: a 32 x 32 or 64 x 64 bitmap of two-bit codes (two
// colours with 16 alpha levels, transparent, inverted), drawn over the converted picture, with its
// LCD and television line rules.
#include <array>
#include <cstring>

#include "disp_bgrVectors.h"
#include "disp_composeUnits.h"

namespace {

// A byte under code k becomes ((old x keep[k] + add[channel][k]) / 240) ^ invert[k]: a colour
// blended with its weight t keeps 240 - t of the old byte and adds t of its own; code 2 keeps it
// all and code 3 also inverts it. The sum stays below 65536, and n / 240 = (n x 34953) >> 23 for
// every n up to 255 x 240.
uint8_t CursorByte(uint32_t old, uint32_t keep, uint32_t add, uint32_t invert) {
  return static_cast<uint8_t>((((old * keep + add) * 34953) >> 23) ^ invert);
}

// Pixels first to end of one drawn line, four codes a bitmap byte from the lowest bits; the
// colours through their tables.
void DrawPixels(const DISP_CursorFrame& c, const uint8_t* bits, uint8_t* out, int first,
                int end) {
  uint8_t* pixel = out + 3 * first;
  for (int n = first; n < end; ++n, pixel += 3) {
    const uint32_t code = (bits[n / 4] >> (2 * (n % 4))) & 3;
    if (code == 2) continue;
    if (code == 3) {
      pixel[0] = static_cast<uint8_t>(255 - pixel[0]);
      pixel[1] = static_cast<uint8_t>(255 - pixel[1]);
      pixel[2] = static_cast<uint8_t>(255 - pixel[2]);
      continue;
    }
    const auto& tables = c.blended[code];
    pixel[0] = tables[0][pixel[0]];
    pixel[1] = tables[1][pixel[1]];
    pixel[2] = tables[2][pixel[2]];
  }
}

#if defined(DISP_HAS_AVX2_KERNELS)
constexpr bool kVectorKernel = true;

// Entries 0 to 7 of a table in both 128-bit halves, for byte shuffles.
DISP_AVX2_INLINE __m256i ShuffleTable(const std::array<uint16_t, 8>& entries) {
  const __m128i half = _mm_load_si128(reinterpret_cast<const __m128i*>(entries.data()));
  return _mm256_broadcastsi128_si256(half);
}

// 16 pixels a step: the four bitmap bytes spread to one code a 16-bit lane, which picks each
// lane's keep, add and invert from the tables by byte shuffles. Answers the pixels drawn.
DISP_AVX2 int DrawPixelsAVX2(const DISP_CursorFrame& c, const uint8_t* bits, uint8_t* out,
                             int columns) {
  const __m256i keep = ShuffleTable(c.keep), invert = ShuffleTable(c.invert);
  const __m256i add[3] = {ShuffleTable(c.add[0]), ShuffleTable(c.add[1]), ShuffleTable(c.add[2])};
  // Lane i takes bitmap byte i / 4 and moves its code (bits 2 (i % 4) and up) to bits 6-7.
  const __m256i byteOfLane = _mm256_setr_epi8(0, -1, 0, -1, 0, -1, 0, -1, 1, -1, 1, -1, 1, -1, 1,
                                              -1, 2, -1, 2, -1, 2, -1, 2, -1, 3, -1, 3, -1, 3, -1,
                                              3, -1);
  const __m256i toTop = _mm256_setr_epi16(64, 16, 4, 1, 64, 16, 4, 1, 64, 16, 4, 1, 64, 16, 4, 1);
  int n = 0;
  for (; n + 16 <= columns; n += 16) {
    uint32_t word;
    std::memcpy(&word, bits + n / 4, 4);
    const __m256i spread =
        _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(word)), byteOfLane);
    const __m256i code = _mm256_and_si256(_mm256_srli_epi16(_mm256_mullo_epi16(spread, toTop), 6),
                                          _mm256_set1_epi16(3));
    // Byte index of the lane's 16-bit entry: 2 code, then 2 code + 1.
    const __m256i index = _mm256_or_si256(_mm256_mullo_epi16(code, _mm256_set1_epi16(0x0202)),
                                          _mm256_set1_epi16(0x0100));
    const __m256i keepOfLane = _mm256_shuffle_epi8(keep, index);
    const __m256i invertOfLane = _mm256_shuffle_epi8(invert, index);
    const auto draw = [&](__m256i old, int channel) DISP_AVX2 {
      const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(old, keepOfLane),
                                           _mm256_shuffle_epi8(add[channel], index));
      const __m256i reciprocal = _mm256_set1_epi16(static_cast<int16_t>(34953));
      return _mm256_xor_si256(_mm256_srli_epi16(_mm256_mulhi_epu16(sum, reciprocal), 7),
                              invertOfLane);
    };
    const DISP_Bgr16 old = DISP_LoadBGR16(out + 3 * n);
    DISP_StoreBGR16({draw(old.b, 0), draw(old.g, 1), draw(old.r, 2)}, out + 3 * n);
  }
  return n;
}
#else
constexpr bool kVectorKernel = false;
#endif

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
  c.keep.fill(240);
  c.invert.fill(0);
  for (auto& add : c.add) add.fill(0);
  c.invert[3] = 0xFF;
  const uint32_t colours[2] = {layer.color0, layer.color1};
  for (int code = 0; code < 2; ++code) {
    const uint32_t colour = colours[code];
    const uint32_t weight = (colour >> 24) & 0xF0;
    c.keep[code] = static_cast<uint16_t>(240 - weight);
    const uint32_t components[3] = {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
    for (int channel = 0; channel < 3; ++channel)
      c.add[channel][code] = static_cast<uint16_t>(components[channel] * weight);
  }
  // The vector kernel draws whole lines when they are multiples of 16 pixels and the bitmap (both
  // fields' lines on television) lies in video memory; otherwise the colours' tables are needed.
  const bool vector = composition.kernels != DISP_KERNELS_PORTABLE && c.columns % 16 == 0 &&
                      c.bitmap + 2 * c.size * c.size / 4 <= int64_t{DISP_VIDEO_MEMORY_SIZE};
  if (!c.shown || (vector && kVectorKernel)) return;
  for (int code = 0; code < 2; ++code)
    for (int channel = 0; channel < 3; ++channel) {
      const uint32_t keep = c.keep[code], add = c.add[channel][code], invert = c.invert[code];
      auto& table = c.blended[code][channel];
      for (uint32_t old = 0; old < 256; ++old) table[old] = CursorByte(old, keep, add, invert);
    }
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
  std::memset(DISP_WrittenRow(composition, y) + c.x, 1, static_cast<size_t>(columns));
  int drawn = 0;
#if defined(DISP_HAS_AVX2_KERNELS)
  if (composition.kernels != DISP_KERNELS_PORTABLE) drawn = DrawPixelsAVX2(c, bits, out, columns);
#endif
  DrawPixels(c, bits, out, drawn, columns);
}
