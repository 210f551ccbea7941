// The built resource.dat in the data folder: its size and layout, sprites that are hard-edged,
// shaded objects changing visibly from frame to frame, a background with real detail where the
// demo shows it, and bytes that match what the tool composes now.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "pack_layout.h"
#include "pack_writer.h"

namespace mkresource {
namespace {

constexpr std::size_t kExpectedBytes = 769152;
constexpr int kSizes[] = {64, 56, 48, 40, 32, 24, 16};

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::uint8_t>& Pack() {
  static const std::vector<std::uint8_t> bytes = ReadFile("resource.dat");
  return bytes;
}

struct Frame {
  int size;
  std::vector<std::uint16_t> pixels;
};

// Located by the loader's own table rather than by the tool's layout code.
Frame SpriteFrame(int set, int frame) {
  constexpr std::size_t kSetOffsets[] = {691200, 715776, 734592, 748416, 758016, 764160, 767616};
  const int size = kSizes[set];
  Frame result{size, std::vector<std::uint16_t>(static_cast<std::size_t>(size) * size)};
  const std::size_t start = kSetOffsets[set] + static_cast<std::size_t>(frame) * 2 * size * size;
  for (std::size_t i = 0; i < result.pixels.size(); ++i) {
    result.pixels[i] = static_cast<std::uint16_t>(Pack()[start + 2 * i] | (Pack()[start + 2 * i + 1] << 8));
  }
  return result;
}

double Luma(std::uint16_t pixel) {
  const int r = (pixel >> 11) << 3, g = ((pixel >> 5) & 0x3F) << 2, b = (pixel & 0x1F) << 3;
  return (66.0 * r + 129.0 * g + 25.0 * b) / 256.0;
}

int PictureLuma(int x, int y) { return Pack()[static_cast<std::size_t>(y) * 1440 + 2 * x]; }

class ResourceFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Pack().size(), kExpectedBytes) << "resource.dat missing or of the wrong size"; }
};

TEST_F(ResourceFile, LayoutAgreesWithTheLoadersTable) {
  EXPECT_EQ(kPackBytes, kExpectedBytes);
  constexpr std::size_t kVideoOffsets[] = {0x32A000, 0x330000, 0x334980, 0x337F80, 0x33A500, 0x33BD00, 0x33CA80};
  for (int set = 0; set < kSpriteSetCount; ++set) {
    EXPECT_EQ(kSpriteSizes[set], kSizes[set]);
    EXPECT_EQ(SpriteSetOffset(set) - kPictureBytes + 0x32A000, kVideoOffsets[set]) << "set " << set;
  }
}

TEST_F(ResourceFile, EverySpriteIsACentredObjectWithAHardOutline) {
  for (int set = 0; set < kSpriteSetCount; ++set) {
    for (int frame = 0; frame < kSpriteFrames; ++frame) {
      const Frame f = SpriteFrame(set, frame);
      const int s = f.size;
      int object = 0, reduced_object = 0;
      double sum_x = 0, sum_y = 0;
      for (int y = 0; y < s; ++y) {
        for (int x = 0; x < s; ++x) {
          const bool opaque = f.pixels[y * s + x] != kSpriteKey;
          const bool border = x == 0 || y == 0 || x == s - 1 || y == s - 1;
          EXPECT_FALSE(opaque && border) << "size " << s << " frame " << frame << " touches its cell at " << x << ","
                                         << y;
          object += opaque;
          // The handheld keeps every second pixel of every second row.
          reduced_object += opaque && x % 2 == 0 && y % 2 == 0;
          if (opaque) sum_x += x + 0.5, sum_y += y + 0.5;
        }
      }
      const double fill = static_cast<double>(object) / (s * s);
      EXPECT_GT(fill, 0.5) << "size " << s << " frame " << frame;
      EXPECT_LT(fill, 0.9) << "size " << s << " frame " << frame;
      EXPECT_GT(reduced_object, s * s / 8) << "size " << s << " frame " << frame;
      EXPECT_NEAR(sum_x / object, s / 2.0, 0.1 * s) << "size " << s << " frame " << frame;
      EXPECT_NEAR(sum_y / object, s / 2.0, 0.1 * s) << "size " << s << " frame " << frame;
    }
  }
}

TEST_F(ResourceFile, SpritesAreShadedAndTheirFramesDiffer) {
  for (int set = 0; set < kSpriteSetCount; ++set) {
    const int s = kSizes[set];
    const Frame frames[3] = {SpriteFrame(set, 0), SpriteFrame(set, 1), SpriteFrame(set, 2)};
    for (int frame = 0; frame < kSpriteFrames; ++frame) {
      std::set<std::uint16_t> colours;
      double darkest = 255, brightest = 0;
      for (const std::uint16_t pixel : frames[frame].pixels) {
        if (pixel == kSpriteKey) continue;
        colours.insert(pixel);
        darkest = std::min(darkest, Luma(pixel));
        brightest = std::max(brightest, Luma(pixel));
      }
      EXPECT_GE(static_cast<int>(colours.size()), 2 * s) << "size " << s << " frame " << frame;
      EXPECT_GT(brightest - darkest, 80.0) << "size " << s << " frame " << frame;
    }
    for (int a = 0; a < kSpriteFrames; ++a) {
      for (int b = a + 1; b < kSpriteFrames; ++b) {
        double difference = 0;
        int shared = 0;
        for (std::size_t i = 0; i < frames[a].pixels.size(); ++i) {
          if (frames[a].pixels[i] == kSpriteKey || frames[b].pixels[i] == kSpriteKey) continue;
          difference += std::fabs(Luma(frames[a].pixels[i]) - Luma(frames[b].pixels[i]));
          ++shared;
        }
        ASSERT_GT(shared, 0);
        EXPECT_GT(difference / shared, 20.0) << "size " << s << " frames " << a << " and " << b;
      }
    }
  }
}

TEST_F(ResourceFile, BackgroundIsStudioSwingWithBlueSkyAboveAndCopperBelow) {
  double luma_sum = 0, luma_sq = 0;
  for (std::size_t i = 0; i < kPictureBytes; i += 2) {
    const int value = Pack()[i];
    ASSERT_GE(value, 16) << "byte " << i;
    ASSERT_LE(value, 235) << "byte " << i;
    luma_sum += value;
    luma_sq += value * value;
  }
  for (std::size_t i = 1; i < kPictureBytes; i += 2) {
    ASSERT_GE(Pack()[i], 16) << "byte " << i;
    ASSERT_LE(Pack()[i], 240) << "byte " << i;
  }
  const double samples = kPictureBytes / 2.0;
  const double mean = luma_sum / samples;
  EXPECT_GT(std::sqrt(luma_sq / samples - mean * mean), 20.0);

  // Cb minus Cr: positive for the indigo zenith, strongly negative in the sunset glow; a swap of
  // the chroma bytes or of luma and chroma shows here.
  const auto blue_minus_red = [](int first_row, int last_row) {
    double sum = 0;
    for (int y = first_row; y <= last_row; ++y) {
      for (int pair = 0; pair < 360; ++pair) {
        sum += Pack()[y * 1440 + 4 * pair + 1] - Pack()[y * 1440 + 4 * pair + 3];
      }
    }
    return sum / ((last_row - first_row + 1) * 360.0);
  };
  EXPECT_GT(blue_minus_red(0, 39), 2.0);
  EXPECT_LT(blue_minus_red(400, 439), -20.0);
}

// Once the sprite band has faded in, the handheld shows only its LCD lines 0-39 and 199-239 of
// the picture: there the reduced luma must still carry edges, not a smooth wash.
TEST_F(ResourceFile, DetailSurvivesTheLcdReductionOutsideTheBand) {
  const auto reduced = [](int x, int r) {
    const int c = 2 * x + (x & 1) + 20;
    return (PictureLuma(c, 2 * r) + PictureLuma(c, 2 * r + 1) + PictureLuma(c + 1, 2 * r) +
            PictureLuma(c + 1, 2 * r + 1)) >>
           2;
  };
  for (const auto& [first, last] : {std::pair{0, 39}, std::pair{199, 239}}) {
    double steps = 0;
    int edges = 0;
    for (int r = first; r <= last; ++r) {
      for (int x = 0; x + 1 < 320; ++x) {
        const int step = std::abs(reduced(x + 1, r) - reduced(x, r));
        steps += step;
        edges += step >= 24;
      }
    }
    EXPECT_GT(steps / ((last - first + 1) * 319.0), 2.5) << "LCD lines " << first << "-" << last;
    EXPECT_GT(edges, 250) << "LCD lines " << first << "-" << last;
  }
}

TEST_F(ResourceFile, MatchesWhatTheToolComposesNow) {
  const std::vector<std::uint8_t> fresh = ComposePack();
  ASSERT_EQ(fresh.size(), Pack().size());
  EXPECT_TRUE(fresh == Pack()) << "resource.dat is stale or the tool is not deterministic";
}

TEST(PackWriter, WritesTheWholePackOrNothing) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "cb_resource_writer_test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::vector<std::uint8_t> bytes(kExpectedBytes, 0x5A);
  ASSERT_FALSE(WritePackFile(folder / "resource.dat", bytes).has_value());
  EXPECT_EQ(ReadFile(folder / "resource.dat"), bytes);

  const auto failure = WritePackFile(folder / "missing" / "resource.dat", bytes);
  ASSERT_TRUE(failure.has_value());
  EXPECT_NE(failure->find("missing"), std::string::npos) << *failure;
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace mkresource
