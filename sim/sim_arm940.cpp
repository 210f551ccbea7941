// sim_arm940.cpp: the simulated second core: one unicorn ARM946 engine over the shared memory, run
// on the console's virtual clock in step with the main core: whenever the clock passes the core's
// next slice it runs every whole slice up to the present, a slice being 10 us of the processor
// clock's cycles at one instruction a cycle. A core that loops reading memory without changing any
// is idle: it is not run again until a word it reads changes.
#include "sim_arm940.h"

#include <unicorn/unicorn.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <tuple>

#include "sim_state.h"

namespace {

constexpr uint64_t kNeverReached = 0xFFFFFFFC;  // outside the memory: a run ends on its count
constexpr uint32_t kCpsrThumb = 0x20;
constexpr uint64_t kSliceNs = 10000;
// Slices run by one call of the engine at most, so an idle loop is found within them.
constexpr uint64_t kSlicesARun = 16;
// The longest loop that is recognised as idle, in instructions, and the words it may read.
constexpr int kIdleLoopMax = 16;
constexpr size_t kWatchedMax = std::tuple_size_v<decltype(SimSecondCore::watched)>;

constexpr int kRegisters[] = {
    UC_ARM_REG_R0, UC_ARM_REG_R1, UC_ARM_REG_R2,  UC_ARM_REG_R3,  UC_ARM_REG_R4,
    UC_ARM_REG_R5, UC_ARM_REG_R6, UC_ARM_REG_R7,  UC_ARM_REG_R8,  UC_ARM_REG_R9,
    UC_ARM_REG_R10, UC_ARM_REG_R11, UC_ARM_REG_R12, UC_ARM_REG_SP, UC_ARM_REG_LR,
    UC_ARM_REG_PC, UC_ARM_REG_CPSR};
using RegisterFile = std::array<uint32_t, std::size(kRegisters)>;

// The second core's state is the console's (g_sim.secondCore, SimSecondCore in sim_state.h).
SimSecondCore& Core() { return g_sim.secondCore; }

// Counts the writes that change memory: storing what a word already holds (a loop mirroring a value
// it computes) leaves nothing another core could see.
void CountWrite(uc_engine*, uc_mem_type, uint64_t address, int size, int64_t value, void*) {
  if (address + static_cast<uint64_t>(size) > Core().size || size > 8) {
    ++Core().writes;
    return;
  }
  uint64_t held = 0;
  std::memcpy(&held, Core().memory + address, static_cast<size_t>(size));
  const uint64_t mask = size == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * size)) - 1;
  if ((held & mask) != (static_cast<uint64_t>(value) & mask)) ++Core().writes;
}

void WatchRead(uc_engine*, uc_mem_type, uint64_t address, int size, int64_t, void*) {
  const uint32_t word = static_cast<uint32_t>(address) & ~3u;
  for (size_t n = 0; n < Core().watchedCount; ++n)
    if (Core().watched[n].address == word) return;
  if (Core().watchedCount == kWatchedMax || word + 4 > Core().size || size > 4) {
    Core().watchOverflow = true;
    return;
  }
  uint32_t value;
  std::memcpy(&value, Core().memory + word, 4);
  Core().watched[Core().watchedCount++] = {word, value};
}

void CloseEngine() {
  if (Core().engine) uc_close(Core().engine);
  Core().engine = nullptr;
}

bool NewEngine() {
  CloseEngine();
  uc_engine* uc = nullptr;
  if (uc_open(UC_ARCH_ARM, UC_MODE_ARM, &uc) != UC_ERR_OK) return false;
  if (uc_ctl_set_cpu_model(uc, UC_CPU_ARM_946) != UC_ERR_OK ||
      uc_mem_map_ptr(uc, 0, Core().size, UC_PROT_ALL, Core().memory) != UC_ERR_OK ||
      uc_hook_add(uc, &Core().writeHook, UC_HOOK_MEM_WRITE, reinterpret_cast<void*>(CountWrite),
                  nullptr, 1, 0) != UC_ERR_OK) {
    uc_close(uc);
    return false;
  }
  Core().engine = uc;
  return true;
}

bool Running() { return Core().open && !Core().held && Core().clock && !Core().faulted && Core().engine; }

// The next time the clock must call: a slice after the core's time while it runs (idle too: its
// watched words are looked at then), never otherwise.
void Schedule() {
  g_sim.clock.secondCoreDueNs = Running() ? Core().timeNs + kSliceNs : UINT64_MAX;
}

RegisterFile ReadRegisters() {
  RegisterFile file{};
  for (size_t n = 0; n < file.size(); ++n) uc_reg_read(Core().engine, kRegisters[n], &file[n]);
  return file;
}

// Runs count instructions from where the core stopped; false when it faulted.
bool Run(uint64_t count) {
  uint32_t cpsr = 0;
  uc_reg_read(Core().engine, UC_ARM_REG_CPSR, &cpsr);
  const uint64_t begin = Core().pc | ((cpsr & kCpsrThumb) ? 1u : 0u);
  const uc_err result = uc_emu_start(Core().engine, begin, kNeverReached, 0, count);
  uc_reg_read(Core().engine, UC_ARM_REG_PC, &Core().pc);
  if (result == UC_ERR_OK && Core().pc != kNeverReached) return true;
  Core().faulted = true;
  std::fprintf(stderr, "sim: second core stopped at 0x%08X: %s\n", Core().pc, uc_strerror(result));
  return false;
}

// After a run without writes: steps the core an instruction at a time looking for its state to come
// back unchanged, with nothing written, within kIdleLoopMax instructions. Then it is idle on the
// words its loop read.
void LookForIdleLoop() {
  const RegisterFile start = ReadRegisters();
  const uint64_t writes = Core().writes;
  Core().watchedCount = 0;
  Core().watchOverflow = false;
  uc_hook readHook = 0;
  if (uc_hook_add(Core().engine, &readHook, UC_HOOK_MEM_READ, reinterpret_cast<void*>(WatchRead),
                  nullptr, 1, 0) != UC_ERR_OK)
    return;
  for (int step = 0; step < kIdleLoopMax && Core().writes == writes && !Core().watchOverflow; ++step) {
    if (!Run(1)) break;
    if (ReadRegisters() == start) {
      Core().idle = Core().writes == writes && !Core().watchOverflow;
      break;
    }
  }
  uc_hook_del(Core().engine, readHook);
}

bool WatchedWordsChanged() {
  for (size_t n = 0; n < Core().watchedCount; ++n) {
    uint32_t value;
    std::memcpy(&value, Core().memory + Core().watched[n].address, 4);
    if (value != Core().watched[n].value) return true;
  }
  return false;
}

// Instructions a slice: one a cycle of the processor clock the registers set.
uint64_t InstructionsASlice() { return SimClock_CpuHz() * kSliceNs / 1000000000; }

}  // namespace

bool SimArm940_Open(uint8_t* memory, uint32_t size) {
  if (Core().open || !memory || size == 0 || size % 0x1000 != 0) return false;
  Core() = SimSecondCore{};
  Core().memory = memory;
  Core().size = size;
  if (!NewEngine()) return false;  // the emulator cannot start: nothing is left open
  Core().open = true;
  Schedule();
  return true;
}

void SimArm940_Control(uint16_t dualCtrl940, uint16_t sysClkEn) {
  if (!Core().open) return;
  SimArm940_CatchUp();  // up to now under the old control
  const bool held = (dualCtrl940 & 0x0080) != 0;
  const bool clock = (sysClkEn & 0x0001) != 0;
  if (Core().held && !held) {
    // Out of reset at address 0 with its reset state: a fresh engine.
    ++Core().releases;
    Core().faulted = !NewEngine();
    Core().pc = 0;
    Core().idle = false;
  }
  if (held != Core().held || clock != Core().clock) Core().timeNs = g_sim.clock.nowNs;
  Core().held = held;
  Core().clock = clock;
  Schedule();
}

void SimArm940_CatchUp() {
  if (!Running()) return Schedule();
  const uint64_t now = g_sim.clock.nowNs;
  while (Running() && Core().timeNs + kSliceNs <= now) {
    const uint64_t slices = (now - Core().timeNs) / kSliceNs;
    if (Core().idle) {
      if (!WatchedWordsChanged()) {
        Core().timeNs += slices * kSliceNs;
        break;
      }
      Core().idle = false;
    }
    const uint64_t run = slices < kSlicesARun ? slices : kSlicesARun;
    const uint64_t writes = Core().writes;
    Core().timeNs += run * kSliceNs;
    if (Run(run * InstructionsASlice()) && Core().writes == writes) LookForIdleLoop();
  }
  Schedule();
}

SimArm940Status SimArm940_GetStatus() {
  SimArm940Run run = SimArm940Run::Running;
  if (Core().held) {
    run = SimArm940Run::Held;
  } else if (Core().faulted) {
    run = SimArm940Run::Faulted;
  } else if (!Core().clock) {
    run = SimArm940Run::Paused;
  }
  return {run, Core().held ? 0u : Core().pc, Core().releases};
}

void SimArm940_Close() {
  CloseEngine();
  Core() = SimSecondCore{};
  g_sim.clock.secondCoreDueNs = UINT64_MAX;
}
