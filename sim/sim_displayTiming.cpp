// sim_displayTiming.cpp: the display controller's frame and line timing as the sync bits of port
// B show it: a vertical blank at the end of every frame period, a horizontal blank at the end of
// every line. Each frame boundary crossed is a frame begun (the window presents it).
#include <algorithm>
#include <array>

#include "sim_state.h"

namespace {

// The host's frame hook and the window's presenter; both survive power-on. Main thread only.
SimFrameHook pfnFrameHook = nullptr;
void* pFrameHookContext = nullptr;
SimPresenter pfnPresent = nullptr;

struct Lines {
  uint64_t active, total;
};

// LCD and NTSC show 240 lines of 262, PAL 288 of 312 a field (the firmware's or the program's
// setting of the controller decides which).
Lines LinesOfOutput() {
  const bool tv = g_sim.reg[GP2X_DPC_CNTL >> 1] & GP2X_DPC_CNTL_TV;
  if (tv && g_sim.reg[GP2X_DPC_Y_MAX >> 1] > GP2X_DPC_Y_MAX_NTSC_LIMIT) return {288, 312};
  return {240, 262};
}

uint64_t PeriodNs() { return uint64_t{g_sim.config.framePeriodMs} * SIM_NS_PER_MS; }

// Where time t lies: the frame's start, the line and the line's start and end (ns from the frame).
struct Position {
  uint64_t frameStart, line, lineStart, lineEnd;
  Lines lines;
};

// Where each line of a frame starts (line l at l x period / total), and the frame the last
// position fell in: the sync polls ask many times a line, so neither is worked out again while it
// holds. Main thread only.
struct LineTable {
  uint64_t period = 0, total = 0;
  std::array<uint64_t, 313> start{};  // total + 1 entries: the last is the period
};
LineTable lineTable;
struct FrameCache {
  uint64_t anchorNs = 0, period = 0, frameStart = 0;
  bool valid = false;
};
FrameCache frameCache;

const LineTable& LineTableOf(uint64_t period, uint64_t total) {
  if (lineTable.period != period || lineTable.total != total) {
    lineTable.period = period;
    lineTable.total = total;
    for (uint64_t l = 0; l <= total; ++l) lineTable.start[l] = l * period / total;
  }
  return lineTable;
}

uint64_t FrameStartOf(uint64_t t, uint64_t period) {
  const FrameCache& c = frameCache;
  if (c.valid && c.anchorNs == g_sim.timing.anchorNs && c.period == period && t >= c.frameStart &&
      t - c.frameStart < period)
    return c.frameStart;
  const uint64_t relative = t - g_sim.timing.anchorNs;
  frameCache = {g_sim.timing.anchorNs, period, g_sim.timing.anchorNs + relative / period * period,
                true};
  return frameCache.frameStart;
}

Position PositionAt(uint64_t t) {
  Position at;
  at.lines = LinesOfOutput();
  const uint64_t period = PeriodNs();
  const LineTable& table = LineTableOf(period, at.lines.total);
  at.frameStart = FrameStartOf(t, period);
  const uint64_t inFrame = t - at.frameStart;
  at.line = inFrame * at.lines.total / period;
  while (at.line + 1 < at.lines.total && table.start[at.line + 1] <= inFrame) ++at.line;
  at.lineStart = table.start[at.line];
  at.lineEnd = table.start[at.line + 1];
  return at;
}

// The horizontal blank takes the last eighth of a line.
uint64_t HBlankStart(const Position& at) { return at.lineStart + (at.lineEnd - at.lineStart) * 7 / 8; }

}  // namespace

void SimTiming_Reset() {
  g_sim.timing = SimDisplayTiming{};
  g_sim.timing.nextFrameNs = PeriodNs();
}

uint16_t SimTiming_SyncBits() {
  const uint64_t t = g_sim.clock.nowNs;
  const Position at = PositionAt(t);
  uint16_t bits = 0;
  if (at.line >= at.lines.active) bits |= GP2X_GPIOB_VSYNC;
  if (t - at.frameStart >= HBlankStart(at)) bits |= GP2X_GPIOB_HSYNC;
  return bits;
}

uint64_t SimTiming_NextSyncEdgeNs() {
  const uint64_t t = g_sim.clock.nowNs;
  const Position at = PositionAt(t);
  const uint64_t hblank = HBlankStart(at);
  return at.frameStart + (t - at.frameStart < hblank ? hblank : at.lineEnd);
}

// The vertical blank begins at the first blank line; a time already in it looks to the next frame's.
uint64_t SimTiming_NextVBlankNs() {
  const uint64_t t = g_sim.clock.nowNs;
  const Position at = PositionAt(t);
  const uint64_t blank = at.frameStart + at.lines.active * PeriodNs() / at.lines.total;
  return t < blank ? blank : blank + PeriodNs();
}

uint64_t SimTiming_NextVSyncEdgeNs() {
  const Position at = PositionAt(g_sim.clock.nowNs);
  return std::min(SimTiming_NextVBlankNs(), at.frameStart + PeriodNs());
}

void SimTiming_Reanchor(uint64_t ns) {
  g_sim.timing.anchorNs = ns;
  g_sim.timing.nextFrameNs = ns + PeriodNs();
}

// Frames passed over in one step (a long jump) are counted; the window shows only the last.
void SimTiming_Advance(uint64_t, uint64_t toNs) {
  if (g_sim.timing.nextFrameNs > toNs) return;
  const uint64_t frames = (toNs - g_sim.timing.nextFrameNs) / PeriodNs() + 1;
  g_sim.timing.framesBegun += frames;
  g_sim.timing.nextFrameNs += frames * PeriodNs();
  if (pfnPresent) pfnPresent();
  if (pfnFrameHook) pfnFrameHook(pFrameHookContext);
}

void SimTiming_SetPresenter(SimPresenter present) { pfnPresent = present; }

void SimSetFrameHook(SimFrameHook hook, void* context) {
  pfnFrameHook = hook;
  pFrameHookContext = context;
}

uint64_t SimFramesBegun() { return g_sim.timing.framesBegun; }
