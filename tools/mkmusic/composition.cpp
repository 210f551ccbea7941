// Writes the piece into the song grid, section by section and part by part: chords and pads,
// bass lines, drums, the pluck arpeggios, the lead with its echo or harmony, crashes and risers.
//
// Sections: notes and chords, grid access, parts, sections, assembly.
#include "composition.h"

#include <algorithm>
#include <array>

#include "voices.h"

namespace mkmusic {

namespace {

// ---- Notes and chords ---------------------------------------------------------------------

// "D-5", "A#4": the format's note number, C-0 = 0; C-5 sounds at middle C in these voices.
constexpr int N(const char* name) {
  constexpr int kSemitone[] = {9, 11, 0, 2, 4, 5, 7};  // A to G
  return (name[2] - '0') * 12 + kSemitone[name[0] - 'A'] + (name[1] == '#' ? 1 : 0);
}

struct Chord {
  int bass;
  std::array<int, 3> pad;
  std::array<int, 4> arp;
};

constexpr Chord kDm{N("D-3"), {N("A-4"), N("D-5"), N("F-5")}, {N("D-5"), N("F-5"), N("A-5"), N("D-6")}};
constexpr Chord kBb{N("A#2"), {N("A#4"), N("D-5"), N("F-5")}, {N("A#4"), N("D-5"), N("F-5"), N("A#5")}};
constexpr Chord kF{N("F-3"), {N("A-4"), N("C-5"), N("F-5")}, {N("C-5"), N("F-5"), N("A-5"), N("C-6")}};
constexpr Chord kC{N("C-3"), {N("G-4"), N("C-5"), N("E-5")}, {N("C-5"), N("E-5"), N("G-5"), N("C-6")}};
constexpr Chord kGm{N("G-3"), {N("G-4"), N("A#4"), N("D-5")}, {N("G-4"), N("A#4"), N("D-5"), N("G-5")}};
constexpr Chord kA{N("A-2"), {N("A-4"), N("C#5"), N("E-5")}, {N("A-4"), N("C#5"), N("E-5"), N("A-5")}};

const Chord& ChordOfBar(int bar) {
  static constexpr std::array<const Chord*, 4> kCycle = {&kDm, &kBb, &kF, &kC};
  if (bar == kBarTurnaround || bar == kBarBreak + 2) return kA;
  if (bar == kBarBreak || bar == kBarEnding) return kGm;
  if (bar == kBarBreak + 1 || bar == kBarEnding + 1) return kBb;
  if (bar == kBarEnding + 2) return kC;
  if (bar >= kBarLastChord) return kDm;
  return *kCycle[bar % 4];
}

// The note two steps down D natural minor, for the harmony voice.
int ThirdBelow(int note) {
  static constexpr std::array<int, 7> kScale = {0, 2, 3, 5, 7, 8, 10};  // from D
  const int degree_pc = (note - 2 + 120) % 12;
  for (int d = 0; d < 7; ++d) {
    if (kScale[d] != degree_pc) continue;
    const int lower = (d + 5) % 7;
    const int drop = (kScale[d] - kScale[lower] + 12) % 12;
    return note - drop;
  }
  return note - 3;
}

// ---- Grid access --------------------------------------------------------------------------

enum Channel : int {
  kChKick, kChSnare, kChHats, kChBass, kChPadLow, kChPadMid, kChPadHigh, kChLead, kChEcho, kChPluck, kChFx,
  kChannelCount
};

constexpr std::array<std::uint8_t, kChannelCount> kChannelPan = {32, 29, 42, 32, 14, 32, 50, 26, 44, 20, 34};

int BarRow(int bar) { return bar * kRowsPerBar; }

Cell& At(Song& song, int row, int channel) { return song.cells[static_cast<std::size_t>(row) * song.channels + channel]; }

void Play(Song& song, int row, int channel, int note, Voice voice, int volume) {
  Cell& c = At(song, row, channel);
  c.note = note;
  c.instrument = InstrumentNumber(voice);
  c.volume = volume;
}

// Releases the channel's note unless something else already starts on that row.
void Release(Song& song, int row, int channel) {
  if (row >= song.rows) return;
  Cell& c = At(song, row, channel);
  if (c.note == kNoNote) c.note = kNoteOff;
}

void SetVolume(Song& song, int row, int channel, int volume) { At(song, row, channel).volume = volume; }

// ---- Parts --------------------------------------------------------------------------------

struct Step {
  int row;  // from the start of the phrase or bar
  int note;
  int length;  // rows
  int volume;
};

// Notes of one line; each sounds for its length, even over a release an earlier part left
// there, and is released after it unless the next one starts first.
template <std::size_t Count>
void PlayLine(Song& song, int channel, Voice voice, int first_row, const std::array<Step, Count>& steps,
              int transpose = 0, int volume_offset = 0) {
  for (std::size_t i = 0; i < Count; ++i) {
    const Step& s = steps[i];
    const int row = first_row + s.row;
    if (row >= song.rows) return;
    Play(song, row, channel, s.note + transpose, voice, s.volume + volume_offset);
    for (int r = row + 1; r < row + s.length && r < song.rows; ++r) {
      Cell& held = At(song, r, channel);
      if (held.note == kNoteOff) held.note = kNoNote;
    }
    const int end = s.row + s.length;
    if (i + 1 == Count || steps[i + 1].row > end) Release(song, first_row + end, channel);
  }
}

// Chord tones held across bars: a pad voice is struck again only when its note changes.
struct PadState {
  std::array<int, 3> sounding = {kNoNote, kNoNote, kNoNote};
};

void PadBar(Song& song, PadState& pads, int bar, int volume) {
  const Chord& chord = ChordOfBar(bar);
  for (int v = 0; v < 3; ++v) {
    const int channel = kChPadLow + v;
    if (chord.pad[v] == pads.sounding[v]) {
      SetVolume(song, BarRow(bar), channel, volume);
      continue;
    }
    Play(song, BarRow(bar), channel, chord.pad[v], kPad, volume);
    pads.sounding[v] = chord.pad[v];
  }
}

void PadsRelease(Song& song, PadState& pads, int row) {
  for (int v = 0; v < 3; ++v) Release(song, row, kChPadLow + v);
  pads.sounding = {kNoNote, kNoNote, kNoNote};
}

// Bass figures: rows within the bar, intervals above the chord's root.
constexpr std::array<Step, 4> kBassQuarters = {{{0, 0, 2, 40}, {4, 0, 2, 34}, {8, 0, 2, 38}, {12, 0, 2, 34}}};
constexpr std::array<Step, 8> kBassOctaves = {{{0, 0, 2, 40}, {2, 12, 2, 30}, {4, 0, 2, 36}, {6, 12, 2, 30},
                                               {8, 0, 2, 38}, {10, 12, 2, 30}, {12, 0, 2, 36}, {14, 12, 2, 32}}};
constexpr std::array<Step, 7> kBassGroove = {{{0, 0, 3, 42}, {3, 0, 2, 34}, {6, 12, 2, 36}, {8, 0, 2, 38},
                                              {10, 7, 2, 32}, {12, 12, 2, 36}, {14, 0, 2, 34}}};
constexpr std::array<Step, 8> kBassDrive = {{{0, 0, 3, 44}, {3, 0, 2, 36}, {6, 12, 2, 38}, {8, 0, 2, 40},
                                             {10, 7, 2, 34}, {12, 12, 2, 38}, {14, 0, 1, 34}, {15, 12, 1, 30}}};

template <std::size_t Count>
void BassBar(Song& song, int bar, const std::array<Step, Count>& figure) {
  PlayLine(song, kChBass, kBass, BarRow(bar), figure, ChordOfBar(bar).bass);
}

void Kicks(Song& song, int bar, int volume) {
  for (int r = 0; r < kRowsPerBar; r += 4) Play(song, BarRow(bar) + r, kChKick, kDrumNote, kKick, volume);
}

void Backbeat(Song& song, int bar, int volume, bool ghost) {
  Play(song, BarRow(bar) + 4, kChSnare, kDrumNote, kSnare, volume);
  Play(song, BarRow(bar) + 12, kChSnare, kDrumNote, kSnare, volume);
  if (ghost) Play(song, BarRow(bar) + 15, kChSnare, kDrumNote, kSnare, volume / 4);
}

// Snare on every row from `from_row` to the bar's end, swelling.
void SnareRoll(Song& song, int bar, int from_row, int volume_from, int volume_to) {
  const int span = kRowsPerBar - 1 - from_row;
  for (int r = from_row; r < kRowsPerBar; ++r) {
    const int volume = span > 0 ? volume_from + (volume_to - volume_from) * (r - from_row) / span : volume_to;
    Play(song, BarRow(bar) + r, kChSnare, kDrumNote, kSnare, volume);
  }
}

void HatsOffbeat(Song& song, int bar, int volume) {
  for (int r = 2; r < kRowsPerBar; r += 4) Play(song, BarRow(bar) + r, kChHats, kDrumNote, kClosedHat, volume);
}

// Sixteenths, louder on the eighths; `open_last` lets the bar's last offbeat ring open.
void HatsSixteenths(Song& song, int bar, int accent, bool open_last) {
  for (int r = 0; r < kRowsPerBar; ++r) {
    const bool eighth = r % 2 == 0;
    Play(song, BarRow(bar) + r, kChHats, kDrumNote, kClosedHat, eighth ? accent : accent / 2);
  }
  if (open_last) Play(song, BarRow(bar) + 14, kChHats, kDrumNote, kOpenHat, accent);
}

// Open hats on the offbeats, closed ones on the beats choking them.
void HatsOpen(Song& song, int bar, int volume) {
  for (int r = 0; r < kRowsPerBar; r += 2) {
    const bool offbeat = r % 4 == 2;
    Play(song, BarRow(bar) + r, kChHats, kDrumNote, offbeat ? kOpenHat : kClosedHat, offbeat ? volume : volume / 2);
  }
}

void Crash(Song& song, int bar, int volume) { Play(song, BarRow(bar), kChFx, kDrumNote, kCrash, volume); }

// Looped noise sliding up in pitch and swelling, over `bars` bars before `bar_to`.
void Riser(Song& song, int bar_to, int bars, int volume_to) {
  const int first = BarRow(bar_to - bars);
  const int rows = bars * kRowsPerBar;
  Play(song, first, kChFx, N("C-4"), kNoise, 2);
  for (int r = 1; r < rows; ++r) {
    Cell& c = At(song, first + r, kChFx);
    c.volume = 2 + (volume_to - 2) * r * r / (rows * rows);
    c.effect = EffectLetter('F');
    c.param = 2;
  }
}

// Chord tones in a rising and turning figure, every `step` rows.
void Arpeggio(Song& song, int bar, int step, int volume, int transpose) {
  static constexpr std::array<int, 16> kOrder = {0, 1, 2, 3, 2, 1, 2, 3, 0, 1, 2, 3, 1, 2, 3, 2};
  const Chord& chord = ChordOfBar(bar);
  for (int r = 0; r < kRowsPerBar; r += step) {
    const int accent = r % 4 == 0 ? 6 : 0;
    Play(song, BarRow(bar) + r, kChPluck, chord.arp[kOrder[r]] + transpose, kPluck, volume + accent);
  }
}

// The theme, four bars a phrase over Dm Bb F C.
constexpr std::array<Step, 16> kPhraseA = {{
    {0, N("A-5"), 6, 46}, {6, N("G-5"), 2, 40}, {8, N("F-5"), 4, 44}, {12, N("E-5"), 2, 40},
    {14, N("F-5"), 2, 42}, {16, N("D-5"), 6, 46}, {22, N("F-5"), 2, 40}, {24, N("A-5"), 4, 44},
    {28, N("A#5"), 4, 44}, {32, N("C-6"), 6, 48}, {38, N("A-5"), 2, 40}, {40, N("F-5"), 4, 44},
    {44, N("A-5"), 4, 44}, {48, N("G-5"), 8, 46}, {56, N("E-5"), 4, 42}, {60, N("C-5"), 4, 40},
}};
constexpr std::array<Step, 16> kPhraseB = {{
    {0, N("D-6"), 6, 48}, {6, N("C-6"), 2, 42}, {8, N("A-5"), 4, 44}, {12, N("F-5"), 4, 42},
    {16, N("G-5"), 4, 44}, {20, N("F-5"), 2, 40}, {22, N("D-5"), 2, 40}, {24, N("F-5"), 8, 44},
    {32, N("A-5"), 6, 46}, {38, N("C-6"), 2, 42}, {40, N("A-5"), 4, 44}, {44, N("G-5"), 4, 42},
    {48, N("E-5"), 6, 44}, {54, N("F-5"), 2, 40}, {56, N("E-5"), 4, 42}, {60, N("D-5"), 4, 40},
}};
// The second answer climbs instead, and hands over to the turnaround on A.
constexpr std::array<Step, 16> kPhraseClimb = {{
    {0, N("D-6"), 6, 48}, {6, N("C-6"), 2, 42}, {8, N("A-5"), 4, 44}, {12, N("F-5"), 4, 42},
    {16, N("G-5"), 4, 44}, {20, N("A-5"), 2, 42}, {22, N("A#5"), 2, 44}, {24, N("D-6"), 8, 48},
    {32, N("C-6"), 6, 46}, {38, N("A-5"), 2, 42}, {40, N("F-5"), 4, 44}, {44, N("A-5"), 4, 44},
    {48, N("G-5"), 6, 46}, {54, N("A-5"), 2, 42}, {56, N("G-5"), 4, 44}, {60, N("E-5"), 4, 42},
}};
constexpr std::array<Step, 3> kTurnaroundLine = {{{0, N("E-5"), 4, 44}, {4, N("A-5"), 4, 46}, {8, N("C#6"), 8, 48}}};
// Long notes over Gm, Bb, A while the drums rest.
constexpr std::array<Step, 6> kBreakLine = {{{0, N("D-6"), 12, 40}, {12, N("C-6"), 4, 36}, {16, N("A#5"), 12, 40},
                                             {28, N("A-5"), 4, 36}, {32, N("E-5"), 8, 38}, {40, N("G-5"), 8, 40}}};
// Over Gm, Bb, C up to the last D.
constexpr std::array<Step, 11> kEndingLine = {{
    {0, N("A#5"), 6, 46}, {6, N("A-5"), 2, 42}, {8, N("G-5"), 8, 44}, {16, N("F-5"), 6, 44},
    {22, N("G-5"), 2, 42}, {24, N("A#5"), 8, 46}, {32, N("G-5"), 4, 44}, {36, N("A-5"), 4, 46},
    {40, N("A#5"), 4, 48}, {44, N("C-6"), 4, 50}, {48, N("D-6"), 14, 52},
}};

constexpr int kEchoDelay = 3;  // a dotted eighth

template <std::size_t Count>
void LeadWithEcho(Song& song, int bar, const std::array<Step, Count>& line) {
  PlayLine(song, kChLead, kLead, BarRow(bar), line);
  PlayLine(song, kChEcho, kLead, BarRow(bar) + kEchoDelay, line, 0, -26);
}

template <std::size_t Count>
void LeadWithHarmony(Song& song, int bar, const std::array<Step, Count>& line) {
  PlayLine(song, kChLead, kLead, BarRow(bar), line);
  std::array<Step, Count> lower = line;
  for (Step& s : lower) s.note = ThirdBelow(s.note);
  PlayLine(song, kChEcho, kLead, BarRow(bar), lower, 0, -16);
}

// ---- Sections -----------------------------------------------------------------------------

// Pads alone, then the pluck joins and grows.
void Intro(Song& song, PadState& pads) {
  for (int bar = kBarIntro; bar < kBarBuildUp; ++bar) {
    PadBar(song, pads, bar, 40);
    if (bar >= 4) Arpeggio(song, bar, 2, 14 + 4 * (bar - 4), 0);
  }
}

// Kick and bass, then offbeat hats and octave bass, then full hats and snare, a roll and a
// riser into the theme.
void BuildUp(Song& song, PadState& pads) {
  Crash(song, kBarBuildUp, 24);
  for (int bar = kBarBuildUp; bar < kBarTheme; ++bar) {
    const int stage = (bar - kBarBuildUp) / 4;
    PadBar(song, pads, bar, 36);
    Kicks(song, bar, stage == 0 ? 46 : 52);
    if (stage == 0) BassBar(song, bar, kBassQuarters);
    else BassBar(song, bar, kBassOctaves);
    if (stage == 1) HatsOffbeat(song, bar, 40);
    if (stage == 2) {
      HatsSixteenths(song, bar, 42, false);
      Backbeat(song, bar, 50, false);
    }
    Arpeggio(song, bar, stage == 0 ? 2 : 1, 22 + 2 * stage, 0);
  }
  SnareRoll(song, kBarTheme - 1, 8, 20, 54);
  Riser(song, kBarTheme, 2, 36);
}

void ThemeDrums(Song& song, int bar) {
  Kicks(song, bar, 54);
  Backbeat(song, bar, 58, bar % 2 == 1);
  HatsSixteenths(song, bar, 54, bar % 2 == 1);
}

// Lead over the full band, twice through its eight bars, then a one-bar turnaround on A.
void Theme(Song& song, PadState& pads) {
  Crash(song, kBarTheme, 44);
  Crash(song, kBarTheme + 8, 30);
  for (int bar = kBarTheme; bar < kBarTurnaround; ++bar) {
    PadBar(song, pads, bar, 30);
    ThemeDrums(song, bar);
    BassBar(song, bar, kBassGroove);
    Arpeggio(song, bar, 1, 18, 0);
  }
  LeadWithEcho(song, kBarTheme, kPhraseA);
  LeadWithEcho(song, kBarTheme + 4, kPhraseB);
  LeadWithEcho(song, kBarTheme + 8, kPhraseA);
  LeadWithEcho(song, kBarTheme + 12, kPhraseClimb);

  const int bar = kBarTurnaround;
  PadBar(song, pads, bar, 34);
  Kicks(song, bar, 54);
  SnareRoll(song, bar, 8, 24, 58);
  BassBar(song, bar, kBassOctaves);
  Arpeggio(song, bar, 1, 20, 0);
  LeadWithEcho(song, bar, kTurnaroundLine);
}

// Drums and bass rest; pads, a slower arpeggio an octave up and long lead notes carry it,
// with a riser into the finale.
void Break(Song& song, PadState& pads) {
  for (int bar = kBarBreak; bar < kBarFinale; ++bar) {
    PadBar(song, pads, bar, 44);
    Arpeggio(song, bar, 2, 24, 12);
  }
  LeadWithEcho(song, kBarBreak, kBreakLine);
  Riser(song, kBarFinale, 2, 40);
}

// The theme again with open hats, a driving bass and the lead in thirds.
void Finale(Song& song, PadState& pads) {
  Crash(song, kBarFinale, 48);
  Crash(song, kBarFinale + 8, 34);
  for (int bar = kBarFinale; bar < kBarEnding; ++bar) {
    PadBar(song, pads, bar, 32);
    Kicks(song, bar, 56);
    Backbeat(song, bar, 60, bar % 2 == 1);
    HatsOpen(song, bar, 44);
    BassBar(song, bar, kBassDrive);
    Arpeggio(song, bar, 1, 22, 0);
  }
  LeadWithHarmony(song, kBarFinale, kPhraseA);
  LeadWithHarmony(song, kBarFinale + 4, kPhraseB);
  LeadWithHarmony(song, kBarFinale + 8, kPhraseA);
  LeadWithHarmony(song, kBarFinale + 12, kPhraseClimb);
}

// Gm, Bb, C with a closing roll, then one struck D minor chord left to ring and fade.
void Ending(Song& song, PadState& pads) {
  for (int bar = kBarEnding; bar < kBarLastChord; ++bar) {
    PadBar(song, pads, bar, 34);
    Kicks(song, bar, 56);
    Backbeat(song, bar, 60, false);
    HatsSixteenths(song, bar, 54, true);
    BassBar(song, bar, kBassDrive);
    Arpeggio(song, bar, 1, 22, 0);
  }
  SnareRoll(song, kBarLastChord - 1, 8, 28, 60);
  LeadWithHarmony(song, kBarEnding, kEndingLine);

  const int row = BarRow(kBarLastChord);
  PadBar(song, pads, kBarLastChord, 44);
  Crash(song, kBarLastChord, 52);
  Play(song, row, kChKick, kDrumNote, kKick, 64);
  Play(song, row, kChBass, kDm.bass, kBass, 46);
  Release(song, row + 12, kChBass);
  static constexpr std::array<Step, 3> kLastPluck = {{{0, N("D-6"), 4, 40}, {4, N("A-5"), 4, 32}, {8, N("F-5"), 8, 24}}};
  PlayLine(song, kChPluck, kPluck, row, kLastPluck);
  PadsRelease(song, pads, BarRow(kBarLastChord + 1));
}

}  // namespace

Module ComposeModule() {
  Module m;
  m.title = "Copperbramble";
  m.initial_speed = kSpeed;
  m.initial_tempo = kTempo;
  m.global_volume = 128;
  m.mix_volume = 48;
  m.channel_pan.assign(kChannelPan.begin(), kChannelPan.end());
  AddVoices(m);

  Song& song = m.song;
  song.channels = kChannelCount;
  song.rows = kBars * kRowsPerBar;
  song.cells.assign(static_cast<std::size_t>(song.rows) * song.channels, Cell{});
  // Four bars a pattern, except the five-bar closing ones of the theme and of the piece and the
  // three-bar break between them, so that every section starts a pattern.
  for (int bar = 0; bar < kBars;) {
    song.pattern_starts.push_back(BarRow(bar));
    bar += (bar == kBarTheme + 12 || bar == kBarEnding) ? 5 : bar == kBarBreak ? 3 : 4;
  }

  // The header's channel pans again as set-pan effects on the first row: libmikmod keeps its
  // own alternating left-right layout unless the song pans channels itself.
  for (int ch = 0; ch < kChannelCount; ++ch) {
    Cell& c = At(song, 0, ch);
    c.effect = EffectLetter('X');
    c.param = static_cast<std::uint8_t>(std::min(255, kChannelPan[ch] * 4));
  }

  PadState pads;
  Intro(song, pads);
  BuildUp(song, pads);
  Theme(song, pads);
  Break(song, pads);
  Finale(song, pads);
  Ending(song, pads);
  return m;
}

}  // namespace mkmusic
