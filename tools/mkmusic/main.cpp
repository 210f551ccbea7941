// cb-mkmusic: composes the demo's music and writes it as an Impulse Tracker module to the path
// given as the only argument. Same bytes on every run.
#include <cstdio>
#include <string>
#include <vector>

#include "composition.h"
#include "it_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.it\n", argv[0]);
    return 2;
  }
  std::vector<std::uint8_t> file;
  std::string error;
  if (!mkmusic::EncodeImpulseModule(mkmusic::ComposeModule(), file, error)) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written) {
    std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
