// resource.dat assembly and writing.
#include "pack_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "background.h"
#include "pack_layout.h"
#include "picture_encode.h"
#include "sprite_bank.h"

namespace mkresource {

std::vector<std::uint8_t> ComposePack() {
  std::vector<std::uint8_t> bytes(kPackBytes);
  const std::span<std::uint8_t> all(bytes);
  EncodePicture(ComposeBackground(), all.first(kPictureBytes));
  EncodeSpriteBank(all.subspan(kPictureBytes));
  return bytes;
}

std::optional<std::string> WritePackFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::filesystem::path partial = path;
  partial += ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) return "cannot create " + partial.string() + ": " + std::strerror(errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int write_errno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(partial.c_str());
    return "cannot write " + partial.string() + ": " + std::strerror(written ? errno : write_errno);
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    std::remove(partial.c_str());
    return "cannot rename " + partial.string() + " to " + path.string() + ": " + error.message();
  }
  return std::nullopt;
}

}  // namespace mkresource
