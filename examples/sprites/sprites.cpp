// sprites.cpp: a ball moved by the stick over a striped background, both in video memory. Each
// frame the blitter copies the background into the hidden page and the ball over it, leaving out
// the ball's pixels of the key colour; then the RGB layer shows that page. Start ends.
#include <copperbramble/vkr_host.h>
#include <copperbramble/vkr_lowLevel.h>

#include <cstring>

namespace {

constexpr int kWidth = 320, kHeight = 240, kBall = 24;
constexpr uint32_t kPageBytes = kWidth * kHeight * 2;
// Video memory: two pages shown in turn, the background, the ball.
constexpr uint32_t kPages[2] = {0, kPageBytes};
constexpr uint32_t kBackground = 2 * kPageBytes;
constexpr uint32_t kBallPicture = 3 * kPageBytes;

constexpr uint16_t kKey = 0xF81F;                // magenta: not drawn
constexpr uint32_t kCopy = 12;                   // raster operation 12: the source
constexpr uint32_t kCopySkippingKey = 0x400 | kCopy;

constexpr uint16_t Rgb565(int red, int green, int blue) {
  return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

void Store(uint8_t* video, uint32_t offset, uint16_t pixel) { std::memcpy(video + offset, &pixel, 2); }

void DrawPictures(uint8_t* video) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool stripe = ((x + y) / 16) % 2;
      Store(video, kBackground + (y * kWidth + x) * 2,
            stripe ? Rgb565(30, 60, 110) : Rgb565(20, 40, 80));
    }
  // A ball: a disc of orange shading to yellow, the key colour round it.
  for (int y = 0; y < kBall; ++y)
    for (int x = 0; x < kBall; ++x) {
      const int dx = 2 * x + 1 - kBall, dy = 2 * y + 1 - kBall;
      const int distance = dx * dx + dy * dy;
      const bool inside = distance <= kBall * kBall;
      Store(video, kBallPicture + (y * kBall + x) * 2,
            inside ? Rgb565(255, 120 + 120 * (kBall * kBall - distance) / (kBall * kBall), 40)
                   : kKey);
    }
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

void ShowFrame() {
  VKR_WaitVSync();
#if defined(VKR_BACKEND_DESKTOP)
  VKR_LowLevelAPI_SoftRender();
#endif
}

}  // namespace

int AppMain(int, char**) {
  if (VKR_InitLowLevelAPI("Sprites") != VKR_OK) {
    VKR_FreeLowLevelAPI(0);
    return 1;
  }
  VKR_SetDisplayMode(0, 16);
  uint8_t* video = nullptr;
  VKR_GetVideoBasePtr(&video);
  DrawPictures(video);

  int x = (kWidth - kBall) / 2, y = (kHeight - kBall) / 2;
  for (uint32_t frame = 0;; ++frame) {
    uint32_t held = 0;
    VKR_GetGP2XInputState(&held);
    if ((held & VKR_BUTTON_START) || VKR_Host_EndRequested()) break;
    const int step = (held & VKR_BUTTON_A) ? 4 : 2;
    if (held & (VKR_BUTTON_LEFT | VKR_BUTTON_UP_LEFT | VKR_BUTTON_DOWN_LEFT)) x -= step;
    if (held & (VKR_BUTTON_RIGHT | VKR_BUTTON_UP_RIGHT | VKR_BUTTON_DOWN_RIGHT)) x += step;
    if (held & (VKR_BUTTON_UP | VKR_BUTTON_UP_LEFT | VKR_BUTTON_UP_RIGHT)) y -= step;
    if (held & (VKR_BUTTON_DOWN | VKR_BUTTON_DOWN_LEFT | VKR_BUTTON_DOWN_RIGHT)) y += step;
    x = Clamp(x, 0, kWidth - kBall);
    y = Clamp(y, 0, kHeight - kBall);

    const uint32_t page = kPages[frame % 2];
    VKR_HwBitBlt(page, kWidth, kWidth, kHeight, kBackground, kWidth, kCopy, 0, 0, 0);
    VKR_HwBitBlt(page + (y * kWidth + x) * 2, kWidth, kBall, kBall, kBallPicture, kBall,
                 kCopySkippingKey, kKey, 0, 0);
    VKR_WaitHwBlitter(0);
    VKR_SetRGBStartAddress(page);
    VKR_Host_FramePainted(frame);
    ShowFrame();
  }
  VKR_FreeLowLevelAPI(1);
  return 0;
}
