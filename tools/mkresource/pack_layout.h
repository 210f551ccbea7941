// Byte layout of resource.dat: the 720 x 480 packed 4:2:2 background, then seven sprite sets of
// three RGB565 frames each, largest first. The demo's loader relies on these exact offsets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace mkresource {

inline constexpr int kPictureWidth = 720;
inline constexpr int kPictureHeight = 480;
inline constexpr std::size_t kPictureLineBytes = kPictureWidth * 2;
inline constexpr std::size_t kPictureBytes = kPictureLineBytes * kPictureHeight;

inline constexpr int kSpriteSetCount = 7;
inline constexpr std::array<int, kSpriteSetCount> kSpriteSizes = {64, 56, 48, 40, 32, 24, 16};
inline constexpr int kSpriteFrames = 3;
inline constexpr std::uint16_t kSpriteKey = 0xF81F;

constexpr std::size_t SpriteFrameBytes(int size) { return 2u * size * size; }

// File offset of the sprite set with the given index into kSpriteSizes.
constexpr std::size_t SpriteSetOffset(int set_index) {
  std::size_t offset = kPictureBytes;
  for (int i = 0; i < set_index; ++i) offset += kSpriteFrames * SpriteFrameBytes(kSpriteSizes[i]);
  return offset;
}

inline constexpr std::size_t kPackBytes = SpriteSetOffset(kSpriteSetCount);

static_assert(kPictureBytes == 691200);
static_assert(SpriteSetOffset(1) == 715776 && SpriteSetOffset(6) == 767616);
static_assert(kPackBytes == 769152);

}  // namespace mkresource
