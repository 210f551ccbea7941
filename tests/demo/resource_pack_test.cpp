// resource_pack_test.cpp: the resource-pack loader against a pack whose every word is distinct,
// loaded for the LCD, NTSC and PAL into video memory whose every byte is known beforehand: where
// the picture and the sprites land, the LCD reductions, the key-colour page, and a short pack.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "captured_output.h"
#include "resource_pack.h"
#include "scratch_dir.h"
#include "vkr_lowLevel.h"

namespace {

constexpr uint32_t kPictureBytes = 691200;
constexpr uint32_t kBankOffset = 0x32A000, kBankBytes = 77952;
constexpr uint32_t kKeyBegin = 0x25F800, kKeyEnd = 0x308400;
constexpr int kSizes[7] = {64, 56, 48, 40, 32, 24, 16};

uint16_t PackWord(uint32_t index) { return static_cast<uint16_t>(index * 40503u ^ index >> 7); }
uint8_t MemoryByte(uint32_t offset) { return static_cast<uint8_t>(offset * 131u >> 3 ^ 0x5A); }

std::vector<uint8_t> MakePack(uint32_t bytes) {
  std::vector<uint8_t> pack(bytes);
  for (uint32_t i = 0; i < bytes; ++i) pack[i] = static_cast<uint8_t>(PackWord(i / 2) >> 8 * (i % 2));
  return pack;
}

uint16_t WordAt(const std::vector<uint8_t>& bytes, uint32_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}
void PutWord(std::vector<uint8_t>& bytes, uint32_t offset, uint16_t value) {
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// Video memory as the loader must leave it, worked out from the pack and the memory before. The
// LCD reductions read the memory as loaded, before any of it is reduced.
std::vector<uint8_t> Expected(const std::vector<uint8_t>& before, const std::vector<uint8_t>& pack,
                              int outputKind) {
  std::vector<uint8_t> memory = before;
  const uint32_t pictureAt = outputKind == 2 ? 72000 : 0;
  for (uint32_t i = 0; i < pack.size(); ++i)
    memory[i < kPictureBytes ? pictureAt + i : kBankOffset + i - kPictureBytes] = pack[i];
  if (outputKind == 0) {
    const std::vector<uint8_t> loaded = memory;
    // Background: output pixel (x, r) from source columns c, c + 1 of lines 2r, 2r + 1, where
    // c = 2x + (x AND 1) + 20; chroma of (c, 2r), luma the rounded-down mean.
    const auto source = [&](uint32_t x, uint32_t y) { return WordAt(loaded, 1440 * y + 2 * x); };
    for (uint32_t r = 0; r < 240; ++r)
      for (uint32_t x = 0; x < 320; ++x) {
        const uint32_t c = 2 * x + (x & 1) + 20;
        const uint32_t sum = (source(c, 2 * r) & 0xFF) + (source(c + 1, 2 * r) & 0xFF) +
                             (source(c, 2 * r + 1) & 0xFF) + (source(c + 1, 2 * r + 1) & 0xFF);
        PutWord(memory, 1440 * r + 2 * x, static_cast<uint16_t>((source(c, 2 * r) & 0xFF00) + sum / 4));
      }
    // Sprites: the top-left quarter of each cell holds every other pixel of every other row.
    uint32_t set = kBankOffset;
    for (int s : kSizes) {
      for (int frame = 0; frame < 3; ++frame) {
        const uint32_t cell = set + 2 * s * s * frame;
        for (int j = 0; j < s / 2; ++j)
          for (int k = 0; k < s / 2; ++k)
            PutWord(memory, cell + 2 * (j * s + k), WordAt(loaded, cell + 2 * (2 * j * s + 2 * k)));
      }
      set += 6 * s * s;
    }
  }
  for (uint32_t offset = kKeyBegin; offset < kKeyEnd; offset += 2) PutWord(memory, offset, 0xF81F);
  return memory;
}

// The first differing byte, or -1.
long FirstDifference(const std::vector<uint8_t>& expected, const uint8_t* memory) {
  for (uint32_t i = 0; i < expected.size(); ++i)
    if (expected[i] != memory[i]) return i;
  return -1;
}

class ResourcePackLoad : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("resource pack"), VKR_OK);
    VKR_GetVideoBasePtr(&base);
    before.resize(VKR_VIDEO_MEMORY_SIZE);
    for (uint32_t i = 0; i < VKR_VIDEO_MEMORY_SIZE; ++i) base[i] = before[i] = MemoryByte(i);
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  uint8_t* base = nullptr;
  std::vector<uint8_t> before;
};

TEST_P(ResourcePackLoad, WholePackLandsAndIsPreparedForTheOutput) {
  const int kind = GetParam();
  ScratchDir dir("cb_loader_whole");
  const std::vector<uint8_t> pack = MakePack(kResourcePackBytes);
  dir.Write("resource.dat", pack);
  ASSERT_TRUE(VKR_ResourcePack_Load(base, kind));
  EXPECT_EQ(FirstDifference(Expected(before, pack, kind), base), -1);
}

// The worked examples: two LCD pixels and a reduced sprite row, the bank copied unchanged on
// television, and the picture 72,000 bytes lower on PAL with nothing below it written.
TEST_P(ResourcePackLoad, WorkedExamples) {
  const int kind = GetParam();
  ScratchDir dir("cb_loader_examples");
  const std::vector<uint8_t> pack = MakePack(kResourcePackBytes);
  dir.Write("resource.dat", pack);
  ASSERT_TRUE(VKR_ResourcePack_Load(base, kind));
  const auto memory = [&](uint32_t offset) { return static_cast<uint16_t>(base[offset] | base[offset + 1] << 8); };
  const auto luma = [&](uint32_t x, uint32_t y) { return PackWord(720 * y + x) & 0xFF; };
  if (kind == 0) {
    EXPECT_EQ(memory(0), (PackWord(20) & 0xFF00) + (luma(20, 0) + luma(21, 0) + luma(20, 1) + luma(21, 1)) / 4);
    EXPECT_EQ(memory(2), (PackWord(23) & 0xFF00) + (luma(23, 0) + luma(24, 0) + luma(23, 1) + luma(24, 1)) / 4);
    for (uint32_t k = 0; k < 32; ++k)
      EXPECT_EQ(memory(kBankOffset + 2 * (64 + k)), PackWord(kPictureBytes / 2 + 2 * 64 + 2 * k)) << k;
    EXPECT_EQ(memory(kBankOffset + 2 * 32), PackWord(kPictureBytes / 2 + 32)) << "right half of row 0 kept";
  } else {
    EXPECT_EQ(std::memcmp(base + kBankOffset, pack.data() + kPictureBytes, kBankBytes), 0);
  }
  const uint32_t pictureAt = kind == 2 ? 72000 : 0;
  EXPECT_EQ(memory(pictureAt + kPictureBytes - 2), PackWord(kPictureBytes / 2 - 1));
  if (kind == 2) {
    EXPECT_EQ(std::memcmp(base, before.data(), 72000), 0) << "nothing below the PAL picture";
    EXPECT_EQ(memory(72000), PackWord(0));
  }
  EXPECT_EQ(base[kKeyBegin - 1], before[kKeyBegin - 1]);
  EXPECT_EQ(memory(kKeyBegin), 0xF81F);
  EXPECT_EQ(memory(kKeyEnd - 2), 0xF81F) << "the last word of the key page";
  EXPECT_EQ(base[kKeyEnd], before[kKeyEnd]) << "nothing after the key page";
}

// A short pack fills what it has; the rest keeps what video memory held, and it is reported.
TEST_P(ResourcePackLoad, ShortPackLoadsAsFarAsItGoes) {
  const int kind = GetParam();
  ScratchDir dir("cb_loader_short");
  const std::vector<uint8_t> pack = MakePack(1000);
  dir.Write("resource.dat", pack);
  CapturedOutput err(2);
  ASSERT_TRUE(VKR_ResourcePack_Load(base, kind));
  const std::string said = err.Stop();
  EXPECT_NE(said.find("1000 bytes found, 769152 expected"), std::string::npos) << said;
  // On the LCD the reductions still run over whatever the picture and bank areas hold.
  EXPECT_EQ(FirstDifference(Expected(before, pack, kind), base), -1);
  if (kind != 0) {
    EXPECT_EQ(std::memcmp(base + kBankOffset, before.data() + kBankOffset, kBankBytes), 0);
  }
}

TEST_P(ResourcePackLoad, MissingPackChangesNothing) {
  ScratchDir dir("cb_loader_missing");
  EXPECT_FALSE(VKR_ResourcePack_Load(base, GetParam()));
  EXPECT_EQ(FirstDifference(before, base), -1);
}

INSTANTIATE_TEST_SUITE_P(Outputs, ResourcePackLoad, ::testing::Values(0, 1, 2),
                         [](const auto& info) {
                           return std::string(info.param == 0   ? "LCD"
                                              : info.param == 1 ? "NTSC"
                                                                : "PAL");
                         });

}  // namespace
