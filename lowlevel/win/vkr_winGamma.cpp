// vkr_winGamma.cpp: gamma correction: every pixel some layer wrote this frame goes through the
// 256-entry gamma table, one table byte per colour channel; unwritten pixels keep their value.
#include <array>

#include "vkr_winCompose.h"

namespace {

// The table split by channel: [blue, green, red][value].
std::array<std::array<uint8_t, 256>, 3> g_ucWinGammaOfChannel;

}  // namespace

void VKR_WinPrepareGamma() {
  for (int v = 0; v < 256; ++v) {
    const uint32_t entry = g_ulGammaTable[v];
    g_ucWinGammaOfChannel[0][v] = static_cast<uint8_t>(entry >> 16);
    g_ucWinGammaOfChannel[1][v] = static_cast<uint8_t>(entry >> 8);
    g_ucWinGammaOfChannel[2][v] = static_cast<uint8_t>(entry);
  }
}

void VKR_WinGammaRow(const VKR_WinGeometry& g, int y) {
  uint8_t* out = VKR_WinSurfaceRow(g, y);
  const uint8_t* written = VKR_WinWrittenRow(g, y);
  const auto& table = g_ucWinGammaOfChannel;
  for (int x = 0; x < g.width; ++x, out += 3) {
    if (!written[x]) continue;
    out[0] = table[0][out[0]];
    out[1] = table[1][out[1]];
    out[2] = table[2][out[2]];
  }
}

uint32_t VKR_LowLevelAPI_GammaCorrection() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  if (!g_bEnableGamma) return VKR_OK;
  const VKR_WinGeometry g = VKR_WinCurrentGeometry();
  VKR_WinPrepareGamma();
  for (int y = 0; y < g.height; ++y) VKR_WinGammaRow(g, y);
  return VKR_OK;
}
