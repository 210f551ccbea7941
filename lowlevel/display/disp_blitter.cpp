// disp_blitter.cpp: the blitter and rotator in software: sixteen raster operations on 16- or 8-bit
// pixels with colour key and one-bit expansion, and copies turned by quarter turns. No access
// leaves the 8 MiB block.
#include <algorithm>
#include <bit>
#include <cstring>

#include "disp_blitter.h"
#include "disp_model.h"

static_assert(std::endian::native == std::endian::little,
              "video memory holds little-endian words; loads and stores here are native");

namespace {

constexpr uint64_t kVideoEnd = DISP_VIDEO_MEMORY_SIZE;
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

bool DISP_Blit(const DISP_BlitOp& op, uint8_t* video) {
  const uint32_t opNumber = op.rasterOp;
  if (opNumber > 15 || (op.pixelBytes != 1 && op.pixelBytes != 2)) return false;
  if (opNumber == kKeepOp) return true;

  const bool bytePixels = op.pixelBytes == 1;
  const uint32_t pixelBytes = op.pixelBytes;
  // In 8-bit mode a key above 255 never matches: transparency then changes nothing.
  const bool keyed = op.transparent && op.colorKey <= (bytePixels ? 0xFFu : 0xFFFFu);
  const RasterOpEntry& entry = kRasterOps[opNumber];
  const bool readsSource = entry.readsSource || keyed;
  const bool expand = op.expand && readsSource;
  const BlitColours colours = {keyed ? op.colorKey : kNoKey,
                               {op.background, op.foreground},
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
  const uint64_t widthBytes = uint64_t{op.width} * pixelBytes;
  uint64_t rowPixels = op.width, rows = op.height;
  if (!expand && op.dstRowBytes == widthBytes && (!readsSource || op.srcRowBytes == widthBytes)) {
    rowPixels *= rows;
    rows = rowPixels ? 1 : 0;
  }
  const uint32_t pixelsPerSourceUnit = expand ? 8 * pixelBytes : 1;

  // Each row is cut at the first pixel whose destination, or whose source when it is read, would
  // pass the end of video memory; rows only move forward, so the first empty row ends the blit.
  for (uint64_t r = 0; r < rows; ++r) {
    const uint64_t dst = op.dstOffset + r * op.dstRowBytes;
    // An operation that ignores the source gets the destination in its place, already clipped.
    const uint64_t src = readsSource ? op.srcOffset + r * op.srcRowBytes : dst;
    const uint64_t count = std::min({rowPixels, PixelsBeforeEnd(dst, pixelBytes),
                                     PixelsBeforeEnd(src, pixelBytes) * pixelsPerSourceUnit});
    if (count == 0) break;
    row(video + dst, video + src, static_cast<uint32_t>(count), colours);
  }
  return true;
}

bool DISP_Rotate(const DISP_RotateOp& op, uint8_t* video) {
  if (op.pixelBytes < 1 || op.pixelBytes > 3) return false;
  const uint32_t turn = op.turn & 3;
  const bool sideways = turn & 1;
  const int64_t b = op.pixelBytes;
  const int64_t line = static_cast<int64_t>(op.srcRowBytes);
  const int64_t w = op.width, h = op.height;
  // Source address of destination pixel (0, 0) and its steps along a destination row and down a
  // destination column.
  int64_t origin = op.srcOffset, stepColumn = b, stepRow = line;
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
  kRotateOfPixelBytes[op.pixelBytes](video, op.dstOffset, op.dstRowBytes,
                                     sideways ? op.height : op.width,
                                     sideways ? op.width : op.height, origin, stepColumn, stepRow);
  return true;
}
