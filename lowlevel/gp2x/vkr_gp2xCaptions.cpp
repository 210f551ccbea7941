// vkr_gp2xCaptions.cpp: the caption queue. Turns text, commands and colour attributes into
// EIA-608 byte pairs (odd parity) for the current data channel and hands the encoder one pair a
// call. Owns the queue, its indices, the channel and the last attributes sent.
//
// Sections: character table, queue state and room, operations.
#include <cstdarg>
#include <cstdio>

#include "vkr_gp2xTVEncoder.h"
#include "vkr_lowLevel.h"

namespace {

// ---- Character table -----------------------------------------------------------------------------
// A character's code for data channels 1 and 3. Two-byte codes name their first byte as channel 1
// writes it; kControl stands for the channel's control-code prefix.
enum CodeKind : uint8_t { kDropped, kOneByte, kTwoByte };
struct CaptionCode {
  CodeKind kind;
  uint8_t first, second;
};
constexpr uint8_t kControl = 0x00;

constexpr uint8_t OddParity(uint8_t byte) {
  int ones = 0;
  for (int bit = 0; bit < 7; ++bit) ones += (byte >> bit) & 1;
  return static_cast<uint8_t>((byte & 0x7F) | ((ones & 1) ? 0 : 0x80));
}

struct TableEntry {
  uint8_t character, first, second;  // second 0: a one-byte code
};
constexpr TableEntry kSpecialCharacters[] = {
    {7, kControl, 0xA4}, {8, kControl, 0xA1}, {9, 0x97, 0xA1}, {10, kControl, 0xAD},
    {11, 0x97, 0xA2}, {12, 0x97, 0x23}, {13, 0x91, 0x37}, {14, 0x13, 0x34}, {15, 0x92, 0xAD},
    {16, 0x91, 0xB9}, {17, 0x92, 0x26}, {18, 0x92, 0x29}, {19, 0x92, 0xA7}, {20, 0x92, 0xAB},
    {21, 0x92, 0x2C}, {22, 0x92, 0xAE}, {23, 0x92, 0x2F}, {24, 0x92, 0x3E}, {25, 0x92, 0xBF},
    {26, 0x13, 0x37}, {27, 0x92, 0x2A}, {28, 0x13, 0xBC}, {29, 0x13, 0x3D}, {30, 0x13, 0x3E},
    {31, 0x13, 0xBF}, {42, 0x92, 0xA8}, {92, 0x13, 0xAB}, {94, 0x13, 0x2C}, {95, 0x13, 0xAD},
    {96, 0x7C, 0}, {123, 0x13, 0x29}, {124, 0x13, 0xAE}, {125, 0x13, 0x2A}, {126, 0x13, 0x2F},
    {128, 0x2A, 0}, {129, 0xDC, 0}, {130, 0x5E, 0}, {131, 0xDF, 0}, {132, 0xE0, 0},
    {133, 0x91, 0x3B}, {134, 0x91, 0xBC}, {135, 0x91, 0x3D}, {136, 0x91, 0x3E}, {137, 0x91, 0xBF},
    {138, 0x13, 0x31}, {139, 0x92, 0xB6}, {140, 0x92, 0xB9}, {141, 0x13, 0xB3}, {142, 0x92, 0x25},
    {143, 0xFB, 0}, {144, 0x92, 0x20}, {145, 0x92, 0xA1}, {146, 0x13, 0xA2}, {147, 0x92, 0xA2},
    {148, 0x92, 0x23}, {149, 0x92, 0x31}, {150, 0x92, 0x34}, {151, 0x92, 0x37}, {152, 0x92, 0xBA},
    {153, 0x92, 0x3D}, {154, 0x13, 0xB0}, {155, 0x92, 0xB5}, {156, 0x92, 0x38}, {157, 0x13, 0x32},
    {158, 0x92, 0xA4}, {159, 0x92, 0x32}, {160, 0x13, 0xA1}, {161, 0x13, 0xA8}, {162, 0xFE, 0},
    {163, 0x91, 0x38}, {164, 0x13, 0xA4}, {165, 0x13, 0x26}, {166, 0x92, 0xBC}, {167, 0x91, 0xBA},
    {168, 0x13, 0x20}, {169, 0x13, 0xA7}, {170, 0xFD, 0}, {171, 0x92, 0xB0}, {172, 0x13, 0x23},
    {173, 0x13, 0x25}, {174, 0x92, 0x3B}, {175, 0x92, 0xB3}, {176, 0x13, 0xB9}, {177, 0x13, 0x3B},
    {178, 0x13, 0x38}, {179, 0x13, 0xBA}, {180, 0x91, 0xB0}, {181, 0x91, 0x31}, {182, 0x91, 0x32},
    {183, 0x91, 0xB3}, {184, 0x91, 0x34}, {185, 0x13, 0xB6}, {186, 0x91, 0xB5}, {187, 0x91, 0xB6},
    {188, 0x13, 0xB5}};

constexpr int kTableSize = 189;  // characters 0 to 188; below 7 dropped

struct CharacterTable {
  CaptionCode codes[kTableSize];
};

constexpr CharacterTable BuildCharacterTable() {
  CharacterTable table{};
  for (int c = 32; c < 128; ++c)
    table.codes[c] = {kOneByte, OddParity(static_cast<uint8_t>(c)), 0};
  for (const TableEntry& entry : kSpecialCharacters)
    table.codes[entry.character] = entry.second == 0
                                       ? CaptionCode{kOneByte, entry.first, 0}
                                       : CaptionCode{kTwoByte, entry.first, entry.second};
  return table;
}
constexpr CharacterTable kCharacterTable = BuildCharacterTable();
static_assert(kCharacterTable.codes['A'].first == 0xC1 && kCharacterTable.codes['B'].first == 0xC2);
static_assert(kCharacterTable.codes[6].kind == kDropped && kCharacterTable.codes[7].kind == kTwoByte);

// Control-code prefix of channels 1 to 4, and the channel's first byte for a channel-1 prefix.
constexpr uint8_t kControlPrefix[5] = {0, 0x94, 0x1C, 0x15, 0x9D};

uint8_t FirstByteOnChannel(uint8_t first, uint32_t channel) {
  if (first == kControl) return kControlPrefix[channel];
  if (channel == 1 || channel == 3) return first;
  switch (first) {
    case 0x91: return 0x19;
    case 0x92: return 0x1A;
    case 0x13: return 0x9B;
    case 0x97: return 0x1F;
    default: return first;
  }
}

// ---- Queue state and room ------------------------------------------------------------------------
// The queue: a ring of 256 pairs in sending order, first byte in bits 0-7. Entries from the read
// index up to the write index are unsent; while g_bCCPending is set the entry at the write index
// holds a first byte only. Main thread only; lives for the whole run.
constexpr uint32_t kQueueSize = 256;
uint16_t g_usCCQueue[kQueueSize];
uint32_t g_ulCCWriteIndex = 0;
uint32_t g_ulCCReadIndex = 0;
int g_bCCPending = 0;
uint32_t g_ulCCChannel = 1;  // 1 to 4: data channels CC1 to CC4
// The last attribute bytes VKR_CC_SetAttributes queued.
uint8_t g_ucCCLastForeground = 0;
uint8_t g_ucCCLastBackground = 0;

uint32_t Advance(uint32_t index) { return (index + 1) % kQueueSize; }

// Entries taken once `fullEntries` more are written and the pending flag ends as `pending`: the
// ring must keep one entry free, or a full ring would read as empty.
bool EntriesFit(uint32_t fullEntries, int pending) {
  const uint32_t unsent = (g_ulCCWriteIndex - g_ulCCReadIndex) % kQueueSize;
  return unsent + fullEntries + static_cast<uint32_t>(pending) <= kQueueSize - 1;
}

// Completes a waiting first byte with 0x80 so that a two-byte code starts an entry of its own.
void CompletePending() {
  if (!g_bCCPending) return;
  g_usCCQueue[g_ulCCWriteIndex] = static_cast<uint16_t>((g_usCCQueue[g_ulCCWriteIndex] & 0xFF) | 0x8000);
  g_ulCCWriteIndex = Advance(g_ulCCWriteIndex);
  g_bCCPending = 0;
}

void QueuePair(uint8_t first, uint8_t second) {
  CompletePending();
  g_usCCQueue[g_ulCCWriteIndex] = static_cast<uint16_t>(first | (second << 8));
  g_ulCCWriteIndex = Advance(g_ulCCWriteIndex);
}

void QueueByte(uint8_t byte) {
  if (!g_bCCPending) {
    g_usCCQueue[g_ulCCWriteIndex] = byte;
    g_bCCPending = 1;
  } else {
    g_usCCQueue[g_ulCCWriteIndex] = static_cast<uint16_t>(g_usCCQueue[g_ulCCWriteIndex] | (byte << 8));
    g_ulCCWriteIndex = Advance(g_ulCCWriteIndex);
    g_bCCPending = 0;
  }
}

const CaptionCode* CodeOf(unsigned char c) {
  if (c >= kTableSize || kCharacterTable.codes[c].kind == kDropped) return nullptr;
  return &kCharacterTable.codes[c];
}

// Full entries a list of two-byte codes adds, counting the completion of a waiting first byte.
uint32_t EntriesOfPairs(uint32_t pairs) { return pairs == 0 ? 0 : pairs + (g_bCCPending ? 1 : 0); }

// Attribute pairs, collected before anything is queued so that a refusal changes nothing.
struct PairList {
  uint8_t bytes[4][2];
  uint32_t count = 0;
  void Add(uint8_t first, uint8_t second) {
    bytes[count][0] = first;
    bytes[count][1] = second;
    ++count;
  }
};

}  // namespace

// ---- Operations ----------------------------------------------------------------------------------
uint32_t VKR_CC_SetChannel(uint32_t channel) {
  if (channel < 1 || channel > 4) return VKR_BAD_ARGUMENT;
  g_ulCCChannel = channel;
  return VKR_OK;
}

uint32_t VKR_CC_printf(const char* format, ...) {
  if (!format) return VKR_BAD_ARGUMENT;
  char text[256];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  if (length < 0) return VKR_BAD_ARGUMENT;
  if (length >= static_cast<int>(sizeof text)) return VKR_CC_BUFFER_FULL;

  const uint32_t w = g_ulCCWriteIndex, r = g_ulCCReadIndex;
  const uint32_t room = w == r ? 255 : w > r ? kQueueSize - (w - r) : r - w;
  if (static_cast<uint32_t>(length) > room) return VKR_CC_BUFFER_FULL;

  // The same walk as below, counting entries only.
  uint32_t fullEntries = 0;
  int pending = g_bCCPending;
  for (int i = 0; i < length; ++i) {
    const CaptionCode* code = CodeOf(static_cast<unsigned char>(text[i]));
    if (!code) continue;
    if (code->kind == kTwoByte) {
      fullEntries += pending ? 2 : 1;
      pending = 0;
    } else {
      fullEntries += pending ? 1 : 0;
      pending = !pending;
    }
  }
  if (!EntriesFit(fullEntries, pending)) return VKR_CC_BUFFER_FULL;

  for (int i = 0; i < length; ++i) {
    const CaptionCode* code = CodeOf(static_cast<unsigned char>(text[i]));
    if (!code) continue;
    if (code->kind == kTwoByte)
      QueuePair(FirstByteOnChannel(code->first, g_ulCCChannel), code->second);
    else
      QueueByte(code->first);
  }
  return VKR_OK;
}

// One pair a call; a lone first byte goes out with 0x80. A busy encoder, or one that does not
// answer, keeps the pair for the next call.
uint32_t VKR_CC_OutputToTV() {
  if (g_ulCCWriteIndex == g_ulCCReadIndex && !g_bCCPending) return VKR_OK;
  if (GP2X_TVEncoderBusy()) return VKR_OK;
  if (g_ulCCWriteIndex == g_ulCCReadIndex) CompletePending();
  const uint16_t entry = g_usCCQueue[g_ulCCReadIndex];
  if (VKR_OutCX25874(0xC0, static_cast<uint8_t>(entry)) != VKR_OK) return VKR_OK;
  if (VKR_OutCX25874(0xC2, static_cast<uint8_t>(entry >> 8)) != VKR_OK) return VKR_OK;
  g_ulCCReadIndex = Advance(g_ulCCReadIndex);
  return VKR_OK;
}

uint32_t VKR_CC_Command(uint16_t command) {
  // resume caption loading, resume direct captioning, roll-up 2, 3, 4 rows, text restart, resume
  // text display, erase displayed memory, erase non-displayed memory, end of caption
  static constexpr uint8_t kCommandCodes[10] = {0x20, 0x29, 0x25, 0x26, 0xA7,
                                                0x2A, 0xAB, 0x2C, 0xAE, 0x2F};
  if (command > 9) return VKR_BAD_ARGUMENT;
  if (!EntriesFit(EntriesOfPairs(1), 0)) return VKR_CC_BUFFER_FULL;
  QueuePair(kControlPrefix[g_ulCCChannel], kCommandCodes[command]);
  return VKR_OK;
}

uint32_t VKR_CC_SetAttributes(uint8_t foreground, uint8_t background) {
  // black, white, red, cyan, green, magenta, blue, yellow, then the same semi-transparent
  // (backgrounds) or underlined (foregrounds); foreground 0 and 8 take the tab-offset prefix
  static constexpr uint8_t kColourCodes[16] = {0xAE, 0x20, 0xA8, 0x26, 0xA2, 0x2C, 0xA4, 0x2A,
                                               0x2F, 0xA1, 0x29, 0xA7, 0x23, 0xAD, 0x25, 0xAB};
  if (foreground == g_ucCCLastForeground && background == g_ucCCLastBackground) return VKR_OK;
  const bool firstPair = g_ulCCChannel == 1 || g_ulCCChannel == 3;
  const uint8_t tab = firstPair ? 0x97 : 0x1F;
  const uint8_t midRow = firstPair ? 0x91 : 0x19;
  const uint8_t backgroundPrefix = firstPair ? 0x10 : 0x98;

  PairList pairs;
  if (background != g_ucCCLastBackground) {
    if (background & 0x10)
      pairs.Add(tab, 0xAD);
    else
      pairs.Add(backgroundPrefix, kColourCodes[background & 15]);
  }
  const bool foregroundChanges = foreground != g_ucCCLastForeground;
  if (foregroundChanges) {
    if (foreground != (g_ucCCLastForeground | 0x80)) {
      const int index = (foreground & 7) + 8 * ((foreground >> 5) & 1);
      if (!(foreground == 0x40 && g_ucCCLastForeground == 0))
        pairs.Add((index & 7) == 0 ? tab : midRow, kColourCodes[index]);
      if (foreground & 0x40) pairs.Add(midRow, (foreground & 0x20) ? 0xAE : 0x2F);
    }
    if (foreground & 0x80) pairs.Add(kControlPrefix[g_ulCCChannel], 0xA8);
  }
  if (!EntriesFit(EntriesOfPairs(pairs.count), 0)) return VKR_CC_BUFFER_FULL;

  for (uint32_t i = 0; i < pairs.count; ++i) QueuePair(pairs.bytes[i][0], pairs.bytes[i][1]);
  g_ucCCLastBackground = background;
  if (foregroundChanges) g_ucCCLastForeground = foreground;
  return VKR_OK;
}
