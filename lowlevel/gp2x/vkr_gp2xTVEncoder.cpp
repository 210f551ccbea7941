// vkr_gp2xTVEncoder.cpp: the TV encoder on its software-driven two-wire bus (two port B lines),
// the LCD/NTSC/PAL output switching, the scan-mode switch, the field query and the hand-over of
// one caption pair. Owns no state: the encoder keeps its own registers.
//
// Sections: port lines and delay unit, bus transfers, output switching, scan mode and field,
// caption pair.
#include "vkr_gp2xTVEncoder.h"

#include "vkr_gp2xAccess.h"
#include "vkr_lowLevel.h"

// Current display mode 0 to 32, owned by the back end's start-up and VKR_SetDisplayMode.
extern uint32_t g_ulDISPLAY_MODE;

namespace {

// ---- Port lines and delay unit -----------------------------------------------------------------
constexpr uint32_t kGPIOBOUT = 0x1062;     // 0x1062  GPIOBOUT     output levels
constexpr uint32_t kGPIOBALTFN = 0x1022;   // 0x1022  GPIOBALTFNLOW pin function, 2 bits a pin
constexpr uint32_t kGPIOBPINLVL = 0x1182;  // 0x1182  GPIOBPINLVL  pin levels
constexpr uint16_t kSDA = 0x0001;          // bit 0  data line
constexpr uint16_t kSCL = 0x0002;          // bit 1  clock line
constexpr uint16_t kLCDLine = 0x0004;      // bit 2  1 while the LCD is the output
constexpr uint16_t kEncoderLine = 0x0008;  // bit 3  pulsed low when TV output is entered
constexpr uint16_t kSDAFunction = 0x0003;  // pin function field of SDA: 01 drives, 00 releases
constexpr uint16_t kSCLFunction = 0x000C;  // pin function field of SCL

constexpr uint32_t kDPC_CNTL = 0x2800;     // display controller control: bit 8 TV, bit 5 interlace
constexpr uint16_t kDPC_TVOut = 0x0100;
constexpr uint16_t kDPC_Interlace = 0x0020;

constexpr uint8_t kEncoderWrite = 0x8A;
constexpr uint8_t kEncoderRead = 0x8B;
constexpr uint8_t kRegStatus = 0x02;       // bit 3: a caption pair still waits to go out
constexpr uint8_t kRegField = 0x06;        // bit 1: field being output
constexpr uint8_t kRegReset = 0xBA;
constexpr uint8_t kRegCaptionFirst = 0xC0;
constexpr uint8_t kRegCaptionSecond = 0xC2;
constexpr uint8_t kStatusCaptionBusy = 0x08;

// How long a caption pair may wait for the encoder: a couple of fields (two PAL fields).
constexpr uint32_t kCaptionWaitMS = 40;
// How long the scan-mode switch looks for a field boundary: a little over two fields.
constexpr uint32_t kFieldBoundaryWaitMS = 50;

// One delay unit: 200 empty iterations; the bus speed follows the processor clock.
void Wait(int units) {
  for (int unit = 0; unit < units; ++unit) {
    volatile int count = 0;
    while (count < 200) count = count + 1;
  }
}

void SetLine(uint16_t line) { GP2X_SetBits16(kGPIOBOUT, line); }
void ClearLine(uint16_t line) { GP2X_ClearBits16(kGPIOBOUT, line); }

void SetPinFunction(uint16_t field, uint16_t drive) {
  const uint16_t function = GP2X_ReadReg16(kGPIOBALTFN);
  GP2X_WriteReg16(kGPIOBALTFN, static_cast<uint16_t>((function & ~field) | drive));
}
void DriveSDA() { SetPinFunction(kSDAFunction, 0x0001); }
void ReleaseSDA() { SetPinFunction(kSDAFunction, 0); }
void DriveSCL() { SetPinFunction(kSCLFunction, 0x0004); }
void ReleaseBoth() { SetPinFunction(kSDAFunction | kSCLFunction, 0); }
bool SDALevel() { return (GP2X_ReadReg16(kGPIOBPINLVL) & kSDA) != 0; }

// ---- Bus transfers -------------------------------------------------------------------------------
// Takes both lines, shows the encoder a stop on an idle bus, then a start; SCL ends low.
void BeginTransfer() {
  SetLine(kSDA | kSCL);
  DriveSCL();
  DriveSDA();
  Wait(1);
  ClearLine(kSCL);
  ClearLine(kSDA);
  Wait(1);
  SetLine(kSCL);
  Wait(1);
  SetLine(kSDA);
  Wait(3);
  ClearLine(kSDA);
  Wait(1);
  ClearLine(kSCL);
}

void SendByte(uint8_t byte) {
  for (int bit = 7; bit >= 0; --bit) {
    if ((byte >> bit) & 1)
      SetLine(kSDA);
    else
      ClearLine(kSDA);
    Wait(1);
    SetLine(kSCL);
    Wait(1);
    ClearLine(kSCL);
  }
}

// The ninth clock: true with SCL low again when the encoder pulls SDA low. A missing acknowledge
// ends the transfer with both lines released.
bool ReceiveAcknowledge() {
  ReleaseSDA();
  Wait(1);
  SetLine(kSCL);
  if (!SDALevel()) {
    Wait(1);
    ClearLine(kSCL);
    return true;
  }
  ClearLine(kSCL);
  Wait(1);
  SetLine(kSCL);
  Wait(1);
  SetLine(kSDA);
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

// The encoder register set: 0x38, 0x76 to 0xB4 in steps of 2, 0xC6, 0xC8, then after 10 ms 0x6C.
constexpr int kSetSize = 36;
constexpr uint8_t kSetRegisters[kSetSize] = {
    0x38, 0x76, 0x78, 0x7A, 0x7C, 0x7E, 0x80, 0x82, 0x84, 0x86, 0x88, 0x8A,
    0x8C, 0x8E, 0x90, 0x92, 0x94, 0x96, 0x98, 0x9A, 0x9C, 0x9E, 0xA0, 0xA2,
    0xA4, 0xA6, 0xA8, 0xAA, 0xAC, 0xAE, 0xB0, 0xB2, 0xB4, 0xC6, 0xC8, 0x6C};
constexpr uint8_t kSetNTSC[kSetSize] = {
    0x10, 0xB4, 0xD0, 0x7E, 0x90, 0x58, 0x03, 0x14, 0xF0, 0x26, 0x15, 0x5A,
    0x28, 0x13, 0x06, 0x13, 0xF0, 0x31, 0x00, 0x40, 0x00, 0x00, 0x8C, 0x0A,
    0xE5, 0x76, 0xC1, 0x89, 0x9A, 0x1F, 0x7C, 0xF0, 0x21, 0x06, 0xC0, 0xC6};
constexpr uint8_t kSetPAL[kSetSize] = {
    0x10, 0xC0, 0xD0, 0x7E, 0x98, 0x54, 0x15, 0x17, 0x20, 0xA6, 0xFA, 0x60,
    0x28, 0x13, 0x38, 0x16, 0x20, 0x35, 0x00, 0x40, 0x00, 0x00, 0x8C, 0x24,
    0xF0, 0x59, 0xCF, 0x93, 0xA4, 0xCB, 0x8A, 0x09, 0x2A, 0x06, 0xC0, 0xC6};

void WriteRegisterSet(Output standard) {
  const uint8_t* values = standard == kPAL ? kSetPAL : kSetNTSC;
  for (int i = 0; i < kSetSize - 1; ++i) VKR_OutCX25874(kSetRegisters[i], values[i]);
  VKR_DelayMS(10);
  VKR_OutCX25874(kSetRegisters[kSetSize - 1], values[kSetSize - 1]);
}

void ResetEncoder() {
  VKR_OutCX25874(kRegReset, 0x80);
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
      const bool read = VKR_InCX25874(kRegField, &field) == VKR_OK;
      if (read && ((field & 0x0F) == 0) == (wantZero != 0)) break;
      if (NowMS() - start >= kFieldBoundaryWaitMS) break;
    }
  }
}

void SetDisplayControl(uint16_t bits) {
  GP2X_WriteReg16(kDPC_CNTL, static_cast<uint16_t>((GP2X_ReadReg16(kDPC_CNTL) & 0x8801) | bits));
}

}  // namespace

uint32_t VKR_OutCX25874(uint8_t reg, uint8_t value) {
  BeginTransfer();
  if (!SendAndAcknowledge(kEncoderWrite)) return VKR_ERROR;
  DriveSDA();
  if (!SendAndAcknowledge(reg)) return VKR_ERROR;
  DriveSDA();
  if (!SendAndAcknowledge(value)) return VKR_ERROR;
  // SDA stays released: the next transfer's opening makes the stop.
  Wait(1);
  SetLine(kSCL);
  Wait(1);
  SetLine(kSDA);
  ReleaseBoth();
  return VKR_OK;
}

uint32_t VKR_InCX25874(uint8_t reg, uint8_t* value) {
  if (!value) return VKR_BAD_ARGUMENT;
  BeginTransfer();
  if (!SendAndAcknowledge(kEncoderWrite)) return VKR_ERROR;
  DriveSDA();
  if (!SendAndAcknowledge(reg)) return VKR_ERROR;
  // Repeated start, then the read address.
  ClearLine(kSDA);
  DriveSDA();
  Wait(1);
  SetLine(kSCL);
  Wait(1);
  SetLine(kSDA);
  Wait(3);
  ClearLine(kSDA);
  Wait(1);
  ClearLine(kSCL);
  if (!SendAndAcknowledge(kEncoderRead)) return VKR_ERROR;
  uint8_t byte = 0;
  for (int bit = 7; bit >= 0; --bit) {
    Wait(1);
    SetLine(kSCL);
    if (SDALevel()) byte = static_cast<uint8_t>(byte | (1 << bit));
    Wait(1);
    ClearLine(kSCL);
  }
  // No acknowledge from us: the encoder sends no more. Both lines stay driven.
  SetLine(kSDA);
  DriveSDA();
  Wait(1);
  SetLine(kSCL);
  Wait(1);
  ClearLine(kSCL);
  ClearLine(kSDA);
  *value = byte;
  return VKR_OK;
}

void GP2X_SwitchTVOutput(uint32_t oldMode, uint32_t newMode) {
  const Output from = OutputOfMode(oldMode), to = OutputOfMode(newMode);
  if (from == kLCD && to == kLCD) return;
  if (from == kLCD) {
    ClearLine(kLCDLine);
    ClearLine(kEncoderLine);
    VKR_DelayMS(1);
    SetLine(kEncoderLine);
    VKR_DelayMS(1);
    ResetEncoder();
    WriteRegisterSet(to);
    VKR_OutCX25874(0x8C, 0x43);
  } else if (to != kLCD) {
    if (from != to) WriteRegisterSet(to);
    VKR_OutCX25874(0x8C, 0x43);
  } else {
    ResetEncoder();
    SetLine(kLCDLine);
  }
}

uint32_t VKR_InterlaceSwitch() {
  if (!(GP2X_ReadReg16(kDPC_CNTL) & kDPC_TVOut)) return VKR_OK;
  const bool pal = OutputOfMode(g_ulDISPLAY_MODE) == kPAL;
  VKR_OutCX25874(0x6C, 0x42);
  if (GP2X_ReadReg16(kDPC_CNTL) & kDPC_Interlace) {
    WaitFieldBoundary();
    GP2X_WriteReg16(0x2820, pal ? 0x01C1 : 0x01C0);
    SetDisplayControl(pal ? 0x1388 : 0x0388);
    GP2X_WriteReg16(0x2826, 0x0270);
    VKR_DelayMS(pal ? 48 : 40);
    VKR_OutCX25874(0x90, pal ? 0x37 : 0x04);
    if (!pal) GP2X_WriteReg16(0x2822, 0x3815);
  } else {
    GP2X_WriteReg16(0x2822, pal ? 0x3818 : 0x3816);
    SetDisplayControl(pal ? 0x13A8 : 0x03A8);
    GP2X_WriteReg16(0x2820, pal ? 0x0181 : 0x0180);
    GP2X_WriteReg16(0x2826, 0x0270);
    VKR_OutCX25874(0x90, pal ? 0x38 : 0x06);
  }
  VKR_OutCX25874(0x6C, 0x46);
  return VKR_OK;
}

uint32_t VKR_GetCurrentTVFieldOutput(int* field) {
  if (!field) return VKR_BAD_ARGUMENT;
  if (g_ulDISPLAY_MODE <= 4) return VKR_NOT_SUPPORTED;
  uint8_t status = 0;
  VKR_InCX25874(kRegField, &status);
  *field = (status >> 1) & 1;
  return VKR_OK;
}

// ---- Caption pair --------------------------------------------------------------------------------
bool GP2X_TVEncoderBusy() {
  uint8_t status = 0;
  return VKR_InCX25874(kRegStatus, &status) != VKR_OK || (status & kStatusCaptionBusy) != 0;
}

// Waits at most a couple of fields for the encoder to take the pair; a pair it cannot take in that
// time is dropped and answered with 1, so a silent encoder never stalls the frame loop.
uint32_t VKR_WriteCloseCaption(uint16_t pair) {
  const uint32_t start = NowMS();
  while (GP2X_TVEncoderBusy())
    if (NowMS() - start >= kCaptionWaitMS) return VKR_ERROR;
  if (VKR_OutCX25874(kRegCaptionFirst, static_cast<uint8_t>(pair >> 8)) != VKR_OK) return VKR_ERROR;
  if (VKR_OutCX25874(kRegCaptionSecond, static_cast<uint8_t>(pair)) != VKR_OK) return VKR_ERROR;
  return VKR_OK;
}
