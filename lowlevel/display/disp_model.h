// disp_model.h: the emulated display controller's whole state as one plain record, what a display
// mode number means (output, output size, RGB layer size), and the rules that fill the record
// (start values, the hue coefficients). Any back end or simulator owns one record and composes
// from it; nothing here is process-wide.
#pragma once

#include <array>
#include <cstdint>

inline constexpr uint32_t DISP_VIDEO_MEMORY_SIZE = 0x800000;
inline constexpr uint32_t DISP_MAX_DISPLAY_MODE = 32;

// ---- Display modes --------------------------------------------------------------------------
enum DISP_Output : int { DISP_OUTPUT_LCD = 0, DISP_OUTPUT_NTSC = 1, DISP_OUTPUT_PAL = 2 };

struct DISP_LayerSize {
  uint16_t width, height;
};

// RGB layer size of modes 0 to 32. The handheld's scaler makes modes 15, 16, 29, 30 184 wide and
// 17, 18, 31, 32 96 wide; this is the emulation's table.
inline constexpr std::array<DISP_LayerSize, 33> kDISP_LayerSizeOfMode = {{
    {320, 240}, {160, 240}, {160, 120}, {80, 120},  {80, 60},                            // LCD
    {320, 240}, {720, 480}, {720, 240}, {584, 480}, {512, 240}, {392, 240}, {360, 480},  // NTSC
    {360, 240}, {296, 240}, {256, 240}, {180, 240}, {180, 120}, {90, 120},  {90, 60},
    {320, 240}, {720, 576}, {720, 288}, {704, 576}, {512, 288}, {392, 288}, {360, 576},  // PAL
    {360, 288}, {352, 288}, {256, 288}, {180, 288}, {180, 144}, {90, 144},  {90, 72},
}};

constexpr DISP_Output DISP_OutputOfMode(uint32_t mode) {
  return mode <= 4 ? DISP_OUTPUT_LCD : mode <= 18 ? DISP_OUTPUT_NTSC : DISP_OUTPUT_PAL;
}
constexpr bool DISP_IsTVMode(uint32_t mode) { return mode >= 5; }

constexpr int DISP_OutputWidth(DISP_Output output) { return output == DISP_OUTPUT_LCD ? 320 : 720; }
constexpr int DISP_OutputHeight(DISP_Output output) {
  return output == DISP_OUTPUT_LCD ? 240 : output == DISP_OUTPUT_NTSC ? 480 : 576;
}

inline constexpr int DISP_MAX_OUTPUT_WIDTH = 720;
inline constexpr int DISP_MAX_OUTPUT_HEIGHT = 576;
inline constexpr int DISP_MAX_OUTPUT_PIXELS = DISP_MAX_OUTPUT_WIDTH * DISP_MAX_OUTPUT_HEIGHT;

// ---- Layer records --------------------------------------------------------------------------
// RGB layer region 1 to 5; region 5 is the whole-screen default and its rectangle is not used.
struct DISP_RGBRegion {
  uint32_t active;                    // the rectangle is in force
  uint32_t visible;                   // RGB pixels are shown inside it
  uint16_t operation;                 // 0 none, 1 colour key, 2 alpha
  uint16_t alpha;                     // 0 to 15, 15 opaque
  uint16_t left, right, top, bottom;  // inclusive output coordinates; TV modes: field lines
};

// YUV video plane A or B: a top part (lines top to split) and a bottom part (split to bottom).
struct DISP_YUVPlane {
  uint32_t enable;
  uint16_t left, top, right, bottom, split;  // right inclusive; bottom and split exclusive ends
  uint16_t pitch;                            // source line pitch in pixels
  uint32_t topOffset, bottomOffset;
  uint32_t topMirror, topFlip, bottomMirror, bottomFlip;
};

// Source step per output pixel and line times 1024: 1024 is 1:1, 512 doubles, 2048 halves.
struct DISP_YUVScale {
  uint16_t horizontal, vertical;
};

struct DISP_CursorLayer {
  uint16_t x, y;  // output pixels; TV modes: y counts field lines
  uint32_t enable;
  uint32_t large;           // 0: 32 x 32, 1: 64 x 64
  uint32_t color1, color0;  // red, green, blue in bits 0-23, alpha in bits 28-31
  uint32_t bitmapOffset;    // lowest two bits clear
};

// ---- The display model ----------------------------------------------------------------------
// Every setting of the controller. Offsets are byte offsets into video memory; colour words keep
// the layouts of the library interface (palette blue-green-red, key red-green-blue, gamma entry
// output red-green-blue, cursor and OSD colours with alpha in bits 28-31).
struct DISP_Model {
  uint32_t displayMode;          // 0 to 32
  int colorBitDepth;             // 4, 8, 16 or 24
  int screenSizeX, screenSizeY;  // RGB layer image size of the mode

  uint32_t rgbVideoMemOffset;
  std::array<uint32_t, 256> rgbColorTable;
  uint32_t regionColorKey;
  std::array<DISP_RGBRegion, 6> rgbLayerRegion;  // index 1 to 5; 0 is unused

  std::array<DISP_YUVPlane, 2> yuvPlane;   // 0 plane A, 1 plane B
  std::array<DISP_YUVScale, 4> yuvScaler;  // A top, A bottom, B top, B bottom
  int yuvFirstPlanePriority;               // non-zero: plane A above plane B
  int8_t yuvBrightness;                    // added to Y
  uint8_t yuvContrast;                     // Y gain (value + 8) / 8
  // Hue coefficients of the four chroma quadrants, 64 = 1.0.
  std::array<int8_t, 4> hueCbA, hueCbB, hueCrA, hueCrB;
  int enableGamma;
  std::array<uint32_t, 256> gammaTable;

  DISP_CursorLayer cursorLayer;

  int osdLayerEnable;
  uint32_t osdHeaderEvenField, osdHeaderOddField;
  std::array<uint32_t, 256> osdPalette;
  int spuLayerEnable, spuOnTopOfOSDLayer, spuHighlight;
  uint32_t spuBaseCmdMemOffset, spuHighlightInfoMemOffset;
  std::array<uint32_t, 16> spuColorPalette;
};

// The output the model's mode drives.
struct DISP_Geometry {
  int width, height;  // output pixels
  int tv;             // 1 on television: layer line numbers count field lines
};
constexpr DISP_Geometry DISP_GeometryOf(const DISP_Model& model) {
  const DISP_Output output = DISP_OutputOfMode(model.displayMode);
  return {DISP_OutputWidth(output), DISP_OutputHeight(output), DISP_IsTVMode(model.displayMode)};
}

// Start values: the given mode at 16 bits, everything off, scalers 1:1, neutral hue, identity
// gamma, regions 1 to 5 visible and only region 5 active. A mode above 32 starts as mode 0.
void DISP_InitModel(DISP_Model* model, uint32_t mode);
// Regions 1 to 5 inactive and visible, then region 5 active: the whole RGB layer shows.
void DISP_ResetRegions(DISP_Model* model);
// The four coefficients of one quadrant (0 to 3) from saturation (128 neutral) and hue (256 steps
// a turn).
void DISP_SetHueCoefficients(DISP_Model* model, uint32_t quadrant, int saturation, int hue);
