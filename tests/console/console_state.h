// console_state.h: the debug console's process-wide state, for the tests that look inside it.
#pragma once

#include <array>
#include <cstdint>

extern std::array<uint8_t, 1000> g_ucVKR_DBG_CHAR_SCREEN;
extern std::array<uint8_t, 1000> g_ucVKR_DBG_CHARCOLOR_TABLE;
extern int32_t g_nVKR_DBG_CURPOS;
extern uint8_t g_ucVKR_DBG_TEXT_COLOR;
extern uint8_t g_ucVKR_DBG_SCREEN_COLOR;
