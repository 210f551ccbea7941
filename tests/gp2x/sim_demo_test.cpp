// The handheld demo on the simulated console: the whole run in the test's process on the virtual
// clock (the clock values it paints at, the registers handed back, the launcher), the program
// copperbramble-sim itself, and the access trace.
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "captured_output.h"
#include "demo_main.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "sim_cx25874.h"
#include "sim_fixture.h"
#include "sim_program.h"
#include "sim_sound.h"

namespace {

const char* const kExpectedStdout =
    "GP2X Low-Level Library v1.00\n"
    "Copperbramble / Velkamora\n"
    "\n"
    "Have you try this tiny demo with TV-Out + CloseCaption1?\n";

using SimDemoTest = SimTest;

TEST_F(SimDemoTest, PlaysTheWholeDemoOnTheVirtualClock) {
  ScratchDir dir("cb_sim_demo");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x80));
  dir.CopyFromHome("main.it");
  std::vector<uint16_t> before(0x8000);
  for (uint32_t offset = 0; offset < 0x10000; offset += 2) before[offset / 2] = SimPeekReg16(offset);

  DemoReport report;
  DemoHost host;
  host.registerMusicDrivers = SimRegisterSoundDrivers;
  host.report = &report;
  CapturedOutput out(1);
  EXPECT_EQ(VKR_Demo_Run(host), 0);
  EXPECT_EQ(out.Stop(), kExpectedStdout);
  // The same clock readings as the desktop recorder at 50 frames a second: 0, 20, ..., 117280.
  EXPECT_EQ(report.paints, 5865u);
  EXPECT_EQ(report.lastPaintMs, 117280u);
  EXPECT_EQ(report.frames, 5866u);
  // Polls jump only where their answer is known: the run's work stays within 1.5 times the 5.32
  // million accesses it took when a third timer read still jumped the clock.
  EXPECT_LT(SimAccessCount(), 5320520u * 3 / 2);
  // Everything saved is back. What the display's settings write without a snapshot stays as they
  // left it: the LCD drive lines, the frame unit's sizes and the layers' other registers.
  const auto handedBack = [](uint32_t offset) {
    if (offset == GP2X_GPIOFOUT || offset == GP2X_GPIOHOUT || offset == GP2X_GPIOLOUT ||
        offset == GP2X_FDC_DST_LINES || offset == GP2X_FDC_DST_PXW || offset == GP2X_MLC_YUV_CNTL)
      return false;
    if (offset < GP2X_MLC_OVLAY_CNTR || offset >= GP2X_MLC_OVLAY_CNTR + 0x180) return true;
    constexpr uint32_t kSavedLayerRegisters[] = {
        GP2X_MLC_OVLAY_CNTR, GP2X_MLC_YUV_EFFECT, GP2X_MLC_YUVA_TP_PXW, GP2X_MLC_STL_CNTL,
        GP2X_MLC_STL_MIXMUX, GP2X_MLC_STL_ALPHAL, GP2X_MLC_STL_ALPHAH,  GP2X_MLC_STL_HSC,
        GP2X_MLC_STL_VSC,    GP2X_MLC_STL_HW,     GP2X_MLC_STL_OADRL,   GP2X_MLC_STL_OADRH,
        GP2X_MLC_STL_EADRL,  GP2X_MLC_STL_EADRH};
    return std::find(std::begin(kSavedLayerRegisters), std::end(kSavedLayerRegisters), offset) !=
           std::end(kSavedLayerRegisters);
  };
  for (uint32_t offset = 0; offset < 0x10000; offset += 2) {
    if (!handedBack(offset)) continue;
    EXPECT_EQ(SimPeekReg16(offset), before[offset / 2]) << std::hex << offset;
  }
  EXPECT_EQ(SimPeekReg16(GP2X_MLC_YUV_CNTL), 0);
  EXPECT_EQ(SimMappedWindows(), 0u);
  EXPECT_EQ(SimOpenDescriptors(), 0u);
  EXPECT_TRUE(SimLauncher().started);
  EXPECT_EQ(SimLauncher().directory, "/usr/gp2x");
}

// The captions' waits for the encoder fit inside a frame: the same paints as on the LCD.
TEST_F(SimDemoTest, TelevisionOutputHoldsTheLoadingScreenAndKeepsFrameTimes) {
  for (SimTV tv : {SimTV::Ntsc, SimTV::Pal}) {
    SimConfig config;
    config.tv = tv;
    PowerOn(config);
    ScratchDir dir("cb_sim_demo_tv");
    dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x10));
    DemoReport report;
    DemoHost host;
    host.registerMusicDrivers = SimRegisterSoundDrivers;
    host.report = &report;
    CapturedOutput out(1);
    EXPECT_EQ(VKR_Demo_Run(host), 0);
    out.Stop();
    EXPECT_EQ(report.paints, 5865u) << (tv == SimTV::Pal ? "PAL" : "NTSC");
    EXPECT_EQ(report.lastPaintMs, 117280u);
    EXPECT_GE(SimNowNs(), (2500u + 117300u) * 1000000ull);
    EXPECT_GT(SIM_CX25874_CaptionCount(), 28u * 3);
    // Within 1.5 times the accesses before the bus kept the console's pace (5.50 million on NTSC,
    // 6.06 million on PAL).
    EXPECT_LT(SimAccessCount(), (tv == SimTV::Pal ? 6061173u : 5503807u) * 3 / 2);
  }
}

namespace {

// Opens the pause menu right after a greeting row was queued, keeps it open for 100 frames, then
// chooses Play; counts the caption pairs the encoder sent meanwhile.
struct PauseDuringGreetings {
  int phase = 0;  // 0 waiting for a row, 1 paused, 2 resumed
  uint32_t frames = 0;
  size_t pairsAtPause = 0, pairsAtResume = 0;
  bool rowStartedWhilePaused = false;
};

void PauseAfterARow(void* context) {
  auto& run = *static_cast<PauseDuringGreetings*>(context);
  const size_t count = SIM_CX25874_CaptionCount();
  const SimCaptionPair* pairs = SIM_CX25874_Captions();
  SimSetButtons(0);
  if (run.phase == 0 && count > 4 && pairs[count - 1].first == 0x91) {
    run.phase = 1;
    run.pairsAtPause = count;
    SimSetButtons(VKR_BUTTON_START);
  } else if (run.phase == 1) {
    for (size_t n = run.pairsAtPause; n < count; ++n)
      run.rowStartedWhilePaused |= pairs[n].first == 0x94 && pairs[n].second == 0xAD;
    if (++run.frames == 100) {
      run.phase = 2;
      run.pairsAtResume = count;
      SimSetButtons(VKR_BUTTON_START);
    }
  }
}

}  // namespace

// The demo's own frame loop drains the caption queue while the pause menu holds the demo clock:
// the row queued before the pause goes out, and no row starts until Play.
TEST_F(SimDemoTest, TheCaptionQueueDrainsWhileThePauseMenuIsOpen) {
  SimConfig config;
  config.tv = SimTV::Ntsc;
  PowerOn(config);
  ScratchDir dir("cb_sim_demo_pause");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x10));
  PauseDuringGreetings run;
  SimSetFrameHook(PauseAfterARow, &run);
  DemoReport report;
  DemoHost host;
  host.registerMusicDrivers = SimRegisterSoundDrivers;
  host.report = &report;
  CapturedOutput out(1);
  EXPECT_EQ(VKR_Demo_Run(host), 0);
  out.Stop();
  SimSetFrameHook(nullptr, nullptr);
  ASSERT_EQ(run.phase, 2);
  EXPECT_FALSE(report.exitChosen);
  EXPECT_GE(run.pairsAtResume - run.pairsAtPause, 5u);  // the row's text, a pair a frame
  EXPECT_FALSE(run.rowStartedWhilePaused);
  EXPECT_GT(SIM_CX25874_CaptionCount(), run.pairsAtResume + 28);  // the rows went on after Play
}

TEST(SimProgram, HeadlessRunPlaysToTheEndAndReportsTheLauncher) {
  ScratchDir dir("cb_sim_program");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x80));
  dir.CopyFromHome("main.it");
  const ProgramRun run = RunProgram("--headless --data " + dir.path().string(), dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kExpectedStdout);
  EXPECT_NE(run.err.find("launcher: /usr/gp2x/gp2xmenu argv={ \"/usr/gp2x/gp2xmenu\" } "
                         "directory=/usr/gp2x"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("console time 117."), std::string::npos) << run.err;
}

TEST(SimProgram, TimedKeysChooseExitFromThePauseMenu) {
  ScratchDir dir("cb_sim_keys");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x80));
  const ProgramRun run =
      RunProgram("--headless --keys 5000:Start,5600:Right,6200:B --data " + dir.path().string(), dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("console time 6."), std::string::npos) << run.err;
  EXPECT_EQ(RunProgram("--keys 5000:Nope", dir).status, 2);
}

TEST(SimProgram, ClosingTheWindowPowersTheConsoleOffCleanly) {
  ScratchDir dir("cb_sim_close");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x80));
  const std::string captions = (dir.path() / "closed.scc").string();
  // SDL takes the signal as the window's close button.
  const ProgramRun run = RunProgram("--tv ntsc --captions " + captions + " --data " +
                                        dir.path().string(),
                                    dir, "timeout --preserve-status -s TERM 2");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("window closed"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("terminate"), std::string::npos) << run.err;
  EXPECT_EQ(ReadWholeFile(captions).rfind("Scenarist_SCC", 0), 0u) << run.err;
}

TEST(SimProgram, WithoutDevMemItSaysSoAndFails) {
  ScratchDir dir("cb_sim_devmem");
  const ProgramRun run = RunProgram("--headless --fault dev-mem --data " + dir.path().string(), dir);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("cannot open /dev/mem"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("launcher"), std::string::npos) << run.err;
  EXPECT_EQ(RunProgram("--fault nonsense", dir).status, 2);
  EXPECT_EQ(RunProgram("--tv secam", dir).status, 2);
}

TEST(SimProgram, EnvironmentConfiguresTheConsole) {
  ScratchDir dir("cb_sim_env");
  const ProgramRun run = RunProgram("--headless --data " + dir.path().string(), dir, "CB_SIM_FAULTS=dev-mem");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("cannot open /dev/mem"), std::string::npos) << run.err;
  EXPECT_NE(RunProgram("--headless --data " + dir.path().string(), dir, "CB_SIM_FAULTS=bogus")
                .err.find("unknown fault bogus"),
            std::string::npos);
}

TEST_F(SimTest, TraceHasOneLineAnAccessInItsFixedForm) {
  ScratchDir dir("cb_sim_trace");
  SimConfig config;
  config.tracePath = (dir.path() / "trace.txt").string();
  PowerOn(config);
  ASSERT_EQ(Start(), VKR_OK);
  uint16_t level;
  VKR_ReadMemRegister(0x1184, &level);
  VKR_SetCPUClock(200);
  VKR_FreeLowLevelAPI(0);
  const uint64_t accesses = SimAccessCount();
  SimPowerOff();

  std::ifstream in(config.tracePath);
  const std::regex line(R"((\d+) (R16|W16|R32|W32) (REG|BLT) 0x[0-9A-F]{4} 0x([0-9A-F]{4}|[0-9A-F]{8}))");
  std::string text;
  uint64_t lines = 0, lastTime = 0;
  bool sawPll = false, sawButtons = false;
  while (std::getline(in, text)) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, line)) << text;
    const uint64_t time = std::stoull(match[1]);
    EXPECT_GE(time, lastTime);
    lastTime = time;
    const bool wide = match[2].str().back() == '2';
    EXPECT_EQ(match[4].length(), wide ? 8 : 4) << text;
    sawPll |= text.ends_with("W16 REG 0x0910 0x4904");
    sawButtons |= text.find("R16 REG 0x1184 0xFFFF") != std::string::npos;
    ++lines;
  }
  EXPECT_EQ(lines, accesses);
  EXPECT_TRUE(sawPll);
  EXPECT_TRUE(sawButtons);
  EXPECT_GE(lastTime, 20000u);  // the input probe's 20 ms
}

}  // namespace
