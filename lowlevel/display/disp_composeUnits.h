// disp_composeUnits.h: what the compositor's units share: one composition (the model, video memory
// and surface it works on, and what each unit prepares once a frame), and the per-row steps that
// the frame (disp_compose.cpp) chains together. Internal to the display component.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "disp_compose.h"
#include "disp_records.h"

// Brightness, contrast and hue as the conversion kernels use them (disp_colorAdjust.cpp).
struct DISP_ColorAdjust {
  std::array<int16_t, 256> lumaC;  // C = adjusted Y - 16, by Y
  // Hue coefficients by sign code (Cb' < 0) + 2 (Cr' < 0): Cb from Cb', Cb from Cr', Cr from Cb',
  // Cr from Cr'.
  int hue[4][4];
  std::array<uint8_t, DISP_MAX_OUTPUT_WIDTH * 3> clearRow;  // the clear's colour along a row
  // AVX2: luma in 16-bit lanes needs contrast 0 to 7; with brightness and contrast 0 it is Y - 16.
  // Each hue coefficient by sign code as a pshufb table of 16-bit entries.
  bool vectorLuma, plainLuma;
  // The four quadrants share their coefficients, and those keep D and E inside -128..127.
  bool uniformHue;
  int16_t lumaBias, lumaGain;
  // The conversion's factors, read at run time so each product stays one multiply rather than a
  // chain of shifts and adds competing with the shuffles.
  int16_t factor42, factor153, factorMinus100, factor48, factor5, factor256, factor1024;
  alignas(16) int16_t hueTables[4][8];
};

// A run of one output row where the RGB layer shows with one operation and alpha (0 to 15).
struct DISP_RGBSpan {
  int x0, x1;
  uint32_t operation, alpha;
};
inline constexpr int kDISP_MaxRGBSpans = 9;
// Rows up to y1 (exclusive, from the previous band's end) and the runs each of them shows.
struct DISP_RGBBand {
  int y1;
  int count;
  std::array<DISP_RGBSpan, kDISP_MaxRGBSpans> spans;
};

// The RGB layer as this frame shows it (disp_rgbLayer.cpp).
struct DISP_RGBFrame {
  int depth;  // 4, 8, 16 or 24; 0 when the settings or regions show no image
  int64_t offset;
  int64_t imageWidth, imageHeight;
  bool oneToOne;  // image columns are output columns
  uint32_t key;   // what an expanded pixel is compared with
  uint32_t key565;
  std::array<uint16_t, DISP_MAX_OUTPUT_WIDTH> columnOf;
  int bandCount;  // bands cover the output's rows top to bottom; none when no image shows
  std::array<DISP_RGBBand, 9> bands;
};

// One part of a YUV plane as this frame draws it (disp_yuvLayer.cpp).
struct DISP_YUVPartFrame {
  int start, end;   // output lines, end exclusive; start = end when the part shows nowhere
  int left, right;  // output columns, right inclusive and inside the output
  uint32_t vertical, horizontal;
  int mirror;
  int64_t offset, stride;  // the first line's first pair in video memory; the bytes a line
  int64_t lastPair;        // from a line's first pair to the pair of its rightmost column
  bool inMemory;           // every row's pairs lie in video memory
};

// The cursor as this frame draws it (disp_cursorLayer.cpp).
struct DISP_CursorFrame {
  bool shown;
  int size;        // 32 or 64
  int x, columns;  // first output column and columns drawn
  int firstLine, lines;
  bool tv;
  int64_t bitmap;
  // What each two-bit code does to a byte: codes 0 and 1 blend their colour, 2 leaves the byte,
  // 3 inverts it. As the vector kernel works it out, by code (entries 4 to 7 unused; the formula
  // is in disp_cursorLayer.cpp), and, when the portable path draws any pixel of the frame, each
  // colour blended over every old byte value: [colour][blue, green, red][old].
  alignas(16) std::array<uint16_t, 8> keep, invert;
  alignas(16) std::array<std::array<uint16_t, 8>, 3> add;  // [blue, green, red][code]
  std::array<std::array<std::array<uint8_t, 256>, 3>, 2> blended;
};

// One composition. The units fill their part of it in their Prepare step.
struct DISP_Composition {
  const DISP_Model* model;
  const uint8_t* video;  // DISP_VIDEO_MEMORY_SIZE bytes; null for steps that do not read it
  uint8_t* surface;      // width x height x 3
  uint8_t* written;      // width x height
  int width, height;     // output pixels
  int tv;                // 1 on television: layer line numbers count field lines
  DISP_Kernels kernels;
  DISP_ColorAdjust color;
  std::array<DISP_YUVPartFrame, 4> yuvParts;  // plane A top, plane A bottom, plane B top, bottom
  DISP_RGBFrame rgb;
  DISP_CursorFrame cursor;
  std::array<std::array<uint8_t, 256>, 3> gammaOfChannel;  // [blue, green, red][value]
  DISP_RecordCopies records;  // records read from copies rather than video memory
};

// The bytes of the record at `offset`: its copy when the composition has one, else video memory.
inline const uint8_t* DISP_RecordBytes(const DISP_Composition& c, uint32_t offset) {
  for (size_t n = 0; n < c.records.count; ++n)
    if (c.records.copies[n].offset == offset) return c.records.copies[n].bytes.data();
  return c.video + offset;
}

// Sets up a composition of `model` onto `surface`; false when the surface is too small. Steps
// that read no video memory may pass a null `video`.
bool DISP_StartComposition(DISP_Composition* c, const DISP_Model& model, const uint8_t* video,
                           const DISP_Surface& surface, DISP_Kernels kernels);

inline uint8_t* DISP_SurfaceRow(const DISP_Composition& c, int y) {
  return c.surface + static_cast<size_t>(y) * c.width * 3;
}
inline uint8_t* DISP_WrittenRow(const DISP_Composition& c, int y) {
  return c.written + static_cast<size_t>(y) * c.width;
}

// One byte of `layer` over `old` with weight w of 15, integer division.
inline uint8_t DISP_Blend15(uint32_t layer, uint32_t old, uint32_t w) {
  return static_cast<uint8_t>((layer * w + old * (15 - w)) / 15);
}

// Adds `value` to the sorted cut list of a row's runs.
inline void DISP_InsertCut(int* cuts, int* count, int value) {
  int i = *count;
  for (; i > 0 && cuts[i - 1] > value; --i) cuts[i] = cuts[i - 1];
  cuts[i] = value;
  ++*count;
}

// ---- YUV planes (disp_yuvLayer.cpp) ---------------------------------------------------------
// A run of one output row that shows the same thing: the clear, or one part of a plane.
// DIRECT parts step one sample a pixel forward (scale 1024, no mirror); SAMPLED ones do anything.
enum DISP_SegmentKind : int { DISP_SEGMENT_CLEAR, DISP_SEGMENT_DIRECT, DISP_SEGMENT_SAMPLED };
struct DISP_YUVSegment {
  int x0, x1;  // output columns, x1 exclusive
  DISP_SegmentKind kind;
  int part;             // plane A top, plane A bottom, plane B top, bottom (0 to 3); -1 clear
  int64_t line;         // video-memory offset of the part's first pair on this row
  int left;             // column of the part's first sample
  uint32_t horizontal;  // source step per pixel times 1024
  int mirror;           // 1: samples run backwards from Y1
};
inline constexpr int kDISP_MaxYUVSegments = 9;
// The segments of the row last asked for. A row crossed by the same parts, each with all its
// columns, shows the same segments, and only their source lines move.
inline constexpr uint32_t kDISP_NoYUVShape = ~0u;
struct DISP_YUVRows {
  uint32_t shape = kDISP_NoYUVShape;  // bit p: part p on the row; kDISP_NoYUVShape: reuse nothing
  int count = 0;
  std::array<DISP_YUVSegment, kDISP_MaxYUVSegments> segments;
};
// What row y shows once every part is drawn, left to right, in rows->segments; their count.
int DISP_YUVRowSegments(const DISP_Composition& c, int y, DISP_YUVRows* rows);
// Y, Cb, Cr of a part's segment into the row's pixels (three bytes each).
void DISP_DrawYUVSegment(const DISP_Composition& c, const DISP_YUVSegment& segment, uint8_t* row);
// The pair holding a DIRECT segment's first pixel, and which of its two samples that pixel is.
const uint8_t* DISP_DirectSource(const DISP_Composition& c, const DISP_YUVSegment& segment,
                                 int* firstSample);
// Takes the four parts' geometry for this frame.
void DISP_PrepareYUVPlanes(DISP_Composition& c);
void DISP_DrawYUVPartRows(const DISP_Composition& c, int planeB, int bottomPart);

// ---- OSD and sub-picture (disp_osdLayer.cpp, disp_spuLayer.cpp) -----------------------------
void DISP_DrawOSDChains(const DISP_Composition& c);
void DISP_DrawOSDAreaAt(const DISP_Composition& c, uint32_t header, int field);
void DISP_DrawSPULayer(const DISP_Composition& c);

// ---- Colour adjustment and conversion (disp_colorAdjust.cpp) --------------------------------
// Takes brightness, contrast and hue for this frame.
void DISP_PrepareColorAdjust(DISP_Composition& c);
// The clear's black after adjustment, `count` pixels of blue, green, red.
void DISP_FillClearBGR(const DISP_Composition& c, uint8_t* bgr, int count);
// Pixels from YUY2 pairs (first pixel sample 0 = Y0 or 1 = Y1 of `pair`) to blue, green, red.
void DISP_ConvertYUY2ToBGR(const DISP_Composition& c, const uint8_t* pair, int firstSample,
                           uint8_t* bgr, int count);
// The same, then an RGB565 layer over it with its key and alpha; every pixel counts as written.
void DISP_ConvertYUY2BlendRGB565(const DISP_Composition& c, const uint8_t* pair, int firstSample,
                                 const uint8_t* layer, int keyed, uint32_t key565, uint32_t alpha,
                                 uint8_t* bgr, int count);
// Y, Cb, Cr pixels to blue, green, red in place.
void DISP_ConvertYCbCrToBGR(const DISP_Composition& c, uint8_t* pixels, int count);

// ---- RGB layer (disp_rgbLayer.cpp) ----------------------------------------------------------
void DISP_PrepareRGBLayer(DISP_Composition& c);
// The runs of row y where the layer shows (`spans` points at them); their count.
int DISP_RGBRowSpans(const DISP_Composition& c, int y, const DISP_RGBSpan** spans);
void DISP_DrawRGBSpan(const DISP_Composition& c, int y, const DISP_RGBSpan& span);
// Where a span's image pixels lie when they are RGB565 one to one with the output and all in video
// memory; null otherwise. `key565` receives the colour key as an RGB565 pixel.
const uint8_t* DISP_RGB565Direct(const DISP_Composition& c, int y, int x0, int x1,
                                 uint32_t* key565);

// ---- Cursor (disp_cursorLayer.cpp) ----------------------------------------------------------
void DISP_PrepareCursor(DISP_Composition& c);
void DISP_DrawCursorRow(const DISP_Composition& c, int y);

// ---- Gamma (disp_gamma.cpp) -----------------------------------------------------------------
void DISP_PrepareGamma(DISP_Composition& c);
void DISP_GammaRow(const DISP_Composition& c, int y);
