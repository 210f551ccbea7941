// vkr_host.h: what a program and the host that runs it give each other. The program defines
// AppMain; the host (a window, the recorder, the simulated console, the console) provides main,
// takes its own options and calls AppMain with the rest.
#pragma once

#include <cstdint>

struct MDRIVER;

// Defined by the program: its whole run. argv[0] is the program's path, then every argument the
// host did not take, in order (after a "--" the host takes none). Answers the exit status.
int AppMain(int argc, char** argv);

// Tells the host that the next frame shown is the one painted for programMs on the program's own
// clock. --frame-digests and --demo-stills key frames by it, so runs whose start-up takes a
// different time are compared at the same moments; a program that never calls it has every frame
// keyed by its number from 0, from the first after its library started.
void VKR_Host_FramePainted(uint32_t programMs);

// Registers this host's music outputs with libmikmod and answers them in the order they are to be
// tried, ended by null: the sound device in a window, a mix in step with the virtual clock when
// headless or recording.
MDRIVER* const* VKR_Host_RegisterMusicDrivers();

// Non-zero once the host asks the program to end as its user would (the window was closed).
int VKR_Host_EndRequested();
