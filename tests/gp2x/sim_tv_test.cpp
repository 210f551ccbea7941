// copperbramble-sim on a television: the captions of whole runs in a Scenarist caption file that
// ffmpeg decodes, the encoder's transfers in the trace and its lines in the bus dump, a silent
// encoder that cannot hold the demo past its end, a recording's subtitle track, and the LCD, where
// the encoder is never reached.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "resource_pack.h"
#include "scratch_dir.h"
#include "sim_program.h"

namespace {

const char* const kGreetings[] = {
    "Real Close-Caption Greetings:", "------------------------------",
    "Ostravel Harbor Signal Society", "Les Plumes en Vorquade", "The Amber Wharf",
    "Western Kettles", "Glimmerfox", "Quillmarsh", "Stonebeak", "Tessarin", "Mirefold", "Draskoll",
    "Brimlet", "Corvane", "Hollint", "Mr.Fenn", "Gavrel", "Kyvran", "kx4417", "Vorne", "Skarv",
    "Tumbo", "Kelp", "ozr", "velkamora@thalor> signout.", "see u at Thalor 2011!"};

// Quits from the pause menu at 6.2 s of console time, before any greeting is due.
const char* const kQuitEarly = "--keys 5000:Start,5600:Right,6200:B";

// A data folder with a stand-in resource pack and no music, so a whole run takes well under a second.
std::string DataFolder(const ScratchDir& dir) {
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x40));
  return " --data " + dir.path().string();
}

// The console time copperbramble-sim reports at the end, in seconds.
double ConsoleSeconds(const ProgramRun& run) {
  const size_t at = run.err.find("console time ");
  return at == std::string::npos ? -1.0 : std::atof(run.err.c_str() + at + 13);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SimTelevision, WholeRunsSendEveryGreetingRowInOrderAsCaptions) {
  for (const char* tv : {"ntsc", "pal"}) {
    SCOPED_TRACE(tv);
    ScratchDir dir("cb_sim_captions");
    const ProgramRun run =
        RunProgram(std::string("--headless --tv ") + tv + " --captions g.scc" + DataFolder(dir), dir);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NEAR(ConsoleSeconds(run), 2.5 + 117.3, 0.1);
    const std::vector<std::string> scc = Lines(ReadWholeFile("g.scc"));
    ASSERT_GE(scc.size(), 4u);
    EXPECT_EQ(scc[0], "Scenarist_SCC V1.0");
    // The first pairs go out just past 72.3 s of the demo, which started after the 2.5 s hold.
    EXPECT_EQ(scc[3].substr(0, 12), "00:01:14;25\t") << scc[3];
    EXPECT_NE(scc.back().find("942c"), std::string::npos);  // the final erase

    if (!HaveCommand("ffmpeg")) continue;
    ASSERT_EQ(std::system("ffmpeg -nostdin -hide_banner -loglevel error -i g.scc -f srt g.srt"), 0);
    const std::string srt = ReadWholeFile("g.srt");
    size_t at = 0;
    for (const char* greeting : kGreetings) {
      const size_t found = srt.find(greeting, at);
      ASSERT_NE(found, std::string::npos) << greeting;
      at = found;
    }
  }
}

// A recording on a television carries the greetings as a subtitle track; no caption file is left
// beside it unless asked for.
TEST(SimTelevision, RecordingCarriesTheCaptionsAsASubtitleTrack) {
  if (!HaveCommand("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  ScratchDir dir("cb_sim_subtitles");
  const ProgramRun run =
      RunProgram("--headless --tv ntsc --out tv.mp4" + DataFolder(dir), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "tv.mp4.scc"));
  ASSERT_EQ(std::system("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 tv.mp4 "
                        "> streams.txt"),
            0);
  EXPECT_EQ(Lines(ReadWholeFile("streams.txt")),
            (std::vector<std::string>{"h264", "aac", "mov_text"}));
  ASSERT_EQ(std::system("ffmpeg -nostdin -v error -i tv.mp4 -map 0:s -f srt tv.srt"), 0);
  const std::string srt = ReadWholeFile("tv.srt");
  size_t at = 0;
  for (const char* greeting : kGreetings) {
    const size_t found = srt.find(greeting, at);
    ASSERT_NE(found, std::string::npos) << greeting;
    at = found;
  }
}

TEST(SimTelevision, TraceCarriesTheEncodersTransfersAndTheBusDumpItsLines) {
  ScratchDir dir("cb_sim_encoder_trace");
  const ProgramRun run = RunProgram(std::string("--headless --tv ntsc --trace t.txt --bus-vcd bus.vcd ") +
                                        kQuitEarly + DataFolder(dir), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> encoder;
  uint64_t lastTime = 0;
  for (const std::string& line : Lines(ReadWholeFile("t.txt"))) {
    const uint64_t time = std::stoull(line);
    ASSERT_GE(time, lastTime) << line;
    lastTime = time;
    if (line.find(" ENC ") != std::string::npos) encoder.push_back(line.substr(line.find("ENC")));
  }
  // The output switch of the demo's mode, the caption set-up (read-modify-writes: the bits the
  // encoder powered on with stay), then only the final erase (the viewer quit before 72.3 s), and
  // the switch back to the firmware's mode.
  const std::vector<std::string> expected = {
      "ENC W 0x8C 0x43", "ENC R 0x5E 0x30", "ENC W 0x5E 0x34", "ENC R 0xC4 0x81", "ENC W 0xC4 0x99",
      "ENC W 0xD0 0x4A", "ENC W 0xD2 0x8C", "ENC W 0xD4 0x59", "ENC R 0x02 0x00",
      "ENC W 0xC0 0x94", "ENC W 0xC2 0x2C", "ENC W 0x8C 0x43"};
  EXPECT_EQ(encoder, expected);
  const std::string vcd = ReadWholeFile("bus.vcd");
  EXPECT_NE(vcd.find("$var wire 1 ! scl $end"), std::string::npos);
  EXPECT_NE(vcd.find("$var wire 1 \" sda $end"), std::string::npos);
  EXPECT_GT(Lines(vcd).size(), 1000u);  // ten transfers of 20 to 40 clocks
}

TEST(SimTelevision, SilentEncoderCannotHoldTheDemoPastItsEnd) {
  ScratchDir dir("cb_sim_encoder_fault");
  const std::string data = DataFolder(dir);
  const ProgramRun run = RunProgram("--headless --tv ntsc --fault encoder --captions f.scc" + data, dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NEAR(ConsoleSeconds(run), 2.5 + 117.3, 0.2);
  EXPECT_EQ(Lines(ReadWholeFile("f.scc")), (std::vector<std::string>{"Scenarist_SCC V1.0", ""}));

  // The same fault from the environment: every transfer goes unacknowledged.
  const ProgramRun quit = RunProgram(std::string("--headless --tv pal --trace t.txt ") + kQuitEarly + data,
                                     dir, "CB_SIM_FAULTS=encoder");
  EXPECT_EQ(quit.status, 0) << quit.err;
  const std::string trace = ReadWholeFile("t.txt");
  EXPECT_NE(trace.find("ENC NACK"), std::string::npos);
  EXPECT_EQ(trace.find("ENC W"), std::string::npos);
  EXPECT_EQ(trace.find("ENC R"), std::string::npos);
}

// The LCD build of the run never drives the encoder's lines: no write of port B's output or pin
// function (a 32-bit write of the words holding them included), no transfer, no line change.
TEST(SimTelevision, OnTheLcdNoEncoderRegisterIsTouched) {
  ScratchDir dir("cb_sim_lcd_encoder");
  const ProgramRun run = RunProgram("--headless --trace t.txt --bus-vcd bus.vcd" + DataFolder(dir), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  std::ifstream trace("t.txt");
  uint64_t lines = 0;
  for (std::string line; std::getline(trace, line); ++lines) {
    ASSERT_EQ(line.find("ENC"), std::string::npos) << line;
    const bool write = line.find(" W16 REG ") != std::string::npos || line.find(" W32 REG ") != std::string::npos;
    if (!write) continue;
    const std::string offset = line.substr(line.find(" REG ") + 5, 6);
    EXPECT_TRUE(offset != "0x1062" && offset != "0x1060" && offset != "0x1022" && offset != "0x1020")
        << line;
  }
  EXPECT_GT(lines, 1000000u);  // the whole run
  for (const std::string& line : Lines(ReadWholeFile("bus.vcd")))
    EXPECT_TRUE(line.empty() || line[0] != '#' || line == "#0") << line;
}

}  // namespace
