// record_main.cpp: copperbramble-record, which records the demo frame-exact to a video: pictures
// and music in step with a virtual clock, optionally as a television shows it and with timed
// key presses.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "recorder.h"
#include "video_encoder.h"

namespace fs = std::filesystem;

namespace {

void PrintUsage() {
  std::printf(
      "usage: copperbramble-record [options]\n"
      "  --out FILE       the video to write (default copperbramble.mp4)\n"
      "  --fps N          frames a second of the virtual clock (default 50)\n"
      "  --tv ntsc|pal    play as the handheld does on a television (720x480 or 720x576)\n"
      "  --keys LIST      timed presses, e.g. 5000:Start,5600:Right,7000:B/300 (ms:button[/hold])\n"
      "                   buttons: Up UpLeft Left DownLeft Down DownRight Right UpRight Start Select\n"
      "                   L R A B X Y VolDown VolUp Stick Mute\n"
      "  --data DIR       folder holding resource.dat and main.it (default: data beside this program)\n"
      "  --frames DIR     where the bitmaps and the WAV go (default FILE.frames when kept)\n"
      "  --keep-frames    keep the bitmaps and the WAV after encoding\n"
      "  --stills LIST    only write the frames at these times (ms, e.g. 100,2000,50000) into the\n"
      "                   frames folder; no video\n"
      "  --no-progress    no progress bar\n");
}

// Each frame goes to the encoder as soon as it is written; context says whether to keep the file.
void StreamFrame(uint32_t, const char* bitmapFile, void* context) {
  if (bitmapFile) SendFrameFile(bitmapFile, *static_cast<bool*>(context));
}

fs::path ProgramFolder(const char* argv0) {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::absolute(argv0).parent_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);  // an encoder that stops early is reported, not fatal
  RecorderOptions options;
  options.showProgress = isatty(STDERR_FILENO);
  fs::path output = "copperbramble.mp4";
  fs::path dataFolder = ProgramFolder(argv[0]) / "data";
  fs::path frameFolder;
  bool keepFrames = false;

  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--help" || argument == "-h") {
      PrintUsage();
      return 0;
    } else if (argument == "--out" && hasValue) {
      output = argv[++i];
    } else if (argument == "--fps" && hasValue) {
      const int fps = std::atoi(argv[++i]);
      if (fps < 1 || fps > 1000) {
        std::fprintf(stderr, "--fps wants a number from 1 to 1000\n");
        return 2;
      }
      options.framesPerSecond = static_cast<uint32_t>(fps);
    } else if (argument == "--tv" && hasValue) {
      const std::string standard = argv[++i];
      if (standard != "ntsc" && standard != "pal") {
        std::fprintf(stderr, "--tv wants ntsc or pal\n");
        return 2;
      }
      options.startupDisplayMode = standard == "ntsc" ? 5 : 19;
    } else if (argument == "--keys" && hasValue) {
      std::string error;
      const auto keys = ParseKeySchedule(argv[++i], &error);
      if (!keys) {
        std::fprintf(stderr, "--keys: %s\n", error.c_str());
        return 2;
      }
      options.keys = *keys;
    } else if (argument == "--data" && hasValue) {
      dataFolder = argv[++i];
    } else if (argument == "--frames" && hasValue) {
      frameFolder = argv[++i];
    } else if (argument == "--stills" && hasValue) {
      std::string_view list = argv[++i];
      while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view entry = list.substr(0, comma);
        uint32_t time = 0;
        const auto [end, failure] = std::from_chars(entry.data(), entry.data() + entry.size(), time);
        if (failure != std::errc() || end != entry.data() + entry.size() || entry.empty()) {
          std::fprintf(stderr, "--stills wants times in ms separated by commas\n");
          return 2;
        }
        options.stillsMs.push_back(time);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
      }
      std::sort(options.stillsMs.begin(), options.stillsMs.end());
    } else if (argument == "--keep-frames") {
      keepFrames = true;
    } else if (argument == "--no-progress") {
      options.showProgress = false;
    } else {
      std::fprintf(stderr, "unknown or incomplete option %s\n", argument.c_str());
      PrintUsage();
      return 2;
    }
  }

  output = fs::absolute(output);
  // Frames that only pass through on their way to the encoder stay in memory where it can.
  std::error_code shmError;
  if (frameFolder.empty())
    frameFolder = !keepFrames && fs::is_directory("/dev/shm", shmError)
                      ? fs::path("/dev/shm") / ("copperbramble-record-" + std::to_string(getpid()))
                      : fs::path(output.string() + ".frames");
  frameFolder = fs::absolute(frameFolder);
  std::error_code error;
  fs::create_directories(frameFolder, error);
  if (error) {
    std::fprintf(stderr, "cannot make %s: %s\n", frameFolder.c_str(), error.message().c_str());
    return 1;
  }
  const bool stillsOnly = !options.stillsMs.empty();
  options.framePrefix = (frameFolder / "frame").string();
  if (!stillsOnly) options.wavPath = (frameFolder / "music.wav").string();

  if (chdir(dataFolder.c_str()) != 0) {
    std::fprintf(stderr, "cannot enter the data folder %s: %s\n", dataFolder.c_str(),
                 std::strerror(errno));
    return 1;
  }
  const bool encode = !stillsOnly && FfmpegIsInstalled();
  const fs::path videoOnly = frameFolder / "video.mp4";
  const fs::path soundOnly = frameFolder / "music.m4a";
  if (encode && StartVideoStream(options.framesPerSecond, videoOnly.string()) &&
      StartSoundStream(22050, soundOnly.string())) {
    options.onFrame = StreamFrame;
    options.onFrameContext = &keepFrames;
    options.soundSink = SendSound;
  }
  const RecorderResult result = RecordDemo(options);
  const bool videoDone = options.onFrame && FinishVideoStream();
  const bool soundDone = options.soundSink && FinishSoundStream();
  const double seconds = result.framesComposed / static_cast<double>(options.framesPerSecond);
  std::fprintf(stderr, "recorded %u frames (%.2f s of video, %.2f s of sound) in %.2f s\n",
               result.framesComposed, seconds, result.sampleFrames / 22050.0, result.wallSeconds);
  if (result.status != 0) return result.status;
  if (stillsOnly) {
    for (const std::string& file : result.stillFiles) std::printf("%s\n", file.c_str());
    return 0;
  }

  if (!encode) {
    std::fprintf(stderr, "ffmpeg is not installed: the frames and music.wav are in %s\n",
                 frameFolder.c_str());
    return 0;
  }
  if (!videoDone || !soundDone ||
      !MuxVideoAndSound(videoOnly.string(), soundOnly.string(), output.string())) {
    std::fprintf(stderr, "ffmpeg failed; what was recorded is kept in %s\n", frameFolder.c_str());
    return 1;
  }
  if (keepFrames) {
    fs::remove(videoOnly, error);
    fs::remove(soundOnly, error);
  } else {
    fs::remove_all(frameFolder, error);
  }
  std::fprintf(stderr, "wrote %s\n", output.c_str());
  return 0;
}
