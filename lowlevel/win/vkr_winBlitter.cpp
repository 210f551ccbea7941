// vkr_winBlitter.cpp: the blitter operations of the desktop back end: flags decoded and checked
// here, the blit done by the display component's software blitter at once.
#include "disp_blitter.h"
#include "vkr_winState.h"

namespace {

constexpr uint32_t kOpMask = 0xFF;
constexpr uint32_t kBytePixelsFlag = 0x100;
constexpr uint32_t kExpandFlag = 0x200;
constexpr uint32_t kTransparencyMask = 0xFC00;

}  // namespace

uint32_t VKR_HwBitBlt(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                      uint32_t srcOffset, uint32_t srcPitch, uint32_t flags, uint16_t colorKey,
                      uint16_t background, uint16_t foreground) {
  if ((flags & kOpMask) > 15) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t pixelBytes = (flags & kBytePixelsFlag) ? 1 : 2;
  const DISP_BlitOp op = {dstOffset,
                          srcOffset,
                          uint64_t{dstPitch} * pixelBytes,
                          uint64_t{srcPitch} * pixelBytes,
                          width,
                          height,
                          flags & kOpMask,
                          pixelBytes,
                          (flags & kExpandFlag) != 0,
                          (flags & kTransparencyMask) != 0,
                          colorKey,
                          background,
                          foreground};
  DISP_Blit(op, g_GP2X_VIDEO_BASE_PTR);
  return VKR_OK;
}

uint32_t VKR_HwBitBltRotate(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                            uint32_t srcOffset, uint32_t srcPitch, uint32_t flags) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t pixelBytes = flags <= 3 ? 1 : flags <= 7 ? 2 : 3;
  const DISP_RotateOp op = {dstOffset,
                            srcOffset,
                            uint64_t{dstPitch} * pixelBytes,
                            uint64_t{srcPitch} * pixelBytes,
                            width,
                            height,
                            pixelBytes,
                            flags & 3};
  DISP_Rotate(op, g_GP2X_VIDEO_BASE_PTR);
  return VKR_OK;
}

uint32_t VKR_WaitHwBlitter(uint32_t) { return VKR_OK; }
