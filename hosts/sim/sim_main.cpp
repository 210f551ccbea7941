// sim_main.cpp: main for a program on the hardware back end running on the simulated console (the
// demo's is copperbramble-sim): in a window in real time, or headless on the virtual clock, and
// recorded when asked. Takes the console's and the recorder's options and runs AppMain with the
// rest; reports the launcher the program hands over to, as the console would start it.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "key_schedule.h"
#include "program_host.h"
#include "quiet_sound_output.h"
#include "record_command.h"
#include "sim.h"
#include "sim_recorder.h"
#include "sim_sound.h"
#include "sim_window.h"
#include "vkr_host.h"

namespace fs = std::filesystem;

namespace {

void PrintUsage(const char* program) {
  std::printf(
      "%s: the console's program on the simulated console, in a window in real\n"
      "time, or headless on the virtual clock; with --out, --stills, --demo-stills, --keep-frames,\n"
      "--frames or --frame-digests it records headless as copperbramble-record does.\n"
      "  --headless       no window: run on the virtual clock as fast as possible\n"
      "  --tv lcd|ntsc|pal  the output the firmware left running (default lcd)\n"
      "  --trace FILE     write every register access to FILE (and the TV encoder's transfers)\n"
      "  --captions FILE.scc  write the captions the TV encoder sent as a Scenarist caption file\n"
      "  --bus-vcd FILE.vcd   write the TV encoder's two bus lines as a value-change dump\n"
      "  --firmware X.Y.Z the firmware version file (empty: none; default 4.1.0)\n"
      "  --fault NAME     inject a fault: dev-mem, no-input, no-touchscreen, map-video, encoder\n"
      "  --burn-captions  a recording on a television shows the captions in its picture\n"
      "  --strict         end at the first offence against the hardware's rules, exit status 3\n"
      "The CB_SIM_TV, CB_SIM_FIRMWARE, CB_SIM_TRACE, CB_SIM_FAULTS and CB_SIM_STRICT variables set\n"
      "the same.\n"
      "Every other argument, and all after --, goes to the program.\n"
      "The recorder's options (--tv of the recorder is the one above):\n",
      program);
  PrintRecordUsage(program);
}

int RunProgram(void*) { return AppMain(Host_ProgramArgumentCount(), Host_ProgramArguments()); }

// Holds the buttons the key schedule asks for at each frame's console time.
void PressScheduledKeys(void* context) {
  const auto& keys = *static_cast<const std::vector<KeyPress>*>(context);
  SimSetButtons(ButtonsHeldAt(keys, SimNowNs() / 1000000));
}

double Seconds(const timespec& from, const timespec& to) {
  return static_cast<double>(to.tv_sec - from.tv_sec) + (to.tv_nsec - from.tv_nsec) / 1e9;
}

// Puts the captions a television recording carried into its MP4 as a subtitle track players can
// switch on: ffmpeg turns the caption file into timed text beside a copy of the streams. Without
// ffmpeg, or when it fails, the recording stays as it was and the caption file says what was sent.
void AddCaptionTrack(const fs::path& video, const fs::path& captions) {
  if (!fs::exists(video) || !fs::exists(captions)) return;
  const fs::path withTrack = video.string() + ".captions.mp4";
  const std::string in = video.string(), scc = captions.string(), out = withTrack.string();
  const char* arguments[] = {"ffmpeg", "-v", "error", "-y", "-i", in.c_str(), "-i", scc.c_str(),
                             "-map", "0", "-map", "1", "-c:v", "copy", "-c:a", "copy",
                             "-c:s", "mov_text", "-metadata:s:s:0", "language=eng", out.c_str(),
                             nullptr};
  pid_t child = 0;
  int status = -1;
  if (posix_spawnp(&child, "ffmpeg", nullptr, nullptr, const_cast<char* const*>(arguments),
                   environ) == 0) {
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }
  std::error_code error;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    fs::rename(withTrack, video, error);
    if (!error) return;
  }
  fs::remove(withTrack, error);
  std::fprintf(stderr,
               "copperbramble-sim: the captions could not be added to %s as a subtitle track\n",
               in.c_str());
}

uint32_t StartupModeOf(SimTV tv) { return tv == SimTV::Lcd ? 0 : tv == SimTV::Ntsc ? 5 : 19; }

}  // namespace

// The console's own options are taken here; the rest are the recorder's.
int main(int argc, char** argv) {
  SimConfig config = SimConfigFromEnvironment();
  std::vector<char*> recorderArguments = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--help" || argument == "-h") {
      PrintUsage(argv[0]);
      return 0;
    } else if (argument == "--") {
      recorderArguments.insert(recorderArguments.end(), argv + i, argv + argc);
      break;
    } else if (argument == "--headless") {
      config.realTime = false;
    } else if (argument == "--strict") {
      config.strict = true;
    } else if (argument == "--tv" && hasValue) {
      if (!SimParseTV(argv[++i], &config.tv)) {
        std::fprintf(stderr, "--tv wants lcd, ntsc or pal\n");
        return 2;
      }
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
    } else if (argument == "--burn-captions") {
      SimRecorder_SetBurnCaptions(true);
    } else {
      recorderArguments.push_back(argv[i]);
    }
  }
  RecordCommand command;
  command.options.showProgress = false;
  command.options.program = RunProgram;
  command.dataFolder = Host_DefaultDataFolder(argv[0]);
  std::vector<char*> programArguments = {argv[0]};
  switch (ParseRecordCommand(static_cast<int>(recorderArguments.size()), recorderArguments.data(),
                             &command, &programArguments)) {
    case RecordParse::kHelp:
      return 0;
    case RecordParse::kInvalid:
      return 2;
    case RecordParse::kRecord:
      break;
  }
  Host_SetProgramArguments(programArguments);
  command.options.startupDisplayMode = StartupModeOf(config.tv);
  config.framePeriodMs = FramePeriodMs(command.options.framesPerSecond);
  if (command.recording) {
    // On a television the captions go into the recording; the caption file is kept only when
    // asked for.
    const bool keepCaptions = !config.captionsPath.empty();
    if (config.tv != SimTV::Lcd && !keepCaptions)
      config.captionsPath = fs::absolute(command.output).string() + ".scc";
    SimRecorder_SetConfig(config);
    const int status = RunRecordCommand(command, RecordOnSimulatedConsole);
    SimPowerOff();  // writes the caption file
    if (config.tv != SimTV::Lcd) {
      if (status == 0) AddCaptionTrack(fs::absolute(command.output), config.captionsPath);
      std::error_code error;
      if (!keepCaptions) fs::remove(config.captionsPath, error);
    }
    return status;
  }

  std::vector<KeyPress> keys = command.options.keys;
  const fs::path dataFolder = command.dataFolder;
  if (!Host_EnterDataFolder(dataFolder)) return 1;

  if (config.realTime) VKR_StartDesktopAudioQuietly();
  SimPowerOn(config);
  if (config.realTime && !SimWindow_Open("Copperbramble on the simulated console")) {
    std::fprintf(stderr, "cannot open the window (try --headless)\n");
    return 1;
  }
  if (!keys.empty()) SimSetFrameHook(PressScheduledKeys, &keys);

  timespec started, ended;
  clock_gettime(CLOCK_MONOTONIC, &started);
  Host_SetMusicDrivers(SimRegisterSoundDrivers);
  const int status = RunProgram(nullptr);
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
