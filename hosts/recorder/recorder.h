// recorder.h: a program recorded on the desktop back end: run against a virtual clock that advances
// one frame period per composed frame, with timed keys as window key events.
#pragma once

#include <cstdint>

#include "recording.h"

// Runs options.program in the working directory. Not reentrant: one recording a process at a time.
RecorderResult RecordOnDesktop(const RecorderOptions& options);

// Presses (down) or releases one button of the input state word as the window's key event.
void VKR_WinPushButtonKey(uint32_t button, bool down);
