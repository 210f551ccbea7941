// vkr_gp2xOverlays.cpp: the OSD and sub-picture planes of the handheld: their palettes and plane
// registers, and the records in video memory, whose addresses the controller reads as physical
// addresses. The OSD header's words lie in the order first, third, second.
#include <cstring>

#include "disp_records.h"
#include "vkr_gp2xDisplay.h"

namespace {

constexpr uint32_t kLastVideoOffset = GP2X_VIDEO_MEMORY_SIZE - 1;

void WriteAddress32(uint32_t offset, uint32_t videoOffset) {
  GP2X_WriteReg32(offset, GP2X_PhysicalAddress(videoOffset));
}

void WriteAddressHalves(uint32_t low, uint32_t high, uint32_t videoOffset) {
  const uint32_t address = GP2X_PhysicalAddress(videoOffset);
  GP2X_WriteReg16(low, static_cast<uint16_t>(address));
  GP2X_WriteReg16(high, static_cast<uint16_t>(address >> 16));
}

}  // namespace

// ---- Planes and palettes --------------------------------------------------------------------
uint32_t VKR_SetOSDPalette(uint16_t first, const uint32_t* entries, uint16_t count) {
  return GP2X_WriteColorTable(GP2X_MLC_OSD_PALLT_A, GP2X_MLC_OSD_PALLT_D, first, entries, count,
                              true);
}

uint32_t VKR_SetOSDPlane(uint32_t enable, uint32_t evenFieldHeader, uint32_t oddFieldHeader) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (!enable) {
    GP2X_ClearBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_OSD);
    return VKR_OK;
  }
  WriteAddressHalves(GP2X_MLC_OSD_OADRL, GP2X_MLC_OSD_OADRH, oddFieldHeader);
  WriteAddressHalves(GP2X_MLC_OSD_EADRL, GP2X_MLC_OSD_EADRH, evenFieldHeader);
  GP2X_SetBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_OSD);
  return VKR_OK;
}

// The register pair holds bits 24-31 and 8-15, then bits 0-7; bits 16-23 are not used.
uint32_t VKR_SetSPUColor(uint16_t index, uint32_t color) {
  if (index > 15) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint32_t at = GP2X_SPU_PAL + GP2X_SPU_PAL_STRIDE * index;
  GP2X_WriteReg16(at, static_cast<uint16_t>((color >> 24) << 8 | ((color >> 8) & 0xFF)));
  GP2X_WriteReg16(at + 2, static_cast<uint16_t>(color & 0xFF));
  return VKR_OK;
}

uint32_t VKR_SetSPUPlane(uint32_t enable, uint32_t onTopOfOSD, uint32_t highlight,
                         uint32_t baseCmdOffset, uint32_t highlightInfoOffset) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (!enable) {
    GP2X_WriteReg16(GP2X_SPU_CTRL, 0);
    GP2X_ClearBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_SPU);
    return VKR_OK;
  }
  GP2X_WriteReg16(GP2X_SPU_DELAY, 0);
  WriteAddress32(GP2X_SPU_BASEI_ADDRL, baseCmdOffset);
  WriteAddress32(GP2X_SPU_HLI_ADDRL, highlightInfoOffset);
  if (onTopOfOSD) GP2X_SetBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_SPU_OVER_OSD);
  else GP2X_ClearBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_SPU_OVER_OSD);
  GP2X_WriteReg16(GP2X_SPU_CTRL, highlight ? GP2X_SPU_CTRL_HIGHLIGHT : GP2X_SPU_CTRL_ON);
  GP2X_SetBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_SPU);
  return VKR_OK;
}

// ---- Records in video memory ----------------------------------------------------------------
uint32_t VKR_WriteOSDHeader(uint32_t header, uint32_t next, uint32_t left, uint32_t top,
                            uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                            uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                            uint32_t alpha, uint32_t keyIndex) {
  const int sizeCode = DISP_OSDHeaderSizeCode(header, bitsPerPixel);
  if (sizeCode < 0) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  DISP_OSDHeader h;
  h.last = next > kLastVideoOffset;
  h.next = h.last ? next : GP2X_PhysicalAddress(next);
  h.top = top, h.bottom = bottom, h.left = left, h.right = right;
  h.alpha = alpha, h.alphaEnable = alphaEnable, h.keyEnable = colorKeyEnable;
  h.compressed = compressed;
  h.sizeCode = static_cast<uint32_t>(sizeCode);
  h.keyIndex = keyIndex;
  // The shared layout, then its words moved into the handheld's order.
  uint8_t words[kDISP_OSDHeaderBytes];
  DISP_WriteOSDHeader(words, h);
  uint8_t* const at = g_GP2X_VIDEO_BASE_PTR + header;
  std::memcpy(at, words + offsetof(DISP_OSDHeaderWords, next), 4);
  std::memcpy(at + 4, words + offsetof(DISP_OSDHeaderWords, columns), 4);
  std::memcpy(at + 8, words + offsetof(DISP_OSDHeaderWords, area), 4);
  return VKR_OK;
}

uint32_t VKR_WriteSPUBaseCmd(uint32_t offset, uint32_t changeCmdPresent, uint32_t changeListOffset,
                             uint16_t colorWord, uint16_t contrastWord, uint16_t top,
                             uint16_t bottom, uint32_t evenLineData, uint32_t oddLineData) {
  uint32_t at = 0;
  if (!DISP_SPUBaseCmdPlace(offset, &at)) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const bool lcd = !DISP_IsTVMode(g_ulDISPLAY_MODE);
  const DISP_SPUBaseCmd record = {lcd ? 640u : 1440u,
                                  changeCmdPresent,
                                  colorWord,
                                  contrastWord,
                                  0,
                                  static_cast<uint16_t>(lcd ? 319 : 719),
                                  top,
                                  bottom,
                                  GP2X_PhysicalAddress(evenLineData),
                                  GP2X_PhysicalAddress(oddLineData),
                                  GP2X_PhysicalAddress(changeListOffset)};
  DISP_WriteSPUBaseCmd(g_GP2X_VIDEO_BASE_PTR + at, record);
  return VKR_OK;
}

uint32_t VKR_WriteSPUChangeCmd(uint32_t offset, uint32_t terminate, uint16_t lineStart,
                               uint16_t lineEnd, uint16_t count, const uint16_t* left,
                               const uint16_t* right, const uint16_t* colorWords,
                               const uint16_t* contrastWords) {
  const DISP_SPUChangeList list{offset, terminate, lineStart, lineEnd, count,
                                left, right, colorWords, contrastWords};
  if (!DISP_SPUChangeListFits(list)) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  DISP_WriteSPUChangeList(g_GP2X_VIDEO_BASE_PTR, list);
  return VKR_OK;
}

uint32_t VKR_WriteSPUHighlightInfo(uint32_t offset, uint16_t left, uint16_t top, uint16_t right,
                                   uint16_t bottom, uint16_t colorWord, uint16_t contrastWord) {
  uint32_t at = 0;
  if (!DISP_SPUHighlightPlace(offset, &at)) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  DISP_WriteSPUHighlight(g_GP2X_VIDEO_BASE_PTR + at,
                         {left, right, top, bottom, colorWord, contrastWord});
  return VKR_OK;
}
