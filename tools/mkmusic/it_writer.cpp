// Byte layout of an Impulse Tracker module, written in one pass with the offset tables patched
// once the blocks they point to are placed. Multi-byte fields are little-endian.
#include "it_writer.h"

#include <algorithm>

namespace mkmusic {

namespace {

constexpr std::size_t kHeaderBytes = 0xC0;
constexpr std::size_t kInstrumentBytes = 554;
constexpr std::size_t kSampleHeaderBytes = 80;
constexpr std::size_t kEnvelopeNodes = 25;
constexpr std::uint16_t kFormatVersion = 0x0214;
constexpr int kMaxChannels = 64;
constexpr int kMaxPatterns = 200;
constexpr int kMaxOrders = 255;  // the end marker included
constexpr int kMaxPatternRows = 200;
constexpr int kMaxInstruments = 99;
constexpr std::uint8_t kEndOfSong = 255;
constexpr std::uint8_t kChannelDisabled = 128;

// Header flags: stereo, instruments in use, linear pitch slides.
constexpr std::uint16_t kFlagStereo = 0x01, kFlagInstruments = 0x04, kFlagLinearSlides = 0x08;
// Sample flags and conversion: data present, 16-bit, looped; signed values.
constexpr std::uint8_t kSampleHasData = 0x01, kSample16Bit = 0x02, kSampleLooped = 0x10;
constexpr std::uint8_t kSampleSigned = 0x01;
// Envelope flags: on, sustain loop.
constexpr std::uint8_t kEnvelopeOn = 0x01, kEnvelopeSustain = 0x04;
// Pattern cell mask bits: note, instrument, volume column, effect and parameter follow.
constexpr std::uint8_t kMaskNote = 0x01, kMaskInstrument = 0x02, kMaskVolume = 0x04, kMaskEffect = 0x08;
constexpr std::uint8_t kNewMask = 0x80;

struct Bytes {
  std::vector<std::uint8_t>& out;

  void U8(unsigned v) { out.push_back(static_cast<std::uint8_t>(v)); }
  void U16(unsigned v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  // A fixed-size text field, zero padded; the last byte always stays zero.
  void Text(const std::string& text, std::size_t size) {
    const std::size_t used = std::min(text.size(), size - 1);
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(used));
    out.insert(out.end(), size - used, 0);
  }
  void Tag(const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) U8(static_cast<unsigned char>(tag[i]));
  }
  void Zeros(std::size_t count) { out.insert(out.end(), count, 0); }
  void Patch32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
};

// Envelopes the module leaves off are still written with the two flat nodes a fresh instrument
// has, which is what readers expect to find.
void WriteEnvelope(Bytes& b, const Envelope& env, std::int8_t flat_value) {
  const bool on = !env.nodes.empty();
  const bool sustain = on && env.sustain_node >= 0;
  b.U8((on ? kEnvelopeOn : 0) | (sustain ? kEnvelopeSustain : 0));
  const std::vector<EnvelopeNode> flat = {{0, flat_value}, {100, flat_value}};
  const std::vector<EnvelopeNode>& nodes = on ? env.nodes : flat;
  b.U8(static_cast<unsigned>(nodes.size()));
  b.U8(0);  // loop begin and end: no loop
  b.U8(0);
  b.U8(sustain ? env.sustain_node : 0);
  b.U8(sustain ? env.sustain_node : 0);
  for (std::size_t i = 0; i < kEnvelopeNodes; ++i) {
    const EnvelopeNode node = i < nodes.size() ? nodes[i] : EnvelopeNode{0, 0};
    b.U8(static_cast<std::uint8_t>(node.value));
    b.U16(node.tick);
  }
  b.U8(0);
}

void WriteInstrument(Bytes& b, const Instrument& ins) {
  const std::size_t start = b.out.size();
  b.Tag("IMPI");
  b.Zeros(12);       // DOS file name
  b.U8(0);
  b.U8(static_cast<unsigned>(ins.new_note_action));
  b.U8(0);  // duplicate check off
  b.U8(0);
  b.U16(ins.fade_out);
  b.U8(0);   // pitch-pan separation
  b.U8(60);  // pitch-pan centre C-5
  b.U8(ins.global_volume);
  b.U8(32 | 0x80);  // default pan, not used
  b.U8(0);          // random volume and pan variation
  b.U8(0);
  b.U16(kFormatVersion);
  b.U8(1);  // samples
  b.U8(0);
  b.Text(ins.name, 26);
  b.U8(0);  // filter cutoff and resonance unused
  b.U8(0);
  b.U8(0);     // MIDI channel off
  b.U8(0xFF);  // no MIDI program
  b.U16(0xFFFF);
  for (int note = 0; note < 120; ++note) {
    b.U8(note);
    b.U8(ins.sample + 1);
  }
  WriteEnvelope(b, ins.volume, 64);
  WriteEnvelope(b, {}, 0);  // panning
  WriteEnvelope(b, {}, 0);  // pitch
  b.Zeros(kInstrumentBytes - (b.out.size() - start));
}

void WriteSampleHeader(Bytes& b, const Sample& s, std::uint32_t data_offset) {
  const bool looped = s.loop_end > s.loop_begin;
  b.Tag("IMPS");
  b.Zeros(12);
  b.U8(0);
  b.U8(s.global_volume);
  b.U8(kSampleHasData | kSample16Bit | (looped ? kSampleLooped : 0));
  b.U8(64);  // default volume
  b.Text(s.name, 26);
  b.U8(kSampleSigned);
  b.U8(32);  // default pan, not used
  b.U32(static_cast<std::uint32_t>(s.pcm.size()));
  b.U32(looped ? s.loop_begin : 0);
  b.U32(looped ? s.loop_end : 0);
  b.U32(s.c5_speed);
  b.U32(0);  // sustain loop: none
  b.U32(0);
  b.U32(data_offset);
  b.U8(s.vibrato_speed);
  b.U8(s.vibrato_depth);
  b.U8(s.vibrato_rate);
  b.U8(0);  // sine
}

bool CellIsEmpty(const Cell& c) {
  return c.note == kNoNote && c.instrument == 0 && c.volume == kNoVolume && c.effect == 0;
}

// Rows are channel entries ended by a zero byte. An entry repeats the channel's previous mask
// when it can; that memory starts afresh in every pattern. Answers the packed length.
std::size_t WritePattern(Bytes& b, const Song& song, int first_row, int rows) {
  const std::size_t start = b.out.size();
  b.U16(0);  // packed length, patched below
  b.U16(rows);
  b.Zeros(4);
  int last_mask[kMaxChannels];
  std::fill(std::begin(last_mask), std::end(last_mask), -1);
  for (int row = first_row; row < first_row + rows; ++row) {
    for (int ch = 0; ch < song.channels; ++ch) {
      const Cell& c = song.cells[static_cast<std::size_t>(row) * song.channels + ch];
      if (CellIsEmpty(c)) continue;
      const int mask = (c.note != kNoNote ? kMaskNote : 0) | (c.instrument != 0 ? kMaskInstrument : 0) |
                       (c.volume != kNoVolume ? kMaskVolume : 0) | (c.effect != 0 ? kMaskEffect : 0);
      if (mask == last_mask[ch]) {
        b.U8(ch + 1);
      } else {
        b.U8((ch + 1) | kNewMask);
        b.U8(mask);
        last_mask[ch] = mask;
      }
      if (mask & kMaskNote) b.U8(c.note);
      if (mask & kMaskInstrument) b.U8(c.instrument);
      if (mask & kMaskVolume) b.U8(c.volume);
      if (mask & kMaskEffect) {
        b.U8(c.effect);
        b.U8(c.param);
      }
    }
    b.U8(0);
  }
  const std::size_t packed = b.out.size() - start - 8;
  b.out[start] = static_cast<std::uint8_t>(packed & 0xFF);
  b.out[start + 1] = static_cast<std::uint8_t>(packed >> 8);
  return packed;
}

bool CheckLimits(const Module& m, std::string& error) {
  const Song& s = m.song;
  const int patterns = static_cast<int>(s.pattern_starts.size());
  if (s.channels < 1 || s.channels > kMaxChannels) return error = "channel count out of range", false;
  if (static_cast<int>(m.channel_pan.size()) != s.channels) return error = "one pan a channel needed", false;
  if (s.cells.size() != static_cast<std::size_t>(s.rows) * s.channels) return error = "grid size mismatch", false;
  if (patterns < 1 || patterns > kMaxPatterns || patterns + 1 > kMaxOrders)
    return error = "pattern count out of range", false;
  if (s.pattern_starts.front() != 0) return error = "first pattern must start at row 0", false;
  for (int p = 0; p < patterns; ++p) {
    const int end = p + 1 < patterns ? s.pattern_starts[p + 1] : s.rows;
    const int rows = end - s.pattern_starts[p];
    if (rows < 1 || rows > kMaxPatternRows) return error = "pattern row count out of range", false;
  }
  if (m.instruments.empty() || m.instruments.size() > kMaxInstruments || m.samples.size() > kMaxInstruments)
    return error = "instrument or sample count out of range", false;
  for (const Instrument& ins : m.instruments) {
    if (ins.sample < 0 || ins.sample >= static_cast<int>(m.samples.size()))
      return error = "instrument " + ins.name + " names no sample", false;
    if (ins.volume.nodes.size() > kEnvelopeNodes) return error = "envelope of " + ins.name + " too long", false;
  }
  for (const Sample& smp : m.samples) {
    if (smp.pcm.empty()) return error = "sample " + smp.name + " is empty", false;
    if (smp.loop_end > smp.pcm.size()) return error = "loop of " + smp.name + " past its end", false;
  }
  for (const Cell& c : s.cells) {
    const bool note_ok = c.note == kNoNote || (c.note >= 0 && c.note < 120) || c.note == kNoteCut || c.note == kNoteOff;
    if (!note_ok) return error = "note out of range", false;
    if (c.instrument < 0 || c.instrument > static_cast<int>(m.instruments.size()))
      return error = "cell names no instrument", false;
    if (c.volume != kNoVolume && (c.volume < 0 || c.volume > 64)) return error = "volume out of range", false;
  }
  return true;
}

}  // namespace

bool EncodeImpulseModule(const Module& m, std::vector<std::uint8_t>& file, std::string& error) {
  if (!CheckLimits(m, error)) return false;
  const Song& song = m.song;
  const int patterns = static_cast<int>(song.pattern_starts.size());
  const int orders = patterns + 1;
  const int instruments = static_cast<int>(m.instruments.size());
  const int samples = static_cast<int>(m.samples.size());

  file.clear();
  Bytes b{file};
  b.Tag("IMPM");
  b.Text(m.title, 26);
  b.U8(4);  // row highlight: beat, bar
  b.U8(16);
  b.U16(orders);
  b.U16(instruments);
  b.U16(samples);
  b.U16(patterns);
  b.U16(kFormatVersion);  // written by
  b.U16(kFormatVersion);  // readable by
  b.U16(kFlagStereo | kFlagInstruments | kFlagLinearSlides);
  b.U16(0);  // no message, no MIDI configuration
  b.U8(m.global_volume);
  b.U8(m.mix_volume);
  b.U8(m.initial_speed);
  b.U8(m.initial_tempo);
  b.U8(128);  // stereo separation
  b.U8(0);    // pitch wheel depth
  b.U16(0);   // message length and offset
  b.U32(0);
  b.U32(0);
  for (int ch = 0; ch < kMaxChannels; ++ch) b.U8(ch < song.channels ? m.channel_pan[ch] : 32 | kChannelDisabled);
  for (int ch = 0; ch < kMaxChannels; ++ch) b.U8(64);
  for (int p = 0; p < patterns; ++p) b.U8(p);
  b.U8(kEndOfSong);

  const std::size_t instrument_table = b.out.size();
  const std::size_t sample_table = instrument_table + 4 * static_cast<std::size_t>(instruments);
  const std::size_t pattern_table = sample_table + 4 * static_cast<std::size_t>(samples);
  b.Zeros(4 * static_cast<std::size_t>(instruments + samples + patterns));

  for (int i = 0; i < instruments; ++i) {
    b.Patch32(instrument_table + 4 * i, static_cast<std::uint32_t>(b.out.size()));
    WriteInstrument(b, m.instruments[i]);
  }
  std::vector<std::size_t> sample_headers(samples);
  for (int i = 0; i < samples; ++i) {
    sample_headers[i] = b.out.size();
    b.Patch32(sample_table + 4 * i, static_cast<std::uint32_t>(b.out.size()));
    WriteSampleHeader(b, m.samples[i], 0);
  }
  for (int p = 0; p < patterns; ++p) {
    b.Patch32(pattern_table + 4 * p, static_cast<std::uint32_t>(b.out.size()));
    const int first = song.pattern_starts[p];
    const int end = p + 1 < patterns ? song.pattern_starts[p + 1] : song.rows;
    if (WritePattern(b, song, first, end - first) > 0xFFFF) {
      file.clear();
      return error = "pattern too large to pack", false;
    }
  }
  constexpr std::size_t kSamplePointerField = 0x48;
  for (int i = 0; i < samples; ++i) {
    b.Patch32(sample_headers[i] + kSamplePointerField, static_cast<std::uint32_t>(b.out.size()));
    for (std::int16_t v : m.samples[i].pcm) b.U16(static_cast<std::uint16_t>(v));
  }
  return true;
}

}  // namespace mkmusic
