// vkr_winCapture.cpp: frame capture: the composed picture written as a 24-bit bottom-up bitmap
// file, "<prefix>_<six-digit number>.bmp", once per composition while capture is on.
#include <cstdio>
#include <cstring>

#include "disp_bitmapFile.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"

// Capture state; main thread only.
int g_bSaveOnDisk = 0;
char g_strSaveFilePath[260] = "";
int g_nDiskWriteFrameID = 0;

void VKR_WinResetCapture() {
  g_bSaveOnDisk = 0;
  g_strSaveFilePath[0] = '\0';
}

uint32_t VKR_SaveOnDisk(uint32_t enable, const char* prefix) {
  if (!prefix) return VKR_BAD_ARGUMENT;
  const size_t length = std::strlen(prefix);
  if (length >= sizeof g_strSaveFilePath) return VKR_BAD_ARGUMENT;
  std::memcpy(g_strSaveFilePath, prefix, length + 1);
  g_bSaveOnDisk = enable ? 1 : 0;
  return VKR_NOT_SUPPORTED;
}

const uint8_t* VKR_WinFramePicture(int* width, int* height, size_t* pitch) {
  *width = VKR_WinOutputWidth();
  *height = VKR_WinOutputHeight();
  *pitch = static_cast<size_t>(*width) * 3;
  return g_ucFrameSurface.data();
}

uint32_t VKR_LowLevelAPI_SaveBMP(const char* prefix) {
  if (!prefix) return 0;
  char name[sizeof g_strSaveFilePath + 32];
  std::snprintf(name, sizeof name, "%s_%.6d.bmp", prefix, g_nDiskWriteFrameID);
  ++g_nDiskWriteFrameID;
  int width = 0, height = 0;
  size_t pitch = 0;
  const uint8_t* pixels = VKR_WinFramePicture(&width, &height, &pitch);
  return DISP_WriteBitmapFile(name, pixels, width, height, pitch) ? 1 : 0;
}
