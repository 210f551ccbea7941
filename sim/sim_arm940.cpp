// sim_arm940.cpp: the simulated second core: one unicorn ARM946 engine over the shared memory, run
// by a thread of its own between the register decoder's control changes.
#include "sim_arm940.h"

#include <unicorn/unicorn.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {

constexpr uint64_t kNeverReached = 0xFFFFFFFC;  // outside the memory: the run ends only on a stop
constexpr uint32_t kCpsrThumb = 0x20;

}  // namespace

// The second core. Open, Control, GetStatus and Close come from the decoder's thread; the core's
// thread runs the engine. Everything below is guarded by g_arm940Mutex; the engine itself is used
// unlocked by the core's thread while it runs, and the decoder only ever asks it to stop. A new
// engine is made (by the core's thread, while it does not run) at every release from reset.
static std::mutex g_arm940Mutex;
static std::condition_variable g_arm940Changed;
static std::thread g_arm940Thread;
static uc_engine* g_pArm940Engine = nullptr;
static uint8_t* g_pArm940Memory = nullptr;
static uint32_t g_ulArm940MemorySize = 0;
static bool g_bArm940Open = false;
static bool g_bArm940Held = true;        // GP2X_DUALCTRL940 reset bit
static bool g_bArm940Clock = true;       // GP2X_SYSCLKENREG second-core clock bit
static bool g_bArm940ResetDue = false;   // released from reset, not yet restarted
static bool g_bArm940Faulted = false;
static bool g_bArm940Quit = false;
static bool g_bArm940Parked = true;      // the core's thread is not running the engine
static uint32_t g_ulArm940PC = 0;
static uint32_t g_ulArm940Releases = 0;

static uc_engine* NewEngine() {
  uc_engine* uc = nullptr;
  if (uc_open(UC_ARCH_ARM, UC_MODE_ARM, &uc) != UC_ERR_OK) return nullptr;
  if (uc_ctl_set_cpu_model(uc, UC_CPU_ARM_946) != UC_ERR_OK ||
      uc_mem_map_ptr(uc, 0, g_ulArm940MemorySize, UC_PROT_ALL, g_pArm940Memory) != UC_ERR_OK) {
    uc_close(uc);
    return nullptr;
  }
  return uc;
}

static void Arm940Thread() {
  std::unique_lock lock(g_arm940Mutex);
  while (!g_bArm940Quit) {
    if (g_bArm940ResetDue) {
      g_bArm940ResetDue = false;
      if (g_pArm940Engine) uc_close(g_pArm940Engine);
      g_pArm940Engine = NewEngine();
      g_bArm940Faulted = !g_pArm940Engine;
      g_ulArm940PC = 0;
    }
    if (g_bArm940Held || !g_bArm940Clock || g_bArm940Faulted) {
      g_bArm940Parked = true;
      g_arm940Changed.notify_all();
      g_arm940Changed.wait(lock);
      continue;
    }
    g_bArm940Parked = false;
    uc_engine* uc = g_pArm940Engine;
    uint32_t cpsr = 0;
    uc_reg_read(uc, UC_ARM_REG_CPSR, &cpsr);
    const uint64_t begin = g_ulArm940PC | ((cpsr & kCpsrThumb) ? 1u : 0u);
    lock.unlock();
    const uc_err result = uc_emu_start(uc, begin, kNeverReached, 0, 0);
    lock.lock();
    uc_reg_read(uc, UC_ARM_REG_PC, &g_ulArm940PC);
    if (result != UC_ERR_OK || g_ulArm940PC == kNeverReached) {
      g_bArm940Faulted = true;
      std::fprintf(stderr, "sim: second core stopped at 0x%08X: %s\n", g_ulArm940PC,
                   uc_strerror(result));
    }
  }
  g_bArm940Parked = true;
  g_arm940Changed.notify_all();
}

// Until the core's thread is parked, keeps asking the engine to stop (a request that comes just
// before a run begins is not seen by that run, hence the repeat).
static void WaitParked(std::unique_lock<std::mutex>& lock) {
  while (!g_bArm940Parked) {
    if (g_pArm940Engine) uc_emu_stop(g_pArm940Engine);
    g_arm940Changed.wait_for(lock, std::chrono::milliseconds(1));
  }
}

bool SimArm940_Open(uint8_t* memory, uint32_t size) {
  std::unique_lock lock(g_arm940Mutex);
  if (g_bArm940Open || !memory || size == 0 || size % 0x1000 != 0) return false;
  g_pArm940Memory = memory;
  g_ulArm940MemorySize = size;
  g_pArm940Engine = NewEngine();
  if (!g_pArm940Engine) return false;
  g_bArm940Held = true;
  g_bArm940Clock = true;
  g_bArm940ResetDue = g_bArm940Faulted = g_bArm940Quit = false;
  g_bArm940Parked = true;
  g_ulArm940PC = 0;
  g_ulArm940Releases = 0;
  g_bArm940Open = true;
  g_arm940Thread = std::thread(Arm940Thread);
  return true;
}

void SimArm940_Control(uint16_t dualCtrl940, uint16_t sysClkEn) {
  std::unique_lock lock(g_arm940Mutex);
  if (!g_bArm940Open) return;
  const bool held = (dualCtrl940 & 0x0080) != 0;
  if (g_bArm940Held && !held) {
    g_bArm940ResetDue = true;
    ++g_ulArm940Releases;
  }
  g_bArm940Held = held;
  g_bArm940Clock = (sysClkEn & 0x0001) != 0;
  g_arm940Changed.notify_all();
  if (g_bArm940Held || !g_bArm940Clock) WaitParked(lock);
}

SimArm940Status SimArm940_GetStatus() {
  std::unique_lock lock(g_arm940Mutex);
  SimArm940Run run = SimArm940Run::Running;
  if (g_bArm940Held) {
    run = SimArm940Run::Held;
  } else if (g_bArm940Faulted) {
    run = SimArm940Run::Faulted;
  } else if (!g_bArm940Clock) {
    run = SimArm940Run::Paused;
  }
  return {run, g_bArm940Held ? 0u : g_ulArm940PC, g_ulArm940Releases};
}

void SimArm940_Close() {
  std::unique_lock lock(g_arm940Mutex);
  if (!g_bArm940Open) return;
  g_bArm940Quit = true;
  g_arm940Changed.notify_all();
  WaitParked(lock);
  lock.unlock();
  g_arm940Thread.join();
  lock.lock();
  if (g_pArm940Engine) uc_close(g_pArm940Engine);
  g_pArm940Engine = nullptr;
  g_pArm940Memory = nullptr;
  g_ulArm940MemorySize = 0;
  g_bArm940Open = false;
}
