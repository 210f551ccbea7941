// desktop_host.cpp: the desktop host: with a recording option (or --headless) the program runs on
// the virtual clock and is recorded, otherwise in its window with the sound device; --tv and
// --keys mean the same either way.
#include "desktop_host.h"

#include <unistd.h>

#include <cstdio>
#include <vector>

#include "key_schedule.h"
#include "music_output_pc.h"
#include "program_host.h"
#include "record_command.h"
#include "recorder.h"
#include "vkr_host.h"
#include "vkr_winHost.h"

namespace {

int RunProgram(void*) { return AppMain(Host_ProgramArgumentCount(), Host_ProgramArguments()); }

// The timed presses in a window: at every composed frame the buttons the schedule holds at the
// clock's time since the program started become the window's key events.
struct WindowKeys {
  std::vector<KeyPress> presses;
  uint32_t startMs = 0;
  uint32_t held = 0;
};

void PressScheduledKeys(void* context) {
  WindowKeys& keys = *static_cast<WindowKeys*>(context);
  const uint32_t held = ButtonsHeldAt(keys.presses, VKR_WinNowMS() - keys.startMs);
  for (uint32_t bit = 1; bit != 0 && bit <= (held | keys.held); bit <<= 1)
    if ((held ^ keys.held) & bit) VKR_WinPushButtonKey(bit, held & bit);
  keys.held = held;
}

int RunInWindow(const RecordCommand& command) {
  if (!Host_EnterDataFolder(command.dataFolder)) return 1;
  VKR_StartDesktopAudioQuietly();
  Host_SetMusicDrivers(VKR_RegisterDesktopMusicDrivers);
  Host_SetEndRequest(VKR_WinCloseRequested);
  VKR_WinSetStartupDisplayMode(command.options.startupDisplayMode);
  WindowKeys keys{command.options.keys, VKR_WinNowMS(), 0};
  if (!keys.presses.empty()) VKR_WinSetFrameHook(PressScheduledKeys, &keys);
  const int status = RunProgram(nullptr);
  VKR_WinSetFrameHook(nullptr, nullptr);
  return status;
}

}  // namespace

int DesktopHost_Main(int argc, char** argv, const DesktopHostSettings& settings) {
  RecordCommand command;
  command.options.showProgress = settings.progressBar && isatty(STDERR_FILENO);
  command.options.expectedMs = settings.expectedRunMs;
  command.options.program = RunProgram;
  command.dataFolder = Host_DefaultDataFolder(argv[0]);
  std::vector<char*> programArguments = {argv[0]};
  switch (ParseRecordCommand(argc, argv, &command, &programArguments)) {
    case RecordParse::kHelp:
      return 0;
    case RecordParse::kInvalid:
      return 2;
    case RecordParse::kRecord:
      break;
  }
  Host_SetProgramArguments(programArguments);
  if (settings.alwaysRecord || command.recording)
    return RunRecordCommand(command, RecordOnDesktop);
  if (!command.headless) return RunInWindow(command);
  // Headless without a recording option: the same run on the virtual clock, nothing written.
  if (!Host_EnterDataFolder(command.dataFolder)) return 1;
  command.options.showProgress = false;
  return RecordOnDesktop(command.options).status;
}
