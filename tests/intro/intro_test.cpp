// intro_test.cpp: the intro's tables, band, first-paint set-up, page flip, formations, sprite
// sizing and clipping, on LCD, NTSC and PAL, checked in video memory and the emulated state.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "dp_intro.h"
#include "vkr_lowLevel.h"
#include "vkr_winHost.h"

namespace {

// The display model as the intro's calls left it.
const DISP_Model& Model() { return VKR_WinDisplayModel(); }

constexpr uint32_t kPageA = 829440, kPageB = 1658880, kDrawnBytes = 691200;
constexpr uint32_t kSetOffsets[7] = {0x32A000, 0x330000, 0x334980, 0x337F80,
                                     0x33A500, 0x33BD00, 0x33CA80};
constexpr uint16_t kKey = 0xF81F, kUnusedCell = 0x7BEF, kFill = 0x1111;

// Each sprite pixel names its size step, row and column; (1, 1) is transparent.
uint16_t Encode(int step, int, int row, int col) {
  return row == 1 && col == 1 ? kKey : static_cast<uint16_t>(0x8000 | step << 12 | row << 6 | col);
}

// What landed on a page: left, top, width, height, and the step, row and column of the source
// pixel at the top-left.
using Footprint = std::tuple<int, int, int, int, int, int, int>;

class IntroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("intro test"), VKR_OK);
    VKR_GetVideoBasePtr(&base);
  }
  void TearDown() override { VKR_FreeLowLevelAPI(0); }

  void Start(int outputKind) {
    lcd = outputKind == 0;
    pitch = lcd ? 320 : 720;
    VKR_DP_Intro_Init(outputKind, 0);
    FillBank(Encode);
    FillPage(kPageA);
    FillPage(kPageB);
  }
  // The bank as the loader leaves it: on the LCD each frame reduced into the top-left of its cell.
  void FillBank(const std::function<uint16_t(int, int, int, int)>& pixel) {
    for (int step = 0; step < 7; ++step) {
      const int cell = 64 - 8 * step, size = lcd ? cell / 2 : cell;
      for (int frame = 0; frame < 3; ++frame)
        for (int row = 0; row < cell; ++row)
          for (int col = 0; col < cell; ++col)
            Set(kSetOffsets[step] + 2 * ((frame * cell + row) * cell + col),
                row < size && col < size ? pixel(step, frame, row, col) : kUnusedCell);
    }
  }
  uint16_t Get(uint32_t offset) const {
    uint16_t v;
    std::memcpy(&v, base + offset, 2);
    return v;
  }
  void Set(uint32_t offset, uint16_t v) { std::memcpy(base + offset, &v, 2); }
  void FillPage(uint32_t page) {
    for (uint32_t i = 0; i < kDrawnBytes; i += 2) Set(page + i, kFill);
  }
  uint16_t Pixel(uint32_t page, int x, int y) const { return Get(page + 2 * (y * pitch + x)); }
  // Scans two lines past the last one a sprite may reach.
  Footprint FootprintOn(uint32_t page) const {
    int left = INT_MAX, right = -1, top = -1, bottom = -1, first = 0;
    for (int y = 0; y < 482; ++y)
      for (int x = 0; x < pitch; ++x) {
        const uint16_t v = Pixel(page, x, y);
        if (v == kKey || v == kUnusedCell) ADD_FAILURE() << "key or unused cell at " << x << ", " << y;
        if (!(v & 0x8000) || v == kKey) continue;
        if (top < 0) top = y, first = v;
        left = std::min(left, x), right = std::max(right, x), bottom = y;
      }
    return {left, top, right - left + 1, bottom - top + 1, first >> 12 & 7, first >> 6 & 63,
            first & 63};
  }

  uint8_t* base = nullptr;
  bool lcd = true;
  int pitch = 320;
};

class IntroOutputTest : public IntroTest, public ::testing::WithParamInterface<int> {};

TEST_F(IntroTest, TablesHoldTheTruncatedSineAndItsQuarterTurn) {
  VKR_DP_Intro_Init(0, 0);
  for (auto [k, v] : {std::pair{0, 0}, {1, 100}, {512, 46340}, {1024, 65536}, {2047, 100},
                      {2049, -100}, {3072, -65536}})
    EXPECT_EQ(SINT[k], v) << k;
  for (int k = 0; k < 4096; ++k) ASSERT_EQ(COST[k], SINT[(k + 3072) % 4096]) << k;
}

TEST_F(IntroTest, BandFadesInOverTheFirstThreeSeconds) {
  Start(0);
  for (auto [elapsed, alpha] : {std::pair{0u, 0}, {1500u, 8}, {2819u, 14}, {2820u, 15},
                                {117299u, 15}, {UINT32_MAX, 15}}) {
    VKR_DP_Intro_Paint(elapsed, 117300, 0, 0);
    EXPECT_EQ(Model().rgbLayerRegion[4].alpha, alpha) << elapsed;
  }
}

TEST_F(IntroTest, SpritesChangePictureAt39100And78200) {
  Start(1);
  constexpr uint16_t kMarks[3] = {0x0F00, 0x00F0, 0x000F};
  FillBank([&](int, int frame, int, int) { return kMarks[frame]; });
  for (auto [elapsed, frame] :
       {std::pair{39099u, 0}, {39100u, 1}, {78199u, 1}, {78200u, 2}, {117299u, 2}}) {
    VKR_DP_Intro_Paint(elapsed, 117300, 1, 0);
    int counts[3] = {};
    for (uint32_t i = 0; i < kDrawnBytes; i += 2)
      for (int f = 0; f < 3; ++f) counts[f] += Get(Model().rgbVideoMemOffset + i) == kMarks[f];
    for (int f = 0; f < 3; ++f) EXPECT_EQ(counts[f] > 0, f == frame) << elapsed << " frame " << f;
  }
}

TEST_P(IntroOutputTest, FirstPaintTakesOverTheLayersAndLaterOnesOnlyTheBand) {
  const int kind = GetParam();
  const bool pal = kind == 2;
  const uint16_t right = kind == 0 ? 319 : 719;
  Start(kind);
  VKR_SetRGBRegionColorKey(0);
  VKR_SetYUVVideoPlaneScaler(1, 1, 512, 2048);  // start-up already holds 1:1
  VKR_SetYUVVideoPlaneScaler(1, 0, 2048, 512);
  VKR_SetYUVVideoPlanePriority(0);
  VKR_DP_Intro_Paint(0, 117300, kind, 0);
  const DISP_YUVPlane& p = Model().yuvPlane[0];
  EXPECT_EQ(std::tuple(p.enable, p.top, p.right, p.bottom, p.split, p.pitch, p.topOffset),
            std::tuple(1u, pal ? 25 : 0, right, pal ? 264 : 240, pal ? 264 : 240, 720,
                       pal ? 72000u : 0u));
  for (int part : {0, 1})
    EXPECT_EQ(std::tuple(Model().yuvScaler[part].horizontal, Model().yuvScaler[part].vertical),
              std::tuple(1024, 1024))
        << "part " << part;
  EXPECT_EQ(Model().yuvFirstPlanePriority, 1);
  EXPECT_EQ(Model().regionColorKey, 0xFF00FFu);
  for (int region : {1, 2, 3, 5}) EXPECT_EQ(Model().rgbLayerRegion[region].active, 0u) << region;
  const DISP_RGBRegion& b = Model().rgbLayerRegion[4];
  EXPECT_EQ(std::tuple(b.active, b.visible, b.operation, b.top, b.right, b.bottom),
            std::tuple(1u, 1u, 1, pal ? 65 : 40, right, pal ? 223 : 198));

  VKR_SetRGBRegionOperation(1, 1, 1, 0, 0, 0, 0, 0, 0);
  VKR_DP_Intro_Paint(40, 117300, kind, 0);
  EXPECT_EQ(Model().rgbLayerRegion[1].active, 1u);
}

TEST_P(IntroOutputTest, PaintsAlternatePagesAndShowThePageJustDrawn) {
  const int kind = GetParam();
  const uint32_t lead = kind == 2 ? 36000 : 0;
  Start(kind);
  VKR_DP_Intro_Paint(0, 117300, kind, 0);
  EXPECT_EQ(Model().rgbVideoMemOffset, kPageA - lead);
  EXPECT_NE(Get(kPageA + kDrawnBytes - 2), kFill) << "page A cleared";
  EXPECT_EQ(Get(kPageB + kDrawnBytes - 2), kFill) << "page B untouched";
  const std::vector<uint8_t> first(base + kPageA, base + kPageA + kDrawnBytes);

  VKR_DP_Intro_Paint(20, 117300, kind, 0);
  EXPECT_EQ(Model().rgbVideoMemOffset, kPageB - lead);
  EXPECT_NE(Get(kPageB + kDrawnBytes - 2), kFill) << "page B cleared";
  EXPECT_EQ(std::memcmp(first.data(), base + kPageA, kDrawnBytes), 0) << "page A kept";

  VKR_DP_Intro_Paint(40, 117300, kind, 0);
  EXPECT_EQ(Model().rgbVideoMemOffset, kPageA - lead);
}

// At 0 ms every sprite sits on its chain: sprite 0 at (232, 216), depth 50, so size 40 at 0.9.
// Later sprites may cover part of it; some pixel of it in place is enough.
TEST_P(IntroOutputTest, FirstSpriteStartsOnItsChain) {
  const int kind = GetParam();
  Start(kind);
  VKR_DP_Intro_Paint(0, 117300, kind, 0);
  const int left = lcd ? 79 : 190, top = lcd ? 92 : 176, size = lcd ? 20 : 40;
  int inPlace = 0;
  for (int row = 0; row < size; ++row)
    for (int col = 0; col < size; ++col)
      inPlace += Pixel(kPageA, left + col, top + row) == Encode(3, 0, row, col);
  EXPECT_GT(inPlace, 0);
}

// Every sprite's place (x, y, z) at chosen times, worked out from the formation rules: on its
// chain at 0 ms (w = 0), half way at 3072 ms (w = 2048), on its ring at 6144 ms and at 43008 ms
// (w = 4096; frame 1 by then). For example ring sprite 0 at 6144 ms: x = 240 Sn(3072) / 65536 +
// 360 = 120, y = 240 - 100 Sn(3072) / 65536 = 340, z = 45 Sn(1536) / 65536 + 50 = 45 x 46340 /
// 65536 + 50 = 81. The painted page must equal a cleared page with the 25 sprites drawn there.
TEST_P(IntroOutputTest, FormationsPlaceEverySpriteAtChosenTimes) {
  struct Formation {
    uint32_t elapsed;
    int frame;
    int places[25][3];
  };
  static const Formation formations[] = {
      {0, 0, {{232, 216, 50}, {168, 209, 50}, {104, 195, 50}, {40, 174, 50}, {-24, 147, 50},
              {234, 216, 86}, {171, 209, 86}, {108, 194, 86}, {45, 173, 86}, {-17, 146, 86},
              {237, 216, 112}, {178, 209, 112}, {119, 194, 112}, {60, 173, 112}, {1, 146, 112},
              {243, 216, 119}, {190, 208, 119}, {137, 193, 119}, {84, 172, 119}, {30, 145, 119},
              {251, 216, 106}, {206, 208, 106}, {161, 193, 106}, {115, 172, 106}, {70, 145, 106}}},
      {3072, 0, {{435, 184, 35}, {439, 182, 37}, {440, 184, 37}, {440, 190, 35}, {440, 199, 32},
                 {329, 208, 32}, {333, 208, 27}, {339, 211, 21}, {347, 217, 15}, {359, 227, 9},
                 {245, 235, 18}, {269, 235, 15}, {297, 237, 13}, {329, 243, 12}, {367, 252, 13},
                 {262, 258, 35}, {310, 255, 39}, {361, 255, 44}, {414, 259, 50}, {468, 265, 56},
                 {367, 269, 79}, {422, 263, 84}, {477, 261, 89}, {529, 261, 91}, {578, 264, 92}}},
      {6144, 0, {{120, 340, 81}, {125, 339, 71}, {139, 337, 60}, {162, 334, 49}, {193, 330, 36},
                 {230, 324, 25}, {273, 318, 16}, {319, 310, 9}, {365, 302, 6}, {413, 293, 6},
                 {458, 283, 9}, {499, 273, 16}, {535, 262, 25}, {564, 251, 36}, {585, 240, 48},
                 {597, 230, 59}, {599, 219, 71}, {592, 208, 81}, {576, 197, 88}, {551, 188, 93},
                 {518, 178, 94}, {480, 170, 92}, {436, 163, 87}, {390, 156, 79}, {343, 151, 69}}},
      {43008, 1, {{600, 140, 19}, {595, 141, 11}, {581, 143, 7}, {558, 146, 6}, {527, 150, 8},
                  {490, 156, 13}, {447, 162, 22}, {401, 170, 32}, {355, 178, 44}, {307, 187, 55},
                  {262, 197, 67}, {221, 207, 78}, {185, 218, 86}, {156, 229, 92}, {135, 240, 94},
                  {123, 250, 93}, {121, 261, 89}, {128, 272, 82}, {144, 283, 72}, {169, 292, 61},
                  {202, 302, 49}, {240, 310, 37}, {284, 317, 26}, {330, 324, 17}, {377, 329, 10}}},
  };
  const int kind = GetParam();
  for (const Formation& f : formations) {
    Start(kind);
    VKR_DP_Intro_Paint(f.elapsed, 117300, kind, 0);
    std::memset(base + kPageB, 0, kDrawnBytes);
    for (const auto& place : f.places) VKR_DrawSprite(kPageB, place[0], place[1], place[2], f.frame);
    int differing = 0, first = -1;
    for (uint32_t i = 0; i < kDrawnBytes; i += 2)
      if (Get(kPageA + i) != Get(kPageB + i)) {
        if (first < 0) first = static_cast<int>(i / 2);
        ++differing;
      }
    EXPECT_EQ(differing, 0) << f.elapsed << " ms: first at pixel (" << first % pitch << ", "
                            << first / pitch << ")";
  }
}

// Size by depth (step 0 up to 86, 6 from 14 down), position by the factor 8 z + 500, and the
// clip at each edge of the page, at depth 50 (40 pixels on television, 20 on the LCD).
TEST_P(IntroOutputTest, SpriteSizePlaceAndClip) {
  Start(GetParam());
  struct Case {
    int x, y, z;
    Footprint landed;
  };
  const std::vector<Case> cases =
      lcd ? std::vector<Case>{{200, 200, 120, {114, 134, 32, 32, 0, 0, 0}},
                              {200, 200, 86, {89, 109, 32, 32, 0, 0, 0}},
                              {200, 200, 85, {89, 109, 28, 28, 1, 0, 0}},
                              {200, 200, 50, {65, 85, 20, 20, 3, 0, 0}},
                              {200, 200, 15, {40, 60, 12, 12, 5, 0, 0}},
                              {200, 200, 14, {39, 59, 8, 8, 6, 0, 0}},
                              {33, 200, 50, {0, 85, 10, 20, 3, 0, 10}},
                              {733, 200, 50, {305, 85, 15, 20, 3, 0, 0}},
                              {200, -13, 50, {65, 0, 20, 10, 3, 10, 0}},
                              {200, 1055, 50, {65, 470, 20, 10, 3, 0, 0}}}
          : std::vector<Case>{{200, 200, 120, {245, 245, 64, 64, 0, 0, 0}},
                              {200, 200, 86, {199, 199, 64, 64, 0, 0, 0}},
                              {200, 200, 85, {202, 202, 56, 56, 1, 0, 0}},
                              {200, 200, 50, {162, 162, 40, 40, 3, 0, 0}},
                              {200, 200, 15, {116, 116, 24, 24, 5, 0, 0}},
                              {200, 200, 14, {117, 117, 16, 16, 6, 0, 0}},
                              {8, 200, 50, {0, 162, 30, 40, 3, 0, 10}},
                              {804, 200, 50, {705, 162, 15, 40, 3, 0, 0}},
                              {200, 8, 50, {162, 0, 40, 30, 3, 10, 0}},
                              {200, 543, 50, {162, 470, 40, 10, 3, 0, 0}}};
  for (const Case& c : cases) {
    FillPage(kPageA);
    EXPECT_EQ(VKR_DrawSprite(kPageA, c.x, c.y, c.z, 0), 1);
    EXPECT_EQ(FootprintOn(kPageA), c.landed) << c.x << ", " << c.y << ", " << c.z;
  }
  for (auto [x, y] : {std::pair{1000, 200}, {-1000, 200}, {200, 1500}, {200, -1000}})
    EXPECT_EQ(VKR_DrawSprite(kPageA, x, y, 50, 0), 0) << x << ", " << y;
}

// Whatever the time or the arguments, nothing outside the two pages' drawn areas changes.
TEST_P(IntroOutputTest, DrawsStayInsideThePages) {
  const int kind = GetParam();
  Start(kind);
  const std::vector<uint8_t> before(base, base + VKR_VIDEO_MEMORY_SIZE);
  std::vector<uint32_t> times = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
  for (uint32_t elapsed = 0; elapsed < 117300; elapsed += 293) times.push_back(elapsed);
  for (uint32_t elapsed : times) VKR_DP_Intro_Paint(elapsed, 117300, kind, 0);
  for (int v : {INT_MIN, -1000000, -33, 0, 33, 1000000, INT_MAX})
    for (int z : {INT_MIN, -63, 0, 100, INT_MAX}) {
      VKR_DrawSprite(kPageA, v, v, z, 2);
      VKR_DrawSprite(kPageB, 0, v, z, 0);
      VKR_DrawSprite(kPageB, v, 0, z, 1);
    }
  for (uint32_t page : {VKR_VIDEO_MEMORY_SIZE - 100, UINT32_MAX})
    EXPECT_EQ(VKR_DrawSprite(page, 100, 100, 50, 0), 0) << page;
  for (int frame : {-1, 3, INT_MAX}) EXPECT_EQ(VKR_DrawSprite(kPageA, 100, 100, 50, frame), 0);

  for (uint32_t i = 0; i < VKR_VIDEO_MEMORY_SIZE; ++i) {
    const bool drawn = (i >= kPageA && i < kPageA + kDrawnBytes) ||
                       (i >= kPageB && i < kPageB + kDrawnBytes);
    if (!drawn && base[i] != before[i]) FAIL() << "offset " << i << " changed";
  }
}

INSTANTIATE_TEST_SUITE_P(Outputs, IntroOutputTest, ::testing::Values(0, 1, 2),
                         [](const auto& info) {
                           return std::string(info.param == 0   ? "LCD"
                                              : info.param == 1 ? "NTSC"
                                                                : "PAL");
                         });

}  // namespace
