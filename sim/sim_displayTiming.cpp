// sim_displayTiming.cpp: the display controller's frame and line timing as the sync bits of port
// B show it: a vertical blank at the end of every frame period, a horizontal blank at the end of
// every line. Each frame boundary crossed is a frame begun (the window presents it).
#include <algorithm>
#include <array>

#include "sim_state.h"

namespace {

// LCD and NTSC show 240 lines of 262, PAL 288 of 312 a field (the firmware's or the program's
// setting of the controller decides which).
SimLines LinesOfOutput() {
  const bool tv = g_sim.reg[GP2X_DPC_CNTL >> 1] & GP2X_DPC_CNTL_TV;
  if (tv && g_sim.reg[GP2X_DPC_Y_MAX >> 1] > GP2X_DPC_Y_MAX_NTSC_LIMIT) return {288, 312};
  return {240, 262};
}

uint64_t PeriodNs() { return uint64_t{g_sim.config.framePeriodMs} * SIM_NS_PER_MS; }

// Where time t lies: the frame's start, the line and the line's start and end (ns from the frame).
struct Position {
  uint64_t frameStart, line, lineStart, lineEnd;
  SimLines lines;
};

const SimLineTable& LineTableOf(uint64_t period, uint64_t total) {
  SimLineTable& lineTable = g_sim.timing.lineTable;
  if (lineTable.period != period || lineTable.total != total) {
    lineTable.period = period;
    lineTable.total = total;
    for (uint64_t l = 0; l <= total; ++l) lineTable.start[l] = l * period / total;
  }
  return lineTable;
}

uint64_t FrameStartOf(uint64_t t, uint64_t period) {
  SimFrameCache& c = g_sim.timing.frameCache;
  if (c.valid && c.anchorNs == g_sim.timing.anchorNs && c.period == period && t >= c.frameStart &&
      t - c.frameStart < period)
    return c.frameStart;
  const uint64_t relative = t - g_sim.timing.anchorNs;
  c = {g_sim.timing.anchorNs, period, g_sim.timing.anchorNs + relative / period * period, true};
  return c.frameStart;
}

Position PositionAt(uint64_t t) {
  Position at;
  at.lines = LinesOfOutput();
  const uint64_t period = PeriodNs();
  const SimLineTable& table = LineTableOf(period, at.lines.total);
  at.frameStart = FrameStartOf(t, period);
  const uint64_t inFrame = t - at.frameStart;
  at.line = inFrame * at.lines.total / period;
  while (at.line + 1 < at.lines.total && table.start[at.line + 1] <= inFrame) ++at.line;
  at.lineStart = table.start[at.line];
  at.lineEnd = table.start[at.line + 1];
  return at;
}

// The horizontal blank takes the last eighth of a line.
uint64_t HBlankStart(uint64_t lineStart, uint64_t lineEnd) {
  return lineStart + (lineEnd - lineStart) * 7 / 8;
}
uint64_t HBlankStart(const Position& at) { return HBlankStart(at.lineStart, at.lineEnd); }

// The stretch of time over which the sync bits hold still (g_sim.timing.stretch). A wait for the
// vertical blank polls once at every stretch's end, so the next stretch is stepped to from the last
// one rather than worked out from the frame again. What the stretch was worked out from (anchor,
// period, the output's lines) changes only where SimTiming_OutputChanged is called.
void StretchFromPosition(uint64_t t) {
  SimSyncStretch& stretch = g_sim.timing.stretch;
  const Position at = PositionAt(t);
  const uint64_t hblank = HBlankStart(at);
  stretch.frameStart = at.frameStart;
  stretch.line = at.line;
  stretch.hblank = t - at.frameStart >= hblank;
  stretch.startNs = at.frameStart + (stretch.hblank ? hblank : at.lineStart);
  stretch.endNs = at.frameStart + (stretch.hblank ? at.lineEnd : hblank);
  stretch.period = PeriodNs();
  stretch.lines = at.lines;
  stretch.valid = true;
}

void StepStretch() {
  SimSyncStretch& stretch = g_sim.timing.stretch;
  const SimLineTable& table = LineTableOf(stretch.period, stretch.lines.total);
  stretch.startNs = stretch.endNs;
  if (!stretch.hblank) {
    stretch.hblank = true;
    stretch.endNs = stretch.frameStart + table.start[stretch.line + 1];
    return;
  }
  stretch.hblank = false;
  if (++stretch.line == stretch.lines.total) {
    stretch.line = 0;
    stretch.frameStart += stretch.period;
  }
  stretch.endNs =
      stretch.frameStart + HBlankStart(table.start[stretch.line], table.start[stretch.line + 1]);
}

// The stretch holding the present time: the last one, the one after it, or worked out afresh.
const SimSyncStretch& CurrentStretch() {
  const SimSyncStretch& stretch = g_sim.timing.stretch;
  const uint64_t t = g_sim.clock.nowNs;
  if (!stretch.valid || t < stretch.startNs) {
    StretchFromPosition(t);
  } else if (t >= stretch.endNs) {
    StepStretch();
    if (t >= stretch.endNs) StretchFromPosition(t);
  }
  return stretch;
}

}  // namespace

void SimTiming_OutputChanged() {
  g_sim.timing.stretch.valid = false;
  g_sim.timing.syncHoldsFromNs = g_sim.timing.syncHoldsUntilNs = 0;
}

void SimTiming_PowerOn() { g_sim.timing.nextFrameNs = PeriodNs(); }

void SimTiming_FollowSync() {
  const SimSyncStretch& now = CurrentStretch();
  uint16_t bits = 0;
  if (now.line >= now.lines.active) bits |= GP2X_GPIOB_VSYNC;
  if (now.hblank) bits |= GP2X_GPIOB_HSYNC;
  g_sim.timing.syncHoldsFromNs = now.startNs;
  g_sim.timing.syncHoldsUntilNs = now.endNs;
  g_sim.timing.syncBits = bits;
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
  SimTiming_OutputChanged();
  g_sim.timing.anchorNs = ns;
  g_sim.timing.nextFrameNs = ns + PeriodNs();
}

// Frames passed over in one step (a long jump) are counted; the window shows only the last.
void SimTiming_Advance(uint64_t, uint64_t toNs) {
  if (g_sim.timing.nextFrameNs > toNs) return;
  const uint64_t frames = (toNs - g_sim.timing.nextFrameNs) / PeriodNs() + 1;
  g_sim.timing.framesBegun += frames;
  g_sim.timing.nextFrameNs += frames * PeriodNs();
  if (g_sim.timing.presenter) g_sim.timing.presenter();
  if (g_sim.timing.frameHook) g_sim.timing.frameHook(g_sim.timing.frameHookContext);
}

void SimTiming_SetPresenter(SimPresenter present) { g_sim.timing.presenter = present; }

void SimSetFrameHook(SimFrameHook hook, void* context) {
  g_sim.timing.frameHook = hook;
  g_sim.timing.frameHookContext = context;
}

uint64_t SimFramesBegun() { return g_sim.timing.framesBegun; }
