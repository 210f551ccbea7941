// vkr_winRGBLayer.cpp: the RGB layer: its image stretched over the output at 4, 8, 16 or 24 bits,
// the five regions and their precedence, the colour key, alpha and the written-pixel rule.
#include <array>

#include "vkr_winCompose.h"

namespace {

// The layer as this frame shows it.
struct RGBLayer {
  int depth;  // 4, 8, 16 or 24; 0 when the settings or regions show no image
  int64_t offset;
  int64_t imageWidth, imageHeight;
  bool oneToOne;  // image columns are output columns
  uint32_t key;   // what an expanded pixel is compared with
  uint32_t key565;
  std::array<uint16_t, VKR_MAX_OUTPUT_WIDTH> columnOf;
};

RGBLayer g_WinRGBLayer;

constexpr int64_t kMaxImageSide = 4096;

struct Bgr {
  uint32_t b, g, r;
};

Bgr PaletteColour(uint32_t index) {
  const uint32_t entry = g_ulRGBColorTable[index];
  return {entry & 0xFF, (entry >> 8) & 0xFF, (entry >> 16) & 0xFF};
}

// Image pixel n, if its bytes lie in video memory.
template <int Depth>
bool FetchPixel(int64_t n, Bgr* out) {
  const int64_t offset = g_WinRGBLayer.offset;
  const uint8_t* base = g_GP2X_VIDEO_BASE_PTR;
  if constexpr (Depth == 4) {
    const int64_t at = offset + n / 2;
    if (!VKR_WinInVideoMemory(at, 1)) return false;
    // Of two pixels in a byte the even one is the low nibble.
    *out = PaletteColour((base[at] >> ((n & 1) * 4)) & 0xF);
  } else if constexpr (Depth == 8) {
    const int64_t at = offset + n;
    if (!VKR_WinInVideoMemory(at, 1)) return false;
    *out = PaletteColour(base[at]);
  } else if constexpr (Depth == 16) {
    const int64_t at = offset + 2 * n;
    if (!VKR_WinInVideoMemory(at, 2)) return false;
    const uint32_t p = base[at] | base[at + 1] << 8;
    *out = {(p << 3) & 0xF8, (p >> 3) & 0xFC, (p >> 8) & 0xF8};
  } else {
    const int64_t at = offset + 3 * n;
    if (!VKR_WinInVideoMemory(at, 3)) return false;
    *out = {base[at], base[at + 1], base[at + 2]};
  }
  return true;
}

template <int Depth>
void DrawSpan(const VKR_WinGeometry& g, int y, const VKR_WinRGBSpan& span) {
  const RGBLayer& layer = g_WinRGBLayer;
  const int64_t imageRow = int64_t{y} * layer.imageHeight / g.height;
  const int64_t first = imageRow * layer.imageWidth;
  uint8_t* row = VKR_WinSurfaceRow(g, y);
  uint8_t* written = VKR_WinWrittenRow(g, y);
  for (int x = span.x0; x < span.x1; ++x) {
    Bgr c;
    if (!FetchPixel<Depth>(first + layer.columnOf[x], &c)) continue;
    uint32_t alpha = span.alpha;
    if (span.operation == 1 && (c.b << 16 | c.g << 8 | c.r) == layer.key) alpha = 0;
    uint8_t* out = row + 3 * x;
    // An unwritten pixel takes the layer unblended, whatever its alpha or key.
    if (!written[x] || alpha == 15) {
      out[0] = static_cast<uint8_t>(c.b);
      out[1] = static_cast<uint8_t>(c.g);
      out[2] = static_cast<uint8_t>(c.r);
    } else if (alpha != 0) {
      out[0] = VKR_WinBlend15(c.b, out[0], alpha);
      out[1] = VKR_WinBlend15(c.g, out[1], alpha);
      out[2] = VKR_WinBlend15(c.r, out[2], alpha);
    } else {
      continue;
    }
    written[x] = 1;
  }
}

void InsertCut(int* cuts, int* count, int value) {
  int i = *count;
  for (; i > 0 && cuts[i - 1] > value; --i) cuts[i] = cuts[i - 1];
  cuts[i] = value;
  ++*count;
}

int ClampColumn(int64_t x, int width) { return static_cast<int>(x < 0 ? 0 : x > width ? width : x); }

}  // namespace

void VKR_WinPrepareRGBLayer(const VKR_WinGeometry& g) {
  RGBLayer& layer = g_WinRGBLayer;
  const int depth = g_nColorBitDepth;
  const bool knownDepth = depth == 4 || depth == 8 || depth == 16 || depth == 24;
  layer.imageWidth = g_nScreenSizeX;
  layer.imageHeight = g_nScreenSizeY;
  const bool sized = layer.imageWidth > 0 && layer.imageWidth <= kMaxImageSide &&
                     layer.imageHeight > 0 && layer.imageHeight <= kMaxImageSide;
  bool anyRegion = g_RGBLayerRegion[5].active && g_RGBLayerRegion[5].visible;
  for (int k = 1; k <= 4; ++k) anyRegion = anyRegion || g_RGBLayerRegion[k].active;
  layer.depth = knownDepth && sized && anyRegion ? depth : 0;
  layer.offset = g_ulRGBVideoMemOffset;
  layer.oneToOne = layer.imageWidth == g.width;
  for (int x = 0; x < g.width; ++x)
    layer.columnOf[x] = static_cast<uint16_t>(x * layer.imageWidth / g.width);
  const uint32_t key = g_ulRegionColorKey;
  layer.key = depth == 16 ? key & 0xF8FCF8 : key;
  layer.key565 = (key & 0xF8) << 8 | ((key >> 8) & 0xFC) << 3 | ((key >> 16) & 0xF8) >> 3;
}

int VKR_WinRGBRowSpans(const VKR_WinGeometry& g, int y, VKR_WinRGBSpan* spans) {
  if (!g_WinRGBLayer.depth) return 0;
  const VKR_RGBRegion& whole = g_RGBLayerRegion[5];
  const bool shownByDefault = whole.active && whole.visible;
  const uint32_t defaultAlpha = whole.operation ? whole.alpha : 15;

  bool inside[5] = {};
  int cuts[10] = {0};
  int cutCount = 1;
  InsertCut(cuts, &cutCount, g.width);
  for (int k = 1; k <= 4; ++k) {
    const VKR_RGBRegion& r = g_RGBLayerRegion[k];
    const int64_t top = g.tv ? 2 * int64_t{r.top} : r.top;
    const int64_t bottom = g.tv ? 2 * int64_t{r.bottom} : r.bottom;
    inside[k] = r.active && top <= y && y <= bottom;
    if (!inside[k]) continue;
    InsertCut(cuts, &cutCount, ClampColumn(r.left, g.width));
    InsertCut(cuts, &cutCount, ClampColumn(int64_t{r.right} + 1, g.width));
  }

  int count = 0;
  for (int c = 0; c + 1 < cutCount; ++c) {
    const int a = cuts[c], b = cuts[c + 1];
    if (a == b) continue;
    bool shown = shownByDefault;
    uint32_t operation = whole.operation, alpha = defaultAlpha;
    // The lowest-numbered region holding the run decides what it shows.
    for (int k = 4; k >= 1; --k) {
      const VKR_RGBRegion& r = g_RGBLayerRegion[k];
      if (!inside[k] || a < r.left || a > r.right) continue;
      shown = r.visible != 0;
      if (r.visible && r.operation) operation = r.operation, alpha = r.alpha;
    }
    if (!shown) continue;
    // An alpha above opaque is opaque.
    if (alpha > 15) alpha = 15;
    if (count && spans[count - 1].x1 == a && spans[count - 1].operation == operation &&
        spans[count - 1].alpha == alpha) {
      spans[count - 1].x1 = b;
      continue;
    }
    spans[count++] = {a, b, operation, alpha};
  }
  return count;
}

void VKR_WinDrawRGBSpan(const VKR_WinGeometry& g, int y, const VKR_WinRGBSpan& span) {
  switch (g_WinRGBLayer.depth) {
    case 4: DrawSpan<4>(g, y, span); break;
    case 8: DrawSpan<8>(g, y, span); break;
    case 16: DrawSpan<16>(g, y, span); break;
    case 24: DrawSpan<24>(g, y, span); break;
    default: break;
  }
}

const uint8_t* VKR_WinRGB565Direct(const VKR_WinGeometry& g, int y, int x0, int x1,
                                   uint32_t* key565) {
  const RGBLayer& layer = g_WinRGBLayer;
  if (layer.depth != 16 || !layer.oneToOne) return nullptr;
  const int64_t at = layer.offset + 2 * (int64_t{y} * layer.imageHeight / g.height *
                                             layer.imageWidth + x0);
  if (!VKR_WinInVideoMemory(at, 2 * int64_t{x1 - x0})) return nullptr;
  *key565 = layer.key565;
  return g_GP2X_VIDEO_BASE_PTR + at;
}

uint32_t VKR_LowLevelAPI_SoftRender_RGB_Layer() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const VKR_WinGeometry g = VKR_WinCurrentGeometry();
  VKR_WinPrepareRGBLayer(g);
  VKR_WinRGBSpan spans[kVKR_WinMaxRGBSpans];
  for (int y = 0; y < g.height; ++y) {
    const int count = VKR_WinRGBRowSpans(g, y, spans);
    for (int s = 0; s < count; ++s) VKR_WinDrawRGBSpan(g, y, spans[s]);
  }
  return VKR_OK;
}
