// A small, independent reader of Impulse Tracker modules for the music tests: header fields, the
// order list, and every pattern unpacked into cells (mask memory and value memory included), so
// what the writer packed can be checked cell by cell and the song's length worked out from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ItCell {
  int note = -1, instrument = 0, volume = -1, effect = 0, param = 0;
  bool operator==(const ItCell&) const = default;
};

struct ItPattern {
  int rows = 0;
  std::vector<std::vector<ItCell>> cells;  // [row][channel], 64 channels
};

struct ItModule {
  int speed = 0, tempo = 0, flags = 0;
  int instruments = 0, samples = 0;
  std::vector<int> orders;  // as stored, markers included
  std::vector<ItPattern> patterns;
};

// False when the bytes are not a well-formed module (wrong tag, an offset or a packed row
// running past the end).
bool ReadItModule(const std::vector<std::uint8_t>& file, ItModule& out);

// Seconds from the first order to the end marker, following speed (A) and tempo (T) changes;
// a row lasts speed * 2.5 / tempo seconds.
double ItSongSeconds(const ItModule& module);

// When each played pattern starts, in seconds, in order-list order.
std::vector<double> ItPatternStartSeconds(const ItModule& module);
