// Two more independent players read the module, when they are installed: libopenmpt through
// openmpt123 and libxmp through xmp. Each must recognise it and report it lasting past the
// demo's end, and agree with the length the order list gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "it_reader.h"

namespace {

constexpr double kDemoEnd = 117.3;

std::string RunAndCapture(const std::string& command) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  pclose(pipe);
  return output;
}

// The text after "Label", its padding of dots or blanks and the colon, up to the line's end;
// empty when no line starts with the label.
std::string Field(const std::string& info, const std::string& label) {
  for (std::size_t at = info.find(label); at != std::string::npos; at = info.find(label, at + 1)) {
    if (at != 0 && info[at - 1] != '\n') continue;
    std::size_t value = at + label.size();
    while (value < info.size() && (info[value] == '.' || info[value] == ' ')) ++value;
    if (value >= info.size() || info[value] != ':') continue;
    value = info.find_first_not_of(' ', value + 1);
    if (value == std::string::npos) return {};
    return info.substr(value, info.find('\n', value) - value);
  }
  return {};
}

double CountedSeconds() {
  std::ifstream in("main.it", std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ItModule module;
  return ReadItModule(file, module) ? ItSongSeconds(module) : 0.0;
}

}  // namespace

TEST(MusicPlayers, OpenMptReadsItAndAgreesOnItsLength) {
  const std::string program = CB_OPENMPT123;
  if (program.empty()) GTEST_SKIP() << "openmpt123 is not installed";
  const std::string info = RunAndCapture(program + " --info main.it");
  ASSERT_EQ(Field(info, "Type").rfind("it ", 0), 0u) << info;
  int minutes = 0;
  double seconds = 0.0;
  ASSERT_EQ(std::sscanf(Field(info, "Duration").c_str(), "%d:%lf", &minutes, &seconds), 2) << info;
  seconds += 60 * minutes;
  EXPECT_GE(seconds, kDemoEnd);
  EXPECT_NEAR(seconds, CountedSeconds(), 0.5);
  EXPECT_LE(std::atoi(Field(info, "Channels").c_str()), 64);
}

TEST(MusicPlayers, XmpReadsItAndAgreesOnItsLength) {
  const std::string program = CB_XMP;
  if (program.empty()) GTEST_SKIP() << "xmp is not installed";
  const std::string info = RunAndCapture(program + " --load-only --verbose main.it");
  ASSERT_EQ(Field(info, "Module type").rfind("Impulse Tracker", 0), 0u) << info;
  int minutes = 0, whole_seconds = 0;
  ASSERT_EQ(std::sscanf(Field(info, "Duration").c_str(), "%dmin%ds", &minutes, &whole_seconds), 2) << info;
  const int seconds = 60 * minutes + whole_seconds;
  EXPECT_GE(seconds + 1, kDemoEnd);
  EXPECT_NEAR(seconds, CountedSeconds(), 1.0);
  EXPECT_LE(std::atoi(Field(info, "Channels").c_str()), 64);
}
