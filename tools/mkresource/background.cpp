// Composition of the background: sky, hills, three layers of brambles (a hazy middle row, the
// foreground thicket and canes hanging in from the top corners), drifting sparks, a vignette.
#include "background.h"

#include <cmath>

#include "bramble.h"
#include "noise.h"
#include "pack_layout.h"
#include "scene.h"
#include "silhouette_light.h"
#include "sky.h"
#include "terrain.h"

namespace mkresource {

namespace {

constexpr float kUp = -1.5707963f;

void GrowMiddleRow(BrambleMasks& masks) {
  RandomStream stream{0xB12A3u};
  for (int i = 0; i < 16; ++i) {
    const float x = -20.0f + i * 49.0f + NextRange(stream, -14.0f, 14.0f);
    const float lean = NextRange(stream, -0.6f, 0.6f);
    GrowCane(masks, {{x, NextRange(stream, 462.0f, 474.0f)},
                     kUp + lean,
                     NextRange(stream, 45.0f, 105.0f),
                     (lean > 0 ? 1.0f : -1.0f) * NextRange(stream, 1.0f, 2.2f),
                     NextRange(stream, 1.6f, 2.3f),
                     0.6f,
                     Hash32(0x1000u + i),
                     1});
  }
}

void GrowForeground(BrambleMasks& masks) {
  struct Root {
    float x, lean, length, bend, width;
  };
  // Placed by hand so arches frame the sun instead of hiding it.
  constexpr Root kRoots[] = {
      {-10.0f, 0.55f, 260.0f, 2.3f, 5.5f},   {60.0f, 0.25f, 190.0f, 2.0f, 5.0f},
      {120.0f, -0.35f, 150.0f, -1.9f, 4.2f}, {190.0f, 0.45f, 170.0f, 2.2f, 4.6f},
      {250.0f, 0.15f, 90.0f, 1.8f, 3.4f},    {300.0f, -0.10f, 70.0f, -1.6f, 3.0f},
      {410.0f, 0.20f, 80.0f, 1.7f, 3.2f},    {460.0f, -0.40f, 180.0f, -2.1f, 4.6f},
      {530.0f, 0.30f, 150.0f, 2.0f, 4.4f},   {600.0f, -0.30f, 220.0f, -2.3f, 5.2f},
      {690.0f, -0.55f, 250.0f, -2.2f, 5.6f}, {650.0f, 0.10f, 110.0f, 1.9f, 3.6f},
  };
  std::uint32_t seed = 0x2000u;
  for (const Root& root : kRoots) {
    GrowCane(masks, {{root.x, 492.0f}, kUp + root.lean, root.length, root.bend, root.width, 1.0f, Hash32(++seed), 2});
  }
}

void GrowHangingCanes(BrambleMasks& masks) {
  struct Root {
    float x, y, angle, length, bend, width;
  };
  constexpr Root kRoots[] = {
      {-12.0f, -8.0f, 0.30f, 330.0f, 0.55f, 5.0f},  {-15.0f, 30.0f, 0.05f, 220.0f, 0.75f, 4.2f},
      {60.0f, -14.0f, 0.95f, 120.0f, 0.60f, 3.6f},  {732.0f, -6.0f, 2.85f, 340.0f, -0.55f, 5.0f},
      {735.0f, 40.0f, 3.10f, 200.0f, -0.80f, 4.0f}, {640.0f, -14.0f, 2.15f, 130.0f, -0.50f, 3.6f},
      {330.0f, -12.0f, 1.25f, 70.0f, -0.60f, 2.8f},
  };
  std::uint32_t seed = 0x3000u;
  for (const Root& root : kRoots) {
    GrowCane(masks, {{root.x, root.y}, root.angle, root.length, root.bend, root.width, 0.9f, Hash32(++seed), 1});
  }
}

void PaintSparks(Canvas& canvas) {
  RandomStream stream{0x5EA4Cu};
  for (int i = 0; i < 46; ++i) {
    const bool low = i < 34;
    const float x = NextRange(stream, 30.0f, 690.0f);
    const float y = low ? NextRange(stream, 378.0f, 470.0f) : NextRange(stream, 14.0f, 92.0f);
    const float glow = NextRange(stream, 0.35f, 1.0f);
    AddGlow(canvas, x, y, 0.9f, Rgb{1.0f, 0.86f, 0.50f} * (0.9f * glow));
    AddGlow(canvas, x, y, 3.6f, Rgb{0.85f, 0.42f, 0.12f} * (0.16f * glow));
  }
}

void Vignette(Canvas& canvas) {
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const float dx = (x + 0.5f - 340.0f) / 420.0f;
      const float dy = (y + 0.5f - 260.0f) / 330.0f;
      Rgb& pixel = canvas.pixels[static_cast<std::size_t>(y) * canvas.width + x];
      pixel = pixel * (1.0f - 0.28f * Clamp01(dx * dx + dy * dy));
    }
  }
}

}  // namespace

Canvas ComposeBackground() {
  Canvas canvas = MakeCanvas(kPictureWidth, kPictureHeight, {0, 0, 0});
  PaintSky(canvas);
  PaintHills(canvas);

  BrambleMasks middle = MakeBrambleMasks(canvas.width, canvas.height);
  GrowMiddleRow(middle);
  PaintLitSilhouettes(
      canvas, middle,
      {{0.13f, 0.055f, 0.07f}, {0.14f, 0.06f, 0.06f}, {0.14f, 0.04f, 0.08f}, 0.06f, 0.25f, 200.0f, 0.0f, 1.3f});

  BrambleMasks foreground = MakeBrambleMasks(canvas.width, canvas.height);
  GrowForeground(foreground);
  PaintLitSilhouettes(
      canvas, foreground,
      {{0.022f, 0.010f, 0.014f}, {0.026f, 0.016f, 0.012f}, {0.050f, 0.006f, 0.025f}, 0.12f, 0.75f, 170.0f, 0.0f, 1.6f});

  BrambleMasks hanging = MakeBrambleMasks(canvas.width, canvas.height);
  GrowHangingCanes(hanging);
  PaintLitSilhouettes(
      canvas, hanging,
      {{0.010f, 0.009f, 0.026f}, {0.011f, 0.011f, 0.026f}, {0.035f, 0.006f, 0.030f}, 0.0f, 0.30f, 900.0f, 0.85f, 1.5f});

  PaintSparks(canvas);
  Vignette(canvas);
  return canvas;
}

}  // namespace mkresource
