// sim_strict.cpp: the simulated console as a judge: offences against the hardware's rules, noticed
// by the units (ports, TV encoder), are counted and traced; in strict mode the first one ends the
// process with its name, as a console that stops working would end the run.
#include <cinttypes>
#include <cstdarg>

#include "sim_state.h"

void SimStrict_Offence(const char* format, ...) {
  char what[200];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(what, sizeof what, format, arguments);
  va_end(arguments);
  const uint64_t us = g_sim.clock.nowNs / 1000;
  if (g_sim.trace) std::fprintf(g_sim.trace, "%" PRIu64 " STRICT %s\n", us, what);
  if (++g_sim.strict.offences == 1) {
    char first[240];
    std::snprintf(first, sizeof first, "%s at %" PRIu64 " us", what, us);
    g_sim.strict.first = first;
  }
  if (!g_sim.config.strict) return;
  std::fprintf(stderr, "strict: %s\n", g_sim.strict.first.c_str());
  std::fflush(stderr);
  std::exit(SIM_STRICT_EXIT_STATUS);
}

// Strict mode has said all at the first offence.
void SimStrict_Summary() {
  if (g_sim.strict.offences == 0 || g_sim.config.strict) return;
  std::fprintf(stderr, "sim: %" PRIu64 " offence%s against the hardware's rules; the first: %s\n",
               g_sim.strict.offences, g_sim.strict.offences == 1 ? "" : "s",
               g_sim.strict.first.c_str());
}

uint64_t SimStrictOffences() { return g_sim.strict.offences; }
const std::string& SimFirstOffence() { return g_sim.strict.first; }
