// The band: every sound of the piece synthesized from scratch (drums from swept sines, noise and
// metallic square clusters; bass, pad, lead and pluck from band-limited waves, filters and a
// plucked-string delay line), each paired with the instrument settings that shape it over time.
#pragma once

#include "module.h"

namespace mkmusic {

enum Voice : int { kKick, kSnare, kClosedHat, kOpenHat, kCrash, kBass, kPad, kLead, kPluck, kNoise, kVoiceCount };

// The note at which drums and effects play at the rate they were made.
inline constexpr int kDrumNote = 60;

inline constexpr int InstrumentNumber(Voice voice) { return voice + 1; }

// Appends one sample and one instrument a voice, in Voice order.
void AddVoices(Module& module);

}  // namespace mkmusic
