// access_probe.cpp: the console's register accessors in small functions, compiled for the console
// and disassembled by check_access.cmake, which counts the loads and stores in each one.
#include "vkr_gp2xAccess.h"

extern "C" {

// What fetching each window's base costs, without touching a register.
volatile uint16_t* Probe_Base16() { return g_pGP2X_REG16; }
volatile uint32_t* Probe_Base32() { return g_pGP2X_REG32; }
volatile uint32_t* Probe_BaseBlitter() { return g_pGP2X_BLITTER_REG; }

uint16_t Probe_Read16() { return GP2X_ReadReg16(0x2802); }
void Probe_Write16(uint16_t value) { GP2X_WriteReg16(0x2802, value); }
uint32_t Probe_Read32() { return GP2X_ReadReg32(0x0A00); }
void Probe_Write32(uint32_t value) { GP2X_WriteReg32(0x0A00, value); }
uint32_t Probe_ReadBlitter() { return GP2X_ReadBlitter(0x34); }
void Probe_WriteBlitter(uint32_t value) { GP2X_WriteBlitter(0x34, value); }
void Probe_SetBits16() { GP2X_SetBits16(0x2802, 0x0100); }

}
