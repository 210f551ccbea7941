// disp_gamma.cpp: gamma correction: every pixel some layer wrote this frame goes through the
// 256-entry gamma table, one table byte per colour channel; unwritten pixels keep their value.
#include "disp_composeUnits.h"

void DISP_PrepareGamma(DISP_Composition& c) {
  for (int v = 0; v < 256; ++v) {
    const uint32_t entry = c.model->gammaTable[v];
    c.gammaOfChannel[0][v] = static_cast<uint8_t>(entry >> 16);
    c.gammaOfChannel[1][v] = static_cast<uint8_t>(entry >> 8);
    c.gammaOfChannel[2][v] = static_cast<uint8_t>(entry);
  }
}

void DISP_GammaRow(const DISP_Composition& c, int y) {
  uint8_t* out = DISP_SurfaceRow(c, y);
  const uint8_t* written = DISP_WrittenRow(c, y);
  const auto& table = c.gammaOfChannel;
  for (int x = 0; x < c.width; ++x, out += 3) {
    if (!written[x]) continue;
    out[0] = table[0][out[0]];
    out[1] = table[1][out[1]];
    out[2] = table[2][out[2]];
  }
}
