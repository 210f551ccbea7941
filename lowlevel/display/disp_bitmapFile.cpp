// disp_bitmapFile.cpp: the 54-byte header (4000 x 3000 pixels a metre, as the capture writes), then
// the lines from the bottom up; widths of the console's outputs need no line padding.
#include "disp_bitmapFile.h"

#include <array>
#include <cstdio>
#include <memory>

namespace {

void PutU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool DISP_WriteBitmapFile(const char* path, const uint8_t* pixels, int width, int height, size_t pitch) {
  if (width <= 0 || height <= 0) return false;
  const uint32_t rowBytes = static_cast<uint32_t>(width) * 3;
  const uint32_t paddedRow = (rowBytes + 3) & ~3u;
  const uint32_t imageBytes = paddedRow * static_cast<uint32_t>(height);
  std::array<uint8_t, 54> header{};
  header[0] = 'B';
  header[1] = 'M';
  PutU32(&header[2], imageBytes + 54);
  PutU32(&header[10], 54);
  PutU32(&header[14], 40);
  PutU32(&header[18], static_cast<uint32_t>(width));
  PutU32(&header[22], static_cast<uint32_t>(height));
  header[26] = 1;
  header[28] = 24;
  PutU32(&header[34], imageBytes);
  PutU32(&header[38], 4000);
  PutU32(&header[42], 3000);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "wb"));
  if (!file) return false;
  bool written = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
  const uint8_t padding[3] = {};
  for (int line = height; written && line-- > 0;) {
    written = std::fwrite(pixels + size_t(line) * pitch, 1, rowBytes, file.get()) == rowBytes &&
              std::fwrite(padding, 1, paddedRow - rowBytes, file.get()) == paddedRow - rowBytes;
  }
  return written;
}
