// Deterministic hashing, random streams and value noise for the procedural art.
#include "noise.h"

#include <cmath>

namespace mkresource {

std::uint32_t Hash32(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

static float ToUnit(std::uint32_t bits) { return static_cast<float>(bits >> 8) * (1.0f / 16777216.0f); }

float HashUnit(int x, int y, std::uint32_t seed) {
  return ToUnit(Hash32(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^ Hash32(static_cast<std::uint32_t>(y) + seed)));
}

float NextUnit(RandomStream& stream) {
  stream.state += 0x9E3779B9u;
  return ToUnit(Hash32(stream.state));
}

float NextRange(RandomStream& stream, float lo, float hi) { return lo + (hi - lo) * NextUnit(stream); }

static float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

float ValueNoise(float x, float y, std::uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const float tx = Smooth(x - fx);
  const float ty = Smooth(y - fy);
  const float top = HashUnit(ix, iy, seed) + (HashUnit(ix + 1, iy, seed) - HashUnit(ix, iy, seed)) * tx;
  const float bottom = HashUnit(ix, iy + 1, seed) + (HashUnit(ix + 1, iy + 1, seed) - HashUnit(ix, iy + 1, seed)) * tx;
  return top + (bottom - top) * ty;
}

float FractalNoise(float x, float y, std::uint32_t seed, int octaves) {
  float sum = 0.0f;
  float weight = 0.5f;
  float total = 0.0f;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * ValueNoise(x, y, seed + 101u * i);
    total += weight;
    x = x * 2.03f + 17.1f;
    y = y * 2.03f + 5.3f;
    weight *= 0.5f;
  }
  return sum / total;
}

}  // namespace mkresource
