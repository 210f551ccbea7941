// The caption queue: text to EIA-608 pairs per channel, the room checks, one pair a call, and the
// commands and attributes, as the simulated console's encoder received them.
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
