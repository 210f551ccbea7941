// video_encoder.cpp: runs ffmpeg over the numbered bitmaps and the sound file.
#include "video_encoder.h"

#include <cstdlib>

namespace {

// Single-quoted for the shell, with any single quote in the text closed, escaped and reopened.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

bool FfmpegIsInstalled() { return std::system("command -v ffmpeg >/dev/null 2>&1") == 0; }

bool EncodeVideo(const std::string& framePrefix, int firstFrameNumber, uint32_t framesPerSecond,
                 int pictureWidth, const std::string& wavPath, const std::string& outputPath) {
  const std::string scale = pictureWidth < 640 ? " -vf scale=iw*2:ih*2:flags=neighbor" : "";
  const std::string command =
      "ffmpeg -y -hide_banner -loglevel error -framerate " + std::to_string(framesPerSecond) +
      " -start_number " + std::to_string(firstFrameNumber) + " -i " +
      Quoted(framePrefix + "_%06d.bmp") + " -i " + Quoted(wavPath) + scale +
      " -c:v libx264 -preset veryfast -crf 18 -pix_fmt yuv420p -c:a aac -b:a 160k"
      " -movflags +faststart " + Quoted(outputPath);
  return std::system(command.c_str()) == 0;
}
