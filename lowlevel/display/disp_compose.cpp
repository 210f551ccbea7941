// disp_compose.cpp: one frame of the display controller in its fixed order: clear, YUV planes, OSD
// and sub-picture, colour adjustment and conversion, RGB layer, cursor, gamma; and each step
// alone. Without OSD and sub-picture every step is row-local, so the frame is composed a row at a
// time while the row is in cache.
#include "disp_composeUnits.h"

namespace {

// Y 16, Cb 128, Cr 128 everywhere, nothing written.
void ClearSurface(const DISP_Composition& c) {
  const size_t pixels = static_cast<size_t>(c.width) * c.height;
  uint8_t* out = c.surface;
  for (size_t i = 0; i < pixels; ++i, out += 3) {
    out[0] = 16;
    out[1] = 128;
    out[2] = 128;
  }
  std::memset(c.written, 0, pixels);
}

void DrawYUVPlanes(const DISP_Composition& c) {
  // The plane drawn last is on top.
  const int planeFirst = c.model->yuvFirstPlanePriority ? 1 : 0;
  const int planeLast = 1 - planeFirst;
  DISP_DrawYUVPartRows(c, planeFirst, 0);
  DISP_DrawYUVPartRows(c, planeFirst, 1);
  DISP_DrawYUVPartRows(c, planeLast, 0);
  DISP_DrawYUVPartRows(c, planeLast, 1);
}

void DrawOverlaysInYUV(const DISP_Composition& c) {
  if (c.model->spuOnTopOfOSDLayer) {
    DISP_DrawSPULayer(c);
    DISP_DrawOSDChains(c);
  } else {
    DISP_DrawOSDChains(c);
    DISP_DrawSPULayer(c);
  }
}

void DrawRGBRow(const DISP_Composition& c, int y) {
  const DISP_RGBSpan* spans = nullptr;
  const int count = DISP_RGBRowSpans(c, y, &spans);
  for (int s = 0; s < count; ++s) DISP_DrawRGBSpan(c, y, spans[s]);
}

void FinishRow(const DISP_Composition& c, int y) {
  DISP_DrawCursorRow(c, y);
  if (c.model->enableGamma) DISP_GammaRow(c, y);
}

// Columns a to b of row y, all showing `segment` and under at most one RGB span: converted, with
// the RGB layer over them.
void ComposePiece(const DISP_Composition& c, int y, const DISP_YUVSegment& segment, int a, int b,
                  const DISP_RGBSpan* span) {
  uint8_t* row = DISP_SurfaceRow(c, y);
  uint8_t* written = DISP_WrittenRow(c, y);
  DISP_YUVSegment piece = segment;
  piece.x0 = a;
  piece.x1 = b;
  const size_t count = static_cast<size_t>(b - a);
  if (segment.kind == DISP_SEGMENT_CLEAR) {
    DISP_FillClearBGR(c, row + 3 * a, b - a);
    std::memset(written + a, 0, count);
  } else if (segment.kind == DISP_SEGMENT_DIRECT) {
    std::memset(written + a, 1, count);
    int firstSample;
    const uint8_t* source = DISP_DirectSource(c, piece, &firstSample);
    uint32_t key565;
    const uint8_t* layer = span ? DISP_RGB565Direct(c, y, a, b, &key565) : nullptr;
    if (layer) {
      DISP_ConvertYUY2BlendRGB565(c, source, firstSample, layer, span->operation == 1, key565,
                                  span->alpha, row + 3 * a, b - a);
      return;
    }
    DISP_ConvertYUY2ToBGR(c, source, firstSample, row + 3 * a, b - a);
  } else {
    DISP_DrawYUVSegment(c, piece, row);
    DISP_ConvertYCbCrToBGR(c, row + 3 * a, b - a);
    std::memset(written + a, 1, count);
  }
  if (span) DISP_DrawRGBSpan(c, y, {a, b, span->operation, span->alpha});
}

// Row y from nothing to gamma. The YUV segments cover the row; the RGB spans lie in it.
void ComposeRow(const DISP_Composition& c, int y, DISP_YUVRows* rows) {
  const DISP_YUVSegment* segments = rows->segments.data();
  const DISP_RGBSpan* spans = nullptr;
  const int segmentCount = DISP_YUVRowSegments(c, y, rows);
  const int spanCount = DISP_RGBRowSpans(c, y, &spans);
  int s = 0, p = 0;
  for (int x = 0; x < c.width;) {
    while (s + 1 < segmentCount && segments[s].x1 <= x) ++s;
    while (p < spanCount && spans[p].x1 <= x) ++p;
    const bool underSpan = p < spanCount && spans[p].x0 <= x;
    int end = segments[s].x1;
    const int spanEdge = p >= spanCount ? c.width : underSpan ? spans[p].x1 : spans[p].x0;
    if (spanEdge < end) end = spanEdge;
    ComposePiece(c, y, segments[s], x, end, underSpan ? &spans[p] : nullptr);
    x = end;
  }
  FinishRow(c, y);
}

// With OSD or sub-picture the YUV domain is composed over the whole surface first.
void ComposeThroughSurface(const DISP_Composition& c) {
  ClearSurface(c);
  DrawYUVPlanes(c);
  DrawOverlaysInYUV(c);
  for (int y = 0; y < c.height; ++y) {
    DISP_ConvertYCbCrToBGR(c, DISP_SurfaceRow(c, y), c.width);
    DrawRGBRow(c, y);
    FinishRow(c, y);
  }
}

}  // namespace

DISP_Kernels DISP_BestKernels() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("avx2")) return DISP_KERNELS_PORTABLE;
  const bool permutes = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
  return permutes ? DISP_KERNELS_AVX512 : DISP_KERNELS_AVX2;
#else
  return DISP_KERNELS_PORTABLE;
#endif
}

bool DISP_StartComposition(DISP_Composition* c, const DISP_Model& model, const uint8_t* video,
                           const DISP_Surface& surface, DISP_Kernels kernels) {
  const DISP_Geometry g = DISP_GeometryOf(model);
  if (!surface.pixels || !surface.written ||
      surface.capacity < static_cast<size_t>(g.width) * g.height)
    return false;
  c->model = &model;
  c->video = video;
  c->surface = surface.pixels;
  c->written = surface.written;
  c->width = g.width;
  c->height = g.height;
  c->tv = g.tv;
  c->kernels = kernels;
  return true;
}

bool DISP_ComposeFrame(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface,
                       DISP_Kernels kernels, const DISP_RecordCopies& records) {
  DISP_Composition c;
  if (!video || !DISP_StartComposition(&c, model, video, surface, kernels)) return false;
  c.records = records;
  DISP_PrepareYUVPlanes(c);
  DISP_PrepareColorAdjust(c);
  DISP_PrepareRGBLayer(c);
  DISP_PrepareCursor(c);
  if (model.enableGamma) DISP_PrepareGamma(c);
  if (model.osdLayerEnable || model.spuLayerEnable) {
    ComposeThroughSurface(c);
    return true;
  }
  DISP_YUVRows rows;
  for (int y = 0; y < c.height; ++y) ComposeRow(c, y, &rows);
  return true;
}

bool DISP_ClearSurface(const DISP_Model& model, const DISP_Surface& surface) {
  DISP_Composition c;
  if (!DISP_StartComposition(&c, model, nullptr, surface, DISP_KERNELS_PORTABLE)) return false;
  ClearSurface(c);
  return true;
}

bool DISP_DrawYUVPart(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface,
                      int planeB, int bottomPart) {
  DISP_Composition c;
  if (!video || !DISP_StartComposition(&c, model, video, surface, DISP_KERNELS_PORTABLE))
    return false;
  DISP_PrepareYUVPlanes(c);
  DISP_DrawYUVPartRows(c, planeB ? 1 : 0, bottomPart ? 1 : 0);
  return true;
}

bool DISP_DrawOSD(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface) {
  DISP_Composition c;
  if (!video || !DISP_StartComposition(&c, model, video, surface, DISP_KERNELS_PORTABLE))
    return false;
  DISP_DrawOSDChains(c);
  return true;
}

bool DISP_DrawOSDArea(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface,
                      uint32_t header, int field) {
  DISP_Composition c;
  if (!video || !DISP_StartComposition(&c, model, video, surface, DISP_KERNELS_PORTABLE))
    return false;
  DISP_DrawOSDAreaAt(c, header, field);
  return true;
}

bool DISP_DrawSPU(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface) {
  DISP_Composition c;
  if (!video || !DISP_StartComposition(&c, model, video, surface, DISP_KERNELS_PORTABLE))
    return false;
  DISP_DrawSPULayer(c);
  return true;
}

bool DISP_ConvertToBGR(const DISP_Model& model, const DISP_Surface& surface, DISP_Kernels kernels) {
  DISP_Composition c;
  if (!DISP_StartComposition(&c, model, nullptr, surface, kernels)) return false;
  DISP_PrepareColorAdjust(c);
  for (int y = 0; y < c.height; ++y) DISP_ConvertYCbCrToBGR(c, DISP_SurfaceRow(c, y), c.width);
  return true;
}

bool DISP_DrawRGBLayer(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface) {
  DISP_Composition c;
  if (!video || !DISP_StartComposition(&c, model, video, surface, DISP_KERNELS_PORTABLE))
    return false;
  DISP_PrepareRGBLayer(c);
  for (int y = 0; y < c.height; ++y) DrawRGBRow(c, y);
  return true;
}

bool DISP_DrawCursor(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface) {
  DISP_Composition c;
  if (!video || !DISP_StartComposition(&c, model, video, surface, DISP_KERNELS_PORTABLE))
    return false;
  DISP_PrepareCursor(c);
  for (int y = 0; y < c.height; ++y) DISP_DrawCursorRow(c, y);
  return true;
}

bool DISP_ApplyGamma(const DISP_Model& model, const DISP_Surface& surface) {
  DISP_Composition c;
  if (!DISP_StartComposition(&c, model, nullptr, surface, DISP_KERNELS_PORTABLE)) return false;
  if (!model.enableGamma) return true;
  DISP_PrepareGamma(c);
  for (int y = 0; y < c.height; ++y) DISP_GammaRow(c, y);
  return true;
}
