// yuv_behind_rgb.cpp: colour bars in packed 4:2:2 YUV on plane A, behind an RGB layer whose
// region 1 keys out one colour: where the RGB picture has that colour the YUV plane shows, so a
// framed window with text lies over moving video. Start ends.
#include <copperbramble/vkr_host.h>
#include <copperbramble/vkr_lowLevel.h>

#include <cstring>

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr uint32_t kRgbPage = 0;
// The video picture is twice as wide as the screen, so that the plane can pan across it.
constexpr int kVideoWidth = 2 * kWidth;
constexpr uint32_t kVideo = 0x100000;

constexpr uint16_t kKey565 = 0xF81F;   // magenta in the RGB picture ...
constexpr uint32_t kKey = 0xFF00FF;    // ... as the key: red bits 0-7, green 8-15, blue 16-23
constexpr uint32_t kColorKeyOperation = 1;

// Bars of eight colours, each a YUY2 word of two equal pixels.
void DrawVideo(uint8_t* video) {
  constexpr int kBars[8][3] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                               {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {40, 40, 40}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kVideoWidth; x += 2) {
      const int* bar = kBars[(x * 8 / kVideoWidth + y / 60) % 8];
      const uint32_t word = VKR_RGBtoYUY2Color(bar[0], bar[1], bar[2]);
      std::memcpy(video + kVideo + (y * kVideoWidth + x) * 2, &word, 4);
    }
}

// A dark frame round a window of the key colour.
void DrawRgbLayer(uint8_t* video) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool window = x >= 40 && x < 280 && y >= 48 && y < 200;
      const uint16_t pixel = window ? kKey565 : 0x18E3;
      std::memcpy(video + kRgbPage + (y * kWidth + x) * 2, &pixel, 2);
    }
}

void ShowFrame() {
  VKR_WaitVSync();
#if defined(VKR_BACKEND_DESKTOP)
  VKR_LowLevelAPI_SoftRender();
#endif
}

}  // namespace

int AppMain(int, char**) {
  if (VKR_InitLowLevelAPI("YUV behind RGB") != VKR_OK) {
    VKR_FreeLowLevelAPI(0);
    return 1;
  }
  VKR_SetDisplayMode(0, 16);
  uint8_t* video = nullptr;
  VKR_GetVideoBasePtr(&video);
  DrawVideo(video);
  DrawRgbLayer(video);
  VKR_DbgClrScr(0, 0);
  VKR_DbgColor(15, 0);
  VKR_DbgGotoXY(8, 2);
  VKR_DbgPrint("Video behind the window");
  VKR_DbgDrawScr(4, kRgbPage);  // text only: empty cells and the border are left as they are

  // The RGB layer keyed everywhere through region 5, the whole screen.
  VKR_SetRGBStartAddress(kRgbPage);
  VKR_SetRGBRegionColorKey(kKey);
  VKR_SetRGBRegionOperation(5, 1, 1, kColorKeyOperation, 15, 0, 0, kWidth - 1, kHeight - 1);

  for (uint32_t frame = 0;; ++frame) {
    uint32_t held = 0;
    VKR_GetGP2XInputState(&held);
    if ((held & VKR_BUTTON_START) || VKR_Host_EndRequested()) break;
    // Plane A over the whole screen at 1:1, panning right and back.
    const uint32_t pan = frame % (2 * kWidth) < kWidth ? frame % kWidth : kWidth - frame % kWidth;
    const uint32_t source = kVideo + (pan & ~1u) * 2;
    VKR_SetYUVVideoPlane(1, 1, 0, 0, kWidth - 1, kHeight, kHeight, kVideoWidth, source, 0, 0,
                         source, 0, 0);
    VKR_SetYUVVideoPlaneScaler(1, 1, 1024, 1024);
    VKR_Host_FramePainted(frame);
    ShowFrame();
  }
  VKR_SetYUVVideoPlane(1, 0, 0, 0, kWidth - 1, kHeight, kHeight, kVideoWidth, kVideo, 0, 0,
                       kVideo, 0, 0);
  VKR_FreeLowLevelAPI(1);
  return 0;
}
