// The piece: "Copperbramble" in D minor at 11 ticks a row and tempo 225 (122.2 ms a row, 16 rows
// a bar, about 123 beats a minute), 61 bars, 119.3 s. Its sections turn with the demo: build-up
// to the first picture change (bar 20 = 39.1 s), a break while the greetings start (bar 37 =
// 72.4 s), the finale from the second picture change (bar 40 = 78.2 s) to the last chord
// ringing out past the demo's end (bar 59 = 115.3 s).
#pragma once

#include "module.h"

namespace mkmusic {

inline constexpr int kSpeed = 11;
inline constexpr int kTempo = 225;
inline constexpr int kRowsPerBar = 16;

inline constexpr int kBarIntro = 0;
inline constexpr int kBarBuildUp = 8;
inline constexpr int kBarTheme = 20;
inline constexpr int kBarTurnaround = 36;
inline constexpr int kBarBreak = 37;
inline constexpr int kBarFinale = 40;
inline constexpr int kBarEnding = 56;
inline constexpr int kBarLastChord = 59;
inline constexpr int kBars = 61;

// The whole module: voices, song grid, patterns, pace and mix.
Module ComposeModule();

}  // namespace mkmusic
