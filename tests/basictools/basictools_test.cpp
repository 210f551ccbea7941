// basictools_test.cpp: the copy and fill helpers at every alignment against byte references, the
// bit-block copies against a bit-by-bit reference on seeded random input, and VKR_OUTPUT_DEBUG.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "vkr_lowLevel.h"
#include "vkr_lowLevelDbgState.h"
#if defined(VKR_BACKEND_HANDHELD)
#include "sim.h"
#endif

namespace {

// A 4-aligned block of random bytes with room around every range the tests touch.
struct Buffer {
  alignas(4) std::array<uint8_t, 512> bytes;
  explicit Buffer(uint32_t seed) {
    std::mt19937 random(seed);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  }
};

TEST(MemoryHelpers, ByteCopyAndFillAtEveryAlignment) {
  for (uint32_t dstMis = 0; dstMis < 4; ++dstMis) {
    for (uint32_t srcMis = 0; srcMis < 4; ++srcMis) {
      for (uint32_t count = 0; count < 40; ++count) {
        Buffer dst(count), src(count + 100), expected = dst;
        std::memcpy(&expected.bytes[64 + dstMis], &src.bytes[64 + srcMis], count);
        VKR_MEMCPY(&dst.bytes[64 + dstMis], &src.bytes[64 + srcMis], count);
        ASSERT_EQ(dst.bytes, expected.bytes) << dstMis << " " << srcMis << " " << count;
      }
    }
    for (uint32_t count = 0; count < 40; ++count) {
      Buffer dst(count), expected = dst;
      std::memset(&expected.bytes[64 + dstMis], 0xAA, count);
      VKR_MEMSET(&dst.bytes[64 + dstMis], 0x1AA, count);
      ASSERT_EQ(dst.bytes, expected.bytes) << dstMis << " " << count;
    }
  }
  VKR_MEMCPY(nullptr, nullptr, 8);
  VKR_MEMSET(nullptr, 0, 8);
}

TEST(MemoryHelpers, WordFillAndTransferLeaveTheRemainder) {
  Buffer dst(1), expected = dst;
  VKR_FAST_MEMSET(&dst.bytes[8], 0x11223344, 7);
  const uint32_t word = 0x11223344;
  std::memcpy(&expected.bytes[8], &word, 4);
  EXPECT_EQ(dst.bytes, expected.bytes);
  VKR_FAST_MEMSET(&dst.bytes[8], 0, 3);
  EXPECT_EQ(dst.bytes, expected.bytes);

  // Source first; count / 4 words in ascending order, so a copy one word up repeats the first.
  Buffer moved(2), reference = moved;
  VKR_MEMORY_XFER_32BIT_FUNC(&moved.bytes[16], &moved.bytes[20], 15);
  for (int i = 0; i < 3; ++i) std::memcpy(&reference.bytes[20 + 4 * i], &reference.bytes[16], 4);
  EXPECT_EQ(moved.bytes, reference.bytes);
}

bool Bit(const uint8_t* at, int64_t n) { return (at[n >> 3] >> (n & 7)) & 1; }
void SetBit(uint8_t* at, int64_t n, bool value) {
  at[n >> 3] = static_cast<uint8_t>((at[n >> 3] & ~(1 << (n & 7))) | value << (n & 7));
}

// Bitmap row r, bit i lands at bit offset + r x pitch + i of its picture.
void ReferenceBitBlock(uint8_t* destination, int64_t bitOffset, int32_t pitch,
                       const uint8_t* bitmap, uint32_t width, uint32_t height) {
  const uint32_t rowBytes = (width + 7) / 8;
  for (uint32_t r = 0; r < height; ++r)
    for (uint32_t i = 0; i < width; ++i)
      SetBit(destination, bitOffset + int64_t{r} * pitch + i, Bit(bitmap + r * rowBytes, i));
}

TEST(BitBlockCopy, PlainAndInterlacedMatchTheBitByBitReference) {
  std::mt19937 random(42);
  for (int round = 0; round < 2000; ++round) {
    Buffer picture(round), odd(round + 1), bitmap(round + 7), expected = picture, expectedOdd = odd;
    const uint32_t width = random() % 41, height = random() % 12;
    const int32_t pitch = static_cast<int32_t>(width + random() % 30) * (random() % 4 ? 1 : -1);
    const uint32_t bitOffset = random() % 64, rowBytes = (width + 7) / 8;
    // The destinations sit mid-buffer so that negative pitches stay inside.
    const bool interlaced = round % 2;
    if (interlaced) {
      for (uint32_t r = 0; r < height; ++r)
        ReferenceBitBlock(&(r % 2 ? expectedOdd : expected).bytes[200],
                          bitOffset + int64_t{r / 2} * pitch, 0, bitmap.bytes.data() + r * rowBytes,
                          width, 1);
      VKR_BLKMEMCPY_INTERLACE(&picture.bytes[200], &odd.bytes[200], bitOffset, pitch,
                              bitmap.bytes.data(), width, height);
    } else {
      ReferenceBitBlock(&expected.bytes[200], bitOffset, pitch, bitmap.bytes.data(), width, height);
      VKR_BLKMEMCPY(&picture.bytes[200], bitOffset, pitch, bitmap.bytes.data(), width, height);
    }
    ASSERT_EQ(picture.bytes, expected.bytes) << "round " << round;
    ASSERT_EQ(odd.bytes, expectedOdd.bytes) << "round " << round;
  }
}

class OutputDebugTest : public ::testing::Test {
 protected:
  void SetUp() override {
#if defined(VKR_BACKEND_HANDHELD)
    SimPowerOn(SimConfigFromEnvironment());  // the console the hardware back end runs on
#endif
    ASSERT_EQ(VKR_InitLowLevelAPI("output"), VKR_OK);
    VKR_DbgClrScr(0, 0);
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }
  static std::string Cells(int first, int count) {
    return {g_ucVKR_DBG_CHAR_SCREEN.begin() + first,
            g_ucVKR_DBG_CHAR_SCREEN.begin() + first + count};
  }
};

TEST_F(OutputDebugTest, PrintsOnceDrawsAndCutsLongMessages) {
  // The message is printed as text: a percent sign in it is not read as a format again.
  uint8_t* base = nullptr;
  VKR_GetVideoBasePtr(&base);
  VKR_MEMSET(base, 0xA5, 320 * 240 * 2);
  EXPECT_EQ(VKR_OUTPUT_DEBUG(0, 0, "%s", "100%s done"), VKR_OK);
  EXPECT_EQ(Cells(0, 10), "100%s done");
  uint16_t border;
  std::memcpy(&border, base, 2);
  EXPECT_EQ(border, 0x0000) << "drawn in the border colour 0";

  VKR_DbgClrScr(0, 0);
  const std::string longText(300, 'x');
  EXPECT_EQ(VKR_OUTPUT_DEBUG(0, 0, "%s", longText.c_str()), VKR_OK);
  EXPECT_EQ(g_nVKR_DBG_CURPOS, 159);
  EXPECT_EQ(Cells(0, 160), std::string(159, 'x') + '\0');

  // A draw that fails is reported, not hidden behind a successful present.
  EXPECT_EQ(VKR_OUTPUT_DEBUG(12, 0, "x"), VKR_BAD_ARGUMENT);
}

}  // namespace
