// sim_trace.cpp: the access trace, one line an access in a fixed form to grep and diff:
// "<t_us> <op> <window> <offset> <value>", e.g. "20000 R16 REG 0x1182 0xFFEF", and the devices'
// own lines between them ("20003 ENC W 0x8C 0x43").
#include <cinttypes>

#include "sim_state.h"

void SimSetAccessLog(std::vector<SimAccess>* log) { g_sim.accessLog = log; }

void SimTrace_Open(const std::string& path) {
  g_sim.trace = std::fopen(path.c_str(), "w");
  if (!g_sim.trace) std::fprintf(stderr, "cannot write the trace %s\n", path.c_str());
}

void SimTrace_Close() {
  if (g_sim.trace) std::fclose(g_sim.trace);
  g_sim.trace = nullptr;
}

void SimTrace_Access(const char* op, const char* window, uint32_t offset, uint32_t value, int digits) {
  std::fprintf(g_sim.trace, "%" PRIu64 " %s %s 0x%04X 0x%0*X\n", g_sim.clock.nowNs / 1000, op,
               window, offset, digits, value);
}

void SimTrace_Line(const char* line) {
  if (g_sim.trace) std::fprintf(g_sim.trace, "%s\n", line);
}
