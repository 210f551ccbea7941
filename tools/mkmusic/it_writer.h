// Encodes a module as an Impulse Tracker file: the 'IMPM' header with its order list and offset
// tables, instruments ('IMPI'), sample headers ('IMPS'), packed patterns and 16-bit sample data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module.h"

namespace mkmusic {

// False, with the reason in `error`, when the module breaks a limit of the format (channel,
// row, pattern, instrument or sample counts, a note or volume out of range).
bool EncodeImpulseModule(const Module& module, std::vector<std::uint8_t>& file, std::string& error);

}  // namespace mkmusic
