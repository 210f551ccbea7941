// burnt_captions_test.cpp: the whole demo recorded on the simulated NTSC and PAL televisions with
// the captions burnt in, as copperbramble-sim --burn-captions records it: at each greeting row's
// frame the television's decoder holds the rows the schedule has sent by then (four rolled up,
// each in its colour, the farewell flashing), the picture outside those rows is the picture
// without captions, and a frame before the greetings is untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demo_layout.h"
#include "demo_main.h"
#include "scratch_dir.h"
#include "sim.h"
#include "sim_captionOverlay.h"
#include "sim_recorder.h"
#include "vkr_host.h"

namespace {

// The demo as the recorded program, with the recorder's music output and paint reports.
int RunDemo(void*) {
  DemoHost host;
  host.registerMusicDrivers = VKR_Host_RegisterMusicDrivers;
  host.painted = VKR_Host_FramePainted;
  return VKR_Demo_Run(host);
}

struct Greeting {
  int colour;  // libzvbi's colour number of the row's code; -1: flash on instead of a colour
  const char* text;
};
constexpr int kWhite = 7, kYellow = 3, kCyan = 6, kBlue = 4, kMagenta = 5, kRed = 1, kGreen = 2;
constexpr Greeting kGreetings[28] = {
    {kWhite, "Real Close-Caption Greetings:"}, {kWhite, "------------------------------"},
    {kYellow, "Ostravel Harbor Signal Society"}, {kWhite, "Les Plumes en Vorquade"},
    {kYellow, "The Amber Wharf"}, {kWhite, "Western Kettles"}, {kCyan, "Glimmerfox"},
    {kWhite, "Quillmarsh"}, {kCyan, "Stonebeak"}, {kWhite, "Tessarin"}, {kCyan, "Mirefold"},
    {kWhite, "Draskoll"}, {kBlue, "Brimlet"}, {kWhite, "Corvane"}, {kBlue, "Hollint"},
    {kWhite, "Mr.Fenn"}, {kBlue, "Gavrel"}, {kWhite, "Kyvran"}, {kMagenta, "kx4417"},
    {kWhite, "Vorne"}, {kMagenta, "Skarv"}, {kWhite, "Tumbo"}, {kRed, "Kelp"}, {kWhite, "ozr"},
    {kGreen, ""}, {kGreen, ""}, {kGreen, "velkamora@thalor> signout."},
    {-1, "see u at Thalor 2011!"}};

// When row j falls due on the demo clock.
constexpr uint32_t DueMs(int row) { return row <= 23 ? 72300 + 900 * row : 77600 + 700 * row; }
// Row j is on screen, whole, when row j + 1 falls due; the last one long before the end.
constexpr uint32_t CheckMs(int row) { return row < 27 ? DueMs(row + 1) : 100000; }
constexpr uint32_t kBeforeGreetingsMs = 50000;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first);
}

// A bottom-up 24-bit bitmap as the recorder writes it, as blue, green, red rows top first.
std::vector<uint8_t> ReadBitmap(const char* file, int width, int height) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  const size_t row = size_t(width) * 3;
  std::vector<uint8_t> pixels(row * height);
  if (bytes.size() < 54 + pixels.size()) return {};
  for (int y = 0; y < height; ++y)
    std::memcpy(&pixels[y * row], &bytes[54 + (height - 1 - y) * row], row);
  return pixels;
}

struct Check {
  SimTV tv = SimTV::Ntsc;
  int height = 0;
  std::vector<uint32_t> timesMs;  // the stills, ascending
  size_t taken = 0;
  std::vector<std::string> failures;
};

void Fail(Check& check, const std::string& what) {
  if (check.failures.size() < 20) check.failures.push_back(what);
}

// The rows the decoder holds at the frame of greeting row j: rows j - 3 to j from the top of the
// four roll-up rows down, each in its colour; everything above blank.
void CheckRows(Check& check, int j, uint32_t atMs) {
  const std::string at = " at " + std::to_string(atMs) + " ms: ";
  for (int row = 0; row < 15; ++row) {
    const int greeting = j - (14 - row);
    const SimCaptionRow shown = SimCaptionOverlay_Row(row);
    const bool sent = row >= 11 && greeting >= 0;
    const std::string expected = sent ? kGreetings[greeting].text : "";
    if (Trimmed(shown.text) != expected)
      Fail(check, "row " + std::to_string(row) + at + "\"" + shown.text + "\", not \"" + expected + "\"");
    if (!sent || expected.empty()) continue;
    const int colour = kGreetings[greeting].colour;
    if (colour >= 0 && shown.foreground != colour)
      Fail(check, "row " + std::to_string(row) + at + "colour " + std::to_string(shown.foreground));
    if ((colour < 0) != shown.flash)
      Fail(check, "row " + std::to_string(row) + at + (shown.flash ? "flashes" : "does not flash"));
  }
}

// The picture recorded against the same frame without captions (composed again from the same
// registers): equal outside the four roll-up rows' lines; inside them changed where text is shown.
void CheckPicture(Check& check, const char* bitmapFile, int j, uint32_t atMs) {
  int width = 0, height = 0;
  const uint8_t* plain = SimComposeFrame(&width, &height);
  const std::vector<uint8_t> burnt = ReadBitmap(bitmapFile, width, height);
  if (height != check.height || burnt.empty()) {
    Fail(check, "no still of " + std::to_string(height) + " lines at " + std::to_string(atMs));
    return;
  }
  SimCaptionGrid grid{};
  SimCaptionOverlay_GridOf(width, height, &grid);
  const int rowsTop = grid.top + 11 * grid.rowHeight, rowsBottom = grid.top + 15 * grid.rowHeight;
  const size_t line = size_t(width) * 3;
  for (int y = 0; y < height; ++y) {
    const bool captionLines = j >= 0 && y >= rowsTop && y < rowsBottom;
    if (!captionLines && std::memcmp(&burnt[y * line], plain + y * line, line) != 0) {
      Fail(check, "line " + std::to_string(y) + " changed at " + std::to_string(atMs));
      return;
    }
  }
  // Each greeting's frame shows some row that neither is blank nor flashes.
  if (j >= 0 && std::memcmp(&burnt[rowsTop * line], plain + rowsTop * line,
                               (rowsBottom - rowsTop) * line) == 0)
    Fail(check, "no caption drawn at " + std::to_string(atMs));
}

void OnFrame(uint32_t, const char* bitmapFile, void* context) {
  if (!bitmapFile) return;
  Check& check = *static_cast<Check*>(context);
  const uint32_t atMs = check.timesMs[check.taken++];
  int j = -1;
  for (int row = 0; row < 28; ++row)
    if (CheckMs(row) == atMs) j = row;
  CheckRows(check, j, atMs);
  CheckPicture(check, bitmapFile, j, atMs);
}

TEST(BurntCaptions, EveryGreetingRowIsOnScreenAtItsFrameAndNothingElseChanges) {
  ScratchDir dir("cb_burnt_captions");
  ASSERT_TRUE(dir.CopyFromHome("resource.dat"));
  for (const auto& [tv, height] : {std::pair{SimTV::Ntsc, 480}, std::pair{SimTV::Pal, 576}}) {
    SCOPED_TRACE(height == 480 ? "NTSC" : "PAL");
    Check check;
    check.tv = tv;
    check.height = height;
    check.timesMs = {kBeforeGreetingsMs};
    for (int row = 0; row < 28; ++row) check.timesMs.push_back(CheckMs(row));
    SimConfig config;
    config.tv = tv;
    SimRecorder_SetConfig(config);
    SimRecorder_SetBurnCaptions(true);
    RecorderOptions options;
    options.program = RunDemo;
    options.expectedMs = kDemoPartEndMs;
    options.startupDisplayMode = tv == SimTV::Ntsc ? 5 : 19;
    options.framePrefix = (dir.path() / "still").string();
    options.demoStillsMs = check.timesMs;
    options.onFrame = OnFrame;
    options.onFrameContext = &check;
    const RecorderResult result = RecordOnSimulatedConsole(options);
    SimRecorder_SetBurnCaptions(false);
    SimPowerOff();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(check.taken, check.timesMs.size());
    for (const std::string& failure : check.failures) ADD_FAILURE() << failure;
  }
}

}  // namespace
