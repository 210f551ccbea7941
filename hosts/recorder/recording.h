// recording.h: one recording of a program, whatever runs it: each composed frame goes to the
// encoder (and to bitmap files when asked), one frame period of music is mixed after it, then the
// host's clock moves on by that period and the buttons the key schedule holds at the program's
// time are held.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "key_schedule.h"

struct RecorderOptions {
  uint32_t framesPerSecond = 50;
  uint32_t startupDisplayMode = 0;  // 0 LCD, 5 NTSC television, 19 PAL television
  std::vector<KeyPress> keys;
  std::string videoPath;            // the MP4 encoded while recording; empty: none
  std::string framePrefix;          // frames go to "<prefix>_NNNNNN.bmp"; empty: none
  std::vector<uint32_t> stillsMs;   // when given (ascending), only the frames at these times
  std::vector<uint32_t> demoStillsMs;  // when given (ascending), only the frames whose paint read
                                       // these times of the demo's clock
  std::string digestPath;           // each painted frame's demo time and digest, a line each;
                                    // empty: none
  std::string wavPath;              // empty: no sound file
  bool showProgress = false;        // a progress bar on standard error
  uint32_t limitMs = 30 * 60 * 1000;  // recording time after which a still-paused demo is given up
  uint32_t expectedMs = 0;          // how long the program is expected to run, for the progress bar
  // The program recorded: run once in the working directory, answers its exit status.
  int (*program)(void* context) = nullptr;
  void* programContext = nullptr;
  // Called after each composed frame (numbered from 0), with the bitmap just written for it or
  // null, before the clock moves on.
  void (*onFrame)(uint32_t frame, const char* bitmapFile, void* context) = nullptr;
  void* onFrameContext = nullptr;
};

struct RecorderResult {
  int status = 0;             // the program's exit status, or 1 when a file could not be written
  uint32_t framesComposed = 0;
  int firstFrameNumber = 0;   // number of the first bitmap written
  uint64_t sampleFrames = 0;  // stereo sample frames mixed (and in the WAV file)
  double wallSeconds = 0;
  std::vector<std::string> stillFiles;  // the bitmaps written for stillsMs, in their order
  bool videoWritten = false;  // videoPath holds the whole recording
};

// What the host running the program does for the recording. Which frames are painted, and at what
// time of the program's clock, the program tells through VKR_Host_FramePainted.
struct RecordingHost {
  // Writes the frame just composed as "<prefix>_NNNNNN.bmp" with the library's capture; answers the
  // file's name (valid until the next call) or null when it could not be written.
  const char* (*saveBitmap)(const char* prefix);
  // Presses (down) or releases one button of the input state word (a VKR_BUTTON_ mask).
  void (*setButton)(uint32_t button, bool down);
  // Moves the program's clock on by that many milliseconds.
  void (*advanceClock)(uint32_t milliseconds);
  // The program's clock in milliseconds, by which the timed buttons are held; null: the
  // recording's own, one frame period a frame.
  uint64_t (*nowMs)() = nullptr;
  // Whether the frame just composed is the program's: false while its library is still starting
  // (a console shows what its firmware left). Only such frames are numbered for a program that
  // reports no paints. Null: every frame is.
  bool (*programShowing)() = nullptr;
  // What the host sets up before the program runs and takes down after it. May be null.
  void (*setUp)(const RecorderOptions& options) = nullptr;
  void (*tearDown)() = nullptr;
};

// Records options.program on a host, the whole sequence: begin, the host's set-up, the program
// with the recorder's music output, the host's take-down, end. firstFrameNumber is the number the
// host's next bitmap gets.
RecorderResult RecordProgram(const RecorderOptions& options, const RecordingHost& host,
                             int firstFrameNumber);

// Starts a recording: opens the WAV and digest files. The encoder starts with the first frame,
// which gives the picture size. False (and a message) when a file cannot be written. One
// recording a process at a time.
bool RecordingBegin(const RecorderOptions& options, const RecordingHost& host);
// One composed frame: width x height pixels of blue, green, red bytes, lines pitch bytes apart,
// top line first. Allocates nothing after the first frame.
void RecordingFrame(const uint8_t* pixels, int width, int height, size_t pitch);
// Ends the recording: closes the WAV file, waits for the encoder and fills in the counts, the time
// taken and, if a file could not be written, status 1.
void RecordingEnd(RecorderResult* result);

// The frame period of a rate, in whole milliseconds (50 gives 20).
uint32_t FramePeriodMs(uint32_t framesPerSecond);
// The rate at which the recorder mixes music: 16-bit stereo.
inline constexpr uint32_t kRecordingSampleRate = 22050;
