// caption_overlay_test.cpp: the simulated television's caption decoder fed hand-made line-21
// pairs: pop-on, roll-up with colours and background attributes, erase; the rows read from the
// decoder's page, and the page drawn over a picture compared with a stored still.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "sim_captionOverlay.h"
#include "still_file.h"

namespace {

uint8_t WithParity(uint8_t byte) {
  return __builtin_popcount(byte & 0x7F) % 2 ? byte & 0x7F : byte | 0x80;
}

void Send(std::initializer_list<uint16_t> pairs) {
  for (uint16_t pair : pairs) SimCaptionOverlay_Feed(uint8_t(pair >> 8), uint8_t(pair));
}

// Text two characters a field, a lone last one paired with the null byte, as the console's caption
// queue sends it.
void SendText(const std::string& text) {
  for (size_t i = 0; i < text.size(); i += 2)
    SimCaptionOverlay_Feed(WithParity(uint8_t(text[i])),
                           i + 1 < text.size() ? WithParity(uint8_t(text[i + 1])) : 0x80);
}

// Fields without captions, which carry the null pair.
void SendNulls(int fields) {
  for (int i = 0; i < fields; ++i) SimCaptionOverlay_Feed(0x80, 0x80);
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first);
}

std::vector<std::string> ShownRows() {
  std::vector<std::string> rows;
  for (int row = 0; row < 15; ++row) rows.push_back(Trimmed(SimCaptionOverlay_Row(row).text));
  return rows;
}

std::vector<std::string> RowsWith(std::initializer_list<std::pair<int, std::string>> shown) {
  std::vector<std::string> rows(15);
  for (const auto& [row, text] : shown) rows[row] = text;
  return rows;
}

// Caption channel 1 control codes, parity included.
constexpr uint16_t kResumeCaptionLoading = 0x9420, kEndOfCaption = 0x942F;
constexpr uint16_t kRollUp2 = 0x9425, kRollUp4 = 0x94A7, kCarriageReturn = 0x94AD;
constexpr uint16_t kEraseDisplayed = 0x942C, kEraseNonDisplayed = 0x94AE;
constexpr uint16_t kRow2Column0White = 0x91E0, kRow15Column0WhiteItalic = 0x946E;
constexpr uint16_t kRed = 0x91A8, kCyanUnderlined = 0x91A7, kFlashOn = 0x94A8;
constexpr uint16_t kTransparentBackground = 0x97AD, kBlueOpaqueBackground = 0x10A4;
constexpr uint16_t kYellowSemiTransparentBackground = 0x10AB;

class CaptionOverlay : public ::testing::Test {
 protected:
  void SetUp() override { SimCaptionOverlay_Reset(); }
  void TearDown() override { SimCaptionOverlay_Reset(); }
};

TEST_F(CaptionOverlay, PopOnShowsOnlyAtEndOfCaptionAndEraseClearsTheScreen) {
  Send({kResumeCaptionLoading, kEraseNonDisplayed, kRow2Column0White});
  SendText("POP ON ROW");
  SendNulls(2);
  EXPECT_EQ(ShownRows(), RowsWith({})) << "loaded off screen";
  Send({kEndOfCaption});
  SendNulls(2);
  EXPECT_EQ(ShownRows(), RowsWith({{1, "POP ON ROW"}}));
  EXPECT_EQ(SimCaptionOverlay_Row(1).foreground, 7) << "white";
  Send({kEraseDisplayed});
  SendNulls(1);
  EXPECT_EQ(ShownRows(), RowsWith({}));
}

TEST_F(CaptionOverlay, RollUpRowsTakeTheirColoursAndRollAtEachCarriageReturn) {
  Send({kRollUp2, kTransparentBackground, kCarriageReturn, kRed});
  SendText("RED ROW");
  Send({kCarriageReturn, kCyanUnderlined});
  SendText("CYAN");
  SendNulls(2);
  EXPECT_EQ(ShownRows(), RowsWith({{13, "RED ROW"}, {14, "CYAN"}}));
  const SimCaptionRow red = SimCaptionOverlay_Row(13), cyan = SimCaptionOverlay_Row(14);
  EXPECT_EQ(red.foreground, 1);
  EXPECT_FALSE(red.underline);
  EXPECT_EQ(cyan.foreground, 6);
  EXPECT_TRUE(cyan.underline);
  EXPECT_EQ(red.opacity, 1) << "transparent background: the characters alone";
  // Two rows of roll-up: the third pushes the first off.
  Send({kCarriageReturn});
  SendText("THIRD");
  SendNulls(2);
  EXPECT_EQ(ShownRows(), RowsWith({{13, "CYAN"}, {14, "THIRD"}}));
}

// The picture of a page holding every kind of cell: a white italic row on an opaque blue
// background, a red row on a half-transparent yellow one, a flashing row with transparent
// background, over grey; checked by eye once, then stored.
void SendStillPage() {
  Send({kRollUp4, kRow15Column0WhiteItalic, kBlueOpaqueBackground});
  SendText("Italic on blue");
  Send({kCarriageReturn, kYellowSemiTransparentBackground, kRed});
  SendText("Red on yellow, half");
  Send({kCarriageReturn, kTransparentBackground, kFlashOn});
  SendText("Flashing 2011!");
  SendNulls(2);
}

TEST_F(CaptionOverlay, DrawsThePageInTheSafeAreaAsTheStoredStill) {
  SendStillPage();
  ASSERT_EQ(ShownRows(),
            RowsWith({{12, "Italic on blue"}, {13, "Red on yellow, half"}, {14, "Flashing 2011!"}}));
  EXPECT_TRUE(SimCaptionOverlay_Row(12).italic);
  EXPECT_EQ(SimCaptionOverlay_Row(12).background, 4);
  EXPECT_EQ(SimCaptionOverlay_Row(12).opacity, 3) << "opaque";
  EXPECT_EQ(SimCaptionOverlay_Row(13).opacity, 2) << "semi-transparent";
  EXPECT_TRUE(SimCaptionOverlay_Row(14).flash);

  for (const auto& [height, name] : {std::pair{480, "caption_overlay_ntsc"},
                                     std::pair{576, "caption_overlay_pal"}}) {
    std::vector<uint8_t> picture(size_t{720} * height * 3, 0x60);
    SimCaptionOverlay_Draw(picture.data(), 720, height, 0);
    ExpectSameAsStill(picture, 720, height, name);

    // Flashing characters are gone in the second half of each second, and only they.
    std::vector<uint8_t> flashOff(picture.size(), 0x60);
    SimCaptionOverlay_Draw(flashOff.data(), 720, height, 1500000000);
    SimCaptionGrid grid;
    ASSERT_TRUE(SimCaptionOverlay_GridOf(720, height, &grid));
    const int lastRowTop = grid.top + 14 * grid.rowHeight;
    const size_t split = size_t{720} * lastRowTop * 3;
    EXPECT_TRUE(std::equal(picture.begin(), picture.begin() + split, flashOff.begin()));
    EXPECT_FALSE(std::equal(picture.begin() + split, picture.end(), flashOff.begin() + split));
    EXPECT_TRUE(std::all_of(flashOff.begin() + split, flashOff.end(),
                            [](uint8_t byte) { return byte == 0x60; }))
        << "the flashing row's background is transparent";
  }
}

TEST_F(CaptionOverlay, LeavesOtherPicturesAndEverythingOutsideTheGridAlone) {
  SendStillPage();
  std::vector<uint8_t> lcd(size_t{320} * 240 * 3, 0x33);
  SimCaptionOverlay_Draw(lcd.data(), 320, 240, 0);
  EXPECT_TRUE(std::all_of(lcd.begin(), lcd.end(), [](uint8_t byte) { return byte == 0x33; }));
  EXPECT_FALSE(SimCaptionOverlay_GridOf(320, 240, nullptr));
  SimCaptionOverlay_Draw(nullptr, 720, 480, 0);

  std::vector<uint8_t> ntsc(size_t{720} * 480 * 3, 0x33);
  SimCaptionOverlay_Draw(ntsc.data(), 720, 480, 0);
  SimCaptionGrid grid;
  ASSERT_TRUE(SimCaptionOverlay_GridOf(720, 480, &grid));
  const int firstShownRowTop = grid.top + 12 * grid.rowHeight;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 720; ++x) {
      const bool inShownRows = y >= firstShownRowTop && y < grid.top + 15 * grid.rowHeight &&
                               x >= grid.left && x < grid.left + grid.width;
      if (inShownRows) continue;
      const uint8_t* pixel = &ntsc[(size_t(y) * 720 + x) * 3];
      ASSERT_TRUE(pixel[0] == 0x33 && pixel[1] == 0x33 && pixel[2] == 0x33) << x << ", " << y;
    }
}

TEST_F(CaptionOverlay, AResetForgetsThePage) {
  SendStillPage();
  SimCaptionOverlay_Reset();
  EXPECT_EQ(ShownRows(), RowsWith({}));
  std::vector<uint8_t> picture(size_t{720} * 480 * 3, 0x60);
  SimCaptionOverlay_Draw(picture.data(), 720, 480, 0);
  EXPECT_TRUE(std::all_of(picture.begin(), picture.end(), [](uint8_t byte) { return byte == 0x60; }));
}

}  // namespace
