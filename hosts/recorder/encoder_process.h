// encoder_process.h: one ffmpeg process that encodes a recording into an MP4 (H.264 and AAC) as it
// is made: raw pictures through one pipe, raw sound through a second, nothing on disk in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct EncoderFormat {
  int width = 0;                // pictures: 24-bit blue, green, red, top line first
  int height = 0;
  uint32_t framesPerSecond = 50;
  uint32_t sampleRate = 22050;  // sound: 16-bit stereo, little-endian
};

bool FfmpegIsInstalled();

// The ffmpeg command line (program name first) that encodes the pictures read from videoInput and
// the sound read from soundInput into outputPath. The inputs are anything ffmpeg opens: "pipe:0",
// "pipe:3" for the recorder, raw files for the benchmark that compares with it.
std::vector<std::string> EncoderArguments(const EncoderFormat& format,
                                          const std::string& videoInput,
                                          const std::string& soundInput,
                                          const std::string& outputPath);

// Starts the encoder; one a process. Ignores SIGPIPE from then on, so an encoder that stops early
// shows as a failed send instead of ending the recorder.
bool EncoderStart(const EncoderFormat& format, const std::string& outputPath);
// One picture of the format's size whose lines lie pitch bytes apart.
bool EncoderSendFrame(const uint8_t* pixels, size_t pitch);
bool EncoderSendSound(const void* samples, size_t bytes);
// Ends both inputs and waits for the file; answers whether every send got through and ffmpeg
// succeeded.
bool EncoderFinish();
