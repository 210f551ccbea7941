// Deterministic signal primitives: xorshift noise, polynomial sine, series exponential, the
// trapezoidal state-variable filter and PCM conversion.
#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace mkmusic {

double NextBipolar(NoiseStream& stream) {
  std::uint32_t x = stream.state;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  stream.state = x;
  return static_cast<double>(x >> 8) * (2.0 / 16777216.0) - 1.0;
}

double SineOfCycles(double cycles) {
  double x = cycles - std::floor(cycles);  // [0, 1)
  if (x > 0.5) x -= 1.0;                   // [-0.5, 0.5]
  if (x > 0.25) x = 0.5 - x;               // fold onto [-0.25, 0.25], where the series is short
  if (x < -0.25) x = -0.5 - x;
  const double y = x * 6.283185307179586;
  const double y2 = y * y;
  // Taylor series to y^15 / 15!: error below 1e-9 for |y| <= pi / 2.
  double term = y, sum = y;
  for (int n = 2; n <= 14; n += 2) {
    term *= -y2 / (n * (n + 1));
    sum += term;
  }
  return sum;
}

double ExpNeg(double x) {
  // e^-x = (e^(-x / 1024))^1024, the small power from six series terms.
  const double s = -x / 1024.0;
  double r = 1.0 + s * (1.0 + s * (0.5 + s * (1.0 / 6.0 + s * (1.0 / 24.0 + s * (1.0 / 120.0 + s / 720.0)))));
  for (int i = 0; i < 10; ++i) r *= r;
  return r;
}

double DecayPerSample(double seconds, double rate) { return ExpNeg(1.0 / (seconds * rate)); }

double SoftClip(double x) {
  const double c = std::clamp(x, -3.0, 3.0);
  return c * (27.0 + c * c) / (27.0 + 9.0 * c * c);
}

SvfCoefficients SvfTune(double cutoff_over_rate, double q) {
  const double half_angle = cutoff_over_rate * 0.5;  // pi fc / fs, in cycles
  return {SineOfCycles(half_angle) / SineOfCycles(half_angle + 0.25), 1.0 / q};
}

SvfOutput SvfStep(SvfState& s, SvfCoefficients c, double in) {
  const double a1 = 1.0 / (1.0 + c.g * (c.g + c.k));
  const double a2 = c.g * a1;
  const double a3 = c.g * a2;
  const double v3 = in - s.ic2;
  const double v1 = a1 * s.ic1 + a2 * v3;
  const double v2 = s.ic2 + a2 * s.ic1 + a3 * v3;
  s.ic1 = 2.0 * v1 - s.ic1;
  s.ic2 = 2.0 * v2 - s.ic2;
  return {v2, v1, in - c.k * v1 - v2};
}

void LowpassLoop(std::vector<double>& signal, double cutoff_over_rate, double q) {
  const SvfCoefficients c = SvfTune(cutoff_over_rate, q);
  SvfState state;
  for (double x : signal) SvfStep(state, c, x);
  for (double& x : signal) x = SvfStep(state, c, x).low;
}

std::vector<std::int16_t> ToPcm16(const std::vector<double>& signal, double peak) {
  double largest = 0.0;
  for (double x : signal) largest = std::max(largest, std::fabs(x));
  const double scale = largest > 0.0 ? peak * 32767.0 / largest : 0.0;
  std::vector<std::int16_t> pcm(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i)
    pcm[i] = static_cast<std::int16_t>(std::lround(std::clamp(signal[i] * scale, -32767.0, 32767.0)));
  return pcm;
}

}  // namespace mkmusic
