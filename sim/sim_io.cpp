// sim_io.cpp: the register accessor of the hardware back end on the PC, and the only place where
// register accesses are decoded into the simulated console's units. Every access costs virtual
// time, is traced, and an idle poll whose answer provably cannot change before a known time (the
// sync bits, a busy bit with a known end, an encoder register with a known next change) jumps the
// clock there. A read of the timer is never guessed at: the back end's own waits on it say so.
//
// Sections: access bookkeeping and idle polls; devices on the ports and the second core; register
// window reads; register window writes; blitter window; the accessor.
#include "sim_arm940.h"
#include "sim_cx25874.h"
#include "sim_state.h"
#include "vkr_gp2xAccess.h"

namespace {

enum class Op : uint8_t { R16, W16, R32, W32 };
enum class Window : uint8_t { Reg, Blt };
constexpr const char* kOpName[] = {"R16", "W16", "R32", "W32"};
constexpr const char* kWindowName[] = {"REG", "BLT"};

// An access as one number (operation, window, offset), so a poll is one comparison.
constexpr uint32_t AccessKey(Op op, Window window, uint32_t offset) {
  return offset | uint32_t{static_cast<uint8_t>(op)} << 24 |
         uint32_t{static_cast<uint8_t>(window)} << 28;
}
constexpr uint32_t kTimerRead = AccessKey(Op::R32, Window::Reg, GP2X_TCOUNT);
constexpr uint32_t kPortBLevelRead = AccessKey(Op::R16, Window::Reg, GP2X_GPIOBPINLVL);
static_assert(GP2X_REG_WINDOW_SIZE <= 1u << 24 && GP2X_BLITTER_WINDOW_SIZE <= 1u << 24);

// Any status bit read twice in a row is polled.
constexpr uint32_t kStatusPollRepeats = 1;

// ---- Access bookkeeping and idle polls -------------------------------------------------------
// Inline into each accessor: with the clock's and timing's inline paths, a sync poll's read makes
// no call until the sync bits change.
// False while the console is off: the access reaches nothing (a read answers 0).
[[gnu::always_inline]] inline bool BeginAccess(Op op, Window window, uint32_t offset) {
  if (!g_sim.poweredOn) [[unlikely]]
    return false;
  ++g_sim.accesses;
  SimIO& io = g_sim.io;
  const uint32_t key = AccessKey(op, window, offset);
  const bool again = key == io.lastKey;
  io.repeats = again ? io.repeats + 1 : 0;
  io.lastKey = key;
  if (key != kTimerRead) SimClock_EndTimerWait();
  SimClock_AccessCost();
  if (!again) return true;
  if (key == kPortBLevelRead) {
    if (io.repeats >= kStatusPollRepeats) SimClock_JumpTo(SimTiming_NextSyncEdgeNs());
  } else if (window == Window::Blt && op == Op::R32 && io.repeats >= kStatusPollRepeats) {
    if (const uint64_t ends = SimBlitter_BusyEndsNs(offset)) SimClock_JumpTo(ends);
  }
  // The encoder's polls jump where its transfers end (PortBWritten).
  return true;
}

// Out of line: the sync polls pass here once a half line with neither log nor trace.
[[gnu::noinline]] void Record(Op op, Window window, uint32_t offset, uint32_t value) {
  const bool wide = op == Op::R32 || op == Op::W32;
  if (g_sim.accessLog)
    g_sim.accessLog->push_back(
        {op == Op::W16 || op == Op::W32, wide, window == Window::Blt, offset, value});
  if (!g_sim.trace) return;
  SimTrace_Access(kOpName[static_cast<int>(op)], kWindowName[static_cast<int>(window)], offset, value,
                  wide ? 8 : 4);
}

void Trace(Op op, Window window, uint32_t offset, uint32_t value) {
  if (g_sim.accessLog || g_sim.trace) Record(op, window, offset, value);
}

// The display controller's layers (0x2800 to 0x29FF): the writes its unit follows as they happen.
bool IsDisplayRegister(uint32_t offset) {
  return offset >= GP2X_DPC_CNTL && offset < GP2X_DPC_CNTL + 0x200;
}

bool IsPinLevel(uint32_t offset) {
  return offset >= GP2X_GPIOAPINLVL && offset < GP2X_GPIOPINLVL(GP2X_GPIO_PORTS);
}

// ---- Devices on the ports and the second core ------------------------------------------------
// Port B's output and pin-function registers drive the encoder's two bus lines. The encoder answers
// by holding SDA low, which the pin-level register shows through the port's pull-down (unless the
// port drives the line itself: an offence when it drives it high). A transfer that repeats the one
// before is an idle poll: the clock jumps to when its answer can change; an answer that nothing on
// the encoder's side changes is noted for the back end's wait on it (GP2X_WaitingForEncoder).
void PortBWritten() {
  // The program's drive against the pull the encoder held before this write: a device answers an
  // edge a hold time after it, so the write that makes the edge is not yet fought.
  SimGpio_CheckContention(GP2X_GPIO_PORT_B);
  SIM_CX25874_PortWritten(g_sim.clock.nowNs, g_sim.reg[GP2X_GPIOBOUT >> 1],
                          g_sim.reg[GP2X_GPIOBALTFNLOW >> 1]);
  uint16_t& pull = g_sim.gpio.pullDown[GP2X_GPIO_PORT_B];
  pull = static_cast<uint16_t>(SIM_CX25874_HoldsSDALow() ? pull | GP2X_GPIOB_SDA
                                                        : pull & ~GP2X_GPIOB_SDA);
  SimEncoderTransferEnd end;
  if (!SIM_CX25874_TakeTransferEnd(&end)) return;
  if (end.repeat && end.answerChangesNs != UINT64_MAX) SimClock_JumpTo(end.answerChangesNs);
  g_sim.io.encoderAnswerStands = end.repeat && end.answerChangesNs == UINT64_MAX;
}

void SecondCoreControlWritten() {
  SimArm940_Control(g_sim.reg[GP2X_DUALCTRL940 >> 1], g_sim.reg[GP2X_SYSCLKENREG >> 1]);
}

// ---- Register window reads -------------------------------------------------------------------
[[gnu::always_inline]] inline uint16_t Read16(uint32_t offset) {
  switch (offset) {
    case GP2X_TCOUNT:  // free-running timer, low then high half
      return static_cast<uint16_t>(SimClock_TimerCount());
    case GP2X_TCOUNT + 2:
      return static_cast<uint16_t>(SimClock_TimerCount() >> 16);
    case GP2X_FPLLVSETREG:  // the PLL settles at once on the value last set
      return g_sim.reg[GP2X_FPLLSETVREG >> 1];
    case GP2X_ADC_DATA:
      return SimAdc_Data();
  }
  if (IsPinLevel(offset)) return SimGpio_PinLevel((offset - GP2X_GPIOAPINLVL) / 2);
  // The display controller's status registers are decoded here by its unit.
  return g_sim.reg[offset >> 1];
}

uint32_t Read32(uint32_t offset) {
  if (offset == GP2X_TCOUNT) return SimClock_TimerCount();
  return Read16(offset) | uint32_t{Read16(offset + 2)} << 16;
}

// ---- Register window writes ------------------------------------------------------------------
void Write16(uint32_t offset, uint16_t value) {
  switch (offset) {
    case GP2X_TCOUNT:  // read-only
    case GP2X_TCOUNT + 2:
    case GP2X_FPLLVSETREG:
    case GP2X_ADC_DATA:
      return;
    case GP2X_DUALCTRL940:  // the second core held in reset (bit 7)
    case GP2X_SYSCLKENREG:  // its clock (bit 0) among the others
      g_sim.reg[offset >> 1] = value;
      SecondCoreControlWritten();
      return;
    case GP2X_GPIOBOUT:
    case GP2X_GPIOBALTFNLOW:
      g_sim.reg[offset >> 1] = value;
      PortBWritten();
      return;
  }
  if (IsPinLevel(offset)) return;
  g_sim.reg[offset >> 1] = value;
  if (offset == GP2X_DPC_CNTL || offset == GP2X_DPC_Y_MAX) SimTiming_OutputChanged();
  if (IsDisplayRegister(offset)) SimDisplay_Written(offset, value);
}

void Write32(uint32_t offset, uint32_t value) {
  Write16(offset, static_cast<uint16_t>(value));
  Write16(offset + 2, static_cast<uint16_t>(value >> 16));
}

// ---- Blitter window --------------------------------------------------------------------------
// The blitter's registers (0x00 to 0x34) and the rotator's (0x100 to 0x114): a start bit starts an
// operation, the busy bits answer its progress.
uint32_t ReadBlitter(uint32_t offset) { return SimBlitter_Read(offset); }
void WriteBlitter(uint32_t offset, uint32_t value) {
  g_sim.blitter[offset >> 2] = value;
  SimBlitter_Written(offset, value);
}

constexpr uint32_t kReg16Mask = GP2X_REG_WINDOW_SIZE - 2;
constexpr uint32_t kReg32Mask = GP2X_REG_WINDOW_SIZE - 4;
constexpr uint32_t kBlitterMask = GP2X_BLITTER_WINDOW_SIZE - 4;

}  // namespace

void SimIO_Reset() { g_sim.io = SimIO{}; }

bool SimIO_EncoderAnswerStands() { return g_sim.io.encoderAnswerStands; }

// ---- The accessor ----------------------------------------------------------------------------
uint16_t GP2X_ReadReg16(uint32_t offset) {
  offset &= kReg16Mask;
  if (!BeginAccess(Op::R16, Window::Reg, offset)) return 0;
  const uint16_t value = Read16(offset);
  Trace(Op::R16, Window::Reg, offset, value);
  return value;
}

void GP2X_WriteReg16(uint32_t offset, uint16_t value) {
  offset &= kReg16Mask;
  if (!BeginAccess(Op::W16, Window::Reg, offset)) return;
  Trace(Op::W16, Window::Reg, offset, value);
  Write16(offset, value);
}

uint32_t GP2X_ReadReg32(uint32_t offset) {
  offset &= kReg32Mask;
  if (!BeginAccess(Op::R32, Window::Reg, offset)) return 0;
  const uint32_t value = Read32(offset);
  Trace(Op::R32, Window::Reg, offset, value);
  return value;
}

void GP2X_WriteReg32(uint32_t offset, uint32_t value) {
  offset &= kReg32Mask;
  if (!BeginAccess(Op::W32, Window::Reg, offset)) return;
  Trace(Op::W32, Window::Reg, offset, value);
  Write32(offset, value);
}

uint32_t GP2X_ReadBlitter(uint32_t offset) {
  offset &= kBlitterMask;
  if (!BeginAccess(Op::R32, Window::Blt, offset)) return 0;
  const uint32_t value = ReadBlitter(offset);
  Trace(Op::R32, Window::Blt, offset, value);
  return value;
}

void GP2X_WriteBlitter(uint32_t offset, uint32_t value) {
  offset &= kBlitterMask;
  if (!BeginAccess(Op::W32, Window::Blt, offset)) return;
  Trace(Op::W32, Window::Blt, offset, value);
  WriteBlitter(offset, value);
}
