// composed_test.cpp: the overlays in composed frames on the LCD and on NTSC: every pixel of the
// cursor's square shows its picture's code (white, the translucent black, or the grey behind).
#include <functional>

#include "overlay_fixture.h"

namespace {

constexpr uint8_t kGrey = 128;          // the RGB layer behind the overlays
constexpr uint16_t kGrey565 = 0x8410;   // 128, 128, 128 once expanded

class ComposedOverlay : public OverlayTest {
 protected:
  // Output mode, overlays for it, and a grey RGB layer over the whole output.
  void Start(uint32_t mode) {
    VKR_SetDisplayMode(mode, 16);
    const bool lcd = mode == 0;
    Initialize(lcd, 0);
    width = lcd ? 320 : 720;
    height = lcd ? 240 : 480;
    for (int i = 0; i < width * height; ++i) {
      video[2 * i] = kGrey565 & 0xFF;
      video[2 * i + 1] = kGrey565 >> 8;
    }
    VKR_SetRGBStartAddress(0);
  }

  const uint8_t* Pixel(int x, int y) const {
    return VKR_WinComposedFrame() + (static_cast<size_t>(y) * width + x) * 3;
  }

  // Composes the frame and checks the square of size output pixels at (left, top) against the
  // picture: code 1 pixels must satisfy white, code 0 dark, code 2 keep the grey. `lines` frame
  // lines of the picture are shown (fewer where the output ends).
  void ExpectComposed(const uint8_t* picture, bool lcd, int left, int top, int size, int lines,
                      const std::function<bool(int)>& white, const std::function<bool(int)>& dark) {
    VKR_LowLevelAPI_SoftRender();
    int whites = 0, darks = 0;
    for (int line = 0; line < lines; ++line) {
      for (int column = 0; column < size; ++column) {
        const uint8_t* bgr = Pixel(left + column, top + line);
        ASSERT_TRUE(bgr[0] == bgr[1] && bgr[1] == bgr[2]) << column << ", " << line;
        const int code = PictureCode(picture, lcd, line, column);
        if (code == 1) {
          ++whites;
          ASSERT_TRUE(white(bgr[0])) << "white at " << column << ", " << line << ": " << +bgr[0];
        } else if (code == 0) {
          ++darks;
          ASSERT_TRUE(dark(bgr[0])) << "dark at " << column << ", " << line << ": " << +bgr[0];
        } else {
          ASSERT_EQ(bgr[0], kGrey) << "transparent at " << column << ", " << line;
        }
      }
    }
    EXPECT_GT(whites, 50);
    EXPECT_GT(darks, 50);
    // Just outside the square the grey is untouched.
    EXPECT_EQ(Pixel(left - 1, top)[0], kGrey);
    EXPECT_EQ(Pixel(left, top - 1)[0], kGrey);
    if (left + size < width) {
      EXPECT_EQ(Pixel(left + size, top)[0], kGrey);
    }
  }

  int width = 0, height = 0;
};

// White at full alpha covers the grey; black at alpha 0x80 keeps 112/240 of it.
const auto kVolumeWhite = [](int v) { return v == 255; };
const auto kVolumeDark = [](int v) { return v == kGrey * 112 / 240; };
// The menu pulses: white alpha 175 to 254, black 88 to 127 (upper four bits count).
const auto kMenuWhite = [](int v) { return v >= (kGrey * 80 + 255 * 160) / 240; };
const auto kMenuDark = [](int v) { return v >= kGrey * 128 / 240 && v <= kGrey * 160 / 240; };

TEST_F(ComposedOverlay, VolumeOnTheLcd) {
  Start(0);
  Press(VKR_BUTTON_VOLUME_UP);
  ExpectComposed(Picture(LevelPicture(8)), true, 240, 195, 32, 32, kVolumeWhite, kVolumeDark);
}

TEST_F(ComposedOverlay, MenuOnTheLcd) {
  Start(0);
  OpenMenu();
  ExpectComposed(Picture(kMenuPicture), true, 144, 104, 32, 32, kMenuWhite, kMenuDark);
}

// NTSC: y counts field lines; the volume square at field line 179 is cut at the 240th field line
// count, 61 output lines.
TEST_F(ComposedOverlay, VolumeOnNtsc) {
  Start(6);
  Press(VKR_BUTTON_VOLUME_UP);
  ExpectComposed(Picture(LevelPicture(8)), false, 540, 2 * 179, 64, 240 - 179, kVolumeWhite,
                 kVolumeDark);
}

TEST_F(ComposedOverlay, MenuOnNtsc) {
  Start(6);
  OpenMenu();
  ExpectComposed(Picture(kMenuPicture), false, 328, 2 * 90, 64, 128, kMenuWhite, kMenuDark);
}

}  // namespace
