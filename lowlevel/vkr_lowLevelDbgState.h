// vkr_lowLevelDbgState.h: the debug console's process-wide state, owned by vkr_lowLevelDbg.cpp,
// for the code that looks inside it (the tests). Main thread only.
#pragma once

#include <array>
#include <cstdint>

// Cell x + 40 y: character code (0 is an empty cell) and attribute (foreground in the high
// nibble, background in the low). Cursor 1000 means the next character scrolls first.
extern std::array<uint8_t, 1000> g_ucVKR_DBG_CHAR_SCREEN;
extern std::array<uint8_t, 1000> g_ucVKR_DBG_CHARCOLOR_TABLE;
extern int32_t g_nVKR_DBG_CURPOS;
// Text: foreground high nibble, background low. Screen: border high nibble, background low.
extern uint8_t g_ucVKR_DBG_TEXT_COLOR;
extern uint8_t g_ucVKR_DBG_SCREEN_COLOR;
