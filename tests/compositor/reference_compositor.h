// reference_compositor.h: a plain, obviously correct composition of one frame, pixel by pixel in
// the controller's order, from a display model and its video memory. The display component's
// compositor is compared with it.
#pragma once

#include <cstdint>
#include <vector>

#include "disp_model.h"

struct RefFrame {
  const DISP_Model* model = nullptr;  // what RefStart was given
  const uint8_t* video = nullptr;
  int width = 0, height = 0;
  bool tv = false;
  std::vector<uint8_t> surface;  // three bytes a pixel
  std::vector<uint8_t> written;  // one flag a pixel
};

// The documented conversion of one YUY2 word's first pixel.
void RefYUY2ToRGB(uint32_t yuy2, int* red, int* green, int* blue);

// Brightness, contrast, hue and the conversion of one Y, Cb, Cr pixel to blue, green, red.
void RefConvertPixel(const DISP_Model& model, const uint8_t* yuv, uint8_t* bgr);

// Each step alone on `frame`, as the compositor's operations do them.
// Sizes the frame for the model's display mode and clears it; the other steps read model and video
// memory from it.
void RefStart(RefFrame& frame, const DISP_Model& model, const uint8_t* video);
void RefYUVPart(RefFrame& frame, int planeB, int bottomPart);
void RefOSD(RefFrame& frame);
void RefSPU(RefFrame& frame);
void RefConvert(RefFrame& frame);
void RefRGBLayer(RefFrame& frame);
void RefCursor(RefFrame& frame);
void RefGamma(RefFrame& frame);

// Clear to gamma.
void RefComposeFrame(RefFrame& frame, const DISP_Model& model, const uint8_t* video);
