// disp_rgbLayer.cpp: the RGB layer: its image stretched over the output at 4, 8, 16 or 24 bits,
// the five regions and their precedence, the colour key, alpha and the written-pixel rule.
#include <array>
#include <cstring>

#include "disp_composeUnits.h"

namespace {

constexpr int64_t kMaxImageSide = 4096;

struct Bgr {
  uint32_t b, g, r;
};

Bgr PaletteColour(const DISP_Composition& c, uint32_t index) {
  const uint32_t entry = c.model->rgbColorTable[index];
  return {entry & 0xFF, (entry >> 8) & 0xFF, (entry >> 16) & 0xFF};
}

template <int Depth>
constexpr int64_t kPixelBytes = Depth == 24 ? 3 : Depth == 16 ? 2 : 1;

// Where image pixel n's bytes begin in video memory (4 bits: two pixels a byte).
template <int Depth>
int64_t PixelByte(const DISP_Composition& c, int64_t n) {
  const int64_t offset = c.rgb.offset;
  if constexpr (Depth == 4) return offset + n / 2;
  return offset + kPixelBytes<Depth> * n;
}

// Image pixel n; the caller has checked that its bytes lie in video memory.
template <int Depth>
Bgr PixelAt(const DISP_Composition& c, int64_t n) {
  const uint8_t* at = c.video + PixelByte<Depth>(c, n);
  if constexpr (Depth == 4) {
    // Of two pixels in a byte the even one is the low nibble.
    return PaletteColour(c, (at[0] >> ((n & 1) * 4)) & 0xF);
  } else if constexpr (Depth == 8) {
    return PaletteColour(c, at[0]);
  } else if constexpr (Depth == 16) {
    const uint32_t p = at[0] | at[1] << 8;
    return {(p << 3) & 0xF8, (p >> 3) & 0xFC, (p >> 8) & 0xF8};
  } else {
    return {at[0], at[1], at[2]};
  }
}

// Image pixel n, if its bytes lie in video memory.
template <int Depth>
bool FetchPixel(const DISP_Composition& c, int64_t n, Bgr* out) {
  if (!DISP_InVideoMemory(PixelByte<Depth>(c, n), kPixelBytes<Depth>)) return false;
  *out = PixelAt<Depth>(c, n);
  return true;
}

// Whether every pixel of the span lies in video memory: its columns only grow, so its first and
// last pixels tell.
template <int Depth>
bool SpanInVideoMemory(const DISP_Composition& c, int64_t first, const DISP_RGBSpan& span) {
  const DISP_RGBFrame& layer = c.rgb;
  return span.x0 < span.x1 &&
         DISP_InVideoMemory(PixelByte<Depth>(c, first + layer.columnOf[span.x0]), 0) &&
         DISP_InVideoMemory(PixelByte<Depth>(c, first + layer.columnOf[span.x1 - 1]),
                            kPixelBytes<Depth>);
}

template <int Depth>
void DrawSpan(const DISP_Composition& c, int y, const DISP_RGBSpan& span) {
  const DISP_RGBFrame& layer = c.rgb;
  const int64_t imageRow = int64_t{y} * layer.imageHeight / c.height;
  const int64_t first = imageRow * layer.imageWidth;
  uint8_t* row = DISP_SurfaceRow(c, y);
  uint8_t* written = DISP_WrittenRow(c, y);
  // An opaque span without colour key, all in video memory (a stretched layer's usual case):
  // every pixel stored as it is.
  if (span.alpha == 15 && span.operation != 1 && SpanInVideoMemory<Depth>(c, first, span)) {
    for (int x = span.x0; x < span.x1; ++x) {
      const Bgr p = PixelAt<Depth>(c, first + layer.columnOf[x]);
      uint8_t* out = row + 3 * x;
      out[0] = static_cast<uint8_t>(p.b);
      out[1] = static_cast<uint8_t>(p.g);
      out[2] = static_cast<uint8_t>(p.r);
    }
    std::memset(written + span.x0, 1, static_cast<size_t>(span.x1 - span.x0));
    return;
  }
  for (int x = span.x0; x < span.x1; ++x) {
    Bgr p;
    if (!FetchPixel<Depth>(c, first + layer.columnOf[x], &p)) continue;
    uint32_t alpha = span.alpha;
    if (span.operation == 1 && (p.b << 16 | p.g << 8 | p.r) == layer.key) alpha = 0;
    uint8_t* out = row + 3 * x;
    // An unwritten pixel takes the layer unblended, whatever its alpha or key.
    if (!written[x] || alpha == 15) {
      out[0] = static_cast<uint8_t>(p.b);
      out[1] = static_cast<uint8_t>(p.g);
      out[2] = static_cast<uint8_t>(p.r);
    } else if (alpha != 0) {
      out[0] = DISP_Blend15(p.b, out[0], alpha);
      out[1] = DISP_Blend15(p.g, out[1], alpha);
      out[2] = DISP_Blend15(p.r, out[2], alpha);
    } else {
      continue;
    }
    written[x] = 1;
  }
}

// x within 0..limit.
int ClampTo(int64_t x, int limit) { return static_cast<int>(x < 0 ? 0 : x > limit ? limit : x); }

// The runs of row y where the layer shows; their count.
int RowSpans(const DISP_Composition& c, int y, DISP_RGBSpan* spans) {
  const DISP_RGBRegion& whole = c.model->rgbLayerRegion[5];
  const bool shownByDefault = whole.active && whole.visible;
  const uint32_t defaultAlpha = whole.operation ? whole.alpha : 15;

  bool inside[5] = {};
  int cuts[10] = {0};
  int cutCount = 1;
  DISP_InsertCut(cuts, &cutCount, c.width);
  for (int k = 1; k <= 4; ++k) {
    const DISP_RGBRegion& r = c.model->rgbLayerRegion[k];
    const int64_t top = c.tv ? 2 * int64_t{r.top} : r.top;
    const int64_t bottom = c.tv ? 2 * int64_t{r.bottom} : r.bottom;
    inside[k] = r.active && top <= y && y <= bottom;
    if (!inside[k]) continue;
    DISP_InsertCut(cuts, &cutCount, ClampTo(r.left, c.width));
    DISP_InsertCut(cuts, &cutCount, ClampTo(int64_t{r.right} + 1, c.width));
  }

  int count = 0;
  for (int cut = 0; cut + 1 < cutCount; ++cut) {
    const int a = cuts[cut], b = cuts[cut + 1];
    if (a == b) continue;
    bool shown = shownByDefault;
    uint32_t operation = whole.operation, alpha = defaultAlpha;
    // The lowest-numbered region holding the run decides what it shows.
    for (int k = 4; k >= 1; --k) {
      const DISP_RGBRegion& r = c.model->rgbLayerRegion[k];
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

}  // namespace

void DISP_PrepareRGBLayer(DISP_Composition& c) {
  const DISP_Model& model = *c.model;
  DISP_RGBFrame& layer = c.rgb;
  const int depth = model.colorBitDepth;
  const bool knownDepth = depth == 4 || depth == 8 || depth == 16 || depth == 24;
  layer.imageWidth = model.screenSizeX;
  layer.imageHeight = model.screenSizeY;
  const bool sized = layer.imageWidth > 0 && layer.imageWidth <= kMaxImageSide &&
                     layer.imageHeight > 0 && layer.imageHeight <= kMaxImageSide;
  bool anyRegion = model.rgbLayerRegion[5].active && model.rgbLayerRegion[5].visible;
  for (int k = 1; k <= 4; ++k) anyRegion = anyRegion || model.rgbLayerRegion[k].active;
  layer.depth = knownDepth && sized && anyRegion ? depth : 0;
  layer.offset = model.rgbVideoMemOffset;
  layer.oneToOne = layer.imageWidth == c.width;
  // x x imageWidth / width, stepped: x x imageWidth = column x width + rest, rest below width.
  if (layer.depth) {
    const int64_t whole = layer.imageWidth / c.width, part = layer.imageWidth % c.width;
    int64_t column = 0, rest = 0;
    for (int x = 0; x < c.width; ++x) {
      layer.columnOf[x] = static_cast<uint16_t>(column);
      column += whole, rest += part;
      if (rest >= c.width) rest -= c.width, ++column;
    }
  }
  const uint32_t key = model.regionColorKey;
  layer.key = depth == 16 ? key & 0xF8FCF8 : key;
  layer.key565 = (key & 0xF8) << 8 | ((key >> 8) & 0xFC) << 3 | ((key >> 16) & 0xF8) >> 3;

  // Rows between two region edges cross the same regions, so they share their runs.
  layer.bandCount = 0;
  if (!layer.depth) return;
  int cuts[10] = {0};
  int cutCount = 1;
  DISP_InsertCut(cuts, &cutCount, c.height);
  for (int k = 1; k <= 4; ++k) {
    const DISP_RGBRegion& r = model.rgbLayerRegion[k];
    if (!r.active) continue;
    const int64_t top = c.tv ? 2 * int64_t{r.top} : r.top;
    const int64_t bottom = c.tv ? 2 * int64_t{r.bottom} : r.bottom;
    DISP_InsertCut(cuts, &cutCount, ClampTo(top, c.height));
    DISP_InsertCut(cuts, &cutCount, ClampTo(bottom + 1, c.height));
  }
  for (int cut = 0; cut + 1 < cutCount; ++cut) {
    if (cuts[cut] == cuts[cut + 1]) continue;
    DISP_RGBBand& band = layer.bands[layer.bandCount++];
    band.y1 = cuts[cut + 1];
    band.count = RowSpans(c, cuts[cut], band.spans.data());
  }
}

int DISP_RGBRowSpans(const DISP_Composition& c, int y, const DISP_RGBSpan** spans) {
  const DISP_RGBFrame& layer = c.rgb;
  for (int b = 0; b < layer.bandCount; ++b) {
    if (y >= layer.bands[b].y1) continue;
    *spans = layer.bands[b].spans.data();
    return layer.bands[b].count;
  }
  return 0;
}

void DISP_DrawRGBSpan(const DISP_Composition& c, int y, const DISP_RGBSpan& span) {
  switch (c.rgb.depth) {
    case 4: DrawSpan<4>(c, y, span); break;
    case 8: DrawSpan<8>(c, y, span); break;
    case 16: DrawSpan<16>(c, y, span); break;
    case 24: DrawSpan<24>(c, y, span); break;
    default: break;
  }
}

const uint8_t* DISP_RGB565Direct(const DISP_Composition& c, int y, int x0, int x1,
                                 uint32_t* key565) {
  const DISP_RGBFrame& layer = c.rgb;
  if (layer.depth != 16 || !layer.oneToOne) return nullptr;
  const int64_t at = layer.offset + 2 * (int64_t{y} * layer.imageHeight / c.height *
                                             layer.imageWidth + x0);
  if (!DISP_InVideoMemory(at, 2 * int64_t{x1 - x0})) return nullptr;
  *key565 = layer.key565;
  return c.video + at;
}
