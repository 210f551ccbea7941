// sim_firmware.cpp: what the console's firmware leaves before a program starts: the display
// controller driving the LCD, an NTSC or a PAL television at 320 x 240, 16 bits a pixel, the CPU at
// 200 MHz, the second core held, the battery LED off, the converter's readings.
#include "sim_state.h"

namespace {

struct RegisterValue {
  uint32_t offset;
  uint16_t value;
};

// The same on every output.
constexpr RegisterValue kCommon[] = {
    {GP2X_SYSCLKENREG, 0x0302},
    {GP2X_COMCLKENREG, 0x0F3F},
    {GP2X_FPLLSETVREG, 0x4904},  // M = 73, P = 1, S = 0: 199.6 MHz
    {GP2X_SYSCSETREG, 0x0200},
    {GP2X_DUALCTRL940, GP2X_DUALCTRL940_HOLD},
    // The battery LED's pin is an output, off (high); port B drives the LCD and encoder lines and
    // leaves the two-wire bus released.
    {GP2X_GPIOALTFN(GP2X_GPIO_PORT_H), GP2X_ALTFN_OUTPUT << (2 * GP2X_GPIOH_BATTERY_LED_PIN)},
    {GP2X_GPIOHOUT, GP2X_GPIOH_BATTERY_LED},
    {GP2X_GPIOBALTFNLOW, 0x0050},
    // The RGB layer shows the firmware's frame buffer at physical 0x03101000.
    {GP2X_MLC_STL_HW, 640},
    {GP2X_MLC_STL_OADRL, 0x1000},
    {GP2X_MLC_STL_OADRH, 0x0310},
    {GP2X_MLC_STL_EADRL, 0x1000},
    {GP2X_MLC_STL_EADRH, 0x0310},
    {GP2X_MLC_OVLAY_CNTR, 0x1040},
    {GP2X_MLC_YUV_EFFECT, 0},
    {GP2X_MLC_YUV_CNTL, 0x0400},
    {GP2X_MLC_YUVA_TP_PXW, 320},
    {GP2X_MLC_STL_CNTL, 0x05AA},
    {GP2X_MLC_STL_MIXMUX, 0},
    {GP2X_MLC_STL_ALPHAL, 0x0FFF},
    {GP2X_MLC_STL_ALPHAH, 0x00FF},
    {GP2X_MLC_STL_HSC, 1024},
    {GP2X_FDC_CNTL, 0x0E13},
    {GP2X_FDC_FRAME_SIZE_V, 240},
    {GP2X_FDC_FRAME_SIZE_H, 319},
    {GP2X_SC_DST_PXW, 320},
    {GP2X_SC_DST_LINES, 240},
    {GP2X_DPC_DE, 0x0270},
    {GP2X_DPC_FPIATV3, 0},
    {GP2X_DPC_FPIPOL3, 0xFFFF},
    {GP2X_DPC_FPIATV1, 0xFFFF},
    {GP2X_DPC_FPIATV2, 0xFFFF},
    // Neutral hue and saturation in the four chroma quadrants (Cb 63, 0; Cr 0, 63).
    {GP2X_MLC_HUECB1AB, 0x3F00},     {GP2X_MLC_HUECR1AB, 0x003F},
    {GP2X_MLC_HUECB1AB + 4, 0x3F00}, {GP2X_MLC_HUECR1AB + 4, 0x003F},
    {GP2X_MLC_HUECB1AB + 8, 0x3F00}, {GP2X_MLC_HUECR1AB + 8, 0x003F},
    {GP2X_MLC_HUECB1AB + 12, 0x3F00}, {GP2X_MLC_HUECR1AB + 12, 0x003F},
};

constexpr RegisterValue kLcd[] = {
    {GP2X_GPIOBOUT, 0x000F},
    {GP2X_DPC_CNTL, 0x0005},    {GP2X_DPC_V_SYNC, 0x0502},  {GP2X_DPC_V_END, 0x0016},
    {GP2X_ESYSCSETREG, 0x9000}, {GP2X_DISPCSETREG, 0x8A80}, {GP2X_DPC_FPICNTL, 1},
    {GP2X_DPC_FPIPOL1, 0xFFFF}, {GP2X_DPC_FPIPOL2, 0x00FF}, {GP2X_DPC_X_MAX, 319},
    {GP2X_DPC_HS_WIDTH, 0x1D},  {GP2X_DPC_HS_END, 1},       {GP2X_DPC_HS_STR, 1},
    {GP2X_DPC_TV_BNK, 0x0250},  {GP2X_DPC_CLKCNTL, 0x10},   {GP2X_DPC_Y_MAX, 240},
    {GP2X_MLC_STL_VSC, 640},
};

// Television: the LCD line low; NTSC and PAL differ in sync, lines and vertical scale.
constexpr RegisterValue kTelevision[] = {
    {GP2X_GPIOBOUT, 0x000B},
    {GP2X_ESYSCSETREG, 0x4170}, {GP2X_DISPCSETREG, 0x0100}, {GP2X_DPC_FPICNTL, 0x13},
    {GP2X_DPC_FPIPOL1, 0},      {GP2X_DPC_FPIPOL2, 0},      {GP2X_DPC_X_MAX, 719},
    {GP2X_DPC_HS_WIDTH, 1055},  {GP2X_DPC_TV_BNK, 0},       {GP2X_DPC_CLKCNTL, 0x0A},
    {GP2X_MLC_STL_HSC, 455},
};
constexpr RegisterValue kNtsc[] = {
    {GP2X_DPC_CNTL, 0x03A9},    {GP2X_DPC_V_SYNC, 0x0180},  {GP2X_DPC_V_END, 0x3816},
    {GP2X_DPC_HS_END, 0x20},    {GP2X_DPC_HS_STR, 0x20},    {GP2X_DPC_Y_MAX, 239},
    {GP2X_MLC_STL_VSC, 640},
};
constexpr RegisterValue kPal[] = {
    {GP2X_DPC_CNTL, 0x13A9},    {GP2X_DPC_V_SYNC, 0x0181},  {GP2X_DPC_V_END, 0x3818},
    {GP2X_DPC_HS_END, 0x23},    {GP2X_DPC_HS_STR, 0x23},    {GP2X_DPC_Y_MAX, 287},
    {GP2X_MLC_STL_VSC, 533},
};

template <size_t N>
void Set(const RegisterValue (&values)[N]) {
  for (const RegisterValue& entry : values) g_sim.reg[entry.offset >> 1] = entry.value;
}

}  // namespace

void SimFirmware_SetRegisters(SimTV tv) {
  Set(kCommon);
  if (tv == SimTV::Lcd) {
    Set(kLcd);
  } else {
    Set(kTelevision);
    if (tv == SimTV::Ntsc) Set(kNtsc);
    else Set(kPal);
  }
  g_sim.adc.channel[0] = 930;  // a battery most of the way full
}
