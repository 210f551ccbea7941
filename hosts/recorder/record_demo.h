// record_demo.h: the demo recorded on the desktop back end with its own run's report, for the tests
// and benchmarks that look at the demo's run.
#pragma once

#include "demo_main.h"
#include "recorder.h"

struct DemoRecording : RecorderResult {
  DemoReport report;
};

// Records the demo in the working directory with these options (their program is the demo's).
DemoRecording RecordDemo(RecorderOptions options);
