// menu_test.cpp: the pause menu driven through the dispatcher: opening and choosing with their
// edge and level rules, dropped presses, item changes, Camera and the wake-up, the demo clock,
// the slide, fade and pulse, the built image with its transition and shine, and the music.
#include <mikmod.h>

#include <algorithm>
#include <vector>

#include "overlay_fixture.h"

namespace {

constexpr uint32_t kStart = VKR_BUTTON_START, kB = VKR_BUTTON_B, kLeft = VKR_BUTTON_LEFT,
                   kRight = VKR_BUTTON_RIGHT, kSelect = VKR_BUTTON_SELECT;
constexpr int kRunning = 0, kOpen = 1, kExit = 2, kHidden = 3;

uint8_t Alpha(uint32_t colour) { return static_cast<uint8_t>(colour >> 24); }

class PauseMenu : public OverlayTest {
 protected:
  // The menu image shows item bitmaps number n (1 Play, 2 Exit, 3 Camera) whole: the icon right of
  // the left arrow, the label below.
  bool ShowsItem(int n, bool lcd = true) const {
    const uint8_t* const icons[2][3] = {
        {BMP_TINYMENU_ICON_BIG_1.data(), BMP_TINYMENU_ICON_BIG_2.data(),
         BMP_TINYMENU_ICON_BIG_3.data()},
        {BMP_TINYMENU_ICON_SMALL_1.data(), BMP_TINYMENU_ICON_SMALL_2.data(),
         BMP_TINYMENU_ICON_SMALL_3.data()}};
    const uint8_t* const labels[2][3] = {
        {BMP_TINYMENU_LABEL_BIG_1.data(), BMP_TINYMENU_LABEL_BIG_2.data(),
         BMP_TINYMENU_LABEL_BIG_3.data()},
        {BMP_TINYMENU_LABEL_SMALL_1.data(), BMP_TINYMENU_LABEL_SMALL_2.data(),
         BMP_TINYMENU_LABEL_SMALL_3.data()}};
    const uint8_t* menu = Picture(kMenuPicture);
    return Mismatches(menu, lcd, 0, lcd ? 6 : 12, icons[lcd][n - 1],
                      lcd ? TMV_TINYMENU_ICON_SMALL_SIZE : TMV_TINYMENU_ICON_BIG_SIZE) == 0 &&
           Mismatches(menu, lcd, lcd ? 20 : 40, 0, labels[lcd][n - 1],
                      lcd ? TMV_TINYMENU_LABEL_SMALL_SIZE : TMV_TINYMENU_LABEL_BIG_SIZE) == 0;
  }
  // The left and right arrows are arrow bitmaps number left and right.
  bool ShowsArrows(int left, int right, bool lcd = true) const {
    const uint8_t* const arrows[2][4] = {
        {BMP_TINYMENU_ARROWS_BIG_1.data(), BMP_TINYMENU_ARROWS_BIG_2.data(),
         BMP_TINYMENU_ARROWS_BIG_3.data(), BMP_TINYMENU_ARROWS_BIG_4.data()},
        {BMP_TINYMENU_ARROWS_SMALL_1.data(), BMP_TINYMENU_ARROWS_SMALL_2.data(),
         BMP_TINYMENU_ARROWS_SMALL_3.data(), BMP_TINYMENU_ARROWS_SMALL_4.data()}};
    const TMV_BitmapSize size = lcd ? TMV_TINYMENU_ARROWS_SMALL_SIZE : TMV_TINYMENU_ARROWS_BIG_SIZE;
    const uint8_t* menu = Picture(kMenuPicture);
    return Mismatches(menu, lcd, 0, 0, arrows[lcd][left - 1], size) == 0 &&
           Mismatches(menu, lcd, 0, lcd ? 26 : 52, arrows[lcd][right - 1], size) == 0;
  }
};

TEST_F(PauseMenu, StartHeldOpensOnceAndNeverSelects) {
  Advance(kFrameMs);
  Frame(kStart);
  EXPECT_EQ(State(), kOpen);
  Hold(kStart, 2000);
  EXPECT_EQ(State(), kOpen);
  EXPECT_TRUE(ShowsItem(1)) << "the menu opens at Play";
}

TEST_F(PauseMenu, BHeldChoosesOnceTheOpeningFadeHasEnded) {
  Advance(kFrameMs);
  Frame(kStart);
  uint32_t waited = 0;
  while (State() == kOpen && waited < 1000) {
    Advance(kFrameMs);
    waited += kFrameMs;
    Frame(kStart | kB);
  }
  EXPECT_EQ(State(), kRunning);
  EXPECT_GT(waited, 320u);
  EXPECT_LE(waited, 320u + 2 * kFrameMs);
}

TEST_F(PauseMenu, PressesDuringAnAnimationAreDropped) {
  Press(kStart);
  Press(kStart);
  Press(kLeft);
  EXPECT_EQ(State(), kOpen) << "Start during the opening fade does not choose";
  Hold(0, 400);

  Press(kLeft);
  Advance(100);
  Press(kLeft);
  Press(kStart);
  Press(kRight);
  Hold(0, 400);
  Press(kStart);
  EXPECT_EQ(State(), kHidden) << "only the first Left counted: Camera";
}

TEST_F(PauseMenu, ItemsGoRoundInBothDirections) {
  OpenMenu();
  Move(kRight);
  EXPECT_TRUE(ShowsItem(2)) << "Right from Play gives Exit";
  Move(kLeft);
  EXPECT_TRUE(ShowsItem(1)) << "Left from Exit gives Play";
  Move(kSelect);
  EXPECT_TRUE(ShowsItem(2)) << "Select goes back like Right";
  Press(kStart);
  EXPECT_EQ(State(), kExit);
  Press(kStart);
  EXPECT_EQ(State(), kExit) << "Exit is final";
}

TEST_F(PauseMenu, CameraHidesTheMenuUntilAPressAfterEverythingWasReleased) {
  constexpr uint32_t kA = VKR_BUTTON_A;
  OpenMenu();
  Move(kLeft);
  Advance(kFrameMs);
  Frame(kA);
  Advance(kFrameMs);
  Frame(kA | kStart);
  EXPECT_EQ(State(), kHidden);
  Hold(kA, 400);
  EXPECT_EQ(Cursor().enable, 0u);

  Advance(kFrameMs);
  Frame(kA | kStart);
  Hold(kA | kStart, 100);
  EXPECT_EQ(State(), kHidden) << "a button was held in the frame before";
  EXPECT_EQ(Cursor().enable, 0u);

  Frame(0);
  Advance(kFrameMs);
  Frame(VKR_BUTTON_X);
  EXPECT_EQ(State(), kOpen);
  EXPECT_EQ(Cursor().enable, 1u);
  Hold(0, 400);
  EXPECT_TRUE(ShowsItem(3)) << "the menu comes back at Camera";
  Press(kStart);
  EXPECT_EQ(State(), kHidden);
}

TEST_F(PauseMenu, DemoClockStandsStillWhilePaused) {
  VKR_TMV_Start_Absolute_Timer();
  Hold(0, 5000);
  const uint32_t atOpening = VKR_TMV_Retrieve_Absolute_Timer();
  EXPECT_EQ(atOpening, 5008u);
  Advance(kFrameMs);
  Frame(kStart);
  const uint32_t paused = atOpening + kFrameMs;
  Hold(0, 3000);
  EXPECT_EQ(VKR_TMV_Retrieve_Absolute_Timer(), paused);

  Move(kLeft);  // Camera, then wake it up and go back to Play
  Press(kStart);
  Hold(0, 2000);
  Press(VKR_BUTTON_A);
  Hold(0, 400);
  Move(kRight);
  EXPECT_EQ(VKR_TMV_Retrieve_Absolute_Timer(), paused);

  Advance(kFrameMs);
  Frame(kStart);
  EXPECT_EQ(State(), kRunning);
  EXPECT_EQ(VKR_TMV_Retrieve_Absolute_Timer(), paused);
  Advance(250);
  EXPECT_EQ(VKR_TMV_Retrieve_Absolute_Timer(), paused + 250);

  Frame(0);
  Press(kStart);  // a second pause is not counted either
  Hold(0, 1000);
  Press(kStart);
  EXPECT_EQ(VKR_TMV_Retrieve_Absolute_Timer(), paused + 250 + 2 * kFrameMs);
}

TEST_F(PauseMenu, SlidesAndFadesInPulsesThenFadesOutAndLetsGo) {
  Advance(kFrameMs);
  Frame(kStart);
  EXPECT_EQ(Cursor().enable, 1u);
  EXPECT_EQ(Cursor().large, 0u);
  EXPECT_EQ(Cursor().bitmapOffset, kMenuPicture);
  EXPECT_LE(Cursor().x, 144 - 11);
  EXPECT_EQ(Cursor().y, 104);
  EXPECT_EQ(Alpha(Cursor().color1), 0);
  EXPECT_EQ(Alpha(Cursor().color0), 0);
  Hold(0, 160);
  EXPECT_GT(Cursor().x, 144 - 11);
  EXPECT_LT(Cursor().x, 144);

  Hold(0, 200);
  EXPECT_EQ(Cursor().x, 144);
  std::vector<uint8_t> white, black;
  for (int frame = 0; frame < 110; ++frame) {
    Hold(0, kFrameMs);
    white.push_back(Alpha(Cursor().color1));
    black.push_back(Alpha(Cursor().color0));
    ASSERT_EQ(Cursor().x, 144);
  }
  EXPECT_GE(*std::min_element(white.begin(), white.end()), 175);
  EXPECT_LE(*std::min_element(white.begin(), white.end()), 178);
  EXPECT_GE(*std::max_element(white.begin(), white.end()), 252);
  EXPECT_GE(*std::min_element(black.begin(), black.end()), 88);
  EXPECT_LE(*std::max_element(black.begin(), black.end()), 127);

  Press(kStart);
  EXPECT_EQ(State(), kRunning);
  Hold(0, 300);
  EXPECT_EQ(Cursor().enable, 1u);
  EXPECT_EQ(Cursor().x, 144 + 12) << "the closing fade slides to the right";
  EXPECT_EQ(Alpha(Cursor().color1), 0);
  Advance(kFrameMs);
  Frame(kStart);
  EXPECT_EQ(State(), kOpen) << "Start during the closing fade opens the menu again";
  Hold(0, 400);
  Press(kStart);
  Hold(0, 400);
  EXPECT_EQ(Cursor().enable, 0u);
  Press(VKR_BUTTON_VOLUME_UP);
  EXPECT_EQ(Cursor().bitmapOffset, LevelPicture(8)) << "the volume overlay has the layer";
}

TEST_F(PauseMenu, ArrowsShowWhichWayIsHeld) {
  OpenMenu();
  EXPECT_TRUE(ShowsArrows(1, 2));
  Advance(kFrameMs);
  Frame(kLeft | kSelect);
  EXPECT_TRUE(ShowsArrows(3, 4));
  Frame(kRight);
  EXPECT_TRUE(ShowsArrows(1, 4));
}

// During a change the strip shows the outgoing item at its start, the incoming one at its end, a
// mixture of both between.
TEST_F(PauseMenu, ItemChangePushesOneItemOutWithTheOther) {
  OpenMenu();
  Advance(kFrameMs);
  Frame(kLeft);  // Play to Camera
  EXPECT_TRUE(ShowsItem(1));
  Advance(145);
  Frame(0);
  EXPECT_FALSE(ShowsItem(1));
  EXPECT_FALSE(ShowsItem(3));
  Advance(145);
  Frame(0);
  EXPECT_TRUE(ShowsItem(3));

  Hold(0, 100);
  Advance(kFrameMs);
  Frame(kRight);  // back to Play, which comes in from the left
  EXPECT_TRUE(ShowsItem(3));
  Advance(290);
  Frame(0);
  EXPECT_TRUE(ShowsItem(1));
  Advance(1);
  Frame(0);
  EXPECT_TRUE(ShowsItem(1)) << "the change has ended at Play";
}

TEST_F(PauseMenu, ShineBandCrossesTheIconInTheLastSecondOfTen) {
  Advance(kFrameMs);
  Frame(kStart);
  Advance(9000);
  Frame(0);
  const uint8_t* image = Picture(kMenuPicture);
  const uint8_t* icon = BMP_TINYMENU_ICON_SMALL_1.data();
  EXPECT_TRUE(ShowsItem(1));

  Advance(500);
  Frame(0);
  int inverted = 0;
  for (uint32_t i = 0; i < 20; ++i) {
    for (uint32_t j = 0; j < 20; ++j) {
      const int code = BitmapCode(icon, 20, i, j);
      const bool inBand = 16 < i + j && i + j < 23;
      ASSERT_EQ(PictureCode(image, true, i, 6 + j), inBand && code != 0 ? 3 : code)
          << "row " << i << " column " << j;
      inverted += inBand && code != 0;
    }
  }
  EXPECT_GT(inverted, 0);

  Advance(600);
  Frame(0);
  EXPECT_TRUE(ShowsItem(1)) << "the next ten seconds start without the band";
}

TEST_F(PauseMenu, TvImageIsTwoFieldsWithTransparentLowerHalves) {
  Initialize(0, 0);
  OpenMenu();
  EXPECT_EQ(Cursor().large, 1u);
  EXPECT_EQ(Cursor().x, 328);
  EXPECT_EQ(Cursor().y, 90);
  EXPECT_TRUE(ShowsItem(1, false));
  EXPECT_TRUE(ShowsArrows(1, 2, false));
  const uint8_t* menu = Picture(kMenuPicture);
  for (uint32_t field : {0u, 1024u})
    for (uint32_t byte = 512; byte < 1024; ++byte)
      ASSERT_EQ(menu[field + byte], 0xAA) << field + byte;
  Move(kLeft);
  EXPECT_TRUE(ShowsItem(3, false));

  Initialize(0, 1);
  OpenMenu();
  EXPECT_EQ(Cursor().y, 130);
}

// With a module playing: the volume reaches the player; opening pauses the music, a dropped
// choice and Camera leave it paused, Play resumes it, Exit leaves it paused.
TEST_F(OverlayTest, MusicFollowsTheVolumeAndTheMenu) {
  MikMod_RegisterDriver(&drv_nos);
  MikMod_RegisterLoader(&load_it);
  ASSERT_EQ(MikMod_Init(""), 0);
  MODULE* module = Player_Load(const_cast<CHAR*>("main.it"), 64, 0);
  if (!module) {
    MikMod_Exit();
    GTEST_SKIP() << "no main.it in the working directory";
  }
  Player_Start(module);
  Frame(0);
  EXPECT_EQ(module->volume, 44);
  Press(VKR_BUTTON_VOLUME_UP);
  EXPECT_EQ(module->volume, 51);
  Press(VKR_BUTTON_VOLUME_UP | VKR_BUTTON_VOLUME_DOWN);
  EXPECT_EQ(module->volume, 0);

  Press(kStart);
  EXPECT_TRUE(Player_Paused());
  Press(kStart);
  EXPECT_TRUE(Player_Paused()) << "the choice during the opening fade was dropped";
  Hold(0, 400);
  Move(kLeft);
  Press(kStart);  // Camera
  Hold(0, 400);
  EXPECT_TRUE(Player_Paused());
  Press(kStart);  // wakes the menu
  Hold(0, 400);
  Move(kRight);
  Press(kStart);  // Play
  EXPECT_FALSE(Player_Paused());
  Hold(0, 400);
  OpenMenu();
  Move(kRight);
  Press(kStart);  // Exit
  EXPECT_EQ(State(), kExit);
  EXPECT_TRUE(Player_Paused());

  Player_Stop();
  Player_Free(module);
  MikMod_Exit();
}

}  // namespace
