// record_bench.cpp: the recorder beside ffmpeg alone. Records the demo's frames and music once into
// raw files, then times, run after run, (a) ffmpeg encoding those files with the recorder's
// settings and (b) copperbramble-record making the same MP4 from the demo, and prints (b)/(a) and
// how many times faster than real time the recording was.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "encoder_process.h"
#include "record_demo.h"
#include "vkr_winHost.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct RawFrames {
  std::FILE* file = nullptr;
  int width = 0, height = 0;
};

void WriteRawFrame(uint32_t, const char*, void* context) {
  RawFrames& raw = *static_cast<RawFrames*>(context);
  size_t pitch = 0;
  const uint8_t* pixels = VKR_WinFramePicture(&raw.width, &raw.height, &pitch);
  for (int row = 0; row < raw.height; ++row)
    std::fwrite(pixels + pitch * row, 3, static_cast<size_t>(raw.width), raw.file);
}

struct Timing {
  double wallSeconds = -1;  // negative when the program failed
  double cpuSeconds = 0;    // user and system time of the program and its children
};

// Runs a program to its end with its standard output and error going nowhere.
Timing TimedRun(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  const auto started = std::chrono::steady_clock::now();
  pid_t pid;
  const int failure = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  if (failure != 0) return {};
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Timing timing;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return timing;
  timing.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  // wait4 counts the process and the children it waited for: the recorder's ffmpeg included.
  timing.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                      usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
  return timing;
}

// The MD5 of a file's H.264 stream as stored: equal for two files only when the encoder was given
// the same pictures.
std::string VideoStreamHash(const std::string& file) {
  std::string hash;
  const std::string command = "ffmpeg -v error -i '" + file + "' -map 0:v -c copy -f md5 -";
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char line[128];
    while (std::fgets(line, sizeof line, pipe)) hash += line;
    pclose(pipe);
  }
  return hash;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  if (argc == 3 && std::string(argv[1]) == "--runs") runs = std::max(1, std::atoi(argv[2]));
  const fs::path work = (fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                       : fs::temp_directory_path()) /
                        ("cb_record_bench_" + std::to_string(getpid()));
  fs::create_directories(work);
  const std::string videoRaw = (work / "video.bgr").string();
  const std::string soundRaw = (work / "music.pcm").string();

  // The demo's frames and music, once, as the recorder composes and mixes them.
  RawFrames raw;
  raw.file = std::fopen(videoRaw.c_str(), "wb");
  RecorderOptions options;
  options.onFrame = WriteRawFrame;
  options.onFrameContext = &raw;
  options.wavPath = (work / "music.wav").string();
  fs::current_path(CB_DATA_FOLDER);
  const RecorderResult prepared = RecordDemo(options);
  std::fclose(raw.file);
  {
    std::ifstream wav(options.wavPath, std::ios::binary);
    wav.seekg(44);
    std::ofstream(soundRaw, std::ios::binary) << wav.rdbuf();
  }
  if (prepared.status != 0 || raw.width == 0) {
    std::fprintf(stderr, "the demo could not be recorded from %s\n", CB_DATA_FOLDER);
    return 1;
  }
  const double videoSeconds = prepared.framesComposed / 50.0;
  const EncoderFormat format{raw.width, raw.height, 50, kRecordingSampleRate};
  const std::vector<std::string> ffmpegAlone =
      EncoderArguments(format, videoRaw, soundRaw, (work / "ffmpeg.mp4").string());
  const std::vector<std::string> recorder = {CB_RECORDER_PROGRAM, "--no-progress", "--data",
                                             CB_DATA_FOLDER, "--out",
                                             (work / "recorder.mp4").string()};

  std::printf("%u frames (%.2f s) at %dx%d, 50 frames a second\n", prepared.framesComposed,
              videoSeconds, raw.width, raw.height);
  std::printf("%-4s %12s %12s %8s %12s %14s\n", "run", "(a) ffmpeg", "(b) recorder", "(b)/(a)",
              "x real time", "cpu (a), (b)");
  std::vector<double> alone, recorded, ratios;
  for (int run = 1; run <= runs; ++run) {
    const Timing a = TimedRun(ffmpegAlone);
    const Timing b = TimedRun(recorder);
    if (a.wallSeconds <= 0 || b.wallSeconds <= 0) {
      std::fprintf(stderr, "%s failed\n", a.wallSeconds <= 0 ? "ffmpeg" : "the recorder");
      fs::remove_all(work);
      return 1;
    }
    alone.push_back(a.wallSeconds);
    recorded.push_back(b.wallSeconds);
    ratios.push_back(b.wallSeconds / a.wallSeconds);
    std::printf("%-4d %10.2f s %10.2f s %8.2f %11.1fx %6.2f, %.2f s\n", run, a.wallSeconds,
                b.wallSeconds, ratios.back(), videoSeconds / b.wallSeconds, a.cpuSeconds,
                b.cpuSeconds);
  }
  const std::string alonesPictures = VideoStreamHash((work / "ffmpeg.mp4").string());
  std::printf("same pictures in both videos: %s\n",
              !alonesPictures.empty() &&
                      alonesPictures == VideoStreamHash((work / "recorder.mp4").string())
                  ? "yes"
                  : "NO");
  std::printf("%-4s %10.2f s %10.2f s %8.2f %11.1fx\n", "med", Median(alone), Median(recorded),
              Median(ratios), videoSeconds / Median(recorded));
  // The least disturbed runs, when other work shares the machine.
  const double fastestAlone = *std::min_element(alone.begin(), alone.end());
  const double fastestRecorded = *std::min_element(recorded.begin(), recorded.end());
  std::printf("%-4s %10.2f s %10.2f s %8.2f %11.1fx\n", "min", fastestAlone, fastestRecorded,
              fastestRecorded / fastestAlone, videoSeconds / fastestRecorded);
  fs::remove_all(work);
  return 0;
}
