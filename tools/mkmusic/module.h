// Plain records of a tracker module as the tool composes it: samples, instruments with their
// volume envelopes, and the song as one grid of rows by channels cut into patterns. The writer
// turns these into the file; nothing here knows the byte layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mkmusic {

struct Sample {
  std::string name;
  std::vector<std::int16_t> pcm;  // mono, signed
  std::uint32_t loop_begin = 0;
  std::uint32_t loop_end = 0;     // 0: plays once
  std::uint32_t c5_speed = 22050;  // playback rate of note C-5
  std::uint8_t global_volume = 64;  // 0-64
  // Automatic vibrato; rate is how fast it fades in.
  std::uint8_t vibrato_speed = 0, vibrato_depth = 0, vibrato_rate = 0;
};

struct EnvelopeNode {
  std::uint16_t tick;
  std::int8_t value;  // volume 0-64
};

// An empty node list means the envelope is off.
struct Envelope {
  std::vector<EnvelopeNode> nodes;
  int sustain_node = -1;  // held while the note is on; -1: none
};

// What happens to a still sounding note when its channel gets a new one.
enum class NewNoteAction : std::uint8_t { kCut = 0, kContinue = 1, kNoteOff = 2, kNoteFade = 3 };

struct Instrument {
  std::string name;
  int sample;  // index into Module::samples, used for every note
  NewNoteAction new_note_action = NewNoteAction::kCut;
  std::uint16_t fade_out = 0;        // volume fade per tick after note off, of 1024
  std::uint8_t global_volume = 128;  // 0-128
  Envelope volume;
};

inline constexpr int kNoNote = -1;
inline constexpr int kNoteCut = 254;
inline constexpr int kNoteOff = 255;
inline constexpr int kNoVolume = -1;

// Effect letters as the format numbers them (A = 1).
inline constexpr std::uint8_t EffectLetter(char letter) { return static_cast<std::uint8_t>(letter - 'A' + 1); }

struct Cell {
  int note = kNoNote;  // 0-119 (C-0 to B-9), kNoteCut, kNoteOff
  int instrument = 0;  // 1-based, 0: none
  int volume = kNoVolume;  // 0-64
  std::uint8_t effect = 0;  // 0: none
  std::uint8_t param = 0;
};

struct Song {
  int channels = 0;
  int rows = 0;
  std::vector<Cell> cells;  // row-major: cells[row * channels + channel]
  std::vector<int> pattern_starts;  // first row of each pattern, ascending, starting at 0
};

struct Module {
  std::string title;
  std::uint8_t initial_speed = 6;    // ticks a row
  std::uint8_t initial_tempo = 125;  // a tick lasts 2.5 / tempo seconds
  std::uint8_t global_volume = 128;  // 0-128
  std::uint8_t mix_volume = 48;      // 0-128
  std::vector<std::uint8_t> channel_pan;  // 0 (left) to 64 (right), one a song channel
  std::vector<Sample> samples;
  std::vector<Instrument> instruments;
  Song song;
};

}  // namespace mkmusic
