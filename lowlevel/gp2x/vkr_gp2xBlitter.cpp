// vkr_gp2xBlitter.cpp: the handheld's blitter and rotator: each operation waits for the one before
// on its engine, programs the registers of the blitter window and starts; it runs beside the
// processor until VKR_WaitHwBlitter. An operation of zero width or height programs nothing.
#include "vkr_gp2xDisplay.h"

namespace {

constexpr uint32_t kBytePixelsFlag = 0x100;
constexpr uint32_t kExpandFlag = 0x200;
constexpr uint32_t kTransparencyMask = ~0x3FFu;  // any flag bit from 10 up

// Whole flag words whose raster operation ignores the destination, and those that ignore the
// source (0 and 15 fill, 3 and 12 copy the source, 5 and 10 keep or invert the destination).
bool ReadsDestination(uint32_t flags) { return !(flags == 0 || flags == 3 || flags == 12 || flags == 15); }
bool ReadsSource(uint32_t flags) { return !(flags == 0 || flags == 5 || flags == 10 || flags == 15); }

void WaitWhileBusy(uint32_t statusRegister, uint32_t busyBit) {
  while (GP2X_ReadBlitter(statusRegister) & busyBit) {
  }
}

}  // namespace

uint32_t VKR_HwBitBlt(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                      uint32_t srcOffset, uint32_t srcPitch, uint32_t flags, uint16_t colorKey,
                      uint16_t background, uint16_t foreground) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (width == 0 || height == 0) return VKR_OK;
  WaitWhileBusy(GP2X_MESGSTATUS, GP2X_MESG_BUSY);
  const bool bytePixels = flags & kBytePixelsFlag, expand = flags & kExpandFlag;

  uint32_t dstControl = (dstOffset & 3) << GP2X_MESG_DST_BYTE_SHIFT;
  if (ReadsDestination(flags)) dstControl |= GP2X_MESG_DST_READ;
  if (!bytePixels) dstControl |= GP2X_MESG_DST_16BPP;
  GP2X_WriteBlitter(GP2X_MESGDSTCTRL, dstControl);
  GP2X_WriteBlitter(GP2X_MESGDSTADDR, GP2X_PhysicalAddress(dstOffset));
  GP2X_WriteBlitter(GP2X_MESGDSTSTRIDE, bytePixels ? dstPitch : dstPitch * 2);

  uint32_t srcControl = expand ? GP2X_MESG_SRC_1BPP : bytePixels ? GP2X_MESG_SRC_8BPP : GP2X_MESG_SRC_16BPP;
  if (!ReadsSource(flags)) srcControl &= ~GP2X_MESG_SRC_READ;
  GP2X_WriteBlitter(GP2X_MESGSRCCTRL, srcControl);
  GP2X_WriteBlitter(GP2X_MESGSRCADDR, GP2X_PhysicalAddress(srcOffset));
  GP2X_WriteBlitter(GP2X_MESGSRCSTRIDE, expand ? srcPitch / 8 : bytePixels ? srcPitch : srcPitch * 2);

  GP2X_WriteBlitter(GP2X_MESGSRCFORCOLOR, foreground);
  GP2X_WriteBlitter(GP2X_MESGSRCBACKCOLOR, background);
  GP2X_WriteBlitter(GP2X_MESGPATCTRL, 0);
  GP2X_WriteBlitter(GP2X_MESGSIZE, uint32_t{height} << 16 | width);
  GP2X_WriteBlitter(GP2X_MESGCTRL, uint32_t{colorKey} << 16 |
                                       ((flags & kTransparencyMask) ? GP2X_MESG_TRANSPARENT : 0) |
                                       GP2X_MESG_CTRL_FIXED | (flags & GP2X_MESG_ROP_MASK));
  GP2X_WriteBlitter(GP2X_MESGSTATUS, GP2X_ReadBlitter(GP2X_MESGSTATUS) | GP2X_MESG_BUSY);
  return VKR_OK;
}

// The rotator walks the source from the corner that lands at the destination's top-left.
uint32_t VKR_HwBitBltRotate(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                            uint32_t srcOffset, uint32_t srcPitch, uint32_t flags) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (width == 0 || height == 0) return VKR_OK;
  const uint32_t pixelBytes = flags <= 3 ? 1 : flags <= 7 ? 2 : 3;
  const uint32_t turn = flags & 3;
  WaitWhileBusy(GP2X_ROTCTRL, GP2X_ROT_BUSY);
  GP2X_WriteBlitter(GP2X_ROTSRCSTRIDE, srcPitch * pixelBytes);
  GP2X_WriteBlitter(GP2X_ROTDSTSTRIDE, dstPitch * pixelBytes);
  GP2X_WriteBlitter(GP2X_ROTSIZE, uint32_t{height} << 16 | width);
  const uint32_t lastRow = srcPitch * pixelBytes * (height - 1u);
  const uint32_t lastColumn = pixelBytes * (width - 1u);
  const uint32_t corner = turn == 0 ? 0 : turn == 1 ? lastRow : turn == 2 ? lastRow + lastColumn : lastColumn;
  GP2X_WriteBlitter(GP2X_ROTSRCADDR, GP2X_PhysicalAddress(srcOffset) + corner);
  GP2X_WriteBlitter(GP2X_ROTDSTADDR, GP2X_PhysicalAddress(dstOffset));
  const uint32_t control = turn << GP2X_ROT_TURN_SHIFT | (pixelBytes - 1) << GP2X_ROT_SIZE_SHIFT;
  GP2X_WriteBlitter(GP2X_ROTCTRL, control);
  GP2X_WriteBlitter(GP2X_ROTCTRL, GP2X_ReadBlitter(GP2X_ROTCTRL) | GP2X_ROT_BUSY);
  return VKR_OK;
}

uint32_t VKR_WaitHwBlitter(uint32_t engine) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (engine == 0) WaitWhileBusy(GP2X_MESGSTATUS, GP2X_MESG_BUSY);
  else WaitWhileBusy(GP2X_ROTCTRL, GP2X_ROT_BUSY);
  return VKR_OK;
}
