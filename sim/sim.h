// sim.h: the simulated console as its hosts see it (copperbramble-sim, the tests, anyone's program
// that links the hardware back end on the PC): configuration, the virtual or real-time clock, the
// buttons, input devices and touch screen it is given, and what it recorded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class SimTV { Lcd, Ntsc, Pal };

// Injected faults, a bit each.
enum SimFault : uint32_t {
  SIM_FAULT_DEV_MEM = 1u << 0,       // "dev-mem": /dev/mem does not open
  SIM_FAULT_NO_INPUT = 1u << 1,      // "no-input": no input event device
  SIM_FAULT_NO_TOUCH = 1u << 2,      // "no-touchscreen": the touch screen does not open
  SIM_FAULT_MAP_VIDEO = 1u << 3,     // "map-video": the video memory window cannot be mapped
  SIM_FAULT_ENCODER = 1u << 4,       // "encoder": the TV encoder never acknowledges
};

struct SimConfig {
  SimTV tv = SimTV::Lcd;             // the output the firmware left running
  std::string firmware = "4.1.0";    // the version file's text; empty: no version file
  std::string tracePath;             // every register access, one line each; empty: no trace
  std::string captionsPath;          // the TV encoder's caption pairs as a Scenarist caption file,
                                     // written at power-off; empty: none
  std::string busDumpPath;           // the encoder's two bus lines as a value-change dump; empty: none
  uint32_t faults = 0;               // SimFault bits
  bool realTime = true;              // false: the virtual clock
  uint32_t framePeriodMs = 20;       // the display's frame period
  uint32_t inputDeviceMask = 1;      // bit n: event device n exists (no-input clears all)
  uint32_t timerStart = 0;           // the free-running timer's count at power-on
  bool strict = false;               // the first offence against the hardware's rules ends the
                                     // process (status 3); without it offences are counted
};

// The configuration the environment asks for: CB_SIM_TV=lcd|ntsc|pal, CB_SIM_FIRMWARE=x.y.z
// (empty: no version file), CB_SIM_TRACE=FILE, CB_SIM_FAULTS=name,name, CB_SIM_STRICT=1. A
// malformed value is reported on standard error and left at its default.
SimConfig SimConfigFromEnvironment();
// Parses a comma list of fault names into SimFault bits; false (with the name in error) on an
// unknown one.
bool SimParseFaults(const std::string& list, uint32_t* faults, std::string* error);
bool SimParseTV(const std::string& name, SimTV* tv);

// Powers the console on afresh with this configuration (a console that is on is powered off
// first): a new console, registers as the firmware leaves them, memory cleared, time 0, no device
// open, no hook set. The console powers on only so: until then, and after power-off, register
// accesses reach nothing and the device files do not open. A program that links the back end
// powers on with SimConfigFromEnvironment() or its own configuration.
void SimPowerOn(const SimConfig& config);
// Writes the caption file, closes the trace and the bus dump, stops the second core and forgets
// everything.
void SimPowerOff();
const SimConfig& SimCurrentConfig();

// Offences against the hardware's rules the console noticed since power-on (a line driven high
// while a device holds it low, the bus faster than the encoder's timing, the encoder's control
// lines out of order or too short, bits of an encoder register the program must keep changed):
// each is traced as "<t_us> STRICT <what>". In strict mode (SimConfig::strict, or CB_SIM_STRICT=1
// in the environment of any program) the first one prints "strict: <what> at <t_us> us" on
// standard error and exits with status 3; otherwise power-off sums them up in one line.
inline constexpr int SIM_STRICT_EXIT_STATUS = 3;
uint64_t SimStrictOffences();
const std::string& SimFirstOffence();  // "<what> at <t_us> us"; empty while none

// Time since power-on in nanoseconds (virtual, or the host's in real-time mode).
uint64_t SimNowNs();
// Virtual clock only: moves time on (never back).
void SimAdvanceNs(uint64_t nanoseconds);
// The timer's count as a program would read it now; setting it makes the count jump (a glitch or
// a wrap, for tests), after which it runs on from there.
uint32_t SimTimerCount();
void SimSetTimerCount(uint32_t count);
uint64_t SimFramesBegun();  // vertical blanks ended since power-on
// Called at every frame begun (after the window, if any, has shown it). Null clears; power-on
// clears it too, so a host sets it after.
using SimFrameHook = void (*)(void* context);
void SimSetFrameHook(SimFrameHook hook, void* context);

// The frame the display controller shows now, composed from its registers and video memory at
// the output size they set: width x height pixels of blue, green, red, rows back to back. Valid
// until the next call.
const uint8_t* SimComposeFrame(int* width, int* height);

// Buttons held, as an input state word (VKR_BUTTON_ masks); the port lines read low for them.
void SimSetButtons(uint32_t held);
// One Linux input event queued on event device n (type, code, value), stamped with sim time.
void SimQueueInputEvent(uint32_t device, uint16_t type, uint16_t code, int32_t value);
// One touch-screen record (pressure, x, y), or raw bytes as the device would hand them out.
void SimQueueTouch(uint16_t pressure, uint16_t x, uint16_t y);
void SimQueueTouchBytes(const std::vector<uint8_t>& bytes);
// Converter channel 0 to 7 holds a 10-bit value.
void SimSetConverter(uint32_t channel, uint16_t value);
enum class SimSDCard { Absent, Present, WriteProtected };
void SimSetSDCard(SimSDCard card);

// Registers as the console holds them, without an access of the program's (for tests).
uint16_t SimPeekReg16(uint32_t offset);
void SimPokeReg16(uint32_t offset, uint16_t value);
// Windows of /dev/mem mapped now, and descriptors open now.
uint32_t SimMappedWindows();
uint32_t SimOpenDescriptors();
// Register accesses made by the program since power-on.
uint64_t SimAccessCount();

// Every register access as it happens, into a log the caller owns (for tests): the same accesses
// the trace lists. Set after power-on; null stops logging; power-off stops it too.
struct SimAccess {
  bool write, wide, blitter;  // wide: a 32-bit access
  uint32_t offset, value;
  bool operator==(const SimAccess&) const = default;
};
void SimSetAccessLog(std::vector<SimAccess>* log);

// The launcher the program asked to replace itself with (recorded, not performed).
struct SimLauncherRecord {
  bool started = false;
  std::string path;
  std::vector<std::string> argv;
  std::string directory;  // the working directory the program had set when it asked
};
const SimLauncherRecord& SimLauncher();
