// dp_intro.cpp: the intro, the demo's one timed part: 25 depth-scaled sprites morphing between a
// ring and five swinging chains over the background picture, inside a band that fades in, drawn
// alternately into two RGB pages.
#include "dp_intro.h"

#include <algorithm>
#include <cmath>

#include "demo_layout.h"
#include "vkr_lowLevel.h"

std::array<int32_t, 4096> SINT{};
std::array<int32_t, 4096> COST{};

namespace {

int g_bPartIntroInit = 0;  // the first paint has taken over the display layers
int g_bLayerA = 1;         // this paint draws into page A, else page B
int g_bLCD = 1;

// The clear's source operand is the key-colour page; operation 0 ignores it.
constexpr uint32_t kClear = 0;
constexpr uint32_t kCopySkippingKey = 0x40C;
constexpr int kSpriteCount = 25;
constexpr int kFrameCount = kPackSpriteFrames;
constexpr int64_t kPageLines = 480;
constexpr uint32_t kPalLayerLead = 36000;  // 25 lines of 720 pixels: the PAL layer starts above

// Where each output puts the picture (plane A) and the band (region 4); TV lines are field lines.
struct OutputLayout {
  uint16_t planeTop, planeRight, planeBottom;
  uint32_t pictureOffset;
  uint16_t bandTop, bandRight, bandBottom;
};
constexpr OutputLayout kLcdLayout = {0, 319, 240, 0, 40, 319, 198};
constexpr OutputLayout kNtscLayout = {0, 719, 240, 0, 40, 719, 198};
constexpr OutputLayout kPalLayout = {25, 719, 264, kDemoPalPictureOffset, 65, 719, 223};

// Byte offset of each size set (64, 56, ..., 16) in the sprite bank: three s x s frames each.
constexpr std::array<uint32_t, 7> kSetOffsets = [] {
  std::array<uint32_t, 7> offsets{};
  for (uint32_t step = 0; step < offsets.size(); ++step) offsets[step] = PackSpriteSetOffset(step);
  return offsets;
}();

// Past this depth the scale factor throws any sprite that is not at the origin off the page, so
// clamping to it keeps the arithmetic in range without changing what is drawn.
constexpr int64_t kDepthLimit = 1 << 24;

struct Position {
  int x, y, z;
};

int Sn(uint32_t angle) { return SINT[angle & 4095]; }
int Cs(uint32_t angle) { return COST[angle & 4095]; }

const OutputLayout& LayoutOf(int outputKind) {
  return outputKind == 0 ? kLcdLayout : outputKind == 2 ? kPalLayout : kNtscLayout;
}

void TakeOverDisplay(const OutputLayout& layout) {
  VKR_SetYUVVideoPlane(1, 1, 0, layout.planeTop, layout.planeRight, layout.planeBottom,
                       layout.planeBottom, 720, layout.pictureOffset, 0, 0, 0, 0, 0);
  VKR_SetYUVVideoPlaneScaler(1, 1, 1024, 1024);
  VKR_SetYUVVideoPlaneScaler(1, 0, 1024, 1024);
  VKR_SetYUVVideoPlanePriority(1);
  for (uint32_t region = 1; region <= 5; ++region)
    VKR_SetRGBRegionOperation(region, 0, 0, 0, 0, 0, 0, 0, 0);
  VKR_SetRGBRegionColorKey(0xFF00FF);
}

// 0 at the start, opaque (15) from 2820 ms on.
uint16_t BandAlpha(uint32_t elapsedMs) {
  if (elapsedMs > 2999) return 15;
  const uint32_t remaining = 100 - elapsedMs / 30;
  return static_cast<uint16_t>(15 - 15 * remaining / 100);
}

Position RingPosition(uint32_t a, int i) {
  const uint32_t n = static_cast<uint32_t>(i);
  return {240 * Sn((a >> 1) + 130 * n) / 65536 + 360, 240 - 100 * Sn((a >> 1) + 73 * n) / 65536,
          45 * Sn((a >> 2) + 180 * n) / 65536 + 50};
}

// Chain j hangs from (296, 216); link l swings wider and waves more the further out it is.
Position ChainPosition(uint32_t a, int j, int l) {
  const uint32_t chain = static_cast<uint32_t>(j), link = static_cast<uint32_t>(l);
  return {(l + 1) * Cs((a >> 1) + 128 * chain) / 1024 + 296,
          216 - (l + 1) * 25 * Sn((a >> 1) + 4 * chain + 96 * link) / 65536,
          70 * Sn(a + 360 * chain) / 65536 + 50};
}

// weight 4096 is all ring, 0 all chain.
int Blend(int ring, int chain, int weight) {
  return ((ring * weight) / 16 + (chain * (4096 - weight)) / 16) / 256;
}

int FrameAt(uint32_t elapsedMs) { return elapsedMs <= 39099 ? 0 : elapsedMs <= 78199 ? 1 : 2; }

}  // namespace

int VKR_DP_Intro_Init(int outputKind, int) {
  for (int i = 0; i < 2048; ++i) {
    const auto v = static_cast<int32_t>(std::sin(i * 6.28318530718 * 0.000244140625) * 65536.0);
    SINT[i] = v;
    SINT[2048 + i] = -v;
    COST[1024 + i] = v;
    COST[(i + 3072) % 4096] = -v;
  }
  g_bPartIntroInit = 0;
  g_bLayerA = 1;
  g_bLCD = outputKind == 0 ? 1 : 0;
  return 1;
}

int VKR_DP_Intro_Reset() { return 1; }

int VKR_DP_Intro_Paint(uint32_t elapsedMs, uint32_t, int outputKind, int) {
  const OutputLayout& layout = LayoutOf(outputKind);
  if (!g_bPartIntroInit) {
    TakeOverDisplay(layout);
    g_bPartIntroInit = 1;
  }
  const uint32_t page = g_bLayerA ? kDemoPageA : kDemoPageB;

  VKR_SetRGBRegionOperation(4, 1, 1, 1, BandAlpha(elapsedMs), 0, layout.bandTop,
                            layout.bandRight, layout.bandBottom);
  VKR_HwBitBlt(page, 720, 720, 480, kDemoKeyPageBegin, 720, kClear, 0, 0, 0);

  const int weight = (Cs(elapsedMs / 3) + 65536) / 32;
  const int frame = FrameAt(elapsedMs);
  Position sprites[kSpriteCount];
  for (int i = 0; i < kSpriteCount; ++i) {
    const Position ring = RingPosition(elapsedMs, i);
    const Position chain = ChainPosition(elapsedMs, i / 5, i % 5);
    sprites[i] = {Blend(ring.x, chain.x, weight), Blend(ring.y, chain.y, weight),
                  Blend(ring.z, chain.z, weight)};
  }
  for (const Position& sprite : sprites) VKR_DrawSprite(page, sprite.x, sprite.y, sprite.z, frame);

  VKR_SetRGBStartAddress(outputKind == 2 ? page - kPalLayerLead : page);
  g_bLayerA = !g_bLayerA;
  return 0;
}

// Answers 1 when a blit was issued, 0 when the sprite lies wholly off the page or the frame or
// page would take the copy outside the bank or video memory.
int VKR_DrawSprite(uint32_t page, int x, int y, int z, int frame) {
  const int64_t pitch = g_bLCD ? 320 : 720;
  if (frame < 0 || frame >= kFrameCount) return 0;
  if (page > VKR_VIDEO_MEMORY_SIZE - kPageLines * pitch * 2) return 0;

  const int64_t depth = std::clamp<int64_t>(z, -kDepthLimit, kDepthLimit);
  const auto step = static_cast<size_t>(std::clamp<int64_t>(7 * (100 - depth) / 100, 0, 6));
  // On the LCD the loader left each frame reduced to half size in the top-left of its cell.
  const int64_t cell = 64 - 8 * static_cast<int64_t>(step);
  const int64_t size = g_bLCD ? cell >> 1 : cell;
  const int64_t factor = 8 * depth + 500;  // per mille: 0.5 at depth 0, 1.3 at depth 100

  int64_t sx = ((x - (size >> 1)) * factor) / 1000;
  int64_t sy = ((y - (size >> 1)) * factor) / 1000;
  if (g_bLCD) {
    sx = (sx >> 1) - 20;
    sy >>= 1;
  }

  int64_t source = kDemoSpriteBank + kSetOffsets[step] + frame * cell * cell * 2;
  int64_t width = size, height = size;
  if (sx < 0) {
    width = size + sx;
    if (width <= 0) return 0;
    source -= sx * 2;
    sx = 0;
  } else if (sx + size > pitch) {
    width = pitch - sx;
    if (width <= 0) return 0;
  }
  // Lines below 240 of an LCD page are drawn but never shown.
  if (sy < 0) {
    height = size + sy;
    if (height <= 0) return 0;
    source -= sy * cell * 2;
    sy = 0;
  } else if (sy + size > kPageLines) {
    height = kPageLines - sy;
    if (height <= 0) return 0;
  }

  VKR_HwBitBlt(static_cast<uint32_t>(page + (sy * pitch + sx) * 2), static_cast<uint32_t>(pitch),
               static_cast<uint16_t>(width), static_cast<uint16_t>(height),
               static_cast<uint32_t>(source), static_cast<uint32_t>(cell), kCopySkippingKey,
               kDemoKeyColour, 0, 0);
  return 1;
}
