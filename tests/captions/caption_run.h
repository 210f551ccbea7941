// caption_run.h: the demo's caption path run frame by frame on the simulated console, as the demo's
// run weaves it in: encoder set-up, then each frame the schedule (while running), the drain and
// the wait for the vertical blank, until the clock passes the end or the viewer quits; then the
// erase.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CaptionRunOptions {
  int outputKind = 1;            // 0 LCD, 1 NTSC, 2 PAL
  uint32_t quitAtMs = 0;         // non-zero: Exit chosen in the first frame at or past this time
  uint32_t pauseFromMs = 0;      // non-zero: the menu is open from this demo time ...
  uint32_t pauseForMs = 0;       // ... for this long
};

struct CaptionRunResult {
  uint64_t startNs = 0, endNs = 0;  // virtual time of the clock start and of the last erase
  uint32_t frames = 0;
  uint32_t lastNow = 0;
  uint64_t longestFrameNs = 0;
  std::vector<uint16_t> pairsWhilePaused;
};

CaptionRunResult RunCaptionPath(const CaptionRunOptions& options);

// Rows as a caption decoder sees them: each carriage return starts a row, whose first pair is its
// colour (or flash) code and whose printable bytes, parity removed, are its text.
struct CaptionRow {
  uint16_t code;
  std::string text;
};
std::vector<CaptionRow> RowsOf(const std::vector<uint16_t>& pairs);
