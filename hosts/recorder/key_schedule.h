// key_schedule.h: timed button presses for a recording, written "5000:Start,5600:Right/300".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct KeyPress {
  uint32_t atMs;     // recording time of the press
  uint32_t button;   // one VKR_BUTTON_ mask, or the two volume buttons together
  uint32_t holdMs;   // how long it stays held
};

// Parses a comma-separated list of TIME:BUTTON[/HOLD]; buttons by name (Up, UpLeft, Left,
// DownLeft, Down, DownRight, Right, UpRight, Start, Select, L, R, A, B, X, Y, VolDown, VolUp,
// Stick, Mute). Answers nothing and sets error on a malformed entry.
std::optional<std::vector<KeyPress>> ParseKeySchedule(const std::string& text, std::string* error);

// The buttons the schedule holds at that time: every press from its time for its hold.
uint32_t ButtonsHeldAt(const std::vector<KeyPress>& presses, uint64_t atMs);
