// sim_arm940.h: the simulated console's second core: an ARM946-model CPU (the unicorn emulator,
// which executes this core family's protection-unit and cache instructions) running whatever is in
// the shared second-core memory on the console's virtual clock, in step with the main core, held,
// released and paused by two registers.
//
// Use, all from one thread (the simulated console's register decoder):
//   SimArm940_Open(memory, size)  once the second-core memory exists; the core starts held.
//   SimArm940_Control(dualCtrl940, sysClkEn)  after every write to GP2X_DUALCTRL940 (0x3B48) and to
//     GP2X_SYSCLKENREG (0x0904), with the values both registers hold after the write:
//       GP2X_DUALCTRL940 bit 7 set: the core is held in reset. When it clears, the core leaves reset
//         at address 0 with its reset state (registers, protection unit and caches off).
//       GP2X_SYSCLKENREG bit 0 clear: the core's clock stops; it stays where it is and goes on from
//         there when the bit is set again.
//     The core runs up to the present under the old setting first.
//   SimArm940_CatchUp()  when the clock passes g_sim.clock.secondCoreDueNs: the core runs every
//     whole slice (10 us, an instruction a cycle of the processor clock) up to the present.
//   SimArm940_Close()  before the memory is freed: stops the emulator.
// The core sees the memory at its address 0 and nothing else: any access outside it, or an
// instruction the emulator cannot run, stops the core (faulted) until its next reset.
#pragma once

#include <cstdint>

enum class SimArm940Run { Held, Paused, Running, Faulted };

struct SimArm940Status {
  SimArm940Run run;
  uint32_t pc;        // where it stopped (held: 0)
  uint32_t releases;  // times it left reset since Open
};

// size: a multiple of 4 KiB; memory: size bytes, valid until SimArm940_Close. False if the
// emulator cannot start (nothing is left open) or it is already open.
bool SimArm940_Open(uint8_t* memory, uint32_t size);
void SimArm940_Control(uint16_t dualCtrl940, uint16_t sysClkEn);
void SimArm940_CatchUp();
SimArm940Status SimArm940_GetStatus();
void SimArm940_Close();
