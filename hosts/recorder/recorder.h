// recorder.h: the demo recorded on the desktop back end: run against a virtual clock that advances
// one frame period per composed frame, with timed keys as window key events.
#pragma once

#include "recording.h"

// Runs the demo in the working directory. Not reentrant: one recording a process at a time.
RecorderResult RecordDemo(const RecorderOptions& options);
