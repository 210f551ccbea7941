// record_command.h: the recorder's command line and what it leaves behind, for every host that
// records a program: options parsed into a recording, the folders set up, the result reported.
#pragma once

#include <filesystem>

#include "recording.h"

struct RecordCommand {
  RecorderOptions options;
  std::filesystem::path output = "copperbramble.mp4";
  std::filesystem::path dataFolder;   // where the demo's files are; entered before recording
  std::filesystem::path frameFolder;  // bitmaps and WAV; default "<output>.frames"
  bool keepFrames = false;
  bool outputGiven = false;  // --out was given
  bool recording = false;  // an option that writes something was given: the run is recorded
  bool headless = false;   // --headless: no window, on the virtual clock
};

enum class RecordParse { kRecord, kHelp, kInvalid };

void PrintRecordUsage(const char* program);
// Reads the options after argv[0] into command (whose dataFolder holds the program's default).
// Answers kHelp after printing the usage, kInvalid after printing what is wrong. With
// programArguments, every argument that is not the recorder's, and every one after "--", is
// appended there for the program instead of being refused.
RecordParse ParseRecordCommand(int argc, char** argv, RecordCommand* command,
                               std::vector<char*>* programArguments = nullptr);

// Runs one recording with record, the host's way of running the program: folders, data folder,
// the MP4 (encoded while recording when ffmpeg is installed; otherwise the bitmaps and the WAV are
// left in the frames folder), stills listed on standard output. Answers the exit status.
int RunRecordCommand(RecordCommand command, RecorderResult (*record)(const RecorderOptions&));
