// fake_console.cpp: the caption tests' register file, virtual clock and encoder wiring.
#include "fake_console.h"

#include <cstring>

#include "sim_cx25874.h"
#include "vkr_gp2xAccess.h"
#include "vkr_lowLevel.h"

uint32_t g_ulDISPLAY_MODE = 0;

namespace {

uint16_t g_registers[0x8000];
uint64_t g_timeNs = 1000000000;
uint32_t g_portAccesses = 0;
uint32_t g_allAccesses = 0;
std::vector<std::string> g_trace;

void CollectTrace(void*, const char* line) {
  const char* text = std::strchr(line, ' ');
  g_trace.emplace_back(text ? text + 1 : line);
}

void Count(uint32_t offset) {
  g_timeNs += kAccessNs;
  ++g_allAccesses;
  if (offset == 0x1062 || offset == 0x1022 || offset == 0x1182) ++g_portAccesses;
}

}  // namespace

void FakeConsole_Reset(int standard, uint32_t displayMode) {
  std::memset(g_registers, 0, sizeof g_registers);
  g_portAccesses = g_allAccesses = 0;
  g_trace.clear();
  SIM_CX25874_PowerOn(static_cast<SimTVStandard>(standard));
  SIM_CX25874_SetTraceSink(CollectTrace, nullptr);
  g_ulDISPLAY_MODE = displayMode;
}

uint64_t FakeConsole_TimeNs() { return g_timeNs; }
void FakeConsole_AdvanceNs(uint64_t ns) { g_timeNs += ns; }
uint32_t FakeConsole_PortAccesses() { return g_portAccesses; }
uint32_t FakeConsole_AllAccesses() { return g_allAccesses; }
uint16_t FakeConsole_Register(uint32_t offset) { return g_registers[(offset & 0xFFFF) >> 1]; }
void FakeConsole_SetRegister(uint32_t offset, uint16_t value) {
  g_registers[(offset & 0xFFFF) >> 1] = value;
}
const std::vector<std::string>& FakeConsole_Trace() { return g_trace; }
void FakeConsole_ClearTrace() { g_trace.clear(); }

std::vector<std::string> FakeConsole_EncoderWrites() {
  std::vector<std::string> writes;
  for (const std::string& line : g_trace)
    if (line.rfind("ENC W 0x", 0) == 0 && line.size() == 15)
      writes.push_back(line.substr(8, 2) + "=" + line.substr(13, 2));
  return writes;
}

// ---- The register accessors of the hardware back end ---------------------------------------------
uint16_t GP2X_ReadReg16(uint32_t offset) {
  Count(offset);
  if (offset == 0x1182)
    return static_cast<uint16_t>((FakeConsole_Register(offset) & ~3u) |
                                 SIM_CX25874_PinLevels(g_timeNs));
  return FakeConsole_Register(offset);
}

void GP2X_WriteReg16(uint32_t offset, uint16_t value) {
  Count(offset);
  FakeConsole_SetRegister(offset, value);
  if (offset == 0x1062 || offset == 0x1022)
    SIM_CX25874_PortWritten(g_timeNs, FakeConsole_Register(0x1062), FakeConsole_Register(0x1022));
}

uint32_t GP2X_ReadReg32(uint32_t offset) {
  offset &= ~3u;
  return GP2X_ReadReg16(offset) | static_cast<uint32_t>(GP2X_ReadReg16(offset + 2)) << 16;
}
void GP2X_WriteReg32(uint32_t offset, uint32_t value) {
  offset &= ~3u;
  GP2X_WriteReg16(offset, static_cast<uint16_t>(value));
  GP2X_WriteReg16(offset + 2, static_cast<uint16_t>(value >> 16));
}
uint32_t GP2X_ReadBlitter(uint32_t) { return 0; }
void GP2X_WriteBlitter(uint32_t, uint32_t) {}

// ---- The millisecond clock and the delays, on the virtual clock ----------------------------------
uint32_t VKR_GetTime(uint32_t* milliseconds) {
  if (!milliseconds) return VKR_BAD_ARGUMENT;
  g_timeNs += kAccessNs;
  *milliseconds = static_cast<uint32_t>(g_timeNs / 1000000);
  return VKR_OK;
}

uint32_t VKR_DelayMS(uint32_t milliseconds) {
  g_timeNs += static_cast<uint64_t>(milliseconds) * 1000000;
  return VKR_OK;
}
