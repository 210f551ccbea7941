// Byte layout of resource.dat as the maker uses it, from the demo's own layout (demo_layout.h):
// the 720 x 480 packed 4:2:2 background, then seven sprite sets of three RGB565 frames each.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "demo_layout.h"

namespace mkresource {

// The demo's numbers in the forms the maker computes with.
inline constexpr int kPictureWidth = kPackPictureWidth;
inline constexpr int kPictureHeight = kPackPictureHeight;
inline constexpr std::size_t kPictureLineBytes = kPictureWidth * 2;
inline constexpr std::size_t kPictureBytes = kPackPictureBytes;

inline constexpr int kSpriteSetCount = static_cast<int>(kPackSpriteSizes.size());
inline constexpr std::array<int, kSpriteSetCount> kSpriteSizes = [] {
  std::array<int, kSpriteSetCount> sizes{};
  for (int i = 0; i < kSpriteSetCount; ++i) sizes[i] = static_cast<int>(kPackSpriteSizes[i]);
  return sizes;
}();
inline constexpr int kSpriteFrames = kPackSpriteFrames;
inline constexpr std::uint16_t kSpriteKey = kDemoKeyColour;

constexpr std::size_t SpriteFrameBytes(int size) { return 2u * size * size; }

// File offset of the sprite set with the given index into kSpriteSizes.
constexpr std::size_t SpriteSetOffset(int set_index) {
  return kPictureBytes + PackSpriteSetOffset(static_cast<uint32_t>(set_index));
}

inline constexpr std::size_t kPackBytes = kResourcePackBytes;

static_assert(kPictureBytes == 691200);
static_assert(SpriteSetOffset(1) == 715776 && SpriteSetOffset(6) == 767616);
static_assert(kPackBytes == 769152);

}  // namespace mkresource
