// quiet_sound_test.cpp: the desktop program on a machine without a sound device: the sound
// libraries' own complaints stay off the terminal, one line of ours says the demo plays silently,
// and the demo still plays to its end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "captured_output.h"
#include "demo_main.h"
#include "music_output_pc.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "vkr_winHost.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old, had_ = true;
    ::setenv(name, value, 1);
  }
  ~ScopedEnvironment() { had_ ? ::setenv(name_, saved_.c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::string saved_;
  bool had_ = false;
};

void AdvanceTenSeconds(void*) { VKR_WinAdvanceVirtualClock(10000); }

TEST(DesktopSound, WithoutADeviceOnlyOneLineOfOursReachesTheTerminal) {
  ScratchDir dir("cb_quiet_sound");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x40));
  dir.CopyFromHome("main.it");
  // No PulseAudio server, and ALSA asked for a card that is not there: what a machine without a
  // sound device looks like to the libraries, which then print their complaints.
  ScopedEnvironment pulse("PULSE_SERVER", "unix:/nonexistent/copperbramble");
  ScopedEnvironment sdl("SDL_AUDIODRIVER", "alsa");
  ScopedEnvironment card("ALSA_CARD", "CopperbrambleNoSuchCard");

  CapturedOutput err(2);
  VKR_StartDesktopAudioQuietly();
  VKR_WinUseVirtualClock(0);
  VKR_WinSetFrameHook(AdvanceTenSeconds, nullptr);
  DemoReport report;
  DemoHost host;
  host.registerMusicDrivers = VKR_RegisterDesktopMusicDrivers;
  host.report = &report;
  const int status = VKR_Demo_Run(host);
  VKR_WinSetFrameHook(nullptr, nullptr);
  VKR_WinUseSystemClock();
  EXPECT_EQ(err.Stop(), "No sound device found: the demo plays without sound.\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(report.paints, 12u) << "0, 10000, ..., 110000 ms";
}

}  // namespace
