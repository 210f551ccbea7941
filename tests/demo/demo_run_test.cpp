// The demo's whole run on the desktop, against the virtual clock: what it prints, when it paints
// and stops, how it fails without its files, and the order in which it hands everything back.
#include <SDL.h>
#include <gtest/gtest.h>
#include <mikmod.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "captured_output.h"
#include "record_demo.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "software_mixer_driver.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"

namespace {

const char* const kExpectedStdout =
    "GP2X Low-Level Library v1.00\n"
    "Copperbramble / Velkamora\n"
    "\n"
    "Have you try this tiny demo with TV-Out + CloseCaption1?\n";

DemoRecording Record(uint32_t framesPerSecond) {
  RecorderOptions options;
  options.framesPerSecond = framesPerSecond;
  return RecordDemo(options);
}

TEST(DemoRun, PlaysTheWholeTimelineAndEndsByItself) {
  ScratchDir dir("cb_demo_run");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x80));
  const bool withMusic = dir.CopyFromHome("main.it");
  CapturedOutput out(1);
  const DemoRecording result = Record(50);
  EXPECT_EQ(out.Stop(), kExpectedStdout);
  EXPECT_EQ(result.status, 0);
  // Paints at 0, 20, ..., 117280 ms; the frame that reads 117300 ends the loop unpainted.
  EXPECT_EQ(result.report.paints, 5865u);
  EXPECT_EQ(result.report.lastPaintMs, 117280u);
  EXPECT_LE(result.report.lastPaintMs, 117299u);
  EXPECT_EQ(result.report.frames, 5866u);
  EXPECT_FALSE(result.report.exitChosen);
  EXPECT_FALSE(VKR_WinIsStarted());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
  if (!withMusic) GTEST_SKIP() << "no main.it in the data folder: ran without music";
}

// A music file that does not load is named in one line with libmikmod's reason, and the demo
// plays on silently to its end: missing, cut off inside its header, not a module at all (after
// other runs in this process, as a host that runs the demo again sees it).
TEST(DemoRun, MusicThatDoesNotLoadIsNamedAndTheDemoPlaysOnSilently) {
  std::vector<uint8_t> music;
  {
    ScratchDir home("cb_demo_music_source");
    if (home.CopyFromHome("main.it")) {
      std::ifstream in("main.it", std::ios::binary);
      music.assign(std::istreambuf_iterator<char>(in), {});
    }
  }
  if (music.size() < 300) GTEST_SKIP() << "no main.it in the data folder";
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;  // empty: no file
    int reason;
  };
  const Case cases[] = {
      {"missing", {}, MMERR_OPENING_FILE},
      {"cut off in its header", std::vector<uint8_t>(music.begin(), music.begin() + 300),
       MMERR_LOADING_HEADER},
      {"not a module", std::vector<uint8_t>(4096, 0x5A), MMERR_NOT_A_MODULE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir("cb_demo_bad_music");
    dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0));
    if (!c.bytes.empty()) dir.Write("main.it", c.bytes);
    CapturedOutput err(2);
    const DemoRecording result = Record(5);
    EXPECT_EQ(err.Stop(), std::string("copperbramble: the music main.it did not load (") +
                              MikMod_strerror(c.reason) + "); playing on without it\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.report.paints, 587u);  // 0, 200, ..., 117200
    EXPECT_EQ(result.report.lastPaintMs, 117200u);
  }
}

TEST(DemoRun, WithoutResourcePackShowsTheLoadingScreenAndFails) {
  ScratchDir dir("cb_demo_nopack");
  CapturedOutput err(2);
  CapturedOutput out(1);
  const DemoRecording result = Record(50);
  EXPECT_EQ(out.Stop(), kExpectedStdout);
  EXPECT_NE(err.Stop().find("resource.dat"), std::string::npos);
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(result.report.paints, 0u);
  EXPECT_GE(result.framesComposed, 1u);  // the loading screen was shown
  EXPECT_FALSE(VKR_WinIsStarted());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

TEST(DemoRun, ShortResourcePackIsReportedAndStillPlays) {
  ScratchDir dir("cb_demo_short");
  dir.Write("resource.dat", std::vector<uint8_t>(1000, 0x10));
  CapturedOutput err(2);
  const DemoRecording result = Record(5);
  const std::string errors = err.Stop();
  EXPECT_NE(errors.find("1000 bytes found, 769152 expected"), std::string::npos) << errors;
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.report.paints, 587u);
}

// Shutdown order, seen from a music output that notes what state the library is in whenever
// libmikmod calls it.
std::vector<std::string> musicCalls;

std::string LibraryState() { return VKR_WinIsStarted() ? "started" : "freed"; }
int NotingInit() { musicCalls.push_back("init:" + LibraryState()); return VC_Init(); }
void NotingExit() { musicCalls.push_back("exit:" + LibraryState()); VC_Exit(); }
int NotingPlayStart() { musicCalls.push_back("start:" + LibraryState()); return VC_PlayStart(); }
void NotingPlayStop() { musicCalls.push_back("stop:" + LibraryState()); VC_PlayStop(); }
BOOL AlwaysPresent() { return 1; }
void NoUpdate() {}
int FailingInit() { return 1; }

MDRIVER drv_noting = VKR_SoftwareMixerDriver(
    "Noting", "noting",
    {.isPresent = AlwaysPresent, .init = NotingInit, .exit = NotingExit,
     .playStart = NotingPlayStart, .playStop = NotingPlayStop, .update = NoUpdate});

MDRIVER drv_failing = VKR_SoftwareMixerDriver(
    "Failing", "failing", {.isPresent = AlwaysPresent, .init = FailingInit, .update = NoUpdate});

MDRIVER* const* RegisterNoting() {
  static MDRIVER* const drivers[] = {&drv_noting, nullptr};
  MikMod_RegisterDriver(&drv_noting);
  return drivers;
}
MDRIVER* const* RegisterFailingThenNoting() {
  static MDRIVER* const drivers[] = {&drv_failing, &drv_noting, nullptr};
  MikMod_RegisterDriver(&drv_failing);
  MikMod_RegisterDriver(&drv_noting);
  return drivers;
}
MDRIVER* const* RegisterFailing() {
  static MDRIVER* const drivers[] = {&drv_failing, nullptr};
  MikMod_RegisterDriver(&drv_failing);
  return drivers;
}

void AdvanceAFrame(void*) { VKR_WinAdvanceVirtualClock(200); }

// As above, and the window is closed at 2 s of the virtual clock.
void AdvanceAndCloseAt2s(void*) {
  VKR_WinAdvanceVirtualClock(200);
  uint32_t now = 0;
  VKR_GetTime(&now);
  if (now == 2000) {
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
}

int RunWithDrivers(MDRIVER* const* (*registerDrivers)(), DemoReport* report,
                   void (*frameHook)(void*) = AdvanceAFrame) {
  VKR_WinUseVirtualClock(0);
  VKR_WinSetFrameHook(frameHook, nullptr);
  DemoHost host;
  host.registerMusicDrivers = registerDrivers;
  host.report = report;
  host.endRequested = VKR_WinCloseRequested;
  const int status = VKR_Demo_Run(host);
  VKR_WinSetFrameHook(nullptr, nullptr);
  VKR_WinUseSystemClock();
  return status;
}

TEST(DemoShutdown, MusicStopsAndExitsBeforeTheLibraryIsFreed) {
  ScratchDir dir("cb_demo_order");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0));
  if (!dir.CopyFromHome("main.it")) GTEST_SKIP() << "no main.it in the data folder";
  musicCalls.clear();
  DemoReport report;
  EXPECT_EQ(RunWithDrivers(RegisterNoting, &report), 0);
  const std::vector<std::string> expected = {"init:started", "start:started", "stop:started",
                                             "exit:started"};
  EXPECT_EQ(musicCalls, expected);
  EXPECT_EQ(report.paints, 587u);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

// Closing the window ends the run as Exit does: the end sequence and the whole shutdown, the music
// stopped and closed while the library still runs, and the process carries on.
TEST(DemoShutdown, ClosingTheWindowEndsTheRunThroughTheShutdown) {
  ScratchDir dir("cb_demo_close");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0));
  const bool withMusic = dir.CopyFromHome("main.it");
  musicCalls.clear();
  DemoReport report;
  EXPECT_EQ(RunWithDrivers(RegisterNoting, &report, AdvanceAndCloseAt2s), 0);
  EXPECT_TRUE(report.endRequested);
  EXPECT_FALSE(report.exitChosen);
  EXPECT_LT(report.paints, 20u);
  EXPECT_GE(report.paints, 5u);
  ASSERT_FALSE(musicCalls.empty());
  EXPECT_EQ(musicCalls.back(), "exit:started");
  if (withMusic) {
    EXPECT_NE(std::find(musicCalls.begin(), musicCalls.end(), "stop:started"), musicCalls.end());
  }
  EXPECT_FALSE(VKR_WinIsStarted());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

TEST(DemoShutdown, DriversAreTriedInTurnAndNoneFailsTheRun) {
  ScratchDir dir("cb_demo_drivers");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0));
  musicCalls.clear();
  DemoReport report;
  // The first driver fails to open: the second is taken.
  EXPECT_EQ(RunWithDrivers(RegisterFailingThenNoting, &report), 0);
  ASSERT_FALSE(musicCalls.empty());
  EXPECT_EQ(musicCalls.front(), "init:started");
  EXPECT_EQ(report.paints, 587u);

  // No driver opens: the message on standard output, a failing status, nothing painted, and the
  // display mode never touched.
  CapturedOutput out(1);
  EXPECT_NE(RunWithDrivers(RegisterFailing, &report), 0);
  const std::string printed = out.Stop();
  EXPECT_NE(printed.find("Could not init sound: "), std::string::npos) << printed;
  EXPECT_EQ(report.frames, 0u);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

}  // namespace
