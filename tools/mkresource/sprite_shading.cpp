// Orthographic ray casting of the sprite objects, lit by a warm key light from the upper left
// and a copper bounce from below, as if the sunset under the thicket lit them.
#include "sprite_shading.h"

#include <array>
#include <algorithm>
#include <cmath>

#include "noise.h"

namespace mkresource {

namespace {

struct Vec3 {
  float x, y, z;
};

constexpr Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
constexpr float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Normalise(Vec3 v) { return v * (1.0f / std::sqrt(Dot(v, v))); }

const Vec3 kKeyLight = Normalise({-0.55f, -0.70f, 0.50f});
const Vec3 kBounceLight = Normalise({0.35f, 0.90f, 0.10f});
const Vec3 kHalfway = Normalise(kKeyLight + Vec3{0.0f, 0.0f, 1.0f});
constexpr Rgb kBounce{1.0f, 0.50f, 0.22f};

float Lit(Vec3 normal, Vec3 light) { return std::max(0.0f, Dot(normal, light)); }

// Points spread evenly over the unit sphere (golden-angle spiral).
template <std::size_t N>
std::array<Vec3, N> SpherePoints(float jitter, std::uint32_t seed) {
  std::array<Vec3, N> points{};
  for (std::size_t i = 0; i < N; ++i) {
    const float z = 1.0f - 2.0f * (i + 0.5f) / N;
    const float ring = std::sqrt(1.0f - z * z);
    const float a = 2.3999632f * i + jitter * (HashUnit(static_cast<int>(i), 0, seed) - 0.5f);
    points[i] = Normalise(
        {ring * std::cos(a), ring * std::sin(a), z + jitter * 0.3f * (HashUnit(static_cast<int>(i), 1, seed) - 0.5f)});
  }
  return points;
}

std::optional<Vec3> SphereNormal(float x, float y, float radius) {
  const float q = radius * radius - x * x - y * y;
  if (q <= 0.0f) return std::nullopt;
  return Vec3{x, y, std::sqrt(q)} * (1.0f / radius);
}

// Sky above, sunset horizon, dark thicket below: what a polished ball in the picture reflects.
Rgb Environment(Vec3 direction) {
  const float up = -direction.y;
  Rgb colour = up > 0.0f ? Mix(Rgb{1.0f, 0.60f, 0.28f}, Rgb{0.30f, 0.20f, 0.42f}, std::pow(up, 0.55f))
                         : Mix(Rgb{0.34f, 0.13f, 0.06f}, Rgb{0.04f, 0.02f, 0.02f}, std::pow(-up, 0.5f));
  return colour + Rgb{1.0f, 0.85f, 0.55f} * (0.7f * std::exp(-std::fabs(up) * 14.0f));
}

std::optional<Rgb> ShadeCopperOrb(float x, float y) {
  const std::optional<Vec3> hit = SphereNormal(x, y, 1.0f);
  if (!hit) return std::nullopt;
  // Hammered metal: a gentle bumpy tilt of the normal.
  const Vec3 dents{ValueNoise(x * 5.0f + 9.0f, y * 5.0f, 5u) - 0.5f, ValueNoise(x * 5.0f, y * 5.0f + 3.0f, 6u) - 0.5f,
                   0.0f};
  const Vec3 normal = Normalise(*hit + dents * 0.10f);
  const Vec3 reflected = normal * (2.0f * normal.z) - Vec3{0.0f, 0.0f, 1.0f};
  const float facing = Clamp01(normal.z);
  const float grazing = std::pow(1.0f - facing, 5.0f);
  const Rgb copper{0.96f, 0.58f, 0.40f};
  const Rgb fresnel = copper + (Rgb{1.0f, 1.0f, 1.0f} + copper * -1.0f) * grazing;
  Rgb colour = Environment(reflected) * fresnel * 1.1f;
  colour = colour + copper * (0.16f * Lit(normal, kKeyLight) + 0.30f * std::pow(Lit(reflected, kKeyLight), 6.0f));
  colour = colour + Rgb{1.0f, 0.95f, 0.85f} * (1.8f * std::pow(Lit(reflected, kKeyLight), 80.0f));
  // An engraved band around a tilted axis, darker in its groove with a bright lip.
  const float band = Dot(*hit, Normalise({0.35f, -0.85f, 0.40f}));
  const float groove = 1.0f - SmoothStep(0.035f, 0.075f, std::fabs(band));
  colour = colour * (1.0f - 0.65f * groove);
  return colour;
}

std::optional<Rgb> ShadeBlackberry(float x, float y) {
  static const std::array<Vec3, 56> kDrupelets = SpherePoints<56>(0.6f, 0xBE77u);
  constexpr float kCore = 0.70f, kDrupelet = 0.26f;
  constexpr float kScale = 1.0f / (kCore + kDrupelet);
  const float px = x / kScale, py = y / kScale;
  float best_z = -2.0f;
  Vec3 normal{};
  Vec3 outward{};
  for (const Vec3& p : kDrupelets) {
    const Vec3 centre = p * kCore;
    const float dx = px - centre.x, dy = py - centre.y;
    const float q = kDrupelet * kDrupelet - dx * dx - dy * dy;
    if (q <= 0.0f) continue;
    const float z = centre.z + std::sqrt(q);
    if (z > best_z) {
      best_z = z;
      normal = Vec3{dx, dy, z - centre.z} * (1.0f / kDrupelet);
      outward = p;
    }
  }
  if (best_z < -1.5f) return std::nullopt;
  // Deep between the drupelets, where their surface turns away from the berry's.
  const float crevice = 0.35f + 0.65f * Clamp01(Dot(normal, outward));
  const Rgb skin{0.36f, 0.05f, 0.24f};
  Rgb colour = skin * (crevice * (0.22f + 0.85f * Lit(normal, kKeyLight)));
  colour = colour + kBounce * (0.55f * crevice * Lit(normal, kBounceLight) * std::pow(1.0f - Clamp01(outward.z), 1.5f));
  colour = colour + Rgb{0.95f, 0.90f, 1.0f} * (0.95f * std::pow(Lit(normal, kHalfway), 45.0f));
  return colour;
}

Rgb Heat(float h) {
  const Rgb ember{0.55f, 0.04f, 0.0f}, flame{1.0f, 0.45f, 0.04f}, white{1.0f, 0.92f, 0.62f};
  return h < 0.5f ? Mix(ember, flame, h * 2.0f) : Mix(flame, white, h * 2.0f - 1.0f);
}

std::optional<Rgb> ShadeEmber(float x, float y) {
  static const std::array<Vec3, 44> kPlates = SpherePoints<44>(2.2f, 0xE3B5u);
  const std::optional<Vec3> hit = SphereNormal(x, y, 1.0f);
  if (!hit) return std::nullopt;
  const Vec3 n = *hit;
  // Warping the lookup point bends the plate borders into irregular cracks.
  const Vec3 warp{ValueNoise(x * 3.0f, y * 3.0f, 31u) - 0.5f, ValueNoise(x * 3.0f + 7.0f, y * 3.0f, 32u) - 0.5f,
                  ValueNoise(x * 3.0f, y * 3.0f + 7.0f, 33u) - 0.5f};
  const Vec3 at = Normalise(n + warp * 0.35f);
  float nearest = 9.0f, second = 9.0f;
  int plate = 0;
  for (std::size_t i = 0; i < kPlates.size(); ++i) {
    const Vec3 d = at - kPlates[i];
    const float dist = Dot(d, d);
    if (dist < nearest) {
      second = nearest;
      nearest = dist;
      plate = static_cast<int>(i);
    } else if (dist < second) {
      second = dist;
    }
  }
  const float edge = std::sqrt(second) - std::sqrt(nearest);
  const float width = 0.035f + 0.07f * ValueNoise(x * 4.0f + 2.0f, y * 4.0f + 5.0f, 34u);
  const float crack = 1.0f - SmoothStep(width * 0.4f, width, edge);
  // Hotter toward the bottom, where the sunset lights the thicket.
  const float heat = Clamp01(0.55f + 0.35f * n.y + 0.3f * n.z);
  const float tone = 0.6f + 0.6f * HashUnit(plate, 2, 0xE3B5u);
  const float limb = std::pow(1.0f - Clamp01(n.z), 2.0f);
  Rgb crust = Rgb{0.17f, 0.085f, 0.06f} * (tone * (0.22f + 0.9f * Lit(n, kKeyLight)));
  crust = crust + Rgb{0.75f, 0.14f, 0.02f} * (heat * (0.45f * limb + 0.45f * std::exp(-edge * 9.0f)));
  crust = crust + Rgb{1.0f, 0.9f, 0.8f} * (0.30f * std::pow(Lit(n, kHalfway), 30.0f));
  return Mix(crust, Heat(Clamp01(crack * (0.45f + 0.65f * heat))), crack);
}

}  // namespace

std::optional<Rgb> ShadeSprite(int frame, float x, float y) {
  switch (frame) {
    case 0:
      return ShadeCopperOrb(x, y);
    case 1:
      return ShadeBlackberry(x, y);
    default:
      return ShadeEmber(x, y);
  }
}

}  // namespace mkresource
