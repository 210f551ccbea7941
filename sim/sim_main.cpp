// sim_main.cpp: copperbramble-sim, the console's program (the same demo, the hardware back end)
// running on the simulated console: in a window in real time, or headless on the virtual clock.
// Reports the launcher the program hands over to, as the console would start it.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "demo_main.h"
#include "key_schedule.h"
#include "sim.h"
#include "sim_sound.h"
#include "sim_window.h"

namespace fs = std::filesystem;

namespace {

void PrintUsage() {
  std::printf(
      "usage: copperbramble-sim [options]\n"
      "  --headless       no window: run on the virtual clock as fast as possible\n"
      "  --fps N          frames a second of the console's display (default 50)\n"
      "  --tv lcd|ntsc|pal  the output the firmware left running (default lcd)\n"
      "  --keys LIST      timed presses, e.g. 5000:Start,5600:Right,7000:B/300 (ms:button[/hold])\n"
      "  --trace FILE     write every register access to FILE (and the TV encoder's transfers)\n"
      "  --captions FILE.scc  write the captions the TV encoder sent as a Scenarist caption file\n"
      "  --bus-vcd FILE.vcd   write the TV encoder's two bus lines as a value-change dump\n"
      "  --firmware X.Y.Z the firmware version file (empty: none; default 4.1.0)\n"
      "  --fault NAME     inject a fault: dev-mem, no-input, no-touchscreen, map-video, encoder\n"
      "  --data DIR       folder holding resource.dat and main.it (default: data beside this program)\n"
      "The CB_SIM_TV, CB_SIM_FIRMWARE, CB_SIM_TRACE and CB_SIM_FAULTS variables set the same.\n");
}

fs::path ProgramFolder(const char* argv0) {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::absolute(argv0).parent_path() : self.parent_path();
}

// Holds the buttons the key schedule asks for at each frame's console time.
void PressScheduledKeys(void* context) {
  const auto& keys = *static_cast<const std::vector<KeyPress>*>(context);
  const uint64_t nowMs = SimNowNs() / 1000000;
  uint32_t held = 0;
  for (const KeyPress& key : keys)
    if (key.atMs <= nowMs && nowMs < uint64_t{key.atMs} + key.holdMs) held |= key.button;
  SimSetButtons(held);
}

double Seconds(const timespec& from, const timespec& to) {
  return static_cast<double>(to.tv_sec - from.tv_sec) + (to.tv_nsec - from.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  SimConfig config = SimConfigFromEnvironment();
  std::vector<KeyPress> keys;
  fs::path dataFolder = ProgramFolder(argv[0]) / "data";
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--help" || argument == "-h") {
      PrintUsage();
      return 0;
    } else if (argument == "--headless") {
      config.realTime = false;
    } else if (argument == "--fps" && hasValue) {
      const int fps = std::atoi(argv[++i]);
      if (fps < 1 || fps > 1000) {
        std::fprintf(stderr, "--fps wants a number from 1 to 1000\n");
        return 2;
      }
      config.framePeriodMs = static_cast<uint32_t>(1000 / fps);
    } else if (argument == "--tv" && hasValue) {
      if (!SimParseTV(argv[++i], &config.tv)) {
        std::fprintf(stderr, "--tv wants lcd, ntsc or pal\n");
        return 2;
      }
    } else if (argument == "--keys" && hasValue) {
      std::string error;
      const auto parsed = ParseKeySchedule(argv[++i], &error);
      if (!parsed) {
        std::fprintf(stderr, "--keys: %s\n", error.c_str());
        return 2;
      }
      keys = *parsed;
    } else if (argument == "--trace" && hasValue) {
      config.tracePath = fs::absolute(argv[++i]).string();
    } else if (argument == "--captions" && hasValue) {
      config.captionsPath = fs::absolute(argv[++i]).string();
    } else if (argument == "--bus-vcd" && hasValue) {
      config.busDumpPath = fs::absolute(argv[++i]).string();
    } else if (argument == "--firmware" && hasValue) {
      config.firmware = argv[++i];
    } else if (argument == "--fault" && hasValue) {
      uint32_t faults = 0;
      std::string unknown;
      if (!SimParseFaults(argv[++i], &faults, &unknown)) {
        std::fprintf(stderr, "--fault: unknown fault %s\n", unknown.c_str());
        return 2;
      }
      config.faults |= faults;
    } else if (argument == "--data" && hasValue) {
      dataFolder = argv[++i];
    } else {
      std::fprintf(stderr, "unknown or incomplete option %s\n", argument.c_str());
      PrintUsage();
      return 2;
    }
  }
  if (chdir(dataFolder.c_str()) != 0) {
    std::fprintf(stderr, "cannot enter the data folder %s: %s\n", dataFolder.c_str(),
                 std::strerror(errno));
    return 1;
  }

  SimPowerOn(config);
  if (config.realTime && !SimWindow_Open("Copperbramble on the simulated console")) {
    std::fprintf(stderr, "cannot open the window (try --headless)\n");
    return 1;
  }
  if (!keys.empty()) SimSetFrameHook(PressScheduledKeys, &keys);

  timespec started, ended;
  clock_gettime(CLOCK_MONOTONIC, &started);
  DemoHost host;
  host.registerMusicDrivers = SimRegisterSoundDrivers;
  const int status = VKR_Demo_Run(host);
  clock_gettime(CLOCK_MONOTONIC, &ended);
  SimSetFrameHook(nullptr, nullptr);

  std::fprintf(stderr, "console time %.3f s, %llu frames, %llu register accesses, in %.2f s\n",
               SimNowNs() / 1e9, static_cast<unsigned long long>(SimFramesBegun()),
               static_cast<unsigned long long>(SimAccessCount()), Seconds(started, ended));
  const SimLauncherRecord launcher = SimLauncher();
  SimPowerOff();  // writes the caption file and closes the bus dump
  if (!launcher.started) return status;
  std::fprintf(stderr, "launcher: %s argv={", launcher.path.c_str());
  for (size_t n = 0; n < launcher.argv.size(); ++n)
    std::fprintf(stderr, "%s\"%s\"", n ? ", " : " ", launcher.argv[n].c_str());
  std::fprintf(stderr, " } directory=%s\n", launcher.directory.c_str());
  return 0;
}
