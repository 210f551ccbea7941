// resource_pack.cpp: resource.dat read straight into video memory: the background picture on
// page 0 (50 lines lower on PAL), the sprite bank on page 4, both reduced in place for the LCD,
// and the key-colour page filled with magenta.
#include "resource_pack.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

uint16_t Word(const uint8_t* base, uint32_t index) {
  return static_cast<uint16_t>(base[2 * index] | base[2 * index + 1] << 8);
}
void SetWord(uint8_t* base, uint32_t index, uint16_t value) {
  base[2 * index] = static_cast<uint8_t>(value);
  base[2 * index + 1] = static_cast<uint8_t>(value >> 8);
}

// Each s x s frame keeps every other pixel of every other row in its top-left quarter. Rows run
// outermost, so every source pixel is read before it is overwritten.
void ReduceSpriteSet(uint8_t* set, uint32_t size) {
  for (uint32_t frame = 0; frame < 3; ++frame) {
    uint8_t* pixels = set + frame * 2 * size * size;
    for (uint32_t j = 0; j < size / 2; ++j)
      for (uint32_t k = 0; k < size / 2; ++k)
        SetWord(pixels, j * size + k, Word(pixels, 2 * j * size + 2 * k));
  }
}

// 720 x 480 to 320 x 240 in place, line pitch kept at 720: luma the mean of a 2 x 2 block, chroma
// from its top-left pixel; even output columns take an even source pixel (Cb), odd ones an odd
// one (Cr).
void ReduceBackground(uint8_t* picture) {
  for (uint32_t r = 0; r < 240; ++r) {
    for (uint32_t x = 0; x < 320; ++x) {
      const uint32_t c = 2 * x + (x & 1) + 20;
      const uint32_t top = 2 * r * 720, below = (2 * r + 1) * 720;
      const uint32_t sum = (Word(picture, top + c) & 0xFF) + (Word(picture, below + c) & 0xFF) +
                           (Word(picture, top + c + 1) & 0xFF) +
                           (Word(picture, below + c + 1) & 0xFF);
      SetWord(picture, r * 720 + x,
              static_cast<uint16_t>((Word(picture, top + c) & 0xFF00) + (sum >> 2)));
    }
  }
}

}  // namespace

bool VKR_ResourcePack_Load(uint8_t* base, int outputKind) {
  if (!base) return false;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen("resource.dat", "rb"));
  if (!file) return false;
  const bool lcd = outputKind == 0;

  size_t found = std::fread(base + (outputKind == 2 ? kDemoPalPictureOffset : 0), 1, kPackPictureBytes,
                            file.get());
  uint32_t setOffset = kDemoSpriteBank;
  for (uint32_t size : kPackSpriteSizes) {
    const uint32_t setBytes = PackSpriteSetBytes(size);
    found += std::fread(base + setOffset, 1, setBytes, file.get());
    if (lcd) ReduceSpriteSet(base + setOffset, size);
    setOffset += setBytes;
  }
  file.reset();
  if (found < kResourcePackBytes)
    std::fprintf(stderr,
                 "resource.dat is short: %zu bytes found, %u expected; the rest of the picture "
                 "and sprites keeps what video memory held\n",
                 found, kResourcePackBytes);
  if (lcd) ReduceBackground(base);
  for (uint32_t offset = kDemoKeyPageBegin; offset < kDemoKeyPageEnd; offset += 2)
    SetWord(base, offset / 2, kDemoKeyColour);
  return true;
}
