// Reads the parts of an Impulse Tracker module the music tests look at, checking every offset
// against the file's size.
#include "it_reader.h"

#include <array>

namespace {

constexpr int kChannels = 64;
constexpr int kEndOfSong = 255;
constexpr int kSkipOrder = 254;

struct Cursor {
  const std::vector<std::uint8_t>& bytes;
  std::size_t at;
  bool ok = true;

  int U8() {
    if (at >= bytes.size()) {
      ok = false;
      return 0;
    }
    return bytes[at++];
  }
  int U16() {
    const int lo = U8();
    return lo | (U8() << 8);
  }
  std::uint32_t U32() {
    const std::uint32_t lo = static_cast<std::uint32_t>(U16());
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
  }
};

bool ReadPattern(const std::vector<std::uint8_t>& file, std::uint32_t offset, ItPattern& p) {
  Cursor c{file, offset};
  const int packed = c.U16();
  p.rows = c.U16();
  c.at += 4;
  if (!c.ok || c.at + packed > file.size()) return false;
  const std::size_t end = c.at + packed;
  p.cells.assign(p.rows, std::vector<ItCell>(kChannels));
  std::array<int, kChannels> mask{};
  std::array<ItCell, kChannels> last{};
  for (int row = 0; row < p.rows; ++row) {
    for (;;) {
      if (c.at >= end) return false;
      const int channel_byte = c.U8();
      if (channel_byte == 0) break;
      const int ch = (channel_byte - 1) & 63;
      if (channel_byte & 0x80) mask[ch] = c.U8();
      ItCell& cell = p.cells[row][ch];
      const int m = mask[ch];
      if (m & 0x01) last[ch].note = cell.note = c.U8();
      if (m & 0x02) last[ch].instrument = cell.instrument = c.U8();
      if (m & 0x04) last[ch].volume = cell.volume = c.U8();
      if (m & 0x08) {
        last[ch].effect = cell.effect = c.U8();
        last[ch].param = cell.param = c.U8();
      }
      if (m & 0x10) cell.note = last[ch].note;
      if (m & 0x20) cell.instrument = last[ch].instrument;
      if (m & 0x40) cell.volume = last[ch].volume;
      if (m & 0x80) {
        cell.effect = last[ch].effect;
        cell.param = last[ch].param;
      }
    }
  }
  return c.ok && c.at <= end;
}

}  // namespace

bool ReadItModule(const std::vector<std::uint8_t>& file, ItModule& out) {
  if (file.size() < 0xC0 || file[0] != 'I' || file[1] != 'M' || file[2] != 'P' || file[3] != 'M') return false;
  Cursor c{file, 0x20};
  const int orders = c.U16();
  out.instruments = c.U16();
  out.samples = c.U16();
  const int patterns = c.U16();
  c.at = 0x2C;
  out.flags = c.U16();
  c.at = 0x32;
  out.speed = c.U8();
  out.tempo = c.U8();
  c.at = 0xC0;
  out.orders.clear();
  for (int i = 0; i < orders; ++i) out.orders.push_back(c.U8());
  c.at += 4 * static_cast<std::size_t>(out.instruments + out.samples);
  std::vector<std::uint32_t> offsets;
  for (int i = 0; i < patterns; ++i) offsets.push_back(c.U32());
  if (!c.ok) return false;
  out.patterns.assign(patterns, {});
  for (int i = 0; i < patterns; ++i) {
    if (offsets[i] == 0) {  // an empty pattern of 64 rows
      out.patterns[i].rows = 64;
      out.patterns[i].cells.assign(64, std::vector<ItCell>(kChannels));
      continue;
    }
    if (!ReadPattern(file, offsets[i], out.patterns[i])) return false;
  }
  return true;
}

namespace {

// Walks the played rows, calling visit(pattern index, seconds at its start) per order.
template <typename Visit>
double WalkSong(const ItModule& m, Visit visit) {
  double seconds = 0.0;
  int speed = m.speed, tempo = m.tempo;
  for (int order : m.orders) {
    if (order == kEndOfSong) break;
    if (order == kSkipOrder || order >= static_cast<int>(m.patterns.size())) continue;
    visit(order, seconds);
    for (const std::vector<ItCell>& row : m.patterns[order].cells) {
      for (const ItCell& cell : row) {
        if (cell.effect == 'A' - '@' && cell.param > 0) speed = cell.param;
        if (cell.effect == 'T' - '@' && cell.param >= 0x20) tempo = cell.param;
      }
      seconds += speed * 2.5 / tempo;
    }
  }
  return seconds;
}

}  // namespace

double ItSongSeconds(const ItModule& m) {
  return WalkSong(m, [](int, double) {});
}

std::vector<double> ItPatternStartSeconds(const ItModule& m) {
  std::vector<double> starts;
  WalkSong(m, [&](int, double at) { starts.push_back(at); });
  return starts;
}
