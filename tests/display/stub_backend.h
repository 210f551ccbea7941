// stub_backend.h: a back end of its own beside the display component, as the handheld's simulated
// console is: it defines VKR_ operations and g_ globals of the names the desktop back end uses,
// keeps its own display model and composes with the component.
#pragma once

#include <cstdint>

#include "disp_compose.h"
#include "disp_model.h"

extern DISP_Model g_displayModel;
extern uint32_t g_ulDISPLAY_MODE;
extern uint8_t* g_GP2X_VIDEO_BASE_PTR;
extern uint8_t g_ucFrameSurface[DISP_MAX_OUTPUT_PIXELS * 3];
extern uint8_t g_ucByteWriteOnPlane[DISP_MAX_OUTPUT_PIXELS];

uint32_t VKR_InitLowLevelAPI(const char* title);
uint32_t VKR_FreeLowLevelAPI(int returnToLauncher);
uint32_t VKR_SetDisplayMode(uint32_t mode, int depth);
uint32_t VKR_SetRGBStartAddress(uint32_t offset);
uint32_t VKR_WriteOSDHeader(uint32_t header, uint32_t next, uint32_t left, uint32_t top,
                            uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                            uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                            uint32_t alpha, uint32_t keyIndex);
uint32_t VKR_HwBitBlt(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                      uint32_t srcOffset, uint32_t srcPitch, uint32_t flags, uint16_t colorKey,
                      uint16_t background, uint16_t foreground);
uint32_t VKR_LowLevelAPI_SoftRender();
