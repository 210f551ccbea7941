// demo_main.h: the demo's whole run (start-up, frame loop, end, shutdown) as one function, so that
// the program, the recorder and the tests all run the very same demo.
#pragma once

#include <cstdint>

struct MDRIVER;

// The one demo part: a time window and its two operations.
struct DemoPart {
  uint32_t startMs;  // inclusive
  uint32_t endMs;    // exclusive
  int (*reset)();
  int (*paint)(uint32_t elapsedMs, uint32_t durationMs, int outputKind, int unused);
};

// What a run did, for the hosts that watch it.
struct DemoReport {
  uint32_t frames = 0;       // passes of the frame loop
  uint32_t paints = 0;
  uint32_t lastPaintMs = 0;  // elapsed time of the last paint
  bool exitChosen = false;   // the loop ended by the pause menu's Exit
  bool endRequested = false; // the loop ended because the host asked
};

// What differs between the programs that run the demo.
struct DemoHost {
  // Registers this program's music output drivers with libmikmod and answers them in the order
  // they are tried, ended by null.
  MDRIVER* const* (*registerMusicDrivers)();
  DemoReport* report = nullptr;  // may be null
  // Asked once a frame; true ends the run as Exit does: end sequence, then shutdown. May be null.
  bool (*endRequested)() = nullptr;
  // Told after each paint with the elapsed time it painted. May be null.
  void (*painted)(uint32_t elapsedMs) = nullptr;
};

// Runs the demo in the working directory (it reads main.it and resource.dat there). Answers the
// process exit status: 0 after a normal end, non-zero when the library, the sound or the
// resource pack could not be had.
int VKR_Demo_Run(const DemoHost& host);
