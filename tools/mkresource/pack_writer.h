// Assembles resource.dat in memory and writes it to disk in one piece.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mkresource {

// The whole pack, 769,152 bytes: background picture then sprite bank.
std::vector<std::uint8_t> ComposePack();

// Writes to a temporary file beside path and renames it over path, so a failed or interrupted
// run never leaves a short pack that looks complete. Answers the reason on failure.
std::optional<std::string> WritePackFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace mkresource
