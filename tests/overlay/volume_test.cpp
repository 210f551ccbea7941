// volume_test.cpp: the volume overlay: levels, mute and the button edge rules, its show time,
// blink and fade colours, the built level pictures on LCD and TV, its silence under the menu, and
// the level it reports to a host.
#include <utility>

#include "overlay_fixture.h"

namespace {

constexpr uint32_t kUp = VKR_BUTTON_VOLUME_UP, kDown = VKR_BUTTON_VOLUME_DOWN;

class VolumeOverlay : public OverlayTest {
 protected:
  // The first frame hands the start volume to the player, as the demo's first frame does.
  void SetUp() override {
    OverlayTest::SetUp();
    Frame(0);
  }
  int Volume() { return VKR_TMV_Vol_GetVolume(); }
};

TEST_F(OverlayTest, StartVolumeIsAskedForOnce) {
  EXPECT_EQ(VKR_TMV_Vol_Update(), 1);
  EXPECT_EQ(VKR_TMV_Vol_GetVolume(), 44);
  EXPECT_EQ(VKR_TMV_Vol_Update(), 0);
  EXPECT_EQ(Cursor().enable, 0u);
}

TEST_F(VolumeOverlay, UpClimbsToTheTopThenBlinksWithoutChange) {
  const int table[] = {51, 57, 64, 70, 76, 83, 89, 96, 102, 108, 115, 121, 128};
  for (int expected : table) {
    Press(kUp);
    EXPECT_EQ(Volume(), expected);
  }
  EXPECT_EQ(Cursor().bitmapOffset, LevelPicture(20));

  Advance(kFrameMs);
  VKR_TMV_Vol_IncVolume();
  EXPECT_EQ(VKR_TMV_Vol_Update(), 0) << "a refused step asks for no new volume";
  EXPECT_EQ(Cursor().bitmapOffset, LevelPicture(20));
  EXPECT_EQ(Cursor().color1, 0xFFFFFFFFu) << "the blink starts after the press frame";
  const std::pair<uint32_t, uint32_t> blink[] = {
      {50, 0xBFFFFFFF}, {100, 0x7FFFFFFF}, {199, 0xFDFFFFFF}, {200, 0xFFFFFFFF}};
  uint32_t elapsed = 0;
  for (const auto& [afterPressMs, color1] : blink) {
    Advance(afterPressMs - elapsed);
    elapsed = afterPressMs;
    Frame(0);
    EXPECT_EQ(Cursor().color1, color1) << afterPressMs;
    EXPECT_EQ(Cursor().color0, 0x80000000u) << afterPressMs;
  }
  EXPECT_EQ(Volume(), 128);
}

TEST_F(VolumeOverlay, DownStopsAtSilenceAndBlinks) {
  for (int i = 0; i < 7; ++i) Press(kDown);
  EXPECT_EQ(Volume(), 0);
  EXPECT_EQ(Cursor().bitmapOffset, LevelPicture(0));
  VKR_TMV_Vol_DecVolume();
  EXPECT_EQ(VKR_TMV_Vol_Update(), 0);
  Advance(100);
  Frame(0);
  EXPECT_EQ(Cursor().color1, 0x7FFFFFFFu);
  EXPECT_EQ(Cursor().bitmapOffset, LevelPicture(0));
}

TEST_F(VolumeOverlay, ButtonsActOnlyWhenPressedFromNoVolumeButtonHeld) {
  Advance(kFrameMs);
  Frame(kUp);
  Hold(kUp, 500);
  EXPECT_EQ(Volume(), 51) << "holding does not repeat";
  Frame(kUp | kDown);
  EXPECT_EQ(Volume(), 0) << "adding the other button mutes";
  EXPECT_EQ(Cursor().bitmapOffset, kMutedPicture);
  Frame(kDown);
  Frame(kUp);
  EXPECT_EQ(Volume(), 0) << "a single button after another one held does nothing";
  Frame(0);
  Frame(kUp);
  EXPECT_EQ(Volume(), 51) << "up unmutes at the level kept";
  EXPECT_EQ(Cursor().bitmapOffset, LevelPicture(8));
}

TEST_F(OverlayTest, LevelIsThePictureShownAndLeavesTheVolumeChangeToTheMusic) {
  EXPECT_EQ(VKR_TMV_Vol_GetLevel(), 7);
  EXPECT_EQ(VKR_TMV_Vol_Update(), 1) << "reading the level asks the player for nothing";
  VKR_TMV_Vol_IncVolume();
  EXPECT_EQ(VKR_TMV_Vol_GetLevel(), 8);
  VKR_TMV_Vol_Mute();
  EXPECT_EQ(VKR_TMV_Vol_GetLevel(), 0);
  VKR_TMV_Vol_DecVolume();
  EXPECT_EQ(VKR_TMV_Vol_GetLevel(), 8) << "unmuted at the level kept";
  EXPECT_EQ(VKR_TMV_Vol_Update(), 1);
}

TEST_F(VolumeOverlay, MuteTwiceChangesNothingButProlongsTheDisplay) {
  Press(kUp | kDown);
  EXPECT_EQ(Volume(), 0);
  Hold(0, 1000);
  VKR_TMV_Vol_Mute();
  EXPECT_EQ(VKR_TMV_Vol_Update(), 0);
  Hold(0, 1500);
  EXPECT_EQ(Cursor().enable, 1u) << "2.5 s after the first mute, 1.5 s after the second";
  EXPECT_EQ(Cursor().bitmapOffset, kMutedPicture);
  Press(kDown);
  EXPECT_EQ(Volume(), 44) << "down unmutes too, at the level kept";
}

TEST_F(VolumeOverlay, ShowsForTwoSecondsEndingWithAFade) {
  Advance(kFrameMs);
  Frame(kUp);
  EXPECT_EQ(Cursor().enable, 1u);
  EXPECT_EQ(Cursor().large, 0u);
  EXPECT_EQ(Cursor().x, 240);
  EXPECT_EQ(Cursor().y, 195);
  struct Sample {
    uint32_t afterPressMs, color1, color0;
  };
  const Sample samples[] = {{1700, 0xFFFFFFFF, 0x80000000}, {1760, 0xFFFFFFFF, 0x80000000},
                            {1761, 0xFDFFFFFF, 0x7F000000}, {1900, 0x6AFFFFFF, 0x35000000},
                            {1999, 0x01FFFFFF, 0x00000000}};
  uint32_t elapsed = 0;
  for (const Sample& sample : samples) {
    Advance(sample.afterPressMs - elapsed);
    elapsed = sample.afterPressMs;
    Frame(0);
    EXPECT_EQ(Cursor().enable, 1u) << sample.afterPressMs;
    EXPECT_EQ(Cursor().color1, sample.color1) << sample.afterPressMs;
    EXPECT_EQ(Cursor().color0, sample.color0) << sample.afterPressMs;
  }
  Advance(1);
  Frame(0);
  EXPECT_EQ(Cursor().enable, 0u);
}

TEST_F(VolumeOverlay, IsSilentWhileTheMenuShows) {
  Press(kUp);
  EXPECT_EQ(Volume(), 51);
  Press(VKR_BUTTON_START);
  EXPECT_EQ(Cursor().bitmapOffset, kMenuPicture);
  Press(kUp);
  Press(kUp | kDown);
  Press(kDown);
  EXPECT_EQ(VKR_TMV_Vol_Update(), 0);
  EXPECT_EQ(Volume(), 51);
  EXPECT_EQ(Cursor().bitmapOffset, kMenuPicture);

  Hold(0, 400);
  Press(VKR_BUTTON_START);  // Play
  Hold(0, 400);
  EXPECT_EQ(State(), 0);
  EXPECT_EQ(Cursor().enable, 0u) << "the cancelled display does not come back";
  Press(kUp);
  EXPECT_EQ(Volume(), 57) << "the buttons work again once the menu has gone";
  EXPECT_EQ(Cursor().enable, 1u);
  EXPECT_EQ(Cursor().bitmapOffset, LevelPicture(9));
}

// The bar is `white` columns of white from its first column, then dark to its end.
void ExpectBar(const uint8_t* picture, bool lcd, uint32_t firstLine, uint32_t lastLine,
               uint32_t firstColumn, uint32_t columns, uint32_t white) {
  for (uint32_t line = firstLine; line <= lastLine; ++line)
    for (uint32_t c = 0; c < columns; ++c)
      ASSERT_EQ(PictureCode(picture, lcd, line, firstColumn + c), c < white ? 1 : 0)
          << "line " << line << " column " << firstColumn + c;
}

int TransparentPixels(const uint8_t* picture, bool lcd, uint32_t line, uint32_t column,
                      TMV_BitmapSize size) {
  int count = 0;
  for (uint32_t r = 0; r < size.height; ++r)
    for (uint32_t c = 0; c < size.width; ++c)
      count += PictureCode(picture, lcd, line + r, column + c) == 2;
  return count;
}

TEST_F(OverlayTest, LcdLevelPicturesShowTheirDigitsAndBar) {
  const TMV_BitmapSize digit = TMV_VOLUME_NUMBER_SIZE;
  const int all = static_cast<int>(digit.width * digit.height);

  const uint8_t* level15 = Picture(LevelPicture(15));
  EXPECT_EQ(Mismatches(level15, true, 19, 10, BMP_VOLUME_NUMBER_2.data(), digit), 0);
  EXPECT_EQ(Mismatches(level15, true, 19, 21, BMP_VOLUME_NUMBER_6.data(), digit), 0);
  ExpectBar(level15, true, 13, 15, 3, 26, 19);
  EXPECT_EQ(Mismatches(level15, true, 0, 0, BMP_VOLUMEBKG_SMALL.data(), {32, 13}), 0);

  const uint8_t* level0 = Picture(LevelPicture(0));
  EXPECT_EQ(TransparentPixels(level0, true, 19, 10, digit), all) << "no tens digit";
  EXPECT_EQ(Mismatches(level0, true, 19, 21, BMP_VOLUME_NUMBER_1.data(), digit), 0);
  ExpectBar(level0, true, 13, 15, 3, 26, 0);

  const uint8_t* level9 = Picture(LevelPicture(9));
  EXPECT_EQ(TransparentPixels(level9, true, 19, 10, digit), all);
  EXPECT_EQ(Mismatches(level9, true, 19, 21, BMP_VOLUME_NUMBER_10.data(), digit), 0);

  const uint8_t* level20 = Picture(LevelPicture(20));
  EXPECT_EQ(Mismatches(level20, true, 19, 10, BMP_VOLUME_NUMBER_3.data(), digit), 0);
  EXPECT_EQ(Mismatches(level20, true, 19, 21, BMP_VOLUME_NUMBER_1.data(), digit), 0);
  EXPECT_EQ(Mismatches(level20, true, 0, 0, BMP_VOLUMEBKG_SMALL.data(), {32, 19}), 0);

  const uint8_t* muted = Picture(kMutedPicture);
  EXPECT_EQ(Mismatches(muted, true, 0, 0, BMP_VOLUMEBKG_MUTED_SMALL.data(), {32, 19}), 0);
  EXPECT_EQ(TransparentPixels(muted, true, 19, 0, {32, 13}), 32 * 13);
}

TEST_F(OverlayTest, TvLevelPicturesAreInterlacedFieldPairs) {
  Initialize(0, 0);
  const TMV_BitmapSize digit = TMV_VOLUME_NUMBER_SIZE;

  const uint8_t* level15 = Picture(LevelPicture(15));
  EXPECT_EQ(Mismatches(level15, false, 32, 42, BMP_VOLUME_NUMBER_2.data(), digit), 0);
  EXPECT_EQ(Mismatches(level15, false, 32, 53, BMP_VOLUME_NUMBER_6.data(), digit), 0);
  ExpectBar(level15, false, 20, 24, 4, 56, 42);
  EXPECT_EQ(Mismatches(level15, false, 0, 0, BMP_VOLUMEBKG_BIG.data(), {64, 20}), 0);
  EXPECT_EQ(TransparentPixels(level15, false, 45, 0, {64, 83}), 64 * 83);

  const uint8_t* level0 = Picture(LevelPicture(0));
  EXPECT_EQ(TransparentPixels(level0, false, 32, 42, digit), static_cast<int>(11 * 13));
  ExpectBar(level0, false, 20, 24, 4, 56, 0);

  const uint8_t* muted = Picture(kMutedPicture);
  EXPECT_EQ(Mismatches(muted, false, 0, 0, BMP_VOLUMEBKG_MUTED_BIG.data(), {64, 30}), 0);
  EXPECT_EQ(TransparentPixels(muted, false, 30, 0, {64, 98}), 64 * 98);

  Frame(0);
  Press(kUp);
  EXPECT_EQ(Cursor().large, 1u);
  EXPECT_EQ(Cursor().x, 540);
  EXPECT_EQ(Cursor().y, 179);
  Initialize(0, 1);
  Press(kUp);
  EXPECT_EQ(Cursor().y, 219);
}

}  // namespace
