// The recorder: key schedules, sound in step with the frames, pictures handed to the encoder
// without allocating, and the finished video and kept frames as ffprobe and the disk see them.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "key_schedule.h"
#include "record_demo.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "vkr_lowLevel.h"

// Every allocation of the test program is counted, so a test can require a stretch of work to
// make none.
std::atomic<uint64_t> g_allocationCount{0};

// Out of line, so the compiler does not pair the free below with a new expression it can see.
[[gnu::noinline]] void ReleaseCounted(void* memory) { std::free(memory); }

void* operator new(size_t bytes) {
  ++g_allocationCount;
  if (void* memory = std::malloc(bytes ? bytes : 1)) return memory;
  throw std::bad_alloc();
}
void* operator new[](size_t bytes) { return operator new(bytes); }
void* operator new(size_t bytes, const std::nothrow_t&) noexcept {
  ++g_allocationCount;
  return std::malloc(bytes ? bytes : 1);
}
void* operator new[](size_t bytes, const std::nothrow_t& tag) noexcept {
  return operator new(bytes, tag);
}
void operator delete(void* memory) noexcept { ReleaseCounted(memory); }
void operator delete(void* memory, size_t) noexcept { ReleaseCounted(memory); }
void operator delete[](void* memory) noexcept { ReleaseCounted(memory); }
void operator delete[](void* memory, size_t) noexcept { ReleaseCounted(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { ReleaseCounted(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { ReleaseCounted(memory); }

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
  const DemoRecording result = RecordDemo(options);
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

bool FfmpegAndFfprobeInstalled() {
  return std::system("command -v ffmpeg >/dev/null 2>&1 && command -v ffprobe >/dev/null 2>&1") == 0;
}

std::string StreamsOf(const std::string& video) {
  return OutputOf(
      "ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,duration -of "
      "csv=p=0 " + video);
}

// A host that only counts: no bitmaps, buttons or clock of a demo.
uint32_t g_hostClockMs = 0;
const RecordingHost kCountingHost{[](const char*) -> const char* { return nullptr; },
                                  [](uint32_t, bool) {},
                                  [](uint32_t ms) { g_hostClockMs += ms; }};

// 64 x 48, lines padded to 200 bytes: the left half red, the right half blue.
std::vector<uint8_t> RedBluePicture() {
  std::vector<uint8_t> picture(200 * 48, 0x55);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      uint8_t* pixel = &picture[y * 200 + x * 3];
      pixel[0] = x < 32 ? 0 : 255;  // blue
      pixel[1] = 0;
      pixel[2] = x < 32 ? 255 : 0;  // red
    }
  return picture;
}

TEST(Recording, FramesGoToTheEncoderAsTheyAreWithoutAllocating) {
  if (!FfmpegAndFfprobeInstalled()) GTEST_SKIP() << "ffmpeg is not installed";
  ScratchDir dir("cb_recording_sink");
  RecorderOptions options;
  options.framesPerSecond = 25;
  options.videoPath = (dir.path() / "sink.mp4").string();
  const std::vector<uint8_t> picture = RedBluePicture();
  g_hostClockMs = 0;
  ASSERT_TRUE(RecordingBegin(options, kCountingHost));
  RecordingFrame(picture.data(), 64, 48, 200);  // starts the encoder
  const uint64_t allocationsBefore = g_allocationCount;
  for (int frame = 1; frame < 50; ++frame) RecordingFrame(picture.data(), 64, 48, 200);
  const uint64_t allocationsDuring = g_allocationCount - allocationsBefore;
  RecorderResult result;
  RecordingEnd(&result);
  EXPECT_EQ(allocationsDuring, 0u);
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(result.videoWritten);
  EXPECT_EQ(result.framesComposed, 50u);
  EXPECT_EQ(result.sampleFrames, 44100u);
  EXPECT_EQ(g_hostClockMs, 2000u);
  EXPECT_EQ(StreamsOf(options.videoPath), "h264,video,64,48,2.000000\naac,audio,2.000000\n");

  // The first frame decoded again: red left, blue right, so lines, pitch and byte order held.
  std::vector<uint8_t> bytes(64 * 48 * 3 + 1);
  if (std::FILE* pipe = popen(("ffmpeg -v error -i " + options.videoPath +
                               " -frames:v 1 -f rawvideo -pix_fmt rgb24 -").c_str(), "r")) {
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), pipe));
    pclose(pipe);
  }
  ASSERT_EQ(bytes.size(), 64u * 48 * 3);
  const uint8_t* left = &bytes[(24 * 64 + 8) * 3];
  const uint8_t* right = &bytes[(24 * 64 + 56) * 3];
  EXPECT_GT(left[0], 200);
  EXPECT_LT(left[2], 60);
  EXPECT_LT(right[0], 60);
  EXPECT_GT(right[2], 200);
}

TEST(Recording, AVideoThatCannotBeWholeIsAFailure) {
  if (!FfmpegAndFfprobeInstalled()) GTEST_SKIP() << "ffmpeg is not installed";
  ScratchDir dir("cb_recording_failures");
  const std::vector<uint8_t> picture = RedBluePicture();
  // ffmpeg cannot create the file: it stops, and the pipes it leaves say so.
  RecorderOptions unwritable;
  unwritable.videoPath = (dir.path() / "no such folder" / "video.mp4").string();
  ASSERT_TRUE(RecordingBegin(unwritable, kCountingHost));
  for (int frame = 0; frame < 100; ++frame) RecordingFrame(picture.data(), 64, 48, 200);
  RecorderResult result;
  RecordingEnd(&result);
  EXPECT_FALSE(result.videoWritten);
  EXPECT_EQ(result.status, 1);

  // A picture of another size than the first cannot join the video.
  RecorderOptions resized;
  resized.videoPath = (dir.path() / "resized.mp4").string();
  ASSERT_TRUE(RecordingBegin(resized, kCountingHost));
  RecordingFrame(picture.data(), 64, 48, 200);
  RecordingFrame(picture.data(), 32, 48, 200);
  RecordingFrame(picture.data(), 64, 48, 200);
  result = RecorderResult{};
  RecordingEnd(&result);
  EXPECT_FALSE(result.videoWritten);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.framesComposed, 3u);
}

// Presses and releases the recording makes, with the recording clock they came at.
struct ButtonChange {
  uint32_t atMs;
  uint32_t button;
  bool down;
  bool operator==(const ButtonChange&) const = default;
};
std::vector<ButtonChange> g_buttonChanges;

TEST(Recording, AButtonIsHeldWhileAnyOfItsPressesLastsByTheProgramsClock) {
  g_hostClockMs = 0;
  g_buttonChanges.clear();
  RecordingHost host = kCountingHost;
  host.setButton = [](uint32_t button, bool down) {
    g_buttonChanges.push_back({g_hostClockMs, button, down});
  };
  host.nowMs = [] { return uint64_t{g_hostClockMs}; };
  RecorderOptions options;
  // A second press of A inside the first does not end it; B and A overlap.
  options.keys = {{100, VKR_BUTTON_A, 200}, {140, VKR_BUTTON_A, 20}, {200, VKR_BUTTON_B, 200}};
  ASSERT_TRUE(RecordingBegin(options, host));
  const std::vector<uint8_t> picture(3 * 4 * 4);
  for (int frame = 0; frame < 30; ++frame) RecordingFrame(picture.data(), 4, 4, 12);
  RecorderResult result;
  RecordingEnd(&result);
  const std::vector<ButtonChange> expected = {{100, VKR_BUTTON_A, true},
                                              {200, VKR_BUTTON_B, true},
                                              {300, VKR_BUTTON_A, false},
                                              {400, VKR_BUTTON_B, false}};
  EXPECT_EQ(g_buttonChanges, expected);
}

TEST(Recorder, VideoHasOnePictureAndOneSoundStreamOfTheDemosLength) {
  if (!FfmpegAndFfprobeInstalled()) GTEST_SKIP() << "ffmpeg is not installed";
  ScratchDir dir("cb_recorder_mp4");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x40));
  dir.CopyFromHome("main.it");
  const std::string video = (dir.path() / "demo.mp4").string();
  ASSERT_EQ(std::system((std::string(CB_RECORDER_PROGRAM) + " --no-progress --fps 10 --data " +
                         dir.path().string() + " --out " + video + " >/dev/null 2>&1")
                            .c_str()),
            0);
  // 6 loading-screen frames and 1174 passes of the frame loop (demo times 0, 100, ..., 117300).
  EXPECT_EQ(StreamsOf(video), "h264,video,320,240,118.000000\naac,audio,118.000000\n");
  // Nothing but the video is left behind.
  EXPECT_FALSE(std::filesystem::exists(video + ".frames"));
  EXPECT_FALSE(std::filesystem::exists(video + ".part"));
}

TEST(Recorder, KeptFramesAreTheBitmapsAndTheWavOfEveryFrame) {
  if (!FfmpegAndFfprobeInstalled()) GTEST_SKIP() << "ffmpeg is not installed";
  ScratchDir dir("cb_recorder_keep");
  dir.Write("resource.dat", std::vector<uint8_t>(kResourcePackBytes, 0x40));
  dir.CopyFromHome("main.it");
  const std::string video = (dir.path() / "demo.mp4").string();
  ASSERT_EQ(std::system((std::string(CB_RECORDER_PROGRAM) + " --no-progress --fps 2 --keep-frames" +
                         " --data " + dir.path().string() + " --out " + video + " >/dev/null 2>&1")
                            .c_str()),
            0);
  // 6 loading-screen frames and demo times 0, 500, ..., 117500: 242 frames, 121 s.
  EXPECT_EQ(StreamsOf(video), "h264,video,320,240,121.000000\naac,audio,121.000000\n");
  const std::filesystem::path frames = video + ".frames";
  for (int frame : {0, 241}) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%.6d.bmp", frame);
    EXPECT_EQ(std::filesystem::file_size(frames / name), 230454u) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(frames / "frame_000242.bmp"));
  EXPECT_EQ(std::filesystem::file_size(frames / "music.wav"), 44 + 121u * 22050 * 4);
}

}  // namespace
