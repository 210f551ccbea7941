// vkr_winRender.cpp: one frame of the emulated display controller in its fixed order: clear, YUV
// planes, OSD and sub-picture, colour adjustment and conversion, RGB layer, cursor, gamma; then
// present, the pause, capture and the host's frame hook. Without OSD and sub-picture every step
// is row-local, so the frame is composed a row at a time while the row is in cache.
#include <cstring>

#include "vkr_winCompose.h"
#include "vkr_winHost.h"

extern int g_bSaveOnDisk;
extern char g_strSaveFilePath[260];

namespace {

int BestKernels() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("avx2")) return kVKR_WinKernelsPortable;
  const bool permutes = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
  return permutes ? kVKR_WinKernelsAVX512 : kVKR_WinKernelsAVX2;
#else
  return kVKR_WinKernelsPortable;
#endif
}

// Y 16, Cb 128, Cr 128 everywhere, nothing written.
void ClearSurface(const VKR_WinGeometry& g) {
  const size_t pixels = static_cast<size_t>(g.width) * g.height;
  uint8_t* out = g_ucFrameSurface.data();
  for (size_t i = 0; i < pixels; ++i, out += 3) {
    out[0] = 16;
    out[1] = 128;
    out[2] = 128;
  }
  std::memset(g_ucByteWriteOnPlane.data(), 0, pixels);
}

void DrawYUVPlanes() {
  // The plane drawn last is on top.
  const uint32_t planeFirst = g_bYUVFirstPlanePriority ? 0 : 1;
  const uint32_t planeLast = 1 - planeFirst;
  VKR_LowLevelAPI_SoftRender_YUV_Layer(planeFirst, 1);
  VKR_LowLevelAPI_SoftRender_YUV_Layer(planeFirst, 0);
  VKR_LowLevelAPI_SoftRender_YUV_Layer(planeLast, 1);
  VKR_LowLevelAPI_SoftRender_YUV_Layer(planeLast, 0);
}

void DrawOverlaysInYUV() {
  if (g_bSPUonTopOfOSDLayer) {
    VKR_LowLevelAPI_SoftRender_SPU_Layer();
    VKR_LowLevelAPI_SoftRender_OSD_Layer();
  } else {
    VKR_LowLevelAPI_SoftRender_OSD_Layer();
    VKR_LowLevelAPI_SoftRender_SPU_Layer();
  }
}

void DrawRGBRow(const VKR_WinGeometry& g, int y) {
  VKR_WinRGBSpan spans[kVKR_WinMaxRGBSpans];
  const int count = VKR_WinRGBRowSpans(g, y, spans);
  for (int s = 0; s < count; ++s) VKR_WinDrawRGBSpan(g, y, spans[s]);
}

void FinishRow(const VKR_WinGeometry& g, int y) {
  VKR_WinDrawCursorRow(g, y);
  if (g_bEnableGamma) VKR_WinGammaRow(g, y);
}

// Columns a to b of row y, all showing `segment` and under at most one RGB span: converted, with
// the RGB layer over them.
void ComposePiece(const VKR_WinGeometry& g, int y, const VKR_WinYUVSegment& segment, int a, int b,
                  const VKR_WinRGBSpan* span) {
  uint8_t* row = VKR_WinSurfaceRow(g, y);
  uint8_t* written = VKR_WinWrittenRow(g, y);
  VKR_WinYUVSegment piece = segment;
  piece.x0 = a;
  piece.x1 = b;
  const size_t count = static_cast<size_t>(b - a);
  if (segment.kind == VKR_WIN_SEGMENT_CLEAR) {
    VKR_WinFillClearBGR(row + 3 * a, b - a);
    std::memset(written + a, 0, count);
  } else if (segment.kind == VKR_WIN_SEGMENT_DIRECT) {
    std::memset(written + a, 1, count);
    int firstSample;
    const uint8_t* source = VKR_WinDirectSource(piece, &firstSample);
    uint32_t key565;
    const uint8_t* layer = span ? VKR_WinRGB565Direct(g, y, a, b, &key565) : nullptr;
    if (layer) {
      VKR_WinConvertYUY2BlendRGB565(source, firstSample, layer, span->operation == 1, key565,
                                    span->alpha, row + 3 * a, b - a);
      return;
    }
    VKR_WinConvertYUY2ToBGR(source, firstSample, row + 3 * a, b - a);
  } else {
    VKR_WinDrawYUVSegment(piece, row);
    VKR_WinConvertYCbCrToBGR(row + 3 * a, b - a);
    std::memset(written + a, 1, count);
  }
  if (span) VKR_WinDrawRGBSpan(g, y, {a, b, span->operation, span->alpha});
}

// Row y from nothing to gamma. The YUV segments cover the row; the RGB spans lie in it.
void ComposeRow(const VKR_WinGeometry& g, int y) {
  VKR_WinYUVSegment segments[kVKR_WinMaxYUVSegments];
  VKR_WinRGBSpan spans[kVKR_WinMaxRGBSpans];
  const int segmentCount = VKR_WinYUVRowSegments(g, y, segments);
  const int spanCount = VKR_WinRGBRowSpans(g, y, spans);
  int s = 0, p = 0;
  for (int x = 0; x < g.width;) {
    while (s + 1 < segmentCount && segments[s].x1 <= x) ++s;
    while (p < spanCount && spans[p].x1 <= x) ++p;
    const bool underSpan = p < spanCount && spans[p].x0 <= x;
    int end = segments[s].x1;
    const int spanEdge = p >= spanCount ? g.width : underSpan ? spans[p].x1 : spans[p].x0;
    if (spanEdge < end) end = spanEdge;
    ComposePiece(g, y, segments[s], x, end, underSpan ? &spans[p] : nullptr);
    x = end;
  }
  FinishRow(g, y);
}

// With OSD or sub-picture the YUV domain is composed over the whole surface first.
void ComposeThroughSurface(const VKR_WinGeometry& g) {
  ClearSurface(g);
  DrawYUVPlanes();
  DrawOverlaysInYUV();
  for (int y = 0; y < g.height; ++y) {
    VKR_WinConvertYCbCrToBGR(VKR_WinSurfaceRow(g, y), g.width);
    DrawRGBRow(g, y);
    FinishRow(g, y);
  }
}

}  // namespace

int g_nWinComposeKernels = BestKernels();

VKR_WinGeometry VKR_WinCurrentGeometry() {
  return {VKR_WinOutputWidth(), VKR_WinOutputHeight(), VKR_IsTVMode(g_ulDISPLAY_MODE) ? 1 : 0};
}

void VKR_WinComposeFrame() {
  const VKR_WinGeometry g = VKR_WinCurrentGeometry();
  VKR_WinPrepareColorAdjust();
  VKR_WinPrepareRGBLayer(g);
  VKR_WinPrepareCursor(g);
  if (g_bEnableGamma) VKR_WinPrepareGamma();
  if (g_bOSDLayerEnable || g_bSPULayerEnable) {
    ComposeThroughSurface(g);
    return;
  }
  for (int y = 0; y < g.height; ++y) ComposeRow(g, y);
}

void VKR_WinConvertFrameToBGR() {
  const VKR_WinGeometry g = VKR_WinCurrentGeometry();
  VKR_WinPrepareColorAdjust();
  for (int y = 0; y < g.height; ++y) VKR_WinConvertYCbCrToBGR(VKR_WinSurfaceRow(g, y), g.width);
}

uint32_t VKR_LowLevelAPI_SoftRender() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  VKR_WinComposeFrame();
  VKR_WinPresentFrame();
  VKR_WinSleepMS(2);
  if (g_bSaveOnDisk) VKR_LowLevelAPI_SaveBMP(g_strSaveFilePath);
  VKR_WinRunFrameHook();
  return VKR_OK;
}
