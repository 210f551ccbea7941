// caption_fixture.h: the simulated console on an NTSC television with the back end started for each
// caption test, an empty caption queue on channel 1, and the pairs the encoder sent as
// (first << 8 | second).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "sim.h"
#include "sim_cx25874.h"
#include "tv_console.h"
#include "vkr_lowLevel.h"

inline constexpr uint64_t kFieldNs = 21000000;  // longer than one of the display's 20 ms fields

// Sends what the queue holds, a field apart, until a call sends nothing.
inline void DrainCaptionQueue() {
  for (;;) {
    const size_t before = SIM_CX25874_CaptionCount();
    VKR_CC_OutputToTV();
    SimAdvanceNs(kFieldNs);
    if (SIM_CX25874_CaptionCount() == before) return;
  }
}

inline std::vector<uint16_t> SentPairs() {
  std::vector<uint16_t> pairs;
  const SimCaptionPair* sent = SIM_CX25874_Captions();
  for (size_t i = 0; i < SIM_CX25874_CaptionCount(); ++i)
    pairs.push_back(static_cast<uint16_t>(sent[i].first << 8 | sent[i].second));
  return pairs;
}

class CaptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The caption queue is the back end's process-wide state: empty it of an earlier test's text.
    TVConsole_PowerOn(SimTV::Ntsc, 6);
    DrainCaptionQueue();
    TVConsole_PowerOn(SimTV::Ntsc, 6);
    VKR_CC_SetChannel(1);
  }
  void TearDown() override { TVConsole_PowerOff(); }
};
