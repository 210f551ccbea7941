// Dusk sky: an indigo-to-copper gradient warmed around the setting sun, lit cloud strands,
// stars that fade into the twilight, and a crescent moon.
#include "sky.h"

#include <array>
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "scene.h"

namespace mkresource {

namespace {

struct GradientStop {
  float y;
  Rgb warm;  // straight above the sun
  Rgb cool;  // toward the picture's sides
};

constexpr std::array<GradientStop, 7> kSkyStops = {{
    {0.0f, {0.022f, 0.022f, 0.090f}, {0.018f, 0.020f, 0.080f}},
    {100.0f, {0.055f, 0.042f, 0.160f}, {0.045f, 0.040f, 0.140f}},
    {220.0f, {0.200f, 0.085f, 0.270f}, {0.130f, 0.070f, 0.230f}},
    {310.0f, {0.460f, 0.165f, 0.280f}, {0.300f, 0.120f, 0.270f}},
    {375.0f, {0.780f, 0.320f, 0.210f}, {0.520f, 0.210f, 0.250f}},
    {415.0f, {0.970f, 0.530f, 0.220f}, {0.760f, 0.340f, 0.220f}},
    {kHorizonY + 10.0f, {1.000f, 0.760f, 0.420f}, {0.900f, 0.520f, 0.300f}},
}};

Rgb Gradient(float y, float warmth) {
  if (y <= kSkyStops.front().y) return Mix(kSkyStops.front().cool, kSkyStops.front().warm, warmth);
  for (std::size_t i = 1; i < kSkyStops.size(); ++i) {
    const GradientStop& lo = kSkyStops[i - 1];
    const GradientStop& hi = kSkyStops[i];
    if (y <= hi.y) {
      const float t = SmoothStep(lo.y, hi.y, y);
      return Mix(Mix(lo.cool, lo.warm, warmth), Mix(hi.cool, hi.warm, warmth), t);
    }
  }
  return Mix(kSkyStops.back().cool, kSkyStops.back().warm, warmth);
}

float DistanceToSun(float x, float y) { return std::hypot(x - kSunCentre.x, y - kSunCentre.y); }

void PaintGradientAndGlow(Canvas& canvas) {
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float across = (px - kSunCentre.x) / 430.0f;
      const float warmth = std::exp(-across * across);
      const float rim = std::max(0.0f, DistanceToSun(px, py) - kSunRadius);
      // A tight halo, a wide bloom and a flat band hugging the horizon.
      const float band_dy = (py - kHorizonY) / 26.0f;
      const float band = std::exp(-band_dy * band_dy) * std::exp(-std::fabs(across) * 1.6f);
      Rgb colour = Gradient(py, warmth);
      colour = colour + Rgb{1.0f, 0.74f, 0.42f} * (0.40f * std::exp(-rim / 14.0f));
      colour = colour + kCopperLight * (0.42f * std::exp(-rim / 75.0f));
      colour = colour + Rgb{1.0f, 0.62f, 0.30f} * (0.30f * band);
      canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x] = colour;
    }
  }
}

void PaintSunDisc(Canvas& canvas) {
  const int y0 = static_cast<int>(kSunCentre.y - kSunRadius - 2), y1 = static_cast<int>(kSunCentre.y + kSunRadius + 2);
  const int x0 = static_cast<int>(kSunCentre.x - kSunRadius - 2), x1 = static_cast<int>(kSunCentre.x + kSunRadius + 2);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float cover = Clamp01(kSunRadius + 0.5f - DistanceToSun(px, py));
      const float down = Clamp01((py - (kSunCentre.y - kSunRadius)) / (2.0f * kSunRadius));
      // Added to the glow beneath it so the disc is always the brightest thing in the sky.
      const Rgb face = Mix(Rgb{0.60f, 0.55f, 0.42f}, Rgb{0.45f, 0.35f, 0.20f}, down);
      Rgb& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
      pixel = pixel + face * cover;
    }
  }
}

void PaintStars(Canvas& canvas) {
  RandomStream stream{0xC0FFEEu};
  for (int i = 0; i < 1400; ++i) {
    const float x = NextRange(stream, 0.0f, static_cast<float>(canvas.width));
    const float y = NextRange(stream, 0.0f, 330.0f);
    const float keep = NextUnit(stream);
    const float pick = NextUnit(stream);
    const float tint = NextUnit(stream);
    if (keep > std::pow(1.0f - y / 330.0f, 1.6f)) continue;
    const float fade = 1.0f - SmoothStep(120.0f, 320.0f, y);
    const float brightness = (0.10f + 0.90f * pick * pick * pick * pick) * fade;
    const Rgb hue = Mix(Rgb{0.78f, 0.86f, 1.0f}, Rgb{1.0f, 0.86f, 0.68f}, tint);
    // Wide enough that the 2 x 2 luma average of the handheld's screen keeps most of each star.
    AddGlow(canvas, x, y, 0.55f + 0.55f * brightness, hue * (1.3f * brightness));
    if (brightness > 0.72f) {
      for (int k = 1; k <= 7; ++k) {
        const Rgb spike = hue * (0.45f * brightness * std::exp(-k / 2.2f));
        AddGlow(canvas, x + k, y, 0.5f, spike);
        AddGlow(canvas, x - k, y, 0.5f, spike);
        AddGlow(canvas, x, y + k, 0.5f, spike);
        AddGlow(canvas, x, y - k, 0.5f, spike);
      }
      AddGlow(canvas, x, y, 4.0f, hue * (0.05f * brightness));
    }
  }
}

// A faint river of light across the top of the sky, split by dark dust lanes and thick with
// small stars, so the strip above the sprite band has texture of its own.
void PaintMilkyWay(Canvas& canvas) {
  const Point from{120.0f, -40.0f};
  const Point direction{0.970f, 0.243f};
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float across = (py - from.y) * direction.x - (px - from.x) * direction.y;
      const float core = std::exp(-(across * across) / (44.0f * 44.0f));
      if (core < 0.01f) continue;
      const float cloud = FractalNoise(px / 55.0f, py / 40.0f, 606u, 4);
      const float dust = SmoothStep(0.52f, 0.70f, FractalNoise(px / 38.0f + 3.0f, py / 22.0f, 607u, 4));
      const float light = core * (0.35f + 0.9f * cloud) * (1.0f - 0.75f * dust * core);
      Rgb& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
      pixel = pixel + Mix(Rgb{0.06f, 0.06f, 0.13f}, Rgb{0.15f, 0.12f, 0.16f}, core * cloud) * (1.6f * light);
    }
  }
  RandomStream stream{0xD057u};
  for (int i = 0; i < 900; ++i) {
    const float along = NextRange(stream, 0.0f, 760.0f);
    const float spread = (NextUnit(stream) + NextUnit(stream) + NextUnit(stream) - 1.5f) * 44.0f;
    const float brightness = NextRange(stream, 0.05f, 0.32f);
    const float x = from.x + direction.x * along - direction.y * spread;
    const float y = from.y + direction.y * along + direction.x * spread;
    AddGlow(canvas, x, y, 0.6f, Rgb{0.85f, 0.88f, 1.0f} * brightness);
  }
}

// A crescent lit from the sun's side, with faint earthshine on the rest of the disc.
void PaintMoon(Canvas& canvas) {
  AddGlow(canvas, kMoonCentre.x, kMoonCentre.y, 22.0f, Rgb{0.10f, 0.10f, 0.16f});
  const Point shadow{kMoonCentre.x - 0.42f * kMoonRadius, kMoonCentre.y - 0.30f * kMoonRadius};
  const int reach = static_cast<int>(kMoonRadius) + 2;
  for (int y = static_cast<int>(kMoonCentre.y) - reach; y <= static_cast<int>(kMoonCentre.y) + reach; ++y) {
    for (int x = static_cast<int>(kMoonCentre.x) - reach; x <= static_cast<int>(kMoonCentre.x) + reach; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float disc = Clamp01(kMoonRadius + 0.5f - std::hypot(px - kMoonCentre.x, py - kMoonCentre.y));
      const float unlit = Clamp01(kMoonRadius * 1.02f + 0.5f - std::hypot(px - shadow.x, py - shadow.y));
      const float lit = disc * (1.0f - unlit);
      const float mottling = 0.85f + 0.15f * FractalNoise(px / 5.0f, py / 5.0f, 77u, 3);
      Rgb& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
      pixel = Mix(pixel, Rgb{0.050f, 0.050f, 0.085f}, disc * 0.9f);
      pixel = Mix(pixel, Rgb{1.0f, 0.95f, 0.84f} * mottling, lit);
    }
  }
}

float CloudDensity(float x, float y) {
  const float low = SmoothStep(300.0f, 350.0f, y) * (1.0f - SmoothStep(420.0f, 436.0f, y));
  const float high = SmoothStep(150.0f, 190.0f, y) * (1.0f - SmoothStep(240.0f, 275.0f, y)) * 0.7f;
  const float shear = x + 0.35f * y;
  const float n = FractalNoise(shear / 190.0f, y / 7.5f, 4242u, 5);
  return SmoothStep(0.50f, 0.74f, n) * (low + high);
}

// Strands lit from below by the sun: bright copper undersides near it, dusky violet far off.
void PaintClouds(Canvas& canvas) {
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float density = CloudDensity(px, py);
      if (density <= 0.0f) continue;
      const float underside = Clamp01((density - CloudDensity(px, py + 3.0f)) * 3.0f);
      const float sunlit = std::exp(-DistanceToSun(px, py) / 260.0f);
      const float height = Clamp01(py / kHorizonY);
      Rgb body = Mix(Rgb{0.10f, 0.06f, 0.16f}, Rgb{0.46f, 0.17f, 0.24f}, height * height);
      body = Mix(body, Rgb{0.80f, 0.34f, 0.22f}, sunlit * 0.8f);
      const Rgb edge = Mix(Rgb{0.55f, 0.30f, 0.45f}, Rgb{1.0f, 0.72f, 0.40f}, sunlit);
      Rgb& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
      pixel = Mix(pixel, body, density * 0.85f);
      pixel = pixel + edge * (underside * density * (0.25f + 0.9f * sunlit));
    }
  }
}

}  // namespace

void PaintSky(Canvas& canvas) {
  PaintGradientAndGlow(canvas);
  PaintSunDisc(canvas);
  PaintMilkyWay(canvas);
  PaintStars(canvas);
  PaintMoon(canvas);
  PaintClouds(canvas);
}

}  // namespace mkresource
