// demo_app.cpp: the demo as a program for any host: its music goes to the host's outputs, the
// host may end it as Exit does, and it tells the host the demo time of every paint.
#include <cstdio>

#include "demo_main.h"
#include "vkr_host.h"

namespace {

bool HostAsksToEnd() { return VKR_Host_EndRequested() != 0; }

}  // namespace

// The demo takes no options of its own.
int AppMain(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr, "%s: unknown or incomplete option %s (--help lists the options)\n",
                 argv[0], argv[1]);
    return 2;
  }
  DemoHost host;
  host.registerMusicDrivers = VKR_Host_RegisterMusicDrivers;
  host.endRequested = HostAsksToEnd;
  host.painted = VKR_Host_FramePainted;
  return VKR_Demo_Run(host);
}
