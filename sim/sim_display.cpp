// sim_display.cpp: the simulated console's display controller: the palette and gamma tables as
// their data ports are written, and the display model its registers describe, decoded afresh for
// each frame (physical addresses back to video-memory offsets, scale registers back to layer
// sizes, the overlay control bits back to switches).
//
// Sections: tables through data ports; output and RGB layer; YUV planes; cursor and overlays;
// the frame shown (the overlay records decoded into copies in the shared layout).
#include <algorithm>
#include <cstddef>

#include "disp_compose.h"
#include "disp_records.h"
#include "sim_state.h"

namespace {

uint16_t Reg(uint32_t offset) { return g_sim.reg[offset >> 1]; }
uint32_t Reg32(uint32_t low) { return Reg(low) | uint32_t{Reg(low + 2)} << 16; }
bool Bit(uint32_t offset, uint16_t bits) { return (Reg(offset) & bits) != 0; }
uint32_t VideoOffset(uint32_t physical) { return physical - GP2X_VIDEO_MEMORY_PHYS; }

constexpr uint32_t kPaletteHalves = 512;

// The index register counts halfwords of the table: the entry's low half, then its high half.
void WriteTableHalf(uint32_t indexRegister, std::array<uint32_t, 256>& table, uint16_t value,
                    bool osdLayout) {
  uint16_t& index = g_sim.reg[indexRegister >> 1];
  const uint32_t at = index % kPaletteHalves;
  uint32_t& entry = table[at / 2];
  if (at % 2 == 0) {
    entry = (entry & 0xFFFF0000u) | value;
  } else if (osdLayout) {
    entry = (entry & 0x0000FFFFu) | uint32_t{value & 0xFFu} << 16 | uint32_t{(value >> 8) & 0xFu} << 28;
  } else {
    entry = (entry & 0x0000FFFFu) | uint32_t{value} << 16;
  }
  index = static_cast<uint16_t>((at + 1) % kPaletteHalves);
}

}  // namespace

// ---- Tables through data ports --------------------------------------------------------------
// The firmware leaves an identity gamma table (bypassed).
void SimDisplay_PowerOn() {
  for (uint32_t i = 0; i < 256; ++i) g_sim.display.gamma[i] = i * 0x010101u;
}

void SimDisplay_Written(uint32_t offset, uint16_t value) {
  switch (offset) {
    case GP2X_MLC_STL_PALLT_D:
      WriteTableHalf(GP2X_MLC_STL_PALLT_A, g_sim.display.palette, value, false);
      break;
    case GP2X_MLC_GAMMA_D:
      WriteTableHalf(GP2X_MLC_GAMMA_A, g_sim.display.gamma, value, false);
      break;
    case GP2X_MLC_OSD_PALLT_D:
      WriteTableHalf(GP2X_MLC_OSD_PALLT_A, g_sim.display.osdPalette, value, true);
      break;
  }
}

// ---- Output and RGB layer -------------------------------------------------------------------
namespace {

DISP_Output OutputOfRegisters() {
  if (!Bit(GP2X_DPC_CNTL, GP2X_DPC_CNTL_TV)) return DISP_OUTPUT_LCD;
  return Reg(GP2X_DPC_Y_MAX) > GP2X_DPC_Y_MAX_NTSC_LIMIT ? DISP_OUTPUT_PAL : DISP_OUTPUT_NTSC;
}

constexpr uint32_t kMaxLayerSide = 1024;

// Width from the scaler's destination width; height from the vertical scale, which is
// width x depth x height / 1920 (2304 on PAL), truncated: the smallest height that gives it.
void DecodeRGBLayer(DISP_Model* model, DISP_Output output) {
  constexpr int kDepths[] = {4, 8, 16, 24};
  model->displayMode = output == DISP_OUTPUT_LCD ? 0 : output == DISP_OUTPUT_NTSC ? 5 : 19;
  model->colorBitDepth = kDepths[(Reg(GP2X_MLC_STL_CNTL) & GP2X_STL_CNTL_DEPTH_MASK) >> GP2X_STL_CNTL_DEPTH_SHIFT];
  const uint32_t width = std::min<uint32_t>(Reg(GP2X_SC_DST_PXW), kMaxLayerSide);
  const uint64_t bitsPerLine = uint64_t{width} * model->colorBitDepth;
  const uint64_t divisor = output == DISP_OUTPUT_PAL ? 2304 : 1920;
  const uint64_t height =
      bitsPerLine ? (uint64_t{Reg(GP2X_MLC_STL_VSC)} * divisor + bitsPerLine - 1) / bitsPerLine : 0;
  model->screenSizeX = static_cast<int>(width);
  model->screenSizeY = static_cast<int>(std::min<uint64_t>(height, kMaxLayerSide));
  model->rgbVideoMemOffset = VideoOffset(Reg32(GP2X_MLC_STL_EADRL));
  model->rgbColorTable = g_sim.display.palette;
  model->regionColorKey = Reg32(GP2X_MLC_STL_CKEY_GR);

  for (uint32_t r = 1; r <= 5; ++r) {
    DISP_RGBRegion& region = model->rgbLayerRegion[r];
    const uint32_t pair = 2 * (r - 1);
    region.active = Bit(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_STL(r));
    region.visible = (Reg(GP2X_MLC_STL_CNTL) >> pair) & 1;
    const uint16_t operation = (Reg(GP2X_MLC_STL_MIXMUX) >> pair) & 3;
    region.operation = operation <= 2 ? operation : 0;  // 3 is not an operation: none
    const uint32_t alphaRegister = r <= 3 ? GP2X_MLC_STL_ALPHAL : GP2X_MLC_STL_ALPHAH;
    region.alpha = (Reg(alphaRegister) >> (4 * (r <= 3 ? r - 1 : r - 4))) & 0xF;
    if (r == 5) continue;
    const uint32_t base = GP2X_MLC_STL1_STX + GP2X_MLC_STL_REGION_STRIDE * (r - 1);
    region.left = Reg(base);
    region.right = Reg(base + 2);
    region.top = Reg(base + 4);
    region.bottom = Reg(base + 6);
  }
}

// ---- YUV planes -----------------------------------------------------------------------------
// On television a part's two field addresses lie a source line apart; the earlier one is the
// part's first line, the later one the odd field's unless the part is flipped.
void DecodeYUVPlane(DISP_Model* model, uint32_t plane, bool tv) {
  const uint32_t shift = plane == 0 ? 0 : GP2X_MLC_YUVB_OFFSET;
  const auto reg = [shift](uint32_t ofA) { return Reg(ofA + shift); };
  const auto address = [shift](uint32_t ofA) { return Reg32(ofA + shift); };
  DISP_YUVPlane& p = model->yuvPlane[plane];
  p.enable = Bit(GP2X_MLC_OVLAY_CNTR, plane == 0 ? GP2X_OVLAY_YUVA : GP2X_OVLAY_YUVB);
  p.left = reg(GP2X_MLC_YUVA_STX);
  p.right = reg(GP2X_MLC_YUVA_ENDX);
  p.top = reg(GP2X_MLC_YUVA_TP_STY);
  p.split = reg(GP2X_MLC_YUVA_TP_ENDY);
  p.bottom = reg(GP2X_MLC_YUVA_BT_ENDY);
  const uint16_t step = reg(GP2X_MLC_YUVA_TP_PXW);
  p.pitch = tv ? step / 2 : step;
  const uint32_t flags = (Reg(GP2X_MLC_YUV_EFFECT) >> (plane == 0 ? GP2X_YUV_EFFECT_A_SHIFT
                                                                  : GP2X_YUV_EFFECT_B_SHIFT)) &
                         GP2X_YUV_EFFECT_FLAGS;
  p.topMirror = (flags >> 3) & 1;
  p.topFlip = (flags >> 2) & 1;
  p.bottomMirror = (flags >> 1) & 1;
  p.bottomFlip = flags & 1;
  const uint32_t line = tv ? 2u * p.pitch : 0;
  const uint32_t topOdd = address(GP2X_MLC_YUVA_TP_OADRL), topEven = address(GP2X_MLC_YUVA_TP_EADRL);
  const uint32_t bottomOdd = address(GP2X_MLC_YUVA_BT_OADRL),
                 bottomEven = address(GP2X_MLC_YUVA_BT_EADRL);
  p.topOffset = VideoOffset((p.topFlip ? topEven : topOdd) - line);
  p.bottomOffset = VideoOffset((p.bottomFlip ? bottomEven : bottomOdd) - line);

  // The vertical step register keeps the source bytes a line (factor x pitch) without its low ten
  // bits: the smallest factor that gives it.
  for (uint32_t part = 0; part < 2; ++part) {
    DISP_YUVScale& scale = model->yuvScaler[2 * plane + part];
    scale.horizontal = reg(part == 0 ? GP2X_MLC_YUVA_TP_HSC : GP2X_MLC_YUVA_BT_HSC);
    const uint32_t low = part == 0 ? GP2X_MLC_YUVA_TP_VSCL : GP2X_MLC_YUVA_BT_VSCL;
    const uint64_t bytes = uint64_t{reg(low)} << GP2X_MLC_YUV_VSC_SHIFT_LOW |
                           uint64_t{reg(low + 2)} << GP2X_MLC_YUV_VSC_SHIFT_HIGH;
    scale.vertical = step ? static_cast<uint16_t>(std::min<uint64_t>((bytes + step - 1) / step, 0xFFFF))
                          : 1024;
  }
}

// ---- Cursor and overlays --------------------------------------------------------------------
// The colour registers hold red, green and blue; the alpha nibbles come from the control register.
void DecodeCursor(DISP_Model* model) {
  DISP_CursorLayer& cursor = model->cursorLayer;
  const uint16_t control = Reg(GP2X_MLC_HWC_CNTR);
  cursor.enable = Bit(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_HWC);
  cursor.large = (control & GP2X_HWC_SIZE_MASK) == 64;
  cursor.x = Reg(GP2X_MLC_HWC_STX);
  cursor.y = Reg(GP2X_MLC_HWC_STY);
  cursor.color0 = (Reg32(GP2X_MLC_HWC_FGR) & 0x0FFFFFFF) | uint32_t{(control >> 12) & 0xFu} << 28;
  cursor.color1 = (Reg32(GP2X_MLC_HWC_BGR) & 0x0FFFFFFF) | uint32_t{(control >> 8) & 0xFu} << 28;
  cursor.bitmapOffset = VideoOffset(Reg32(GP2X_MLC_HWC_EADRL)) & ~3u;
  // A bitmap outside video memory reads nothing the display model can name: no cursor.
  if (cursor.bitmapOffset >= GP2X_VIDEO_MEMORY_SIZE) cursor.enable = 0;
}

// The records these name hold physical addresses (and the OSD header its words in the order
// first, third, second); SimComposeFrame decodes them into copies in the shared layout.
void DecodeOverlays(DISP_Model* model) {
  model->osdLayerEnable = Bit(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_OSD);
  model->osdHeaderEvenField = VideoOffset(Reg32(GP2X_MLC_OSD_EADRL));
  model->osdHeaderOddField = VideoOffset(Reg32(GP2X_MLC_OSD_OADRL));
  model->osdPalette = g_sim.display.osdPalette;
  model->spuLayerEnable = Bit(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_SPU);
  model->spuOnTopOfOSDLayer = Bit(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_SPU_OVER_OSD);
  model->spuHighlight = Reg(GP2X_SPU_CTRL) == GP2X_SPU_CTRL_HIGHLIGHT;
  model->spuBaseCmdMemOffset = VideoOffset(Reg32(GP2X_SPU_BASEI_ADDRL));
  model->spuHighlightInfoMemOffset = VideoOffset(Reg32(GP2X_SPU_HLI_ADDRL));
  for (uint32_t i = 0; i < 16; ++i) {
    const uint32_t at = GP2X_SPU_PAL + GP2X_SPU_PAL_STRIDE * i;
    const uint16_t high = Reg(at), low = Reg(at + 2);
    model->spuColorPalette[i] = uint32_t{high} >> 8 << 24 | (high & 0xFFu) << 8 | (low & 0xFFu);
  }
}

}  // namespace

void SimDisplay_Decode(DISP_Model* model) {
  const DISP_Output output = OutputOfRegisters();
  DecodeRGBLayer(model, output);
  const bool tv = output != DISP_OUTPUT_LCD;
  DecodeYUVPlane(model, 0, tv);
  DecodeYUVPlane(model, 1, tv);
  model->yuvFirstPlanePriority = !Bit(GP2X_MLC_YUV_CNTL, GP2X_YUV_CNTL_B_FIRST);
  const uint16_t luma = Reg(GP2X_MLC_LUMA_ENH);
  model->yuvBrightness = static_cast<int8_t>(luma & 0xFF);
  model->yuvContrast = (luma & GP2X_LUMA_CONTRAST_MASK) >> 8;
  for (uint32_t q = 0; q < 4; ++q) {
    const uint16_t cb = Reg(GP2X_MLC_HUECB1AB + 4 * q), cr = Reg(GP2X_MLC_HUECR1AB + 4 * q);
    model->hueCbA[q] = static_cast<int8_t>(cb >> 8);
    model->hueCbB[q] = static_cast<int8_t>(cb & 0xFF);
    model->hueCrA[q] = static_cast<int8_t>(cr >> 8);
    model->hueCrB[q] = static_cast<int8_t>(cr & 0xFF);
  }
  model->enableGamma = !Bit(GP2X_MLC_OVLAY_CNTR, GP2X_OVLAY_GAMMA_BYPASS);
  model->gammaTable = g_sim.display.gamma;
  DecodeCursor(model);
  DecodeOverlays(model);
}

// ---- The frame shown ------------------------------------------------------------------------
namespace {

uint32_t LE32(const uint8_t* at) { return DISP_ReadLE32(at); }
void PutLE32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
void PutBE32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

// A copy of the record at `offset` to decode into; null when it has one already (a chain that
// comes back to itself) or no room is left.
DISP_RecordCopy* NewCopy(uint32_t offset, uint32_t bytes) {
  SimDisplay& display = g_sim.display;
  for (size_t n = 0; n < display.recordCount; ++n)
    if (display.records[n].offset == offset) return nullptr;
  if (display.recordCount == display.records.size()) return nullptr;
  DISP_RecordCopy& copy = display.records[display.recordCount++];
  copy.offset = offset;
  std::copy_n(g_sim.video.data() + offset, bytes, copy.bytes.begin());
  return &copy;
}

// An OSD chain: each header's words back in the order next, area, columns, and its link (unless
// it is the last) back to a video-memory offset.
void DecodeOSDChain(uint32_t header) {
  for (size_t count = 0; count < kSimMaxHeadersPerChain; ++count) {
    if (!DISP_InVideoMemory(header, kDISP_OSDHeaderBytes)) return;
    DISP_RecordCopy* copy = NewCopy(header, kDISP_OSDHeaderBytes);
    if (!copy) return;
    uint8_t* const at = copy->bytes.data();
    const uint32_t next = LE32(at), columns = LE32(at + 4), area = LE32(at + 8);
    const bool last = area >> 31;
    const uint32_t link = last ? next : VideoOffset(next);
    PutLE32(at + offsetof(DISP_OSDHeaderWords, next), link);
    PutLE32(at + offsetof(DISP_OSDHeaderWords, area), area);
    PutLE32(at + offsetof(DISP_OSDHeaderWords, columns), columns);
    if (last) return;
    header = link;
  }
}

// The sub-picture base command's three addresses back to video-memory offsets.
void DecodeSPUBase(uint32_t offset) {
  const uint32_t at = offset & ~3u;
  if (!DISP_InVideoMemory(at, kDISP_SPUBaseCmdBytes)) return;
  DISP_RecordCopy* copy = NewCopy(at, kDISP_SPUBaseCmdBytes);
  if (!copy) return;
  for (const size_t word : {offsetof(DISP_SPUBaseCmdWords, evenLineData),
                            offsetof(DISP_SPUBaseCmdWords, oddLineData),
                            offsetof(DISP_SPUBaseCmdWords, changeList)}) {
    uint8_t* const field = copy->bytes.data() + word;
    PutBE32(field, VideoOffset(DISP_ReadBE32(field)));
  }
}

// The records the frame's layers read, decoded into copies; video memory is only read.
DISP_RecordCopies DecodeRecords(const DISP_Model& model) {
  g_sim.display.recordCount = 0;
  if (model.osdLayerEnable) {
    DecodeOSDChain(model.osdHeaderEvenField);
    if (DISP_GeometryOf(model).tv) DecodeOSDChain(model.osdHeaderOddField);
  }
  if (model.spuLayerEnable) DecodeSPUBase(model.spuBaseCmdMemOffset);
  return {g_sim.display.records.data(), g_sim.display.recordCount};
}

}  // namespace

const uint8_t* SimComposeFrame(int* width, int* height) {
  if (!g_sim.poweredOn) {  // a dark LCD
    *width = 320;
    *height = 240;
    return g_sim.display.frame.data();
  }
  SimDisplay_Decode(&g_sim.display.frameModel);
  const DISP_Geometry geometry = DISP_GeometryOf(g_sim.display.frameModel);
  *width = geometry.width;
  *height = geometry.height;
  static const DISP_Kernels kernels = DISP_BestKernels();
  const DISP_RecordCopies records = DecodeRecords(g_sim.display.frameModel);
  DISP_ComposeFrame(g_sim.display.frameModel, g_sim.video.data(),
                    {g_sim.display.frame.data(), g_sim.display.written.data(), g_sim.display.written.size()},
                    kernels, records);
  return g_sim.display.frame.data();
}
