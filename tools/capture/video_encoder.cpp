// video_encoder.cpp: two ffmpeg runs fed through pipes while the demo records, one for the bitmap
// files and one for the music, then a short third run that puts both into one file.
#include "video_encoder.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

// The encoder of the one stream; main thread only.
std::FILE* pEncoderPipe = nullptr;
bool bStreamFailed = false;
std::FILE* pSoundPipe = nullptr;
bool bSoundFailed = false;
std::array<char, 64 * 1024> copyBuffer;

// Single-quoted for the shell, with any single quote in the text closed, escaped and reopened.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

bool FfmpegIsInstalled() { return std::system("command -v ffmpeg >/dev/null 2>&1") == 0; }

bool StartVideoStream(uint32_t framesPerSecond, const std::string& videoPath) {
  // The fastest preset keeps the encoder level with the recording on two cores.
  const std::string command =
      "ffmpeg -y -hide_banner -loglevel error -f image2pipe -c:v bmp -framerate " +
      std::to_string(framesPerSecond) +
      " -i - -c:v libx264 -preset ultrafast -crf 18 -pix_fmt yuv420p -an " + Quoted(videoPath);
  pEncoderPipe = popen(command.c_str(), "w");
  bStreamFailed = pEncoderPipe == nullptr;
  return !bStreamFailed;
}

bool SendFrameFile(const char* bitmapFile, bool keepFile) {
  if (!pEncoderPipe || !bitmapFile) return false;
  std::FILE* frame = std::fopen(bitmapFile, "rb");
  if (!frame) {
    bStreamFailed = true;
    return false;
  }
  size_t got;
  while ((got = std::fread(copyBuffer.data(), 1, copyBuffer.size(), frame)) > 0)
    if (std::fwrite(copyBuffer.data(), 1, got, pEncoderPipe) != got) bStreamFailed = true;
  std::fclose(frame);
  if (!keepFile) std::remove(bitmapFile);
  return !bStreamFailed;
}

bool FinishVideoStream() {
  if (!pEncoderPipe) return false;
  const int status = pclose(pEncoderPipe);
  pEncoderPipe = nullptr;
  return status == 0 && !bStreamFailed;
}

bool StartSoundStream(uint32_t sampleRate, const std::string& soundPath) {
  const std::string command =
      "ffmpeg -y -hide_banner -loglevel error -f s16le -ar " + std::to_string(sampleRate) +
      " -ac 2 -i - -c:a aac -aac_coder fast -b:a 160k " + Quoted(soundPath);
  pSoundPipe = popen(command.c_str(), "w");
  bSoundFailed = pSoundPipe == nullptr;
  return !bSoundFailed;
}

void SendSound(const void* samples, size_t bytes) {
  if (pSoundPipe && std::fwrite(samples, 1, bytes, pSoundPipe) != bytes) bSoundFailed = true;
}

bool FinishSoundStream() {
  if (!pSoundPipe) return false;
  const int status = pclose(pSoundPipe);
  pSoundPipe = nullptr;
  return status == 0 && !bSoundFailed;
}

bool MuxVideoAndSound(const std::string& videoPath, const std::string& soundPath,
                      const std::string& outputPath) {
  const std::string command = "ffmpeg -y -hide_banner -loglevel error -i " + Quoted(videoPath) +
                              " -i " + Quoted(soundPath) + " -c copy -movflags +faststart " +
                              Quoted(outputPath);
  return std::system(command.c_str()) == 0;
}
