// disp_records.cpp: packing and unpacking of the OSD header and the sub-picture records.
#include "disp_records.h"

namespace {

void WriteLE32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
void WriteBE32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}
uint32_t Halves(uint32_t high, uint32_t low) { return (high & 0xFFFF) << 16 | (low & 0xFFFF); }
uint16_t High(uint32_t word) { return static_cast<uint16_t>(word >> 16); }
uint16_t Low(uint32_t word) { return static_cast<uint16_t>(word); }

}  // namespace

void DISP_WriteOSDHeader(uint8_t* at, const DISP_OSDHeader& h) {
  WriteLE32(at + offsetof(DISP_OSDHeaderWords, next), h.next);
  WriteLE32(at + offsetof(DISP_OSDHeaderWords, area),
            (h.bottom & 0x7FF) | (h.top & 0x3FF) << 11 | (h.alpha & 0xF) << 22 |
                (h.alphaEnable != 0) << 26 | (h.sizeCode & 3) << 28 | (h.compressed != 0) << 30 |
                static_cast<uint32_t>(h.last != 0) << 31);
  WriteLE32(at + offsetof(DISP_OSDHeaderWords, columns),
            (h.right & 0x7FF) | (h.left & 0x3FF) << 11 | (h.keyIndex & 0xFF) << 22 |
                (h.keyEnable != 0) << 30);
}

DISP_OSDHeader DISP_ReadOSDHeader(const uint8_t* at) {
  const uint32_t area = DISP_ReadLE32(at + offsetof(DISP_OSDHeaderWords, area));
  const uint32_t columns = DISP_ReadLE32(at + offsetof(DISP_OSDHeaderWords, columns));
  DISP_OSDHeader h;
  h.next = DISP_ReadLE32(at + offsetof(DISP_OSDHeaderWords, next));
  h.bottom = area & 0x7FF;
  h.top = (area >> 11) & 0x3FF;
  h.alpha = (area >> 22) & 0xF;
  h.alphaEnable = (area >> 26) & 1;
  h.sizeCode = (area >> 28) & 3;
  h.compressed = (area >> 30) & 1;
  h.last = area >> 31;
  h.right = columns & 0x7FF;
  h.left = (columns >> 11) & 0x3FF;
  h.keyIndex = (columns >> 22) & 0xFF;
  h.keyEnable = (columns >> 30) & 1;
  return h;
}

void DISP_WriteSPUBaseCmd(uint8_t* at, const DISP_SPUBaseCmd& r) {
  WriteBE32(at + offsetof(DISP_SPUBaseCmdWords, lineBytesAndChanges),
            (r.lineBytes & ~1u) | (r.changeCmdPresent != 0));
  WriteBE32(at + offsetof(DISP_SPUBaseCmdWords, colorContrast),
            Halves(r.colorWord, r.contrastWord));
  WriteBE32(at + offsetof(DISP_SPUBaseCmdWords, columns), Halves(r.left, r.right));
  WriteBE32(at + offsetof(DISP_SPUBaseCmdWords, lines), Halves(r.top, r.bottom));
  WriteBE32(at + offsetof(DISP_SPUBaseCmdWords, evenLineData), r.evenLineData);
  WriteBE32(at + offsetof(DISP_SPUBaseCmdWords, oddLineData), r.oddLineData);
  WriteBE32(at + offsetof(DISP_SPUBaseCmdWords, changeList), r.changeListOffset);
}

DISP_SPUBaseCmd DISP_ReadSPUBaseCmd(const uint8_t* at) {
  const uint32_t first = DISP_ReadBE32(at + offsetof(DISP_SPUBaseCmdWords, lineBytesAndChanges));
  const uint32_t words = DISP_ReadBE32(at + offsetof(DISP_SPUBaseCmdWords, colorContrast));
  const uint32_t columns = DISP_ReadBE32(at + offsetof(DISP_SPUBaseCmdWords, columns));
  const uint32_t lines = DISP_ReadBE32(at + offsetof(DISP_SPUBaseCmdWords, lines));
  return {first & ~1u,
          first & 1,
          High(words),
          Low(words),
          High(columns),
          Low(columns),
          High(lines),
          Low(lines),
          DISP_ReadBE32(at + offsetof(DISP_SPUBaseCmdWords, evenLineData)),
          DISP_ReadBE32(at + offsetof(DISP_SPUBaseCmdWords, oddLineData)),
          DISP_ReadBE32(at + offsetof(DISP_SPUBaseCmdWords, changeList))};
}

void DISP_WriteSPUChangeHeader(uint8_t* at, const DISP_SPUChangeHeader& h) {
  WriteBE32(at, uint32_t{h.lineStart} << 16 | (h.count & 0xFu) << 12 | (h.lineEnd & 0xFFFu));
}

DISP_SPUChangeHeader DISP_ReadSPUChangeHeader(uint32_t word) {
  return {High(word), static_cast<uint16_t>(word & 0xFFF),
          static_cast<uint16_t>((word >> 12) & 0xF)};
}

void DISP_WriteSPUChangeEntry(uint8_t* at, const DISP_SPUChangeEntry& e) {
  WriteBE32(at + offsetof(DISP_SPUChangeEntryWords, colorContrast),
            Halves(e.colorWord, e.contrastWord));
  WriteBE32(at + offsetof(DISP_SPUChangeEntryWords, columns), Halves(e.left, e.right));
}

DISP_SPUChangeEntry DISP_ReadSPUChangeEntry(const uint8_t* at) {
  const uint32_t words = DISP_ReadBE32(at + offsetof(DISP_SPUChangeEntryWords, colorContrast));
  const uint32_t columns = DISP_ReadBE32(at + offsetof(DISP_SPUChangeEntryWords, columns));
  return {High(words), Low(words), High(columns), Low(columns)};
}

void DISP_WriteSPUListEnd(uint8_t* at) { WriteBE32(at, kDISP_SPUListEnd); }

bool DISP_SPUChangeListFits(const DISP_SPUChangeList& list) {
  if (list.count > kDISP_SPUMaxEntries ||
      (list.count > 0 &&
       (!list.left || !list.right || !list.colorWords || !list.contrastWords)))
    return false;
  const uint32_t at = list.offset & ~3u;
  const uint32_t bytes = kDISP_SPUChangeHeaderBytes + kDISP_SPUChangeEntryBytes * list.count +
                         (list.terminate ? 4 : 0);
  return DISP_InVideoMemory(at, bytes);
}

int DISP_OSDHeaderSizeCode(uint32_t header, uint32_t bitsPerPixel) {
  const int sizeCode = bitsPerPixel == 2 ? 0 : bitsPerPixel == 4 ? 1 : bitsPerPixel == 8 ? 2 : -1;
  if (header % 4 != 0 || !DISP_InVideoMemory(header, kDISP_OSDHeaderBytes)) return -1;
  return sizeCode;
}

bool DISP_SPUBaseCmdPlace(uint32_t offset, uint32_t* at) {
  *at = offset & ~3u;
  return DISP_InVideoMemory(*at, kDISP_SPUBaseCmdBytes);
}

bool DISP_SPUHighlightPlace(uint32_t offset, uint32_t* at) {
  *at = offset & ~3u;
  return DISP_InVideoMemory(*at, kDISP_SPUHighlightBytes);
}

void DISP_WriteSPUChangeList(uint8_t* video, const DISP_SPUChangeList& list) {
  const uint32_t at = list.offset & ~3u;
  const uint32_t entriesAt = at + kDISP_SPUChangeHeaderBytes;
  const uint32_t end = entriesAt + kDISP_SPUChangeEntryBytes * list.count;
  DISP_WriteSPUChangeHeader(video + at, {list.lineStart, list.lineEnd, list.count});
  for (uint32_t e = 0; e < list.count; ++e)
    DISP_WriteSPUChangeEntry(video + entriesAt + kDISP_SPUChangeEntryBytes * e,
                             {list.colorWords[e], list.contrastWords[e], list.left[e],
                              list.right[e]});
  if (list.terminate) DISP_WriteSPUListEnd(video + end);
}

void DISP_WriteSPUHighlight(uint8_t* at, const DISP_SPUHighlight& r) {
  WriteBE32(at + offsetof(DISP_SPUHighlightWords, columns), Halves(r.left, r.right));
  WriteBE32(at + offsetof(DISP_SPUHighlightWords, lines), Halves(r.top, r.bottom));
  WriteBE32(at + offsetof(DISP_SPUHighlightWords, colorContrast),
            Halves(r.colorWord, r.contrastWord));
}

DISP_SPUHighlight DISP_ReadSPUHighlight(const uint8_t* at) {
  const uint32_t columns = DISP_ReadBE32(at + offsetof(DISP_SPUHighlightWords, columns));
  const uint32_t lines = DISP_ReadBE32(at + offsetof(DISP_SPUHighlightWords, lines));
  const uint32_t words = DISP_ReadBE32(at + offsetof(DISP_SPUHighlightWords, colorContrast));
  return {High(columns), Low(columns), High(lines), Low(lines), High(words), Low(words)};
}
