// Frame capture: the switch, the file names, and the 24-bit bitmap read back field by field.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "vkr_winState.h"

extern int g_nDiskWriteFrameID;

namespace {

namespace fs = std::filesystem;

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}
uint16_t U16(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string FrameName(const fs::path& prefix, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "_%.6d.bmp", number);
  return prefix.string() + name;
}

class Capture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("capture"), VKR_OK);
    directory = fs::temp_directory_path() / ("cb_capture_" + std::to_string(::getpid()));
    fs::create_directories(directory);
  }
  void TearDown() override {
    VKR_FreeLowLevelAPI(0);
    fs::remove_all(directory);
  }
  fs::path directory;
};

TEST_F(Capture, EachCompositionWritesTheNextNumberedFile) {
  const fs::path prefix = directory / "frame";
  const int first = g_nDiskWriteFrameID;
  EXPECT_EQ(VKR_SaveOnDisk(1, prefix.c_str()), VKR_NOT_SUPPORTED);
  for (int frame = 0; frame < 3; ++frame) VKR_LowLevelAPI_SoftRender();
  VKR_SaveOnDisk(0, prefix.c_str());
  VKR_LowLevelAPI_SoftRender();
  for (int frame = 0; frame < 3; ++frame)
    EXPECT_EQ(fs::file_size(FrameName(prefix, first + frame)), 230454u) << frame;
  EXPECT_FALSE(fs::exists(FrameName(prefix, first + 3)));
  EXPECT_EQ(g_nDiskWriteFrameID, first + 3);
}

TEST_F(Capture, BitmapHeadersAndBottomUpRows) {
  VKR_SetDisplayMode(20, 16);
  for (size_t i = 0; i < 720 * 576 * 3; ++i)
    g_ucFrameSurface[i] = static_cast<uint8_t>(i / 2160 * 3 + i % 2160);  // row-dependent
  const fs::path prefix = directory / "pal";
  const int number = g_nDiskWriteFrameID;
  ASSERT_EQ(VKR_LowLevelAPI_SaveBMP(prefix.c_str()), 1u);

  const std::vector<uint8_t> bytes = ReadFile(FrameName(prefix, number));
  const uint32_t imageBytes = 720 * 576 * 3;
  ASSERT_EQ(bytes.size(), imageBytes + 54);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(U32(bytes, 2), imageBytes + 54);
  EXPECT_EQ(U32(bytes, 6), 0u);
  EXPECT_EQ(U32(bytes, 10), 54u);
  EXPECT_EQ(U32(bytes, 14), 40u);
  EXPECT_EQ(U32(bytes, 18), 720u);
  EXPECT_EQ(U32(bytes, 22), 576u);
  EXPECT_EQ(U16(bytes, 26), 1);
  EXPECT_EQ(U16(bytes, 28), 24);
  EXPECT_EQ(U32(bytes, 30), 0u);
  EXPECT_EQ(U32(bytes, 34), imageBytes);
  EXPECT_EQ(U32(bytes, 38), 4000u);
  EXPECT_EQ(U32(bytes, 42), 3000u);
  EXPECT_EQ(U32(bytes, 46), 0u);
  EXPECT_EQ(U32(bytes, 50), 0u);
  for (size_t line : {size_t{0}, size_t{1}, size_t{300}, size_t{575}}) {
    const uint8_t* fileRow = bytes.data() + 54 + (575 - line) * 2160;
    EXPECT_TRUE(std::equal(fileRow, fileRow + 2160, g_ucFrameSurface.data() + line * 2160))
        << "line " << line;
  }
}

TEST_F(Capture, PrefixLimitsAndFailedOpens) {
  EXPECT_EQ(VKR_SaveOnDisk(1, nullptr), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SaveOnDisk(1, std::string(260, 'x').c_str()), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_SaveOnDisk(0, std::string(259, 'x').c_str()), VKR_NOT_SUPPORTED);
  EXPECT_EQ(VKR_LowLevelAPI_SaveBMP(nullptr), 0u);
  const int number = g_nDiskWriteFrameID;
  EXPECT_EQ(VKR_LowLevelAPI_SaveBMP((directory / "missing" / "frame").c_str()), 0u);
  EXPECT_EQ(g_nDiskWriteFrameID, number + 1);  // a failed open still uses its number
}

}  // namespace
