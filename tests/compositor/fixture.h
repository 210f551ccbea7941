// fixture.h: a started library with the virtual clock, video memory and settings at their start
// values, and small helpers that place test data in video memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "compositor/reference_compositor.h"
#include "vkr_lowLevel.h"
#include "vkr_winCompose.h"
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
  void Put16(uint32_t offset, uint16_t value) { std::memcpy(base + offset, &value, 2); }
  void PutYUY2(uint32_t offset, uint8_t y0, uint8_t cb, uint8_t y1, uint8_t cr) {
    const uint8_t pair[4] = {y0, cb, y1, cr};
    std::memcpy(base + offset, pair, 4);
  }
  // Surface and map of the fast compositor equal the reference's, with the first difference named.
  static ::testing::AssertionResult SameAsReference(const RefFrame& ref) {
    const size_t pixels = static_cast<size_t>(ref.width) * ref.height;
    for (size_t i = 0; i < pixels; ++i) {
      if (std::memcmp(&g_ucFrameSurface[3 * i], &ref.surface[3 * i], 3) != 0 ||
          g_ucByteWriteOnPlane[i] != ref.written[i]) {
        const uint8_t* f = &g_ucFrameSurface[3 * i];
        const uint8_t* r = &ref.surface[3 * i];
        return ::testing::AssertionFailure()
               << "pixel (" << i % ref.width << ", " << i / ref.width << "): fast " << int(f[0])
               << "," << int(f[1]) << "," << int(f[2]) << " flag " << int(g_ucByteWriteOnPlane[i])
               << ", reference " << int(r[0]) << "," << int(r[1]) << "," << int(r[2]) << " flag "
               << int(ref.written[i]);
      }
    }
    return ::testing::AssertionSuccess();
  }

  uint8_t* base = nullptr;
};
