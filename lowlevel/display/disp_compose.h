// disp_compose.h: the compositor: one frame of the display controller composed from a display
// model and its video memory into a surface the caller owns, in the controller's order: clear, YUV
// planes, OSD and sub-picture, colour adjustment and conversion, RGB layer, cursor, gamma. Each
// step is also offered alone. Nothing is kept between calls and nothing is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "disp_model.h"
#include "disp_records.h"

// The composed frame: output width x height pixels of three bytes (Y, Cb, Cr while the YUV layers
// are drawn, then blue, green, red), rows back to back, and one written-pixel flag a pixel (1 when
// some layer wrote it this frame). Both hold at least `capacity` pixels; a mode whose output
// needs more is not composed.
struct DISP_Surface {
  uint8_t* pixels;
  uint8_t* written;
  size_t capacity;
};

// Which conversion kernels run: the portable ones, AVX2, or AVX2 with the AVX-512 byte permutes.
// Every set gives the same bytes.
enum DISP_Kernels : int {
  DISP_KERNELS_PORTABLE = 0,
  DISP_KERNELS_AVX2 = 1,
  DISP_KERNELS_AVX512 = 2
};
// The best set this processor runs.
DISP_Kernels DISP_BestKernels();

// The whole frame, clear to gamma; false (and nothing written) when the surface is too small.
// `video` is the DISP_VIDEO_MEMORY_SIZE bytes of video memory; a null one composes nothing.
bool DISP_ComposeFrame(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface,
                       DISP_Kernels kernels, const DISP_RecordCopies& records = {});

// The steps alone, on whatever the surface holds; each answers false when the surface is too
// small. planeB and bottomPart pick the YUV part (0 or 1 each).
bool DISP_ClearSurface(const DISP_Model& model, const DISP_Surface& surface);
bool DISP_DrawYUVPart(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface,
                      int planeB, int bottomPart);
bool DISP_DrawOSD(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface);
// One area: the header at `header`, on field 0 or 1.
bool DISP_DrawOSDArea(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface,
                      uint32_t header, int field);
bool DISP_DrawSPU(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface);
bool DISP_ConvertToBGR(const DISP_Model& model, const DISP_Surface& surface, DISP_Kernels kernels);
bool DISP_DrawRGBLayer(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface);
bool DISP_DrawCursor(const DISP_Model& model, const uint8_t* video, const DISP_Surface& surface);
bool DISP_ApplyGamma(const DISP_Model& model, const DISP_Surface& surface);
