// vkr_lowLevelDbg.cpp: placeholder until the debug text console lands.
#include "vkr_lowLevel.h"

uint32_t VKR_DbgClrScr(int, int) { return VKR_OK; }
uint32_t VKR_DbgColor(int, int) { return VKR_OK; }
uint32_t VKR_DbgGotoXY(int, int) { return VKR_OK; }
uint32_t VKR_DbgDrawScr(uint32_t, uint32_t) { return VKR_OK; }
