// record_command.h: the recorder's command line and what it leaves behind, for every program that
// records the demo: options parsed into a recording, the folders set up, the result reported.
#pragma once

#include <filesystem>

#include "recording.h"

struct RecordCommand {
  RecorderOptions options;
  std::filesystem::path output = "copperbramble.mp4";
  std::filesystem::path dataFolder;   // where the demo's files are; entered before recording
  std::filesystem::path frameFolder;  // bitmaps and WAV; default "<output>.frames"
  bool keepFrames = false;
};

enum class RecordParse { kRecord, kHelp, kInvalid };

void PrintRecordUsage(const char* program);
// Reads the options after argv[0] into command (whose dataFolder holds the program's default).
// Answers kHelp after printing the usage, kInvalid after printing what is wrong.
RecordParse ParseRecordCommand(int argc, char** argv, RecordCommand* command);

// Runs one recording with record, the program's way of running the demo: folders, data folder,
// the MP4 (encoded while recording when ffmpeg is installed; otherwise the bitmaps and the WAV are
// left in the frames folder), stills listed on standard output. Answers the exit status.
int RunRecordCommand(RecordCommand command, RecorderResult (*record)(const RecorderOptions&));
