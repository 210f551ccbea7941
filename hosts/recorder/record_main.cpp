// record_main.cpp: copperbramble-record, which records the demo on the desktop back end
// frame-exact to a video: pictures and music in step with a virtual clock, optionally as a
// television shows it and with timed key presses.
#include <unistd.h>

#include <filesystem>

#include "record_command.h"
#include "recorder.h"

namespace fs = std::filesystem;

namespace {

fs::path ProgramFolder(const char* argv0) {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::absolute(argv0).parent_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  RecordCommand command;
  command.options.showProgress = isatty(STDERR_FILENO);
  command.dataFolder = ProgramFolder(argv[0]) / "data";
  switch (ParseRecordCommand(argc, argv, &command)) {
    case RecordParse::kHelp:
      return 0;
    case RecordParse::kInvalid:
      return 2;
    case RecordParse::kRecord:
      break;
  }
  return RunRecordCommand(command, RecordDemo);
}
