// vkr_lowLevelCodes.h: the interface's result codes, sizes and button masks, the same in every
// back end; code that only needs these (a host, a recorder) includes this without a back end.
#pragma once

#include <cstdint>

// The library's version, as its start-up banner prints it; the build and the installed package
// take theirs from this line.
#define VKR_LIBRARY_VERSION "1.00"

// ---- Result codes and sizes ----------------------------------------------------------------
inline constexpr uint32_t VKR_OK = 0;
inline constexpr uint32_t VKR_ERROR = 1;              // start-up failed, or the library is not started
inline constexpr uint32_t VKR_NOT_SUPPORTED = 2;      // not available in this back end or mode
inline constexpr uint32_t VKR_BAD_ARGUMENT = 4;       // out of range, misaligned or null; nothing changed
inline constexpr uint32_t VKR_LED_OFF = 5;
inline constexpr uint32_t VKR_LED_ON = 6;
inline constexpr uint32_t VKR_HID_NOT_AVAILABLE = 7;
inline constexpr uint32_t VKR_HID_NO_EVENT = 8;
inline constexpr uint32_t VKR_HID_EVENT = 10;
inline constexpr uint32_t VKR_CC_BUFFER_FULL = 11;

inline constexpr uint32_t VKR_VIDEO_MEMORY_SIZE = 0x800000;
inline constexpr uint32_t VKR_DUALCORE_MEMORY_SIZE = 0x500000;
inline constexpr uint32_t VKR_MAX_DISPLAY_MODE = 32;

// Input state word: a set bit is a held button.
inline constexpr uint32_t VKR_BUTTON_UP = 0x00001;
inline constexpr uint32_t VKR_BUTTON_UP_LEFT = 0x00002;
inline constexpr uint32_t VKR_BUTTON_LEFT = 0x00004;
inline constexpr uint32_t VKR_BUTTON_DOWN_LEFT = 0x00008;
inline constexpr uint32_t VKR_BUTTON_DOWN = 0x00010;
inline constexpr uint32_t VKR_BUTTON_DOWN_RIGHT = 0x00020;
inline constexpr uint32_t VKR_BUTTON_RIGHT = 0x00040;
inline constexpr uint32_t VKR_BUTTON_UP_RIGHT = 0x00080;
inline constexpr uint32_t VKR_BUTTON_START = 0x00100;
inline constexpr uint32_t VKR_BUTTON_SELECT = 0x00200;
inline constexpr uint32_t VKR_BUTTON_L = 0x00400;
inline constexpr uint32_t VKR_BUTTON_R = 0x00800;
inline constexpr uint32_t VKR_BUTTON_A = 0x01000;
inline constexpr uint32_t VKR_BUTTON_B = 0x02000;
inline constexpr uint32_t VKR_BUTTON_X = 0x04000;
inline constexpr uint32_t VKR_BUTTON_Y = 0x08000;
inline constexpr uint32_t VKR_BUTTON_VOLUME_DOWN = 0x10000;
inline constexpr uint32_t VKR_BUTTON_VOLUME_UP = 0x20000;
inline constexpr uint32_t VKR_BUTTON_STICK = 0x40000;
