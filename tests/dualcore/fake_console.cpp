// fake_console.cpp: the test-local register file and second-core memory behind the back end's
// register accessor (GP2X_*), wired to the simulated second core.
#include "fake_console.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "sim_arm940.h"
#include "vkr_gp2xAccess.h"
#include "vkr_gp2xDualCore.h"
#include "vkr_gp2xRegisters.h"

volatile uint16_t* g_pGP2X_REG16 = nullptr;
volatile uint32_t* g_pGP2X_REG32 = nullptr;
volatile uint32_t* g_pGP2X_BLITTER_REG = nullptr;
volatile uint32_t* g_pGP2X_DUALCORE_MEM = nullptr;

static std::array<uint16_t, 0x8000> g_usFakeRegisters{};
static uint8_t* g_pFakeDualCoreMemory = nullptr;

uint16_t GP2X_ReadReg16(uint32_t offset) { return g_usFakeRegisters[(offset & 0xFFFF) >> 1]; }

void GP2X_WriteReg16(uint32_t offset, uint16_t value) {
  offset &= 0xFFFE;
  g_usFakeRegisters[offset >> 1] = value;
  if (offset == GP2X_DUALCTRL940 || offset == GP2X_SYSCLKENREG) {
    SimArm940_Control(g_usFakeRegisters[GP2X_DUALCTRL940 >> 1], g_usFakeRegisters[GP2X_SYSCLKENREG >> 1]);
  }
}

uint32_t GP2X_ReadReg32(uint32_t offset) {
  offset &= 0xFFFC;
  return GP2X_ReadReg16(offset) | static_cast<uint32_t>(GP2X_ReadReg16(offset + 2)) << 16;
}

void GP2X_WriteReg32(uint32_t offset, uint32_t value) {
  offset &= 0xFFFC;
  GP2X_WriteReg16(offset, static_cast<uint16_t>(value));
  GP2X_WriteReg16(offset + 2, static_cast<uint16_t>(value >> 16));
}

uint32_t GP2X_ReadBlitter(uint32_t) { return 0; }
void GP2X_WriteBlitter(uint32_t, uint32_t) {}

bool FakeConsole_Open() {
  g_usFakeRegisters.fill(0);
  g_usFakeRegisters[GP2X_DUALCTRL940 >> 1] = GP2X_DUALCTRL940_HOLD;
  g_usFakeRegisters[GP2X_SYSCLKENREG >> 1] = GP2X_SYSCLKEN_ARM940;
  g_pFakeDualCoreMemory =
      static_cast<uint8_t*>(std::aligned_alloc(0x1000, GP2X_DUALCORE_MEM_SIZE));
  if (!g_pFakeDualCoreMemory) return false;
  std::memset(g_pFakeDualCoreMemory, 0, GP2X_DUALCORE_MEM_SIZE);
  if (!SimArm940_Open(g_pFakeDualCoreMemory, GP2X_DUALCORE_MEM_SIZE)) {
    std::free(g_pFakeDualCoreMemory);
    g_pFakeDualCoreMemory = nullptr;
    return false;
  }
  g_pGP2X_DUALCORE_MEM = reinterpret_cast<volatile uint32_t*>(g_pFakeDualCoreMemory);
  return true;
}

void FakeConsole_Close() {
  SimArm940_Close();
  g_pGP2X_DUALCORE_MEM = nullptr;
  std::free(g_pFakeDualCoreMemory);
  g_pFakeDualCoreMemory = nullptr;
}

uint32_t FakeConsole_Word(uint32_t address) { return g_pGP2X_DUALCORE_MEM[address / 4]; }
