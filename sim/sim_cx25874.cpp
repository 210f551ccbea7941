// sim_cx25874.cpp: the simulated TV encoder on the two-wire bus: line levels and edges, the
// transfer decoder, the register file with its live status and field registers (on the display
// controller's field timing), idle polls, the caption record and the two files written from it
// (Scenarist captions, value-change dump of the lines).
//
// Sections: state, field timing, registers, bus decoder, line levels, files.
#include "sim_cx25874.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim_state.h"

namespace {

// ---- State ---------------------------------------------------------------------------------------
// The transfer before, as idle-poll detection compares it: none (a write, or nothing yet), an
// unacknowledged address, or a read as kRead | register << 8 | value.
constexpr uint32_t kNoTransfer = ~0u;
constexpr uint32_t kNack = 0x10000;
constexpr uint32_t kRead = 0x20000;

enum Phase {
  kIdle,        // waiting for a start
  kAddressIn,   // receiving the address byte
  kAcknowledge, // pulling SDA low through the ninth clock
  kDataIn,      // receiving a register number or value
  kDataOut,     // sending a register's bits
  kMasterAck,   // ninth clock of a read byte: the program acknowledges or not
};

// The encoder as seen from the bus. One device, main thread of the simulated console only.
struct Encoder {
  uint8_t registers[256];
  SimTVStandard standard;
  bool fault;
  // Lines: what the program drives (released = 1), what the encoder pulls, the resulting levels.
  bool masterScl, masterSda, pullSda, scl, sda;
  // Transfer decoder.
  Phase phase;
  int bits;
  uint8_t shift;
  bool reading;
  bool haveRegister;  // the first data byte after the address names the register
  uint8_t pointer;
  uint8_t outByte;
  // Caption path.
  uint64_t busyUntilNs;
  std::vector<SimCaptionPair> captions;
  // Idle polls.
  uint32_t lastTransfer;
  bool transferEnded;
  SimEncoderTransferEnd transferEnd;
  // Outputs.
  void (*traceSink)(void*, const char*);
  void* traceContext;
  FILE* vcd;
  uint64_t vcdLastNs;
};
Encoder g_encoder;

void Trace(uint64_t timeNs, const char* format, int reg = -1, int value = -1) {
  if (!g_encoder.traceSink) return;
  char line[64];
  const int head = std::snprintf(line, sizeof line, "%" PRIu64 " ", timeNs / 1000);
  std::snprintf(line + head, sizeof line - head, format, reg, value);
  g_encoder.traceSink(g_encoder.traceContext, line);
}

// ---- Field timing --------------------------------------------------------------------------------
// The encoder follows the fields the display controller sends it: a field opens with its vertical
// blank, so the field being output now is the frames begun plus one once the blank has begun. A
// caption pair goes out in the next vertical blank (its line 21).
bool InBlank() { return (SimTiming_SyncBits() & GP2X_GPIOB_VSYNC) != 0; }
uint64_t FieldNow() { return SimFramesBegun() + (InBlank() ? 1 : 0); }

// ---- Registers -----------------------------------------------------------------------------------
bool HoldsSet(const uint8_t* values) {
  for (int i = 0; i < CX25874_SET_SIZE; ++i)
    if (g_encoder.registers[CX25874_SET_REGISTERS[i]] != values[i]) return false;
  return true;
}

void LoadSet(const uint8_t* values) {
  for (int i = 0; i < CX25874_SET_SIZE; ++i) g_encoder.registers[CX25874_SET_REGISTERS[i]] = values[i];
}

// A pair not yet sent when the next one arrives (or the encoder resets) never goes out.
void DropUnsentPair(uint64_t timeNs) {
  if (!g_encoder.captions.empty() && g_encoder.captions.back().timeNs > timeNs)
    g_encoder.captions.pop_back();
}

uint8_t ReadRegister(uint8_t reg, uint64_t timeNs) {
  if (reg == CX25874_STATUS)
    return timeNs < g_encoder.busyUntilNs ? CX25874_STATUS_CAPTION_BUSY : 0x00;
  if (reg == CX25874_FIELD)
    return static_cast<uint8_t>((FieldNow() & 1 ? CX25874_FIELD_ODD : 0) |
                                (InBlank() ? 0 : CX25874_FIELD_ACTIVE));
  return g_encoder.registers[reg];
}

// When the answer of a read of reg can next change; UINT64_MAX: not on the encoder's account.
uint64_t ReadAnswerChangesNs(uint8_t reg, uint64_t timeNs) {
  if (reg == CX25874_STATUS && timeNs < g_encoder.busyUntilNs) return g_encoder.busyUntilNs;
  if (reg == CX25874_FIELD) return SimTiming_NextVSyncEdgeNs();
  return UINT64_MAX;
}

// A transfer has ended (transfer: kNack or kRead | ...; kNoTransfer for a write).
void EndTransfer(uint32_t transfer, uint64_t answerChangesNs) {
  g_encoder.transferEnded = true;
  g_encoder.transferEnd = {transfer != kNoTransfer && transfer == g_encoder.lastTransfer,
                           answerChangesNs};
  g_encoder.lastTransfer = transfer;
}

void WriteRegister(uint8_t reg, uint8_t value, uint64_t timeNs) {
  Trace(timeNs, "ENC W 0x%02X 0x%02X", reg, value);
  EndTransfer(kNoTransfer, UINT64_MAX);
  if (reg == CX25874_RESET) {
    if (value & CX25874_RESET_ALL) {
      DropUnsentPair(timeNs);
      std::memset(g_encoder.registers, 0, sizeof g_encoder.registers);
      g_encoder.standard = kSimTVUnknown;
      g_encoder.busyUntilNs = 0;
    }
    return;
  }
  g_encoder.registers[reg] = value;
  if (reg == CX25874_SET_LAST) {
    if (HoldsSet(CX25874_SET_NTSC)) g_encoder.standard = kSimTVNTSC;
    if (HoldsSet(CX25874_SET_PAL)) g_encoder.standard = kSimTVPAL;
  } else if (reg == CX25874_CAPTION_SECOND) {
    // The pair leaves in the next vertical blank, which opens the next field; the status stays
    // busy until then.
    DropUnsentPair(timeNs);
    const uint64_t field = FieldNow() + 1;
    const uint64_t outNs = SimTiming_NextVBlankNs();
    g_encoder.captions.push_back({field, outNs, g_encoder.registers[CX25874_CAPTION_FIRST], value});
    g_encoder.busyUntilNs = outNs;
  }
}

// ---- Bus decoder ---------------------------------------------------------------------------------
void OnStart() {
  g_encoder.phase = kAddressIn;
  g_encoder.bits = 0;
  g_encoder.shift = 0;
  g_encoder.pullSda = false;
}

void OnStop() {
  g_encoder.phase = kIdle;
  g_encoder.pullSda = false;
}

void OnClockRise() {
  const Phase phase = g_encoder.phase;
  if (phase == kAddressIn || phase == kDataIn) {
    g_encoder.shift = static_cast<uint8_t>((g_encoder.shift << 1) | (g_encoder.sda ? 1 : 0));
    ++g_encoder.bits;
  } else if (phase == kMasterAck && g_encoder.sda) {
    g_encoder.phase = kIdle;  // no acknowledge from the program: the read ends
  }
}

void SendBit() { g_encoder.pullSda = !((g_encoder.outByte >> (7 - g_encoder.bits)) & 1); }

void BeginByteOut(uint64_t timeNs) {
  g_encoder.phase = kDataOut;
  g_encoder.bits = 0;
  g_encoder.outByte = ReadRegister(g_encoder.pointer, timeNs);
  SendBit();
}

void OnClockFall(uint64_t timeNs) {
  switch (g_encoder.phase) {
    case kAddressIn:
      if (g_encoder.bits < 8) return;
      if ((g_encoder.shift & 0xFE) != CX25874_ADDRESS_WRITE || g_encoder.fault) {
        Trace(timeNs, "ENC NACK");
        EndTransfer(kNack, UINT64_MAX);
        g_encoder.phase = kIdle;
        return;
      }
      g_encoder.reading = g_encoder.shift & 1;
      g_encoder.haveRegister = false;
      g_encoder.phase = kAcknowledge;
      g_encoder.pullSda = true;
      return;
    case kDataIn:
      if (g_encoder.bits < 8) return;
      if (!g_encoder.haveRegister) {
        g_encoder.pointer = g_encoder.shift;
        g_encoder.haveRegister = true;
      } else {
        WriteRegister(g_encoder.pointer, g_encoder.shift, timeNs);
        ++g_encoder.pointer;
      }
      g_encoder.phase = kAcknowledge;
      g_encoder.pullSda = true;
      return;
    case kAcknowledge:
      g_encoder.pullSda = false;
      g_encoder.bits = 0;
      g_encoder.shift = 0;
      if (g_encoder.reading)
        BeginByteOut(timeNs);
      else
        g_encoder.phase = kDataIn;
      return;
    case kDataOut:
      if (++g_encoder.bits < 8) {
        SendBit();
        return;
      }
      g_encoder.pullSda = false;
      Trace(timeNs, "ENC R 0x%02X 0x%02X", g_encoder.pointer, g_encoder.outByte);
      EndTransfer(kRead | uint32_t{g_encoder.pointer} << 8 | g_encoder.outByte,
                  ReadAnswerChangesNs(g_encoder.pointer, timeNs));
      ++g_encoder.pointer;
      g_encoder.phase = kMasterAck;
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
  if (!g_encoder.vcd) return;
  // Keep every change at a time of its own, in the order it happened.
  if (timeNs <= g_encoder.vcdLastNs) timeNs = g_encoder.vcdLastNs + 1;
  g_encoder.vcdLastNs = timeNs;
  std::fprintf(g_encoder.vcd, "#%" PRIu64 "\n%c%c\n", timeNs, level ? '1' : '0', id);
}

// Applies the program's levels: a falling clock first (the encoder answers on it), then the data
// line (a change while the clock is high is a start or a stop), then a rising clock.
void Settle(uint64_t timeNs) {
  Encoder& e = g_encoder;
  if (e.scl && !e.masterScl) {
    e.scl = false;
    DumpLevel('!', false, timeNs);
    OnClockFall(timeNs);
  }
  const bool sda = e.masterSda && !e.pullSda;
  if (sda != e.sda) {
    e.sda = sda;
    DumpLevel('"', sda, timeNs);
    if (e.scl) {
      if (sda)
        OnStop();
      else
        OnStart();
    }
  }
  if (!e.scl && e.masterScl) {
    e.scl = true;
    DumpLevel('!', true, timeNs);
    OnClockRise();
  }
}

}  // namespace

void SIM_CX25874_PowerOn(SimTVStandard standard) {
  SIM_CX25874_CloseVCD();
  Encoder& e = g_encoder;
  std::memset(e.registers, 0, sizeof e.registers);
  if (standard == kSimTVNTSC) LoadSet(CX25874_SET_NTSC);
  if (standard == kSimTVPAL) LoadSet(CX25874_SET_PAL);
  if (standard != kSimTVUnknown) e.registers[0x8C] = 0x43;  // output on, as the firmware left it
  e.standard = standard;
  e.fault = false;
  e.masterScl = e.masterSda = e.scl = e.sda = true;
  e.pullSda = false;
  e.phase = kIdle;
  e.bits = 0;
  e.shift = 0;
  e.reading = false;
  e.haveRegister = false;
  e.pointer = 0;
  e.outByte = 0;
  e.busyUntilNs = 0;
  e.captions.clear();
  e.lastTransfer = kNoTransfer;
  e.transferEnded = false;
  e.transferEnd = {};
  e.traceSink = nullptr;
  e.traceContext = nullptr;
}

void SIM_CX25874_SetFault(bool neverAcknowledges) { g_encoder.fault = neverAcknowledges; }

void SIM_CX25874_SetTraceSink(void (*sink)(void*, const char*), void* context) {
  g_encoder.traceSink = sink;
  g_encoder.traceContext = context;
}

void SIM_CX25874_PortWritten(uint64_t timeNs, uint16_t output, uint16_t pinFunction) {
  g_encoder.masterSda = (pinFunction & 0x3) == 0x1 ? (output & 1) != 0 : true;
  g_encoder.masterScl = (pinFunction & 0xC) == 0x4 ? (output & 2) != 0 : true;
  Settle(timeNs);
}

bool SIM_CX25874_HoldsSDALow() { return g_encoder.pullSda; }

bool SIM_CX25874_TakeTransferEnd(SimEncoderTransferEnd* end) {
  if (!g_encoder.transferEnded) return false;
  g_encoder.transferEnded = false;
  *end = g_encoder.transferEnd;
  return true;
}

SimTVStandard SIM_CX25874_Standard() { return g_encoder.standard; }
uint8_t SIM_CX25874_Register(uint8_t reg) { return g_encoder.registers[reg]; }
size_t SIM_CX25874_CaptionCount() { return g_encoder.captions.size(); }
const SimCaptionPair* SIM_CX25874_Captions() { return g_encoder.captions.data(); }

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
  for (const SimCaptionPair& pair : g_encoder.captions) {
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
  g_encoder.vcd = std::fopen(path, "w");
  if (!g_encoder.vcd) return false;
  std::fprintf(g_encoder.vcd,
               "$timescale 1ns $end\n$scope module gpio_b $end\n$var wire 1 ! scl $end\n"
               "$var wire 1 \" sda $end\n$upscope $end\n$enddefinitions $end\n"
               "#%" PRIu64 "\n$dumpvars\n%c!\n%c\"\n$end\n",
               timeNs, g_encoder.scl ? '1' : '0', g_encoder.sda ? '1' : '0');
  g_encoder.vcdLastNs = timeNs;
  return true;
}

void SIM_CX25874_CloseVCD() {
  if (g_encoder.vcd) std::fclose(g_encoder.vcd);
  g_encoder.vcd = nullptr;
}
