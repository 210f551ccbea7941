// sim_console.cpp: the simulated console's power-on and configuration (from the environment or a
// host), and what hosts may look at. Owns g_sim.
#include <cstdlib>
#include <memory>
#include <string_view>

#include "sim_arm940.h"
#include "sim_cx25874.h"
#include "sim_state.h"

SimConsole g_sim;

namespace {

struct FaultName {
  std::string_view name;
  uint32_t bit;
};
constexpr FaultName kFaultNames[] = {
    {"dev-mem", SIM_FAULT_DEV_MEM},
    {"no-input", SIM_FAULT_NO_INPUT},
    {"no-touchscreen", SIM_FAULT_NO_TOUCH},
    {"map-video", SIM_FAULT_MAP_VIDEO},
    {"encoder", SIM_FAULT_ENCODER},
};

// The TV encoder as the firmware leaves it: set up for the television it drives, reset on the LCD.
SimTVStandard EncoderStandard(SimTV tv) {
  return tv == SimTV::Ntsc ? kSimTVNTSC : tv == SimTV::Pal ? kSimTVPAL : kSimTVUnknown;
}

void TraceEncoder(void*, const char* line) { SimTrace_Line(line); }

bool StrictFromEnvironment() {
  const char* strict = std::getenv("CB_SIM_STRICT");
  return strict && std::string_view(strict) == "1";
}

// The devices beside the registers: the encoder on port B's bus and the second core over its
// memory (held until the program releases it).
void PowerOnDevices() {
  SIM_CX25874_PowerOn(EncoderStandard(g_sim.config.tv), g_sim.reg[GP2X_GPIOBOUT >> 1],
                      g_sim.reg[GP2X_GPIOBALTFNLOW >> 1]);
  SIM_CX25874_SetFault(g_sim.config.faults & SIM_FAULT_ENCODER);
  SIM_CX25874_SetTraceSink(TraceEncoder, nullptr);
  const std::string& dump = g_sim.config.busDumpPath;
  if (!dump.empty() && !SIM_CX25874_OpenVCD(dump.c_str(), g_sim.clock.nowNs))
    std::fprintf(stderr, "cannot write the bus dump %s\n", dump.c_str());
  if (!SimArm940_Open(g_sim.dualCore.data(), static_cast<uint32_t>(g_sim.dualCore.size())))
    std::fprintf(stderr, "sim: the second core's emulator does not start; it stays held\n");
  SimArm940_Control(g_sim.reg[GP2X_DUALCTRL940 >> 1], g_sim.reg[GP2X_SYSCLKENREG >> 1]);
}

void PowerOffDevices() {
  SimArm940_Close();
  const std::string& captions = g_sim.config.captionsPath;
  if (g_sim.poweredOn && !captions.empty() && !SIM_CX25874_WriteSCC(captions.c_str()))
    std::fprintf(stderr, "cannot write the caption file %s\n", captions.c_str());
  SIM_CX25874_CloseVCD();
}

}  // namespace

bool SimParseFaults(const std::string& list, uint32_t* faults, std::string* error) {
  uint32_t bits = 0;
  std::string_view rest = list;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    if (name.empty()) continue;
    bool known = false;
    for (const FaultName& fault : kFaultNames)
      if (fault.name == name) {
        bits |= fault.bit;
        known = true;
      }
    if (!known) {
      if (error) *error = std::string(name);
      return false;
    }
  }
  *faults = bits;
  return true;
}

bool SimParseTV(const std::string& name, SimTV* tv) {
  if (name == "lcd") *tv = SimTV::Lcd;
  else if (name == "ntsc") *tv = SimTV::Ntsc;
  else if (name == "pal") *tv = SimTV::Pal;
  else return false;
  return true;
}

SimConfig SimConfigFromEnvironment() {
  SimConfig config;
  if (const char* tv = std::getenv("CB_SIM_TV"); tv && !SimParseTV(tv, &config.tv))
    std::fprintf(stderr, "CB_SIM_TV: %s is not lcd, ntsc or pal\n", tv);
  if (const char* firmware = std::getenv("CB_SIM_FIRMWARE")) config.firmware = firmware;
  if (const char* trace = std::getenv("CB_SIM_TRACE")) config.tracePath = trace;
  config.strict = StrictFromEnvironment();
  if (const char* faults = std::getenv("CB_SIM_FAULTS")) {
    std::string unknown;
    if (!SimParseFaults(faults, &config.faults, &unknown))
      std::fprintf(stderr, "CB_SIM_FAULTS: unknown fault %s\n", unknown.c_str());
  }
  return config;
}

// Power-on builds a fresh console in g_sim: every unit starts from its members' initial values,
// then the firmware's registers and what the configuration asks for.
void SimPowerOn(const SimConfig& config) {
  // Whatever ends the process (a closed window, the program's own exit), the console is powered
  // off first: the caption file is written and the second core's emulator closed.
  static const bool powersOffAtExit = std::atexit(SimPowerOff) == 0;
  (void)powersOffAtExit;
  SimPowerOff();
  g_sim.poweredOn = true;
  g_sim.config = config;
  g_sim.config.strict |= StrictFromEnvironment();  // any program's, whatever its host set
  if (g_sim.config.framePeriodMs == 0) g_sim.config.framePeriodMs = 1;
  if (g_sim.config.faults & SIM_FAULT_NO_INPUT) g_sim.config.inputDeviceMask = 0;
  g_sim.video.PowerOn(GP2X_VIDEO_MEMORY_SIZE);
  g_sim.dualCore.PowerOn(GP2X_DUALCORE_MEMORY_SIZE);
  SimClock_PowerOn();
  SimTiming_PowerOn();
  SimGpio_PowerOn();
  SimDisplay_PowerOn();
  SimFirmware_SetRegisters(g_sim.config.tv);
  if (!g_sim.config.tracePath.empty()) SimTrace_Open(g_sim.config.tracePath);
  PowerOnDevices();
}

// Power-off leaves an empty console: nothing of this one survives into the next.
void SimPowerOff() {
  if (g_sim.poweredOn) {
    SimStrict_Summary();
    PowerOffDevices();
    SimTrace_Close();
  }
  std::destroy_at(&g_sim);
  std::construct_at(&g_sim);
}

const SimConfig& SimCurrentConfig() { return g_sim.config; }

uint16_t SimPeekReg16(uint32_t offset) {
  return g_sim.reg[(offset & GP2X_REG16_OFFSET_MASK) >> 1];
}

void SimPokeReg16(uint32_t offset, uint16_t value) {
  if (!g_sim.poweredOn) return;
  SimIO_Reset();
  g_sim.reg[(offset & GP2X_REG16_OFFSET_MASK) >> 1] = value;
  SimTiming_OutputChanged();
}

uint32_t SimMappedWindows() {
  uint32_t count = 0;
  for (uint32_t bits = g_sim.mappedWindows; bits; bits &= bits - 1) ++count;
  return count;
}

uint32_t SimOpenDescriptors() {
  uint32_t count = 0;
  for (const SimFile& file : g_sim.files) count += file.kind != SimFileKind::Closed;
  return count;
}

uint64_t SimAccessCount() { return g_sim.accesses; }

const SimLauncherRecord& SimLauncher() { return g_sim.launcher; }
