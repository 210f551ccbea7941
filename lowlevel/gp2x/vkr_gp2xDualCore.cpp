// vkr_gp2xDualCore.cpp: the second core: loading and starting its program, holding and pausing it,
// and the main core's side of the command queue in the second core's memory.
//
// Pending is not a counter both cores change: it is sent - processed, each total having one writer
// (sent this core, processed the second core), so no update can be lost without an atomic
// read-modify-write, which the second core's family does not have across cores. A total is
// written after the ring slot or index it publishes. Both cores refresh the header's pending word
// from the totals for whoever reads the header; no decision is taken on it.
#include <cstdint>

#include "vkr_gp2xAccess.h"
#include "vkr_gp2xBusyWait.h"
#include "vkr_gp2xDualCore.h"
#include "vkr_gp2xRegisters.h"
#include "vkr_lowLevel.h"

static volatile uint32_t& Header(uint32_t field) {
  return g_pGP2X_DUALCORE_MEM[(GP2X_DUALCORE_HEADER + field) / 4];
}

static uint32_t Pending() { return Header(GP2X_DCQ_SENT) - Header(GP2X_DCQ_PROCESSED); }

// One turn of a wait on the second core: on the PC the simulated second core runs on the console's
// clock, which the turn moves on.
static void SpinOnce() { GP2X_SharedMemoryPollTurn(); }

uint32_t VKR_DualCoreStart(const uint32_t* program, uint32_t wordCount) {
  if (!g_pGP2X_DUALCORE_MEM) return VKR_ERROR;
  // The program ends below the queue area: it must not overwrite the queue it is to drain.
  if (!program || wordCount == 0 || wordCount > GP2X_DUALCORE_QUEUE_AREA / 4) {
    return VKR_BAD_ARGUMENT;
  }
  GP2X_WriteReg16(GP2X_DUALCTRL940, GP2X_DUALCTRL940_HOLD);
  GP2X_WriteReg16(GP2X_DUALINT920, 0);
  GP2X_WriteReg16(GP2X_DUALINT940, 0);
  GP2X_WriteReg16(GP2X_DUALPEND920, 0xFFFF);
  GP2X_WriteReg16(GP2X_DUALPEND940, 0xFFFF);
  GP2X_SetBits16(GP2X_SYSCLKENREG, GP2X_SYSCLKEN_ARM940);

  for (uint32_t i = 0; i < wordCount; ++i) g_pGP2X_DUALCORE_MEM[i] = program[i];

  // The sender's ring address is a 32-bit field: on the console it is the window address of the
  // ring; on a 64-bit PC it holds the low 32 bits of it. The main core never reads it back.
  const auto senderRing = reinterpret_cast<uintptr_t>(g_pGP2X_DUALCORE_MEM + GP2X_DUALCORE_RING / 4);
  Header(GP2X_DCQ_PENDING) = 0;
  Header(GP2X_DCQ_READ_INDEX) = 0;
  Header(GP2X_DCQ_WRITE_INDEX) = 0;
  Header(GP2X_DCQ_PROCESSED) = 0;
  Header(GP2X_DCQ_RECEIVER_RING) = GP2X_DUALCORE_RING;
  Header(GP2X_DCQ_SENT) = 0;
  Header(GP2X_DCQ_SENDER_RING) = static_cast<uint32_t>(senderRing);
  Header(GP2X_DCQ_CAPACITY) = GP2X_DUALCORE_CAPACITY;

  for (uint32_t i = 0; i < GP2X_DUALCORE_CAPACITY; ++i) {
    g_pGP2X_DUALCORE_MEM[GP2X_DUALCORE_RING / 4 + i] = 0;
  }
  GP2X_WriteReg16(GP2X_DUALCTRL940, GP2X_DUALCTRL940_RUN);
  return VKR_OK;
}

uint32_t VKR_DualCoreStop() {
  if (!g_pGP2X_DUALCORE_MEM) return VKR_ERROR;
  GP2X_WriteReg16(GP2X_DUALCTRL940, GP2X_DUALCTRL940_HOLD);
  GP2X_SetBits16(GP2X_SYSCLKENREG, GP2X_SYSCLKEN_ARM940);
  return VKR_OK;
}

uint32_t VKR_DualCorePause(int pause) {
  if (!g_pGP2X_DUALCORE_MEM) return VKR_ERROR;
  if (pause) {
    GP2X_ClearBits16(GP2X_SYSCLKENREG, GP2X_SYSCLKEN_ARM940);
  } else {
    GP2X_SetBits16(GP2X_SYSCLKENREG, GP2X_SYSCLKEN_ARM940);
  }
  return VKR_OK;
}

// The ring and the queue's capacity are this side's constants, not the header's words: the second
// core's program can write those, and they must not steer this core's stores.
uint32_t VKR_DualCoreSendCmd(uint32_t command) {
  if (!g_pGP2X_DUALCORE_MEM) return VKR_ERROR;
  while (Pending() >= GP2X_DUALCORE_CAPACITY) SpinOnce();
  uint32_t writeIndex = Header(GP2X_DCQ_WRITE_INDEX);
  if (writeIndex >= GP2X_DUALCORE_CAPACITY) writeIndex = 0;
  g_pGP2X_DUALCORE_MEM[GP2X_DUALCORE_RING / 4 + writeIndex] = command;
  Header(GP2X_DCQ_WRITE_INDEX) = writeIndex + 1 == GP2X_DUALCORE_CAPACITY ? 0 : writeIndex + 1;
  Header(GP2X_DCQ_SENT) = Header(GP2X_DCQ_SENT) + 1;
  Header(GP2X_DCQ_PENDING) = Pending();
  return VKR_OK;
}

uint32_t VKR_DualCoreGetSendCmdCount(uint32_t* count) {
  if (!count) return VKR_BAD_ARGUMENT;
  if (!g_pGP2X_DUALCORE_MEM) return VKR_ERROR;
  *count = Header(GP2X_DCQ_SENT);
  return VKR_OK;
}

uint32_t VKR_DualCoreGetCmdProcessedCount(uint32_t* count) {
  if (!count) return VKR_BAD_ARGUMENT;
  if (!g_pGP2X_DUALCORE_MEM) return VKR_ERROR;
  *count = Header(GP2X_DCQ_PROCESSED);
  return VKR_OK;
}

uint32_t VKR_WaitArm940T() {
  if (!g_pGP2X_DUALCORE_MEM) return VKR_ERROR;
  while (Pending() != 0) SpinOnce();
  return VKR_OK;
}
