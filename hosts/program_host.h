// program_host.h: the hosts' side of vkr_host.h: what each host plugs in for the program, the
// paints the program reports, and the folders a host starts a program in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

struct MDRIVER;

// The paints the program reported since the last reset; main thread only.
struct ProgramPaints {
  uint32_t paints = 0;
  uint32_t lastPaintMs = 0;  // the time of the last one
};
const ProgramPaints& Host_Paints();
void Host_ResetPaints();

// What VKR_Host_RegisterMusicDrivers and VKR_Host_EndRequested answer; null gives no driver and
// never an end request.
void Host_SetMusicDrivers(MDRIVER* const* (*registerDrivers)());
void Host_SetEndRequest(bool (*endRequested)());

// The program's arguments: argv[0], then the ones its host did not take. Kept for the whole run.
void Host_SetProgramArguments(std::vector<char*> arguments);
int Host_ProgramArgumentCount();
char** Host_ProgramArguments();

// The folder that holds the running program (its argv[0]'s when /proc does not say).
std::filesystem::path Host_ProgramFolder(const char* argv0);
// Where a program runs unless --data says otherwise: "data" beside the program when there is
// one (the demo's files), else empty: the working directory.
std::filesystem::path Host_DefaultDataFolder(const char* argv0);
// Makes the data folder the working directory (empty: stays where it is); false, and a message
// that names it, when it cannot be entered.
bool Host_EnterDataFolder(const std::filesystem::path& folder);
