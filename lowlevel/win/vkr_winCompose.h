// vkr_winCompose.h: what the compositor's units share: the output being composed, bounded reads of
// video memory, and the per-frame preparations and per-row steps that the frame orchestration
// (vkr_winRender.cpp) chains together. Main thread only.
#pragma once

#include <cstdint>
#include <cstring>

#include "vkr_winState.h"

// The output of the display mode, fixed for one composition.
struct VKR_WinGeometry {
  int width, height;  // output pixels
  int tv;             // 1 on television: layer line numbers count field lines
};
VKR_WinGeometry VKR_WinCurrentGeometry();

// Which kernels run, the best the processor has (found at start-up); a lower value runs the
// lower kernels alone.
inline constexpr int kVKR_WinKernelsPortable = 0;
inline constexpr int kVKR_WinKernelsAVX2 = 1;
inline constexpr int kVKR_WinKernelsAVX512 = 2;  // AVX2 with the AVX-512 byte permutes
extern int g_nWinComposeKernels;

// [offset, offset + size) lies inside video memory, for any signed offset and size.
inline bool VKR_WinInVideoMemory(int64_t offset, int64_t size) {
  return offset >= 0 && size >= 0 && offset <= int64_t{VKR_VIDEO_MEMORY_SIZE} - size;
}

// Records in video memory sit at any byte offset; the caller has checked the bounds.
inline uint32_t VKR_WinReadLE32(uint32_t offset) {
  const uint8_t* at = g_GP2X_VIDEO_BASE_PTR + offset;
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}
inline uint32_t VKR_WinReadBE32(uint32_t offset) {
  const uint8_t* at = g_GP2X_VIDEO_BASE_PTR + offset;
  return static_cast<uint32_t>(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3];
}

inline uint8_t* VKR_WinSurfaceRow(const VKR_WinGeometry& g, int y) {
  return g_ucFrameSurface.data() + static_cast<size_t>(y) * g.width * 3;
}
inline uint8_t* VKR_WinWrittenRow(const VKR_WinGeometry& g, int y) {
  return g_ucByteWriteOnPlane.data() + static_cast<size_t>(y) * g.width;
}

// One byte of `layer` over `old` with weight w of 15, integer division.
inline uint8_t VKR_WinBlend15(uint32_t layer, uint32_t old, uint32_t w) {
  return static_cast<uint8_t>((layer * w + old * (15 - w)) / 15);
}

// ---- YUV planes (vkr_winYUVLayer.cpp) -------------------------------------------------------
// A run of one output row that shows the same thing: the clear, or one part of a plane.
// DIRECT parts step one sample a pixel forward (scale 1024, no mirror); SAMPLED ones do anything.
enum VKR_WinSegmentKind : int { VKR_WIN_SEGMENT_CLEAR, VKR_WIN_SEGMENT_DIRECT, VKR_WIN_SEGMENT_SAMPLED };
struct VKR_WinYUVSegment {
  int x0, x1;  // output columns, x1 exclusive
  VKR_WinSegmentKind kind;
  int64_t line;         // video-memory offset of the part's first pair on this row
  int left;             // column of the part's first sample
  uint32_t horizontal;  // source step per pixel times 1024
  int mirror;           // 1: samples run backwards from Y1
};
inline constexpr int kVKR_WinMaxYUVSegments = 9;
// What row y shows once every part is drawn, left to right; the count of segments.
int VKR_WinYUVRowSegments(const VKR_WinGeometry& g, int y, VKR_WinYUVSegment* segments);
// Y, Cb, Cr of a part's segment into the row's pixels (three bytes each).
void VKR_WinDrawYUVSegment(const VKR_WinYUVSegment& segment, uint8_t* row);
// The pair holding a DIRECT segment's first pixel, and which of its two samples that pixel is.
const uint8_t* VKR_WinDirectSource(const VKR_WinYUVSegment& segment, int* firstSample);

// ---- Colour adjustment and conversion (vkr_winColorAdjust.cpp) ------------------------------
// Takes brightness, contrast and hue for this frame.
void VKR_WinPrepareColorAdjust();
// The clear's black after adjustment, `count` pixels of blue, green, red.
void VKR_WinFillClearBGR(uint8_t* bgr, int count);
// Pixels from YUY2 pairs (first pixel sample 0 = Y0 or 1 = Y1 of `pair`) to blue, green, red.
void VKR_WinConvertYUY2ToBGR(const uint8_t* pair, int firstSample, uint8_t* bgr, int count);
// The same, then an RGB565 layer over it with its key and alpha; every pixel counts as written.
void VKR_WinConvertYUY2BlendRGB565(const uint8_t* pair, int firstSample, const uint8_t* layer,
                                   int keyed, uint32_t key565, uint32_t alpha, uint8_t* bgr,
                                   int count);
// Y, Cb, Cr pixels to blue, green, red in place.
void VKR_WinConvertYCbCrToBGR(uint8_t* pixels, int count);

// ---- RGB layer (vkr_winRGBLayer.cpp) ---------------------------------------------------------
// A run of one output row where the layer shows with one operation and alpha (0 to 15).
struct VKR_WinRGBSpan {
  int x0, x1;
  uint32_t operation, alpha;
};
inline constexpr int kVKR_WinMaxRGBSpans = 9;
void VKR_WinPrepareRGBLayer(const VKR_WinGeometry& g);
// The runs of row y where the layer shows; their count.
int VKR_WinRGBRowSpans(const VKR_WinGeometry& g, int y, VKR_WinRGBSpan* spans);
void VKR_WinDrawRGBSpan(const VKR_WinGeometry& g, int y, const VKR_WinRGBSpan& span);
// Where a span's image pixels lie when they are RGB565 one to one with the output and all in video
// memory; null otherwise. `key565` receives the colour key as an RGB565 pixel.
const uint8_t* VKR_WinRGB565Direct(const VKR_WinGeometry& g, int y, int x0, int x1,
                                   uint32_t* key565);

// ---- Cursor (vkr_winCursorLayer.cpp) ---------------------------------------------------------
void VKR_WinPrepareCursor(const VKR_WinGeometry& g);
void VKR_WinDrawCursorRow(const VKR_WinGeometry& g, int y);

// ---- Gamma (vkr_winGamma.cpp) ----------------------------------------------------------------
void VKR_WinPrepareGamma();
void VKR_WinGammaRow(const VKR_WinGeometry& g, int y);

// ---- The frame (vkr_winRender.cpp) ----------------------------------------------------------
// Clears and composes every layer of a frame, up to gamma, without presenting or capturing it.
void VKR_WinComposeFrame();
// The colour adjustment and conversion alone, over the whole surface.
void VKR_WinConvertFrameToBGR();
