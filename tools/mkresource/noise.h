// Deterministic randomness for the procedural art: integer hashing, a seeded stream of uniform
// numbers and smooth value noise. Same numbers on every run and every standard library.
#pragma once

#include <cstdint>

namespace mkresource {

std::uint32_t Hash32(std::uint32_t x);

// Uniform in [0, 1) from a lattice point and a seed.
float HashUnit(int x, int y, std::uint32_t seed);

struct RandomStream {
  std::uint32_t state;
};

float NextUnit(RandomStream& stream);                       // [0, 1)
float NextRange(RandomStream& stream, float lo, float hi);  // [lo, hi)

// Smoothly interpolated lattice noise in [0, 1], and its sum over octaves normalised to [0, 1].
float ValueNoise(float x, float y, std::uint32_t seed);
float FractalNoise(float x, float y, std::uint32_t seed, int octaves);

}  // namespace mkresource
