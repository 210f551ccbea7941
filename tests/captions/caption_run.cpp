// caption_run.cpp: the caption path's frame loop on the simulated console's virtual clock, one
// display frame a turn, and a small row decoder.
#include "caption_run.h"

#include "caption_fixture.h"
#include "cc_greetings.h"

CaptionRunResult RunCaptionPath(const CaptionRunOptions& options) {
  CaptionRunResult result;
  VKR_CCG_State state = VKR_CCG_Init(options.outputKind);
  VKR_CCG_HoldLoadingScreen(state);
  VKR_CCG_SetUpEncoder(state);
  result.startNs = SimNowNs();
  uint64_t pausedNs = 0;
  uint32_t now = 0;
  for (;;) {
    const uint64_t frameStart = SimNowNs();
    const uint32_t clock = static_cast<uint32_t>((frameStart - result.startNs - pausedNs) / 1000000);
    const bool paused = options.pauseForMs && clock >= options.pauseFromMs &&
                        pausedNs < uint64_t{options.pauseForMs} * 1000000;
    const size_t sentBefore = SIM_CX25874_CaptionCount();
    if (!paused) {
      now = clock;
      VKR_CCG_Advance(state, now);
    }
    VKR_CCG_Drain(state, now);
    if (paused)
      for (size_t i = sentBefore; i < SIM_CX25874_CaptionCount(); ++i)
        result.pairsWhilePaused.push_back(static_cast<uint16_t>(
            SIM_CX25874_Captions()[i].first << 8 | SIM_CX25874_Captions()[i].second));
    const uint64_t spent = SimNowNs() - frameStart;
    if (spent > result.longestFrameNs) result.longestFrameNs = spent;
    VKR_WaitVSync();
    if (paused) pausedNs += SimNowNs() - frameStart;
    ++result.frames;
    if (options.quitAtMs && now >= options.quitAtMs) break;
    if (now > 117299) break;
  }
  result.lastNow = now;
  VKR_CCG_Erase(state);
  result.endNs = SimNowNs();
  return result;
}

std::vector<CaptionRow> RowsOf(const std::vector<uint16_t>& pairs) {
  std::vector<CaptionRow> rows;
  bool wantCode = false;
  for (uint16_t pair : pairs) {
    const int first = (pair >> 8) & 0x7F, second = pair & 0x7F;
    if (pair == 0x94AD) {
      rows.push_back({0, ""});
      wantCode = true;
    } else if (wantCode) {
      rows.back().code = pair;
      wantCode = false;
    } else if (!rows.empty() && first >= 0x20) {
      rows.back().text += static_cast<char>(first);
      if (second >= 0x20) rows.back().text += static_cast<char>(second);
    }
  }
  return rows;
}
