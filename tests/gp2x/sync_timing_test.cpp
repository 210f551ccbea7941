// sync_timing_test.cpp: the display's sync bits on port B as a polling program sees them: every
// line's horizontal blank and every frame's vertical blank, at the same times whether the console
// steps from the last stretch of steady bits or works them out afresh.
#include <algorithm>
#include <cstdint>
#include <random>

#include "sim_fixture.h"
#include "sim_state.h"
#include "vkr_gp2xAccess.h"

namespace {

constexpr uint16_t kSyncBits = GP2X_GPIOB_VSYNC | GP2X_GPIOB_HSYNC;

uint16_t PolledSyncBits() { return GP2X_ReadReg16(GP2X_GPIOBPINLVL) & kSyncBits; }

void SetOutput(SimTV tv) {
  const uint16_t control = GP2X_ReadReg16(GP2X_DPC_CNTL);
  GP2X_WriteReg16(GP2X_DPC_CNTL, tv == SimTV::Lcd ? control & ~GP2X_DPC_CNTL_TV
                                                  : control | GP2X_DPC_CNTL_TV);
  GP2X_WriteReg16(GP2X_DPC_Y_MAX, tv == SimTV::Pal ? 287 : 239);
}

struct Edges {
  int vblankStarts = 0, hblankStarts = 0, reads = 0;
};

// Polls port B without a break for `frames` frame periods, counting the blanks that begin.
Edges PollFor(uint64_t frames) {
  Edges edges;
  const uint64_t end = SimNowNs() + frames * SimConfig{}.framePeriodMs * SIM_NS_PER_MS;
  uint16_t last = PolledSyncBits();
  for (;;) {
    const uint16_t bits = PolledSyncBits();
    if (SimNowNs() >= end) break;
    edges.vblankStarts += (bits & ~last & GP2X_GPIOB_VSYNC) != 0;
    edges.hblankStarts += (bits & ~last & GP2X_GPIOB_HSYNC) != 0;
    ++edges.reads;
    last = bits;
  }
  return edges;
}

}  // namespace

TEST_F(SimTest, PollingSeesEveryLineAndEveryFrameOnEachOutput) {
  struct Case {
    SimTV tv;
    int linesPerFrame;
  };
  for (const Case& c : {Case{SimTV::Lcd, 262}, Case{SimTV::Ntsc, 262}, Case{SimTV::Pal, 312}}) {
    SetOutput(c.tv);
    const Edges edges = PollFor(3);
    EXPECT_EQ(edges.vblankStarts, 3) << static_cast<int>(c.tv);
    EXPECT_EQ(edges.hblankStarts, 3 * c.linesPerFrame) << static_cast<int>(c.tv);
    // An idle poll costs a read an edge, not a read every few nanoseconds.
    EXPECT_LE(edges.reads, 3 * 2 * c.linesPerFrame + 4) << static_cast<int>(c.tv);
  }
}

TEST_F(SimTest, SyncBitsSteppedFromTheLastStretchAgreeWithBitsWorkedOutAfresh) {
  std::mt19937 random(12);
  for (int step = 0; step < 20000; ++step) {
    const uint32_t pick = random() % 100;
    if (pick < 70) {
      SimAdvanceNs(random() % 80000);  // within a line or two
    } else if (pick < 95) {
      SimAdvanceNs(random() % 40000000);  // across frames
    } else if (pick < 98) {
      SetOutput(static_cast<SimTV>(random() % 3));
    } else {
      SimTiming_Reanchor(SimNowNs() - std::min<uint64_t>(SimNowNs(), random() % 1000000));
    }
    const uint16_t steppedBits = SimTiming_SyncBits();
    const uint64_t steppedEdge = SimTiming_NextSyncEdgeNs();
    SimTiming_OutputChanged();
    ASSERT_EQ(steppedBits, SimTiming_SyncBits()) << "step " << step;
    ASSERT_EQ(steppedEdge, SimTiming_NextSyncEdgeNs()) << "step " << step;
    ASSERT_GT(steppedEdge, SimNowNs()) << "step " << step;
  }
}
