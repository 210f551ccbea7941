// vkr_winDualCore.cpp: a thread that stands in for the second core, taking commands from the
// 1000-entry queue the main thread fills. Each index has one writer; the pending count is changed
// by both threads with atomic read-modify-writes. The thread stops cooperatively at a flag. A host
// with one thread (a web page) has the commands run on the program's thread instead, whenever it
// waits: for the queue to empty, for room in it, or for the next frame.
#include <SDL.h>
#include <SDL_thread.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <thread>

#include "vkr_winState.h"

namespace {

constexpr uint32_t kQueueCapacity = 1000;

// Field order as the second core's queue header has it.
struct DualCoreItemHdr {
  uint32_t writeIndex;                 // sender only
  uint32_t readIndex;                  // receiver only
  std::atomic<uint32_t> pending;       // both threads
  uint32_t capacity;
  std::atomic<uint32_t> sent;          // sender only; read by the getters
  std::atomic<uint32_t> processed;     // receiver only; read by the getters
  uint32_t* senderRing;
  uint32_t* receiverRing;
};
// The second core's header is eight u32 from 0x00; here the two ring addresses are the host's
// pointers, which on a 32-bit host land at 0x18 and 0x1C as there.
static_assert(sizeof(std::atomic<uint32_t>) == 4 && std::atomic<uint32_t>::is_always_lock_free);
static_assert(offsetof(DualCoreItemHdr, writeIndex) == 0x00 &&
              offsetof(DualCoreItemHdr, readIndex) == 0x04 &&
              offsetof(DualCoreItemHdr, pending) == 0x08 &&
              offsetof(DualCoreItemHdr, capacity) == 0x0C &&
              offsetof(DualCoreItemHdr, sent) == 0x10 &&
              offsetof(DualCoreItemHdr, processed) == 0x14 &&
              offsetof(DualCoreItemHdr, senderRing) == 0x18 &&
              offsetof(DualCoreItemHdr, receiverRing) == 0x18 + sizeof(uint32_t*));

}  // namespace

// The queue and its thread; the main thread starts, stops and sends, the thread only receives.
static std::array<uint32_t, kQueueCapacity> g_ulDualCoreMsg{};
static DualCoreItemHdr g_dualCoreItemHdr{};
static SDL_Thread* g_ThreadId = nullptr;
static std::atomic<bool> bStopReceiver{false};
// Set by the host; while started so, the caller's waits take the commands.
static bool g_bDualCoreOnCaller = false;
static bool g_bDualCoreRunsOnCaller = false;

__attribute__((weak)) void VKR_Arm940T_Main(uint32_t) {}

static void ProcessOneCommand() {
  DualCoreItemHdr& queue = g_dualCoreItemHdr;
  VKR_Arm940T_Main(queue.receiverRing[queue.readIndex]);
  queue.readIndex = queue.readIndex + 1 == queue.capacity ? 0 : queue.readIndex + 1;
  queue.pending.fetch_sub(1, std::memory_order_acq_rel);
  queue.processed.fetch_add(1, std::memory_order_release);
}

static int Arm940Thread(void*) {
  while (!bStopReceiver.load(std::memory_order_acquire)) {
    if (g_dualCoreItemHdr.pending.load(std::memory_order_acquire) == 0) {
      std::this_thread::yield();
      continue;
    }
    ProcessOneCommand();
  }
  return 0;
}

// One step of a wait for the second core: on the caller it is the second core's turn.
static void LetSecondCoreWork() {
  if (g_bDualCoreRunsOnCaller)
    ProcessOneCommand();
  else
    std::this_thread::yield();
}

void VKR_WinRunSecondCoreOnCaller(bool onCaller) { g_bDualCoreOnCaller = onCaller; }

void VKR_WinRunPendingSecondCoreCommands() {
  while (g_bDualCoreRunsOnCaller && g_dualCoreItemHdr.pending.load() != 0) ProcessOneCommand();
}

void VKR_WinStopDualCoreThread() {
  g_bDualCoreRunsOnCaller = false;
  if (!g_ThreadId) return;
  bStopReceiver.store(true, std::memory_order_release);
  SDL_WaitThread(g_ThreadId, nullptr);
  g_ThreadId = nullptr;
}

void VKR_WinResetDualCore() {
  VKR_WinStopDualCoreThread();
  DualCoreItemHdr& queue = g_dualCoreItemHdr;
  queue.writeIndex = queue.readIndex = 0;
  queue.pending.store(0);
  queue.capacity = kQueueCapacity;
  queue.sent.store(0);
  queue.processed.store(0);
  queue.senderRing = queue.receiverRing = g_ulDualCoreMsg.data();
}

uint32_t VKR_DualCoreStart(const uint32_t*, uint32_t) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  VKR_WinStopDualCoreThread();
  if (g_bDualCoreOnCaller) {
    g_bDualCoreRunsOnCaller = true;
    return VKR_OK;
  }
  bStopReceiver.store(false);
  g_ThreadId = SDL_CreateThread(Arm940Thread, nullptr);
  return g_ThreadId ? VKR_OK : VKR_ERROR;
}

uint32_t VKR_DualCoreStop() {
  VKR_WinStopDualCoreThread();
  return VKR_OK;
}

uint32_t VKR_DualCorePause(int) { return VKR_NOT_SUPPORTED; }

uint32_t VKR_DualCoreSendCmd(uint32_t command) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  DualCoreItemHdr& queue = g_dualCoreItemHdr;
  while (queue.pending.load(std::memory_order_acquire) == queue.capacity) LetSecondCoreWork();
  queue.senderRing[queue.writeIndex] = command;
  queue.writeIndex = queue.writeIndex + 1 == queue.capacity ? 0 : queue.writeIndex + 1;
  queue.pending.fetch_add(1, std::memory_order_acq_rel);
  queue.sent.fetch_add(1, std::memory_order_relaxed);
  return VKR_OK;
}

uint32_t VKR_DualCoreGetSendCmdCount(uint32_t* count) {
  if (!count) return VKR_BAD_ARGUMENT;
  *count = g_dualCoreItemHdr.sent.load();
  return VKR_OK;
}

uint32_t VKR_DualCoreGetCmdProcessedCount(uint32_t* count) {
  if (!count) return VKR_BAD_ARGUMENT;
  *count = g_dualCoreItemHdr.processed.load();
  return VKR_OK;
}

uint32_t VKR_WaitArm940T() {
  while (g_dualCoreItemHdr.pending.load(std::memory_order_acquire) != 0) LetSecondCoreWork();
  return VKR_OK;
}
