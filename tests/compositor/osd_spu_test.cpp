// osd_spu_test.cpp: the OSD and sub-picture records as the API writes them, their decoding on
// small hand-made examples, and chains and lists that loop or run off video memory.
#include <vector>

#include "fixture.h"

namespace {

constexpr uint32_t kHeader = 0x200000;
constexpr uint32_t kSPU = 0x210000;
constexpr uint32_t kEnd = VKR_VIDEO_MEMORY_SIZE;

uint32_t LE32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; }
uint32_t BE32(const uint8_t* at) { return uint32_t(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3]; }

class OverlayTest : public CompositorTest {
 protected:
  void SetUp() override {
    CompositorTest::SetUp();
    ClearYUV();
    // OSD palette entry i: Y = i, Cb 100, Cr 200, opaque.
    std::vector<uint32_t> palette(256);
    for (uint32_t i = 0; i < 256; ++i) palette[i] = i | 100 << 8 | 200 << 16 | 0xFu << 28;
    VKR_SetOSDPalette(0, palette.data(), 256);
    // Sub-picture palette entry i: Y = 10 i, Cb 50, Cr 60.
    for (uint16_t i = 0; i < 16; ++i) VKR_SetSPUColor(i, (10u * i) | 50 << 8 | 60u << 24);
  }
  void ClearYUV() {
    for (size_t i = 0; i < g_ucByteWriteOnPlane.size(); ++i) {
      g_ucFrameSurface[3 * i] = 16, g_ucFrameSurface[3 * i + 1] = 128, g_ucFrameSurface[3 * i + 2] = 128;
      g_ucByteWriteOnPlane[i] = 0;
    }
  }
  std::vector<int> Ys(int y, int x0, int x1) {
    std::vector<int> out;
    for (int x = x0; x < x1; ++x) out.push_back(SurfacePixel(x, y)[0]);
    return out;
  }
  // The fast compositor's frame against the reference's.
  void ExpectSameFrame() {
    const RefFrame ref = Reference();
    Compose();
    EXPECT_TRUE(SameAsReference(ref));
  }
};

}  // namespace

TEST_F(OverlayTest, OSDHeaderWordsAndArgumentChecks) {
  std::memset(base + kHeader, 0xEE, 16);
  EXPECT_EQ(VKR_WriteOSDHeader(kHeader, 0, 0, 0, 3, 1, 16, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteOSDHeader(kHeader + 2, 0, 0, 0, 3, 1, 2, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteOSDHeader(kEnd - 8, 0xFFFFFFFF, 0, 0, 3, 1, 2, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(LE32(base + kHeader), 0xEEEEEEEEu);
  ASSERT_EQ(VKR_WriteOSDHeader(kHeader, 0xFFFFFFFF, 5, 7, 300, 9, 4, 1, 1, 1, 12, 200), VKR_OK);
  EXPECT_EQ(LE32(base + kHeader), 0xFFFFFFFFu);
  EXPECT_EQ(LE32(base + kHeader + 4), 9u | 7u << 11 | 12u << 22 | 1u << 26 | 1u << 28 | 1u << 30 | 1u << 31);
  EXPECT_EQ(LE32(base + kHeader + 8), 300u | 5u << 11 | 200u << 22 | 1u << 30);
  ASSERT_EQ(VKR_WriteOSDHeader(kEnd - 12, 0x100, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0), VKR_OK);
  EXPECT_EQ(LE32(base + kEnd - 8) >> 31, 0u);
}

TEST_F(OverlayTest, PlainTwoBitAreaTakesPixelsFromTheLowBits) {
  VKR_WriteOSDHeader(kHeader, 0xFFFFFFFF, 0, 0, 3, 1, 2, 0, 0, 0, 0, 0);
  base[kHeader + 12] = 0b11100100;  // pixels 0, 1, 2, 3
  VKR_SetOSDPlane(1, kHeader, 0);
  VKR_LowLevelAPI_SoftRender_OSD_Layer();
  EXPECT_EQ(Ys(0, 0, 5), (std::vector<int>{0, 1, 2, 3, 16}));
  EXPECT_EQ(SurfacePixel(3, 0)[1], 100);
  EXPECT_EQ(Written(3, 0), 1);
  EXPECT_EQ(Ys(1, 0, 1), (std::vector<int>{16}));
  // Bottom equal to top: nothing.
  ClearYUV();
  VKR_WriteOSDHeader(kHeader, 0xFFFFFFFF, 0, 4, 3, 4, 2, 0, 0, 0, 0, 0);
  VKR_LowLevelAPI_SoftRender_OSD_Layer();
  EXPECT_EQ(Written(0, 4), 0);
}

TEST_F(OverlayTest, CompressedRunsCrossRowEnds) {
  VKR_WriteOSDHeader(kHeader, 0xFFFFFFFF, 0, 0, 1, 2, 8, 1, 0, 0, 0, 0);
  const uint8_t data[] = {0xC3, 0x05, 0x7F};
  std::memcpy(base + kHeader + 12, data, sizeof data);
  VKR_SetOSDPlane(1, kHeader, 0);
  VKR_LowLevelAPI_SoftRender_OSD_Layer();
  EXPECT_EQ(Ys(0, 0, 2), (std::vector<int>{5, 5}));
  EXPECT_EQ(Ys(1, 0, 2), (std::vector<int>{5, 127}));
}

TEST_F(OverlayTest, KeyNeedsBothAlphaAndKeyEnable) {
  base[kHeader + 12] = 0x21;  // 4-bit pixels 1, 2
  VKR_SetOSDPlane(1, kHeader, 0);
  for (uint32_t alphaEnable : {0u, 1u}) {
    ClearYUV();
    VKR_WriteOSDHeader(kHeader, 0xFFFFFFFF, 0, 0, 1, 1, 4, 0, alphaEnable, 1, 15, 1);
    VKR_LowLevelAPI_SoftRender_OSD_Layer();
    EXPECT_EQ(Written(0, 0), alphaEnable ? 0 : 1);
    EXPECT_EQ(Written(1, 0), 1);
  }
}

TEST_F(OverlayTest, ZeroAlphaPaintsUnwrittenAndKeepsWrittenPixels) {
  const uint32_t invisible = 77 | 1 << 8 | 2 << 16;
  VKR_SetOSDPalette(9, &invisible, 1);
  VKR_WriteOSDHeader(kHeader, 0xFFFFFFFF, 0, 0, 1, 1, 8, 0, 0, 0, 0, 0);
  base[kHeader + 12] = 9, base[kHeader + 13] = 9;
  g_ucByteWriteOnPlane[1] = 1;
  VKR_SetOSDPlane(1, kHeader, 0);
  VKR_LowLevelAPI_SoftRender_OSD_Layer();
  EXPECT_EQ(Ys(0, 0, 2), (std::vector<int>{77, 16}));
}

TEST_F(OverlayTest, ChainsThatLoopOrLeaveVideoMemoryEnd) {
  const uint32_t second = kHeader + 64;
  VKR_WriteOSDHeader(kHeader, second, 0, 0, 0, 1, 8, 0, 1, 0, 8, 0);
  VKR_WriteOSDHeader(second, kHeader, 1, 0, 1, 1, 8, 0, 1, 0, 8, 0);
  base[kHeader + 12] = 200, base[second + 12] = 100;
  VKR_SetOSDPlane(1, kHeader, 0);
  VKR_SetRGBRegionOperation(5, 0, 1, 0, 0, 0, 0, 0, 0);
  ExpectSameFrame();
  // Each area once: drawn unblended into unwritten pixels.
  ClearYUV();
  VKR_LowLevelAPI_SoftRender_OSD_Layer();
  EXPECT_EQ(Ys(0, 0, 2), (std::vector<int>{200, 100}));
  // A next header that does not fit in video memory ends the chain.
  VKR_WriteOSDHeader(second, kEnd - 4, 1, 0, 1, 1, 8, 0, 1, 0, 8, 0);
  ExpectSameFrame();
  // Size code 3 is skipped; the chain goes on.
  VKR_WriteOSDHeader(second, 0xFFFFFFFF, 1, 0, 1, 1, 8, 0, 1, 0, 8, 0);
  base[kHeader + 7] |= 0x30;
  ClearYUV();
  VKR_LowLevelAPI_SoftRender_OSD_Layer();
  EXPECT_EQ(Ys(0, 0, 2), (std::vector<int>{16, 100}));
}

TEST_F(OverlayTest, AreaDataAtTheEndOfVideoMemoryStopsTheArea) {
  VKR_WriteOSDHeader(kEnd - 16, 0xFFFFFFFF, 0, 0, 639, 2000, 4, 0, 0, 0, 0, 0);
  VKR_SetOSDPlane(1, kEnd - 16, kEnd - 16);
  for (uint32_t mode : {0u, 20u}) {
    VKR_SetDisplayMode(mode, 16);
    ExpectSameFrame();
    base[kEnd - 4] = 0xC0;  // now coded, starting with a zero-length run
    base[kEnd - 9] |= 0x40;
    ExpectSameFrame();
  }
}

TEST_F(OverlayTest, SubPictureRecordsAndArgumentChecks) {
  ASSERT_EQ(VKR_WriteSPUBaseCmd(kSPU + 3, 1, 0x1234, 0xABCD, 0x1357, 20, 40, 0x500, 0x600), VKR_OK);
  const uint32_t want[7] = {641, 0xABCD1357, 319, 20u << 16 | 40, 0x500, 0x600, 0x1234};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(BE32(base + kSPU + 4 * i), want[i]) << i;
  VKR_SetDisplayMode(6, 16);
  VKR_WriteSPUBaseCmd(kSPU, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(BE32(base + kSPU), 1440u);
  EXPECT_EQ(BE32(base + kSPU + 8), 719u);
  EXPECT_EQ(VKR_WriteSPUBaseCmd(kEnd - 24, 0, 0, 0, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);

  const uint16_t l[1] = {1}, r[1] = {2}, c[1] = {3}, k[1] = {4};
  EXPECT_EQ(VKR_WriteSPUChangeCmd(kSPU, 1, 0, 0, 16, l, r, c, k), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteSPUChangeCmd(kSPU, 1, 0, 0, 1, l, nullptr, c, k), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_WriteSPUChangeCmd(kEnd - 12, 1, 0, 0, 1, l, r, c, k), VKR_BAD_ARGUMENT);
  ASSERT_EQ(VKR_WriteSPUChangeCmd(kSPU + 1, 1, 7, 0x1009, 0, nullptr, nullptr, nullptr, nullptr), VKR_OK);
  EXPECT_EQ(BE32(base + kSPU), 7u << 16 | 0x009);
  EXPECT_EQ(BE32(base + kSPU + 4), 0xFFFFFFFFu);
  ASSERT_EQ(VKR_WriteSPUChangeCmd(kSPU, 0, 7, 9, 1, l, r, c, k), VKR_OK);
  EXPECT_EQ(BE32(base + kSPU), 7u << 16 | 1u << 12 | 9);
  EXPECT_EQ(BE32(base + kSPU + 4), 3u << 16 | 4);
  EXPECT_EQ(BE32(base + kSPU + 8), 1u << 16 | 2);

  ASSERT_EQ(VKR_WriteSPUHighlightInfo(kSPU, 1, 2, 3, 4, 5, 6), VKR_OK);
  EXPECT_EQ(BE32(base + kSPU), 1u << 16 | 3);
  EXPECT_EQ(BE32(base + kSPU + 4), 2u << 16 | 4);
  EXPECT_EQ(BE32(base + kSPU + 8), 5u << 16 | 6);
  EXPECT_EQ(VKR_WriteSPUHighlightInfo(kEnd - 8, 0, 0, 0, 0, 0, 0), VKR_BAD_ARGUMENT);
}

// Codes of 1 and 4 nibbles; the even-line pass overwrites the odd-line pass on the LCD.
TEST_F(OverlayTest, SubPictureCodesAndLCDPasses) {
  const uint32_t odd = 0x220000, even = 0x230000;
  // Colour word: value k uses palette index k + 1; contrast opaque.
  VKR_WriteSPUBaseCmd(kSPU, 0, 0, 0x4321, 0xFFFF, 0, 2, even, odd);
  base[odd] = 0x00, base[odd + 1] = 0x03;  // value 3 to the end of the line
  base[even] = 0x70, base[even + 1] = 0x00, base[even + 2] = 0x20;  // one pixel of 3, then 2s
  VKR_SetSPUPlane(1, 0, 0, kSPU, 0);
  VKR_LowLevelAPI_SoftRender_SPU_Layer();
  EXPECT_EQ(Ys(0, 0, 4), (std::vector<int>{40, 30, 30, 30}));
  EXPECT_EQ(Ys(0, 318, 320), (std::vector<int>{30, 30}));
  EXPECT_EQ(SurfacePixel(0, 0)[2], 60);
  EXPECT_EQ(Written(0, 1), 0);
}

// Zero data: every line is pixel value 0 to its end. The highlight covers left to right - 1.
TEST_F(OverlayTest, HighlightCoversLeftToRightMinusOne) {
  const uint32_t odd = 0x220000, even = 0x230000, highlight = 0x250000;
  VKR_WriteSPUBaseCmd(kSPU, 0, 0, 0x0001, 0x000F, 0, 480, even, odd);
  VKR_WriteSPUHighlightInfo(highlight, 30, 100, 200, 120, 0x0002, 0x000F);
  VKR_SetSPUPlane(1, 0, 1, kSPU, highlight);
  VKR_LowLevelAPI_SoftRender_SPU_Layer();
  // LCD: band lines 100 to 120 are output lines 50 to 59.
  EXPECT_EQ(Ys(55, 28, 32), (std::vector<int>{10, 10, 20, 20}));
  EXPECT_EQ(Ys(55, 198, 202), (std::vector<int>{20, 20, 10, 10}));
  EXPECT_EQ(Ys(49, 30, 31), (std::vector<int>{10}));
  EXPECT_EQ(Ys(60, 30, 31), (std::vector<int>{10}));
}

TEST_F(OverlayTest, SubPictureDataAtTheEndOfVideoMemory) {
  std::memset(base + kEnd - 6, 0x11, 6);
  VKR_WriteSPUBaseCmd(kEnd - 28, 0, 0, 0x1111, 0xFFFF, 0, 480, kEnd - 6, kEnd - 3);
  VKR_SetSPUPlane(1, 1, 0, kEnd - 28, 0);
  VKR_SetOSDPlane(1, kEnd - 16, kEnd - 16);
  for (uint32_t mode : {0u, 6u}) {
    VKR_SetDisplayMode(mode, 16);
    ExpectSameFrame();
  }
}
