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
  const int sizeCode = DISP_OSDHeaderSizeCode(header, bitsPerPixel);
  if (sizeCode < 0) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_OSDHeader h;
  h.next = next;
  h.top = top, h.bottom = bottom, h.left = left, h.right = right;
  h.alpha = alpha, h.alphaEnable = alphaEnable, h.keyEnable = colorKeyEnable;
  h.compressed = compressed;
  h.last = next > kLastVideoOffset;
  h.sizeCode = static_cast<uint32_t>(sizeCode);
  h.keyIndex = keyIndex;
  DISP_WriteOSDHeader(g_GP2X_VIDEO_BASE_PTR + header, h);
  return VKR_OK;
}

uint32_t VKR_WriteSPUBaseCmd(uint32_t offset, uint32_t changeCmdPresent, uint32_t changeListOffset,
                             uint16_t colorWord, uint16_t contrastWord, uint16_t top,
                             uint16_t bottom, uint32_t evenLineData, uint32_t oddLineData) {
  uint32_t at = 0;
  if (!DISP_SPUBaseCmdPlace(offset, &at)) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
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
  const DISP_SPUChangeList list{offset, terminate, lineStart, lineEnd, count,
                                left, right, colorWords, contrastWords};
  if (!DISP_SPUChangeListFits(list)) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_WriteSPUChangeList(g_GP2X_VIDEO_BASE_PTR, list);
  return VKR_OK;
}

uint32_t VKR_WriteSPUHighlightInfo(uint32_t offset, uint16_t left, uint16_t top, uint16_t right,
                                   uint16_t bottom, uint16_t colorWord, uint16_t contrastWord) {
  uint32_t at = 0;
  if (!DISP_SPUHighlightPlace(offset, &at)) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DISP_WriteSPUHighlight(g_GP2X_VIDEO_BASE_PTR + at,
                         {left, right, top, bottom, colorWord, contrastWord});
  return VKR_OK;
}
