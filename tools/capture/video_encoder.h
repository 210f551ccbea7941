// video_encoder.h: turns the recorded bitmaps and the WAV file into an MP4 with ffmpeg. Frames are
// handed to ffmpeg as they are recorded, so encoding runs beside the recording.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

bool FfmpegIsInstalled();

// Starts ffmpeg encoding H.264 video without sound into videoPath. One stream a process.
bool StartVideoStream(uint32_t framesPerSecond, const std::string& videoPath);
// Hands one bitmap file to the encoder, then removes the file unless asked to keep it.
bool SendFrameFile(const char* bitmapFile, bool keepFile);
// Waits for ffmpeg to finish the video; answers whether every frame got through.
bool FinishVideoStream();

// Starts a second ffmpeg encoding the music (16-bit stereo PCM) as AAC into soundPath.
bool StartSoundStream(uint32_t sampleRate, const std::string& soundPath);
void SendSound(const void* samples, size_t bytes);
bool FinishSoundStream();

// Puts the encoded video and sound side by side, both copied as they are, into outputPath.
bool MuxVideoAndSound(const std::string& videoPath, const std::string& soundPath,
                      const std::string& outputPath);
