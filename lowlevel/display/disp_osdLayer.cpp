// disp_osdLayer.cpp: the OSD layer: chains of area headers in video memory, each area a palette
// image of 2, 4 or 8 bits a pixel, plain or run-length coded, drawn in the YUV domain with palette
// or header alpha and an optional key index. Chains that leave video memory or loop are ended.
#include "disp_composeUnits.h"

namespace {

// Longer chains are cut here; a repeated header ends a chain at once.
constexpr int kMaxAreasPerChain = 64;

// The header at `offset`, when all of it lies in video memory.
bool ReadHeader(const DISP_Composition& c, uint32_t offset, DISP_OSDHeader* h) {
  if (!DISP_InVideoMemory(offset, kDISP_OSDHeaderBytes)) return false;
  *h = DISP_ReadOSDHeader(DISP_RecordBytes(c, offset));
  return true;
}

// The area's palette indices in drawing order, plain or run-length coded, never read past the end
// of video memory.
struct IndexStream {
  int64_t at;          // next byte (coded) or first byte of the area (plain)
  int64_t pixel;       // pixels taken so far (plain)
  int bitsPerPixel;
  bool compressed;
  uint32_t runLeft, runIndex;  // coded: what is left of the current run
};

// Up to `wanted` pixels of one index; 0 when the data ends.
uint32_t NextRun(const uint8_t* base, IndexStream& s, uint32_t wanted, uint32_t* index) {
  if (!s.compressed) {
    const int64_t bit = s.pixel * s.bitsPerPixel;
    if (!DISP_InVideoMemory(s.at + bit / 8, 1)) return 0;
    *index = (base[s.at + bit / 8] >> (bit % 8)) & ((1u << s.bitsPerPixel) - 1);
    ++s.pixel;
    return 1;
  }
  while (s.runLeft == 0) {
    if (!DISP_InVideoMemory(s.at, 1)) return 0;
    const uint32_t code = base[s.at++];
    if (code < 0xC0) {
      s.runLeft = 1, s.runIndex = code;
    } else {
      // A run byte gives the length; the index follows. A length of 0 gives no pixel.
      if (!DISP_InVideoMemory(s.at, 1)) return 0;
      s.runLeft = code & 0x3F, s.runIndex = base[s.at++];
    }
  }
  const uint32_t n = s.runLeft < wanted ? s.runLeft : wanted;
  s.runLeft -= n;
  *index = s.runIndex;
  return n;
}

void DrawArea(const DISP_Composition& c, const DISP_OSDHeader& h, uint32_t data, int field) {
  // Size code 3 (16 bits a pixel) is never written by the library: such an area draws nothing.
  constexpr int kBitsOfSizeCode[4] = {2, 4, 8, 0};
  const int bitsPerPixel = kBitsOfSizeCode[h.sizeCode & 3];
  if (bitsPerPixel == 0 || h.right < h.left) return;
  IndexStream s = {data, 0, bitsPerPixel, h.compressed != 0, 0, 0};
  const uint32_t width = h.right - h.left + 1;
  const bool keyed = h.alphaEnable && h.keyEnable;
  for (int y = static_cast<int>(h.top); y < static_cast<int>(h.bottom); ++y) {
    const int outY = c.tv ? 2 * y + field : y;
    // Lines only go down: past the last output line nothing more shows.
    if (outY >= c.height) return;
    uint8_t* row = DISP_SurfaceRow(c, outY);
    uint8_t* written = DISP_WrittenRow(c, outY);
    uint32_t done = 0;
    while (done < width) {
      uint32_t index;
      const uint32_t n = NextRun(c.video, s, width - done, &index);
      if (n == 0) return;
      const int x0 = static_cast<int>(h.left + done);
      done += n;
      if (keyed && index == h.keyIndex) continue;
      const uint32_t colour = c.model->osdPalette[index];
      const uint32_t alpha = h.alphaEnable ? h.alpha : colour >> 28;
      const uint32_t yuv[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
      const int x1 = x0 + static_cast<int>(n) < c.width ? x0 + static_cast<int>(n) : c.width;
      for (int x = x0; x < x1; ++x) {
        uint8_t* out = row + 3 * x;
        if (!written[x]) {
          written[x] = 1;
          out[0] = static_cast<uint8_t>(yuv[0]);
          out[1] = static_cast<uint8_t>(yuv[1]);
          out[2] = static_cast<uint8_t>(yuv[2]);
          continue;
        }
        for (int i = 0; i < 3; ++i) out[i] = DISP_Blend15(yuv[i], out[i], alpha);
      }
    }
  }
}

void DrawChain(const DISP_Composition& c, uint32_t header, int field) {
  uint32_t visited[kMaxAreasPerChain];
  for (int count = 0; count < kMaxAreasPerChain; ++count) {
    for (int i = 0; i < count; ++i)
      if (visited[i] == header) return;
    visited[count] = header;
    DISP_OSDHeader h;
    if (!ReadHeader(c, header, &h)) return;
    DrawArea(c, h, header + kDISP_OSDHeaderBytes, field);
    if (h.last) return;
    header = h.next;
  }
}

}  // namespace

void DISP_DrawOSDAreaAt(const DISP_Composition& c, uint32_t header, int field) {
  DISP_OSDHeader h;
  if (ReadHeader(c, header, &h)) DrawArea(c, h, header + kDISP_OSDHeaderBytes, field ? 1 : 0);
}

void DISP_DrawOSDChains(const DISP_Composition& c) {
  if (!c.model->osdLayerEnable) return;
  DrawChain(c, c.model->osdHeaderEvenField, 0);
  if (c.tv) DrawChain(c, c.model->osdHeaderOddField, 1);
}
