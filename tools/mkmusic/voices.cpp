// Synthesis of the band's samples. Tonal voices are built from whole periods of an exact sample
// length so that their loops are seamless: C-5 plays a wave of `period` samples at
// 261.6256 Hz * period. Drums are made at 22050 Hz, the rate the demo mixes at.
//
// Sections: wave tables, drums, tonal voices, instrument table.
#include "voices.h"

#include <array>
#include <cstddef>

#include "dsp.h"

namespace mkmusic {

namespace {

constexpr double kDrumRate = 22050.0;
constexpr double kMiddleC = 261.6256;
constexpr double kPeak = 0.92;

std::uint32_t C5SpeedForPeriod(double period) { return static_cast<std::uint32_t>(kMiddleC * period + 0.5); }

// ---- Wave tables --------------------------------------------------------------------------

// One period of `length` samples holding harmonics 1..count with amplitude weight(h), tapered
// towards the top so the highest partials do not ring.
template <typename Weight>
std::vector<double> HarmonicCycle(int length, int count, Weight weight) {
  std::vector<double> cycle(static_cast<std::size_t>(length), 0.0);
  for (int h = 1; h <= count; ++h) {
    const double taper = 1.0 - 0.5 * static_cast<double>(h - 1) / count;
    const double a = weight(h) * taper;
    for (int i = 0; i < length; ++i) cycle[i] += a * SineOfCycles(static_cast<double>(h) * i / length);
  }
  return cycle;
}

double SawWeight(int h) { return 1.0 / h; }

// Fades the last `fraction` of a one-shot linearly to zero so it never ends on a step.
void FadeTail(std::vector<double>& s, double fraction) {
  const std::size_t n = s.size();
  const std::size_t fade = static_cast<std::size_t>(n * fraction);
  for (std::size_t i = 0; i < fade; ++i) s[n - 1 - i] *= static_cast<double>(i) / fade;
}

// ---- Drums --------------------------------------------------------------------------------

// A zeroed one-shot of the given length at the drum rate.
std::vector<double> DrumBuffer(double seconds) { return std::vector<double>(static_cast<std::size_t>(seconds * kDrumRate), 0.0); }

std::vector<double> SynthKick() {
  std::vector<double> s = DrumBuffer(0.42);
  NoiseStream noise{0x6B1C4E21u};
  SvfState click_filter;
  const SvfCoefficients click_tone = SvfTune(0.12, 0.7);
  double phase = 0.0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = i / kDrumRate;
    const double hz = 46.0 + 105.0 * ExpNeg(t / 0.045) + 320.0 * ExpNeg(t / 0.005);
    phase += hz / kDrumRate;
    const double body = SineOfCycles(phase) * ExpNeg(t / 0.30);
    const double click = SvfStep(click_filter, click_tone, NextBipolar(noise)).low * ExpNeg(t / 0.003);
    const double attack = i < 24 ? i / 24.0 : 1.0;
    s[i] = attack * SoftClip(1.8 * (body + 0.6 * click));
  }
  FadeTail(s, 0.1);
  return s;
}

std::vector<double> SynthSnare() {
  std::vector<double> s = DrumBuffer(0.32);
  NoiseStream noise{0x2F9A7C53u};
  SvfState band_filter, high_filter;
  const SvfCoefficients band = SvfTune(3300.0 / kDrumRate, 0.8);
  const SvfCoefficients high = SvfTune(1200.0 / kDrumRate, 0.7);
  double phase = 0.0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = i / kDrumRate;
    phase += (180.0 + 90.0 * ExpNeg(t / 0.02)) / kDrumRate;
    const double tone = SineOfCycles(phase) * ExpNeg(t / 0.055);
    const double w = NextBipolar(noise);
    const double rattle = SvfStep(band_filter, band, w).band + 0.5 * SvfStep(high_filter, high, w).high;
    s[i] = SoftClip(2.4 * (0.8 * tone + rattle * ExpNeg(t / 0.15)));
  }
  FadeTail(s, 0.15);
  return s;
}

// Six detuned square waves (a metallic cluster) and noise through a highpass, under a decay.
std::vector<double> SynthMetal(double seconds, double decay, double cutoff_hz, std::uint32_t seed) {
  static constexpr std::array<double, 6> kPartials = {540.0, 800.0, 1174.0, 1617.0, 1870.0, 2433.0};
  std::vector<double> s = DrumBuffer(seconds);
  NoiseStream noise{seed};
  SvfState high_filter, air_filter;
  const SvfCoefficients high = SvfTune(cutoff_hz / kDrumRate, 0.7);
  const SvfCoefficients air = SvfTune(9000.0 / kDrumRate, 1.2);
  std::array<double, 6> phase{};
  for (std::size_t i = 0; i < s.size(); ++i) {
    double metal = 0.0;
    for (std::size_t p = 0; p < kPartials.size(); ++p) {
      phase[p] += kPartials[p] / kDrumRate;
      if (phase[p] >= 1.0) phase[p] -= 1.0;
      metal += phase[p] < 0.5 ? 1.0 : -1.0;
    }
    const double mix = 0.12 * metal + NextBipolar(noise);
    const double bright = SvfStep(high_filter, high, mix).high;
    const double shimmer = SvfStep(air_filter, air, bright).band;
    const double attack = i < 16 ? i / 16.0 : 1.0;
    s[i] = attack * (bright + 0.8 * shimmer) * ExpNeg(i / kDrumRate / decay);
  }
  FadeTail(s, 0.2);
  return s;
}

// ---- Tonal voices -------------------------------------------------------------------------

// Resonant pluck bass: a band-limited saw through a lowpass whose cutoff falls from bright to
// dark over the first periods, then holds, so the last period loops cleanly.
constexpr int kBassPeriod = 512;
constexpr int kBassPeriods = 24;

std::vector<double> SynthBass() {
  const std::vector<double> cycle = HarmonicCycle(kBassPeriod, 48, SawWeight);
  std::vector<double> s(static_cast<std::size_t>(kBassPeriod) * kBassPeriods);
  SvfState state;
  const int held_from = kBassPeriods - 4;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double periods = static_cast<double>(i) / kBassPeriod;
    const double sweep = periods < held_from ? ExpNeg(periods / 3.0) : 0.0;
    const double cutoff_harmonics = 3.0 + 24.0 * sweep;
    const SvfCoefficients c = SvfTune(cutoff_harmonics / kBassPeriod, 1.6);
    const double x = cycle[i % kBassPeriod] + 0.6 * SineOfCycles(static_cast<double>(i) / kBassPeriod);
    s[i] = SoftClip(1.6 * SvfStep(state, c, x).low);
  }
  return s;
}

// Five detuned saws. Each runs a whole number of cycles over the loop, read from one long
// table at integer steps, so the chorus beating repeats exactly with the loop.
constexpr int kPadLoop = 32768;
constexpr int kPadCycles = 256;  // period 128

std::vector<double> SynthPad() {
  const std::vector<double> table = HarmonicCycle(kPadLoop, 18, SawWeight);
  static constexpr std::array<int, 5> kDetune = {-3, -1, 0, 1, 3};
  static constexpr std::array<double, 5> kLevel = {0.7, 0.9, 1.0, 0.9, 0.7};
  NoiseStream noise{0x51ED270Bu};
  std::vector<double> s(kPadLoop, 0.0);
  for (std::size_t o = 0; o < kDetune.size(); ++o) {
    const std::size_t cycles = static_cast<std::size_t>(kPadCycles + kDetune[o]);
    const std::size_t offset = static_cast<std::size_t>((NextBipolar(noise) + 1.0) * 0.5 * kPadLoop);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] += kLevel[o] * table[(i * cycles + offset) % kPadLoop];
  }
  LowpassLoop(s, 8.0 * kPadCycles / kPadLoop, 0.8);
  return s;
}

// Hollow, slightly reedy lead: odd harmonics strong, even ones at half, two voices a few cents
// apart over an exact loop.
constexpr int kLeadLoop = 8192;
constexpr int kLeadCycles = 128;  // period 64

std::vector<double> SynthLead() {
  const std::vector<double> table =
      HarmonicCycle(kLeadLoop, 11, [](int h) { return (h % 2 == 1 ? 1.0 : 0.5) / h; });
  std::vector<double> s(kLeadLoop, 0.0);
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = table[(i * kLeadCycles) % kLeadLoop] + 0.8 * table[(i * (kLeadCycles + 1) + kLeadLoop / 3) % kLeadLoop];
  return s;
}

// Plucked string: a delay line filled with soft noise, each value averaged with the one after
// it as it comes round, which makes the period half a sample shorter than the line.
constexpr int kPluckLine = 63;

std::vector<double> SynthPluck() {
  NoiseStream noise{0x0DDBA11u};
  std::array<double, kPluckLine> line{};
  double smooth = 0.0, mean = 0.0;
  for (double& x : line) {
    smooth += 0.45 * (NextBipolar(noise) - smooth);
    x = smooth;
    mean += smooth / kPluckLine;
  }
  for (double& x : line) x -= mean;  // no offset to decay slowly under the tone
  std::vector<double> s(22000);
  std::size_t j = 0;
  for (double& out : s) {
    out = line[j];
    const std::size_t next = (j + 1) % kPluckLine;
    line[j] = 0.997 * 0.5 * (line[j] + line[next]);
    j = next;
  }
  FadeTail(s, 0.1);
  return s;
}

// Soft looped noise for risers: slid upwards in pitch it brightens.
std::vector<double> SynthNoise() {
  NoiseStream noise{0x7E57AB1Eu};
  std::vector<double> s(8192);
  for (double& x : s) x = NextBipolar(noise);
  LowpassLoop(s, 0.12, 0.7);
  return s;
}

// ---- Instrument table ---------------------------------------------------------------------

Sample OneShot(const char* name, const std::vector<double>& wave, double peak) {
  Sample s;
  s.name = name;
  s.pcm = ToPcm16(wave, peak);
  s.c5_speed = static_cast<std::uint32_t>(kDrumRate);
  return s;
}

Sample Looped(const char* name, const std::vector<double>& wave, std::size_t loop_begin, std::uint32_t c5_speed) {
  Sample s;
  s.name = name;
  s.pcm = ToPcm16(wave, kPeak);
  s.loop_begin = static_cast<std::uint32_t>(loop_begin);
  s.loop_end = static_cast<std::uint32_t>(wave.size());
  s.c5_speed = c5_speed;
  return s;
}

Instrument Plain(const char* name, int sample) {
  Instrument ins;
  ins.name = name;
  ins.sample = sample;
  return ins;
}

// Envelope ticks at the song's pace last 11.1 ms.
Instrument Shaped(const char* name, int sample, NewNoteAction nna, std::uint16_t fade_out, Envelope env) {
  Instrument ins = Plain(name, sample);
  ins.new_note_action = nna;
  ins.fade_out = fade_out;
  ins.volume = std::move(env);
  return ins;
}

}  // namespace

void AddVoices(Module& m) {
  const int base = static_cast<int>(m.samples.size());
  m.samples.push_back(OneShot("Kick", SynthKick(), kPeak));
  m.samples.push_back(OneShot("Snare", SynthSnare(), kPeak));
  m.samples.push_back(OneShot("Closed hat", SynthMetal(0.09, 0.018, 7000.0, 0x4A7E11C5u), kPeak));
  m.samples.push_back(OneShot("Open hat", SynthMetal(0.45, 0.14, 6500.0, 0x13572468u), kPeak));
  m.samples.push_back(OneShot("Crash", SynthMetal(1.9, 0.55, 3500.0, 0x2468ACE1u), kPeak));
  m.samples.push_back(Looped("Bass", SynthBass(), kBassPeriod * (kBassPeriods - 1), C5SpeedForPeriod(kBassPeriod)));
  m.samples.push_back(Looped("Pad", SynthPad(), 0, C5SpeedForPeriod(kPadLoop / kPadCycles)));
  Sample lead = Looped("Lead", SynthLead(), 0, C5SpeedForPeriod(kLeadLoop / kLeadCycles));
  lead.vibrato_speed = 10;
  lead.vibrato_depth = 4;
  lead.vibrato_rate = 24;
  m.samples.push_back(lead);
  Sample pluck = OneShot("Pluck", SynthPluck(), kPeak);
  pluck.c5_speed = C5SpeedForPeriod(kPluckLine - 0.5);
  m.samples.push_back(pluck);
  m.samples.push_back(Looped("Noise", SynthNoise(), 0, static_cast<std::uint32_t>(kDrumRate)));

  m.instruments.push_back(Plain("Kick", base + kKick));
  m.instruments.push_back(Plain("Snare", base + kSnare));
  m.instruments.push_back(Plain("Closed hat", base + kClosedHat));
  m.instruments.push_back(Plain("Open hat", base + kOpenHat));
  m.instruments.push_back(Plain("Crash", base + kCrash));
  m.instruments.push_back(Shaped("Bass", base + kBass, NewNoteAction::kCut, 64, {{{0, 64}, {6, 58}, {30, 46}, {36, 0}}, 2}));
  m.instruments.push_back(Shaped("Pad", base + kPad, NewNoteAction::kNoteOff, 16, {{{0, 0}, {36, 64}, {100, 0}}, 1}));
  m.instruments.push_back(Shaped("Lead", base + kLead, NewNoteAction::kNoteOff, 32, {{{0, 0}, {1, 64}, {16, 50}, {34, 0}}, 2}));
  Instrument pluck_ins = Plain("Pluck", base + kPluck);
  pluck_ins.new_note_action = NewNoteAction::kNoteFade;
  pluck_ins.fade_out = 96;
  m.instruments.push_back(pluck_ins);
  m.instruments.push_back(Plain("Noise", base + kNoise));
}

}  // namespace mkmusic
