// desktop_host.h: the desktop back end's host for any program (AppMain): in a window in real time,
// or headless on the virtual clock, recorded through the recorder's library when asked.
#pragma once

#include <cstdint>

struct DesktopHostSettings {
  bool alwaysRecord = false;  // record even without a recording option (copperbramble-record)
  bool progressBar = false;   // a progress bar on a terminal while recording
  uint32_t expectedRunMs = 0;  // how long the program runs, for the progress bar; 0: unknown
};

// Takes the host's options (the recorder's, --headless, --data) and runs AppMain with the rest.
// Answers the exit status.
int DesktopHost_Main(int argc, char** argv, const DesktopHostSettings& settings);
