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

#include "sim_state.h"

namespace {

constexpr uint64_t kNeverReached = 0xFFFFFFFC;  // outside the memory: a run ends on its count
constexpr uint32_t kCpsrThumb = 0x20;
constexpr uint64_t kSliceNs = 10000;
// Slices run by one call of the engine at most, so an idle loop is found within them.
constexpr uint64_t kSlicesARun = 16;
// The longest loop that is recognised as idle, in instructions, and the words it may read.
constexpr int kIdleLoopMax = 16;
constexpr size_t kWatchedMax = 8;

constexpr int kRegisters[] = {
    UC_ARM_REG_R0, UC_ARM_REG_R1, UC_ARM_REG_R2,  UC_ARM_REG_R3,  UC_ARM_REG_R4,
    UC_ARM_REG_R5, UC_ARM_REG_R6, UC_ARM_REG_R7,  UC_ARM_REG_R8,  UC_ARM_REG_R9,
    UC_ARM_REG_R10, UC_ARM_REG_R11, UC_ARM_REG_R12, UC_ARM_REG_SP, UC_ARM_REG_LR,
    UC_ARM_REG_PC, UC_ARM_REG_CPSR};
using RegisterFile = std::array<uint32_t, std::size(kRegisters)>;

struct Watched {
  uint32_t address, value;
};

// The second core. Main thread of the simulated console only.
struct SecondCore {
  uc_engine* engine = nullptr;
  uc_hook writeHook = 0;
  uint8_t* memory = nullptr;
  uint32_t size = 0;
  bool open = false, held = true, clock = true, faulted = false;
  uint32_t pc = 0, releases = 0;
  uint64_t timeNs = 0;              // the core has run up to here
  uint64_t writes = 0;              // memory writes by the core
  // Idle: the words its loop reads, with the values they held.
  bool idle = false;
  std::array<Watched, kWatchedMax> watched{};
  size_t watchedCount = 0;
  bool watchOverflow = false;
};
SecondCore core;

// Counts the writes that change memory: storing what a word already holds (a loop mirroring a value
// it computes) leaves nothing another core could see.
void CountWrite(uc_engine*, uc_mem_type, uint64_t address, int size, int64_t value, void*) {
  if (address + static_cast<uint64_t>(size) > core.size || size > 8) {
    ++core.writes;
    return;
  }
  uint64_t held = 0;
  std::memcpy(&held, core.memory + address, static_cast<size_t>(size));
  const uint64_t mask = size == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * size)) - 1;
  if ((held & mask) != (static_cast<uint64_t>(value) & mask)) ++core.writes;
}

void WatchRead(uc_engine*, uc_mem_type, uint64_t address, int size, int64_t, void*) {
  const uint32_t word = static_cast<uint32_t>(address) & ~3u;
  for (size_t n = 0; n < core.watchedCount; ++n)
    if (core.watched[n].address == word) return;
  if (core.watchedCount == kWatchedMax || word + 4 > core.size || size > 4) {
    core.watchOverflow = true;
    return;
  }
  uint32_t value;
  std::memcpy(&value, core.memory + word, 4);
  core.watched[core.watchedCount++] = {word, value};
}

void CloseEngine() {
  if (core.engine) uc_close(core.engine);
  core.engine = nullptr;
}

bool NewEngine() {
  CloseEngine();
  uc_engine* uc = nullptr;
  if (uc_open(UC_ARCH_ARM, UC_MODE_ARM, &uc) != UC_ERR_OK) return false;
  if (uc_ctl_set_cpu_model(uc, UC_CPU_ARM_946) != UC_ERR_OK ||
      uc_mem_map_ptr(uc, 0, core.size, UC_PROT_ALL, core.memory) != UC_ERR_OK ||
      uc_hook_add(uc, &core.writeHook, UC_HOOK_MEM_WRITE, reinterpret_cast<void*>(CountWrite),
                  nullptr, 1, 0) != UC_ERR_OK) {
    uc_close(uc);
    return false;
  }
  core.engine = uc;
  return true;
}

bool Running() { return core.open && !core.held && core.clock && !core.faulted && core.engine; }

// The next time the clock must call: a slice after the core's time while it runs (idle too: its
// watched words are looked at then), never otherwise.
void Schedule() {
  g_sim.clock.secondCoreDueNs = Running() ? core.timeNs + kSliceNs : UINT64_MAX;
}

RegisterFile ReadRegisters() {
  RegisterFile file{};
  for (size_t n = 0; n < file.size(); ++n) uc_reg_read(core.engine, kRegisters[n], &file[n]);
  return file;
}

// Runs count instructions from where the core stopped; false when it faulted.
bool Run(uint64_t count) {
  uint32_t cpsr = 0;
  uc_reg_read(core.engine, UC_ARM_REG_CPSR, &cpsr);
  const uint64_t begin = core.pc | ((cpsr & kCpsrThumb) ? 1u : 0u);
  const uc_err result = uc_emu_start(core.engine, begin, kNeverReached, 0, count);
  uc_reg_read(core.engine, UC_ARM_REG_PC, &core.pc);
  if (result == UC_ERR_OK && core.pc != kNeverReached) return true;
  core.faulted = true;
  std::fprintf(stderr, "sim: second core stopped at 0x%08X: %s\n", core.pc, uc_strerror(result));
  return false;
}

// After a run without writes: steps the core an instruction at a time looking for its state to come
// back unchanged, with nothing written, within kIdleLoopMax instructions. Then it is idle on the
// words its loop read.
void LookForIdleLoop() {
  const RegisterFile start = ReadRegisters();
  const uint64_t writes = core.writes;
  core.watchedCount = 0;
  core.watchOverflow = false;
  uc_hook readHook = 0;
  if (uc_hook_add(core.engine, &readHook, UC_HOOK_MEM_READ, reinterpret_cast<void*>(WatchRead),
                  nullptr, 1, 0) != UC_ERR_OK)
    return;
  for (int step = 0; step < kIdleLoopMax && core.writes == writes && !core.watchOverflow; ++step) {
    if (!Run(1)) break;
    if (ReadRegisters() == start) {
      core.idle = core.writes == writes && !core.watchOverflow;
      break;
    }
  }
  uc_hook_del(core.engine, readHook);
}

bool WatchedWordsChanged() {
  for (size_t n = 0; n < core.watchedCount; ++n) {
    uint32_t value;
    std::memcpy(&value, core.memory + core.watched[n].address, 4);
    if (value != core.watched[n].value) return true;
  }
  return false;
}

// Instructions a slice: one a cycle of the processor clock the registers set.
uint64_t InstructionsASlice() { return SimClock_CpuHz() * kSliceNs / 1000000000; }

}  // namespace

bool SimArm940_Open(uint8_t* memory, uint32_t size) {
  if (core.open || !memory || size == 0 || size % 0x1000 != 0) return false;
  core = SecondCore{};
  core.memory = memory;
  core.size = size;
  if (!NewEngine()) return false;  // the emulator cannot start: nothing is left open
  core.open = true;
  Schedule();
  return true;
}

void SimArm940_Control(uint16_t dualCtrl940, uint16_t sysClkEn) {
  if (!core.open) return;
  SimArm940_CatchUp();  // up to now under the old control
  const bool held = (dualCtrl940 & 0x0080) != 0;
  const bool clock = (sysClkEn & 0x0001) != 0;
  if (core.held && !held) {
    // Out of reset at address 0 with its reset state: a fresh engine.
    ++core.releases;
    core.faulted = !NewEngine();
    core.pc = 0;
    core.idle = false;
  }
  if (held != core.held || clock != core.clock) core.timeNs = g_sim.clock.nowNs;
  core.held = held;
  core.clock = clock;
  Schedule();
}

void SimArm940_CatchUp() {
  if (!Running()) return Schedule();
  const uint64_t now = g_sim.clock.nowNs;
  while (Running() && core.timeNs + kSliceNs <= now) {
    const uint64_t slices = (now - core.timeNs) / kSliceNs;
    if (core.idle) {
      if (!WatchedWordsChanged()) {
        core.timeNs += slices * kSliceNs;
        break;
      }
      core.idle = false;
    }
    const uint64_t run = slices < kSlicesARun ? slices : kSlicesARun;
    const uint64_t writes = core.writes;
    core.timeNs += run * kSliceNs;
    if (Run(run * InstructionsASlice()) && core.writes == writes) LookForIdleLoop();
  }
  Schedule();
}

SimArm940Status SimArm940_GetStatus() {
  SimArm940Run run = SimArm940Run::Running;
  if (core.held) {
    run = SimArm940Run::Held;
  } else if (core.faulted) {
    run = SimArm940Run::Faulted;
  } else if (!core.clock) {
    run = SimArm940Run::Paused;
  }
  return {run, core.held ? 0u : core.pc, core.releases};
}

void SimArm940_Close() {
  CloseEngine();
  core = SecondCore{};
  g_sim.clock.secondCoreDueNs = UINT64_MAX;
}
