// vkr_gp2xDisplay.cpp: the display controller's mode, timing and RGB layer on the handheld: the
// mode change, the RGB start address, colour key, regions, the RGB palette, gamma and the cursor.
// Every setting is written to the registers at once; only the mode, depth and size are kept.
//
// Sections: mode table; mode change; RGB layer; palettes and gamma; cursor.
#include "vkr_gp2xDisplay.h"
#include "vkr_gp2xTVEncoder.h"

namespace {

void WriteHalves(uint32_t low, uint32_t high, uint32_t value) {
  GP2X_WriteReg16(low, static_cast<uint16_t>(value));
  GP2X_WriteReg16(high, static_cast<uint16_t>(value >> 16));
}

// Register r = (r AND keep) OR bits, as one read and one write.
void Merge16(uint32_t offset, uint16_t keep, uint16_t bits) {
  GP2X_WriteReg16(offset, static_cast<uint16_t>((GP2X_ReadReg16(offset) & keep) | bits));
}

void SetOrClear16(uint32_t offset, uint16_t bits, bool set) {
  if (set) GP2X_SetBits16(offset, bits);
  else GP2X_ClearBits16(offset, bits);
}

}  // namespace

// ---- Mode table -----------------------------------------------------------------------------
// The handheld's scaler cannot make 180 or 90 pixels: those modes are 184 and 96 wide.
DISP_LayerSize GP2X_LayerSizeOfMode(uint32_t mode) {
  DISP_LayerSize size = kDISP_LayerSizeOfMode[mode];
  if (size.width == 180) size.width = 184;
  if (size.width == 90) size.width = 96;
  return size;
}

// ---- Mode change ----------------------------------------------------------------------------
namespace {

void WriteLCDTiming() {
  GP2X_WriteReg16(GP2X_ESYSCSETREG, 0x9000);
  GP2X_WriteReg16(GP2X_DISPCSETREG, 0x8A80);
  GP2X_WriteReg16(GP2X_DPC_FPICNTL, 1);
  GP2X_WriteReg16(GP2X_DPC_FPIPOL1, 0xFFFF);
  GP2X_WriteReg16(GP2X_DPC_FPIPOL2, 0x00FF);
  GP2X_WriteReg16(GP2X_DPC_X_MAX, 319);
  Merge16(GP2X_DPC_HS_WIDTH, 0xFF00, 0x1D);
  GP2X_WriteReg16(GP2X_DPC_HS_END, 1);
  GP2X_WriteReg16(GP2X_DPC_HS_STR, 1);
  Merge16(GP2X_DPC_TV_BNK, 0xF00F, 0x0250);
  GP2X_SetBits16(GP2X_GPIOHOUT, GP2X_GPIOH_LCD_DRIVE);
  GP2X_WriteReg16(GP2X_DPC_CLKCNTL, 0x10);
  if (g_ulHardwareModel == GP2X_MODEL_SECOND) {
    GP2X_SetBits16(GP2X_GPIOLOUT, GP2X_GPIOL_MODEL2_LCD);
    GP2X_SetBits16(GP2X_GPIOFOUT, GP2X_GPIOF_MODEL2_LCD);
  }
}

void WriteTVTiming(bool pal) {
  GP2X_WriteReg16(GP2X_GPIOHOUT, GP2X_GPIOH_TV_VALUE);
  GP2X_WriteReg16(GP2X_ESYSCSETREG, 0x4170);
  GP2X_WriteReg16(GP2X_DISPCSETREG, 0x0100);
  GP2X_WriteReg16(GP2X_DPC_FPICNTL, 0x13);
  GP2X_WriteReg16(GP2X_DPC_FPIPOL1, 0);
  GP2X_WriteReg16(GP2X_DPC_FPIPOL2, 0);
  GP2X_WriteReg16(GP2X_DPC_X_MAX, 719);
  GP2X_WriteReg16(GP2X_DPC_HS_WIDTH, 1055);
  const uint16_t syncEdge = pal ? 0x23 : 0x20;
  GP2X_WriteReg16(GP2X_DPC_HS_END, syncEdge);
  GP2X_WriteReg16(GP2X_DPC_HS_STR, syncEdge);
  GP2X_WriteReg16(GP2X_DPC_TV_BNK, 0);
  GP2X_WriteReg16(GP2X_DPC_CLKCNTL, 0x0A);
  if (g_ulHardwareModel == GP2X_MODEL_SECOND) {
    GP2X_ClearBits16(GP2X_GPIOLOUT, GP2X_GPIOL_MODEL2_LCD);
    GP2X_ClearBits16(GP2X_GPIOFOUT, GP2X_GPIOF_MODEL2_LCD);
  }
}

uint16_t DepthCode(int depth) {
  return static_cast<uint16_t>((depth == 4 ? 0 : depth == 8 ? 1 : depth == 16 ? 2 : 3)
                               << GP2X_STL_CNTL_DEPTH_SHIFT);
}

}  // namespace

uint32_t VKR_SetDisplayMode(uint32_t mode, int depth) {
  if (mode > DISP_MAX_DISPLAY_MODE || (depth != 4 && depth != 8 && depth != 16 && depth != 24))
    return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  g_nColorBitDepth = depth;
  GP2X_SwitchTVOutput(g_ulDISPLAY_MODE, mode);

  const DISP_Output output = DISP_OutputOfMode(mode);
  const bool lcd = output == DISP_OUTPUT_LCD, pal = output == DISP_OUTPUT_PAL;
  const DISP_LayerSize size = GP2X_LayerSizeOfMode(mode);
  const uint32_t w = size.width, h = size.height, d = static_cast<uint32_t>(depth);
  g_nScreenSizeX = static_cast<int>(w);
  g_nScreenSizeY = static_cast<int>(h);
  const uint32_t lineFactor = h > 288 ? 2 : 1;
  const uint32_t field = h / lineFactor;

  GP2X_WriteReg16(GP2X_DPC_FPIPOL3, 0);
  GP2X_WriteReg16(GP2X_DPC_FPIATV1, 0);
  GP2X_WriteReg16(GP2X_DPC_FPIATV2, 0);
  GP2X_ClearBits16(GP2X_DPC_CNTL, GP2X_DPC_CNTL_ENABLE);
  Merge16(GP2X_DPC_CNTL, GP2X_DPC_CNTL_KEEP,
          lcd ? GP2X_DPC_CNTL_LCD : pal ? GP2X_DPC_CNTL_PAL : GP2X_DPC_CNTL_NTSC);

  if (lcd) {
    const uint16_t vsync = GP2X_ReadReg16(GP2X_DPC_V_SYNC) & 0x00F0;
    GP2X_WriteReg16(GP2X_DPC_V_SYNC, vsync);
    GP2X_WriteReg16(GP2X_DPC_V_SYNC, vsync | 0x0502);
    const uint16_t vend = GP2X_ReadReg16(GP2X_DPC_V_END) & 0xFE00;
    GP2X_WriteReg16(GP2X_DPC_V_END, vend);
    GP2X_WriteReg16(GP2X_DPC_V_END, vend | 0x0016);
  } else {
    GP2X_WriteReg16(GP2X_DPC_V_SYNC, pal ? 0x0181 : 0x0180);
    GP2X_WriteReg16(GP2X_DPC_V_END, pal ? 0x3818 : 0x3816);
  }

  GP2X_WriteReg16(GP2X_MLC_STL_HSC, static_cast<uint16_t>(w * 1024 / (lcd ? 320 : 720)));
  GP2X_WriteReg16(GP2X_MLC_STL_VSC, static_cast<uint16_t>(w * d * h / (pal ? 2304 : 1920)));

  if (lcd) WriteLCDTiming();
  else WriteTVTiming(pal);
  GP2X_WriteReg16(GP2X_DPC_Y_MAX, lcd ? 240 : pal ? 287 : 239);

  GP2X_WriteReg16(GP2X_FDC_CNTL, static_cast<uint16_t>((w / d - 1) | (field / d - 1) << 8));
  GP2X_WriteReg16(GP2X_FDC_DST_LINES, static_cast<uint16_t>(field));
  GP2X_WriteReg16(GP2X_FDC_FRAME_SIZE_V, GP2X_ReadReg16(GP2X_FDC_DST_LINES));
  GP2X_WriteReg16(GP2X_FDC_DST_PXW, static_cast<uint16_t>(w - 1));
  GP2X_WriteReg16(GP2X_FDC_FRAME_SIZE_H, GP2X_ReadReg16(GP2X_FDC_DST_PXW));

  GP2X_WriteReg16(GP2X_MLC_YUVA_TP_PXW, static_cast<uint16_t>(w));
  GP2X_WriteReg16(GP2X_SC_DST_PXW, static_cast<uint16_t>(w));
  GP2X_WriteReg16(GP2X_SC_DST_LINES, static_cast<uint16_t>(field));

  GP2X_WriteReg16(GP2X_MLC_STL_HW, static_cast<uint16_t>(w * d * lineFactor / 8));
  GP2X_WriteReg16(GP2X_MLC_STL_OADRL, 0);

  GP2X_WriteReg16(GP2X_MLC_STL_CNTL, DepthCode(depth) | GP2X_STL_CNTL_MODE_BITS);
  GP2X_WriteReg16(GP2X_MLC_STL_MIXMUX, 0);
  GP2X_WriteReg16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_MODE_SET);
  GP2X_WriteReg16(GP2X_DPC_DE, 0x0270);
  GP2X_WriteReg16(GP2X_DPC_FPIATV3, 0);
  GP2X_WriteReg16(GP2X_DPC_FPIPOL3, 0xFFFF);
  GP2X_WriteReg16(GP2X_DPC_FPIATV1, 0xFFFF);
  GP2X_WriteReg16(GP2X_DPC_FPIATV2, 0xFFFF);

  GP2X_SetBits16(GP2X_DPC_CNTL, GP2X_DPC_CNTL_ENABLE);
  g_ulDISPLAY_MODE = mode;
  return VKR_OK;
}

// ---- RGB layer ------------------------------------------------------------------------------
// The handheld keeps the address's low bits. A frame taller than a field is shown as two fields:
// the odd one starts a line later.
uint32_t VKR_SetRGBStartAddress(uint32_t offset) {
  if (offset >= GP2X_VIDEO_MEMORY_SIZE) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint32_t even = GP2X_PhysicalAddress(offset);
  const uint32_t lineBytes = static_cast<uint32_t>(g_nScreenSizeX * g_nColorBitDepth / 8);
  const uint32_t odd = g_nScreenSizeY > 288 ? even + lineBytes : even;
  WriteHalves(GP2X_MLC_STL_OADRL, GP2X_MLC_STL_OADRH, odd);
  WriteHalves(GP2X_MLC_STL_EADRL, GP2X_MLC_STL_EADRH, even);
  return VKR_OK;
}

uint32_t VKR_SetRGBRegionColorKey(uint32_t key) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  WriteHalves(GP2X_MLC_STL_CKEY_GR, GP2X_MLC_STL_CKEY_B, key);
  return VKR_OK;
}

uint32_t VKR_SetRGBRegionOperation(uint32_t region, uint32_t active, uint32_t visible,
                                   uint16_t operation, uint16_t alpha, uint16_t left,
                                   uint16_t top, uint16_t right, uint16_t bottom) {
  if (operation > 2 || region < 1 || region > 5 || alpha > 15) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint32_t pair = 2 * (region - 1);
  SetOrClear16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_STL(region), active != 0);
  SetOrClear16(GP2X_MLC_STL_CNTL, static_cast<uint16_t>(1u << pair), visible != 0);
  Merge16(GP2X_MLC_STL_MIXMUX, static_cast<uint16_t>(~(3u << pair)),
          static_cast<uint16_t>(operation << pair));
  const uint32_t alphaRegister = region <= 3 ? GP2X_MLC_STL_ALPHAL : GP2X_MLC_STL_ALPHAH;
  const uint32_t nibble = 4 * (region <= 3 ? region - 1 : region - 4);
  const uint16_t cleared =
      static_cast<uint16_t>(GP2X_ReadReg16(alphaRegister) & ~(0xFu << nibble));
  GP2X_WriteReg16(alphaRegister, cleared);
  GP2X_WriteReg16(alphaRegister, static_cast<uint16_t>(cleared | alpha << nibble));
  if (region <= 4) {
    const uint32_t base = GP2X_MLC_STL1_STX + GP2X_MLC_STL_REGION_STRIDE * (region - 1);
    GP2X_WriteReg16(base, left);
    GP2X_WriteReg16(base + 2, right);
    GP2X_WriteReg16(base + 4, top);
    GP2X_WriteReg16(base + 6, bottom);
  }
  return VKR_OK;
}

// ---- Palettes and gamma ---------------------------------------------------------------------
// The index register counts halfwords and advances by itself: the start index is written once.
uint32_t GP2X_WriteColorTable(uint32_t indexRegister, uint32_t dataRegister, uint16_t first,
                              const uint32_t* entries, uint16_t count, bool osdLayout) {
  if (!entries || count == 0 || first + count > 256) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  GP2X_WriteReg16(indexRegister, static_cast<uint16_t>(2 * first));
  for (uint16_t n = 0; n < count; ++n) {
    const uint32_t entry = entries[n];
    GP2X_WriteReg16(dataRegister, static_cast<uint16_t>(entry));
    GP2X_WriteReg16(dataRegister, osdLayout ? static_cast<uint16_t>((entry >> 28) << 8 |
                                                                   ((entry >> 16) & 0xFF))
                                            : static_cast<uint16_t>(entry >> 16));
  }
  return VKR_OK;
}

uint32_t VKR_SetPalette(uint16_t first, const uint32_t* entries, uint16_t count) {
  return GP2X_WriteColorTable(GP2X_MLC_STL_PALLT_A, GP2X_MLC_STL_PALLT_D, first, entries, count,
                              false);
}

uint32_t VKR_SetGamma(uint16_t first, const uint32_t* entries, uint16_t count) {
  return GP2X_WriteColorTable(GP2X_MLC_GAMMA_A, GP2X_MLC_GAMMA_D, first, entries, count, false);
}

uint32_t VKR_EnableGamma(uint32_t enable) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  SetOrClear16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_GAMMA_BYPASS, enable == 0);
  return VKR_OK;
}

// ---- Cursor ---------------------------------------------------------------------------------
// In TV modes the bitmap's second half is shown on the odd field.
uint32_t VKR_SetCursorParams(uint32_t enable, uint16_t size, uint32_t color1, uint32_t color0,
                             uint32_t bitmapOffset) {
  if ((size != 32 && size != 64) || bitmapOffset >= GP2X_VIDEO_MEMORY_SIZE) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (!enable) {
    GP2X_ClearBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_HWC);
    return VKR_OK;
  }
  GP2X_WriteReg16(GP2X_MLC_HWC_CNTR,
                  static_cast<uint16_t>(size | ((color1 >> 20) & 0x0F00) | ((color0 >> 16) & 0xF000)));
  WriteHalves(GP2X_MLC_HWC_FGR, GP2X_MLC_HWC_FB, color0);
  WriteHalves(GP2X_MLC_HWC_BGR, GP2X_MLC_HWC_BB, color1);
  const uint32_t bitmap = GP2X_PhysicalAddress(bitmapOffset);
  GP2X_WriteReg32(GP2X_MLC_HWC_OADRL, bitmap + uint32_t{size} * size / 4);
  GP2X_WriteReg32(GP2X_MLC_HWC_EADRL, bitmap);
  GP2X_SetBits16(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_HWC);
  return VKR_OK;
}

uint32_t VKR_MoveCursor(uint16_t x, uint16_t y) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  GP2X_WriteReg16(GP2X_MLC_HWC_STX, x);
  GP2X_WriteReg16(GP2X_MLC_HWC_STY, y);
  return VKR_OK;
}
