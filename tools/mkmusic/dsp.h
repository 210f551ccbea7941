// Signal primitives the instrument synthesizer is built from: a seeded noise stream, sine and
// exponential decay computed from basic arithmetic only (so every machine produces the same
// bits), a trapezoidal state-variable filter, soft clipping and conversion to 16-bit PCM.
#pragma once

#include <cstdint>
#include <vector>

namespace mkmusic {

struct NoiseStream {
  std::uint32_t state;  // never 0
};

double NextBipolar(NoiseStream& stream);  // uniform in [-1, 1)

// sin(2 pi cycles), accurate to about 1e-9.
double SineOfCycles(double cycles);
// e^-x for x >= 0.
double ExpNeg(double x);
// The factor that shrinks an amplitude by e in `seconds` when applied once a sample.
double DecayPerSample(double seconds, double rate);
// Odd, monotonic saturation: x for small x, approaching +-1.
double SoftClip(double x);

// Zero-delay-feedback state-variable filter; stable for any cutoff below half the rate, so the
// cutoff may move every sample.
struct SvfState {
  double ic1 = 0.0, ic2 = 0.0;
};
struct SvfCoefficients {
  double g, k;  // g = tan(pi fc / fs), k = 1 / Q
};
struct SvfOutput {
  double low, band, high;
};
SvfCoefficients SvfTune(double cutoff_over_rate, double q);
SvfOutput SvfStep(SvfState& state, SvfCoefficients c, double in);

// Lowpass of a periodic signal in its steady state: filtered twice round, second lap kept, so
// the result loops without a seam.
void LowpassLoop(std::vector<double>& signal, double cutoff_over_rate, double q);

// Scales to the given peak (fraction of full scale) and rounds to signed 16-bit.
std::vector<std::int16_t> ToPcm16(const std::vector<double>& signal, double peak);

}  // namespace mkmusic
