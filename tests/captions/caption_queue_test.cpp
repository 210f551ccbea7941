// The caption queue: text to EIA-608 pairs per channel, the room checks, one pair a call, and the
// commands and attributes, as the simulated console's encoder received them.
#include <cstdlib>
#include <string>
#include <vector>

#include "caption_fixture.h"

using Pairs = std::vector<uint16_t>;

namespace {

// Sends exactly one call's worth and answers what went out in it.
Pairs OutputOnce() {
  const size_t before = SIM_CX25874_CaptionCount();
  VKR_CC_OutputToTV();
  SimAdvanceNs(kFieldNs);
  const Pairs all = SentPairs();
  return Pairs(all.begin() + before, all.end());
}

}  // namespace

TEST_F(CaptionTest, TwoCharactersMakeOnePairWithParity) {
  ASSERT_EQ(VKR_CC_printf("AB"), VKR_OK);
  EXPECT_EQ(OutputOnce(), Pairs{0xC1C2});
  EXPECT_EQ(TVConsole_EncoderWrites(), (std::vector<std::string>{"C0=C1", "C2=C2"}));
  EXPECT_EQ(OutputOnce(), Pairs{});
}

TEST_F(CaptionTest, ALoneCharacterGoesOutWithFiller) {
  ASSERT_EQ(VKR_CC_printf("%c", 'A'), VKR_OK);
  EXPECT_EQ(OutputOnce(), Pairs{0xC180});
  EXPECT_EQ(OutputOnce(), Pairs{});
}

TEST_F(CaptionTest, NewlineOnChannelTwoFollowsTheCompletedHalfEntry) {
  ASSERT_EQ(VKR_CC_SetChannel(2), VKR_OK);
  ASSERT_EQ(VKR_CC_printf("A\n"), VKR_OK);
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), (Pairs{0xC180, 0x1CAD}));
}

TEST_F(CaptionTest, CharacterTableByChannel) {
  // Control codes, a tab, an extended character, a special one-byte code, a dropped character.
  const char text[] = {'\a', '\t', '*', static_cast<char>(129), 'x', 6, static_cast<char>(200), 0};
  ASSERT_EQ(VKR_CC_SetChannel(3), VKR_OK);
  ASSERT_EQ(VKR_CC_printf("%s", text), VKR_OK);
  ASSERT_EQ(VKR_CC_SetChannel(4), VKR_OK);
  ASSERT_EQ(VKR_CC_printf("%s", text), VKR_OK);
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), (Pairs{0x15A4, 0x97A1, 0x92A8, 0xDCF8,     // channel 3
                                0x9DA4, 0x1FA1, 0x1AA8, 0xDCF8}));  // channel 4
}

TEST_F(CaptionTest, ChannelOutsideOneToFourIsRefused) {
  EXPECT_EQ(VKR_CC_SetChannel(0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_CC_SetChannel(5), VKR_BAD_ARGUMENT);
  ASSERT_EQ(VKR_CC_printf("\n"), VKR_OK);
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), Pairs{0x94AD});  // still channel 1
}

TEST_F(CaptionTest, RoomCheckCountsCharactersAndKeepsOneEntryFree) {
  const std::string newlines(200, '\n');
  ASSERT_EQ(VKR_CC_printf("%s", newlines.c_str()), VKR_OK);  // 200 entries unsent
  EXPECT_EQ(VKR_CC_printf("%s", std::string(57, 'a').c_str()), VKR_CC_BUFFER_FULL);
  EXPECT_EQ(VKR_CC_printf("%s", std::string(56, '\n').c_str()), VKR_CC_BUFFER_FULL);
  EXPECT_EQ(VKR_CC_printf("%s", std::string(56, 'a').c_str()), VKR_OK);  // 28 entries
  EXPECT_EQ(VKR_CC_printf("%s", std::string(28, '\n').c_str()), VKR_CC_BUFFER_FULL);
  EXPECT_EQ(VKR_CC_printf("%s", std::string(26, '\n').c_str()), VKR_OK);  // 254 entries
  EXPECT_EQ(VKR_CC_printf("b"), VKR_OK);  // a half entry
  EXPECT_EQ(VKR_CC_Command(7), VKR_CC_BUFFER_FULL);  // would complete it and take one more
  EXPECT_EQ(VKR_CC_printf("c"), VKR_OK);  // 255 entries: the last one free stays free
  EXPECT_EQ(VKR_CC_printf("d"), VKR_CC_BUFFER_FULL);
  EXPECT_EQ(VKR_CC_Command(7), VKR_CC_BUFFER_FULL);
  EXPECT_EQ(VKR_CC_SetAttributes(0x01, 0x10), VKR_CC_BUFFER_FULL);
  DrainCaptionQueue();
  const Pairs sent = SentPairs();
  ASSERT_EQ(sent.size(), 255u);  // nothing lost, nothing overwritten
  EXPECT_EQ(sent[199], 0x94AD);
  EXPECT_EQ(sent[200], 0x6161);
  EXPECT_EQ(sent[228], 0x94AD);
  EXPECT_EQ(sent[254], 0x62E3);
}

TEST_F(CaptionTest, TextLongerThanTheFormatBufferIsRefused) {
  const std::string longText(300, 'a');
  EXPECT_EQ(VKR_CC_printf("%s", longText.c_str()), VKR_CC_BUFFER_FULL);
  EXPECT_EQ(VKR_CC_printf("%s", std::string(256, 'a').c_str()), VKR_CC_BUFFER_FULL);
  EXPECT_EQ(VKR_CC_printf(nullptr), VKR_BAD_ARGUMENT);
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), Pairs{});
  EXPECT_EQ(VKR_CC_printf("%s", std::string(255, 'a').c_str()), VKR_OK);
}

TEST_F(CaptionTest, BusyOrSilentEncoderKeepsThePairForTheNextCall) {
  ASSERT_EQ(VKR_CC_printf("ABCD"), VKR_OK);
  VKR_CC_OutputToTV();
  VKR_CC_OutputToTV();  // still busy: nothing
  EXPECT_EQ(SentPairs(), Pairs{0xC1C2});
  SimAdvanceNs(kFieldNs);
  SIM_CX25874_SetFault(true);
  VKR_CC_OutputToTV();
  SIM_CX25874_SetFault(false);
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), (Pairs{0xC1C2, 0x43C4}));
}

TEST_F(CaptionTest, CommandsUseTheChannelsControlPrefix) {
  EXPECT_EQ(VKR_CC_Command(10), VKR_BAD_ARGUMENT);
  ASSERT_EQ(VKR_CC_printf("A"), VKR_OK);
  ASSERT_EQ(VKR_CC_Command(4), VKR_OK);
  ASSERT_EQ(VKR_CC_SetChannel(2), VKR_OK);
  ASSERT_EQ(VKR_CC_Command(7), VKR_OK);
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), (Pairs{0xC180, 0x94A7, 0x1C2C}));
}

TEST_F(CaptionTest, AttributesQueueOnlyWhatChanged) {
  // From a known state: black on opaque black.
  VKR_CC_SetAttributes(0x00, 0x00);
  VKR_CC_SetAttributes(0x01, 0x01);
  VKR_CC_SetAttributes(0x00, 0x00);
  DrainCaptionQueue();
  TVConsole_PowerOn(SimTV::Ntsc, 6);

  ASSERT_EQ(VKR_CC_SetAttributes(0x02, 0x10), VKR_OK);  // red on transparent
  ASSERT_EQ(VKR_CC_SetAttributes(0x02, 0x10), VKR_OK);  // unchanged: nothing
  ASSERT_EQ(VKR_CC_SetAttributes(0x82, 0x10), VKR_OK);  // the same, flashing
  ASSERT_EQ(VKR_CC_SetAttributes(0x61, 0x04), VKR_OK);  // white underlined italics on green
  ASSERT_EQ(VKR_CC_SetChannel(2), VKR_OK);
  ASSERT_EQ(VKR_CC_SetAttributes(0x28, 0x04), VKR_OK);  // black underlined, second data channel
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), (Pairs{0x97AD, 0x91A8, 0x94A8, 0x10A2, 0x91A1, 0x91AE, 0x1F2F}));
}

namespace {

// The caption character table for channels 1 and 3 as the captioning standard lists it, written
// out apart from the back end's: "character:code", a code of four digits a two-byte one. Characters
// 32 to 127 not listed are themselves with the parity bit; 7 to 10 are the channel's controls.
constexpr const char* kListedCharacters =
    "11:97A2 12:9723 13:9137 14:1334 15:92AD 16:91B9 17:9226 18:9229 19:92A7 20:92AB 21:922C "
    "22:92AE 23:922F 24:923E 25:92BF 26:1337 27:922A 28:13BC 29:133D 30:133E 31:13BF 42:92A8 "
    "92:13AB 94:132C 95:13AD 96:7C 123:1329 124:13AE 125:132A 126:132F 128:2A 129:DC 130:5E "
    "131:DF 132:E0 133:913B 134:91BC 135:913D 136:913E 137:91BF 138:1331 139:92B6 140:92B9 "
    "141:13B3 142:9225 143:FB 144:9220 145:92A1 146:13A2 147:92A2 148:9223 149:9231 150:9234 "
    "151:9237 152:92BA 153:923D 154:13B0 155:92B5 156:9238 157:1332 158:92A4 159:9232 160:13A1 "
    "161:13A8 162:FE 163:9138 164:13A4 165:1326 166:92BC 167:91BA 168:1320 169:13A7 170:FD "
    "171:92B0 172:1323 173:1325 174:923B 175:92B3 176:13B9 177:133B 178:1338 179:13BA 180:91B0 "
    "181:9131 182:9132 183:91B3 184:9134 185:13B6 186:91B5 187:91B6 188:13B5 ";

uint8_t WithParity(uint8_t byte) {
  return static_cast<uint8_t>(__builtin_popcount(byte & 0x7F) % 2 ? byte & 0x7F : byte | 0x80);
}

// The code of character c on channel 1 to 4: a two-byte code as first << 8 | second, a one-byte
// code as the byte alone (first is then 0).
uint16_t CodeOf(int c, int channel) {
  const bool second = channel == 2 || channel == 4;
  constexpr uint8_t kControlPrefix[] = {0, 0x94, 0x1C, 0x15, 0x9D};
  const uint8_t prefix = kControlPrefix[channel];
  if (c == 7) return static_cast<uint16_t>(prefix << 8 | 0xA4);
  if (c == 8) return static_cast<uint16_t>(prefix << 8 | 0xA1);
  if (c == 9) return second ? 0x1FA1 : 0x97A1;
  if (c == 10) return static_cast<uint16_t>(prefix << 8 | 0xAD);
  for (const char* at = kListedCharacters; *at;) {
    char* end = nullptr;
    const long listed = std::strtol(at, &end, 10);
    const unsigned long code = std::strtoul(end + 1, &end, 16);
    at = *end ? end + 1 : end;
    if (listed != c) continue;
    if (code <= 0xFF) return static_cast<uint16_t>(code);
    uint8_t first = static_cast<uint8_t>(code >> 8);
    if (second) first = first == 0x91 ? 0x19 : first == 0x92 ? 0x1A : first == 0x13 ? 0x9B : 0x1F;
    return static_cast<uint16_t>(first << 8 | (code & 0xFF));
  }
  return WithParity(static_cast<uint8_t>(c));
}

// The pairs a text of these characters makes: one-byte codes two to a pair, a lone one completed
// with 0x80 before a two-byte code or at the end.
Pairs PairsOf(const std::vector<int>& characters, int channel) {
  Pairs pairs;
  int pending = -1;
  for (int c : characters) {
    const uint16_t code = CodeOf(c, channel);
    if (code > 0xFF) {
      if (pending >= 0) pairs.push_back(static_cast<uint16_t>(pending << 8 | 0x80));
      pending = -1;
      pairs.push_back(code);
    } else if (pending < 0) {
      pending = code;
    } else {
      pairs.push_back(static_cast<uint16_t>(pending << 8 | code));
      pending = -1;
    }
  }
  if (pending >= 0) pairs.push_back(static_cast<uint16_t>(pending << 8 | 0x80));
  return pairs;
}

}  // namespace

// Every character from 7 to 188 on every channel, against the table written out above.
TEST_F(CaptionTest, TheWholeCharacterTableOnEveryChannel) {
  std::string text;
  std::vector<int> characters;
  for (int c = 7; c <= 188; ++c) {
    text += static_cast<char>(c);
    characters.push_back(c);
  }
  for (int channel = 1; channel <= 4; ++channel) {
    TVConsole_PowerOn(SimTV::Ntsc, 6);
    ASSERT_EQ(VKR_CC_SetChannel(channel), VKR_OK);
    ASSERT_EQ(VKR_CC_printf("%s", text.c_str()), VKR_OK);
    DrainCaptionQueue();
    EXPECT_EQ(SentPairs(), PairsOf(characters, channel)) << "channel " << channel;
  }
}

TEST_F(CaptionTest, EveryCommandOnEveryChannel) {
  constexpr uint8_t kSecondBytes[10] = {0x20, 0x29, 0x25, 0x26, 0xA7, 0x2A, 0xAB, 0x2C, 0xAE, 0x2F};
  constexpr uint8_t kPrefix[] = {0, 0x94, 0x1C, 0x15, 0x9D};
  Pairs expected;
  for (int channel = 1; channel <= 4; ++channel) {
    ASSERT_EQ(VKR_CC_SetChannel(channel), VKR_OK);
    for (uint16_t n = 0; n <= 9; ++n) {
      ASSERT_EQ(VKR_CC_Command(n), VKR_OK);
      expected.push_back(static_cast<uint16_t>(kPrefix[channel] << 8 | kSecondBytes[n]));
    }
  }
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), expected);
}

// The foreground 0x40 right after 0 sends no colour, only italics; a semi-transparent background;
// the second data channel's prefixes; a change of the flash bit alone sends only the flash.
TEST_F(CaptionTest, AttributesOfItalicsSemiTransparencyAndTheSecondChannel) {
  VKR_CC_SetAttributes(0x01, 0x01);  // from a known state: both last bytes 0
  VKR_CC_SetAttributes(0x00, 0x00);
  DrainCaptionQueue();
  TVConsole_PowerOn(SimTV::Ntsc, 6);

  ASSERT_EQ(VKR_CC_SetAttributes(0x40, 0x00), VKR_OK);  // italics, no colour
  ASSERT_EQ(VKR_CC_SetAttributes(0x40, 0x18), VKR_OK);  // transparent background only
  ASSERT_EQ(VKR_CC_SetChannel(4), VKR_OK);
  ASSERT_EQ(VKR_CC_SetAttributes(0x23, 0x0A), VKR_OK);  // cyan underlined on semi-transparent red
  ASSERT_EQ(VKR_CC_SetChannel(2), VKR_OK);
  ASSERT_EQ(VKR_CC_SetAttributes(0x65, 0x0D), VKR_OK);  // magenta underlined italics on s-t magenta
  ASSERT_EQ(VKR_CC_SetAttributes(0xE5, 0x0D), VKR_OK);  // the same, flashing: the flash alone
  ASSERT_EQ(VKR_CC_SetChannel(3), VKR_OK);
  ASSERT_EQ(VKR_CC_SetAttributes(0xE5, 0x09), VKR_OK);  // on semi-transparent white
  DrainCaptionQueue();
  EXPECT_EQ(SentPairs(), (Pairs{0x912F, 0x97AD, 0x9829, 0x19A7, 0x98AD, 0x19AD, 0x19AE, 0x1CA8,
                                0x10A1}));
}
