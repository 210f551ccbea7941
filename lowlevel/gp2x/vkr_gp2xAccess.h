// vkr_gp2xAccess.h: the hardware back end's one way to the console's registers. On the console a
// register access is one volatile load or store into the window mapped at start-up; on the PC it is
// a call into the simulated console, which decodes it, so no host memory is ever reached through it.
// Offsets are byte offsets into the register window (0x10000 bytes) or the blitter window (0x200).
#pragma once

#include <cstdint>

// The register window as 16-bit and 32-bit views of one mapping, and the blitter window. Owned by
// the back end's start-up (vkr_lowLevelGP2X.cpp): null while closed, set while open.
extern volatile uint16_t* g_pGP2X_REG16;
extern volatile uint32_t* g_pGP2X_REG32;
extern volatile uint32_t* g_pGP2X_BLITTER_REG;

#if defined(VKR_GP2X_CONSOLE)

inline uint16_t GP2X_ReadReg16(uint32_t offset) { return g_pGP2X_REG16[offset >> 1]; }
inline void GP2X_WriteReg16(uint32_t offset, uint16_t value) { g_pGP2X_REG16[offset >> 1] = value; }
// A 32-bit access uses the aligned word at (offset AND NOT 3).
inline uint32_t GP2X_ReadReg32(uint32_t offset) { return g_pGP2X_REG32[offset >> 2]; }
inline void GP2X_WriteReg32(uint32_t offset, uint32_t value) { g_pGP2X_REG32[offset >> 2] = value; }
inline uint32_t GP2X_ReadBlitter(uint32_t offset) { return g_pGP2X_BLITTER_REG[offset >> 2]; }
inline void GP2X_WriteBlitter(uint32_t offset, uint32_t value) {
  g_pGP2X_BLITTER_REG[offset >> 2] = value;
}

#else  // the PC: the simulated console answers (sim/)

uint16_t GP2X_ReadReg16(uint32_t offset);
void GP2X_WriteReg16(uint32_t offset, uint16_t value);
uint32_t GP2X_ReadReg32(uint32_t offset);
void GP2X_WriteReg32(uint32_t offset, uint32_t value);
uint32_t GP2X_ReadBlitter(uint32_t offset);
void GP2X_WriteBlitter(uint32_t offset, uint32_t value);

#endif

// Read-modify-write of single bits, as the hardware back end sets and clears control bits.
inline void GP2X_SetBits16(uint32_t offset, uint16_t bits) {
  GP2X_WriteReg16(offset, static_cast<uint16_t>(GP2X_ReadReg16(offset) | bits));
}
inline void GP2X_ClearBits16(uint32_t offset, uint16_t bits) {
  GP2X_WriteReg16(offset, static_cast<uint16_t>(GP2X_ReadReg16(offset) & ~bits));
}
