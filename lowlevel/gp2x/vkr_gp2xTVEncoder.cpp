// vkr_gp2xTVEncoder.cpp: the TV encoder on its software-driven two-wire bus (two port B lines),
// the LCD/NTSC/PAL output switching, the scan-mode switch, the field query and the hand-over of
// one caption pair. Owns no state: the encoder keeps its own registers.
//
// Sections: port lines and delay unit, bus transfers, output switching, scan mode and field,
// caption pair.
#include "vkr_gp2xTVEncoder.h"

#include "vkr_gp2xBusyWait.h"
#include "vkr_gp2xState.h"

namespace {

// ---- Port lines and delay unit -----------------------------------------------------------------
// How long a caption pair may wait for the encoder: a couple of fields (two PAL fields).
constexpr uint32_t kCaptionWaitMS = 40;
// How long the scan-mode switch looks for a field boundary: a little over two fields.
constexpr uint32_t kFieldBoundaryWaitMS = 50;

// One delay unit: a busy loop of 1.5 us at the processor clock in use, so a clock pulse of one unit
// and a couple of accesses is above the encoder's minimum clock low (1.3 us) and high (0.6 us)
// times, and a caption pair waited for in a vertical blank (a status read and two writes, about 210
// units) leaves the frame's work time to end inside that blank. The loop's iterations follow the
// clock (30 at 200 MHz); until start-up says, the firmware's 200 MHz. Out of line, so that a
// profile tells the bus's waits from its work.
constexpr uint64_t kDelayUnitNs = 1500;
uint32_t g_ulDelayUnitIterations = 30;

[[gnu::noinline]] void Wait(int units) {
  for (int unit = 0; unit < units; ++unit) GP2X_DelayLoop(g_ulDelayUnitIterations);
}

void SetLine(uint16_t line) { GP2X_SetBits16(GP2X_GPIOBOUT, line); }
void ClearLine(uint16_t line) { GP2X_ClearBits16(GP2X_GPIOBOUT, line); }

void SetPinFunction(uint16_t field, uint16_t drive) {
  const uint16_t function = GP2X_ReadReg16(GP2X_GPIOBALTFNLOW);
  GP2X_WriteReg16(GP2X_GPIOBALTFNLOW, static_cast<uint16_t>((function & ~field) | drive));
}
void DriveSDA() { SetPinFunction(GP2X_GPIOB_SDA_FUNCTION, GP2X_GPIOB_SDA_DRIVE); }
void ReleaseSDA() { SetPinFunction(GP2X_GPIOB_SDA_FUNCTION, 0); }
void DriveSCL() { SetPinFunction(GP2X_GPIOB_SCL_FUNCTION, GP2X_GPIOB_SCL_DRIVE); }
void ReleaseBoth() { SetPinFunction(GP2X_GPIOB_SDA_FUNCTION | GP2X_GPIOB_SCL_FUNCTION, 0); }
bool SDALevel() { return (GP2X_ReadReg16(GP2X_GPIOBPINLVL) & GP2X_GPIOB_SDA) != 0; }

// ---- Bus transfers -------------------------------------------------------------------------------
// From SCL and SDA low, both driven: SCL rises, then SDA; SDA falls while SCL is high (the start
// condition); SCL ends low.
void StartCondition() {
  SetLine(GP2X_GPIOB_SCL);
  Wait(1);
  SetLine(GP2X_GPIOB_SDA);
  Wait(3);
  ClearLine(GP2X_GPIOB_SDA);
  Wait(1);
  ClearLine(GP2X_GPIOB_SCL);
}

// Takes both lines, shows the encoder a stop on an idle bus, then a start; SCL ends low.
void BeginTransfer() {
  SetLine(GP2X_GPIOB_SDA | GP2X_GPIOB_SCL);
  DriveSCL();
  DriveSDA();
  Wait(1);
  ClearLine(GP2X_GPIOB_SCL);
  ClearLine(GP2X_GPIOB_SDA);
  Wait(1);
  StartCondition();
}

void SendByte(uint8_t byte) {
  for (int bit = 7; bit >= 0; --bit) {
    if ((byte >> bit) & 1)
      SetLine(GP2X_GPIOB_SDA);
    else
      ClearLine(GP2X_GPIOB_SDA);
    Wait(1);
    SetLine(GP2X_GPIOB_SCL);
    Wait(1);
    ClearLine(GP2X_GPIOB_SCL);
  }
}

// The ninth clock: true with SCL low again when the encoder pulls SDA low. A missing acknowledge
// ends the transfer with both lines released.
bool ReceiveAcknowledge() {
  ReleaseSDA();
  Wait(1);
  SetLine(GP2X_GPIOB_SCL);
  if (!SDALevel()) {
    Wait(1);
    ClearLine(GP2X_GPIOB_SCL);
    return true;
  }
  ClearLine(GP2X_GPIOB_SCL);
  Wait(1);
  SetLine(GP2X_GPIOB_SCL);
  Wait(1);
  SetLine(GP2X_GPIOB_SDA);
  ReleaseBoth();
  return false;
}

bool SendAndAcknowledge(uint8_t byte) {
  SendByte(byte);
  return ReceiveAcknowledge();
}

// ---- Output switching --------------------------------------------------------------------------
enum Output { kLCD, kNTSC, kPAL };

Output OutputOfMode(uint32_t mode) { return mode <= 4 ? kLCD : mode <= 18 ? kNTSC : kPAL; }

// The standard's register set, the last register after 10 ms.
void WriteRegisterSet(Output standard) {
  const uint8_t* values = standard == kPAL ? CX25874_SET_PAL : CX25874_SET_NTSC;
  for (int i = 0; i < CX25874_SET_SIZE - 1; ++i)
    VKR_OutCX25874(CX25874_SET_REGISTERS[i], values[i]);
  VKR_DelayMS(10);
  VKR_OutCX25874(CX25874_SET_REGISTERS[CX25874_SET_SIZE - 1], values[CX25874_SET_SIZE - 1]);
}

void ResetEncoder() {
  VKR_OutCX25874(CX25874_RESET, CX25874_RESET_ALL);
  VKR_DelayMS(10);
}

// ---- Scan mode and field -------------------------------------------------------------------------
uint32_t NowMS() {
  uint32_t now = 0;
  VKR_GetTime(&now);
  return now;
}

// Polls the encoder's field register until its low 4 bits are non-zero, then zero: the start of a
// field. Each phase gives up after kFieldBoundaryWaitMS, so an encoder that does not answer only
// costs the switch its alignment.
void WaitFieldBoundary() {
  for (int wantZero = 0; wantZero <= 1; ++wantZero) {
    const uint32_t start = NowMS();
    for (;;) {
      uint8_t field = 0;
      const bool read = VKR_InCX25874(CX25874_FIELD, &field) == VKR_OK;
      if (read && ((field & 0x0F) == 0) == (wantZero != 0)) break;
      GP2X_WaitingForEncoder();
      if (NowMS() - start >= kFieldBoundaryWaitMS) break;
    }
  }
}

void SetDisplayControl(uint16_t bits) {
  GP2X_WriteReg16(GP2X_DPC_CNTL, static_cast<uint16_t>((GP2X_ReadReg16(GP2X_DPC_CNTL) & GP2X_DPC_CNTL_KEEP) | bits));
}

}  // namespace

uint32_t VKR_OutCX25874(uint8_t reg, uint8_t value) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  BeginTransfer();
  if (!SendAndAcknowledge(CX25874_ADDRESS_WRITE)) return VKR_ERROR;
  DriveSDA();
  if (!SendAndAcknowledge(reg)) return VKR_ERROR;
  DriveSDA();
  if (!SendAndAcknowledge(value)) return VKR_ERROR;
  // SDA stays released: the next transfer's opening makes the stop.
  Wait(1);
  SetLine(GP2X_GPIOB_SCL);
  Wait(1);
  SetLine(GP2X_GPIOB_SDA);
  ReleaseBoth();
  return VKR_OK;
}

uint32_t VKR_InCX25874(uint8_t reg, uint8_t* value) {
  if (!value) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  BeginTransfer();
  if (!SendAndAcknowledge(CX25874_ADDRESS_WRITE)) return VKR_ERROR;
  DriveSDA();
  if (!SendAndAcknowledge(reg)) return VKR_ERROR;
  // Repeated start, then the read address.
  ClearLine(GP2X_GPIOB_SDA);
  DriveSDA();
  Wait(1);
  StartCondition();
  if (!SendAndAcknowledge(CX25874_ADDRESS_READ)) return VKR_ERROR;
  uint8_t byte = 0;
  for (int bit = 7; bit >= 0; --bit) {
    Wait(1);
    SetLine(GP2X_GPIOB_SCL);
    if (SDALevel()) byte = static_cast<uint8_t>(byte | (1 << bit));
    Wait(1);
    ClearLine(GP2X_GPIOB_SCL);
  }
  // No acknowledge from us: the encoder sends no more. Both lines stay driven.
  SetLine(GP2X_GPIOB_SDA);
  DriveSDA();
  Wait(1);
  SetLine(GP2X_GPIOB_SCL);
  Wait(1);
  ClearLine(GP2X_GPIOB_SCL);
  ClearLine(GP2X_GPIOB_SDA);
  *value = byte;
  return VKR_OK;
}

void GP2X_FollowCPUClock(uint32_t clock100Hz) {
  const uint64_t cyclesAUnit = (kDelayUnitNs * clock100Hz * 100 + 999999999) / 1000000000;
  g_ulDelayUnitIterations =
      static_cast<uint32_t>((cyclesAUnit + GP2X_DELAY_LOOP_CYCLES - 1) / GP2X_DELAY_LOOP_CYCLES);
}

void GP2X_SwitchTVOutput(uint32_t oldMode, uint32_t newMode) {
  const Output from = OutputOfMode(oldMode), to = OutputOfMode(newMode);
  if (from == kLCD && to == kLCD) return;
  if (from == kLCD) {
    ClearLine(GP2X_GPIOB_LCD);
    ClearLine(GP2X_GPIOB_ENCODER);
    VKR_DelayMS(1);
    SetLine(GP2X_GPIOB_ENCODER);
    VKR_DelayMS(1);
    ResetEncoder();
    WriteRegisterSet(to);
    VKR_OutCX25874(0x8C, 0x43);
  } else if (to != kLCD) {
    if (from != to) WriteRegisterSet(to);
    VKR_OutCX25874(0x8C, 0x43);
  } else {
    ResetEncoder();
    SetLine(GP2X_GPIOB_LCD);
  }
}

uint32_t VKR_InterlaceSwitch() {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (!(GP2X_ReadReg16(GP2X_DPC_CNTL) & GP2X_DPC_CNTL_TV)) return VKR_OK;
  const bool pal = OutputOfMode(g_ulDISPLAY_MODE) == kPAL;
  VKR_OutCX25874(0x6C, 0x42);
  if (GP2X_ReadReg16(GP2X_DPC_CNTL) & GP2X_DPC_CNTL_INTERLACE) {
    WaitFieldBoundary();
    GP2X_WriteReg16(GP2X_DPC_V_SYNC, pal ? 0x01C1 : 0x01C0);
    SetDisplayControl(pal ? 0x1388 : 0x0388);
    GP2X_WriteReg16(GP2X_DPC_DE, 0x0270);
    VKR_DelayMS(pal ? 48 : 40);
    VKR_OutCX25874(0x90, pal ? 0x37 : 0x04);
    if (!pal) GP2X_WriteReg16(GP2X_DPC_V_END, 0x3815);
  } else {
    GP2X_WriteReg16(GP2X_DPC_V_END, pal ? 0x3818 : 0x3816);
    SetDisplayControl(pal ? 0x13A8 : 0x03A8);
    GP2X_WriteReg16(GP2X_DPC_V_SYNC, pal ? 0x0181 : 0x0180);
    GP2X_WriteReg16(GP2X_DPC_DE, 0x0270);
    VKR_OutCX25874(0x90, pal ? 0x38 : 0x06);
  }
  VKR_OutCX25874(0x6C, 0x46);
  return VKR_OK;
}

uint32_t VKR_GetCurrentTVFieldOutput(int* field) {
  if (!field) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (g_ulDISPLAY_MODE <= 4) return VKR_NOT_SUPPORTED;
  uint8_t status = 0;
  VKR_InCX25874(CX25874_FIELD, &status);
  *field = (status >> 1) & 1;
  return VKR_OK;
}

// ---- Caption pair --------------------------------------------------------------------------------
bool GP2X_TVEncoderBusy() {
  uint8_t status = 0;
  return VKR_InCX25874(CX25874_STATUS, &status) != VKR_OK || (status & CX25874_STATUS_CAPTION_BUSY) != 0;
}

// Waits at most a couple of fields for the encoder to take the pair; a pair it cannot take in that
// time is dropped and answered with 1, so a silent encoder never stalls the frame loop. The clock
// is read only once the encoder is found busy.
uint32_t VKR_WriteCloseCaption(uint16_t pair) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (GP2X_TVEncoderBusy()) {
    const uint32_t start = NowMS();
    while (GP2X_TVEncoderBusy()) {
      GP2X_WaitingForEncoder();
      if (NowMS() - start >= kCaptionWaitMS) return VKR_ERROR;
    }
  }
  if (VKR_OutCX25874(CX25874_CAPTION_FIRST, static_cast<uint8_t>(pair >> 8)) != VKR_OK) return VKR_ERROR;
  if (VKR_OutCX25874(CX25874_CAPTION_SECOND, static_cast<uint8_t>(pair)) != VKR_OK) return VKR_ERROR;
  return VKR_OK;
}
