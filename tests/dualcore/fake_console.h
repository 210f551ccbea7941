// fake_console.h: a test-local stand-in for the simulated console's register window, enough for
// the second core: a plain file of halfword registers whose writes to GP2X_DUALCTRL940 and GP2X_SYSCLKENREG
// reach the simulated second core, and the 6 MiB second-core memory.
#pragma once

#include <cstdint>

// Allocates the second-core memory, sets g_pGP2X_DUALCORE_MEM, starts the simulated core (held).
bool FakeConsole_Open();
// Stops the simulated core, frees the memory, clears g_pGP2X_DUALCORE_MEM.
void FakeConsole_Close();
// The second-core memory word at a second-core address.
uint32_t FakeConsole_Word(uint32_t address);
