// The two back ends agree: the whole demo on the virtual clock, recorded by copperbramble-record on
// the desktop back end and by copperbramble-sim as the handheld program on the simulated console,
// paints the same picture at every demo time, on the LCD and on both televisions; the stills the
// two write at the same demo times are the same files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scratch_dir.h"
#include "sim_program.h"

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

#if defined(CB_SANITIZED_BUILD)
// Under the sanitizers the programs run tens of times slower: the first seconds of the demo, left
// through the pause menu at 6 s of recording time, stand for the whole run. A television's longer
// loading screen leaves the console fewer painted frames before that.
constexpr const char* kRunOptions = " --keys 6000:Start,6400:Right,6800:B --demo-stills 0,500,1000";
constexpr size_t kWholeRun = 0;
#else
constexpr const char* kRunOptions = " --demo-stills 0,30000,100000";
constexpr size_t kWholeRun = 5865;  // 0, 20, ..., 117280 ms: every painted frame, once
#endif

// Runs a program (its own data beside it) recording digests and three stills at demo times into
// the folder `name` of the scratch folder.
ProgramRun Record(const std::string& program, const std::string& tvOption, const std::string& name,
                  const ScratchDir& dir) {
  const std::string folder = (dir.path() / name).string();
  const std::string command = program + " --no-progress" + tvOption + kRunOptions +
                              " --frame-digests " + folder +
                              ".txt --frames " + folder + " >" + folder + ".out 2>" + folder + ".err";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(folder + ".out"),
          ReadWholeFile(folder + ".err")};
}

void ExpectAgreement(const std::string& tv) {
  ScratchDir dir("cb_agreement_" + tv);
  // The recorder plays on the LCD unless told to play on a television.
  const ProgramRun desktop = Record(CB_RECORDER_PROGRAM, tv == "lcd" ? "" : " --tv " + tv, "desktop", dir);
  const ProgramRun console = Record(CB_SIM_PROGRAM, " --tv " + tv, "console", dir);
  ASSERT_EQ(desktop.status, 0) << desktop.err;
  ASSERT_EQ(console.status, 0) << console.err;
  const std::vector<std::string> desktopFrames =
      LinesOf(ReadWholeFile((dir.path() / "desktop.txt").string()));
  const std::vector<std::string> consoleFrames =
      LinesOf(ReadWholeFile((dir.path() / "console.txt").string()));
  if (kWholeRun) {
    ASSERT_EQ(desktopFrames.size(), kWholeRun);
    ASSERT_EQ(consoleFrames.size(), kWholeRun);
  }
  const size_t common = std::min(desktopFrames.size(), consoleFrames.size());
  ASSERT_GT(common, 60u);
  size_t differing = 0;
  std::string first;
  for (size_t n = 0; n < common; ++n) {
    if (desktopFrames[n] == consoleFrames[n]) continue;
    if (!differing++)
      first = desktopFrames[n] + " on the desktop, " + consoleFrames[n] + " on the console";
  }
  EXPECT_EQ(differing, 0u) << "first: " << first;
  for (const char* still : {"frame_000000.bmp", "frame_000001.bmp", "frame_000002.bmp"}) {
    const std::string a = ReadWholeFile((dir.path() / "desktop" / still).string());
    const std::string b = ReadWholeFile((dir.path() / "console" / still).string());
    EXPECT_GT(a.size(), 230000u) << still;
    EXPECT_TRUE(a == b) << still;
  }
}

TEST(BackEndAgreement, EveryPaintedFrameIsTheSameOnTheLcd) { ExpectAgreement("lcd"); }
TEST(BackEndAgreement, EveryPaintedFrameIsTheSameOnAnNtscTelevision) { ExpectAgreement("ntsc"); }
TEST(BackEndAgreement, EveryPaintedFrameIsTheSameOnAPalTelevision) { ExpectAgreement("pal"); }

}  // namespace
