// sim_cx25874.cpp: the simulated TV encoder on the two-wire bus: line levels and edges, the
// transfer decoder, the register file with its live status and field registers (on the display
// controller's field timing), idle polls, the caption record and the two files written from it
// (Scenarist captions, value-change dump of the lines).
//
// It also judges the program (sim_strict.cpp): the port driving SDA while the encoder owns it, the
// bus faster than the encoder's timing, its control lines (port B bit 3 its reset line, bit 2 the
// LCD line) out of the order or shorter than the output switch needs, and bits of its registers the
// program must keep changed by a write.
//
// Sections: state, field timing, registers, judging the program, bus decoder, line levels, files.
#include "sim_cx25874.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim_state.h"

namespace {

// ---- State ---------------------------------------------------------------------------------------
// The encoder's state is the console's (g_sim.encoder, SimEncoder in sim_state.h).
constexpr uint32_t kNoTransfer = SIM_ENCODER_NO_TRANSFER;
constexpr uint32_t kNack = 0x10000;
constexpr uint32_t kRead = 0x20000;
constexpr int64_t kLongAgo = SIM_LONG_AGO_NS;
constexpr SimEncoderPhase kIdle = SimEncoderPhase::Idle, kAddressIn = SimEncoderPhase::AddressIn,
                          kAcknowledge = SimEncoderPhase::Acknowledge,
                          kDataIn = SimEncoderPhase::DataIn, kDataOut = SimEncoderPhase::DataOut,
                          kMasterAck = SimEncoderPhase::MasterAck;
using Encoder = SimEncoder;
using Phase = SimEncoderPhase;

// A port B line's level as the program sets it: its output bit while its pin function is 01 (it
// drives it), else high (released and pulled up).
bool LineLevel(uint16_t output, uint16_t pinFunction, uint16_t line) {
  const int pin = __builtin_ctz(line);
  return ((pinFunction >> (2 * pin)) & 3) == 1 ? (output & line) != 0 : true;
}

void Trace(uint64_t timeNs, const char* format, int reg = -1, int value = -1) {
  if (!g_sim.encoder.traceSink) return;
  char line[64];
  const int head = std::snprintf(line, sizeof line, "%" PRIu64 " ", timeNs / 1000);
  std::snprintf(line + head, sizeof line - head, format, reg, value);
  g_sim.encoder.traceSink(g_sim.encoder.traceContext, line);
}

// ---- Field timing --------------------------------------------------------------------------------
// The encoder follows the fields the display controller sends it: a field opens with its vertical
// blank, so the field being output now is the frames begun plus one once the blank has begun. A
// caption pair goes out in the next vertical blank (its line 21).
bool InBlank() { return (SimTiming_SyncBits() & GP2X_GPIOB_VSYNC) != 0; }
uint64_t FieldNow() { return SimFramesBegun() + (InBlank() ? 1 : 0); }

// ---- Registers -----------------------------------------------------------------------------------
// Registers the program changes by read-modify-write: the bits it must keep, and what they hold at
// power-on and after a reset (not zero, so a plain write shows).
struct KeptBits {
  uint8_t reg, keep, powerOn;
};
constexpr KeptBits kKeptBits[] = {
    {0x5E, 0xF0, 0x30},  // caption set-up: the low four bits are the program's
    {0xC4, 0xC7, 0x81},  // caption set-up: bits 3-5 are the program's
};

void ResetRegisters() {
  g_sim.encoder.registers.fill(0);
  for (const KeptBits& kept : kKeptBits) g_sim.encoder.registers[kept.reg] = kept.powerOn;
}

bool HoldsSet(const uint8_t* values) {
  for (int i = 0; i < CX25874_SET_SIZE; ++i)
    if (g_sim.encoder.registers[CX25874_SET_REGISTERS[i]] != values[i]) return false;
  return true;
}

void LoadSet(const uint8_t* values) {
  for (int i = 0; i < CX25874_SET_SIZE; ++i) g_sim.encoder.registers[CX25874_SET_REGISTERS[i]] = values[i];
}

// A pair not yet sent when the next one arrives (or the encoder resets) never goes out.
void DropUnsentPair(uint64_t timeNs) {
  if (!g_sim.encoder.captions.empty() && g_sim.encoder.captions.back().timeNs > timeNs)
    g_sim.encoder.captions.pop_back();
}

uint8_t ReadRegister(uint8_t reg, uint64_t timeNs) {
  if (reg == CX25874_STATUS)
    return timeNs < g_sim.encoder.busyUntilNs ? CX25874_STATUS_CAPTION_BUSY : 0x00;
  if (reg == CX25874_FIELD)
    return static_cast<uint8_t>((FieldNow() & 1 ? CX25874_FIELD_ODD : 0) |
                                (InBlank() ? 0 : CX25874_FIELD_ACTIVE));
  return g_sim.encoder.registers[reg];
}

// When the answer of a read of reg can next change; UINT64_MAX: not on the encoder's account.
uint64_t ReadAnswerChangesNs(uint8_t reg, uint64_t timeNs) {
  if (reg == CX25874_STATUS && timeNs < g_sim.encoder.busyUntilNs) return g_sim.encoder.busyUntilNs;
  if (reg == CX25874_FIELD) return SimTiming_NextVSyncEdgeNs();
  return UINT64_MAX;
}

// A transfer has ended (transfer: kNack or kRead | ...; kNoTransfer for a write).
void EndTransfer(uint32_t transfer, uint64_t answerChangesNs) {
  g_sim.encoder.transferEnded = true;
  g_sim.encoder.transferEnd = {transfer != kNoTransfer && transfer == g_sim.encoder.lastTransfer,
                           answerChangesNs};
  g_sim.encoder.lastTransfer = transfer;
}

// ---- Judging the program -------------------------------------------------------------------------
// Bus timing: the two-wire bus's fast-mode minimums (its 400 kHz figures; the encoder is taken to be
// a fast-mode device, as video encoders on such a bus are): clock low 1.3 us, clock high 0.6 us,
// data set-up 100 ns before the clock rises, start hold 0.6 us, repeated start set-up 0.6 us, stop
// set-up 0.6 us, bus free from a stop to the next start 1.3 us. The data hold time is 0 there:
// here a change of SDA must come at least one access after the clock's fall, never in the same
// write.
constexpr int64_t kClockLowNs = 1300, kClockHighNs = 600, kDataSetupNs = 100;
constexpr int64_t kStartHoldNs = 600, kRepeatedStartSetupNs = 600, kStopSetupNs = 600;
constexpr int64_t kBusFreeNs = 1300;
// Control lines, in the program's millisecond readings (a wait of n ms on its clock spans n
// readings): the reset line low for a wait of 1 ms and the bus left alone 1 ms after it rises;
// after a reset through 0xBA, 10 ms before the bus or the LCD line is used.
constexpr uint64_t kResetPulseMs = 1, kAfterPulseMs = 1, kAfterResetMs = 10;

uint64_t MillisecondNow() { return SimClock_MillisecondReading(); }

double Microseconds(int64_t ns) { return static_cast<double>(ns) / 1000.0; }

void CheckAtLeast(int64_t elapsedNs, int64_t minimumNs, const char* what) {
  if (elapsedNs < minimumNs)
    SimStrict_Offence("encoder bus: %s %.2f us, under its %.1f us", what, Microseconds(elapsedNs),
                      Microseconds(minimumNs));
}

void CheckKeptBits(uint8_t reg, uint8_t value) {
  for (const KeptBits& kept : kKeptBits)
    if (kept.reg == reg && ((value ^ g_sim.encoder.registers[reg]) & kept.keep))
      SimStrict_Offence("encoder register 0x%02X written 0x%02X over 0x%02X: bits 0x%02X are to be kept",
                        reg, value, g_sim.encoder.registers[reg], kept.keep);
}

// A transfer begins: the encoder must be out of reset, pulsed since the TV output was entered, and
// past the waits after its reset line and its reset register.
void CheckReadyForTransfer() {
  const Encoder& e = g_sim.encoder;
  const uint64_t now = MillisecondNow();
  if (!e.resetLine)
    SimStrict_Offence("encoder bus used while its reset line (port B bit 3) is low");
  else if (e.pulseDue)
    SimStrict_Offence("encoder bus used after the LCD line (port B bit 2) was cleared but before "
                      "the encoder's reset line (bit 3) was pulsed");
  else if (e.resetLineRose && now - e.resetLineRoseMs < kAfterPulseMs)
    SimStrict_Offence("encoder bus used under %" PRIu64 " ms after its reset line (port B bit 3) rose",
                      kAfterPulseMs);
  if (e.resetWritten && now - e.resetWrittenMs < kAfterResetMs)
    SimStrict_Offence("encoder bus used under %" PRIu64 " ms after its reset (register 0xBA)",
                      kAfterResetMs);
}

// The control lines as the output switch drives them: entering TV output clears the LCD line, then
// pulses the reset line low for 1 ms; leaving it resets the encoder through 0xBA and sets the LCD
// line 10 ms later.
void ControlLinesWritten(bool resetLine, bool lcdLine) {
  Encoder& e = g_sim.encoder;
  const uint64_t now = MillisecondNow();
  if (e.lcdLine && !lcdLine) e.pulseDue = true;
  if (!e.lcdLine && lcdLine) {
    if (!e.resetSinceUse)
      SimStrict_Offence("LCD line (port B bit 2) set without the encoder reset first (register 0xBA)");
    else if (e.resetWritten && now - e.resetWrittenMs < kAfterResetMs)
      SimStrict_Offence("LCD line (port B bit 2) set under %" PRIu64 " ms after the encoder's reset",
                        kAfterResetMs);
  }
  if (e.resetLine && !resetLine) {
    if (lcdLine)
      SimStrict_Offence("encoder's reset line (port B bit 3) pulled low while the LCD line (bit 2) "
                        "is still set");
    e.resetLineFellMs = now;
  }
  if (!e.resetLine && resetLine) {
    if (now - e.resetLineFellMs < kResetPulseMs)
      SimStrict_Offence("encoder's reset line (port B bit 3) low under %" PRIu64 " ms", kResetPulseMs);
    else if (!lcdLine)
      e.pulseDue = false;
    e.resetLineRose = true;
    e.resetLineRoseMs = now;
  }
  e.resetLine = resetLine;
  e.lcdLine = lcdLine;
}

void WriteRegister(uint8_t reg, uint8_t value, uint64_t timeNs) {
  Trace(timeNs, "ENC W 0x%02X 0x%02X", reg, value);
  EndTransfer(kNoTransfer, UINT64_MAX);
  if (reg == CX25874_RESET) {
    if (value & CX25874_RESET_ALL) {
      DropUnsentPair(timeNs);
      ResetRegisters();
      g_sim.encoder.standard = kSimTVUnknown;
      g_sim.encoder.busyUntilNs = 0;
      g_sim.encoder.resetWritten = g_sim.encoder.resetSinceUse = true;
      g_sim.encoder.resetWrittenMs = MillisecondNow();
    }
    return;
  }
  g_sim.encoder.resetSinceUse = false;
  CheckKeptBits(reg, value);
  g_sim.encoder.registers[reg] = value;
  if (reg == CX25874_SET_LAST) {
    if (HoldsSet(CX25874_SET_NTSC)) g_sim.encoder.standard = kSimTVNTSC;
    if (HoldsSet(CX25874_SET_PAL)) g_sim.encoder.standard = kSimTVPAL;
  } else if (reg == CX25874_CAPTION_SECOND) {
    // The pair leaves in the next vertical blank, which opens the next field; the status stays
    // busy until then.
    DropUnsentPair(timeNs);
    const uint64_t field = FieldNow() + 1;
    const uint64_t outNs = SimTiming_NextVBlankNs();
    g_sim.encoder.captions.push_back({field, outNs, g_sim.encoder.registers[CX25874_CAPTION_FIRST], value});
    g_sim.encoder.busyUntilNs = outNs;
  }
}

// ---- Bus decoder ---------------------------------------------------------------------------------
void OnStart() {
  if (g_sim.encoder.phase == kIdle) CheckReadyForTransfer();
  g_sim.encoder.ownershipReported = false;
  g_sim.encoder.phase = kAddressIn;
  g_sim.encoder.bits = 0;
  g_sim.encoder.shift = 0;
  g_sim.encoder.pullSda = false;
}

void OnStop() {
  g_sim.encoder.phase = kIdle;
  g_sim.encoder.pullSda = false;
}

// The encoder owns SDA through its acknowledge and the bits it sends: the port must have released it.
void CheckOwnership() {
  Encoder& e = g_sim.encoder;
  if (!e.sdaDriven || e.ownershipReported || (e.phase != kAcknowledge && e.phase != kDataOut)) return;
  e.ownershipReported = true;
  if (e.phase == kAcknowledge)
    SimStrict_Offence("encoder bus: SDA (port B bit 0) driven by the port through the encoder's "
                      "acknowledge");
  else
    SimStrict_Offence("encoder bus: SDA (port B bit 0) driven by the port while the encoder sends "
                      "register 0x%02X", e.pointer);
}

void OnClockRise() {
  CheckOwnership();
  const Phase phase = g_sim.encoder.phase;
  if (phase == kAddressIn || phase == kDataIn) {
    g_sim.encoder.shift = static_cast<uint8_t>((g_sim.encoder.shift << 1) | (g_sim.encoder.sda ? 1 : 0));
    ++g_sim.encoder.bits;
  } else if (phase == kMasterAck && g_sim.encoder.sda) {
    g_sim.encoder.phase = kIdle;  // no acknowledge from the program: the read ends
  }
}

void SendBit() { g_sim.encoder.pullSda = !((g_sim.encoder.outByte >> (7 - g_sim.encoder.bits)) & 1); }

void BeginByteOut(uint64_t timeNs) {
  g_sim.encoder.phase = kDataOut;
  g_sim.encoder.bits = 0;
  g_sim.encoder.outByte = ReadRegister(g_sim.encoder.pointer, timeNs);
  SendBit();
}

void OnClockFall(uint64_t timeNs) {
  switch (g_sim.encoder.phase) {
    case kAddressIn:
      if (g_sim.encoder.bits < 8) return;
      if ((g_sim.encoder.shift & 0xFE) != CX25874_ADDRESS_WRITE || g_sim.encoder.fault) {
        Trace(timeNs, "ENC NACK");
        EndTransfer(kNack, UINT64_MAX);
        g_sim.encoder.phase = kIdle;
        return;
      }
      g_sim.encoder.reading = g_sim.encoder.shift & 1;
      g_sim.encoder.haveRegister = false;
      g_sim.encoder.phase = kAcknowledge;
      g_sim.encoder.pullSda = true;
      return;
    case kDataIn:
      if (g_sim.encoder.bits < 8) return;
      if (!g_sim.encoder.haveRegister) {
        g_sim.encoder.pointer = g_sim.encoder.shift;
        g_sim.encoder.haveRegister = true;
      } else {
        WriteRegister(g_sim.encoder.pointer, g_sim.encoder.shift, timeNs);
        ++g_sim.encoder.pointer;
      }
      g_sim.encoder.phase = kAcknowledge;
      g_sim.encoder.pullSda = true;
      return;
    case kAcknowledge:
      g_sim.encoder.pullSda = false;
      g_sim.encoder.bits = 0;
      g_sim.encoder.shift = 0;
      if (g_sim.encoder.reading)
        BeginByteOut(timeNs);
      else
        g_sim.encoder.phase = kDataIn;
      return;
    case kDataOut:
      if (++g_sim.encoder.bits < 8) {
        SendBit();
        return;
      }
      g_sim.encoder.pullSda = false;
      Trace(timeNs, "ENC R 0x%02X 0x%02X", g_sim.encoder.pointer, g_sim.encoder.outByte);
      EndTransfer(kRead | uint32_t{g_sim.encoder.pointer} << 8 | g_sim.encoder.outByte,
                  ReadAnswerChangesNs(g_sim.encoder.pointer, timeNs));
      ++g_sim.encoder.pointer;
      g_sim.encoder.phase = kMasterAck;
      return;
    case kMasterAck:  // acknowledged by the program: the next register follows
      BeginByteOut(timeNs);
      return;
    case kIdle:
      return;
  }
}

// ---- Line levels ---------------------------------------------------------------------------------
void DumpLevel(char id, bool level, uint64_t timeNs) {
  if (!g_sim.encoder.vcd) return;
  // Keep every change at a time of its own, in the order it happened.
  if (timeNs <= g_sim.encoder.vcdLastNs) timeNs = g_sim.encoder.vcdLastNs + 1;
  g_sim.encoder.vcdLastNs = timeNs;
  std::fprintf(g_sim.encoder.vcd, "#%" PRIu64 "\n%c%c\n", timeNs, level ? '1' : '0', id);
}

// Applies the program's levels: a falling clock first (the encoder answers on it), then the data
// line (a change while the clock is high is a start or a stop), then a rising clock; each edge is
// held against the bus timing. masterSdaChanged: the program changed what it does with SDA.
void Settle(uint64_t timeNs, bool masterSdaChanged) {
  Encoder& e = g_sim.encoder;
  const int64_t t = static_cast<int64_t>(timeNs);
  if (masterSdaChanged) e.masterSdaNs = t;
  if (e.scl && !e.masterScl) {
    e.scl = false;
    DumpLevel('!', false, timeNs);
    if (e.pulseActive) CheckAtLeast(t - e.sclRoseNs, kClockHighNs, "SCL (port B bit 1) high");
    if (e.startHeld) CheckAtLeast(t - e.startNs, kStartHoldNs, "start held");
    e.startHeld = false;
    e.sclFellNs = t;
    if (masterSdaChanged && e.pulseActive)
      SimStrict_Offence("encoder bus: SDA (port B bit 0) changed in the same write as SCL's fall, "
                        "without hold time");
    OnClockFall(timeNs);
  }
  const bool sda = e.sdaDriven ? e.sdaOut : !e.pullSda;
  if (sda != e.sda) {
    e.sda = sda;
    DumpLevel('"', sda, timeNs);
    if (e.scl) {
      if (sda) {
        CheckAtLeast(t - e.sclRoseNs, kStopSetupNs, "stop set-up");
        e.stopNs = t;
        OnStop();
      } else {
        if (e.phase == kIdle) CheckAtLeast(t - e.stopNs, kBusFreeNs, "bus free before a start");
        else CheckAtLeast(t - e.sclRoseNs, kRepeatedStartSetupNs, "repeated start set-up");
        e.startNs = t;
        e.startHeld = true;
        OnStart();
      }
    }
  }
  if (!e.scl && e.masterScl) {
    e.scl = true;
    DumpLevel('!', true, timeNs);
    e.pulseActive = e.phase != kIdle;
    if (e.pulseActive) {
      CheckAtLeast(t - e.sclFellNs, kClockLowNs, "SCL (port B bit 1) low");
      CheckAtLeast(t - e.masterSdaNs, kDataSetupNs, "data set-up");
    }
    e.sclRoseNs = t;
    OnClockRise();
  }
}

}  // namespace

void SIM_CX25874_PowerOn(SimTVStandard standard, uint16_t output, uint16_t pinFunction) {
  SIM_CX25874_CloseVCD();
  g_sim.encoder = SimEncoder{};
  Encoder& e = g_sim.encoder;
  ResetRegisters();
  if (standard == kSimTVNTSC) LoadSet(CX25874_SET_NTSC);
  if (standard == kSimTVPAL) LoadSet(CX25874_SET_PAL);
  if (standard != kSimTVUnknown) e.registers[0x8C] = 0x43;  // output on, as the firmware left it
  e.standard = standard;
  e.resetLine = LineLevel(output, pinFunction, GP2X_GPIOB_ENCODER);
  e.lcdLine = LineLevel(output, pinFunction, GP2X_GPIOB_LCD);
  e.resetSinceUse = standard == kSimTVUnknown;  // the firmware left it reset on the LCD
}

void SIM_CX25874_SetFault(bool neverAcknowledges) { g_sim.encoder.fault = neverAcknowledges; }

void SIM_CX25874_SetTraceSink(void (*sink)(void*, const char*), void* context) {
  g_sim.encoder.traceSink = sink;
  g_sim.encoder.traceContext = context;
}

void SIM_CX25874_PortWritten(uint64_t timeNs, uint16_t output, uint16_t pinFunction) {
  Encoder& e = g_sim.encoder;
  const bool sdaDriven = (pinFunction & GP2X_GPIOB_SDA_FUNCTION) == GP2X_GPIOB_SDA_DRIVE;
  const bool sdaOut = (output & GP2X_GPIOB_SDA) != 0;
  const bool masterSdaChanged =
      sdaDriven != e.sdaDriven || (sdaDriven && sdaOut != e.sdaOut) ;
  e.sdaDriven = sdaDriven;
  e.sdaOut = sdaOut;
  e.masterScl = LineLevel(output, pinFunction, GP2X_GPIOB_SCL);
  Settle(timeNs, masterSdaChanged);
  const bool resetLine = LineLevel(output, pinFunction, GP2X_GPIOB_ENCODER);
  const bool lcdLine = LineLevel(output, pinFunction, GP2X_GPIOB_LCD);
  if (resetLine != e.resetLine || lcdLine != e.lcdLine) ControlLinesWritten(resetLine, lcdLine);
}

bool SIM_CX25874_HoldsSDALow() { return g_sim.encoder.pullSda; }

bool SIM_CX25874_TakeTransferEnd(SimEncoderTransferEnd* end) {
  if (!g_sim.encoder.transferEnded) return false;
  g_sim.encoder.transferEnded = false;
  *end = g_sim.encoder.transferEnd;
  return true;
}

SimTVStandard SIM_CX25874_Standard() { return g_sim.encoder.standard; }
uint8_t SIM_CX25874_Register(uint8_t reg) { return g_sim.encoder.registers[reg]; }
size_t SIM_CX25874_CaptionCount() { return g_sim.encoder.captions.size(); }
const SimCaptionPair* SIM_CX25874_Captions() { return g_sim.encoder.captions.data(); }

// ---- Files ---------------------------------------------------------------------------------------
namespace {

// Drop-frame timecode of a frame number at 29.97 frames a second: two frame numbers are skipped at
// the start of every minute except every tenth.
void DropFrameTimecode(uint64_t frame, char* out, size_t size) {
  const uint64_t tenMinutes = 17982, minute = 1798;
  const uint64_t blocks = frame / tenMinutes, rest = frame % tenMinutes;
  frame += 18 * blocks + (rest > 1 ? 2 * ((rest - 2) / minute) : 0);
  std::snprintf(out, size, "%02" PRIu64 ":%02" PRIu64 ":%02" PRIu64 ";%02" PRIu64,
                frame / 108000, frame / 1800 % 60, frame / 30 % 60, frame % 30);
}

}  // namespace

bool SIM_CX25874_WriteSCC(const char* path) {
  FILE* file = std::fopen(path, "w");
  if (!file) return false;
  std::fputs("Scenarist_SCC V1.0\n", file);
  bool haveFrame = false;
  uint64_t lastFrame = 0;
  for (const SimCaptionPair& pair : g_sim.encoder.captions) {
    uint64_t frame = pair.timeNs * 30000 / 1001 / 1000000000;
    if (haveFrame && frame <= lastFrame) frame = lastFrame + 1;
    if (!haveFrame || frame != lastFrame + 1) {
      char timecode[16];
      DropFrameTimecode(frame, timecode, sizeof timecode);
      std::fprintf(file, "\n\n%s\t", timecode);
    } else {
      std::fputc(' ', file);
    }
    std::fprintf(file, "%02x%02x", pair.first, pair.second);
    haveFrame = true;
    lastFrame = frame;
  }
  std::fputs("\n", file);
  return std::fclose(file) == 0;
}

bool SIM_CX25874_OpenVCD(const char* path, uint64_t timeNs) {
  SIM_CX25874_CloseVCD();
  g_sim.encoder.vcd = std::fopen(path, "w");
  if (!g_sim.encoder.vcd) return false;
  std::fprintf(g_sim.encoder.vcd,
               "$timescale 1ns $end\n$scope module gpio_b $end\n$var wire 1 ! scl $end\n"
               "$var wire 1 \" sda $end\n$upscope $end\n$enddefinitions $end\n"
               "#%" PRIu64 "\n$dumpvars\n%c!\n%c\"\n$end\n",
               timeNs, g_sim.encoder.scl ? '1' : '0', g_sim.encoder.sda ? '1' : '0');
  g_sim.encoder.vcdLastNs = timeNs;
  return true;
}

void SIM_CX25874_CloseVCD() {
  if (g_sim.encoder.vcd) std::fclose(g_sim.encoder.vcd);
  g_sim.encoder.vcd = nullptr;
}
