// fixture.h: a started library with the virtual clock, video memory and settings at their start
// values, and small helpers that place test data in video memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "reference_compositor.h"
#include "vkr_lowLevel.h"
#include "disp_compose.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"

class CompositorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(VKR_InitLowLevelAPI("compositor"), VKR_OK);
    VKR_WinUseVirtualClock(0);
    base = g_GP2X_VIDEO_BASE_PTR;
  }
  void TearDown() override {
    VKR_FreeLowLevelAPI(0);
    VKR_WinUseSystemClock();
  }

  const uint8_t* SurfacePixel(int x, int y) const {
    return g_ucFrameSurface.data() + (static_cast<size_t>(y) * VKR_WinOutputWidth() + x) * 3;
  }
  uint8_t Written(int x, int y) const {
    return g_ucByteWriteOnPlane[static_cast<size_t>(y) * VKR_WinOutputWidth() + x];
  }
  // The composed frame of the display component from the desktop's model and video memory.
  static void Compose() {
    ASSERT_TRUE(DISP_ComposeFrame(g_displayModel, g_GP2X_VIDEO_BASE_PTR, VKR_WinFrameSurface(),
                                  g_nWinComposeKernels));
  }
  // The reference's frame of the same model.
  RefFrame Reference() const {
    RefFrame ref;
    RefComposeFrame(ref, g_displayModel, base);
    return ref;
  }
  void Put16(uint32_t offset, uint16_t value) { std::memcpy(base + offset, &value, 2); }
  void PutYUY2(uint32_t offset, uint8_t y0, uint8_t cb, uint8_t y1, uint8_t cr) {
    const uint8_t pair[4] = {y0, cb, y1, cr};
    std::memcpy(base + offset, pair, 4);
  }
  // A composed surface and map (the desktop's frame unless given) equal the reference's, with the
  // first difference named.
  static ::testing::AssertionResult SameAsReference(
      const RefFrame& ref, const uint8_t* pixels = g_ucFrameSurface.data(),
      const uint8_t* written = g_ucByteWriteOnPlane.data()) {
    const size_t count = static_cast<size_t>(ref.width) * ref.height;
    for (size_t i = 0; i < count; ++i) {
      if (std::memcmp(&pixels[3 * i], &ref.surface[3 * i], 3) != 0 || written[i] != ref.written[i]) {
        const uint8_t* f = &pixels[3 * i];
        const uint8_t* r = &ref.surface[3 * i];
        return ::testing::AssertionFailure()
               << "pixel (" << i % ref.width << ", " << i / ref.width << "): fast " << int(f[0])
               << "," << int(f[1]) << "," << int(f[2]) << " flag " << int(written[i])
               << ", reference " << int(r[0]) << "," << int(r[1]) << "," << int(r[2]) << " flag "
               << int(ref.written[i]);
      }
    }
    return ::testing::AssertionSuccess();
  }

  uint8_t* base = nullptr;
};
