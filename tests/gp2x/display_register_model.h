// display_register_model.h: a model of what the display controller, blitter and rotator are
// written by each display operation of the hardware back end, kept apart from the back end: its
// own register file (with the tables behind the auto-advancing data ports), the writes each call
// makes in order, and the bytes a record writer leaves in video memory.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

// One register write as the console sees it: the window, the offset in it, the value and whether
// it was one 32-bit store.
struct ModelWrite {
  bool blitter;
  bool wide;
  uint32_t offset;
  uint32_t value;
  bool operator==(const ModelWrite&) const = default;
};

inline constexpr uint32_t kModelRegisterHalves = 0x8000;  // the 64 KiB register window
inline constexpr uint32_t kModelBlitterWords = 0x80;      // the 512-byte blitter window

struct RegisterModel {
  std::array<uint16_t, kModelRegisterHalves> reg{};
  std::array<uint32_t, kModelBlitterWords> blitter{};
  std::bitset<kModelRegisterHalves> touched;  // halfwords the model has written
  std::bitset<kModelBlitterWords> blitterTouched;
  // The tables behind the data ports, as entries in the operations' colour-word layouts.
  std::array<uint32_t, 256> palette{};
  std::array<uint32_t, 256> gamma{};
  std::array<uint32_t, 256> osdPalette{};

  uint32_t mode = 0;
  int depth = 16;
  int width = 320;
  int height = 240;
  bool laterHardware = false;  // hardware model 0x100 (firmware 4.0.0 and later)

  // What the current call did: its register writes in order, and the record it left in video
  // memory (none when recordBytes is empty).
  std::vector<ModelWrite> writes;
  uint32_t recordOffset = 0;
  std::vector<uint8_t> recordBytes;
};

// Starts the model at the display mode start-up found (0, 5 or 19; 16 bits, 320 x 240) on that
// hardware model. The caller has filled the register file and the tables from the console.
void RM_Start(RegisterModel* m, uint32_t firmwareMode, bool laterHardware);
// Forgets the writes and record of the call before.
void RM_BeginCall(RegisterModel* m);

// Each display operation as the model expects it: the result code, and the writes in m->writes.
uint32_t RM_SetDisplayMode(RegisterModel* m, uint32_t mode, int depth);
uint32_t RM_SetRGBStartAddress(RegisterModel* m, uint32_t offset);
uint32_t RM_SetRGBRegionColorKey(RegisterModel* m, uint32_t key);
uint32_t RM_SetRGBRegionOperation(RegisterModel* m, uint32_t region, uint32_t active,
                                  uint32_t visible, uint16_t operation, uint16_t alpha,
                                  uint16_t left, uint16_t top, uint16_t right, uint16_t bottom);
uint32_t RM_SetPalette(RegisterModel* m, uint16_t first, const uint32_t* entries, uint16_t count);
uint32_t RM_SetGamma(RegisterModel* m, uint16_t first, const uint32_t* entries, uint16_t count);
uint32_t RM_SetOSDPalette(RegisterModel* m, uint16_t first, const uint32_t* entries,
                          uint16_t count);
uint32_t RM_EnableGamma(RegisterModel* m, uint32_t enable);
uint32_t RM_SetCursorParams(RegisterModel* m, uint32_t enable, uint16_t size, uint32_t color1,
                            uint32_t color0, uint32_t offset);
uint32_t RM_MoveCursor(RegisterModel* m, uint16_t x, uint16_t y);
uint32_t RM_SetYUVVideoPlane(RegisterModel* m, uint32_t plane, uint32_t enable, uint16_t left,
                             uint16_t top, uint16_t right, uint16_t bottom, uint16_t split,
                             uint16_t pitch, uint32_t topOffset, uint32_t topMirror,
                             uint32_t topFlip, uint32_t bottomOffset, uint32_t bottomMirror,
                             uint32_t bottomFlip);
uint32_t RM_SetYUVVideoPlaneScaler(RegisterModel* m, uint32_t plane, uint32_t part,
                                   uint16_t horizontal, uint16_t vertical);
uint32_t RM_SetYUVVideoPlanePriority(RegisterModel* m, uint32_t planeAFirst);
uint32_t RM_SetYUVBrightness(RegisterModel* m, int8_t brightness);
uint32_t RM_SetYUVContrast(RegisterModel* m, uint8_t contrast);
uint32_t RM_SetYUVSaturationAndHUE(RegisterModel* m, uint32_t quadrant, uint8_t saturation,
                                   uint8_t hue);
uint32_t RM_SetOSDPlane(RegisterModel* m, uint32_t enable, uint32_t evenHeader, uint32_t oddHeader);
uint32_t RM_SetSPUColor(RegisterModel* m, uint16_t index, uint32_t color);
uint32_t RM_SetSPUPlane(RegisterModel* m, uint32_t enable, uint32_t aboveOSD, uint32_t highlight,
                        uint32_t commands, uint32_t highlightInfo);
uint32_t RM_WriteOSDHeader(RegisterModel* m, uint32_t header, uint32_t next, uint32_t left,
                           uint32_t top, uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                           uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                           uint32_t alpha, uint32_t keyIndex);
uint32_t RM_WriteSPUBaseCmd(RegisterModel* m, uint32_t offset, uint32_t changeCmdPresent,
                            uint32_t changeListOffset, uint16_t colorWord, uint16_t contrastWord,
                            uint16_t top, uint16_t bottom, uint32_t evenLineData,
                            uint32_t oddLineData);
uint32_t RM_WriteSPUChangeCmd(RegisterModel* m, uint32_t offset, uint32_t terminate,
                              uint16_t lineStart, uint16_t lineEnd, uint16_t count,
                              const uint16_t* left, const uint16_t* right,
                              const uint16_t* colorWords, const uint16_t* contrastWords);
uint32_t RM_WriteSPUHighlightInfo(RegisterModel* m, uint32_t offset, uint16_t left, uint16_t top,
                                  uint16_t right, uint16_t bottom, uint16_t colorWord,
                                  uint16_t contrastWord);
uint32_t RM_HwBitBlt(RegisterModel* m, uint32_t dst, uint32_t dstPitch, uint16_t width,
                     uint16_t height, uint32_t src, uint32_t srcPitch, uint32_t flags, uint16_t key,
                     uint16_t background, uint16_t foreground);
uint32_t RM_HwBitBltRotate(RegisterModel* m, uint32_t dst, uint32_t dstPitch, uint16_t width,
                           uint16_t height, uint32_t src, uint32_t srcPitch, uint32_t flags);
// The sync waits and the blitter and rotator waits only read: no write.
uint32_t RM_WaitSync(RegisterModel* m);
uint32_t RM_WaitHwBlitter(RegisterModel* m, uint32_t unit);
