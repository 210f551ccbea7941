// program_host.cpp: the hosts' side of vkr_host.h: the plugged-in music outputs and end request,
// the paints the program reports, its arguments and folders.
#include "program_host.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "vkr_host.h"

namespace fs = std::filesystem;

namespace {

// Set by the host before the program runs, read by the program's calls; main thread only.
MDRIVER* const* (*g_pfnHostMusicDrivers)() = nullptr;
bool (*g_pfnHostEndRequested)() = nullptr;
ProgramPaints g_hostPaints;
std::vector<char*> g_hostProgramArguments;

}  // namespace

void VKR_Host_FramePainted(uint32_t programMs) {
  ++g_hostPaints.paints;
  g_hostPaints.lastPaintMs = programMs;
}

MDRIVER* const* VKR_Host_RegisterMusicDrivers() {
  static MDRIVER* const kNone[] = {nullptr};
  return g_pfnHostMusicDrivers ? g_pfnHostMusicDrivers() : kNone;
}

int VKR_Host_EndRequested() { return g_pfnHostEndRequested && g_pfnHostEndRequested(); }

const ProgramPaints& Host_Paints() { return g_hostPaints; }
void Host_ResetPaints() { g_hostPaints = ProgramPaints{}; }

void Host_SetMusicDrivers(MDRIVER* const* (*registerDrivers)()) {
  g_pfnHostMusicDrivers = registerDrivers;
}
void Host_SetEndRequest(bool (*endRequested)()) { g_pfnHostEndRequested = endRequested; }

void Host_SetProgramArguments(std::vector<char*> arguments) {
  g_hostProgramArguments = std::move(arguments);
  g_hostProgramArguments.push_back(nullptr);
}
int Host_ProgramArgumentCount() {
  return g_hostProgramArguments.empty() ? 0 : static_cast<int>(g_hostProgramArguments.size() - 1);
}
char** Host_ProgramArguments() { return g_hostProgramArguments.data(); }

fs::path Host_ProgramFolder(const char* argv0) {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::absolute(argv0).parent_path() : self.parent_path();
}

fs::path Host_DefaultDataFolder(const char* argv0) {
  const fs::path beside = Host_ProgramFolder(argv0) / "data";
  std::error_code error;
  return fs::is_directory(beside, error) ? beside : fs::path();
}

bool Host_EnterDataFolder(const fs::path& folder) {
  if (folder.empty() || chdir(folder.c_str()) == 0) return true;
  std::fprintf(stderr, "cannot enter the data folder %s: %s\n", folder.c_str(),
               std::strerror(errno));
  return false;
}
