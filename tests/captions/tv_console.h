// tv_console.h: the simulated console for the caption tests: powered on for an output on the
// virtual clock with the hardware back end started, and the encoder's decoded transfers collected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim.h"

// Powers the console on afresh for `tv` with the back end started on it, then sets the display
// mode (the back end's own state) to `displayMode`. The encoder's trace lines are collected here.
void TVConsole_PowerOn(SimTV tv, uint32_t displayMode, uint32_t faults = 0);
// The same with the whole configuration given (the virtual clock is used whatever it says).
void TVConsole_PowerOnWith(SimConfig config, uint32_t displayMode);
// The back end handed back and the console off.
void TVConsole_PowerOff();
// The encoder's trace lines without their time: "ENC W 0x8C 0x43".
const std::vector<std::string>& TVConsole_Trace();
void TVConsole_ClearTrace();
// Just the register writes of the trace, as "8C=43".
std::vector<std::string> TVConsole_EncoderWrites();
