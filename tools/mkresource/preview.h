// Pictures of a pack for people to look at, decoded from the pack's own bytes: the background as
// a television shows it, as the handheld's LCD shows it after the loader's reduction, the sprite
// sheet, and a mock-up of the LCD screen with sprites in the black band.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace mkresource {

// Writes background.ppm, background-lcd.ppm, sprites.ppm and lcd-mockup.ppm into directory
// (created if missing). Answers the reason on failure.
std::optional<std::string> WritePreviews(const std::filesystem::path& directory, std::span<const std::uint8_t> pack);

}  // namespace mkresource
