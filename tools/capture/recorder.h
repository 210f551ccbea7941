// recorder.h: runs the demo against a virtual clock that advances one frame period per composed
// frame, pressing timed keys, writing every frame as a bitmap and the music as a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo_main.h"
#include "key_schedule.h"

struct RecorderOptions {
  uint32_t framesPerSecond = 50;
  uint32_t startupDisplayMode = 0;  // 0 LCD, 5 NTSC television, 19 PAL television
  std::vector<KeyPress> keys;
  std::string framePrefix;          // frames go to "<prefix>_NNNNNN.bmp"; empty: none
  std::vector<uint32_t> stillsMs;   // when given (ascending), only the frames at these times
  std::string wavPath;              // empty: no sound file
  bool showProgress = false;        // a progress bar on standard error
  uint32_t limitMs = 30 * 60 * 1000;  // recording time after which a still-paused demo is given up
  // Called after each composed frame (numbered from 0), with the bitmap just written for it or
  // null, before the clock moves on.
  void (*onFrame)(uint32_t frame, const char* bitmapFile, void* context) = nullptr;
  void* onFrameContext = nullptr;
  // Receives the music as it is mixed (16-bit stereo at 22,050 Hz), beside the WAV file.
  void (*soundSink)(const void* samples, size_t bytes) = nullptr;
};

struct RecorderResult {
  int status = 0;             // the demo's exit status, or 1 when a file could not be written
  DemoReport report;
  uint32_t framesComposed = 0;
  int firstFrameNumber = 0;   // number of the first bitmap written
  uint64_t sampleFrames = 0;  // stereo sample frames in the WAV file
  double wallSeconds = 0;
  std::vector<std::string> stillFiles;  // the bitmaps written for stillsMs, in their order
  bool gaveUp = false;        // the limit was reached; the demo was left mid-run
};

// Runs the demo in the working directory. Not reentrant: one recording a process at a time.
RecorderResult RecordDemo(const RecorderOptions& options);

// The frame period of a rate, in whole milliseconds (50 gives 20).
uint32_t FramePeriodMs(uint32_t framesPerSecond);
