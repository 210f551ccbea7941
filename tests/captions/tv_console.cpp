// tv_console.cpp: the caption tests' console: power-on, start-up and the encoder's trace lines.
#include "tv_console.h"

#include <cstring>

#include "sim_cx25874.h"
#include "vkr_gp2xState.h"

namespace {

std::vector<std::string> g_trace;

void CollectTrace(void*, const char* line) {
  const char* text = std::strchr(line, ' ');
  g_trace.emplace_back(text ? text + 1 : line);
}

}  // namespace

void TVConsole_PowerOn(SimTV tv, uint32_t displayMode, uint32_t faults) {
  SimConfig config;
  config.tv = tv;
  config.faults = faults;
  TVConsole_PowerOnWith(config, displayMode);
}

void TVConsole_PowerOnWith(SimConfig config, uint32_t displayMode) {
  VKR_FreeLowLevelAPI(0);
  config.realTime = false;
  SimPowerOn(config);
  VKR_InitLowLevelAPI("");
  g_ulDISPLAY_MODE = displayMode;
  g_trace.clear();
  SIM_CX25874_SetTraceSink(CollectTrace, nullptr);
}

void TVConsole_PowerOff() {
  VKR_FreeLowLevelAPI(0);
  SimPowerOff();
}

const std::vector<std::string>& TVConsole_Trace() { return g_trace; }
void TVConsole_ClearTrace() { g_trace.clear(); }

std::vector<std::string> TVConsole_EncoderWrites() {
  std::vector<std::string> writes;
  for (const std::string& line : g_trace)
    if (line.rfind("ENC W 0x", 0) == 0 && line.size() == 15)
      writes.push_back(line.substr(8, 2) + "=" + line.substr(13, 2));
  return writes;
}
