// record_command.cpp: the recorder's options and the files around a recording: the frames folder
// for kept bitmaps and stills, the video written beside its final name and renamed when complete.
#include "record_command.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoder_process.h"
#include "program_host.h"

namespace fs = std::filesystem;

namespace {

bool ParseStills(std::string_view list, std::vector<uint32_t>* stills) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view entry = list.substr(0, comma);
    uint32_t time = 0;
    const auto [end, failure] = std::from_chars(entry.data(), entry.data() + entry.size(), time);
    if (failure != std::errc() || end != entry.data() + entry.size() || entry.empty()) return false;
    stills->push_back(time);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  std::sort(stills->begin(), stills->end());
  return true;
}

}  // namespace

void PrintRecordUsage(const char* program) {
  std::printf(
      "usage: %s [options]\n"
      "  --headless       no window: run on the virtual clock, recording only what is asked\n"
      "  --out FILE       the video to write (default copperbramble.mp4)\n"
      "  --fps N          frames a second of the virtual clock (default 50)\n"
      "  --tv lcd|ntsc|pal  play as the handheld does on a television (720x480 or 720x576)\n"
      "  --keys LIST      timed presses, e.g. 5000:Start,5600:Right,7000:B/300 (ms:button[/hold])\n"
      "                   buttons: Up UpLeft Left DownLeft Down DownRight Right UpRight Start Select\n"
      "                   L R A B X Y VolDown VolUp Stick Mute\n"
      "  --data DIR       folder holding resource.dat and main.it (default: data beside this program)\n"
      "  --frames DIR     where kept bitmaps, the WAV and stills go (default FILE.frames)\n"
      "  --keep-frames    also write every frame as a bitmap and the music as a WAV file\n"
      "  --stills LIST    only write the frames at these times (ms, e.g. 100,2000,50000) into the\n"
      "                   frames folder; no video\n"
      "  --demo-stills LIST  the same for the frames whose paint read these demo-clock times\n"
      "  --frame-digests FILE  each painted frame's demo time and picture digest, a line each\n"
      "  --wav FILE       also write the music as a WAV file (16-bit stereo, 22050 Hz)\n"
      "  --no-progress    no progress bar\n"
      "  --               the arguments after it are the program's\n",
      program);
}

RecordParse ParseRecordCommand(int argc, char** argv, RecordCommand* command,
                               std::vector<char*>* programArguments) {
  RecorderOptions& options = command->options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    command->recording |= argument == "--out" || argument == "--stills" ||
                          argument == "--demo-stills" || argument == "--keep-frames" ||
                          argument == "--frames" || argument == "--frame-digests" ||
                          argument == "--wav";
    if (argument == "--help" || argument == "-h") {
      PrintRecordUsage(argv[0]);
      return RecordParse::kHelp;
    } else if (argument == "--" && programArguments) {
      programArguments->insert(programArguments->end(), argv + i + 1, argv + argc);
      break;
    } else if (argument == "--headless") {
      command->headless = true;
    } else if (argument == "--out" && hasValue) {
      command->output = argv[++i];
      command->outputGiven = true;
    } else if (argument == "--fps" && hasValue) {
      const int fps = std::atoi(argv[++i]);
      if (fps < 1 || fps > 1000) {
        std::fprintf(stderr, "--fps wants a number from 1 to 1000\n");
        return RecordParse::kInvalid;
      }
      options.framesPerSecond = static_cast<uint32_t>(fps);
    } else if (argument == "--tv" && hasValue) {
      const std::string standard = argv[++i];
      if (standard != "lcd" && standard != "ntsc" && standard != "pal") {
        std::fprintf(stderr, "--tv wants lcd, ntsc or pal\n");
        return RecordParse::kInvalid;
      }
      options.startupDisplayMode = standard == "lcd" ? 0 : standard == "ntsc" ? 5 : 19;
    } else if (argument == "--keys" && hasValue) {
      std::string error;
      const auto keys = ParseKeySchedule(argv[++i], &error);
      if (!keys) {
        std::fprintf(stderr, "--keys: %s\n", error.c_str());
        return RecordParse::kInvalid;
      }
      options.keys = *keys;
    } else if (argument == "--data" && hasValue) {
      command->dataFolder = argv[++i];
    } else if (argument == "--frames" && hasValue) {
      command->frameFolder = argv[++i];
    } else if (argument == "--stills" && hasValue) {
      if (!ParseStills(argv[++i], &options.stillsMs)) {
        std::fprintf(stderr, "--stills wants times in ms separated by commas\n");
        return RecordParse::kInvalid;
      }
    } else if (argument == "--demo-stills" && hasValue) {
      if (!ParseStills(argv[++i], &options.demoStillsMs)) {
        std::fprintf(stderr, "--demo-stills wants times in ms separated by commas\n");
        return RecordParse::kInvalid;
      }
    } else if (argument == "--frame-digests" && hasValue) {
      options.digestPath = fs::absolute(argv[++i]).string();
    } else if (argument == "--wav" && hasValue) {
      options.wavPath = fs::absolute(argv[++i]).string();
    } else if (argument == "--keep-frames") {
      command->keepFrames = true;
    } else if (argument == "--no-progress") {
      options.showProgress = false;
    } else if (programArguments) {
      programArguments->push_back(argv[i]);
    } else {
      std::fprintf(stderr, "unknown or incomplete option %s\n", argument.c_str());
      PrintRecordUsage(argv[0]);
      return RecordParse::kInvalid;
    }
  }
  return RecordParse::kRecord;
}

int RunRecordCommand(RecordCommand command, RecorderResult (*record)(const RecorderOptions&)) {
  RecorderOptions& options = command.options;
  const fs::path output = fs::absolute(command.output);
  const bool stillsOnly = !options.stillsMs.empty() || !options.demoStillsMs.empty();
  // Digests alone are a check, not a recording: no video unless --out asks for one too.
  const bool digestsOnly = !options.digestPath.empty() && !command.outputGiven &&
                           !command.keepFrames && command.frameFolder.empty();
  const bool encode = !stillsOnly && !digestsOnly && FfmpegIsInstalled();
  const bool writeFrames = stillsOnly || command.keepFrames || (!encode && !digestsOnly);
  const fs::path partial = output.string() + ".part";
  std::error_code error;
  if (writeFrames) {
    const fs::path folder = fs::absolute(
        command.frameFolder.empty() ? fs::path(output.string() + ".frames") : command.frameFolder);
    fs::create_directories(folder, error);
    if (error) {
      std::fprintf(stderr, "cannot make %s: %s\n", folder.c_str(), error.message().c_str());
      return 1;
    }
    options.framePrefix = (folder / "frame").string();
    if (!stillsOnly && options.wavPath.empty()) options.wavPath = (folder / "music.wav").string();
  }
  if (encode) options.videoPath = partial.string();
  if (!Host_EnterDataFolder(command.dataFolder)) return 1;

  const RecorderResult result = record(options);
  const double seconds = result.framesComposed / static_cast<double>(options.framesPerSecond);
  std::fprintf(stderr, "recorded %u frames (%.2f s of video, %.2f s of sound) in %.2f s\n",
               result.framesComposed, seconds,
               result.sampleFrames / static_cast<double>(kRecordingSampleRate),
               result.wallSeconds);
  if (result.status != 0) {
    fs::remove(partial, error);
    return result.status;
  }
  if (stillsOnly) {
    for (const std::string& file : result.stillFiles) std::printf("%s\n", file.c_str());
    return 0;
  }
  if (digestsOnly) return 0;
  if (!encode) {
    std::fprintf(stderr, "ffmpeg is not installed: the frames and music.wav are in %s\n",
                 fs::path(options.framePrefix).parent_path().c_str());
    return 0;
  }
  fs::rename(partial, output, error);
  if (error) {
    std::fprintf(stderr, "cannot write %s: %s\n", output.c_str(), error.message().c_str());
    return 1;
  }
  std::fprintf(stderr, "wrote %s\n", output.c_str());
  return 0;
}
