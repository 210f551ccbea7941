// The module writer against two readers: the tests' own unpacker, cell by cell over a seeded
// random song, and libmikmod for the header, sample and instrument fields; and the limits it
// must refuse instead of writing a file no player can read.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include "it_reader.h"
#include "it_writer.h"
#include "mikmod_mixdown.h"

using namespace mkmusic;

namespace {

std::uint32_t Next(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

Module SmallModule(int channels, const std::vector<int>& pattern_rows) {
  Module m;
  m.title = "Writer test";
  m.initial_speed = 5;
  m.initial_tempo = 140;
  m.channel_pan.assign(channels, 32);
  Sample s;
  s.name = "Ramp";
  for (int i = 0; i < 300; ++i) s.pcm.push_back(static_cast<std::int16_t>(i * 200 - 30000));
  s.loop_begin = 100;
  s.loop_end = 300;
  s.c5_speed = 33488;
  m.samples.push_back(s);
  Instrument ins;
  ins.name = "Ramp";
  ins.sample = 0;
  ins.new_note_action = NewNoteAction::kNoteOff;
  ins.fade_out = 40;
  ins.volume = {{{0, 0}, {10, 64}, {50, 0}}, 1};
  m.instruments.push_back(ins);
  m.song.channels = channels;
  for (int rows : pattern_rows) {
    m.song.pattern_starts.push_back(m.song.rows);
    m.song.rows += rows;
  }
  m.song.cells.assign(static_cast<std::size_t>(m.song.rows) * channels, Cell{});
  return m;
}

// Cells with every combination of fields, so that masks repeat and change from row to row.
void FillRandomly(Song& song, std::uint32_t seed) {
  static constexpr int kNoteActions[] = {kNoteCut, kNoteOff};
  for (Cell& c : song.cells) {
    const std::uint32_t fields = Next(seed) % 24;
    if (fields >= 16) continue;  // a third of the cells stay empty
    if (fields & 1) c.note = Next(seed) % 8 == 0 ? kNoteActions[Next(seed) % 2] : static_cast<int>(Next(seed) % 120);
    if (fields & 2) c.instrument = 1;
    if (fields & 4) c.volume = static_cast<int>(Next(seed) % 65);
    if (fields & 8) {
      c.effect = static_cast<std::uint8_t>(1 + Next(seed) % 26);
      // Speed, tempo and jumps would change the song's length; a plain effect stands in for them.
      if (std::string_view("ABCT").find(static_cast<char>('A' + c.effect - 1)) != std::string_view::npos)
        c.effect = EffectLetter('H');
      c.param = static_cast<std::uint8_t>(Next(seed));
    }
    if (fields == 0) c.effect = EffectLetter('D');  // an effect whose parameter is 0
  }
}

}  // namespace

TEST(ItWriter, PatternsUnpackToTheCellsThatWerePacked) {
  Module m = SmallModule(23, {64, 37, 200, 1});
  FillRandomly(m.song, 0xC0FFEE11u);
  std::vector<std::uint8_t> file;
  std::string error;
  ASSERT_TRUE(EncodeImpulseModule(m, file, error)) << error;

  ItModule read;
  ASSERT_TRUE(ReadItModule(file, read));
  EXPECT_EQ(read.speed, 5);
  EXPECT_EQ(read.tempo, 140);
  EXPECT_EQ(read.orders, (std::vector<int>{0, 1, 2, 3, 255}));
  ASSERT_EQ(read.patterns.size(), 4u);
  int mismatches = 0;
  for (std::size_t p = 0; p < read.patterns.size(); ++p) {
    const int first = m.song.pattern_starts[p];
    const int rows = (p + 1 < read.patterns.size() ? m.song.pattern_starts[p + 1] : m.song.rows) - first;
    ASSERT_EQ(read.patterns[p].rows, rows);
    for (int r = 0; r < rows; ++r) {
      for (int ch = 0; ch < 64; ++ch) {
        ItCell want;
        if (ch < m.song.channels) {
          const Cell& c = m.song.cells[static_cast<std::size_t>(first + r) * m.song.channels + ch];
          want = {c.note, c.instrument, c.volume, c.effect, c.param};
        }
        if (!(read.patterns[p].cells[r][ch] == want)) ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_NEAR(ItSongSeconds(read), 302 * 5 * 2.5 / 140, 1e-9);
}

TEST(ItWriter, LibmikmodReadsTheHeaderSampleAndInstrument) {
  ASSERT_TRUE(StartMikMod()) << MikMod_strerror(MikMod_errno);
  Module m = SmallModule(3, {32, 48});
  m.song.cells[0] = {60, 1, 64, 0, 0};
  std::vector<std::uint8_t> file;
  std::string error;
  ASSERT_TRUE(EncodeImpulseModule(m, file, error)) << error;

  MODULE* mod = Player_LoadMem(reinterpret_cast<const char*>(file.data()), static_cast<int>(file.size()), 64, 0);
  ASSERT_NE(mod, nullptr) << MikMod_strerror(MikMod_errno);
  EXPECT_STREQ(mod->songname, "Writer test");
  EXPECT_EQ(mod->numpos, 2);
  ASSERT_EQ(mod->numpat, 2);
  EXPECT_EQ(mod->pattrows[0], 32);
  EXPECT_EQ(mod->pattrows[1], 48);
  EXPECT_EQ(mod->initspeed, 5);
  EXPECT_EQ(mod->inittempo, 140);
  ASSERT_EQ(mod->numsmp, 1);
  const SAMPLE& s = mod->samples[0];
  EXPECT_EQ(s.length, 300u);
  EXPECT_EQ(s.loopstart, 100u);
  EXPECT_EQ(s.loopend, 300u);
  EXPECT_TRUE(s.flags & SF_16BITS);
  EXPECT_TRUE(s.flags & SF_LOOP);
  ASSERT_EQ(mod->numins, 1);
  const INSTRUMENT& ins = mod->instruments[0];
  EXPECT_STREQ(ins.insname, "Ramp");
  EXPECT_EQ(ins.nnatype & 3, 2);  // note off
  ASSERT_EQ(ins.volpts, 3);
  EXPECT_EQ(ins.volenv[1].pos, 10);
  EXPECT_EQ(ins.volenv[2].pos, 50);
  EXPECT_EQ(ins.volenv[0].val, 0);
  EXPECT_GT(ins.volenv[1].val, 0);  // libmikmod keeps its own scale
  EXPECT_EQ(ins.volenv[2].val, 0);
  EXPECT_EQ(ins.volsusbeg, 1);
  Player_Free(mod);
}

TEST(ItWriter, RefusesWhatTheFormatCannotHold) {
  const std::vector<std::pair<const char*, std::function<void(Module&)>>> faults = {
      {"65 channels", [](Module& m) { m = SmallModule(65, {64}); }},
      {"a pattern of 201 rows", [](Module& m) { m = SmallModule(2, {201}); }},
      {"no pattern", [](Module& m) { m = SmallModule(2, {}); }},
      {"one pan too few", [](Module& m) { m.channel_pan.pop_back(); }},
      {"note 120", [](Module& m) { m.song.cells[3].note = 120; }},
      {"volume 65", [](Module& m) { m.song.cells[3].volume = 65; }},
      {"instrument 2 of 1", [](Module& m) { m.song.cells[3].instrument = 2; }},
      {"instrument without sample", [](Module& m) { m.instruments[0].sample = 1; }},
      {"loop past the end", [](Module& m) { m.samples[0].loop_end = 301; }},
      {"empty sample", [](Module& m) { m.samples[0].pcm.clear(); }},
      {"26 envelope nodes", [](Module& m) { m.instruments[0].volume.nodes.resize(26); }},
      {"a pattern too large to pack", [](Module& m) {
         m = SmallModule(64, {200});
         for (Cell& c : m.song.cells) c = {60, 1, 64, 1, 1};
       }},
  };
  for (const auto& [name, fault] : faults) {
    Module m = SmallModule(2, {64});
    fault(m);
    std::vector<std::uint8_t> file;
    std::string error;
    EXPECT_FALSE(EncodeImpulseModule(m, file, error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}
