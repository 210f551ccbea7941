// The recorder: key schedules, sound in step with the frames, and the finished video as ffprobe
// sees it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "key_schedule.h"
#include "recorder.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "vkr_lowLevel.h"

namespace {

TEST(KeySchedule, ParsesTimesButtonsAndHoldsInTimeOrder) {
  std::string error;
  const auto keys = ParseKeySchedule("5600:Right,5000:Start/300,7000:Mute", &error);
  ASSERT_TRUE(keys) << error;
  ASSERT_EQ(keys->size(), 3u);
  EXPECT_EQ((*keys)[0].atMs, 5000u);
  EXPECT_EQ((*keys)[0].button, VKR_BUTTON_START);
  EXPECT_EQ((*keys)[0].holdMs, 300u);
  EXPECT_EQ((*keys)[1].button, VKR_BUTTON_RIGHT);
  EXPECT_EQ((*keys)[2].button, VKR_BUTTON_VOLUME_DOWN | VKR_BUTTON_VOLUME_UP);
  EXPECT_TRUE(ParseKeySchedule("", &error)->empty());
}

TEST(KeySchedule, RejectsMalformedEntriesWithTheirText) {
  for (const char* bad : {"Start", "5000:", "x:Start", "5000:Jump", "5000:Start/", "5000:Start/0",
                          "5000:Start,,6000:B", "-5:Start", "5000:Start/2x"}) {
    std::string error;
    EXPECT_FALSE(ParseKeySchedule(bad, &error)) << bad;
    EXPECT_NE(error.find("bad key press"), std::string::npos) << bad;
  }
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

TEST(Recorder, SoundFileHoldsExactlyTheFramesPeriods) {
  ScratchDir dir("cb_recorder_wav");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0));
  const bool withMusic = dir.CopyFromHome("main.it");
  RecorderOptions options;
  options.framesPerSecond = 25;
  options.wavPath = (dir.path() / "music.wav").string();
  const RecorderResult result = RecordDemo(options);
  ASSERT_EQ(result.status, 0);
  EXPECT_EQ(result.sampleFrames, uint64_t{result.framesComposed} * 22050 / 25);

  std::ifstream in(options.wavPath, std::ios::binary);
  const std::vector<uint8_t> wav{std::istreambuf_iterator<char>(in), {}};
  ASSERT_EQ(wav.size(), 44 + result.sampleFrames * 4);
  EXPECT_EQ(U32At(wav, 4), wav.size() - 8);
  EXPECT_EQ(U32At(wav, 24), 22050u);
  EXPECT_EQ(U32At(wav, 40), result.sampleFrames * 4);
  if (!withMusic) GTEST_SKIP() << "no main.it in the data folder";
  // Music from the first paint on: some second of the demo is far from silent.
  double peak = 0;
  for (size_t at = 44; at + 1 < wav.size(); at += 2)
    peak = std::max(peak, std::fabs(static_cast<int16_t>(wav[at] | wav[at + 1] << 8) / 32768.0));
  EXPECT_GT(peak, 0.1);
}

std::string OutputOf(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
  }
  return output;
}

TEST(Recorder, VideoHasOnePictureAndOneSoundStreamOfTheDemosLength) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1 && command -v ffprobe >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "ffmpeg is not installed";
  ScratchDir dir("cb_recorder_mp4");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x40));
  dir.CopyFromHome("main.it");
  const std::string video = (dir.path() / "demo.mp4").string();
  ASSERT_EQ(std::system((std::string(CB_RECORDER_PROGRAM) + " --no-progress --fps 10 --data " +
                         dir.path().string() + " --out " + video + " >/dev/null 2>&1")
                            .c_str()),
            0);
  const std::string streams =
      OutputOf("ffprobe -v error -show_entries stream=codec_type,codec_name,duration -of csv=p=0 " + video);
  // 6 loading-screen frames and 1174 passes of the frame loop (demo times 0, 100, ..., 117300).
  EXPECT_EQ(streams, "h264,video,118.000000\naac,audio,118.000000\n");
}

}  // namespace
