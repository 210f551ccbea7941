// disp_records.h: the records that steer the OSD and sub-picture layers, as they lie in video
// memory: OSD area headers (little-endian words) and the sub-picture base command, change-command
// and highlight records (big-endian words). Each is defined here once, with the bounded accesses
// of video memory that writers and readers share.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "disp_model.h"

// [offset, offset + size) lies inside video memory, for any signed offset and size.
inline bool DISP_InVideoMemory(int64_t offset, int64_t size) {
  return offset >= 0 && size >= 0 && offset <= int64_t{DISP_VIDEO_MEMORY_SIZE} - size;
}

// Words at any byte offset; the caller has checked the bounds.
inline uint32_t DISP_ReadLE32(const uint8_t* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}
inline uint32_t DISP_ReadBE32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3];
}

// ---- OSD area header: three little-endian words, the palette indices follow ----------------
struct DISP_OSDHeaderWords {
  uint32_t next;     // next header offset
  uint32_t area;     // bottom 0-10, top 11-20, alpha 22-25, alpha enable 26, size code 28-29,
                     // compressed 30, last 31
  uint32_t columns;  // right 0-10, left 11-20, key index 22-29, key enable 30
};
inline constexpr uint32_t kDISP_OSDHeaderBytes = 12;
static_assert(sizeof(DISP_OSDHeaderWords) == kDISP_OSDHeaderBytes);

struct DISP_OSDHeader {
  uint32_t next;
  uint32_t top, bottom;  // lines, bottom exclusive
  uint32_t left, right;  // columns, right inclusive
  uint32_t alpha;        // 0 to 15
  uint32_t alphaEnable, keyEnable, compressed, last;
  uint32_t sizeCode;  // 0: 2 bits a pixel, 1: 4, 2: 8, 3: 16 (never written)
  uint32_t keyIndex;
};

void DISP_WriteOSDHeader(uint8_t* at, const DISP_OSDHeader& header);
DISP_OSDHeader DISP_ReadOSDHeader(const uint8_t* at);

// ---- Sub-picture records: big-endian words; two 16-bit values share a word, first one high ---
// Base command: line bytes + change commands present (bit 0); colour word, contrast word; left,
// right; top, bottom; even-line data; odd-line data; change list offset.
struct DISP_SPUBaseCmdWords {
  uint32_t lineBytesAndChanges, colorContrast, columns, lines, evenLineData, oddLineData,
      changeList;
};
inline constexpr uint32_t kDISP_SPUBaseCmdBytes = 28;
static_assert(sizeof(DISP_SPUBaseCmdWords) == kDISP_SPUBaseCmdBytes);

// OSD headers and sub-picture base commands decoded into copies for one composition (a back end
// whose records in video memory are in another form): the compositor reads a record at an offset
// listed here from its copy, never the program's memory.
struct DISP_RecordCopy {
  uint32_t offset;
  std::array<uint8_t, kDISP_SPUBaseCmdBytes> bytes;  // room for the larger of the two records
};
struct DISP_RecordCopies {
  const DISP_RecordCopy* copies = nullptr;
  size_t count = 0;
};

struct DISP_SPUBaseCmd {
  uint32_t lineBytes;  // bytes of one output line, even
  uint32_t changeCmdPresent;
  uint16_t colorWord, contrastWord;
  uint16_t left, right, top, bottom;
  uint32_t evenLineData, oddLineData;  // nibble streams, byte offsets
  uint32_t changeListOffset;
};

// Change command: a header word (line start 16-31, entry count 12-15, line end 0-11), then per
// entry its colour and contrast words and its columns. The list ends with kDISP_SPUListEnd.
struct DISP_SPUChangeEntryWords {
  uint32_t colorContrast, columns;
};
inline constexpr uint32_t kDISP_SPUChangeHeaderBytes = 4;
inline constexpr uint32_t kDISP_SPUChangeEntryBytes = 8;
static_assert(sizeof(DISP_SPUChangeEntryWords) == kDISP_SPUChangeEntryBytes);
inline constexpr uint32_t kDISP_SPUListEnd = 0xFFFFFFFF;
inline constexpr uint32_t kDISP_SPUMaxEntries = 15;

struct DISP_SPUChangeHeader {
  uint16_t lineStart, lineEnd, count;
};
struct DISP_SPUChangeEntry {
  uint16_t colorWord, contrastWord;
  uint16_t left, right;  // inclusive columns
};

// Highlight: left, right; top, bottom; colour word, contrast word.
struct DISP_SPUHighlightWords {
  uint32_t columns, lines, colorContrast;
};
inline constexpr uint32_t kDISP_SPUHighlightBytes = 12;
static_assert(sizeof(DISP_SPUHighlightWords) == kDISP_SPUHighlightBytes);

struct DISP_SPUHighlight {
  uint16_t left, right, top, bottom;
  uint16_t colorWord, contrastWord;
};

void DISP_WriteSPUBaseCmd(uint8_t* at, const DISP_SPUBaseCmd& record);
DISP_SPUBaseCmd DISP_ReadSPUBaseCmd(const uint8_t* at);
void DISP_WriteSPUChangeHeader(uint8_t* at, const DISP_SPUChangeHeader& header);
DISP_SPUChangeHeader DISP_ReadSPUChangeHeader(uint32_t word);
void DISP_WriteSPUChangeEntry(uint8_t* at, const DISP_SPUChangeEntry& entry);
DISP_SPUChangeEntry DISP_ReadSPUChangeEntry(const uint8_t* at);
void DISP_WriteSPUListEnd(uint8_t* at);

// A whole change list as the library's writers take it: the header at the aligned offset, `count`
// entries from the four arrays, and the list end when `terminate` is set.
struct DISP_SPUChangeList {
  uint32_t offset;
  uint32_t terminate;
  uint16_t lineStart, lineEnd, count;
  const uint16_t *left, *right, *colorWords, *contrastWords;
};
// The record writers' argument checks, the same in both back ends. A writer makes them before it
// looks at anything else, so a bad call answers 4 whether or not the library has started: the
// checks need no state, and an error found in the call is more use to its caller than "not
// started".
//
// False when the count passes the record's field, an array is null while entries are asked for,
// or the list would not fit inside video memory.
bool DISP_SPUChangeListFits(const DISP_SPUChangeList& list);
// The OSD header's size code for bitsPerPixel (0 for 2, 1 for 4, 2 for 8); -1 when bitsPerPixel is
// another value, or the header offset is not a multiple of 4 or the header would not fit.
int DISP_OSDHeaderSizeCode(uint32_t header, uint32_t bitsPerPixel);
// The aligned offset (lowest two bits cleared) of a base command or highlight record written at
// offset; false when the record would not fit inside video memory.
bool DISP_SPUBaseCmdPlace(uint32_t offset, uint32_t* at);
bool DISP_SPUHighlightPlace(uint32_t offset, uint32_t* at);
// Writes a list that fits into `video`, the block of video memory.
void DISP_WriteSPUChangeList(uint8_t* video, const DISP_SPUChangeList& list);
void DISP_WriteSPUHighlight(uint8_t* at, const DISP_SPUHighlight& record);
DISP_SPUHighlight DISP_ReadSPUHighlight(const uint8_t* at);
