// sim_cx25874.h: the simulated TV encoder, a device on the console's two-wire bus (port B: SDA is
// bit 0, SCL bit 1). It sees only the line levels and decodes start, stop, address, data and
// acknowledge from their edges; it holds the encoder's register file, the caption status and the
// field timing, and records every caption pair it sends out.
//
// Wiring into the simulated console's io decode:
//   - after every write of 0x1062 (port B output) or 0x1022 (port B pin function), call
//     SIM_CX25874_PortWritten(t, value of 0x1062, value of 0x1022);
//   - a read of 0x1182 (port B pin levels) answers SIM_CX25874_PinLevels(t) in bits 0-1 (SDA, SCL
//     as the lines are, the encoder's pull included), ORed with the port's other levels.
// t is the virtual time in nanoseconds, never decreasing. A line is driven from its output bit when
// its 2-bit pin-function field is 01, else it is released and pulled high.
#pragma once

#include <cstddef>
#include <cstdint>

enum SimTVStandard { kSimTVUnknown = 0, kSimTVNTSC = 1, kSimTVPAL = 2 };

// One caption pair as the encoder sent it: the field it went out in (fields counted from virtual
// time 0 at the standard's field rate) and the two bytes, parity included.
struct SimCaptionPair {
  uint64_t field;
  uint64_t timeNs;  // start of that field
  uint8_t first, second;
};

// Power-on: the register file as the firmware left it for `standard` (kSimTVUnknown: all zero),
// the bus idle, the caption record, trace sink and fault cleared, any value-change dump closed.
void SIM_CX25874_PowerOn(SimTVStandard standard);

// Fault "encoder": while set, the encoder never acknowledges (it still sees the transfers).
void SIM_CX25874_SetFault(bool neverAcknowledges);

// Trace: each decoded transfer as one line without newline, "<t_us> ENC W 0x8C 0x43" for a
// register write, "<t_us> ENC R 0x02 0x00" for a register read, "<t_us> ENC NACK" for an address
// byte it did not acknowledge. A null sink stops the trace.
void SIM_CX25874_SetTraceSink(void (*sink)(void* context, const char* line), void* context);

// The io decode's two calls (see the top of this file).
void SIM_CX25874_PortWritten(uint64_t timeNs, uint16_t output, uint16_t pinFunction);
uint16_t SIM_CX25874_PinLevels(uint64_t timeNs);

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
