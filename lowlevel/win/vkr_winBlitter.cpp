// vkr_winBlitter.cpp: the desktop back end's blitter and rotator, done in software on video memory
// when called: sixteen raster operations on 16- or 8-bit pixels with colour key and one-bit
// expansion, and copies turned by quarter turns. No access leaves the 8 MiB block.
#include <algorithm>
#include <bit>
#include <cstring>

#include "vkr_winState.h"

static_assert(std::endian::native == std::endian::little,
              "video memory holds little-endian words; loads and stores here are native");

namespace {

constexpr uint64_t kVideoEnd = VKR_VIDEO_MEMORY_SIZE;
// Compared with a zero-extended pixel it never matches: the key when transparency is off.
constexpr uint32_t kNoKey = 0x10000;

using RasterOp = uint16_t (*)(uint16_t source, uint16_t destination);

// Result bit = bit (2 x source bit + destination bit) of the operation number.
constexpr uint16_t BlitterOp_0(uint16_t, uint16_t) { return 0; }
constexpr uint16_t BlitterOp_1(uint16_t s, uint16_t d) { return static_cast<uint16_t>(~(s | d)); }
constexpr uint16_t BlitterOp_2(uint16_t s, uint16_t d) { return static_cast<uint16_t>(~s & d); }
constexpr uint16_t BlitterOp_3(uint16_t s, uint16_t) { return static_cast<uint16_t>(~s); }
constexpr uint16_t BlitterOp_4(uint16_t s, uint16_t d) { return static_cast<uint16_t>(s & ~d); }
constexpr uint16_t BlitterOp_5(uint16_t, uint16_t d) { return static_cast<uint16_t>(~d); }
constexpr uint16_t BlitterOp_6(uint16_t s, uint16_t d) { return static_cast<uint16_t>(s ^ d); }
constexpr uint16_t BlitterOp_7(uint16_t s, uint16_t d) { return static_cast<uint16_t>(~(s & d)); }
constexpr uint16_t BlitterOp_8(uint16_t s, uint16_t d) { return static_cast<uint16_t>(s & d); }
constexpr uint16_t BlitterOp_9(uint16_t s, uint16_t d) { return static_cast<uint16_t>(~(s ^ d)); }
constexpr uint16_t BlitterOp_A(uint16_t, uint16_t d) { return d; }
constexpr uint16_t BlitterOp_B(uint16_t s, uint16_t d) { return static_cast<uint16_t>(~s | d); }
constexpr uint16_t BlitterOp_C(uint16_t s, uint16_t) { return s; }
constexpr uint16_t BlitterOp_D(uint16_t s, uint16_t d) { return static_cast<uint16_t>(s | ~d); }
constexpr uint16_t BlitterOp_E(uint16_t s, uint16_t d) { return static_cast<uint16_t>(s | d); }
constexpr uint16_t BlitterOp_F(uint16_t, uint16_t) { return 0xFFFF; }

// What one call hands every row: the key (kNoKey when off), the expansion colours (background,
// foreground) and the byte a fill stores.
struct BlitColours {
  uint32_t key;
  uint16_t expansion[2];
  uint8_t fillByte;
};

using RowFn = void (*)(uint8_t* dst, const uint8_t* src, uint32_t count,
                       const BlitColours& colours);

// Pixels may sit at any byte offset: every access goes through memcpy.
template <typename Pixel>
Pixel Load(const uint8_t* at) {
  Pixel value;
  std::memcpy(&value, at, sizeof(Pixel));
  return value;
}
template <typename Pixel>
void Store(uint8_t* at, Pixel value) {
  std::memcpy(at, &value, sizeof(Pixel));
}

// Pixel by pixel in place, source read before destination: exact even for overlapping rows.
// A keyed pixel gets its own value back.
template <typename Pixel, RasterOp Op>
void CombineRow(uint8_t* dst, const uint8_t* src, uint32_t count, const BlitColours& colours) {
  const uint32_t key = colours.key;
  for (uint32_t i = 0; i < count; ++i, dst += sizeof(Pixel), src += sizeof(Pixel)) {
    const Pixel s = Load<Pixel>(src);
    const Pixel d = Load<Pixel>(dst);
    Store<Pixel>(dst, s == key ? d : static_cast<Pixel>(Op(s, d)));
  }
}

// The source row is a bit map: one source pixel's worth of bits (16 or 8) colours that many
// destination pixels, bit k giving pixel k of the group.
template <typename Pixel, RasterOp Op>
void ExpandRow(uint8_t* dst, const uint8_t* src, uint32_t count, const BlitColours& colours) {
  constexpr uint32_t kGroup = 8 * sizeof(Pixel);
  const Pixel choice[2] = {static_cast<Pixel>(colours.expansion[0]),
                           static_cast<Pixel>(colours.expansion[1])};
  const uint32_t key = colours.key;
  for (uint32_t first = 0; first < count; first += kGroup, src += sizeof(Pixel)) {
    const uint32_t bits = Load<Pixel>(src);
    const uint32_t inGroup = std::min(count - first, kGroup);
    for (uint32_t k = 0; k < inGroup; ++k, dst += sizeof(Pixel)) {
      const Pixel colour = choice[(bits >> k) & 1];
      const Pixel d = Load<Pixel>(dst);
      Store<Pixel>(dst, colour == key ? d : static_cast<Pixel>(Op(colour, d)));
    }
  }
}

template <typename Pixel>
void FillRow(uint8_t* dst, const uint8_t*, uint32_t count, const BlitColours& colours) {
  std::memset(dst, colours.fillByte, size_t{count} * sizeof(Pixel));
}

// A row whose destination starts at or before its source, or does not overlap it, can be read a
// block ahead of the writes and still give the pixel-by-pixel result.
bool BlockSafe(const uint8_t* dst, const uint8_t* src, size_t bytes) {
  return dst <= src || dst >= src + bytes;
}

template <typename Pixel>
void CopyRow(uint8_t* dst, const uint8_t* src, uint32_t count, const BlitColours& colours) {
  const size_t bytes = size_t{count} * sizeof(Pixel);
  if (BlockSafe(dst, src, bytes))
    std::memmove(dst, src, bytes);
  else
    CombineRow<Pixel, BlitterOp_C>(dst, src, count, colours);
}

// Eight pixels at a time through local blocks, so the select compiles to vector compares.
template <typename Pixel>
void KeyedCopyRow(uint8_t* dst, const uint8_t* src, uint32_t count, const BlitColours& colours) {
  constexpr uint32_t kBlock = 8;
  constexpr size_t kBlockBytes = kBlock * sizeof(Pixel);
  if (!BlockSafe(dst, src, size_t{count} * sizeof(Pixel))) {
    CombineRow<Pixel, BlitterOp_C>(dst, src, count, colours);
    return;
  }
  const Pixel key = static_cast<Pixel>(colours.key);
  uint32_t i = 0;
  for (; i + kBlock <= count; i += kBlock, dst += kBlockBytes, src += kBlockBytes) {
    Pixel s[kBlock], d[kBlock];
    std::memcpy(s, src, kBlockBytes);
    std::memcpy(d, dst, kBlockBytes);
    for (uint32_t k = 0; k < kBlock; ++k) d[k] = s[k] == key ? d[k] : s[k];
    std::memcpy(dst, d, kBlockBytes);
  }
  CombineRow<Pixel, BlitterOp_C>(dst, src, count - i, colours);
}

// An operation's row loops, each with the operation inlined, and whether it reads the source.
struct RasterOpEntry {
  bool readsSource;
  RowFn combine16, combine8, expand16, expand8;
};

template <RasterOp Op>
constexpr RasterOpEntry EntryOf() {
  const bool readsSource = Op(0, 0) != Op(0xFFFF, 0) || Op(0, 0xFFFF) != Op(0xFFFF, 0xFFFF);
  return {readsSource, CombineRow<uint16_t, Op>, CombineRow<uint8_t, Op>, ExpandRow<uint16_t, Op>,
          ExpandRow<uint8_t, Op>};
}

constexpr RasterOpEntry kRasterOps[16] = {
    EntryOf<BlitterOp_0>(), EntryOf<BlitterOp_1>(), EntryOf<BlitterOp_2>(), EntryOf<BlitterOp_3>(),
    EntryOf<BlitterOp_4>(), EntryOf<BlitterOp_5>(), EntryOf<BlitterOp_6>(), EntryOf<BlitterOp_7>(),
    EntryOf<BlitterOp_8>(), EntryOf<BlitterOp_9>(), EntryOf<BlitterOp_A>(), EntryOf<BlitterOp_B>(),
    EntryOf<BlitterOp_C>(), EntryOf<BlitterOp_D>(), EntryOf<BlitterOp_E>(), EntryOf<BlitterOp_F>(),
};

constexpr uint32_t kOpMask = 0xFF;
constexpr uint32_t kBytePixelsFlag = 0x100;
constexpr uint32_t kExpandFlag = 0x200;
constexpr uint32_t kTransparencyMask = 0xFC00;
constexpr uint32_t kClearOp = 0x0, kKeepOp = 0xA, kCopyOp = 0xC, kSetOp = 0xF;

// Whole pixels from `offset` to the end of video memory.
uint64_t PixelsBeforeEnd(uint64_t offset, uint32_t pixelBytes) {
  return offset < kVideoEnd ? (kVideoEnd - offset) / pixelBytes : 0;
}

template <uint32_t PixelBytes>
void RotateCopy(uint8_t* base, uint64_t dstOffset, uint64_t dstRowBytes, uint32_t dstColumns,
                uint32_t dstRows, int64_t srcOrigin, int64_t srcStepColumn, int64_t srcStepRow) {
  for (uint32_t r = 0; r < dstRows; ++r) {
    const uint64_t dstRow = dstOffset + r * dstRowBytes;
    int64_t src = srcOrigin + r * srcStepRow;
    for (uint32_t c = 0; c < dstColumns; ++c, src += srcStepColumn) {
      const uint64_t dst = dstRow + uint64_t{c} * PixelBytes;
      if (dst + PixelBytes <= kVideoEnd && static_cast<uint64_t>(src) + PixelBytes <= kVideoEnd)
        std::memcpy(base + dst, base + src, PixelBytes);
    }
  }
}

using RotateFn = void (*)(uint8_t*, uint64_t, uint64_t, uint32_t, uint32_t, int64_t, int64_t,
                          int64_t);
constexpr RotateFn kRotateOfPixelBytes[4] = {nullptr, RotateCopy<1>, RotateCopy<2>, RotateCopy<3>};

}  // namespace

uint32_t VKR_HwBitBlt(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                      uint32_t srcOffset, uint32_t srcPitch, uint32_t flags, uint16_t colorKey,
                      uint16_t background, uint16_t foreground) {
  const uint32_t opNumber = flags & kOpMask;
  if (opNumber > 15) return VKR_BAD_ARGUMENT;
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (opNumber == kKeepOp) return VKR_OK;

  const bool bytePixels = flags & kBytePixelsFlag;
  const uint32_t pixelBytes = bytePixels ? 1 : 2;
  // In 8-bit mode a key above 255 never matches: transparency then changes nothing.
  const bool keyed = (flags & kTransparencyMask) && colorKey <= (bytePixels ? 0xFFu : 0xFFFFu);
  const RasterOpEntry& entry = kRasterOps[opNumber];
  const bool readsSource = entry.readsSource || keyed;
  const bool expand = (flags & kExpandFlag) && readsSource;
  const BlitColours colours = {keyed ? colorKey : kNoKey,
                               {background, foreground},
                               static_cast<uint8_t>(opNumber == kSetOp ? 0xFF : 0)};

  RowFn row;
  if (!readsSource && (opNumber == kClearOp || opNumber == kSetOp))
    row = bytePixels ? FillRow<uint8_t> : FillRow<uint16_t>;
  else if (opNumber == kCopyOp && !expand && keyed)
    row = bytePixels ? KeyedCopyRow<uint8_t> : KeyedCopyRow<uint16_t>;
  else if (opNumber == kCopyOp && !expand)
    row = bytePixels ? CopyRow<uint8_t> : CopyRow<uint16_t>;
  else if (expand)
    row = bytePixels ? entry.expand8 : entry.expand16;
  else
    row = bytePixels ? entry.combine8 : entry.combine16;

  // Rows back to back in both operands form one long row, processed in the same order.
  uint64_t rowPixels = width, rows = height;
  if (!expand && dstPitch == width && (!readsSource || srcPitch == width)) {
    rowPixels *= rows;
    rows = rowPixels ? 1 : 0;
  }
  const uint64_t dstRowBytes = uint64_t{dstPitch} * pixelBytes;
  const uint64_t srcRowBytes = uint64_t{srcPitch} * pixelBytes;
  const uint32_t pixelsPerSourceUnit = expand ? 8 * pixelBytes : 1;
  uint8_t* const base = g_GP2X_VIDEO_BASE_PTR;

  // Each row is cut at the first pixel whose destination, or whose source when it is read, would
  // pass the end of video memory; rows only move forward, so the first empty row ends the blit.
  for (uint64_t r = 0; r < rows; ++r) {
    const uint64_t dst = dstOffset + r * dstRowBytes;
    // An operation that ignores the source gets the destination in its place, already clipped.
    const uint64_t src = readsSource ? srcOffset + r * srcRowBytes : dst;
    const uint64_t count = std::min({rowPixels, PixelsBeforeEnd(dst, pixelBytes),
                                     PixelsBeforeEnd(src, pixelBytes) * pixelsPerSourceUnit});
    if (count == 0) break;
    row(base + dst, base + src, static_cast<uint32_t>(count), colours);
  }
  return VKR_OK;
}

uint32_t VKR_HwBitBltRotate(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                            uint32_t srcOffset, uint32_t srcPitch, uint32_t flags) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const uint32_t pixelBytes = flags <= 3 ? 1 : flags <= 7 ? 2 : 3;
  const uint32_t turn = flags & 3;
  const bool sideways = turn & 1;
  const int64_t b = pixelBytes;
  const int64_t line = int64_t{srcPitch} * b;
  const int64_t w = width, h = height;
  // Source address of destination pixel (0, 0) and its steps along a destination row and down a
  // destination column.
  int64_t origin = srcOffset, stepColumn = b, stepRow = line;
  switch (turn) {
    case 1:  // destination (c, r) = source (r, H - 1 - c)
      origin += (h - 1) * line, stepColumn = -line, stepRow = b;
      break;
    case 2:  // destination (c, r) = source (W - 1 - c, H - 1 - r)
      origin += (h - 1) * line + (w - 1) * b, stepColumn = -b, stepRow = -line;
      break;
    case 3:  // destination (c, r) = source (W - 1 - r, c)
      origin += (w - 1) * b, stepColumn = line, stepRow = -b;
      break;
  }
  kRotateOfPixelBytes[pixelBytes](g_GP2X_VIDEO_BASE_PTR, dstOffset, uint64_t{dstPitch} * pixelBytes,
                                  sideways ? height : width, sideways ? width : height, origin,
                                  stepColumn, stepRow);
  return VKR_OK;
}

uint32_t VKR_WaitHwBlitter(uint32_t) { return VKR_OK; }
