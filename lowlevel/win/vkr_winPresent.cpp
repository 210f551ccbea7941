// vkr_winPresent.cpp: the desktop back end's composed frame shown in the window (vkr_winWindow),
// unless a host that never shows the window has turned presenting off.
#include "vkr_winHost.h"
#include "vkr_winState.h"
#include "vkr_winWindow.h"

// Whether VKR_WinPresentFrame shows anything; main thread only. A recording shows nothing.
static bool bPresenting = true;

void VKR_WinSetPresenting(bool present) { bPresenting = present; }

void VKR_WinPresentFrame() {
  if (bPresenting)
    VKR_WinShowFrame(g_ucFrameSurface.data(), VKR_WinOutputWidth(), VKR_WinOutputHeight());
}

void VKR_WinWaitForDisplayFrame() {}
