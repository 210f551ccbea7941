// vkr_gp2xRegisters.h: register offsets (bytes into the register window) and bit fields of the
// hardware back end, named as the hardware names them.
#pragma once

#include <cstdint>

// ---- Second core ----
//$3B40  DUALINT920: interrupt enables toward the main core
inline constexpr uint32_t DUALINT920 = 0x3B40;
//$3B42  DUALINT940: interrupt enables toward the second core
inline constexpr uint32_t DUALINT940 = 0x3B42;
//$3B44  DUALPEND920: interrupts pending at the main core; a written 1 clears
inline constexpr uint32_t DUALPEND920 = 0x3B44;
//$3B46  DUALPEND940: interrupts pending at the second core; a written 1 clears
inline constexpr uint32_t DUALPEND940 = 0x3B46;
//$3B48  DUALCTRL940: second-core control
inline constexpr uint32_t DUALCTRL940 = 0x3B48;
inline constexpr uint16_t DUALCTRL940_RESET = 0x0080;  // held in reset while set; leaves it at 0
inline constexpr uint16_t DUALCTRL940_HOLD = 0x0083;
inline constexpr uint16_t DUALCTRL940_RUN = 0x0003;
//$0904  SYSCLKENREG: clock enables
inline constexpr uint32_t SYSCLKENREG = 0x0904;
inline constexpr uint16_t SYSCLKENREG_A940TCLK = 0x0001;  // second core's clock: 0 pauses it
