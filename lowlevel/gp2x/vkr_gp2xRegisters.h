// vkr_gp2xRegisters.h: the console's register offsets and bit fields, named as the hardware names
// them. The only place their numbers appear: the hardware back end writes them, the simulated
// console (sim/) decodes the same names. Each unit appends its own section.
//
// Sections: physical windows; clock and power; timer; general-purpose ports; converter; display
// controller registers saved at start-up; second-core control; TV encoder on port B's two-wire bus;
// display controller layers, palettes and cursor; blitter and rotator.
#pragma once

#include <cstdint>

// ---- Physical windows (mapped through /dev/mem) ---------------------------------------------
// Register offsets below are byte offsets into the register window unless marked "blitter
// window". A 32-bit access at offset r uses the aligned word at (r AND NOT 3).
inline constexpr uint32_t GP2X_REG_WINDOW_PHYS = 0xC0000000;
inline constexpr uint32_t GP2X_REG_WINDOW_SIZE = 0x10000;
inline constexpr uint32_t GP2X_BLITTER_WINDOW_PHYS = 0xE0024000;
inline constexpr uint32_t GP2X_BLITTER_WINDOW_SIZE = 0x200;
inline constexpr uint32_t GP2X_VIDEO_MEMORY_PHYS = 0x03800000;
inline constexpr uint32_t GP2X_VIDEO_MEMORY_SIZE = 0x800000;
inline constexpr uint32_t GP2X_DUALCORE_MEMORY_PHYS = 0x03000000;
inline constexpr uint32_t GP2X_DUALCORE_MEMORY_SIZE = 0x600000;
// Raw register access keeps to the register window, halfword aligned.
inline constexpr uint32_t GP2X_REG16_OFFSET_MASK = 0xFFFE;

// ---- Clock and power ------------------------------------------------------------------------
inline constexpr uint32_t GP2X_SYSCLKENREG = 0x0904;   // system clock enables
inline constexpr uint16_t GP2X_SYSCLKEN_ARM940 = 0x0001;   // bit 0: second core runs (0 pauses)
inline constexpr uint16_t GP2X_SYSCLKEN_DISPLAY = 0x0400;  // bit 10: set at start-up
inline constexpr uint32_t GP2X_COMCLKENREG = 0x090A;   // peripheral clock enables
inline constexpr uint16_t GP2X_COMCLKEN_ALL = 0xFFFF;
inline constexpr uint32_t GP2X_FPLLSETVREG = 0x0910;   // CPU PLL setting (written)
inline constexpr uint32_t GP2X_FPLLVSETREG = 0x0912;   // CPU PLL value in force (read back)
// PLL word: M bits 8-15, P bits 2-7, S bits 0-1; clock = (M + 8) x 7.3728 MHz / ((P + 2) << S).
inline constexpr uint32_t GP2X_PLL_M_SHIFT = 8;
inline constexpr uint16_t GP2X_PLL_M_MASK = 0xFF;
inline constexpr uint32_t GP2X_PLL_P_SHIFT = 2;
inline constexpr uint16_t GP2X_PLL_P_MASK = 0x3F;
inline constexpr uint16_t GP2X_PLL_S_MASK = 0x03;
inline constexpr uint32_t GP2X_PLL_M_OFFSET = 8;       // the PLL multiplies by M + 8
inline constexpr uint32_t GP2X_PLL_P_OFFSET = 2;       // and divides by P + 2
inline constexpr uint32_t GP2X_PLL_INPUT_100HZ = 73728;  // 7.3728 MHz crystal in units of 100 Hz
inline constexpr uint32_t GP2X_SYSCSETREG = 0x091C;    // clock dividers; CPU divider D bits 0-2
inline constexpr uint16_t GP2X_SYSCSET_CPU_DIV_MASK = 0x0007;
inline constexpr uint16_t GP2X_SYSCSET_KEEP_MASK = 0xFE3C;  // all dividers to 1 but these bits
// The processor clock in units of 100 Hz from the PLL word and the divider register, with the
// integer divisions in this order.
inline constexpr uint32_t GP2X_CPUClock100Hz(uint16_t pll, uint16_t dividers) {
  const uint32_t m = pll >> GP2X_PLL_M_SHIFT & GP2X_PLL_M_MASK;
  const uint32_t p = pll >> GP2X_PLL_P_SHIFT & GP2X_PLL_P_MASK;
  const uint32_t s = pll & GP2X_PLL_S_MASK;
  const uint32_t d = dividers & GP2X_SYSCSET_CPU_DIV_MASK;
  return (m + GP2X_PLL_M_OFFSET) * GP2X_PLL_INPUT_100HZ / ((p + GP2X_PLL_P_OFFSET) << s) / (d + 1);
}
inline constexpr uint32_t GP2X_ESYSCSETREG = 0x091E;   // display clock source and divider
inline constexpr uint32_t GP2X_DISPCSETREG = 0x0924;   // display clock setting

// ---- Timer ----------------------------------------------------------------------------------
inline constexpr uint32_t GP2X_TCOUNT = 0x0A00;        // 32-bit free-running count
inline constexpr uint32_t GP2X_TCOUNT_PER_MS = 7373;   // 7.3728 MHz
// One turn of the 32-bit count in whole milliseconds, as the millisecond clock corrects a wrap.
inline constexpr uint32_t GP2X_TCOUNT_WRAP_MS = 582527;

// ---- General-purpose ports ------------------------------------------------------------------
// Port x (A = 0) has its pin-function registers at 0x1020 + 2x (pins 0-7) and 0x1040 + 2x (pins
// 8-15), two bits a pin (01 output, 00 input), its output register at 0x1060 + 2x and its
// pin-level register at 0x1180 + 2x.
inline constexpr uint32_t GP2X_GPIO_PORTS = 15;        // A to O
inline constexpr uint32_t GP2X_GPIOAALTFNLOW = 0x1020;  // pins 0-7
inline constexpr uint32_t GP2X_GPIOAALTFNHI = 0x1040;   // pins 8-15
inline constexpr uint32_t GP2X_GPIOAOUT = 0x1060;
inline constexpr uint32_t GP2X_GPIOAPINLVL = 0x1180;
inline constexpr uint32_t GP2X_GPIO_PORT_B = 1, GP2X_GPIO_PORT_C = 2, GP2X_GPIO_PORT_D = 3,
                          GP2X_GPIO_PORT_F = 5, GP2X_GPIO_PORT_H = 7, GP2X_GPIO_PORT_I = 8,
                          GP2X_GPIO_PORT_L = 11, GP2X_GPIO_PORT_M = 12;
constexpr uint32_t GP2X_GPIOALTFN(uint32_t port) { return GP2X_GPIOAALTFNLOW + 2 * port; }
constexpr uint32_t GP2X_GPIOALTFNHIGH(uint32_t port) { return GP2X_GPIOAALTFNHI + 2 * port; }
constexpr uint32_t GP2X_GPIOOUT(uint32_t port) { return GP2X_GPIOAOUT + 2 * port; }
constexpr uint32_t GP2X_GPIOPINLVL(uint32_t port) { return GP2X_GPIOAPINLVL + 2 * port; }
inline constexpr uint32_t GP2X_GPIOBALTFNLOW = GP2X_GPIOALTFN(GP2X_GPIO_PORT_B);  // 0x1022
inline constexpr uint32_t GP2X_GPIOBOUT = GP2X_GPIOOUT(GP2X_GPIO_PORT_B);         // 0x1062
inline constexpr uint32_t GP2X_GPIOFOUT = GP2X_GPIOOUT(GP2X_GPIO_PORT_F);         // 0x106A
inline constexpr uint32_t GP2X_GPIOHOUT = GP2X_GPIOOUT(GP2X_GPIO_PORT_H);         // 0x106E
inline constexpr uint32_t GP2X_GPIOLOUT = GP2X_GPIOOUT(GP2X_GPIO_PORT_L);         // 0x1076
inline constexpr uint32_t GP2X_GPIOBPINLVL = GP2X_GPIOPINLVL(GP2X_GPIO_PORT_B);   // 0x1182
inline constexpr uint32_t GP2X_GPIOCPINLVL = GP2X_GPIOPINLVL(GP2X_GPIO_PORT_C);   // 0x1184
inline constexpr uint32_t GP2X_GPIODPINLVL = GP2X_GPIOPINLVL(GP2X_GPIO_PORT_D);   // 0x1186
inline constexpr uint32_t GP2X_GPIOHPINLVL = GP2X_GPIOPINLVL(GP2X_GPIO_PORT_H);   // 0x118E
inline constexpr uint32_t GP2X_GPIOIPINLVL = GP2X_GPIOPINLVL(GP2X_GPIO_PORT_I);   // 0x1190
inline constexpr uint32_t GP2X_GPIOMPINLVL = GP2X_GPIOPINLVL(GP2X_GPIO_PORT_M);   // 0x1198
inline constexpr uint16_t GP2X_ALTFN_MASK = 0x3, GP2X_ALTFN_OUTPUT = 0x1;

// Port B pin levels: the display controller's sync signals.
inline constexpr uint16_t GP2X_GPIOB_VSYNC = 0x0010;   // bit 4: vertical blank
inline constexpr uint16_t GP2X_GPIOB_HSYNC = 0x0020;   // bit 5: horizontal blank
// Buttons read low while held. Port M: the eight directions; port C: Start to Y; port D: volume
// down and up, the stick press.
inline constexpr uint16_t GP2X_GPIOM_DIRECTIONS = 0x00FF;
inline constexpr uint16_t GP2X_GPIOC_BUTTONS = 0xFF00;
inline constexpr uint16_t GP2X_GPIOD_VOLUME = 0x00C0;    // bits 6-7
inline constexpr uint32_t GP2X_GPIOD_VOLUME_TO_WORD = 10;  // into input word bits 16-17
inline constexpr uint16_t GP2X_GPIOD_STICK = 0x0800;     // bit 11
inline constexpr uint32_t GP2X_GPIOD_STICK_TO_WORD = 7;  // into input word bit 18
inline constexpr uint16_t GP2X_GPIOD_SD_WRITE_PROTECT = 0x0004;  // bit 2
inline constexpr uint16_t GP2X_GPIOI_SD_ABSENT = 0x4000;         // bit 14: 1 with no card
inline constexpr uint16_t GP2X_GPIOH_BATTERY_LED = 0x0010;       // bit 4: 0 lights the LED
inline constexpr uint32_t GP2X_GPIOH_BATTERY_LED_PIN = 4;

// ---- Converter ------------------------------------------------------------------------------
inline constexpr uint32_t GP2X_ADC_CHANNEL = 0x4658;   // channel << 9 selects it
inline constexpr uint32_t GP2X_ADC_CHANNEL_SHIFT = 9;
inline constexpr uint32_t GP2X_ADC_DATA = 0x4674;      // 10-bit result
inline constexpr uint16_t GP2X_ADC_DATA_MASK = 0x03FF;

// ---- Display controller registers saved at start-up -----------------------------------------
// Display timing and output (0x2800 to 0x2848).
inline constexpr uint32_t GP2X_DPC_CNTL = 0x2800;
inline constexpr uint16_t GP2X_DPC_CNTL_TV = 0x0100;   // bit 8: television output
inline constexpr uint16_t GP2X_DPC_CNTL_INTERLACE = 0x0020;  // bit 5: interlaced scan
inline constexpr uint16_t GP2X_DPC_CNTL_KEEP = 0x8801;  // bits a scan-mode switch leaves alone
inline constexpr uint32_t GP2X_DPC_FPICNTL = 0x2804;
inline constexpr uint32_t GP2X_DPC_FPIPOL1 = 0x2806;
inline constexpr uint32_t GP2X_DPC_FPIPOL2 = 0x2808;
inline constexpr uint32_t GP2X_DPC_FPIPOL3 = 0x280A;
inline constexpr uint32_t GP2X_DPC_FPIATV1 = 0x280C;
inline constexpr uint32_t GP2X_DPC_FPIATV2 = 0x280E;
inline constexpr uint32_t GP2X_DPC_X_MAX = 0x2816;
inline constexpr uint32_t GP2X_DPC_Y_MAX = 0x2818;     // last line; above 240 means PAL
inline constexpr uint16_t GP2X_DPC_Y_MAX_NTSC_LIMIT = 240;
inline constexpr uint32_t GP2X_DPC_HS_WIDTH = 0x281A;
inline constexpr uint32_t GP2X_DPC_HS_STR = 0x281C;
inline constexpr uint32_t GP2X_DPC_HS_END = 0x281E;
inline constexpr uint32_t GP2X_DPC_V_SYNC = 0x2820;
inline constexpr uint32_t GP2X_DPC_V_END = 0x2822;
inline constexpr uint32_t GP2X_DPC_TV_BNK = 0x2824;
inline constexpr uint32_t GP2X_DPC_DE = 0x2826;
inline constexpr uint32_t GP2X_DPC_FPIATV3 = 0x2846;
inline constexpr uint32_t GP2X_DPC_CLKCNTL = 0x2848;
// Layer mixer (0x2880 to 0x2914).
inline constexpr uint32_t GP2X_MLC_OVLAY_CNTR = 0x2880;
inline constexpr uint32_t GP2X_MLC_YUV_EFFECT = 0x2882;
inline constexpr uint32_t GP2X_MLC_YUV_CNTL = 0x2884;  // cleared at start-up, not restored
inline constexpr uint32_t GP2X_MLC_YUVA_TP_PXW = 0x2892;
inline constexpr uint32_t GP2X_MLC_STL_CNTL = 0x28DA;
inline constexpr uint32_t GP2X_MLC_STL_MIXMUX = 0x28DC;
inline constexpr uint32_t GP2X_MLC_STL_ALPHAL = 0x28DE;
inline constexpr uint32_t GP2X_MLC_STL_ALPHAH = 0x28E0;
inline constexpr uint32_t GP2X_MLC_STL_HSC = 0x2906;
inline constexpr uint32_t GP2X_MLC_STL_VSC = 0x2908;
inline constexpr uint32_t GP2X_MLC_STL_HW = 0x290C;     // RGB line step in bytes
inline constexpr uint32_t GP2X_MLC_STL_OADRL = 0x290E;  // odd-field start address, low half
inline constexpr uint32_t GP2X_MLC_STL_OADRH = 0x2910;  // odd-field start address, high half
inline constexpr uint32_t GP2X_MLC_STL_EADRL = 0x2912;  // even-field start address, low half
inline constexpr uint32_t GP2X_MLC_STL_EADRH = 0x2914;  // even-field start address, high half
// Scaler and frame dimension registers.
inline constexpr uint32_t GP2X_FDC_CNTL = 0x183A;
inline constexpr uint32_t GP2X_FDC_FRAME_SIZE_V = 0x181E;
inline constexpr uint32_t GP2X_FDC_FRAME_SIZE_H = 0x1820;
inline constexpr uint32_t GP2X_SC_DST_PXW = 0x3010;
inline constexpr uint32_t GP2X_SC_DST_LINES = 0x3014;

// ---- Second-core control --------------------------------------------------------------------
//$3B40  DUALINT920: interrupt enables toward the main core
inline constexpr uint32_t GP2X_DUALINT920 = 0x3B40;
//$3B42  DUALINT940: interrupt enables toward the second core
inline constexpr uint32_t GP2X_DUALINT940 = 0x3B42;
//$3B44  DUALPEND920: interrupts pending at the main core; a written 1 clears
inline constexpr uint32_t GP2X_DUALPEND920 = 0x3B44;
//$3B46  DUALPEND940: interrupts pending at the second core; a written 1 clears
inline constexpr uint32_t GP2X_DUALPEND940 = 0x3B46;
//$3B48  DUALCTRL940: second-core control
inline constexpr uint32_t GP2X_DUALCTRL940 = 0x3B48;
inline constexpr uint16_t GP2X_DUALCTRL940_RESET = 0x0080;  // held in reset while set; leaves it at 0
inline constexpr uint16_t GP2X_DUALCTRL940_HOLD = 0x0083;
inline constexpr uint16_t GP2X_DUALCTRL940_RUN = 0x0003;

// ---- TV encoder on port B's two-wire bus ----------------------------------------------------
// Port B output (GP2X_GPIOBOUT), pin function (GP2X_GPIOBALTFNLOW) and pin levels (GP2X_GPIOBPINLVL).
// A bus line is driven from its output bit while its pin function is 01 and released (pulled
// high, the encoder may hold SDA low) while it is 00.
inline constexpr uint16_t GP2X_GPIOB_SDA = 0x0001;            // bit 0: two-wire data
inline constexpr uint16_t GP2X_GPIOB_SCL = 0x0002;            // bit 1: two-wire clock
inline constexpr uint16_t GP2X_GPIOB_LCD = 0x0004;            // bit 2: 1 while the LCD is the output
inline constexpr uint16_t GP2X_GPIOB_ENCODER = 0x0008;        // bit 3: pulsed low entering TV output
inline constexpr uint16_t GP2X_GPIOB_SDA_FUNCTION = 0x0003;   // pin function field of SDA
inline constexpr uint16_t GP2X_GPIOB_SCL_FUNCTION = 0x000C;   // pin function field of SCL
inline constexpr uint16_t GP2X_GPIOB_SDA_DRIVE = 0x0001;      // 01 in SDA's field
inline constexpr uint16_t GP2X_GPIOB_SCL_DRIVE = 0x0004;      // 01 in SCL's field
// The encoder's bus addresses and the registers of its own file that the library uses.
inline constexpr uint8_t CX25874_ADDRESS_WRITE = 0x8A;
inline constexpr uint8_t CX25874_ADDRESS_READ = 0x8B;
//$02  status: bit 3 a caption pair still waits to go out
inline constexpr uint8_t CX25874_STATUS = 0x02;
inline constexpr uint8_t CX25874_STATUS_CAPTION_BUSY = 0x08;
//$06  field: bit 1 the field being output, bit 0 its active picture (clear through its blank)
inline constexpr uint8_t CX25874_FIELD = 0x06;
inline constexpr uint8_t CX25874_FIELD_ODD = 0x02;
inline constexpr uint8_t CX25874_FIELD_ACTIVE = 0x01;
// The register set of a standard, in the order it is written: 0x38, 0x76 to 0xB4 in steps of 2,
// 0xC6, 0xC8, then (after 10 ms) 0x6C; its values for NTSC and PAL.
inline constexpr int CX25874_SET_SIZE = 36;
inline constexpr uint8_t CX25874_SET_REGISTERS[CX25874_SET_SIZE] = {
    0x38, 0x76, 0x78, 0x7A, 0x7C, 0x7E, 0x80, 0x82, 0x84, 0x86, 0x88, 0x8A,
    0x8C, 0x8E, 0x90, 0x92, 0x94, 0x96, 0x98, 0x9A, 0x9C, 0x9E, 0xA0, 0xA2,
    0xA4, 0xA6, 0xA8, 0xAA, 0xAC, 0xAE, 0xB0, 0xB2, 0xB4, 0xC6, 0xC8, 0x6C};
inline constexpr uint8_t CX25874_SET_NTSC[CX25874_SET_SIZE] = {
    0x10, 0xB4, 0xD0, 0x7E, 0x90, 0x58, 0x03, 0x14, 0xF0, 0x26, 0x15, 0x5A,
    0x28, 0x13, 0x06, 0x13, 0xF0, 0x31, 0x00, 0x40, 0x00, 0x00, 0x8C, 0x0A,
    0xE5, 0x76, 0xC1, 0x89, 0x9A, 0x1F, 0x7C, 0xF0, 0x21, 0x06, 0xC0, 0xC6};
inline constexpr uint8_t CX25874_SET_PAL[CX25874_SET_SIZE] = {
    0x10, 0xC0, 0xD0, 0x7E, 0x98, 0x54, 0x15, 0x17, 0x20, 0xA6, 0xFA, 0x60,
    0x28, 0x13, 0x38, 0x16, 0x20, 0x35, 0x00, 0x40, 0x00, 0x00, 0x8C, 0x24,
    0xF0, 0x59, 0xCF, 0x93, 0xA4, 0xCB, 0x8A, 0x09, 0x2A, 0x06, 0xC0, 0xC6};
//$6C  the last register of a standard's set
inline constexpr uint8_t CX25874_SET_LAST = 0x6C;
//$BA  reset: bit 7 resets the register file
inline constexpr uint8_t CX25874_RESET = 0xBA;
inline constexpr uint8_t CX25874_RESET_ALL = 0x80;
//$C0, $C2  caption pair, first and second byte; the second hands the pair over
inline constexpr uint8_t CX25874_CAPTION_FIRST = 0xC0;
inline constexpr uint8_t CX25874_CAPTION_SECOND = 0xC2;

// ---- Display controller layers, palettes and cursor -----------------------------------------
//$2800  DPC_CNTL values of a mode change: bit 0 enables the controller
inline constexpr uint16_t GP2X_DPC_CNTL_ENABLE = 0x0001;
inline constexpr uint16_t GP2X_DPC_CNTL_LCD = 0x0004;
inline constexpr uint16_t GP2X_DPC_CNTL_NTSC = 0x03A8;
inline constexpr uint16_t GP2X_DPC_CNTL_PAL = 0x13A8;
// Frame dimension unit: field height and width, read back into the frame size registers.
inline constexpr uint32_t GP2X_FDC_DST_LINES = 0x1824;
inline constexpr uint32_t GP2X_FDC_DST_PXW = 0x1826;
// Port H and port L/F lines of the LCD drive, and the second model's LCD power lines.
inline constexpr uint16_t GP2X_GPIOH_LCD_DRIVE = 0x0006;   // bits 1 and 2
inline constexpr uint16_t GP2X_GPIOH_TV_VALUE = 0x0018;
inline constexpr uint16_t GP2X_GPIOL_MODEL2_LCD = 0x0800;  // bit 11
inline constexpr uint16_t GP2X_GPIOF_MODEL2_LCD = 0x0008;  // bit 3

//$2880  MLC_OVLAY_CNTR bits
inline constexpr uint16_t GP2X_OVLAY_YUVA = 0x0001;
inline constexpr uint16_t GP2X_OVLAY_YUVB = 0x0002;
constexpr uint16_t GP2X_OVLAY_STL(uint32_t region) { return static_cast<uint16_t>(1u << (region + 1)); }
inline constexpr uint16_t GP2X_OVLAY_OSD = 0x0080;
inline constexpr uint16_t GP2X_OVLAY_SPU = 0x0100;
inline constexpr uint16_t GP2X_OVLAY_HWC = 0x0200;
inline constexpr uint16_t GP2X_OVLAY_SPU_OVER_OSD = 0x0800;
inline constexpr uint16_t GP2X_OVLAY_GAMMA_BYPASS = 0x1000;
inline constexpr uint16_t GP2X_OVLAY_MODE_SET = 0x1040;  // region 5 active, gamma bypassed
//$2882  MLC_YUV_EFFECT: plane A flags bits 0-3 (top mirror, top flip, bottom mirror, bottom flip
// from bit 3 down), bit 4 plane A has a bottom part; plane B the same from bit 5
inline constexpr uint32_t GP2X_YUV_EFFECT_A_SHIFT = 0;
inline constexpr uint32_t GP2X_YUV_EFFECT_B_SHIFT = 5;
inline constexpr uint16_t GP2X_YUV_EFFECT_FLAGS = 0x000F;
inline constexpr uint16_t GP2X_YUV_EFFECT_SPLIT = 0x0010;
//$2884  MLC_YUV_CNTL: bit 10 plane B above plane A
inline constexpr uint16_t GP2X_YUV_CNTL_B_FIRST = 0x0400;
// YUV plane A's block; plane B's registers are plane A's + 0x2A.
inline constexpr uint32_t GP2X_MLC_YUVA_TP_HSC = 0x2886;
inline constexpr uint32_t GP2X_MLC_YUVA_BT_HSC = 0x2888;
inline constexpr uint32_t GP2X_MLC_YUVA_TP_VSCL = 0x288A;
inline constexpr uint32_t GP2X_MLC_YUVA_TP_VSCH = 0x288C;
inline constexpr uint32_t GP2X_MLC_YUVA_BT_VSCL = 0x288E;
inline constexpr uint32_t GP2X_MLC_YUVA_BT_VSCH = 0x2890;
inline constexpr uint32_t GP2X_MLC_YUVA_BT_PXW = 0x2894;
inline constexpr uint32_t GP2X_MLC_YUVA_STX = 0x2896;
inline constexpr uint32_t GP2X_MLC_YUVA_ENDX = 0x2898;
inline constexpr uint32_t GP2X_MLC_YUVA_TP_STY = 0x289A;
inline constexpr uint32_t GP2X_MLC_YUVA_TP_ENDY = 0x289C;  // the split line
inline constexpr uint32_t GP2X_MLC_YUVA_BT_ENDY = 0x289E;
inline constexpr uint32_t GP2X_MLC_YUVA_TP_OADRL = 0x28A0;
inline constexpr uint32_t GP2X_MLC_YUVA_TP_EADRL = 0x28A4;
inline constexpr uint32_t GP2X_MLC_YUVA_BT_OADRL = 0x28A8;
inline constexpr uint32_t GP2X_MLC_YUVA_BT_EADRL = 0x28AC;
inline constexpr uint32_t GP2X_MLC_YUVB_OFFSET = 0x2A;
inline constexpr uint32_t GP2X_MLC_YUV_VSC_SHIFT_LOW = 10;   // vertical step >> 10 to the low half
inline constexpr uint32_t GP2X_MLC_YUV_VSC_SHIFT_HIGH = 26;  // and >> 26 to the high half
// RGB layer: region rectangles, colour key, palette, cursor, OSD, hue, gamma.
inline constexpr uint16_t GP2X_STL_CNTL_MODE_BITS = 0x01AA;   // regions 1 to 5 visible
inline constexpr uint32_t GP2X_STL_CNTL_DEPTH_SHIFT = 9;      // 0 to 3: 4, 8, 16, 24 bits
inline constexpr uint16_t GP2X_STL_CNTL_DEPTH_MASK = 0x0600;
inline constexpr uint32_t GP2X_MLC_STL1_STX = 0x28E2;        // region r at + 8 x (r - 1):
inline constexpr uint32_t GP2X_MLC_STL_REGION_STRIDE = 8;    // left, right, top, bottom
inline constexpr uint32_t GP2X_MLC_STL_CKEY_GR = 0x2902;
inline constexpr uint32_t GP2X_MLC_STL_CKEY_B = 0x2904;
inline constexpr uint32_t GP2X_MLC_OSD_OADRL = 0x2916;
inline constexpr uint32_t GP2X_MLC_OSD_OADRH = 0x2918;
inline constexpr uint32_t GP2X_MLC_OSD_EADRL = 0x291A;
inline constexpr uint32_t GP2X_MLC_OSD_EADRH = 0x291C;
inline constexpr uint32_t GP2X_MLC_HWC_CNTR = 0x291E;  // size, colour 1 alpha 8-11, colour 0 alpha 12-15
inline constexpr uint16_t GP2X_HWC_SIZE_MASK = 0x00FF;
inline constexpr uint32_t GP2X_MLC_HWC_STX = 0x2920;
inline constexpr uint32_t GP2X_MLC_HWC_STY = 0x2922;
inline constexpr uint32_t GP2X_MLC_HWC_FGR = 0x2924;   // colour 0, low and high half
inline constexpr uint32_t GP2X_MLC_HWC_FB = 0x2926;
inline constexpr uint32_t GP2X_MLC_HWC_BGR = 0x2928;   // colour 1, low and high half
inline constexpr uint32_t GP2X_MLC_HWC_BB = 0x292A;
inline constexpr uint32_t GP2X_MLC_HWC_OADRL = 0x292C;  // 32-bit: odd field (second half)
inline constexpr uint32_t GP2X_MLC_HWC_EADRL = 0x2930;  // 32-bit: even field (first half)
inline constexpr uint32_t GP2X_MLC_LUMA_ENH = 0x2934;   // brightness 0-7, contrast 8-10
inline constexpr uint16_t GP2X_LUMA_CONTRAST_MASK = 0x0700;
inline constexpr uint32_t GP2X_MLC_HUECB1AB = 0x2936;   // quadrant q at + 4 q: Cb A, B
inline constexpr uint32_t GP2X_MLC_HUECR1AB = 0x2938;   // quadrant q at + 4 q: Cr A, B
inline constexpr uint32_t GP2X_MLC_OSD_PALLT_A = 0x2954;
inline constexpr uint32_t GP2X_MLC_OSD_PALLT_D = 0x2956;
inline constexpr uint32_t GP2X_MLC_STL_PALLT_A = 0x2958;
inline constexpr uint32_t GP2X_MLC_STL_PALLT_D = 0x295A;
inline constexpr uint32_t GP2X_MLC_GAMMA_A = 0x295C;
inline constexpr uint32_t GP2X_MLC_GAMMA_D = 0x295E;
// Sub-picture unit.
inline constexpr uint32_t GP2X_SPU_CTRL = 0x2974;
inline constexpr uint16_t GP2X_SPU_CTRL_ON = 0x0003;
inline constexpr uint16_t GP2X_SPU_CTRL_HIGHLIGHT = 0x0007;
inline constexpr uint32_t GP2X_SPU_DELAY = 0x2976;
inline constexpr uint32_t GP2X_SPU_BASEI_ADDRL = 0x2978;  // 32-bit
inline constexpr uint32_t GP2X_SPU_HLI_ADDRL = 0x297C;    // 32-bit
inline constexpr uint32_t GP2X_SPU_PAL = 0x2980;          // colour i at + 4 i, two halves
inline constexpr uint32_t GP2X_SPU_PAL_STRIDE = 4;

// ---- Blitter and rotator (blitter window) ---------------------------------------------------
inline constexpr uint32_t GP2X_MESGDSTCTRL = 0x00;
inline constexpr uint32_t GP2X_MESG_DST_READ = 0x40;     // the operation reads the destination
inline constexpr uint32_t GP2X_MESG_DST_16BPP = 0x20;
inline constexpr uint32_t GP2X_MESG_DST_BYTE_SHIFT = 3;  // (address AND 3) << 3
inline constexpr uint32_t GP2X_MESGDSTADDR = 0x04;
inline constexpr uint32_t GP2X_MESGDSTSTRIDE = 0x08;
inline constexpr uint32_t GP2X_MESGSRCCTRL = 0x0C;
inline constexpr uint32_t GP2X_MESG_SRC_1BPP = 0x1C0;
inline constexpr uint32_t GP2X_MESG_SRC_8BPP = 0x180;
inline constexpr uint32_t GP2X_MESG_SRC_16BPP = 0x1A0;
inline constexpr uint32_t GP2X_MESG_SRC_READ = 0x80;     // the operation reads the source
inline constexpr uint32_t GP2X_MESG_SRC_FORMAT = 0x60;   // 0x40 one bit, 0x00 8 bits, 0x20 16 bits
inline constexpr uint32_t GP2X_MESGSRCADDR = 0x10;
inline constexpr uint32_t GP2X_MESGSRCSTRIDE = 0x14;
inline constexpr uint32_t GP2X_MESGSRCFORCOLOR = 0x18;
inline constexpr uint32_t GP2X_MESGSRCBACKCOLOR = 0x1C;
inline constexpr uint32_t GP2X_MESGPATCTRL = 0x20;
inline constexpr uint32_t GP2X_MESGSIZE = 0x2C;          // height << 16 | width
inline constexpr uint32_t GP2X_MESGCTRL = 0x30;          // key << 16 | transparency | 0x300 | rop
inline constexpr uint32_t GP2X_MESG_TRANSPARENT = 0x800;
inline constexpr uint32_t GP2X_MESG_CTRL_FIXED = 0x300;
inline constexpr uint32_t GP2X_MESG_ROP_MASK = 0xFF;
inline constexpr uint32_t GP2X_MESGSTATUS = 0x34;        // bit 0: busy; writing it starts
inline constexpr uint32_t GP2X_MESG_BUSY = 0x1;
inline constexpr uint32_t GP2X_ROTCTRL = 0x100;          // turn << 3 | size code << 1 | start/busy
inline constexpr uint32_t GP2X_ROT_BUSY = 0x1;
inline constexpr uint32_t GP2X_ROT_SIZE_SHIFT = 1;
inline constexpr uint32_t GP2X_ROT_TURN_SHIFT = 3;
inline constexpr uint32_t GP2X_ROTSRCSTRIDE = 0x104;
inline constexpr uint32_t GP2X_ROTDSTSTRIDE = 0x108;
inline constexpr uint32_t GP2X_ROTSIZE = 0x10C;          // height << 16 | width
inline constexpr uint32_t GP2X_ROTSRCADDR = 0x110;
inline constexpr uint32_t GP2X_ROTDSTADDR = 0x114;
