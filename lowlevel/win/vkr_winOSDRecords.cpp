// vkr_winOSDRecords.cpp: the operations that write the OSD and sub-picture records into video
// memory: arguments checked here, the layouts those of the display component.
#include "disp_records.h"
#include "vkr_winState.h"

namespace {

constexpr uint32_t kLastVideoOffset = VKR_VIDEO_MEMORY_SIZE - 1;

bool IsLCD() { return !DISP_IsTVMode(g_ulDISPLAY_MODE); }

}  // namespace

uint32_t VKR_WriteOSDHeader(uint32_t header, uint32_t next, uint32_t left, uint32_t top,
                            uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                            uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                            uint32_t alpha, uint32_t keyIndex) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t sizeCode = bitsPerPixel == 2   ? 0
                            : bitsPerPixel == 4 ? 1
                            : bitsPerPixel == 8 ? 2
                                                : 3;
  if (sizeCode == 3 || header % 4 != 0 || !DISP_InVideoMemory(header, kDISP_OSDHeaderBytes))
    return VKR_BAD_ARGUMENT;
  DISP_OSDHeader h;
  h.next = next;
  h.top = top, h.bottom = bottom, h.left = left, h.right = right;
  h.alpha = alpha, h.alphaEnable = alphaEnable, h.keyEnable = colorKeyEnable;
  h.compressed = compressed;
  h.last = next > kLastVideoOffset;
  h.sizeCode = sizeCode;
  h.keyIndex = keyIndex;
  DISP_WriteOSDHeader(g_GP2X_VIDEO_BASE_PTR + header, h);
  return VKR_OK;
}

uint32_t VKR_WriteSPUBaseCmd(uint32_t offset, uint32_t changeCmdPresent, uint32_t changeListOffset,
                             uint16_t colorWord, uint16_t contrastWord, uint16_t top,
                             uint16_t bottom, uint32_t evenLineData, uint32_t oddLineData) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t at = offset & ~3u;
  if (!DISP_InVideoMemory(at, kDISP_SPUBaseCmdBytes)) return VKR_BAD_ARGUMENT;
  // Line width and last column follow the display mode at the time of writing.
  const DISP_SPUBaseCmd record = {IsLCD() ? 640u : 1440u,
                                  changeCmdPresent,
                                  colorWord,
                                  contrastWord,
                                  0,
                                  static_cast<uint16_t>(IsLCD() ? 319 : 719),
                                  top,
                                  bottom,
                                  evenLineData,
                                  oddLineData,
                                  changeListOffset};
  DISP_WriteSPUBaseCmd(g_GP2X_VIDEO_BASE_PTR + at, record);
  return VKR_OK;
}

uint32_t VKR_WriteSPUChangeCmd(uint32_t offset, uint32_t terminate, uint16_t lineStart,
                               uint16_t lineEnd, uint16_t count, const uint16_t* left,
                               const uint16_t* right, const uint16_t* colorWords,
                               const uint16_t* contrastWords) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const DISP_SPUChangeList list{offset, terminate, lineStart, lineEnd, count,
                                left, right, colorWords, contrastWords};
  if (!DISP_SPUChangeListFits(list)) return VKR_BAD_ARGUMENT;
  DISP_WriteSPUChangeList(g_GP2X_VIDEO_BASE_PTR, list);
  return VKR_OK;
}

uint32_t VKR_WriteSPUHighlightInfo(uint32_t offset, uint16_t left, uint16_t top, uint16_t right,
                                   uint16_t bottom, uint16_t colorWord, uint16_t contrastWord) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t at = offset & ~3u;
  if (!DISP_InVideoMemory(at, kDISP_SPUHighlightBytes)) return VKR_BAD_ARGUMENT;
  DISP_WriteSPUHighlight(g_GP2X_VIDEO_BASE_PTR + at,
                         {left, right, top, bottom, colorWord, contrastWord});
  return VKR_OK;
}
