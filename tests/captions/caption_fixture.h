// caption_fixture.h: a fresh register file and encoder for each caption test, an empty caption
// queue on channel 1, and the pairs the encoder sent as (first << 8 | second).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "fake_console.h"
#include "sim_cx25874.h"
#include "vkr_lowLevel.h"

inline constexpr uint64_t kFieldNs = 21000000;  // longer than a field of either standard

// Sends what the queue holds, a field apart, until a call sends nothing.
inline void DrainCaptionQueue() {
  for (;;) {
    const size_t before = SIM_CX25874_CaptionCount();
    VKR_CC_OutputToTV();
    FakeConsole_AdvanceNs(kFieldNs);
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
    FakeConsole_Reset(kSimTVNTSC, 6);
    DrainCaptionQueue();
    FakeConsole_Reset(kSimTVNTSC, 6);
    VKR_CC_SetChannel(1);
  }
};
