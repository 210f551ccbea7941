// font_test.cpp: the font's constraints over the whole table: the blank codes, set pixels in every
// other glyph, the bottom row kept for descenders among printable ASCII, no glyph twice.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "vkr_font8x8.h"

namespace {

const uint8_t* Glyph(int code) { return &g_uc_VKR_DBG_CHARSET[code * 8]; }

bool Blank(int code) {
  for (int row = 0; row < 8; ++row)
    if (Glyph(code)[row]) return false;
  return true;
}

TEST(Font, BlankCodesAndSetPixels) {
  const std::set<int> blank = {0x00, 0x07, 0x08, 0x09, 0x0A, 0x0D, 0x20, 0xFF};
  for (int code = 0; code < 256; ++code) EXPECT_EQ(Blank(code), blank.count(code) == 1) << code;
}

TEST(Font, OnlyDescendersReachTheBottomRow) {
  const std::string descenders = "gjpqy,;";
  for (int code = 0x21; code <= 0x7E; ++code) {
    const bool touches = Glyph(code)[7] != 0;
    EXPECT_EQ(touches, descenders.find(static_cast<char>(code)) != std::string::npos)
        << static_cast<char>(code);
  }
}

TEST(Font, NoGlyphTwice) {
  std::set<std::string> seen;
  for (int code = 0; code < 256; ++code) {
    if (Blank(code)) continue;
    EXPECT_TRUE(seen.insert(std::string(reinterpret_cast<const char*>(Glyph(code)), 8)).second)
        << code;
  }
}

}  // namespace
