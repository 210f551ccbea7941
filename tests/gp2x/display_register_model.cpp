// display_register_model.cpp: the register model of the display operations, written out from the
// display controller's, blitter's and rotator's register layout on its own, so that it can check
// the back end rather than repeat it.
//
// Sections: register file and data ports; display mode; RGB layer, palettes and gamma; cursor;
// YUV planes and picture controls; OSD and sub-picture; records in video memory; blitter and
// rotator.
#include "display_register_model.h"

#include <cmath>
#include <numbers>

namespace {

constexpr uint32_t kVideoPhys = 0x03800000;
constexpr uint32_t kVideoBytes = 0x800000;
constexpr uint32_t kBadArgument = 4;

// ---- Register file and data ports ------------------------------------------------------------
// The data ports of the three tables and the index registers that count their halfwords.
struct DataPort {
  uint32_t index, data;
  std::array<uint32_t, 256> RegisterModel::*table;
  bool osdLayout;  // the high half holds Cr in bits 0-7 and alpha in bits 8-11
};
constexpr DataPort kPorts[] = {{0x2958, 0x295A, &RegisterModel::palette, false},
                               {0x295C, 0x295E, &RegisterModel::gamma, false},
                               {0x2954, 0x2956, &RegisterModel::osdPalette, true}};

uint16_t Read16(const RegisterModel* m, uint32_t offset) { return m->reg[offset >> 1]; }

void Latch16(RegisterModel* m, uint32_t offset, uint16_t value) {
  m->reg[offset >> 1] = value;
  m->touched.set(offset >> 1);
  for (const DataPort& port : kPorts) {
    if (offset != port.data) continue;
    uint16_t& index = m->reg[port.index >> 1];
    uint32_t& entry = (m->*port.table)[(index >> 1) & 0xFF];
    if ((index & 1) == 0)
      entry = (entry & 0xFFFF0000u) | value;
    else if (port.osdLayout)
      entry = (entry & 0x0000FFFFu) | uint32_t{value & 0xFFu} << 16 |
              uint32_t{(value >> 8) & 0xFu} << 28;
    else
      entry = (entry & 0x0000FFFFu) | uint32_t{value} << 16;
    index = static_cast<uint16_t>((index + 1) % 512);
  }
}

void Write16(RegisterModel* m, uint32_t offset, uint32_t value) {
  m->writes.push_back({false, false, offset, value & 0xFFFF});
  Latch16(m, offset, static_cast<uint16_t>(value));
}

// A 32-bit value: one aligned store where the register is a multiple of 4, else two halves.
void Write32(RegisterModel* m, uint32_t offset, uint32_t value) {
  if (offset % 4 == 0) {
    m->writes.push_back({false, true, offset, value});
    Latch16(m, offset, static_cast<uint16_t>(value));
    Latch16(m, offset + 2, static_cast<uint16_t>(value >> 16));
    return;
  }
  Write16(m, offset, value & 0xFFFF);
  Write16(m, offset + 2, value >> 16);
}

void SetBits(RegisterModel* m, uint32_t offset, uint32_t bits) {
  Write16(m, offset, Read16(m, offset) | bits);
}
void ClearBits(RegisterModel* m, uint32_t offset, uint32_t bits) {
  Write16(m, offset, Read16(m, offset) & ~bits);
}
void PutBit(RegisterModel* m, uint32_t offset, uint32_t bit, uint32_t on) {
  if (on)
    SetBits(m, offset, 1u << bit);
  else
    ClearBits(m, offset, 1u << bit);
}
// One write of the field at `shift` of `width` bits.
void PutField(RegisterModel* m, uint32_t offset, uint32_t shift, uint32_t width, uint32_t value) {
  const uint32_t mask = ((1u << width) - 1) << shift;
  Write16(m, offset, (Read16(m, offset) & ~mask) | ((value << shift) & mask));
}

void WriteBlitter(RegisterModel* m, uint32_t offset, uint32_t value) {
  m->writes.push_back({true, true, offset, value});
  m->blitter[offset >> 2] = value;
  m->blitterTouched.set(offset >> 2);
}
// A status register read once the engine has finished: the busy bit reads 0.
uint32_t ReadIdleStatus(const RegisterModel* m, uint32_t offset) {
  return m->blitter[offset >> 2] & ~1u;
}

bool IsTV(uint32_t mode) { return mode > 4; }
bool IsLCD(uint32_t mode) { return mode <= 4; }
bool IsPAL(uint32_t mode) { return mode >= 19; }

// ---- Display mode ----------------------------------------------------------------------------
// RGB layer sizes of the handheld's modes 0 to 32.
constexpr uint16_t kModeWidth[33] = {320, 160, 160, 80,  80,  320, 720, 720, 584, 512, 392,
                                     360, 360, 296, 256, 184, 184, 96,  96,  320, 720, 720,
                                     704, 512, 392, 360, 360, 352, 256, 184, 184, 96,  96};
constexpr uint16_t kModeHeight[33] = {240, 240, 120, 120, 60,  240, 480, 240, 480, 240, 240,
                                      480, 240, 240, 240, 240, 120, 120, 60,  240, 576, 288,
                                      576, 288, 288, 576, 288, 288, 288, 288, 144, 144, 72};

void WriteTiming(RegisterModel* m, bool lcd, bool pal) {
  if (lcd) {
    Write16(m, 0x091E, 0x9000);
    Write16(m, 0x0924, 0x8A80);
    Write16(m, 0x2804, 1);
    Write16(m, 0x2806, 0xFFFF);
    Write16(m, 0x2808, 0x00FF);
    Write16(m, 0x2816, 319);
    Write16(m, 0x281A, (Read16(m, 0x281A) & 0xFF00) | 0x1D);
    Write16(m, 0x281E, 1);
    Write16(m, 0x281C, 1);
    Write16(m, 0x2824, (Read16(m, 0x2824) & 0xF00F) | 0x0250);
    SetBits(m, 0x106E, 0x0006);
    Write16(m, 0x2848, 0x10);
    if (m->laterHardware) {
      SetBits(m, 0x1076, 1u << 11);
      SetBits(m, 0x106A, 1u << 3);
    }
    return;
  }
  Write16(m, 0x106E, 0x18);
  Write16(m, 0x091E, 0x4170);
  Write16(m, 0x0924, 0x0100);
  Write16(m, 0x2804, 0x13);
  Write16(m, 0x2806, 0);
  Write16(m, 0x2808, 0);
  Write16(m, 0x2816, 719);
  Write16(m, 0x281A, 1055);
  Write16(m, 0x281E, pal ? 0x23 : 0x20);
  Write16(m, 0x281C, pal ? 0x23 : 0x20);
  Write16(m, 0x2824, 0);
  Write16(m, 0x2848, 0x0A);
  if (m->laterHardware) {
    ClearBits(m, 0x1076, 1u << 11);
    ClearBits(m, 0x106A, 1u << 3);
  }
}

}  // namespace

void RM_Start(RegisterModel* m, uint32_t firmwareMode, bool laterHardware) {
  m->mode = firmwareMode;
  m->depth = 16;
  m->width = 320;
  m->height = 240;
  m->laterHardware = laterHardware;
  m->touched.reset();
  m->blitterTouched.reset();
  RM_BeginCall(m);
}

void RM_BeginCall(RegisterModel* m) {
  m->writes.clear();
  m->recordBytes.clear();
  m->recordOffset = 0;
}

uint32_t RM_SetDisplayMode(RegisterModel* m, uint32_t mode, int depth) {
  uint32_t depthCode;
  switch (depth) {
    case 4: depthCode = 0x000; break;
    case 8: depthCode = 0x200; break;
    case 16: depthCode = 0x400; break;
    case 24: depthCode = 0x600; break;
    default: return kBadArgument;
  }
  if (mode > 32) return kBadArgument;
  m->depth = depth;
  const bool lcd = IsLCD(mode), pal = IsPAL(mode);
  const uint32_t w = kModeWidth[mode], h = kModeHeight[mode], d = static_cast<uint32_t>(depth);
  m->width = static_cast<int>(w);
  m->height = static_cast<int>(h);
  const uint32_t field = h > 288 ? h / 2 : h, lineFactor = h > 288 ? 2 : 1;

  Write16(m, 0x280A, 0);
  Write16(m, 0x280C, 0);
  Write16(m, 0x280E, 0);
  ClearBits(m, 0x2800, 1);
  Write16(m, 0x2800, (Read16(m, 0x2800) & 0x8801) | (lcd ? 0x0004 : pal ? 0x13A8 : 0x03A8));
  if (lcd) {
    const uint32_t vsync = Read16(m, 0x2820) & 0x00F0;
    Write16(m, 0x2820, vsync);
    Write16(m, 0x2820, vsync | 0x0502);
    const uint32_t hsync = Read16(m, 0x2822) & 0xFE00;
    Write16(m, 0x2822, hsync);
    Write16(m, 0x2822, hsync | 0x0016);
  } else {
    Write16(m, 0x2820, pal ? 0x0181 : 0x0180);
    Write16(m, 0x2822, pal ? 0x3818 : 0x3816);
  }
  Write16(m, 0x2906, w * 1024 / (lcd ? 320 : 720));
  Write16(m, 0x2908, w * d * h / (pal ? 2304 : 1920));
  WriteTiming(m, lcd, pal);
  Write16(m, 0x2818, lcd ? 240 : pal ? 287 : 239);
  Write16(m, 0x183A, (w / d - 1) | ((field / d - 1) << 8));
  Write16(m, 0x1824, field);
  Write16(m, 0x181E, Read16(m, 0x1824));
  Write16(m, 0x1826, w - 1);
  Write16(m, 0x1820, Read16(m, 0x1826));
  Write16(m, 0x2892, w);
  Write16(m, 0x3010, w);
  Write16(m, 0x3014, field);
  Write16(m, 0x290C, w * d * lineFactor / 8);
  Write16(m, 0x290E, 0);
  Write16(m, 0x28DA, depthCode | 0x01AA);
  Write16(m, 0x28DC, 0);
  Write16(m, 0x2880, 0x1040);
  Write16(m, 0x2826, 0x0270);
  Write16(m, 0x2846, 0);
  Write16(m, 0x280A, 0xFFFF);
  Write16(m, 0x280C, 0xFFFF);
  Write16(m, 0x280E, 0xFFFF);
  SetBits(m, 0x2800, 1);
  m->mode = mode;
  return 0;
}

// ---- RGB layer, palettes and gamma -----------------------------------------------------------
uint32_t RM_SetRGBStartAddress(RegisterModel* m, uint32_t offset) {
  if (offset >= kVideoBytes) return kBadArgument;
  const uint32_t even = offset + kVideoPhys;
  const uint32_t w = static_cast<uint32_t>(m->width);
  const uint32_t lineBytes = m->depth == 4    ? w / 2
                             : m->depth == 8  ? w
                             : m->depth == 16 ? 2 * w
                                              : 3 * w;
  const uint32_t odd = m->height > 288 ? even + lineBytes : even;
  Write16(m, 0x290E, odd & 0xFFFF);
  Write16(m, 0x2910, odd >> 16);
  Write16(m, 0x2912, even & 0xFFFF);
  Write16(m, 0x2914, even >> 16);
  return 0;
}

uint32_t RM_SetRGBRegionColorKey(RegisterModel* m, uint32_t key) {
  Write16(m, 0x2902, key & 0xFFFF);
  Write16(m, 0x2904, key >> 16);
  return 0;
}

uint32_t RM_SetRGBRegionOperation(RegisterModel* m, uint32_t region, uint32_t active,
                                  uint32_t visible, uint16_t operation, uint16_t alpha,
                                  uint16_t left, uint16_t top, uint16_t right, uint16_t bottom) {
  if (region < 1 || region > 5 || operation > 2 || alpha > 15) return kBadArgument;
  PutBit(m, 0x2880, region + 1, active != 0);
  PutBit(m, 0x28DA, 2 * (region - 1), visible != 0);
  PutField(m, 0x28DC, 2 * (region - 1), 2, operation);
  const uint32_t alphaRegister = region <= 3 ? 0x28DE : 0x28E0;
  const uint32_t shift = 4 * (region <= 3 ? region - 1 : region - 4);
  const uint32_t cleared = Read16(m, alphaRegister) & ~(0xFu << shift);
  Write16(m, alphaRegister, cleared);
  Write16(m, alphaRegister, cleared | uint32_t{alpha} << shift);
  if (region <= 4) {
    const uint32_t base = 0x28E2 + 8 * (region - 1);
    Write16(m, base, left);
    Write16(m, base + 2, right);
    Write16(m, base + 4, top);
    Write16(m, base + 6, bottom);
  }
  return 0;
}

namespace {

// `osdLayout`: the second half carries alpha (bits 28-31) over Cr (bits 16-23).
uint32_t WriteTable(RegisterModel* m, uint32_t index, uint32_t data, uint16_t first,
                    const uint32_t* entries, uint16_t count, bool osdLayout) {
  if (entries == nullptr || count == 0 || uint32_t{first} + count > 256) return kBadArgument;
  Write16(m, index, 2u * first);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t e = entries[i];
    Write16(m, data, e & 0xFFFF);
    Write16(m, data, osdLayout ? (e >> 28) << 8 | ((e >> 16) & 0xFF) : e >> 16);
  }
  return 0;
}

}  // namespace

uint32_t RM_SetPalette(RegisterModel* m, uint16_t first, const uint32_t* entries, uint16_t count) {
  return WriteTable(m, 0x2958, 0x295A, first, entries, count, false);
}
uint32_t RM_SetGamma(RegisterModel* m, uint16_t first, const uint32_t* entries, uint16_t count) {
  return WriteTable(m, 0x295C, 0x295E, first, entries, count, false);
}
uint32_t RM_SetOSDPalette(RegisterModel* m, uint16_t first, const uint32_t* entries,
                          uint16_t count) {
  return WriteTable(m, 0x2954, 0x2956, first, entries, count, true);
}

// Bit 12 of the overlay control bypasses gamma.
uint32_t RM_EnableGamma(RegisterModel* m, uint32_t enable) {
  PutBit(m, 0x2880, 12, enable == 0);
  return 0;
}

// ---- Cursor ----------------------------------------------------------------------------------
uint32_t RM_SetCursorParams(RegisterModel* m, uint32_t enable, uint16_t size, uint32_t color1,
                            uint32_t color0, uint32_t offset) {
  if ((size != 32 && size != 64) || offset >= kVideoBytes) return kBadArgument;
  if (enable == 0) {
    ClearBits(m, 0x2880, 1u << 9);
    return 0;
  }
  Write16(m, 0x291E, size | ((color1 >> 20) & 0x0F00) | ((color0 >> 16) & 0xF000));
  Write16(m, 0x2924, color0 & 0xFFFF);
  Write16(m, 0x2926, color0 >> 16);
  Write16(m, 0x2928, color1 & 0xFFFF);
  Write16(m, 0x292A, color1 >> 16);
  const uint32_t bitmap = offset + kVideoPhys;
  Write32(m, 0x292C, bitmap + uint32_t{size} * size / 4);
  Write32(m, 0x2930, bitmap);
  SetBits(m, 0x2880, 1u << 9);
  return 0;
}

uint32_t RM_MoveCursor(RegisterModel* m, uint16_t x, uint16_t y) {
  Write16(m, 0x2920, x);
  Write16(m, 0x2922, y);
  return 0;
}

// ---- YUV planes and picture controls ---------------------------------------------------------
uint32_t RM_SetYUVVideoPlane(RegisterModel* m, uint32_t plane, uint32_t enable, uint16_t left,
                             uint16_t top, uint16_t right, uint16_t bottom, uint16_t split,
                             uint16_t pitch, uint32_t topOffset, uint32_t topMirror,
                             uint32_t topFlip, uint32_t bottomOffset, uint32_t bottomMirror,
                             uint32_t bottomFlip) {
  if (topOffset >= kVideoBytes || bottomOffset >= kVideoBytes) return kBadArgument;
  const bool a = plane != 0;
  const uint32_t onBit = a ? 0 : 1;
  if (enable == 0) {
    ClearBits(m, 0x2880, 1u << onBit);
    return 0;
  }
  const uint32_t base = a ? 0x2892 : 0x28BC;
  const bool tv = IsTV(m->mode);
  const uint32_t shownPitch = tv ? 2u * pitch : pitch;
  Write16(m, base, shownPitch & 0xFFFF);
  Write16(m, base + 2, shownPitch & 0xFFFF);
  Write16(m, base + 4, left);
  Write16(m, base + 6, right);
  Write16(m, base + 8, top);
  Write16(m, base + 10, split);
  Write16(m, base + 12, bottom);
  // On television the two fields of a part start a source line apart; a flipped part reads its
  // even field from the later line.
  const uint32_t line = 2u * pitch;
  const uint32_t topAddress = topOffset + kVideoPhys, bottomAddress = bottomOffset + kVideoPhys;
  Write32(m, base + 14, topAddress + (tv && !topFlip ? line : 0));
  Write32(m, base + 18, topAddress + (tv && topFlip ? line : 0));
  Write32(m, base + 22, bottomAddress + (tv && !bottomFlip ? line : 0));
  Write32(m, base + 26, bottomAddress + (tv && bottomFlip ? line : 0));
  const uint32_t flags =
      8u * (topMirror != 0) + 4u * (topFlip != 0) + 2u * (bottomMirror != 0) + (bottomFlip != 0);
  PutField(m, 0x2882, a ? 0 : 5, 4, flags);
  PutBit(m, 0x2882, a ? 4 : 9, bottom != split);
  SetBits(m, 0x2880, 1u << onBit);
  return 0;
}

uint32_t RM_SetYUVVideoPlaneScaler(RegisterModel* m, uint32_t plane, uint32_t part,
                                   uint16_t horizontal, uint16_t vertical) {
  const bool a = plane != 0, topPart = part != 0;
  const uint32_t pitch = Read16(m, a ? 0x2892 : 0x28BC);
  const uint32_t horizontalRegister = a ? (topPart ? 0x2886 : 0x2888) : (topPart ? 0x28B0 : 0x28B2);
  const uint32_t stepRegister = a ? (topPart ? 0x288A : 0x288E) : (topPart ? 0x28B4 : 0x28B8);
  const uint32_t step = uint32_t{vertical} * pitch;
  Write16(m, horizontalRegister, horizontal);
  Write16(m, stepRegister, (step >> 10) & 0xFFFF);
  Write16(m, stepRegister + 2, step >> 26);
  return 0;
}

uint32_t RM_SetYUVVideoPlanePriority(RegisterModel* m, uint32_t planeAFirst) {
  PutBit(m, 0x2884, 10, planeAFirst == 0);
  return 0;
}

uint32_t RM_SetYUVBrightness(RegisterModel* m, int8_t brightness) {
  Write16(m, 0x2934, (Read16(m, 0x2934) & 0xFF00) | static_cast<uint8_t>(brightness));
  return 0;
}

uint32_t RM_SetYUVContrast(RegisterModel* m, uint8_t contrast) {
  if (contrast > 7) return kBadArgument;
  Write16(m, 0x2934, (Read16(m, 0x2934) & 0xF8FF) | uint32_t{contrast} << 8);
  return 0;
}

uint32_t RM_SetYUVSaturationAndHUE(RegisterModel* m, uint32_t quadrant, uint8_t saturation,
                                   uint8_t hue) {
  // 127 sin(2 pi i / 256), truncated toward zero.
  const auto sine = [](uint32_t i) {
    return static_cast<int32_t>(
        std::trunc(127.0 * std::sin(2.0 * std::numbers::pi * (i % 256) / 256.0)));
  };
  const int32_t s = saturation, sn = sine(hue), cs = sine(hue + 64u);
  const int32_t cbA = (s * cs) >> 8, cbB = (s * sn) >> 8, crA = (-(s * sn)) >> 8,
                crB = (s * cs) >> 8;
  const uint32_t q = quadrant % 4;
  const auto pair = [](int32_t high, int32_t low) {
    return (static_cast<uint32_t>(high) & 0xFF) << 8 | (static_cast<uint32_t>(low) & 0xFF);
  };
  Write16(m, 0x2936 + 4 * q, pair(cbA, cbB));
  Write16(m, 0x2938 + 4 * q, pair(crA, crB));
  return 0;
}

// ---- OSD and sub-picture ---------------------------------------------------------------------
uint32_t RM_SetOSDPlane(RegisterModel* m, uint32_t enable, uint32_t evenHeader,
                        uint32_t oddHeader) {
  if (enable == 0) {
    ClearBits(m, 0x2880, 1u << 7);
    return 0;
  }
  Write32(m, 0x2916, oddHeader + kVideoPhys);
  Write32(m, 0x291A, evenHeader + kVideoPhys);
  SetBits(m, 0x2880, 1u << 7);
  return 0;
}

uint32_t RM_SetSPUColor(RegisterModel* m, uint16_t index, uint32_t color) {
  if (index > 15) return kBadArgument;
  Write16(m, 0x2980 + 4u * index, (color >> 24) << 8 | ((color >> 8) & 0xFF));
  Write16(m, 0x2982 + 4u * index, color & 0xFF);
  return 0;
}

uint32_t RM_SetSPUPlane(RegisterModel* m, uint32_t enable, uint32_t aboveOSD, uint32_t highlight,
                        uint32_t commands, uint32_t highlightInfo) {
  if (enable == 0) {
    Write16(m, 0x2974, 0);
    ClearBits(m, 0x2880, 1u << 8);
    return 0;
  }
  Write16(m, 0x2976, 0);
  Write32(m, 0x2978, commands + kVideoPhys);
  Write32(m, 0x297C, highlightInfo + kVideoPhys);
  PutBit(m, 0x2880, 11, aboveOSD != 0);
  Write16(m, 0x2974, highlight ? 7 : 3);
  SetBits(m, 0x2880, 1u << 8);
  return 0;
}

// ---- Records in video memory -----------------------------------------------------------------
namespace {

void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
bool Fits(uint32_t offset, uint32_t bytes) {
  return offset < kVideoBytes && bytes <= kVideoBytes - offset;
}

}  // namespace

uint32_t RM_WriteOSDHeader(RegisterModel* m, uint32_t header, uint32_t next, uint32_t left,
                           uint32_t top, uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                           uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                           uint32_t alpha, uint32_t keyIndex) {
  uint32_t sizeCode;
  switch (bitsPerPixel) {
    case 2: sizeCode = 0; break;
    case 4: sizeCode = 1; break;
    case 8: sizeCode = 2; break;
    default: return kBadArgument;
  }
  if (header % 4 != 0 || !Fits(header, 12)) return kBadArgument;
  const bool last = next >= kVideoBytes;
  const uint32_t link = last ? next : next + kVideoPhys;
  const uint32_t area = (bottom & 0x7FF) | (top & 0x3FF) << 11 | (alpha & 0xF) << 22 |
                        uint32_t{alphaEnable != 0} << 26 | sizeCode << 28 |
                        uint32_t{compressed != 0} << 30 | uint32_t{last} << 31;
  const uint32_t columns = (right & 0x7FF) | (left & 0x3FF) << 11 | (keyIndex & 0xFF) << 22 |
                           uint32_t{colorKeyEnable != 0} << 30;
  // The handheld's controller takes the column word before the line word.
  m->recordOffset = header;
  PutLE32(m->recordBytes, link);
  PutLE32(m->recordBytes, columns);
  PutLE32(m->recordBytes, area);
  return 0;
}

uint32_t RM_WriteSPUBaseCmd(RegisterModel* m, uint32_t offset, uint32_t changeCmdPresent,
                            uint32_t changeListOffset, uint16_t colorWord, uint16_t contrastWord,
                            uint16_t top, uint16_t bottom, uint32_t evenLineData,
                            uint32_t oddLineData) {
  const uint32_t at = offset & ~3u;
  if (!Fits(at, 28)) return kBadArgument;
  const bool lcd = IsLCD(m->mode);
  m->recordOffset = at;
  PutBE32(m->recordBytes, (lcd ? 640u : 1440u) + (changeCmdPresent != 0));
  PutBE32(m->recordBytes, uint32_t{colorWord} << 16 | contrastWord);
  PutBE32(m->recordBytes, lcd ? 319u : 719u);
  PutBE32(m->recordBytes, uint32_t{top} << 16 | bottom);
  PutBE32(m->recordBytes, evenLineData + kVideoPhys);
  PutBE32(m->recordBytes, oddLineData + kVideoPhys);
  PutBE32(m->recordBytes, changeListOffset + kVideoPhys);
  return 0;
}

uint32_t RM_WriteSPUChangeCmd(RegisterModel* m, uint32_t offset, uint32_t terminate,
                              uint16_t lineStart, uint16_t lineEnd, uint16_t count,
                              const uint16_t* left, const uint16_t* right,
                              const uint16_t* colorWords, const uint16_t* contrastWords) {
  if (count > 15) return kBadArgument;
  if (count > 0 && (!left || !right || !colorWords || !contrastWords)) return kBadArgument;
  const uint32_t at = offset & ~3u;
  if (!Fits(at, 4 + 8u * count + (terminate ? 4 : 0))) return kBadArgument;
  m->recordOffset = at;
  PutBE32(m->recordBytes, uint32_t{lineStart} << 16 | uint32_t{count} << 12 | (lineEnd & 0xFFF));
  for (uint32_t i = 0; i < count; ++i) {
    PutBE32(m->recordBytes, uint32_t{colorWords[i]} << 16 | contrastWords[i]);
    PutBE32(m->recordBytes, uint32_t{left[i]} << 16 | right[i]);
  }
  if (terminate) PutBE32(m->recordBytes, 0xFFFFFFFF);
  return 0;
}

uint32_t RM_WriteSPUHighlightInfo(RegisterModel* m, uint32_t offset, uint16_t left, uint16_t top,
                                  uint16_t right, uint16_t bottom, uint16_t colorWord,
                                  uint16_t contrastWord) {
  const uint32_t at = offset & ~3u;
  if (!Fits(at, 12)) return kBadArgument;
  m->recordOffset = at;
  PutBE32(m->recordBytes, uint32_t{left} << 16 | right);
  PutBE32(m->recordBytes, uint32_t{top} << 16 | bottom);
  PutBE32(m->recordBytes, uint32_t{colorWord} << 16 | contrastWord);
  return 0;
}

// ---- Blitter and rotator ---------------------------------------------------------------------
uint32_t RM_HwBitBlt(RegisterModel* m, uint32_t dst, uint32_t dstPitch, uint16_t width,
                     uint16_t height, uint32_t src, uint32_t srcPitch, uint32_t flags, uint16_t key,
                     uint16_t background, uint16_t foreground) {
  if (width == 0 || height == 0) return 0;
  const bool bytePixels = (flags & 0x100) != 0, oneBit = (flags & 0x200) != 0;
  const bool readsDestination = !(flags == 0 || flags == 3 || flags == 12 || flags == 15);
  const bool readsSource = !(flags == 0 || flags == 5 || flags == 10 || flags == 15);
  WriteBlitter(m, 0x00, (readsDestination ? 0x40u : 0) | (bytePixels ? 0 : 0x20u) | (dst & 3) << 3);
  WriteBlitter(m, 0x04, dst + kVideoPhys);
  WriteBlitter(m, 0x08, bytePixels ? dstPitch : dstPitch * 2);
  const uint32_t format = oneBit ? 0x1C0u : bytePixels ? 0x180u : 0x1A0u;
  WriteBlitter(m, 0x0C, readsSource ? format : format & ~0x80u);
  WriteBlitter(m, 0x10, src + kVideoPhys);
  WriteBlitter(m, 0x14, oneBit ? srcPitch / 8 : bytePixels ? srcPitch : srcPitch * 2);
  WriteBlitter(m, 0x18, foreground);
  WriteBlitter(m, 0x1C, background);
  WriteBlitter(m, 0x20, 0);
  WriteBlitter(m, 0x2C, uint32_t{height} << 16 | width);
  WriteBlitter(m, 0x30, uint32_t{key} << 16 | (flags >> 10 ? 0x800u : 0) | 0x300u | (flags & 0xFF));
  WriteBlitter(m, 0x34, ReadIdleStatus(m, 0x34) | 1);
  return 0;
}

uint32_t RM_HwBitBltRotate(RegisterModel* m, uint32_t dst, uint32_t dstPitch, uint16_t width,
                           uint16_t height, uint32_t src, uint32_t srcPitch, uint32_t flags) {
  if (width == 0 || height == 0) return 0;
  const uint32_t b = flags <= 3 ? 1 : flags <= 7 ? 2 : 3, turn = flags & 3;
  WriteBlitter(m, 0x104, srcPitch * b);
  WriteBlitter(m, 0x108, dstPitch * b);
  WriteBlitter(m, 0x10C, uint32_t{height} << 16 | width);
  const uint32_t lastRow = srcPitch * b * (height - 1u), lastColumn = b * (width - 1u);
  const uint32_t corner = turn == 0   ? 0
                          : turn == 1 ? lastRow
                          : turn == 2 ? lastRow + lastColumn
                                      : lastColumn;
  WriteBlitter(m, 0x110, src + kVideoPhys + corner);
  WriteBlitter(m, 0x114, dst + kVideoPhys);
  WriteBlitter(m, 0x100, turn << 3 | (b - 1) << 1);
  WriteBlitter(m, 0x100, ReadIdleStatus(m, 0x100) | 1);
  return 0;
}

uint32_t RM_WaitSync(RegisterModel*) { return 0; }
uint32_t RM_WaitHwBlitter(RegisterModel*, uint32_t) { return 0; }
