// reference_compositor.cpp: the frame written out as the controller's rules read, one pixel at a
// time, with every video-memory read checked on its own. Slow on purpose; no tables, no runs.
#include "reference_compositor.h"

#include <cstddef>

#include "disp_model.h"

namespace {

bool Byte(const RefFrame& f, int64_t at, uint32_t* value) {
  if (at < 0 || at >= DISP_VIDEO_MEMORY_SIZE) return false;
  *value = f.video[at];
  return true;
}

bool Word(const RefFrame& f, int64_t at, bool bigEndian, uint32_t* value) {
  uint32_t b[4];
  for (int i = 0; i < 4; ++i)
    if (!Byte(f, at + i, &b[i])) return false;
  *value = bigEndian ? b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3]
                     : b[3] << 24 | b[2] << 16 | b[1] << 8 | b[0];
  return true;
}

int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

uint8_t* Pixel(RefFrame& f, int x, int y) { return &f.surface[(size_t(y) * f.width + x) * 3]; }
uint8_t& Flag(RefFrame& f, int x, int y) { return f.written[size_t(y) * f.width + x]; }

uint8_t Mix(uint32_t layer, uint32_t old, uint32_t w) {
  return uint8_t((layer * w + old * (15 - w)) / 15);
}

// ---- YUV ----

void YUVPart(RefFrame& f, int planeB, int bottomPart) {
  const DISP_YUVPlane& p = f.model->yuvPlane[planeB];
  if (!p.enable) return;
  int start = bottomPart ? p.split : p.top;
  int end = bottomPart ? p.bottom : p.split;
  if (f.tv) start *= 2, end *= 2;
  const DISP_YUVScale scale = f.model->yuvScaler[2 * planeB + bottomPart];
  const bool mirror = bottomPart ? p.bottomMirror : p.topMirror;
  const bool flip = bottomPart ? p.bottomFlip : p.topFlip;
  const int64_t offset = bottomPart ? p.bottomOffset : p.topOffset;
  const int64_t stride = (flip ? -2 : 2) * int64_t(p.pitch);
  for (int y = start; y < end && y < f.height; ++y) {
    int64_t v = (int64_t(y - start) * scale.vertical) >> 10;
    if (f.tv) v = (v & ~int64_t(1)) + (y % 2);
    int64_t pair = offset + v * stride;
    const int first = mirror ? 1 : 0;
    int sample = first;
    uint32_t accumulator = 0;
    for (int x = p.left; x <= p.right && x < f.width; ++x) {
      uint32_t y0, cb, y1, cr;
      if (Byte(f, pair, &y0) && Byte(f, pair + 1, &cb) && Byte(f, pair + 2, &y1) && Byte(f, pair + 3, &cr)) {
        uint8_t* out = Pixel(f, x, y);
        out[0] = uint8_t(sample ? y1 : y0);
        out[1] = uint8_t(cb);
        out[2] = uint8_t(cr);
        Flag(f, x, y) = 1;
      }
      const uint32_t old = accumulator;
      accumulator += scale.horizontal;
      for (uint32_t n = (accumulator >> 10) - (old >> 10); n > 0; --n) {
        sample ^= 1;
        if (sample == first) pair += mirror ? -4 : 4;
      }
    }
  }
}

// ---- OSD ----

void OSDArea(RefFrame& f, uint32_t header, int field) {
  uint32_t w1, w2;
  if (!Word(f, header + 4, false, &w1) || !Word(f, header + 8, false, &w2)) return;
  const int bottom = w1 & 0x7FF, top = (w1 >> 11) & 0x3FF;
  const uint32_t headerAlpha = (w1 >> 22) & 0xF;
  const bool alphaEnable = (w1 >> 26) & 1, compressed = (w1 >> 30) & 1;
  const uint32_t code = (w1 >> 28) & 3;
  const int right = w2 & 0x7FF, left = (w2 >> 11) & 0x3FF;
  const uint32_t key = (w2 >> 22) & 0xFF;
  const bool keyEnable = (w2 >> 30) & 1;
  if (code == 3) return;
  const int bits = 2 << code;
  const int64_t data = int64_t(header) + 12;
  int64_t at = data, pixel = 0;
  uint32_t runLeft = 0, runIndex = 0;
  for (int y = top; y < bottom; ++y) {
    const int outY = f.tv ? 2 * y + field : y;
    if (outY >= f.height) return;
    for (int x = left; x <= right; ++x) {
      uint32_t index;
      if (!compressed) {
        uint32_t b;
        if (!Byte(f, data + pixel * bits / 8, &b)) return;
        index = (b >> (pixel * bits % 8)) & ((1u << bits) - 1);
        ++pixel;
      } else {
        while (runLeft == 0) {
          uint32_t b;
          if (!Byte(f, at++, &b)) return;
          if (b < 0xC0) {
            runLeft = 1, runIndex = b;
          } else {
            if (!Byte(f, at++, &runIndex)) return;
            runLeft = b & 0x3F;
          }
        }
        --runLeft;
        index = runIndex;
      }
      if (x >= f.width) continue;
      if (alphaEnable && keyEnable && index == key) continue;
      const uint32_t colour = f.model->osdPalette[index];
      const uint32_t a = alphaEnable ? headerAlpha : colour >> 28;
      uint8_t* out = Pixel(f, x, outY);
      const uint32_t yuv[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
      if (!Flag(f, x, outY)) {
        Flag(f, x, outY) = 1;
        for (int i = 0; i < 3; ++i) out[i] = uint8_t(yuv[i]);
      } else {
        for (int i = 0; i < 3; ++i) out[i] = uint8_t((out[i] * (15 - a) + yuv[i] * a) / 15);
      }
    }
  }
}

void OSDChain(RefFrame& f, uint32_t header, int field) {
  std::vector<uint32_t> seen;
  while (seen.size() < 64) {
    for (uint32_t s : seen)
      if (s == header) return;
    seen.push_back(header);
    uint32_t next, w1;
    if (!Word(f, header, false, &next) || !Word(f, header + 4, false, &w1) ||
        int64_t(header) + 12 > DISP_VIDEO_MEMORY_SIZE)
      return;
    OSDArea(f, header, field);
    if (w1 >> 31) return;
    header = next;
  }
}

// ---- Sub-picture ----

struct Cursor {
  int64_t nibble;
  bool ended;
};

uint32_t Nibble(const RefFrame& f, Cursor& c) {
  uint32_t b;
  if (!Byte(f, c.nibble / 2, &b)) {
    c.ended = true;
    return 0;
  }
  const uint32_t v = c.nibble % 2 ? b & 0xF : b >> 4;
  ++c.nibble;
  return v;
}

struct SPUEntry {
  int left, right;
  uint32_t colour, contrast;
};

struct SPU {
  uint32_t colour, contrast;
  int left, right, top, bottom;
  Cursor even, odd;
};

void SPULine(RefFrame& f, SPU& s, int y, Cursor& c, const std::vector<SPUEntry>& entries) {
  int runLeft = 0;
  uint32_t value = 0;
  for (int x = s.left; x <= s.right; ++x) {
    if (runLeft == 0) {
      if (c.ended) return;
      // One nibble if 4 or more, else two if 16 or more, else three if 64 or more, else four.
      uint32_t code = Nibble(f, c);
      if (code < 4) {
        code = code << 4 | Nibble(f, c);
        if (code < 16) {
          code = code << 4 | Nibble(f, c);
          if (code < 64) code = code << 4 | Nibble(f, c);
        }
      }
      if (c.ended) return;
      value = code & 3;
      runLeft = code >> 2;
      if (runLeft == 0) runLeft = s.right - x + 1;
    }
    --runLeft;
    if (x >= f.width) continue;
    uint32_t colour = s.colour, contrast = s.contrast;
    for (const SPUEntry& e : entries)
      if (e.left <= x && x <= e.right) colour = e.colour, contrast = e.contrast;
    const uint32_t yuvWord = f.model->spuColorPalette[(colour >> (4 * value)) & 0xF];
    uint32_t w = (contrast >> (4 * value)) & 0xF;
    if (!Flag(f, x, y)) w = 15;
    Flag(f, x, y) = 1;
    const uint32_t yuv[3] = {yuvWord & 0xFF, (yuvWord >> 8) & 0xFF, yuvWord >> 24};
    uint8_t* out = Pixel(f, x, y);
    for (int i = 0; i < 3; ++i) out[i] = w == 15 ? uint8_t(yuv[i]) : Mix(yuv[i], out[i], w);
  }
  if (c.nibble % 2) ++c.nibble;
}

void SPUBand(RefFrame& f, SPU& s, int a, int b, const std::vector<SPUEntry>& entries) {
  if (s.right < s.left) return;
  for (int pass = 0; pass < 2; ++pass) {
    Cursor& c = pass == 0 ? s.odd : s.even;
    if (f.tv) {
      for (int y = a; y < b && y < f.height; ++y)
        if (y % 2 == (pass == 0 ? 1 : 0)) SPULine(f, s, y, c, entries);
    } else {
      for (int y = a / 2; y < b / 2 && y < f.height; ++y) SPULine(f, s, y, c, entries);
    }
  }
}

// ---- Conversion ----

// ---- RGB layer ----

bool RGBPixel(const RefFrame& f, int64_t n, uint32_t* b, uint32_t* g, uint32_t* r) {
  const int64_t base = f.model->rgbVideoMemOffset;
  uint32_t v0, v1, v2, entry;
  switch (f.model->colorBitDepth) {
    case 4:
      if (!Byte(f, base + n / 2, &v0)) return false;
      entry = f.model->rgbColorTable[n % 2 ? v0 >> 4 : v0 & 0xF];
      break;
    case 8:
      if (!Byte(f, base + n, &v0)) return false;
      entry = f.model->rgbColorTable[v0];
      break;
    case 16:
      if (!Byte(f, base + 2 * n, &v0) || !Byte(f, base + 2 * n + 1, &v1)) return false;
      v0 |= v1 << 8;
      *b = (v0 << 3) & 0xF8, *g = (v0 >> 3) & 0xFC, *r = (v0 >> 8) & 0xF8;
      return true;
    default:
      if (!Byte(f, base + 3 * n, &v0) || !Byte(f, base + 3 * n + 1, &v1) || !Byte(f, base + 3 * n + 2, &v2))
        return false;
      *b = v0, *g = v1, *r = v2;
      return true;
  }
  *b = entry & 0xFF, *g = (entry >> 8) & 0xFF, *r = (entry >> 16) & 0xFF;
  return true;
}

}  // namespace

void RefYUY2ToRGB(uint32_t yuy2, int* red, int* green, int* blue) {
  const int c = int(yuy2 & 0xFF) - 16, d = int((yuy2 >> 8) & 0xFF) - 128,
            e = int(yuy2 >> 24) - 128;
  *red = Clamp((298 * c + 409 * e) / 256, 0, 255);
  *green = Clamp((298 * c - 100 * d - 208 * e) / 256, 0, 255);
  *blue = Clamp((298 * c + 517 * d) / 256, 0, 255);
}

void RefStart(RefFrame& f, const DISP_Model& model, const uint8_t* video) {
  f.model = &model;
  f.video = video;
  f.tv = f.model->displayMode >= 5;
  f.width = f.tv ? 720 : 320;
  f.height = !f.tv ? 240 : f.model->displayMode <= 18 ? 480 : 576;
  f.surface.assign(size_t(f.width) * f.height * 3, 0);
  f.written.assign(size_t(f.width) * f.height, 0);
  for (size_t i = 0; i < f.surface.size(); i += 3) {
    f.surface[i] = 16;
    f.surface[i + 1] = 128;
    f.surface[i + 2] = 128;
  }
}

void RefYUVPart(RefFrame& f, int planeB, int bottomPart) { YUVPart(f, planeB, bottomPart); }

void RefOSD(RefFrame& f) {
  if (!f.model->osdLayerEnable) return;
  OSDChain(f, f.model->osdHeaderEvenField, 0);
  if (f.tv) OSDChain(f, f.model->osdHeaderOddField, 1);
}

void RefSPU(RefFrame& f) {
  if (!f.model->spuLayerEnable) return;
  const int64_t at = f.model->spuBaseCmdMemOffset & ~3u;
  uint32_t w[7];
  for (int i = 0; i < 7; ++i)
    if (!Word(f, at + 4 * i, true, &w[i])) return;
  SPU s = {w[1] >> 16, w[1] & 0xFFFF, int(w[2] >> 16), int(w[2] & 0xFFFF), int(w[3] >> 16),
           int(w[3] & 0xFFFF), {2 * int64_t(w[4]), false}, {2 * int64_t(w[5]), false}};
  const bool changes = w[0] & 1;
  const std::vector<SPUEntry> none;
  if (changes && !f.model->spuHighlight) {
    int c = s.top;
    int64_t p = w[6];
    for (int record = 0; record < 64; ++record) {
      uint32_t h;
      if (!Word(f, p, true, &h) || h == 0xFFFFFFFF) break;
      const int n = (h >> 12) & 0xF, start = h >> 16, end = h & 0xFFF;
      std::vector<SPUEntry> entries;
      bool complete = true;
      for (int e = 0; e < n && complete; ++e) {
        uint32_t words, columns;
        complete = Word(f, p + 4 + 8 * e, true, &words) && Word(f, p + 8 + 8 * e, true, &columns);
        entries.push_back({int(columns >> 16), int(columns & 0xFFFF), words >> 16, words & 0xFFFF});
      }
      if (!complete) break;
      if (c < start) SPUBand(f, s, c, start, none);
      SPUBand(f, s, start, end, entries);
      c = end;
      p += 4 + 8 * n;
    }
    SPUBand(f, s, c, s.bottom, none);
    return;
  }
  uint32_t h[3];
  const int64_t hat = f.model->spuHighlightInfoMemOffset & ~3u;
  if (!changes && f.model->spuHighlight && Word(f, hat, true, &h[0]) && Word(f, hat + 4, true, &h[1]) &&
      Word(f, hat + 8, true, &h[2])) {
    const int left = h[0] >> 16, right = h[0] & 0xFFFF, top = h[1] >> 16, bottom = h[1] & 0xFFFF;
    const std::vector<SPUEntry> entries = {{0, left, s.colour, s.contrast},
                                           {left, right, h[2] >> 16, h[2] & 0xFFFF},
                                           {right, s.right, s.colour, s.contrast}};
    SPUBand(f, s, s.top, top, none);
    SPUBand(f, s, top, bottom, entries);
    SPUBand(f, s, bottom, s.bottom, none);
    return;
  }
  SPUBand(f, s, s.top, s.bottom, none);
}

void RefConvertPixel(const DISP_Model& model, const uint8_t* yuv, uint8_t* bgr) {
  const int y1 = (yuv[0] + model.yuvBrightness - 128) * (model.yuvContrast + 8);
  const int y3 = Clamp(y1 / 8 + 128, 0, 255);
  const int cb = yuv[1] - 128, cr = yuv[2] - 128;
  const int q = cb >= 0 && cr >= 0 ? 0 : cb < 0 && cr >= 0 ? 1 : cb < 0 && cr < 0 ? 2 : 3;
  const int cb2 = Clamp((model.hueCbA[q] * cb + model.hueCbB[q] * cr) / 64 + 128, 0, 255);
  const int cr2 = Clamp((model.hueCrA[q] * cb + model.hueCrB[q] * cr) / 64 + 128, 0, 255);
  int r, g, b;
  RefYUY2ToRGB(uint32_t(y3) | uint32_t(cb2) << 8 | uint32_t(cr2) << 24, &r, &g, &b);
  bgr[0] = uint8_t(b);
  bgr[1] = uint8_t(g);
  bgr[2] = uint8_t(r);
}

void RefConvert(RefFrame& f) {
  for (size_t i = 0; i < f.written.size(); ++i) {
    uint8_t* px = &f.surface[3 * i];
    const uint8_t yuv[3] = {px[0], px[1], px[2]};
    RefConvertPixel(*f.model, yuv, px);
  }
}

void RefRGBLayer(RefFrame& f) {
  const int depth = f.model->colorBitDepth;
  const int64_t sx = f.model->screenSizeX, sy = f.model->screenSizeY;
  if (depth != 4 && depth != 8 && depth != 16 && depth != 24) return;
  if (sx < 1 || sx > 4096 || sy < 1 || sy > 4096) return;
  const DISP_RGBRegion& r5 = f.model->rgbLayerRegion[5];
  for (int y = 0; y < f.height; ++y) {
    bool inside[5] = {};
    for (int k = 1; k <= 4; ++k) {
      const DISP_RGBRegion& r = f.model->rgbLayerRegion[k];
      const int top = f.tv ? 2 * r.top : r.top, bottom = f.tv ? 2 * r.bottom : r.bottom;
      inside[k] = r.active && top <= y && y <= bottom;
    }
    for (int x = 0; x < f.width; ++x) {
      bool shown = r5.active && r5.visible;
      uint32_t op = r5.operation, alpha = r5.operation ? r5.alpha : 15;
      for (int k = 4; k >= 1; --k) {
        const DISP_RGBRegion& r = f.model->rgbLayerRegion[k];
        if (!inside[k] || x < r.left || x > r.right) continue;
        shown = r.visible;
        if (r.visible && r.operation) op = r.operation, alpha = r.alpha;
      }
      if (!shown) continue;
      if (alpha > 15) alpha = 15;
      uint32_t b, g, r;
      if (!RGBPixel(f, int64_t(y) * sy / f.height * sx + int64_t(x) * sx / f.width, &b, &g, &r))
        continue;
      if (op == 1) {
        const uint32_t k = b << 16 | g << 8 | r;
        const uint32_t key = depth == 16 ? f.model->regionColorKey & 0xF8FCF8 : f.model->regionColorKey;
        if (k == key) alpha = 0;
      }
      uint8_t* out = Pixel(f, x, y);
      uint8_t& flag = Flag(f, x, y);
      if (!flag || alpha == 15) {
        out[0] = uint8_t(b), out[1] = uint8_t(g), out[2] = uint8_t(r);
        flag = 1;
      } else if (alpha != 0) {
        out[0] = Mix(b, out[0], alpha), out[1] = Mix(g, out[1], alpha), out[2] = Mix(r, out[2], alpha);
        flag = 1;
      }
    }
  }
}

void RefCursor(RefFrame& f) {
  const DISP_CursorLayer& c = f.model->cursorLayer;
  if (!c.enable) return;
  const int s = c.large == 1 ? 64 : 32;
  const int columns = c.x + s > f.width ? f.width - c.x : s;
  int firstLine, lines;
  if (!f.tv) {
    firstLine = c.y;
    lines = c.y + s > 240 ? 240 - c.y : s;
  } else {
    const int limit = f.height == 576 ? 288 : 240;
    firstLine = 2 * c.y;
    lines = c.y + 2 * s > limit ? limit - c.y : 2 * s;
  }
  for (int m = 0; m < lines; ++m) {
    const int y = firstLine + m;
    if (y >= f.height) break;
    const int line = !f.tv ? m : m % 2 == 0 ? m / 2 : s + (m - 1) / 2;
    for (int n = 0; n < columns; ++n) {
      uint32_t bits;
      if (!Byte(f, int64_t(c.bitmapOffset) + line * s / 4 + n / 4, &bits)) continue;
      const int x = c.x + n;
      Flag(f, x, y) = 1;
      const uint32_t code = (bits >> (2 * (n % 4))) & 3;
      uint8_t* out = Pixel(f, x, y);
      if (code == 2) continue;
      if (code == 3) {
        for (int i = 0; i < 3; ++i) out[i] = uint8_t(255 - out[i]);
        continue;
      }
      const uint32_t colour = code ? c.color1 : c.color0;
      const uint32_t t = (colour >> 24) & 0xF0;
      out[0] = uint8_t((out[0] * (240 - t) + ((colour >> 16) & 0xFF) * t) / 240);
      out[1] = uint8_t((out[1] * (240 - t) + ((colour >> 8) & 0xFF) * t) / 240);
      out[2] = uint8_t((out[2] * (240 - t) + (colour & 0xFF) * t) / 240);
    }
  }
}

void RefGamma(RefFrame& f) {
  if (!f.model->enableGamma) return;
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      if (!Flag(f, x, y)) continue;
      uint8_t* out = Pixel(f, x, y);
      out[0] = uint8_t(f.model->gammaTable[out[0]] >> 16);
      out[1] = uint8_t(f.model->gammaTable[out[1]] >> 8);
      out[2] = uint8_t(f.model->gammaTable[out[2]]);
    }
}

void RefComposeFrame(RefFrame& f, const DISP_Model& model, const uint8_t* video) {
  RefStart(f, model, video);
  const int first = f.model->yuvFirstPlanePriority ? 1 : 0;
  RefYUVPart(f, first, 0);
  RefYUVPart(f, first, 1);
  RefYUVPart(f, 1 - first, 0);
  RefYUVPart(f, 1 - first, 1);
  if (f.model->spuOnTopOfOSDLayer) {
    RefSPU(f);
    RefOSD(f);
  } else {
    RefOSD(f);
    RefSPU(f);
  }
  RefConvert(f);
  RefRGBLayer(f);
  RefCursor(f);
  RefGamma(f);
}
