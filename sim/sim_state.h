// sim_state.h: the whole simulated console as one record, and the entry points by which its unit
// files meet. sim_console.cpp owns g_sim; power-on constructs it afresh, so every unit's state is a
// member and starts from its initial value; sim_io.cpp is the only place register accesses are
// decoded into unit state; the units read and change only their own part. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "disp_model.h"
#include "disp_compose.h"
#include "disp_records.h"
#include "sim_arm940.h"
#include "sim_cx25874.h"
#include "sim.h"
#include "vkr_gp2xRegisters.h"

// ---- Clock (sim_clock.cpp) -------------------------------------------------------------------
// Every register access costs this much virtual time; a frame's work is far under a millisecond.
inline constexpr uint64_t SIM_ACCESS_COST_NS = 50;
inline constexpr uint64_t SIM_NS_PER_MS = 1000000;

struct SimClock {
  uint64_t nowNs = 0;
  int64_t hostStartNs = 0;          // real-time mode: the host's clock at power-on
  uint64_t lastPollJumpNs = 0;      // where the last idle-poll jump on the timer landed
  bool timerWaitJumped = false;     // the current run of timer reads has jumped the clock
  uint64_t secondCoreDueNs = UINT64_MAX;  // the second core runs again once time passes this
};

// ---- Display timing (sim_displayTiming.cpp) --------------------------------------------------
struct SimLines {
  uint64_t active = 0, total = 0;
};
// Where each line of a frame starts (line l at l x period / total), and the frame the last
// position fell in: the sync polls ask many times a line, so neither is worked out again while it
// holds.
struct SimLineTable {
  uint64_t period = 0, total = 0;
  std::array<uint64_t, 313> start{};  // total + 1 entries: the last is the period
};
struct SimFrameCache {
  uint64_t anchorNs = 0, period = 0, frameStart = 0;
  bool valid = false;
};
// A stretch of time over which the sync bits hold still: half a line, its visible part or its
// horizontal blank, stepped to from the last one.
struct SimSyncStretch {
  uint64_t startNs = 0, endNs = 0;  // absolute
  uint64_t frameStart = 0, line = 0;
  bool hblank = false;
  uint64_t period = 0;
  SimLines lines{};
  bool valid = false;
};
using SimPresenter = void (*)();

struct SimDisplayTiming {
  uint64_t anchorNs = 0;            // a vertical blank ends here and every frame period after
  uint64_t framesBegun = 0;         // vertical blanks ended so far
  uint64_t nextFrameNs = 0;         // the next one
  // The stretch of time around the last sync reading over which the sync bits hold still (half a
  // line); empty until worked out.
  uint64_t syncHoldsFromNs = 0, syncHoldsUntilNs = 0;
  uint16_t syncBits = 0;
  SimLineTable lineTable;
  SimFrameCache frameCache;
  SimSyncStretch stretch;
  // The host's frame hook and the window's presenter, set after power-on.
  SimFrameHook frameHook = nullptr;
  void* frameHookContext = nullptr;
  SimPresenter presenter = nullptr;
};

// ---- General-purpose ports (sim_gpio.cpp) ----------------------------------------------------
// The output pins last gathered for a port, with the pin-function registers they came from: the
// sync polls read port B once a half line, and its functions rarely change.
struct SimOutputPinsSeen {
  uint32_t functions = 0;
  uint16_t pins = 0;
};
struct SimGpio {
  std::array<SimOutputPinsSeen, GP2X_GPIO_PORTS> outputPinsSeen{};
  std::array<uint16_t, GP2X_GPIO_PORTS> external{};   // levels the outside drives on input pins
  std::array<uint16_t, GP2X_GPIO_PORTS> pullDown{};   // open-drain devices holding a line low
  std::array<uint16_t, GP2X_GPIO_PORTS> contended{};  // lines driven high against a pull-down
};

// ---- Converter (sim_adc.cpp) -----------------------------------------------------------------
struct SimAdc {
  std::array<uint16_t, 8> channel{};
};

// ---- Device files and launcher (sim_platform.cpp, sim_inputDevices.cpp) ----------------------
enum class SimFileKind { Closed, Mem, Touch, Event };
struct SimFile {
  SimFileKind kind = SimFileKind::Closed;
  uint32_t device = 0;              // event device number
  int flags = 0;
};
inline constexpr int SIM_FIRST_FD = 100;
inline constexpr size_t SIM_MAX_FILES = 16;

struct SimInputDevices {
  std::array<std::deque<std::array<uint8_t, 16>>, 4> events;
  std::deque<std::vector<uint8_t>> touch;   // records as the device hands them out
};

// ---- Blitter and rotator (sim_blitter.cpp) --------------------------------------------------
// An operation is carried out when it starts; its busy bit stays set until its time has passed.
struct SimBlitterUnit {
  uint64_t blitBusyUntilNs = 0;
  uint64_t rotateBusyUntilNs = 0;
  uint64_t operations = 0;          // blits and rotations started since power-on
};

// ---- Display controller (sim_display.cpp) ----------------------------------------------------
inline constexpr size_t kSimMaxHeadersPerChain = 64;  // as many as the compositor follows
// What the registers alone cannot show: the tables written through auto-advancing index
// registers. Everything else is decoded from the registers when a frame is composed.
struct SimDisplay {
  std::array<uint32_t, 256> palette{};   // blue, green, red
  std::array<uint32_t, 256> gamma{};     // output red, green, blue
  std::array<uint32_t, 256> osdPalette{};  // Y, Cb, Cr, alpha in bits 28-31
  // The frame last composed and its written-pixel flags, the model it was composed from, and the
  // overlay records it read, decoded into copies (OSD headers of both chains, the sub-picture base
  // command).
  std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS * 3> frame{};
  std::array<uint8_t, DISP_MAX_OUTPUT_PIXELS> written{};
  DISP_Model frameModel{};
  std::array<DISP_RecordCopy, 2 * kSimMaxHeadersPerChain + 1> records{};
  size_t recordCount = 0;
};

// ---- TV encoder (sim_cx25874.cpp) -------------------------------------------------------------
enum class SimEncoderPhase {
  Idle,         // waiting for a start
  AddressIn,    // receiving the address byte
  Acknowledge,  // pulling SDA low through the ninth clock
  DataIn,       // receiving a register number or value
  DataOut,      // sending a register's bits
  MasterAck,    // ninth clock of a read byte: the program acknowledges or not
};
// Times of bus and control-line events; one that has not happened is long ago.
inline constexpr int64_t SIM_LONG_AGO_NS = -(int64_t{1} << 62);
// The transfer before, as idle-poll detection compares it: none (a write, or nothing yet), an
// unacknowledged address, or a read as kRead | register << 8 | value.
inline constexpr uint32_t SIM_ENCODER_NO_TRANSFER = ~0u;

struct SimEncoder {
  std::array<uint8_t, 256> registers{};
  SimTVStandard standard = kSimTVUnknown;
  bool fault = false;
  // Lines: what the program drives (SCL released = 1; SDA driven or not, and its output bit), what
  // the encoder pulls, the resulting levels. A driven line wins over the encoder's pull.
  bool masterScl = true, sdaDriven = false, sdaOut = true, pullSda = false, scl = true, sda = true;
  // Bus timing as the encoder needs it: when the clock last rose and fell, when the program last
  // changed SDA, the last start and stop, whether the clock pulse under way is one it takes part in.
  int64_t sclRoseNs = SIM_LONG_AGO_NS, sclFellNs = SIM_LONG_AGO_NS, masterSdaNs = SIM_LONG_AGO_NS;
  int64_t startNs = SIM_LONG_AGO_NS, stopNs = SIM_LONG_AGO_NS;
  bool startHeld = false, pulseActive = false, ownershipReported = false;
  // Control lines: the reset line (bit 3) and the LCD line (bit 2); the millisecond readings of
  // the program's clock at their last edges and at the last reset through 0xBA.
  bool resetLine = true, lcdLine = true, pulseDue = false, resetSinceUse = false;
  uint64_t resetLineFellMs = 0, resetLineRoseMs = 0, resetWrittenMs = 0;
  bool resetLineRose = false, resetWritten = false;
  // Transfer decoder.
  SimEncoderPhase phase = SimEncoderPhase::Idle;
  int bits = 0;
  uint8_t shift = 0;
  bool reading = false;
  bool haveRegister = false;  // the first data byte after the address names the register
  uint8_t pointer = 0;
  uint8_t outByte = 0;
  // Caption path.
  uint64_t busyUntilNs = 0;
  std::vector<SimCaptionPair> captions;
  // Idle polls.
  uint32_t lastTransfer = SIM_ENCODER_NO_TRANSFER;
  bool transferEnded = false;
  SimEncoderTransferEnd transferEnd{};
  // Outputs.
  void (*traceSink)(void*, const char*) = nullptr;
  void* traceContext = nullptr;
  FILE* vcd = nullptr;
  uint64_t vcdLastNs = 0;
};

// ---- Second core (sim_arm940.cpp) -------------------------------------------------------------
struct SimWatchedWord {
  uint32_t address = 0, value = 0;
};
struct SimSecondCore {
  struct uc_struct* engine = nullptr;  // the emulator, made afresh at every release from reset
  size_t writeHook = 0;
  uint8_t* memory = nullptr;
  uint32_t size = 0;
  bool open = false, held = true, clock = true, faulted = false;
  uint32_t pc = 0, releases = 0;
  uint64_t timeNs = 0;              // the core has run up to here
  uint64_t writes = 0;              // memory writes by the core that changed it
  // Idle: the words its loop reads, with the values they held.
  bool idle = false;
  std::array<SimWatchedWord, 8> watched{};
  size_t watchedCount = 0;
  bool watchOverflow = false;
};

// ---- Register decode (sim_io.cpp) -------------------------------------------------------------
struct SimIO {
  uint32_t lastKey = ~0u;       // the access before this one, as one number
  uint32_t repeats = 0;         // times it came again in a row
  // The encoder's last transfer repeated the one before with an answer nothing on its side changes.
  bool encoderAnswerStands = false;
};

// ---- Strict judge (sim_strict.cpp) ----------------------------------------------------------
struct SimStrict {
  uint64_t offences = 0;
  std::string first;                // the first offence and its time
};
// An offence against the hardware's rules, printf style: counted, traced, and in strict mode the
// end of the process.
[[gnu::format(printf, 1, 2)]] void SimStrict_Offence(const char* format, ...);
void SimStrict_Summary();

// ---- The console -----------------------------------------------------------------------------
// A memory of the console, zero at power-on. Taken from the host zeroed (calloc hands large blocks
// over as fresh pages), so power-on neither writes nor faults in the megabytes a program never uses.
class SimMemory {
 public:
  void PowerOn(size_t size) {
    bytes_.reset(static_cast<uint8_t*>(std::calloc(size, 1)));
    size_ = bytes_ ? size : 0;
  }
  void PowerOff() {
    bytes_.reset();
    size_ = 0;
  }
  uint8_t* data() { return bytes_.get(); }
  const uint8_t* data() const { return bytes_.get(); }
  size_t size() const { return size_; }
  uint8_t& operator[](size_t at) { return bytes_[at]; }
  uint8_t* begin() { return data(); }
  uint8_t* end() { return data() + size_; }

 private:
  struct Free {
    void operator()(uint8_t* bytes) const { std::free(bytes); }
  };
  std::unique_ptr<uint8_t[], Free> bytes_;
  size_t size_ = 0;
};

struct SimConsole {
  bool poweredOn = false;
  SimConfig config;

  // The four windows of /dev/mem. Registers without behaviour keep what was written.
  std::array<uint16_t, GP2X_REG_WINDOW_SIZE / 2> reg{};
  std::array<uint32_t, GP2X_BLITTER_WINDOW_SIZE / 4> blitter{};
  SimMemory video;
  SimMemory dualCore;
  uint32_t mappedWindows = 0;       // a bit per window

  SimClock clock;
  SimDisplayTiming timing;
  SimGpio gpio;
  SimAdc adc;
  SimBlitterUnit blitterUnit;
  SimDisplay display;
  SimInputDevices input;
  std::array<SimFile, SIM_MAX_FILES> files{};
  int lastError = 0;
  std::string directory = "/";
  SimLauncherRecord launcher;
  SimStrict strict;
  SimEncoder encoder;
  SimSecondCore secondCore;
  SimIO io;

  uint64_t accesses = 0;
  FILE* trace = nullptr;
  std::vector<SimAccess>* accessLog = nullptr;  // SimSetAccessLog's: every access is appended
};
// The console: one record whose storage lives as long as the process (the accessor reaches it
// without a pointer to follow); power-on constructs a fresh console in it, power-off an empty one.
extern SimConsole g_sim;

// ---- Entry points between the units ----------------------------------------------------------
// The units' PowerOn calls set what a fresh console's members cannot start with: values taken from
// the configuration or the host (the host's clock, the frame period, the levels outside the
// ports, the identity gamma table).
//
// Register decode: forgets the access before (sim_io.cpp), so the next access starts no poll. A
// host that changes the console from outside (timer, buttons, registers, time) calls it.
void SimIO_Reset();
// The encoder's last transfer repeated the one before with an answer only time can change.
bool SimIO_EncoderAnswerStands();

// Clock: one access's cost; jumps for idle polls; the timer's count. The hot paths are inline
// below.
void SimClock_PowerOn();
void SimClock_FollowHost();              // real-time mode: to the host's clock
void SimClock_SleepUntil(uint64_t ns);   // real-time mode: an idle poll's jump
void SimClock_Spend(uint64_t ns);        // the program computes for this long (no access)
uint64_t SimClock_NextTimerTickNs();     // the back end's wait on the timer
uint64_t SimClock_NextMillisecondNs();   // the same time, for a poll that only the timer can end
uint32_t SimClock_TimerCount();
// The program's millisecond clock as it reads now (timer count / 7373), without the timer's wrap.
uint64_t SimClock_MillisecondReading();
// The processor's clock as the PLL and divider registers set it, in Hz.
uint64_t SimClock_CpuHz();
void SimClock_TimerWaitEnded();

// Display timing: the sync bits of port B now, the next time either changes (both inline below),
// and the frame boundaries crossed as time moves on.
void SimTiming_PowerOn();
// The frame timing's inputs changed: the controller's output or line count registers, the anchor.
void SimTiming_OutputChanged();
// Works out the stretch of time holding the present, where the sync bits hold still.
void SimTiming_FollowSync();
// The vertical blank alone, as the TV encoder follows the fields: where the next one begins (after
// now), and the next time the vertical sync bit changes.
uint64_t SimTiming_NextVBlankNs();
uint64_t SimTiming_NextVSyncEdgeNs();
void SimTiming_Reanchor(uint64_t ns);
void SimTiming_Advance(uint64_t fromNs, uint64_t toNs);

// ---- Hot paths of every access ---------------------------------------------------------------
// Inline, because the sync polls pass here once a half line: millions of times a run.

// Virtual time moves forward to ns; a frame boundary crossed begins frames.
inline void SimClock_MoveTo(uint64_t ns) {
  if (ns <= g_sim.clock.nowNs) return;
  const uint64_t from = g_sim.clock.nowNs;
  g_sim.clock.nowNs = ns;
  if (ns >= g_sim.clock.secondCoreDueNs) SimArm940_CatchUp();
  if (ns >= g_sim.timing.nextFrameNs) SimTiming_Advance(from, ns);
}

inline void SimClock_AccessCost() {
  if (g_sim.config.realTime) SimClock_FollowHost();
  else SimClock_MoveTo(g_sim.clock.nowNs + SIM_ACCESS_COST_NS);
}

inline void SimClock_JumpTo(uint64_t ns) {
  if (g_sim.config.realTime) SimClock_SleepUntil(ns);
  else SimClock_MoveTo(ns);
}

// An access other than a timer read ends a busy-wait on the timer.
inline void SimClock_EndTimerWait() {
  if (g_sim.clock.timerWaitJumped) SimClock_TimerWaitEnded();
}

inline void SimTiming_FollowSyncIfPassed() {
  const SimDisplayTiming& timing = g_sim.timing;
  const uint64_t length = timing.syncHoldsUntilNs - timing.syncHoldsFromNs;
  if (g_sim.clock.nowNs - timing.syncHoldsFromNs >= length) SimTiming_FollowSync();
}

inline uint16_t SimTiming_SyncBits() {
  SimTiming_FollowSyncIfPassed();
  return g_sim.timing.syncBits;
}

inline uint64_t SimTiming_NextSyncEdgeNs() {
  SimTiming_FollowSyncIfPassed();
  return g_sim.timing.syncHoldsUntilNs;
}

// Blitter and rotator: a write to the blitter window (after it is latched), the value a read
// answers, and when the busy bit a poll of this register waits on clears (0: not busy).
void SimBlitter_Written(uint32_t offset, uint32_t value);
uint32_t SimBlitter_Read(uint32_t offset);
uint64_t SimBlitter_BusyEndsNs(uint32_t offset);

// Display controller: a write to one of its registers (after it is latched: the palette and gamma
// data ports), and the model the registers describe now, as the compositor takes it.
void SimDisplay_PowerOn();
void SimDisplay_Written(uint32_t offset, uint16_t value);
void SimDisplay_Decode(DISP_Model* model);

// Ports: pin levels, and the writes of output and pin-function registers.
void SimGpio_PowerOn();
uint16_t SimGpio_PinLevel(uint32_t port);
// After a write of the port's output or pin-function register, or a device's pull changed: a line
// the port drives high while a device holds it low is an offence (once, until the fight ends).
void SimGpio_CheckContention(uint32_t port);
void SimGpio_SetButtons(uint32_t held);

// Converter: the result of the selected channel.
uint16_t SimAdc_Data();

// Firmware: the registers the firmware leaves before the program starts.
void SimFirmware_SetRegisters(SimTV tv);

// Trace: one line an access.
void SimTrace_Open(const std::string& path);
void SimTrace_Close();
void SimTrace_Access(const char* op, const char* window, uint32_t offset, uint32_t value, int digits);
// A device's own line, already stamped with its time ("12345 ENC W 0x8C 0x43").
void SimTrace_Line(const char* line);

// Window: presents a frame and takes the window's events at each frame begun (sim_window.cpp).
// The frame timing calls it through the presenter the window sets when it opens, so the console
// builds without a window where there is none (an emulated ARM).
void SimWindow_Frame();
void SimTiming_SetPresenter(SimPresenter present);

// Input devices: a read of event device n or of the touch screen (sim_inputDevices.cpp).
long SimInput_ReadEvent(uint32_t device, void* buffer, size_t bytes, bool nonBlocking);
long SimInput_ReadTouch(void* buffer, size_t bytes, bool nonBlocking);
