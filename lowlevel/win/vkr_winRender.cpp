// vkr_winRender.cpp: one composed frame: cleared to black, presented, captured when capture is
// on, then the host's frame hook.
#include <cstring>

#include "vkr_winHost.h"
#include "vkr_winState.h"

extern int g_bSaveOnDisk;
extern char g_strSaveFilePath[260];

uint32_t VKR_LowLevelAPI_SoftRender() {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const size_t pixels = static_cast<size_t>(VKR_WinOutputWidth()) * VKR_WinOutputHeight();
  std::memset(g_ucFrameSurface.data(), 0, pixels * 3);
  std::memset(g_ucByteWriteOnPlane.data(), 0, pixels);
  VKR_WinPresentFrame();
  VKR_WinSleepMS(2);
  if (g_bSaveOnDisk) VKR_LowLevelAPI_SaveBMP(g_strSaveFilePath);
  VKR_WinRunFrameHook();
  return VKR_OK;
}
