// demo_layout.h: the demo's fixed numbers, named once for the demo and the tools that make its
// data: how it lays out video memory (pages, key page, sprite bank, the overlays' pictures), the
// layout of resource.dat, and the timeline of its one part.
#pragma once

#include <array>
#include <cstdint>

// ---- resource.dat -----------------------------------------------------------------------------
// A 720 x 480 packed 4:2:2 picture, then seven sprite sets of three square RGB565 frames each,
// largest first; sprite pixels of the key colour are transparent.
inline constexpr uint32_t kPackPictureWidth = 720, kPackPictureHeight = 480;
inline constexpr uint32_t kPackPictureBytes = kPackPictureWidth * kPackPictureHeight * 2;
inline constexpr std::array<uint32_t, 7> kPackSpriteSizes = {64, 56, 48, 40, 32, 24, 16};
inline constexpr uint32_t kPackSpriteFrames = 3;
inline constexpr uint16_t kDemoKeyColour = 0xF81F;

// Bytes of one sprite set, and of the sets before set `index` (its offset in the sprite bank).
constexpr uint32_t PackSpriteSetBytes(uint32_t size) { return kPackSpriteFrames * 2 * size * size; }
constexpr uint32_t PackSpriteSetOffset(uint32_t index) {
  uint32_t offset = 0;
  for (uint32_t i = 0; i < index; ++i) offset += PackSpriteSetBytes(kPackSpriteSizes[i]);
  return offset;
}
inline constexpr uint32_t kResourcePackBytes =
    kPackPictureBytes + PackSpriteSetOffset(kPackSpriteSizes.size());
static_assert(kResourcePackBytes == 769152);

// ---- Video memory -----------------------------------------------------------------------------
// Video pages of 720 x 576 RGB565 pixels. Page 0 holds the picture (50 lines lower on PAL), pages
// 1 and 2 the intro's two RGB pages, page 3 the key-colour page (a picture's worth of magenta),
// page 4 the sprite bank. The overlays keep their pictures at the very end.
inline constexpr uint32_t kDemoPageBytes = 720 * 576 * 2;
inline constexpr uint32_t kDemoPageA = 1 * kDemoPageBytes;
inline constexpr uint32_t kDemoPageB = 2 * kDemoPageBytes;
inline constexpr uint32_t kDemoKeyPageBegin = 3 * kDemoPageBytes;
inline constexpr uint32_t kDemoKeyPageEnd = kDemoKeyPageBegin + kPackPictureBytes;
inline constexpr uint32_t kDemoSpriteBank = 4 * kDemoPageBytes;
inline constexpr uint32_t kDemoPalPictureOffset = 50 * 720 * 2;  // 50 lines of the picture
inline constexpr uint32_t kDemoOverlayPictures = 0x7F4800;       // to the end of video memory
static_assert(kDemoPageA == 829440 && kDemoKeyPageBegin == 0x25F800 &&
              kDemoKeyPageEnd == 0x308400 && kDemoSpriteBank == 0x32A000);

// ---- Timeline ---------------------------------------------------------------------------------
// The intro runs from 0 up to 117.3 s of the demo clock.
inline constexpr uint32_t kDemoPartStartMs = 0;
inline constexpr uint32_t kDemoPartEndMs = 117300;
