// record_demo.cpp: the demo recorded on the desktop back end, its report kept beside the result.
#include "record_demo.h"

#include "demo_layout.h"
#include "vkr_host.h"

namespace {

int RunDemo(void* context) {
  DemoHost host;
  host.registerMusicDrivers = VKR_Host_RegisterMusicDrivers;
  host.report = static_cast<DemoReport*>(context);
  host.painted = VKR_Host_FramePainted;
  return VKR_Demo_Run(host);
}

}  // namespace

DemoRecording RecordDemo(RecorderOptions options) {
  DemoRecording recording;
  options.program = RunDemo;
  options.programContext = &recording.report;
  if (options.expectedMs == 0) options.expectedMs = kDemoPartEndMs;
  static_cast<RecorderResult&>(recording) = RecordOnDesktop(options);
  return recording;
}
