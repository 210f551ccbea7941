// vkr_gp2xYUV.cpp: the two YUV video planes of the handheld's display controller, their scalers
// and priority, and the picture controls (brightness, contrast, saturation and hue).
#include "vkr_gp2xDisplay.h"

namespace {

// Plane A's registers; plane B's lie GP2X_MLC_YUVB_OFFSET above.
uint32_t PlaneRegister(uint32_t planeA, uint32_t registerOfA) {
  return planeA ? registerOfA : registerOfA + GP2X_MLC_YUVB_OFFSET;
}

void WriteAddress(uint32_t offset, uint32_t address) {
  if (offset % 4 == 0) {
    GP2X_WriteReg32(offset, address);
    return;
  }
  GP2X_WriteReg16(offset, static_cast<uint16_t>(address));
  GP2X_WriteReg16(offset + 2, static_cast<uint16_t>(address >> 16));
}

}  // namespace

// A plane's picture on television is read a field at a time: its line step is two source lines,
// and the field that starts one line down is the odd one unless the part is flipped.
uint32_t VKR_SetYUVVideoPlane(uint32_t plane, uint32_t enable, uint16_t left, uint16_t top,
                              uint16_t right, uint16_t bottom, uint16_t split, uint16_t pitch,
                              uint32_t topOffset, uint32_t topMirror, uint32_t topFlip,
                              uint32_t bottomOffset, uint32_t bottomMirror, uint32_t bottomFlip) {
  if (topOffset >= GP2X_VIDEO_MEMORY_SIZE || bottomOffset >= GP2X_VIDEO_MEMORY_SIZE)
    return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint16_t planeBit = plane ? GP2X_OVLAY_YUVA : GP2X_OVLAY_YUVB;
  if (!enable) {
    GP2X_ClearBits16(GP2X_MLC_OVLAY_CNTR, planeBit);
    return VKR_OK;
  }
  const bool tv = DISP_IsTVMode(g_ulDISPLAY_MODE);
  const uint16_t step = static_cast<uint16_t>(tv ? 2 * pitch : pitch);
  GP2X_WriteReg16(PlaneRegister(plane, GP2X_MLC_YUVA_TP_PXW), step);
  GP2X_WriteReg16(PlaneRegister(plane, GP2X_MLC_YUVA_BT_PXW), step);
  GP2X_WriteReg16(PlaneRegister(plane, GP2X_MLC_YUVA_STX), left);
  GP2X_WriteReg16(PlaneRegister(plane, GP2X_MLC_YUVA_ENDX), right);
  GP2X_WriteReg16(PlaneRegister(plane, GP2X_MLC_YUVA_TP_STY), top);
  GP2X_WriteReg16(PlaneRegister(plane, GP2X_MLC_YUVA_TP_ENDY), split);
  GP2X_WriteReg16(PlaneRegister(plane, GP2X_MLC_YUVA_BT_ENDY), bottom);

  const uint32_t line = 2u * pitch;
  const uint32_t topAddress = GP2X_PhysicalAddress(topOffset);
  const uint32_t bottomAddress = GP2X_PhysicalAddress(bottomOffset);
  WriteAddress(PlaneRegister(plane, GP2X_MLC_YUVA_TP_OADRL),
               topAddress + (tv && !topFlip ? line : 0));
  WriteAddress(PlaneRegister(plane, GP2X_MLC_YUVA_TP_EADRL),
               topAddress + (tv && topFlip ? line : 0));
  WriteAddress(PlaneRegister(plane, GP2X_MLC_YUVA_BT_OADRL),
               bottomAddress + (tv && !bottomFlip ? line : 0));
  WriteAddress(PlaneRegister(plane, GP2X_MLC_YUVA_BT_EADRL),
               bottomAddress + (tv && bottomFlip ? line : 0));

  const uint16_t flags = static_cast<uint16_t>(8 * (topMirror != 0) + 4 * (topFlip != 0) +
                                               2 * (bottomMirror != 0) + (bottomFlip != 0));
  const uint32_t shift = plane ? GP2X_YUV_EFFECT_A_SHIFT : GP2X_YUV_EFFECT_B_SHIFT;
  const uint16_t effect = GP2X_ReadReg16(GP2X_MLC_YUV_EFFECT);
  GP2X_WriteReg16(GP2X_MLC_YUV_EFFECT,
                  static_cast<uint16_t>((effect & ~(GP2X_YUV_EFFECT_FLAGS << shift)) | flags << shift));
  const uint16_t splitBit = static_cast<uint16_t>(GP2X_YUV_EFFECT_SPLIT << shift);
  if (bottom != split) GP2X_SetBits16(GP2X_MLC_YUV_EFFECT, splitBit);
  else GP2X_ClearBits16(GP2X_MLC_YUV_EFFECT, splitBit);
  GP2X_SetBits16(GP2X_MLC_OVLAY_CNTR, planeBit);
  return VKR_OK;
}

// The vertical factor becomes a step in source bytes, so the plane must be set first.
uint32_t VKR_SetYUVVideoPlaneScaler(uint32_t plane, uint32_t part, uint16_t horizontal,
                                    uint16_t vertical) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint32_t pitch = GP2X_ReadReg16(PlaneRegister(plane, GP2X_MLC_YUVA_TP_PXW));
  GP2X_WriteReg16(PlaneRegister(plane, part ? GP2X_MLC_YUVA_TP_HSC : GP2X_MLC_YUVA_BT_HSC),
                  horizontal);
  const uint32_t step = uint32_t{vertical} * pitch;
  const uint32_t low = PlaneRegister(plane, part ? GP2X_MLC_YUVA_TP_VSCL : GP2X_MLC_YUVA_BT_VSCL);
  GP2X_WriteReg16(low, static_cast<uint16_t>(step >> GP2X_MLC_YUV_VSC_SHIFT_LOW));
  GP2X_WriteReg16(low + 2, static_cast<uint16_t>(step >> GP2X_MLC_YUV_VSC_SHIFT_HIGH));
  return VKR_OK;
}

uint32_t VKR_SetYUVVideoPlanePriority(uint32_t planeAFirst) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (planeAFirst) GP2X_ClearBits16(GP2X_MLC_YUV_CNTL, GP2X_YUV_CNTL_B_FIRST);
  else GP2X_SetBits16(GP2X_MLC_YUV_CNTL, GP2X_YUV_CNTL_B_FIRST);
  return VKR_OK;
}

uint32_t VKR_SetYUVBrightness(int8_t brightness) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint16_t luma = GP2X_ReadReg16(GP2X_MLC_LUMA_ENH);
  GP2X_WriteReg16(GP2X_MLC_LUMA_ENH,
                  static_cast<uint16_t>((luma & 0xFF00) | static_cast<uint8_t>(brightness)));
  return VKR_OK;
}

uint32_t VKR_SetYUVContrast(uint8_t contrast) {
  if (contrast > 7) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint16_t luma = GP2X_ReadReg16(GP2X_MLC_LUMA_ENH);
  GP2X_WriteReg16(GP2X_MLC_LUMA_ENH,
                  static_cast<uint16_t>((luma & ~GP2X_LUMA_CONTRAST_MASK) | contrast << 8));
  return VKR_OK;
}

// The coefficients come from the same rule the desktop's display model uses.
uint32_t VKR_SetYUVSaturationAndHUE(uint32_t quadrant, uint8_t saturation, uint8_t hue) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  static DISP_Model coefficients;  // scratch for the rule; only the quadrant's four are read
  const uint32_t q = quadrant % 4;
  DISP_SetHueCoefficients(&coefficients, q, saturation, hue);
  const auto pair = [](int8_t high, int8_t low) {
    return static_cast<uint16_t>(static_cast<uint8_t>(high) << 8 | static_cast<uint8_t>(low));
  };
  GP2X_WriteReg16(GP2X_MLC_HUECB1AB + 4 * q, pair(coefficients.hueCbA[q], coefficients.hueCbB[q]));
  GP2X_WriteReg16(GP2X_MLC_HUECR1AB + 4 * q, pair(coefficients.hueCrA[q], coefficients.hueCrB[q]));
  return VKR_OK;
}
