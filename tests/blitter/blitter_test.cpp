// blitter_test.cpp: VKR_HwBitBlt and VKR_HwBitBltRotate against plain per-pixel references on
// seeded random rectangles, the edge cases that catch real faults, and clipping at the end of
// video memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "vkr_lowLevel.h"

namespace {

constexpr uint32_t kEnd = VKR_VIDEO_MEMORY_SIZE;

uint32_t LoadPixel(const uint8_t* memory, uint64_t at, uint32_t bytes) {
  uint32_t value = 0;
  std::memcpy(&value, memory + at, bytes);
  return value;
}
void StorePixel(uint8_t* memory, uint64_t at, uint32_t bytes, uint32_t value) {
  std::memcpy(memory + at, &value, bytes);
}

// Result bit = bit (2 x source bit + destination bit) of the operation number.
uint32_t ReferenceOp(uint32_t op, uint32_t s, uint32_t d) {
  uint32_t result = 0;
  for (int bit = 0; bit < 16; ++bit)
    result |= ((op >> (2 * ((s >> bit) & 1) + ((d >> bit) & 1))) & 1) << bit;
  return result;
}

struct Blit {
  uint32_t dst, dstPitch;
  uint16_t width, height;
  uint32_t src, srcPitch, flags;
  uint16_t key, background, foreground;
};

// The blit as described, one pixel at a time; the rectangle must lie inside video memory.
void ReferenceBlit(uint8_t* memory, const Blit& b) {
  const uint32_t bytes = (b.flags & 0x100) ? 1 : 2;
  const uint32_t pixelMask = bytes == 1 ? 0xFF : 0xFFFF;
  for (uint64_t r = 0; r < b.height; ++r) {
    uint32_t bits = 0;
    for (uint64_t c = 0; c < b.width; ++c) {
      const uint64_t dst = b.dst + r * b.dstPitch * bytes + c * bytes;
      const uint64_t srcRow = b.src + r * b.srcPitch * bytes;
      uint32_t s;
      if (b.flags & 0x200) {
        // One source read per group of 8 x pixel-bytes pixels.
        const uint32_t group = 8 * bytes;
        if (c % group == 0) bits = LoadPixel(memory, srcRow + c / group * bytes, bytes);
        s = ((bits >> (c % group)) & 1 ? b.foreground : b.background) & pixelMask;
      } else {
        s = LoadPixel(memory, srcRow + c * bytes, bytes);
      }
      if ((b.flags & 0xFC00) && s == b.key) continue;
      const uint32_t d = LoadPixel(memory, dst, bytes);
      StorePixel(memory, dst, bytes, ReferenceOp(b.flags & 0xFF, s, d) & pixelMask);
    }
  }
}

uint32_t Blitted(const Blit& b) {
  return VKR_HwBitBlt(b.dst, b.dstPitch, b.width, b.height, b.src, b.srcPitch, b.flags, b.key,
                      b.background, b.foreground);
}

class BlitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("blitter"), VKR_OK);
    VKR_GetVideoBasePtr(&memory);
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  // Small random values so that keys match often.
  void FillRandom(uint32_t from, uint32_t bytes, uint32_t seed) {
    std::mt19937 random(seed);
    for (uint32_t i = 0; i < bytes; ++i)
      memory[from + i] = static_cast<uint8_t>(random() % 4 * 0x55);
  }
  std::vector<uint8_t> Snapshot() const { return {memory, memory + kEnd}; }
  bool Same(const std::vector<uint8_t>& expected) const {
    return std::memcmp(expected.data(), memory, kEnd) == 0;
  }

  uint8_t* memory = nullptr;
};

TEST_F(BlitterTest, MatchesThePerPixelReferenceOnRandomBlits) {
  constexpr uint32_t kWindow = 0x40000;
  std::mt19937 random(1234);
  for (int round = 0; round < 400; ++round) {
    FillRandom(0, kWindow, round);
    Blit b{};
    b.width = static_cast<uint16_t>(random() % 70);
    b.height = static_cast<uint16_t>(random() % 24);
    b.dstPitch = random() % 3 ? b.width + random() % 40 : b.width;
    b.srcPitch = random() % 3 ? b.width + random() % 40 : b.width;
    b.flags = (random() % 16) | (random() % 2) << 8 | (random() % 2) << 9 |
              (random() % 2 ? 1u << (10 + random() % 6) : 0);
    // A third of the blits overlap their own source by a few bytes either way.
    b.dst = 16 + random() % 0x10000;
    b.src = random() % 3 ? random() % 0x10000 : b.dst + random() % 17 - 8;
    const uint16_t values[] = {0x0000, 0x5555, 0xAAAA, 0x55FF, 0x00AA, 0x1F8};
    b.key = values[random() % 6];
    b.background = values[random() % 6];
    b.foreground = values[random() % 6];
    std::vector<uint8_t> expected = Snapshot();
    ReferenceBlit(expected.data(), b);
    ASSERT_EQ(Blitted(b), VKR_OK);
    ASSERT_TRUE(Same(expected)) << "round " << round << " flags 0x" << std::hex << b.flags << " "
                                << std::dec << b.width << "x" << b.height;
  }
}

TEST_F(BlitterTest, OperationsThatIgnoreOrKeepTheDestination) {
  // Operation 0 clears 720 x 576 whatever the source, even one outside video memory.
  for (uint32_t source : {0x100000u, 0xFFFFFF00u}) {
    FillRandom(0, 0x200000, source);
    std::vector<uint8_t> expected = Snapshot();
    std::memset(expected.data(), 0, 720 * 576 * 2);
    EXPECT_EQ(VKR_HwBitBlt(0, 720, 720, 576, source, 720, 0, 0, 0, 0), VKR_OK);
    EXPECT_TRUE(Same(expected));
  }
  // Operation 10, keyed or not, an operation above 15 and an empty rectangle leave everything.
  FillRandom(0, 0x200000, 3);
  const std::vector<uint8_t> expected = Snapshot();
  EXPECT_EQ(VKR_HwBitBlt(0, 720, 720, 576, 0x100000, 720, 0x0A, 0, 0, 0), VKR_OK);
  EXPECT_EQ(VKR_HwBitBlt(0, 720, 720, 576, 0x100000, 720, 0x40A, 0x5555, 0, 0), VKR_OK);
  EXPECT_EQ(VKR_HwBitBlt(0, 720, 720, 576, 0x100000, 720, 16, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_HwBitBlt(0, 720, 720, 576, 0x100000, 720, 0x4FF, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_HwBitBlt(0, 720, 0, 576, 0x100000, 720, 15, 0, 0, 0), VKR_OK);
  EXPECT_EQ(VKR_HwBitBlt(0, 720, 720, 0, 0x100000, 720, 15, 0, 0, 0), VKR_OK);
  EXPECT_TRUE(Same(expected));
}

TEST_F(BlitterTest, ColourKeyAndOneBitExpansion) {
  // 16-bit copy with key 0xF81F skips exactly the key; in 8-bit mode 0x1F8 never matches 0xF8.
  const uint16_t source[4] = {0xF81F, 0x1234, 0xF81E, 0xF81F};
  const uint16_t keyed[4] = {0x7777, 0x1234, 0xF81E, 0x7777};
  std::memcpy(memory + 0x1000, source, 8);
  VKR_MEMSET(memory, 0x77, 8);
  EXPECT_EQ(VKR_HwBitBlt(0, 4, 4, 1, 0x1000, 4, 0x40C, 0xF81F, 0, 0), VKR_OK);
  EXPECT_EQ(0, std::memcmp(memory, keyed, 8));
  const uint8_t bytes[3] = {0xF8, 0x01, 0xF8};
  std::memcpy(memory + 0x2000, bytes, 3);
  EXPECT_EQ(VKR_HwBitBlt(0x3000, 3, 3, 1, 0x2000, 3, 0x50C, 0x1F8, 0, 0), VKR_OK);
  EXPECT_EQ(0, std::memcmp(memory + 0x3000, bytes, 3));

  // Word 0x0001 expands to 0xFFFF then fifteen 0s; width 20 reads a second word for 16-19.
  const uint16_t bits[2] = {0x0001, 0x000A};
  std::memcpy(memory + 0x1000, bits, 4);
  for (uint16_t width : {16, 20}) {
    VKR_MEMSET(memory, 0x33, 64);
    EXPECT_EQ(VKR_HwBitBlt(0, 32, width, 1, 0x1000, 2, 0x20C, 0, 0, 0xFFFF), VKR_OK);
    uint16_t expected[24] = {0xFFFF};
    for (int k = width; k < 24; ++k) expected[k] = 0x3333;
    if (width == 20) expected[17] = expected[19] = 0xFFFF;
    EXPECT_EQ(0, std::memcmp(memory, expected, sizeof expected)) << width;
  }
}

TEST_F(BlitterTest, RotationTurnsBySourceFormula) {
  // A 2 x 1 image A, B: clockwise gives A above B, anticlockwise B above A.
  memory[0x100] = 'A', memory[0x101] = 'B';
  VKR_HwBitBltRotate(0x200, 4, 2, 1, 0x100, 2, 1);
  EXPECT_EQ(memory[0x200], 'A');
  EXPECT_EQ(memory[0x204], 'B');
  VKR_HwBitBltRotate(0x300, 4, 2, 1, 0x100, 2, 3);
  EXPECT_EQ(memory[0x300], 'B');
  EXPECT_EQ(memory[0x304], 'A');
  EXPECT_EQ(VKR_WaitHwBlitter(0), VKR_OK);

  std::mt19937 random(99);
  for (uint32_t flags = 0; flags < 12; ++flags) {
    FillRandom(0, 0x20000, flags);
    const uint32_t b = flags <= 3 ? 1 : flags <= 7 ? 2 : 3;
    const uint32_t w = 1 + random() % 30, h = 1 + random() % 30;
    const uint32_t srcPitch = w + random() % 5, dstPitch = std::max(w, h) + random() % 5;
    const uint32_t src = 0x100, dst = 0x10000;
    std::vector<uint8_t> expected = Snapshot();
    const bool sideways = flags & 1;
    for (uint32_t r = 0; r < (sideways ? w : h); ++r) {
      for (uint32_t c = 0; c < (sideways ? h : w); ++c) {
        uint32_t sc = c, sr = r;
        switch (flags & 3) {
          case 1: sc = r, sr = h - 1 - c; break;
          case 2: sc = w - 1 - c, sr = h - 1 - r; break;
          case 3: sc = w - 1 - r, sr = c; break;
        }
        std::memcpy(&expected[dst + (r * dstPitch + c) * b],
                    memory + src + (sr * srcPitch + sc) * b, b);
      }
    }
    EXPECT_EQ(VKR_HwBitBltRotate(dst, dstPitch, w, h, src, srcPitch, flags), VKR_OK);
    EXPECT_TRUE(Same(expected)) << "flags " << flags;
  }
}

// Run under AddressSanitizer too: nothing may be touched past the end of the 8 MiB block.
TEST_F(BlitterTest, RectanglesAtTheEndOfVideoMemoryAreClipped) {
  FillRandom(0, 0x1000, 5);
  FillRandom(kEnd - 0x1000, 0x1000, 6);
  std::vector<uint8_t> expected = Snapshot();
  // Destination row 0 has room for 50 of its 100 pixels; rows 1 and 2 start past the end.
  std::memcpy(&expected[kEnd - 100], memory, 100);
  EXPECT_EQ(VKR_HwBitBlt(kEnd - 100, 100, 100, 3, 0, 100, 12, 0, 0, 0), VKR_OK);
  EXPECT_TRUE(Same(expected));

  // A source running out stops the row where its pixels do; keyed and expanded reads alike.
  std::memcpy(&expected[0x800], memory + kEnd - 8, 8);
  EXPECT_EQ(VKR_HwBitBlt(0x800, 64, 64, 4, kEnd - 8, 64, 0x40C, 0x1111, 0, 0), VKR_OK);
  EXPECT_TRUE(Same(expected));
  EXPECT_EQ(VKR_HwBitBlt(0x900, 64, 64, 4, kEnd - 3, 64, 0x20C, 0, 0, 0xFFFF), VKR_OK);
  const uint32_t bits = LoadPixel(memory, kEnd - 3, 2);
  for (uint32_t k = 0; k < 16; ++k)
    StorePixel(expected.data(), 0x900 + 2 * k, 2, (bits >> k) & 1 ? 0xFFFF : 0);
  EXPECT_TRUE(Same(expected));

  // A 16-bit pixel with one byte left, or an offset past the end, draws nothing.
  EXPECT_EQ(VKR_HwBitBlt(kEnd - 1, 8, 8, 8, 0, 8, 15, 0, 0, 0), VKR_OK);
  EXPECT_EQ(VKR_HwBitBlt(0xFFFFFFF0, 8, 8, 8, 0, 8, 15, 0, 0, 0), VKR_OK);
  EXPECT_TRUE(Same(expected));

  // The rotator copies only pixels whose source and destination lie inside.
  VKR_HwBitBltRotate(kEnd - 6, 2, 4, 4, 0, 4, 8);
  VKR_HwBitBltRotate(0x2000, 4, 4, 4, kEnd - 20, 4, 4);
  std::memcpy(&expected[kEnd - 6], memory, 6);
  std::memcpy(&expected[0x2000], memory + kEnd - 20, 16);
  std::memcpy(&expected[0x2010], memory + kEnd - 4, 4);
  EXPECT_TRUE(Same(expected));
}

}  // namespace
