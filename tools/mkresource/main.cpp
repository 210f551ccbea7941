// cb-mkresource: composes the demo's graphics pack and writes it to the path given, optionally
// with preview pictures.  Usage: cb-mkresource <output path> [--preview DIR]
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "pack_writer.h"
#include "preview.h"

int main(int argc, char** argv) {
  const char* output = nullptr;
  const char* preview = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
      preview = argv[++i];
    } else if (argv[i][0] != '-' && output == nullptr) {
      output = argv[i];
    } else {
      output = nullptr;
      break;
    }
  }
  if (output == nullptr) {
    std::fprintf(stderr, "usage: %s <output path> [--preview DIR]\n", argv[0]);
    return 2;
  }
  const std::vector<std::uint8_t> pack = mkresource::ComposePack();
  if (const auto failure = mkresource::WritePackFile(output, pack)) {
    std::fprintf(stderr, "cb-mkresource: %s\n", failure->c_str());
    return 1;
  }
  if (preview != nullptr) {
    if (const auto failure = mkresource::WritePreviews(preview, pack)) {
      std::fprintf(stderr, "cb-mkresource: %s\n", failure->c_str());
      return 1;
    }
  }
  return 0;
}
