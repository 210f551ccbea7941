// video_encoder.h: turns the recorded bitmaps and WAV file into an MP4 with ffmpeg.
#pragma once

#include <cstdint>
#include <string>

bool FfmpegIsInstalled();

// H.264 video and AAC sound; LCD-sized pictures are doubled with square pixels. Answers true when
// ffmpeg succeeded.
bool EncodeVideo(const std::string& framePrefix, int firstFrameNumber, uint32_t framesPerSecond,
                 int pictureWidth, const std::string& wavPath, const std::string& outputPath);
