// vkr_winOSDLayer.cpp: the OSD layer: chains of area headers in video memory, each area a palette
// image of 2, 4 or 8 bits a pixel, plain or run-length coded, drawn in the YUV domain with palette
// or header alpha and an optional key index. Chains that leave video memory or loop are ended.
#include "vkr_winCompose.h"

namespace {

// Longer chains are cut here; a repeated header ends a chain at once.
constexpr int kMaxAreasPerChain = 64;
constexpr uint32_t kHeaderBytes = 12;

struct AreaHeader {
  uint32_t next;
  int top, bottom;   // lines, bottom exclusive
  int left, right;   // columns, right inclusive
  uint32_t alpha;
  bool alphaEnable, keyEnable, compressed, last;
  int bitsPerPixel;  // 0 for size code 3, which draws nothing
  uint32_t keyIndex;
};

bool ReadHeader(uint32_t offset, AreaHeader* h) {
  if (!VKR_WinInVideoMemory(offset, kHeaderBytes)) return false;
  const uint32_t w1 = VKR_WinReadLE32(offset + 4), w2 = VKR_WinReadLE32(offset + 8);
  constexpr int kBitsOfSizeCode[4] = {2, 4, 8, 0};
  h->next = VKR_WinReadLE32(offset);
  h->bottom = static_cast<int>(w1 & 0x7FF);
  h->top = static_cast<int>((w1 >> 11) & 0x3FF);
  h->alpha = (w1 >> 22) & 0xF;
  h->alphaEnable = (w1 >> 26) & 1;
  h->bitsPerPixel = kBitsOfSizeCode[(w1 >> 28) & 3];
  h->compressed = (w1 >> 30) & 1;
  h->last = (w1 >> 31) & 1;
  h->right = static_cast<int>(w2 & 0x7FF);
  h->left = static_cast<int>((w2 >> 11) & 0x3FF);
  h->keyIndex = (w2 >> 22) & 0xFF;
  h->keyEnable = (w2 >> 30) & 1;
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
uint32_t NextRun(IndexStream& s, uint32_t wanted, uint32_t* index) {
  const uint8_t* base = g_GP2X_VIDEO_BASE_PTR;
  if (!s.compressed) {
    const int64_t bit = s.pixel * s.bitsPerPixel;
    if (!VKR_WinInVideoMemory(s.at + bit / 8, 1)) return 0;
    *index = (base[s.at + bit / 8] >> (bit % 8)) & ((1u << s.bitsPerPixel) - 1);
    ++s.pixel;
    return 1;
  }
  while (s.runLeft == 0) {
    if (!VKR_WinInVideoMemory(s.at, 1)) return 0;
    const uint32_t code = base[s.at++];
    if (code < 0xC0) {
      s.runLeft = 1, s.runIndex = code;
    } else {
      // A run byte gives the length; the index follows. A length of 0 gives no pixel.
      if (!VKR_WinInVideoMemory(s.at, 1)) return 0;
      s.runLeft = code & 0x3F, s.runIndex = base[s.at++];
    }
  }
  const uint32_t n = s.runLeft < wanted ? s.runLeft : wanted;
  s.runLeft -= n;
  *index = s.runIndex;
  return n;
}

void DrawArea(const VKR_WinGeometry& g, const AreaHeader& h, uint32_t data, int field) {
  if (h.bitsPerPixel == 0 || h.right < h.left) return;
  IndexStream s = {data, 0, h.bitsPerPixel, h.compressed, 0, 0};
  const uint32_t width = static_cast<uint32_t>(h.right - h.left + 1);
  const bool keyed = h.alphaEnable && h.keyEnable;
  for (int y = h.top; y < h.bottom; ++y) {
    const int outY = g.tv ? 2 * y + field : y;
    // Lines only go down: past the last output line nothing more shows.
    if (outY >= g.height) return;
    uint8_t* row = VKR_WinSurfaceRow(g, outY);
    uint8_t* written = VKR_WinWrittenRow(g, outY);
    uint32_t done = 0;
    while (done < width) {
      uint32_t index;
      const uint32_t n = NextRun(s, width - done, &index);
      if (n == 0) return;
      const int x0 = h.left + static_cast<int>(done);
      done += n;
      if (keyed && index == h.keyIndex) continue;
      const uint32_t colour = g_ulOSDPalette[index];
      const uint32_t alpha = h.alphaEnable ? h.alpha : colour >> 28;
      const uint32_t yuv[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
      const int x1 = x0 + static_cast<int>(n) < g.width ? x0 + static_cast<int>(n) : g.width;
      for (int x = x0; x < x1; ++x) {
        uint8_t* out = row + 3 * x;
        if (!written[x]) {
          written[x] = 1;
          out[0] = static_cast<uint8_t>(yuv[0]);
          out[1] = static_cast<uint8_t>(yuv[1]);
          out[2] = static_cast<uint8_t>(yuv[2]);
          continue;
        }
        for (int i = 0; i < 3; ++i) out[i] = VKR_WinBlend15(yuv[i], out[i], alpha);
      }
    }
  }
}

void DrawChain(const VKR_WinGeometry& g, uint32_t header, int field) {
  uint32_t visited[kMaxAreasPerChain];
  for (int count = 0; count < kMaxAreasPerChain; ++count) {
    for (int i = 0; i < count; ++i)
      if (visited[i] == header) return;
    visited[count] = header;
    AreaHeader h;
    if (!ReadHeader(header, &h)) return;
    DrawArea(g, h, header + kHeaderBytes, field);
    if (h.last) return;
    header = h.next;
  }
}

}  // namespace

uint32_t VKR_LowLevelAPI_SoftRender_OSD_Layer_Area(uint32_t header, uint32_t field) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  AreaHeader h;
  if (ReadHeader(header, &h)) DrawArea(VKR_WinCurrentGeometry(), h, header + kHeaderBytes, field ? 1 : 0);
  return VKR_OK;
}

uint32_t VKR_LowLevelAPI_SoftRender_OSD_Layer() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (!g_bOSDLayerEnable) return VKR_OK;
  const VKR_WinGeometry g = VKR_WinCurrentGeometry();
  DrawChain(g, g_ulOSDHeaderEvenField, 0);
  if (g.tv) DrawChain(g, g_ulOSDHeaderOddField, 1);
  return VKR_OK;
}
