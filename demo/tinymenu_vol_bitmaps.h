// tinymenu_vol_bitmaps.h: the read-only pictures of the volume overlay and the pause menu, in the
// cursor layer's 2-bit format: four pixels a byte, the leftmost in the lowest two bits, each row
// padded to whole bytes; codes 0 dark, 1 white, 2 transparent, 3 inverted.
#pragma once

#include <array>
#include <cstdint>

struct TMV_BitmapSize {
  uint32_t width, height;  // pixels
};

constexpr uint32_t TMV_RowBytes(uint32_t width) { return (2 * width + 7) / 8; }
constexpr uint32_t TMV_PackedBytes(TMV_BitmapSize size) {
  return TMV_RowBytes(size.width) * size.height;
}

template <TMV_BitmapSize Size>
using TMV_Bitmap = std::array<uint8_t, TMV_PackedBytes(Size)>;

inline constexpr uint8_t TMV_CODE_DARK = 0;
inline constexpr uint8_t TMV_CODE_WHITE = 1;
inline constexpr uint8_t TMV_CODE_TRANSPARENT = 2;
inline constexpr uint8_t TMV_CODE_INVERT = 3;

// Volume pictures: white shapes with a dark outline on a transparent ground.
inline constexpr TMV_BitmapSize TMV_VOLUMEBKG_SMALL_SIZE = {32, 19};
inline constexpr TMV_BitmapSize TMV_VOLUMEBKG_BIG_SIZE = {64, 30};
inline constexpr TMV_BitmapSize TMV_VOLUME_NUMBER_SIZE = {11, 13};

// The word Volume above a full level bar, and the words Volume and Muted.
extern const TMV_Bitmap<TMV_VOLUMEBKG_SMALL_SIZE> BMP_VOLUMEBKG_SMALL;
extern const TMV_Bitmap<TMV_VOLUMEBKG_SMALL_SIZE> BMP_VOLUMEBKG_MUTED_SMALL;
extern const TMV_Bitmap<TMV_VOLUMEBKG_BIG_SIZE> BMP_VOLUMEBKG_BIG;
extern const TMV_Bitmap<TMV_VOLUMEBKG_BIG_SIZE> BMP_VOLUMEBKG_MUTED_BIG;

// BMP_VOLUME_NUMBER_n shows the digit n - 1; the same digits serve both sizes.
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_1;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_2;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_3;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_4;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_5;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_6;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_7;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_8;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_9;
extern const TMV_Bitmap<TMV_VOLUME_NUMBER_SIZE> BMP_VOLUME_NUMBER_10;

// Pause-menu pictures: white (code 1) on dark (code 0) only. Numbers 1, 2, 3 are Play, Exit and
// Camera; arrows 1 to 4 are left, right, left pressed and right pressed.
inline constexpr TMV_BitmapSize TMV_TINYMENU_ICON_SMALL_SIZE = {20, 20};
inline constexpr TMV_BitmapSize TMV_TINYMENU_LABEL_SMALL_SIZE = {32, 12};
inline constexpr TMV_BitmapSize TMV_TINYMENU_ARROWS_SMALL_SIZE = {6, 20};
inline constexpr TMV_BitmapSize TMV_TINYMENU_ICON_BIG_SIZE = {40, 40};
inline constexpr TMV_BitmapSize TMV_TINYMENU_LABEL_BIG_SIZE = {64, 24};
inline constexpr TMV_BitmapSize TMV_TINYMENU_ARROWS_BIG_SIZE = {12, 40};

extern const TMV_Bitmap<TMV_TINYMENU_ICON_SMALL_SIZE> BMP_TINYMENU_ICON_SMALL_1;
extern const TMV_Bitmap<TMV_TINYMENU_ICON_SMALL_SIZE> BMP_TINYMENU_ICON_SMALL_2;
extern const TMV_Bitmap<TMV_TINYMENU_ICON_SMALL_SIZE> BMP_TINYMENU_ICON_SMALL_3;
extern const TMV_Bitmap<TMV_TINYMENU_LABEL_SMALL_SIZE> BMP_TINYMENU_LABEL_SMALL_1;
extern const TMV_Bitmap<TMV_TINYMENU_LABEL_SMALL_SIZE> BMP_TINYMENU_LABEL_SMALL_2;
extern const TMV_Bitmap<TMV_TINYMENU_LABEL_SMALL_SIZE> BMP_TINYMENU_LABEL_SMALL_3;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_SMALL_SIZE> BMP_TINYMENU_ARROWS_SMALL_1;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_SMALL_SIZE> BMP_TINYMENU_ARROWS_SMALL_2;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_SMALL_SIZE> BMP_TINYMENU_ARROWS_SMALL_3;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_SMALL_SIZE> BMP_TINYMENU_ARROWS_SMALL_4;

extern const TMV_Bitmap<TMV_TINYMENU_ICON_BIG_SIZE> BMP_TINYMENU_ICON_BIG_1;
extern const TMV_Bitmap<TMV_TINYMENU_ICON_BIG_SIZE> BMP_TINYMENU_ICON_BIG_2;
extern const TMV_Bitmap<TMV_TINYMENU_ICON_BIG_SIZE> BMP_TINYMENU_ICON_BIG_3;
extern const TMV_Bitmap<TMV_TINYMENU_LABEL_BIG_SIZE> BMP_TINYMENU_LABEL_BIG_1;
extern const TMV_Bitmap<TMV_TINYMENU_LABEL_BIG_SIZE> BMP_TINYMENU_LABEL_BIG_2;
extern const TMV_Bitmap<TMV_TINYMENU_LABEL_BIG_SIZE> BMP_TINYMENU_LABEL_BIG_3;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_BIG_SIZE> BMP_TINYMENU_ARROWS_BIG_1;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_BIG_SIZE> BMP_TINYMENU_ARROWS_BIG_2;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_BIG_SIZE> BMP_TINYMENU_ARROWS_BIG_3;
extern const TMV_Bitmap<TMV_TINYMENU_ARROWS_BIG_SIZE> BMP_TINYMENU_ARROWS_BIG_4;
