// vkr_basictools.cpp: the demo framework's copy and fill helpers (32-bit word accesses only at
// 4-aligned addresses), the bit-block copies that place bitmaps at any bit of a picture, and
// VKR_OUTPUT_DEBUG, which prints to the debug console and shows it.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "vkr_lowLevel.h"

namespace {

// Word accesses go through memcpy: the addresses are 4-aligned where the callers promise it, and
// memcpy keeps the others defined as well.
void CopyWord(uint8_t* dst, const uint8_t* src) { std::memcpy(dst, src, 4); }
void StoreWord(uint8_t* dst, uint32_t word) { std::memcpy(dst, &word, 4); }

uint32_t Misalignment(const void* at) { return reinterpret_cast<uintptr_t>(at) & 3; }

// One bitmap row into the picture; `first` is the bit of `base` where the row starts and may be
// negative (rows above base with a negative pitch).
void CopyBitRow(uint8_t* base, int64_t first, const uint8_t* row, uint32_t width) {
  uint32_t s = 0;
  int64_t d = first;
  while (s < width) {
    const uint32_t o = s & 7;
    const uint32_t q = static_cast<uint32_t>(d & 7);
    uint8_t* target = base + (d >> 3);
    if (o == 0 && q == 0 && width - s >= 8) {
      // Both byte-aligned: the whole bytes of the run at once.
      const uint32_t bytes = (width - s) / 8;
      std::memcpy(target, row + s / 8, bytes);
      s += bytes * 8;
      d += bytes * 8;
      continue;
    }
    uint32_t n = std::min(8 - o, width - s);
    const uint8_t mask = static_cast<uint8_t>((0xFFu >> (8 - n)) << q);
    const uint8_t bits = static_cast<uint8_t>((row[s / 8] >> o) << q);
    *target = static_cast<uint8_t>((*target & ~mask) | (bits & mask));
    n = std::min(n, 8 - q);
    s += n;
    d += n;
  }
}

uint32_t RowBytes(uint32_t width) { return width / 8 + (width % 8 != 0); }

}  // namespace

void VKR_MEMCPY(void* destination, const void* source, uint32_t count) {
  if (!destination || !source) return;
  uint8_t* dst = static_cast<uint8_t*>(destination);
  const uint8_t* src = static_cast<const uint8_t*>(source);
  if (Misalignment(dst) != Misalignment(src)) {
    for (uint32_t i = 0; i < count; ++i) dst[i] = src[i];
    return;
  }
  const uint32_t head = Misalignment(src) ? std::min(4 - Misalignment(src), count) : 0;
  for (uint32_t i = 0; i < head; ++i) *dst++ = *src++;
  count -= head;
  for (uint32_t words = count / 4; words; --words, dst += 4, src += 4) CopyWord(dst, src);
  for (uint32_t i = 0; i < count % 4; ++i) *dst++ = *src++;
}

void VKR_MEMSET(void* destination, uint32_t value, uint32_t count) {
  if (!destination) return;
  uint8_t* dst = static_cast<uint8_t*>(destination);
  const uint8_t byte = static_cast<uint8_t>(value);
  const uint32_t word = byte * 0x01010101u;
  const uint32_t head = Misalignment(dst) ? std::min(4 - Misalignment(dst), count) : 0;
  for (uint32_t i = 0; i < head; ++i) *dst++ = byte;
  count -= head;
  for (uint32_t words = count / 4; words; --words, dst += 4) StoreWord(dst, word);
  for (uint32_t i = 0; i < count % 4; ++i) *dst++ = byte;
}

void VKR_FAST_MEMSET(void* destination, uint32_t value, uint32_t count) {
  if (!destination) return;
  uint8_t* dst = static_cast<uint8_t*>(destination);
  for (uint32_t words = count / 4; words; --words, dst += 4) StoreWord(dst, value);
}

void VKR_MEMORY_XFER_32BIT_FUNC(const void* source, void* destination, uint32_t count) {
  if (!destination || !source) return;
  uint8_t* dst = static_cast<uint8_t*>(destination);
  const uint8_t* src = static_cast<const uint8_t*>(source);
  // Word by word in ascending order, also when the ranges overlap.
  for (uint32_t words = count / 4; words; --words, dst += 4, src += 4) {
    uint32_t word;
    std::memcpy(&word, src, 4);
    StoreWord(dst, word);
  }
}

void VKR_BLKMEMCPY(uint8_t* destination, uint32_t bitOffset, int32_t pitch, const uint8_t* bitmap,
                   uint32_t width, uint32_t height) {
  if (!destination || !bitmap) return;
  uint8_t* base = destination + bitOffset / 8;
  int64_t first = bitOffset % 8;
  const uint32_t rowBytes = RowBytes(width);
  for (uint32_t r = 0; r < height; ++r, bitmap += rowBytes, first += pitch)
    CopyBitRow(base, first, bitmap, width);
}

void VKR_BLKMEMCPY_INTERLACE(uint8_t* evenDestination, uint8_t* oddDestination, uint32_t bitOffset,
                             int32_t pitch, const uint8_t* bitmap, uint32_t width,
                             uint32_t height) {
  if (!evenDestination || !oddDestination || !bitmap) return;
  uint8_t* const bases[2] = {evenDestination + bitOffset / 8, oddDestination + bitOffset / 8};
  int64_t first[2] = {bitOffset % 8, bitOffset % 8};
  const uint32_t rowBytes = RowBytes(width);
  for (uint32_t r = 0; r < height; ++r, bitmap += rowBytes) {
    const uint32_t field = r & 1;
    CopyBitRow(bases[field], first[field], bitmap, width);
    first[field] += pitch;
  }
}

uint32_t VKR_OUTPUT_DEBUG(uint32_t drawMode, uint32_t videoOffset, const char* format, ...) {
  if (!format) return VKR_BAD_ARGUMENT;
  // Bounded: a longer message is cut at 159 characters.
  char message[160];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  if (length < 0) message[0] = '\0';
  VKR_DbgPrint("%s", message);
  const uint32_t drawn = VKR_DbgDrawScr(drawMode, videoOffset);
#if defined(VKR_BACKEND_DESKTOP)
  if (drawn != VKR_OK) return drawn;
  return VKR_LowLevelAPI_SoftRender();
#else
  return drawn;
#endif
}
