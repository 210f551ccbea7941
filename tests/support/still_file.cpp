// still_file.cpp: stored stills read and written with libspng.
#include "still_file.h"

#include <gtest/gtest.h>
#include <spng.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string StillPath(const std::string& name) {
  return std::string(CB_TEST_STILLS_DIR) + "/" + name + ".png";
}

// The still as blue, green, red rows; empty when it cannot be read or has another size.
std::vector<uint8_t> ReadStill(const std::string& path, int width, int height) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<uint8_t> rgb;
  spng_ctx* decoder = spng_ctx_new(0);
  spng_ihdr header{};
  size_t size = 0;
  if (decoder && spng_set_png_buffer(decoder, bytes.data(), bytes.size()) == 0 &&
      spng_get_ihdr(decoder, &header) == 0 && int(header.width) == width &&
      int(header.height) == height &&
      spng_decoded_image_size(decoder, SPNG_FMT_RGB8, &size) == 0) {
    rgb.resize(size);
    if (spng_decode_image(decoder, rgb.data(), size, SPNG_FMT_RGB8, 0) != 0) rgb.clear();
  }
  spng_ctx_free(decoder);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);
  return rgb;
}

bool WriteStill(const std::string& path, std::vector<uint8_t> rgb, int width, int height) {
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  spng_ctx* encoder = spng_ctx_new(SPNG_CTX_ENCODER);
  spng_ihdr header{};
  header.width = uint32_t(width);
  header.height = uint32_t(height);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  const bool written = encoder && spng_set_png_file(encoder, file) == 0 &&
                       spng_set_ihdr(encoder, &header) == 0 &&
                       spng_encode_image(encoder, rgb.data(), rgb.size(), SPNG_FMT_PNG,
                                         SPNG_ENCODE_FINALIZE) == 0;
  spng_ctx_free(encoder);
  return std::fclose(file) == 0 && written;
}

}  // namespace

void ExpectSameAsStill(const std::vector<uint8_t>& bgr, int width, int height,
                       const std::string& name) {
  const std::string path = StillPath(name);
  if (const char* update = std::getenv("CB_UPDATE_STILLS"); update && *update == '1') {
    EXPECT_TRUE(WriteStill(path, bgr, width, height)) << "cannot write " << path;
    return;
  }
  const std::vector<uint8_t> still = ReadStill(path, width, height);
  ASSERT_EQ(still.size(), bgr.size()) << path << " is missing or not " << width << "x" << height;
  size_t differing = 0;
  int largest = 0;
  for (size_t i = 0; i < bgr.size(); i += 3) {
    int difference = 0;
    for (size_t c = 0; c < 3; ++c) difference = std::max(difference, std::abs(bgr[i + c] - still[i + c]));
    differing += difference != 0;
    largest = std::max(largest, difference);
  }
  EXPECT_EQ(differing, 0u) << name << ": " << differing << " pixels differ from " << path
                           << ", by up to " << largest;
}
