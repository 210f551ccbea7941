// recording.cpp: the frame step of a recording: bitmaps when wanted, the picture to the encoder,
// one frame period of music to the WAV file and the encoder, then time and timed buttons.
#include "recording.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "encoder_process.h"
#include "program_host.h"
#include "progress_bar.h"
#include "wav_music_driver.h"

namespace {

// The one recording in progress; RecordingBegin sets it up, RecordingFrame advances it.
struct Recording {
  RecorderOptions options;
  RecordingHost host{};
  uint32_t periodMs = 20;
  uint32_t nowMs = 0;
  uint32_t buttonsHeld = 0;
  uint64_t framesDone = 0;
  uint64_t samplesDone = 0;
  bool bitmapFailed = false;
  bool videoFailed = false;
  bool encoderStarted = false;
  int videoWidth = 0, videoHeight = 0;
  std::chrono::steady_clock::time_point started;
  uint64_t expectedFrames = 0;
  size_t nextStill = 0;
  size_t nextDemoStill = 0;
  std::vector<std::string> stillFiles;
  uint32_t paintsSeen = 0;
  FILE* digests = nullptr;
  bool digestsByPaint = false;  // the program reported a paint: only painted frames are written
  uint32_t programFrames = 0;   // the program's frames numbered so far, while it reports none
};

Recording recording;

// Holds the buttons the key schedule holds at the program's time: one meaning in every host, a
// press lasting from its time for its hold whatever other presses of the button do.
void HoldScheduledButtons() {
  const uint64_t now = recording.host.nowMs ? recording.host.nowMs() : recording.nowMs;
  const uint32_t held = ButtonsHeldAt(recording.options.keys, now);
  const uint32_t changed = held ^ recording.buttonsHeld;
  for (uint32_t bit = 1; bit != 0 && bit <= changed; bit <<= 1)
    if (changed & bit) recording.host.setButton(bit, (held & bit) != 0);
  recording.buttonsHeld = held;
}

// The program time of the paint this frame shows, when a paint came since the frame before.
bool PaintedSinceLastFrame(uint32_t* programMs) {
  const ProgramPaints& reported = Host_Paints();
  if (reported.paints == recording.paintsSeen) return false;
  recording.paintsSeen = reported.paints;
  *programMs = reported.lastPaintMs;
  return true;
}

// One line a painted frame. Until the program reports its first paint every frame of the program
// counts, keyed by its number; the first report starts the file over, so a program that reports
// its paints has only those in it.
void WriteDigest(bool painted, uint32_t programMs, uint64_t digest) {
  FILE* file = recording.digests;
  if (painted && !recording.digestsByPaint) {
    recording.digestsByPaint = true;
    std::fflush(file);
    if (ftruncate(fileno(file), 0) != 0) recording.bitmapFailed = true;
    std::rewind(file);
  }
  if (recording.digestsByPaint) {
    if (painted)
      std::fprintf(file, "%u %016llx\n", programMs, static_cast<unsigned long long>(digest));
  } else if (!recording.host.programShowing || recording.host.programShowing()) {
    std::fprintf(file, "%u %016llx\n", recording.programFrames++,
                 static_cast<unsigned long long>(digest));
  }
}

// A frame painted at one of the demo-clock stills.
bool DemoStillIsDue(bool painted, uint32_t demoMs) {
  const std::vector<uint32_t>& stills = recording.options.demoStillsMs;
  if (!painted) return false;
  while (recording.nextDemoStill < stills.size() && stills[recording.nextDemoStill] < demoMs)
    ++recording.nextDemoStill;
  if (recording.nextDemoStill == stills.size() || stills[recording.nextDemoStill] != demoMs)
    return false;
  ++recording.nextDemoStill;
  return true;
}

// FNV-1a over the picture's pixels taken eight bytes at a time (the rest of a line byte by byte),
// with the high bits folded back so that every byte reaches the low ones.
uint64_t PictureDigest(const uint8_t* pixels, int width, int height, size_t pitch) {
  constexpr uint64_t kPrime = 0x100000001B3ull;
  uint64_t digest = 0xCBF29CE484222325ull;
  const size_t lineBytes = size_t(width) * 3;
  for (int y = 0; y < height; ++y) {
    const uint8_t* line = pixels + size_t(y) * pitch;
    size_t x = 0;
    for (; x + 8 <= lineBytes; x += 8) {
      uint64_t word;
      std::memcpy(&word, line + x, 8);
      digest = (digest ^ word) * kPrime;
      digest ^= digest >> 29;
    }
    for (; x < lineBytes; ++x) digest = (digest ^ line[x]) * kPrime;
  }
  return digest;
}

// Every frame, or with stills only the first frame at or after each still's time, or with
// demo-clock stills only the frames painted at those times.
bool FrameIsWanted(bool painted, uint32_t demoMs) {
  const RecorderOptions& options = recording.options;
  if (options.framePrefix.empty()) return false;
  if (!options.demoStillsMs.empty()) return DemoStillIsDue(painted, demoMs);
  if (options.stillsMs.empty()) return true;
  bool wanted = false;
  while (recording.nextStill < options.stillsMs.size() &&
         options.stillsMs[recording.nextStill] <= recording.nowMs) {
    ++recording.nextStill;
    wanted = true;
  }
  return wanted;
}

void SendSound(const void* samples, size_t bytes) {
  if (!EncoderSendSound(samples, bytes)) recording.videoFailed = true;
}

void StartEncoder(int width, int height) {
  recording.encoderStarted = true;
  recording.videoWidth = width;
  recording.videoHeight = height;
  const EncoderFormat format{width, height, recording.options.framesPerSecond,
                             kRecordingSampleRate};
  if (EncoderStart(format, recording.options.videoPath)) {
    VKR_Rec_SetSoundSink(SendSound);
  } else {
    std::fprintf(stderr, "cannot start ffmpeg\n");
    recording.videoFailed = true;
  }
}

// The encoder takes pictures of the first frame's size only; a frame of another size is a failure.
void SendPicture(const uint8_t* pixels, int width, int height, size_t pitch) {
  if (width != recording.videoWidth || height != recording.videoHeight) {
    if (!recording.videoFailed)
      std::fprintf(stderr, "the picture changed from %dx%d to %dx%d: the video ends there\n",
                   recording.videoWidth, recording.videoHeight, width, height);
    recording.videoFailed = true;
  } else if (!EncoderSendFrame(pixels, pitch)) {
    recording.videoFailed = true;
  }
}

}  // namespace

uint32_t FramePeriodMs(uint32_t framesPerSecond) {
  return std::max<uint32_t>(1, 1000 / std::max<uint32_t>(1, framesPerSecond));
}

RecorderResult RecordProgram(const RecorderOptions& options, const RecordingHost& host,
                             int firstFrameNumber) {
  RecorderResult result;
  result.firstFrameNumber = firstFrameNumber;
  if (!RecordingBegin(options, host)) {
    result.status = 1;
    return result;
  }
  if (host.setUp) host.setUp(options);
  Host_SetMusicDrivers(VKR_Rec_RegisterMusicDriver);
  result.status = options.program ? options.program(options.programContext) : 0;
  Host_SetMusicDrivers(nullptr);
  if (host.tearDown) host.tearDown();
  RecordingEnd(&result);
  return result;
}

bool RecordingBegin(const RecorderOptions& options, const RecordingHost& host) {
  recording = Recording{};
  Host_ResetPaints();
  recording.options = options;
  recording.host = host;
  recording.periodMs = FramePeriodMs(options.framesPerSecond);
  recording.started = std::chrono::steady_clock::now();
  recording.expectedFrames = options.expectedMs / recording.periodMs + 8;
  recording.stillFiles.reserve(options.stillsMs.size() + options.demoStillsMs.size());
  if (!VKR_Rec_OpenWav(options.wavPath, kRecordingSampleRate)) {
    std::fprintf(stderr, "cannot write %s\n", options.wavPath.c_str());
    return false;
  }
  VKR_Rec_SetSoundSink(nullptr);
  if (!options.digestPath.empty()) {
    recording.digests = std::fopen(options.digestPath.c_str(), "w");
    if (!recording.digests) {
      std::fprintf(stderr, "cannot write %s\n", options.digestPath.c_str());
      VKR_Rec_CloseWav();
      return false;
    }
  }
  return true;
}

void RecordingFrame(const uint8_t* pixels, int width, int height, size_t pitch) {
  const RecorderOptions& options = recording.options;
  const char* bitmapFile = nullptr;
  uint32_t demoMs = 0;
  const bool painted = PaintedSinceLastFrame(&demoMs);
  if (recording.digests) WriteDigest(painted, demoMs, PictureDigest(pixels, width, height, pitch));
  if (FrameIsWanted(painted, demoMs)) {
    bitmapFile = recording.host.saveBitmap(options.framePrefix.c_str());
    recording.bitmapFailed |= !bitmapFile;
    const bool stillsOnly = !options.stillsMs.empty() || !options.demoStillsMs.empty();
    if (bitmapFile && stillsOnly) recording.stillFiles.emplace_back(bitmapFile);
  }
  if (options.onFrame)
    options.onFrame(static_cast<uint32_t>(recording.framesDone), bitmapFile,
                    options.onFrameContext);
  // The frame's period of music goes to the encoder before its picture: ffmpeg looks at the start
  // of both inputs before it takes more than a frame of either.
  if (!options.videoPath.empty() && !recording.encoderStarted) StartEncoder(width, height);
  ++recording.framesDone;
  const uint64_t samplesDue =
      recording.framesDone * kRecordingSampleRate / options.framesPerSecond;
  VKR_Rec_MixFrames(static_cast<uint32_t>(samplesDue - recording.samplesDone));
  recording.samplesDone = samplesDue;
  if (recording.encoderStarted) SendPicture(pixels, width, height, pitch);

  recording.nowMs += recording.periodMs;
  recording.host.advanceClock(recording.periodMs);
  HoldScheduledButtons();
  if (options.showProgress)
    ShowProgress(recording.framesDone, std::max(recording.expectedFrames, recording.framesDone),
                 recording.started);
  if (recording.nowMs > options.limitMs) {
    std::fprintf(stderr, "\nrecording stopped at %u ms: the demo was still running (paused?)\n",
                 recording.nowMs);
    VKR_Rec_CloseWav();
    if (recording.encoderStarted) EncoderFinish();
    std::exit(1);
  }
}

void RecordingEnd(RecorderResult* result) {
  VKR_Rec_SetSoundSink(nullptr);
  result->sampleFrames = VKR_Rec_CloseWav();
  result->framesComposed = static_cast<uint32_t>(recording.framesDone);
  result->stillFiles = std::move(recording.stillFiles);
  if (recording.encoderStarted) {
    result->videoWritten = EncoderFinish() && !recording.videoFailed;
    if (!result->videoWritten)
      std::fprintf(stderr, "ffmpeg failed to encode %s\n", recording.options.videoPath.c_str());
  }
  result->wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - recording.started).count();
  if (recording.digests && std::fclose(recording.digests) != 0) recording.bitmapFailed = true;
  recording.digests = nullptr;
  if (recording.options.showProgress) FinishProgress();
  if (recording.bitmapFailed)
    std::fprintf(stderr, "some frames could not be written to %s_*.bmp\n",
                 recording.options.framePrefix.c_str());
  const bool videoMissing = !recording.options.videoPath.empty() && !result->videoWritten;
  if ((recording.bitmapFailed || videoMissing) && result->status == 0) result->status = 1;
}
