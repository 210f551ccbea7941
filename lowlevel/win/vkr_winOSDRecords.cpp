// vkr_winOSDRecords.cpp: the records that steer the OSD and sub-picture layers, written into video
// memory by the API: OSD area headers (little-endian words) and the sub-picture base command,
// change-command and highlight records (big-endian words).
#include "vkr_winCompose.h"

namespace {

constexpr uint32_t kLastVideoOffset = VKR_VIDEO_MEMORY_SIZE - 1;

void WriteLE32(uint32_t offset, uint32_t value) {
  uint8_t* at = g_GP2X_VIDEO_BASE_PTR + offset;
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteBE32(uint32_t offset, uint32_t value) {
  uint8_t* at = g_GP2X_VIDEO_BASE_PTR + offset;
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

uint32_t Halves(uint32_t high, uint32_t low) { return (high & 0xFFFF) << 16 | (low & 0xFFFF); }

bool IsLCD() { return !VKR_IsTVMode(g_ulDISPLAY_MODE); }

}  // namespace

uint32_t VKR_WriteOSDHeader(uint32_t header, uint32_t next, uint32_t left, uint32_t top,
                            uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                            uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                            uint32_t alpha, uint32_t keyIndex) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t sizeCode = bitsPerPixel == 2 ? 0 : bitsPerPixel == 4 ? 1 : bitsPerPixel == 8 ? 2 : 3;
  if (sizeCode == 3 || header % 4 != 0 || !VKR_WinInVideoMemory(header, 12)) return VKR_BAD_ARGUMENT;
  const uint32_t last = next > kLastVideoOffset;
  WriteLE32(header, next);
  WriteLE32(header + 4, (bottom & 0x7FF) | (top & 0x3FF) << 11 | (alpha & 0xF) << 22 |
                            (alphaEnable != 0) << 26 | sizeCode << 28 | (compressed != 0) << 30 |
                            last << 31);
  WriteLE32(header + 8, (right & 0x7FF) | (left & 0x3FF) << 11 | (keyIndex & 0xFF) << 22 |
                            (colorKeyEnable != 0) << 30);
  return VKR_OK;
}

uint32_t VKR_WriteSPUBaseCmd(uint32_t offset, uint32_t changeCmdPresent, uint32_t changeListOffset,
                             uint16_t colorWord, uint16_t contrastWord, uint16_t top,
                             uint16_t bottom, uint32_t evenLineData, uint32_t oddLineData) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t at = offset & ~3u;
  if (!VKR_WinInVideoMemory(at, 28)) return VKR_BAD_ARGUMENT;
  // Line width and last column follow the display mode at the time of writing.
  WriteBE32(at, (IsLCD() ? 640 : 1440) + (changeCmdPresent != 0));
  WriteBE32(at + 4, Halves(colorWord, contrastWord));
  WriteBE32(at + 8, Halves(0, IsLCD() ? 319 : 719));
  WriteBE32(at + 12, Halves(top, bottom));
  WriteBE32(at + 16, evenLineData);
  WriteBE32(at + 20, oddLineData);
  WriteBE32(at + 24, changeListOffset);
  return VKR_OK;
}

uint32_t VKR_WriteSPUChangeCmd(uint32_t offset, uint32_t terminate, uint16_t lineStart,
                               uint16_t lineEnd, uint16_t count, const uint16_t* left,
                               const uint16_t* right, const uint16_t* colorWords,
                               const uint16_t* contrastWords) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (count > 15 || (count > 0 && (!left || !right || !colorWords || !contrastWords)))
    return VKR_BAD_ARGUMENT;
  const uint32_t at = offset & ~3u;
  if (!VKR_WinInVideoMemory(at, 4 + 8 * count + (terminate ? 4 : 0))) return VKR_BAD_ARGUMENT;
  WriteBE32(at, uint32_t{lineStart} << 16 | uint32_t{count} << 12 | (lineEnd & 0xFFFu));
  for (uint32_t e = 0; e < count; ++e) {
    WriteBE32(at + 4 + 8 * e, Halves(colorWords[e], contrastWords[e]));
    WriteBE32(at + 8 + 8 * e, Halves(left[e], right[e]));
  }
  if (terminate) WriteBE32(at + 4 + 8 * count, 0xFFFFFFFF);
  return VKR_OK;
}

uint32_t VKR_WriteSPUHighlightInfo(uint32_t offset, uint16_t left, uint16_t top, uint16_t right,
                                   uint16_t bottom, uint16_t colorWord, uint16_t contrastWord) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t at = offset & ~3u;
  if (!VKR_WinInVideoMemory(at, 12)) return VKR_BAD_ARGUMENT;
  WriteBE32(at, Halves(left, right));
  WriteBE32(at + 4, Halves(top, bottom));
  WriteBE32(at + 8, Halves(colorWord, contrastWord));
  return VKR_OK;
}
