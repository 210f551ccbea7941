// fake_console.h: a register file and a virtual clock standing in for the simulated console in the
// caption tests. Port B writes drive the simulated encoder; the millisecond clock and the delays
// run on the virtual clock, which every register access moves on by kAccessNs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint64_t kAccessNs = 500;

// The hardware back end's current display mode; the back end's start-up owns it, here the fake.
extern uint32_t g_ulDISPLAY_MODE;

// Clears the registers, the counters and the trace, powers the encoder on for `standard` and sets
// the display mode. Virtual time keeps running (the encoder's clock never goes back).
void FakeConsole_Reset(int standard, uint32_t displayMode);
uint64_t FakeConsole_TimeNs();
void FakeConsole_AdvanceNs(uint64_t ns);
// Register accesses of port B (output, pin function, pin levels) since the last reset.
uint32_t FakeConsole_PortAccesses();
uint32_t FakeConsole_AllAccesses();
uint16_t FakeConsole_Register(uint32_t offset);
void FakeConsole_SetRegister(uint32_t offset, uint16_t value);
// The encoder's trace lines without their time: "ENC W 0x8C 0x43".
const std::vector<std::string>& FakeConsole_Trace();
void FakeConsole_ClearTrace();
// Just the register writes of the trace, as "8C=43".
std::vector<std::string> FakeConsole_EncoderWrites();
