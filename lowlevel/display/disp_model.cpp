// disp_model.cpp: the rules that fill a display model: its start values, the region reset of a
// mode change and the hue coefficients of one chroma quadrant.
#include "disp_model.h"

#include <cmath>

namespace {

// 127 x sin(2 pi i / 256), truncated toward zero.
const std::array<int, 256>& HueSineTable() {
  static const std::array<int, 256> table = [] {
    std::array<int, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<int>(127.0 * std::sin(2.0 * M_PI * i / 256.0));
    return t;
  }();
  return table;
}

}  // namespace

void DISP_ResetRegions(DISP_Model* model) {
  for (int region = 1; region <= 5; ++region) {
    model->rgbLayerRegion[region].active = 0;
    model->rgbLayerRegion[region].visible = 1;
  }
  model->rgbLayerRegion[5].active = 1;
}

void DISP_SetHueCoefficients(DISP_Model* model, uint32_t quadrant, int saturation, int hue) {
  const std::array<int, 256>& sine = HueSineTable();
  const int s = saturation * sine[hue & 255];
  const int c = saturation * sine[(hue + 64) & 255];
  model->hueCbA[quadrant & 3] = static_cast<int8_t>(c >> 8);
  model->hueCbB[quadrant & 3] = static_cast<int8_t>(s >> 8);
  model->hueCrA[quadrant & 3] = static_cast<int8_t>((-s) >> 8);
  model->hueCrB[quadrant & 3] = static_cast<int8_t>(c >> 8);
}

void DISP_InitModel(DISP_Model* model, uint32_t mode) {
  if (mode > DISP_MAX_DISPLAY_MODE) mode = 0;
  *model = {};
  model->displayMode = mode;
  model->colorBitDepth = 16;
  model->screenSizeX = kDISP_LayerSizeOfMode[mode].width;
  model->screenSizeY = kDISP_LayerSizeOfMode[mode].height;
  DISP_ResetRegions(model);
  model->yuvScaler.fill({1024, 1024});
  model->yuvFirstPlanePriority = 1;
  for (uint32_t quadrant = 0; quadrant < 4; ++quadrant)
    DISP_SetHueCoefficients(model, quadrant, 128, 0);
  for (uint32_t i = 0; i < 256; ++i) model->gammaTable[i] = i * 0x010101u;
}
