// encoder_process.cpp: ffmpeg started with posix_spawn, pictures on its standard input and sound on
// its descriptor 3. Both pipes are widened so a whole LCD frame is handed over in one write and the
// recorder composes the next frame while ffmpeg takes this one.
#include "encoder_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace {

constexpr int kPipeBytes = 1 << 20;

// The encoder of the one recording; main thread only. Descriptors are -1 while none runs.
pid_t encoderPid = -1;
int videoFd = -1;
int soundFd = -1;
size_t frameRowBytes = 0;
int frameRows = 0;
bool bSendFailed = false;

bool WriteAll(int fd, const uint8_t* bytes, size_t size) {
  while (size > 0) {
    const ssize_t done = write(fd, bytes, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

// A close-on-exec copy numbered 10 or more, so dup2 onto 0 or 3 in the child never meets itself.
int AboveStandardDescriptors(int fd) {
  const int high = fcntl(fd, F_DUPFD_CLOEXEC, 10);
  close(fd);
  return high;
}

bool OpenPipe(int ends[2]) {
  if (pipe(ends) != 0) return false;
  ends[0] = AboveStandardDescriptors(ends[0]);
  ends[1] = AboveStandardDescriptors(ends[1]);
  fcntl(ends[1], F_SETPIPE_SZ, kPipeBytes);  // a smaller pipe still works, only slower
  return ends[0] >= 0 && ends[1] >= 0;
}

void CloseFd(int* fd) {
  if (*fd >= 0) close(*fd);
  *fd = -1;
}

}  // namespace

bool FfmpegIsInstalled() { return std::system("command -v ffmpeg >/dev/null 2>&1") == 0; }

std::vector<std::string> EncoderArguments(const EncoderFormat& format,
                                          const std::string& videoInput,
                                          const std::string& soundInput,
                                          const std::string& outputPath) {
  const size_t frameBytes = std::max<size_t>(1, size_t{3} * std::max(format.width, 1) *
                                                    std::max(format.height, 1));
  // Both inputs are raw with their formats given: nothing to probe, so ffmpeg reads no further
  // ahead in one pipe than the other has been written.
  return {"ffmpeg", "-y", "-hide_banner", "-loglevel", "error",
          "-probesize", "32", "-analyzeduration", "0",
          // About 32 MiB of pictures read ahead of the encoder, so the recorder and ffmpeg each
          // keep going while the other waits for a core.
          "-thread_queue_size", std::to_string(std::max<size_t>(8, (32u << 20) / frameBytes)),
          "-f", "rawvideo", "-pix_fmt", "bgr24",
          "-s", std::to_string(format.width) + "x" + std::to_string(format.height),
          "-framerate", std::to_string(format.framesPerSecond), "-i", videoInput,
          // Room for several seconds of sound read ahead, so neither pipe waits on the other.
          "-thread_queue_size", "4096", "-probesize", "32", "-analyzeduration", "0",
          "-f", "s16le", "-ar", std::to_string(format.sampleRate), "-ac", "2", "-i", soundInput,
          "-c:v", "libx264", "-preset", "ultrafast", "-crf", "18", "-pix_fmt", "yuv420p",
          // One encoding thread a core: x264's default of one and a half a core only adds
          // hand-overs while the recorder itself keeps a core busy composing.
          "-threads", std::to_string(std::max(1u, std::thread::hardware_concurrency())),
          "-c:a", "aac", "-aac_coder", "fast", "-b:a", "160k",
          "-movflags", "+faststart", "-f", "mp4", outputPath};
}

bool EncoderStart(const EncoderFormat& format, const std::string& outputPath) {
  if (encoderPid >= 0 || format.width <= 0 || format.height <= 0) return false;
  std::signal(SIGPIPE, SIG_IGN);
  int video[2], sound[2];
  if (!OpenPipe(video)) return false;
  if (!OpenPipe(sound)) {
    CloseFd(&video[0]);
    CloseFd(&video[1]);
    return false;
  }
  const std::vector<std::string> arguments =
      EncoderArguments(format, "pipe:0", "pipe:3", outputPath);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, video[0], 0);
  posix_spawn_file_actions_adddup2(&actions, sound[0], 3);
  pid_t pid = -1;
  const int failure = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  CloseFd(&video[0]);
  CloseFd(&sound[0]);
  if (failure != 0) {
    CloseFd(&video[1]);
    CloseFd(&sound[1]);
    return false;
  }
  encoderPid = pid;
  videoFd = video[1];
  soundFd = sound[1];
  frameRowBytes = static_cast<size_t>(format.width) * 3;
  frameRows = format.height;
  bSendFailed = false;
  return true;
}

bool EncoderSendFrame(const uint8_t* pixels, size_t pitch) {
  if (videoFd < 0 || bSendFailed || !pixels || pitch < frameRowBytes) return false;
  if (pitch == frameRowBytes) {
    bSendFailed = !WriteAll(videoFd, pixels, frameRowBytes * static_cast<size_t>(frameRows));
  } else {
    for (int row = 0; row < frameRows && !bSendFailed; ++row)
      bSendFailed = !WriteAll(videoFd, pixels + pitch * static_cast<size_t>(row), frameRowBytes);
  }
  return !bSendFailed;
}

bool EncoderSendSound(const void* samples, size_t bytes) {
  if (soundFd < 0 || bSendFailed) return false;
  bSendFailed = !WriteAll(soundFd, static_cast<const uint8_t*>(samples), bytes);
  return !bSendFailed;
}

bool EncoderFinish() {
  if (encoderPid < 0) return false;
  CloseFd(&videoFd);
  CloseFd(&soundFd);
  int status = 0;
  while (waitpid(encoderPid, &status, 0) < 0 && errno == EINTR) {
  }
  encoderPid = -1;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && !bSendFailed;
}
