// handheld_main.cpp: main for a program on the console: its music goes to the console's sound
// device and it gets every argument.
#include <vector>

#include "music_output_handheld.h"
#include "program_host.h"
#include "vkr_host.h"

int main(int argc, char** argv) {
  Host_SetMusicDrivers(VKR_RegisterHandheldMusicDrivers);
  Host_SetProgramArguments(std::vector<char*>(argv, argv + argc));
  return AppMain(Host_ProgramArgumentCount(), Host_ProgramArguments());
}
