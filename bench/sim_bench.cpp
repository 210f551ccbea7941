// sim_bench.cpp: the whole demo headless on the simulated console beside the same run on the
// desktop back end, both composing every frame and neither encoding: copperbramble-sim and
// copperbramble-record each recording only a still at a demo time that never comes. Prints the
// median CPU time of each, run after run, and console / desktop.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The user and system time of one run, or a negative number when it failed.
double CpuSecondsOf(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int failure = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (failure != 0) return -1;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  if (argc == 3 && std::string(argv[1]) == "--runs") runs = std::max(1, std::atoi(argv[2]));
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::string frames =
      (std::filesystem::temp_directory_path() / ("cb_sim_bench_" + std::to_string(getpid())))
          .string();
  std::printf("%-6s %12s %12s %8s\n", "output", "desktop s", "console s", "ratio");
  for (const char* tv : {"lcd", "ntsc", "pal"}) {
    const std::vector<std::string> common = {"--no-progress", "--demo-stills", "999999999",
                                             "--frames", frames};
    std::vector<std::string> desktop = {CB_RECORDER_PROGRAM};
    if (std::string(tv) != "lcd") desktop.insert(desktop.end(), {"--tv", tv});
    desktop.insert(desktop.end(), common.begin(), common.end());
    std::vector<std::string> console = {CB_SIM_PROGRAM, "--tv", tv};
    console.insert(console.end(), common.begin(), common.end());
    std::vector<double> desktopSeconds, consoleSeconds;
    for (int run = 0; run < runs; ++run) {
      desktopSeconds.push_back(CpuSecondsOf(desktop));
      consoleSeconds.push_back(CpuSecondsOf(console));
    }
    const double a = Median(desktopSeconds), b = Median(consoleSeconds);
    if (a <= 0 || b <= 0) {
      std::fprintf(stderr, "a run failed on %s\n", tv);
      return 1;
    }
    std::printf("%-6s %12.2f %12.2f %8.2f\n", tv, a, b, b / a);
  }
  std::filesystem::remove_all(frames);
  return 0;
}
