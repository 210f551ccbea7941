// sim_cx25874.h: the simulated TV encoder, a device on the console's two-wire bus (port B: SDA is
// bit 0, SCL bit 1). It sees only the line levels and decodes start, stop, address, data and
// acknowledge from their edges; it holds the encoder's register file and the caption status,
// follows the display controller's fields, and records every caption pair it sends out.
//
// How the simulated console wires it (sim_io.cpp, sim_console.cpp): after every write of port B's
// output or pin-function register, SIM_CX25874_PortWritten(t, output, pin function); then port B's
// SDA pin reads low while SIM_CX25874_HoldsSDALow() (the ports unit's pull-down). t is the
// console's time now in nanoseconds. A line is driven from its output bit when its 2-bit
// pin-function field is 01, else it is released and pulled high.
#pragma once

#include <cstddef>
#include <cstdint>

enum SimTVStandard { kSimTVUnknown = 0, kSimTVNTSC = 1, kSimTVPAL = 2 };

// One caption pair as the encoder sent it: the field it went out in (the display controller's
// fields since power-on) and the two bytes, parity included.
struct SimCaptionPair {
  uint64_t field;
  uint64_t timeNs;  // the vertical blank that opens that field
  uint8_t first, second;
};

// Power-on: the register file as the firmware left it for `standard` (kSimTVUnknown: as after a
// reset), the bus idle, the control lines as port B's output and pin-function registers set them,
// the caption record, trace sink and fault cleared, any value-change dump closed.
void SIM_CX25874_PowerOn(SimTVStandard standard, uint16_t output, uint16_t pinFunction);

// Fault "encoder": while set, the encoder never acknowledges (it still sees the transfers).
void SIM_CX25874_SetFault(bool neverAcknowledges);

// Trace: each decoded transfer as one line without newline, "<t_us> ENC W 0x8C 0x43" for a
// register write, "<t_us> ENC R 0x02 0x00" for a register read, "<t_us> ENC NACK" for an address
// byte it did not acknowledge. A null sink stops the trace.
void SIM_CX25874_SetTraceSink(void (*sink)(void* context, const char* line), void* context);

// The io decode's two calls (see the top of this file).
void SIM_CX25874_PortWritten(uint64_t timeNs, uint16_t output, uint16_t pinFunction);
bool SIM_CX25874_HoldsSDALow();

// Transfers as idle-poll detection sees them: true once after each transfer ends, telling whether
// it repeated the one before exactly (a read of the same register answering the same, or an
// unacknowledged address) and when its answer can next change: the caption status's busy end, the
// field register's next edge, or UINT64_MAX when nothing the encoder does will change it (a silent
// encoder, a plain register).
struct SimEncoderTransferEnd {
  bool repeat;
  uint64_t answerChangesNs;
};
bool SIM_CX25874_TakeTransferEnd(SimEncoderTransferEnd* end);

// State for tests and tools.
SimTVStandard SIM_CX25874_Standard();  // from the last complete register set received
uint8_t SIM_CX25874_Register(uint8_t reg);
size_t SIM_CX25874_CaptionCount();
const SimCaptionPair* SIM_CX25874_Captions();  // valid until the next bus call

// Writes the caption pairs as a Scenarist caption file (timecodes at 29.97 frames a second, drop
// frame, from each pair's field time; a pair that would share a frame with the one before moves to
// the next frame). false if the file cannot be written.
bool SIM_CX25874_WriteSCC(const char* path);

// Value-change dump of the two line levels (signals scl and sda, 1 ns units) from now on, until
// closed or power-on. false if the file cannot be opened.
bool SIM_CX25874_OpenVCD(const char* path, uint64_t timeNs);
void SIM_CX25874_CloseVCD();
