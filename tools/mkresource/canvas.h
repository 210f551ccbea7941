// Float colour canvases and coverage masks that the background is painted on, with the colour
// arithmetic and the soft additive splats (stars, glows) used while painting.
#pragma once

#include <vector>

namespace mkresource {

struct Rgb {
  float r, g, b;
};

constexpr Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
constexpr Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
constexpr Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
constexpr Rgb Mix(Rgb a, Rgb b, float t) { return a + (b + a * -1.0f) * t; }

struct Canvas {
  int width, height;
  std::vector<Rgb> pixels;  // display-referred 0-1, rows top to bottom
};

// Fraction (0-1) of each pixel covered by a silhouette layer.
struct Mask {
  int width, height;
  std::vector<float> coverage;
};

Canvas MakeCanvas(int width, int height, Rgb fill);
Mask MakeMask(int width, int height);

// Bilinear coverage at a point in pixel units (pixel centres at +0.5); zero outside.
float SampleMask(const Mask& mask, float x, float y);

// Adds a Gaussian spot of the given peak colour, cut off at three sigma.
void AddGlow(Canvas& canvas, float cx, float cy, float sigma, Rgb peak);

float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);

}  // namespace mkresource
