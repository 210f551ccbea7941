// vkr_lowLevelGP2X.cpp: the hardware back end's start-up and teardown: firmware version, device
// files, the four windows of physical memory, the display mode the firmware left running, and the
// snapshot of the registers the library changes, written back at the end. Owns the state of
// vkr_gp2xState.h and the register-window pointers of vkr_gp2xAccess.h.
#include <array>
#include <cstdio>

#include "vkr_backendClock.h"
#include "vkr_gp2xPlatform.h"
#include "vkr_gp2xState.h"
#include "vkr_gp2xTVEncoder.h"

volatile uint16_t* g_pGP2X_REG16 = nullptr;
volatile uint32_t* g_pGP2X_REG32 = nullptr;
volatile uint32_t* g_pGP2X_BLITTER_REG = nullptr;

int g_nMemFD = -1;
int g_nTouchScreenFD = -1;
std::array<int, 4> g_nHIDFD = {-1, -1, -1, -1};
uint8_t* g_GP2X_VIDEO_BASE_PTR = nullptr;
uint32_t g_ulGP2X_VIDEO_PHYS_ADDR = 0;
volatile uint32_t* g_pGP2X_DUALCORE_MEM = nullptr;
uint32_t g_ulFirmwareVersion = 0;
uint32_t g_ulHardwareModel = 0;
uint32_t g_ulDISPLAY_MODE = 0;
int g_nColorBitDepth = 16;
int g_nScreenSizeX = 320, g_nScreenSizeY = 240;

namespace {

// A saved register: where start-up reads it and where teardown writes it back. The PLL value in
// force is read from its read-back register and restored through the setting register.
struct SavedRegister {
  uint32_t readFrom, restoreTo;
};

// Two 32-bit words (the aligned words holding the odd-field start address and the even-field
// start address's low half), then the halfwords, in the order they are saved and restored. The
// even-field start address's high half closes the table so both halves come back.
constexpr std::array<SavedRegister, 2> kSavedWords = {{
    {GP2X_MLC_STL_OADRL, GP2X_MLC_STL_OADRL},
    {GP2X_MLC_STL_EADRL, GP2X_MLC_STL_EADRL},
}};
constexpr std::array<SavedRegister, 41> kSavedHalfwords = {{
    {GP2X_SYSCLKENREG, GP2X_SYSCLKENREG},       {GP2X_COMCLKENREG, GP2X_COMCLKENREG},
    {GP2X_FPLLVSETREG, GP2X_FPLLSETVREG},       {GP2X_SYSCSETREG, GP2X_SYSCSETREG},
    {GP2X_ESYSCSETREG, GP2X_ESYSCSETREG},       {GP2X_DISPCSETREG, GP2X_DISPCSETREG},
    {GP2X_SC_DST_PXW, GP2X_SC_DST_PXW},         {GP2X_SC_DST_LINES, GP2X_SC_DST_LINES},
    {GP2X_DPC_CNTL, GP2X_DPC_CNTL},             {GP2X_DPC_FPIPOL3, GP2X_DPC_FPIPOL3},
    {GP2X_DPC_FPIATV1, GP2X_DPC_FPIATV1},       {GP2X_DPC_FPIATV2, GP2X_DPC_FPIATV2},
    {GP2X_DPC_V_SYNC, GP2X_DPC_V_SYNC},         {GP2X_DPC_V_END, GP2X_DPC_V_END},
    {GP2X_DPC_FPICNTL, GP2X_DPC_FPICNTL},       {GP2X_DPC_FPIPOL1, GP2X_DPC_FPIPOL1},
    {GP2X_DPC_FPIPOL2, GP2X_DPC_FPIPOL2},       {GP2X_DPC_X_MAX, GP2X_DPC_X_MAX},
    {GP2X_DPC_HS_WIDTH, GP2X_DPC_HS_WIDTH},     {GP2X_DPC_HS_STR, GP2X_DPC_HS_STR},
    {GP2X_DPC_HS_END, GP2X_DPC_HS_END},         {GP2X_MLC_YUV_EFFECT, GP2X_MLC_YUV_EFFECT},
    {GP2X_DPC_TV_BNK, GP2X_DPC_TV_BNK},         {GP2X_DPC_CLKCNTL, GP2X_DPC_CLKCNTL},
    {GP2X_DPC_Y_MAX, GP2X_DPC_Y_MAX},           {GP2X_MLC_YUVA_TP_PXW, GP2X_MLC_YUVA_TP_PXW},
    {GP2X_MLC_STL_CNTL, GP2X_MLC_STL_CNTL},     {GP2X_MLC_STL_MIXMUX, GP2X_MLC_STL_MIXMUX},
    {GP2X_MLC_OVLAY_CNTR, GP2X_MLC_OVLAY_CNTR}, {GP2X_DPC_DE, GP2X_DPC_DE},
    {GP2X_DPC_FPIATV3, GP2X_DPC_FPIATV3},       {GP2X_MLC_STL_ALPHAL, GP2X_MLC_STL_ALPHAL},
    {GP2X_MLC_STL_ALPHAH, GP2X_MLC_STL_ALPHAH}, {GP2X_MLC_STL_HSC, GP2X_MLC_STL_HSC},
    {GP2X_MLC_STL_VSC, GP2X_MLC_STL_VSC},       {GP2X_MLC_STL_HW, GP2X_MLC_STL_HW},
    {GP2X_MLC_STL_OADRL, GP2X_MLC_STL_OADRL},   {GP2X_FDC_CNTL, GP2X_FDC_CNTL},
    {GP2X_FDC_FRAME_SIZE_V, GP2X_FDC_FRAME_SIZE_V}, {GP2X_FDC_FRAME_SIZE_H, GP2X_FDC_FRAME_SIZE_H},
    {GP2X_MLC_STL_EADRH, GP2X_MLC_STL_EADRH},
}};

// The snapshot; valid while bRegistersSaved is 1. Owned by start-up and teardown.
int g_bRegistersSaved = 0;
std::array<uint32_t, kSavedWords.size()> g_ulSavedWords{};
std::array<uint16_t, kSavedHalfwords.size()> g_usSavedHalfwords{};

// Why the last start-up failed, naming the device; empty after a successful start.
char strStartUpError[200] = "";

struct Window {
  size_t length;
  uint32_t physical;
  const char* name;
};
constexpr Window kRegisterWindow = {GP2X_REG_WINDOW_SIZE, GP2X_REG_WINDOW_PHYS, "register"};
constexpr Window kBlitterWindow = {GP2X_BLITTER_WINDOW_SIZE, GP2X_BLITTER_WINDOW_PHYS, "blitter"};
constexpr Window kVideoWindow = {GP2X_VIDEO_MEMORY_SIZE, GP2X_VIDEO_MEMORY_PHYS, "video memory"};
constexpr Window kDualCoreWindow = {GP2X_DUALCORE_MEMORY_SIZE, GP2X_DUALCORE_MEMORY_PHYS,
                                    "second-core memory"};

void* MapWindow(const Window& window) {
  void* address = GP2X_Map(g_nMemFD, window.length, window.physical);
  if (!address)
    std::snprintf(strStartUpError, sizeof strStartUpError,
                  "cannot map the %s window of %s (physical 0x%08X): %s", window.name,
                  GP2X_DEV_MEM, window.physical, GP2X_ErrorText());
  return address;
}

template <typename T>
void UnmapWindow(T*& address, const Window& window) {
  if (!address) return;
  GP2X_Unmap(const_cast<void*>(static_cast<const volatile void*>(address)), window.length);
  address = nullptr;
}

void ReadFirmwareVersion() {
  g_ulFirmwareVersion = 0;
  g_ulHardwareModel = GP2X_MODEL_FIRST;
  char text[64];
  if (GP2X_ReadTextFile(GP2X_FIRMWARE_VERSION_FILE, text, sizeof text) < 0) return;
  // Fields that are not there count as 0; each keeps to its byte of the packed version.
  unsigned major = 0, minor = 0, patch = 0;
  std::sscanf(text, "%u.%u.%u", &major, &minor, &patch);
  g_ulFirmwareVersion = (major & 0xFF) << 16 | (minor & 0xFF) << 8 | (patch & 0xFF);
  if (g_ulFirmwareVersion >= GP2X_FIRMWARE_OF_SECOND_MODEL) g_ulHardwareModel = GP2X_MODEL_SECOND;
}

// LCD unless the controller drives a television; then PAL when it shows more than 240 lines.
uint32_t DisplayModeLeftByFirmware() {
  if (!(GP2X_ReadReg16(GP2X_DPC_CNTL) & GP2X_DPC_CNTL_TV)) return 0;
  return GP2X_ReadReg16(GP2X_DPC_Y_MAX) > GP2X_DPC_Y_MAX_NTSC_LIMIT ? 19 : 5;
}

void SaveRegisters() {
  for (size_t n = 0; n < kSavedWords.size(); ++n)
    g_ulSavedWords[n] = GP2X_ReadReg32(kSavedWords[n].readFrom);
  for (size_t n = 0; n < kSavedHalfwords.size(); ++n)
    g_usSavedHalfwords[n] = GP2X_ReadReg16(kSavedHalfwords[n].readFrom);
  g_bRegistersSaved = 1;
}

// The processor clock the firmware left, from the snapshot (no access of its own).
uint32_t SavedCPUClock100Hz() {
  uint16_t pll = 0, dividers = 0;
  for (size_t n = 0; n < kSavedHalfwords.size(); ++n) {
    if (kSavedHalfwords[n].readFrom == GP2X_FPLLVSETREG) pll = g_usSavedHalfwords[n];
    if (kSavedHalfwords[n].readFrom == GP2X_SYSCSETREG) dividers = g_usSavedHalfwords[n];
  }
  return GP2X_CPUClock100Hz(pll, dividers);
}

void RestoreRegisters() {
  for (size_t n = 0; n < kSavedWords.size(); ++n)
    GP2X_WriteReg32(kSavedWords[n].restoreTo, g_ulSavedWords[n]);
  for (size_t n = 0; n < kSavedHalfwords.size(); ++n)
    GP2X_WriteReg16(kSavedHalfwords[n].restoreTo, g_usSavedHalfwords[n]);
}

// Holds the second core before its memory goes away: teardown's first step, of a back end that
// started (a failed start-up has written no register and writes none).
void HoldSecondCore() {
  if (!GP2X_IsOpen()) return;
  GP2X_WriteReg16(GP2X_DUALCTRL940, GP2X_DUALCTRL940_HOLD);
  GP2X_SetBits16(GP2X_SYSCLKENREG, GP2X_SYSCLKEN_ARM940);
}

// Closes and unmaps whatever is open, in teardown's order; restores the registers first when
// they were saved. Safe in every state.
void CloseEverything() {
  GP2X_CloseInputDevices();
  if (g_nTouchScreenFD != -1) {
    GP2X_Close(g_nTouchScreenFD);
    g_nTouchScreenFD = -1;
  }
  if (g_nMemFD != -1) {
    if (g_bRegistersSaved == 1 && GP2X_IsOpen()) RestoreRegisters();
    UnmapWindow(g_pGP2X_BLITTER_REG, kBlitterWindow);
    g_pGP2X_REG32 = nullptr;
    UnmapWindow(g_pGP2X_REG16, kRegisterWindow);
    UnmapWindow(g_GP2X_VIDEO_BASE_PTR, kVideoWindow);
    UnmapWindow(g_pGP2X_DUALCORE_MEM, kDualCoreWindow);
    GP2X_Close(g_nMemFD);
    g_nMemFD = -1;
  }
  g_bRegistersSaved = 0;
}

// Everything up to the snapshot; false (with the reason in strStartUpError) at the first device
// or window that cannot be had.
bool OpenEverything() {
  ReadFirmwareVersion();
  g_nMemFD = GP2X_Open(GP2X_DEV_MEM, GP2X_O_RDWR);
  if (g_nMemFD == -1) {
    std::snprintf(strStartUpError, sizeof strStartUpError, "cannot open %s: %s", GP2X_DEV_MEM,
                  GP2X_ErrorText());
    return false;
  }
  g_nTouchScreenFD = GP2X_Open(GP2X_DEV_TOUCHSCREEN, GP2X_O_RDONLY | GP2X_O_NOCTTY | GP2X_O_NONBLOCK);
  g_ulGP2X_FRAME_COUNT = 0;

  void* registers = MapWindow(kRegisterWindow);
  if (!registers) return false;
  g_pGP2X_REG16 = static_cast<volatile uint16_t*>(registers);
  g_pGP2X_REG32 = static_cast<volatile uint32_t*>(registers);
  g_pGP2X_BLITTER_REG = static_cast<volatile uint32_t*>(MapWindow(kBlitterWindow));
  if (!g_pGP2X_BLITTER_REG) return false;

  GP2X_ResetClock();
  GP2X_CloseInputDevices();
  GP2X_WaitMS(GP2X_INPUT_PROBE_WAIT_MS);
  GP2X_OpenInputDevices();

  g_ulGP2X_VIDEO_PHYS_ADDR = GP2X_VIDEO_MEMORY_PHYS;
  g_GP2X_VIDEO_BASE_PTR = static_cast<uint8_t*>(MapWindow(kVideoWindow));
  if (!g_GP2X_VIDEO_BASE_PTR) return false;
  g_pGP2X_DUALCORE_MEM = static_cast<volatile uint32_t*>(MapWindow(kDualCoreWindow));
  return g_pGP2X_DUALCORE_MEM != nullptr;
}

}  // namespace

uint32_t VKR_InitLowLevelAPI(const char* /*title*/) {
  std::puts("GP2X Low-Level Library v" VKR_LIBRARY_VERSION);
  if (g_nMemFD != -1) {
    HoldSecondCore();
    CloseEverything();
  }
  g_bRegistersSaved = 0;
  strStartUpError[0] = '\0';
  if (!OpenEverything()) {
    // The registers were only read so far: nothing needs restoring.
    CloseEverything();
    g_ulGP2X_VIDEO_PHYS_ADDR = 0;
    return VKR_ERROR;
  }

  g_ulDISPLAY_MODE = DisplayModeLeftByFirmware();
  g_nColorBitDepth = 16;
  g_nScreenSizeX = 320;
  g_nScreenSizeY = 240;
  SaveRegisters();
  GP2X_FollowCPUClock(SavedCPUClock100Hz());
  GP2X_WriteReg16(GP2X_COMCLKENREG, GP2X_COMCLKEN_ALL);
  GP2X_SetBits16(GP2X_SYSCLKENREG, GP2X_SYSCLKEN_DISPLAY);
  GP2X_WriteReg16(GP2X_MLC_YUV_CNTL, 0);
  return VKR_OK;
}

uint32_t VKR_FreeLowLevelAPI(int returnToLauncher) {
  // Without a start-up (or a second time) there is nothing to hand back.
  if (g_nMemFD == -1) return VKR_OK;
  HoldSecondCore();
  CloseEverything();
  if (returnToLauncher) {
    GP2X_ChangeDirectory(GP2X_LAUNCHER_DIR);
    GP2X_ExecLauncher(GP2X_LAUNCHER);
  }
  return VKR_OK;
}

const char* VKR_GetStartUpError() { return strStartUpError; }

uint32_t VKR_GetDisplayMode(uint32_t* mode, int* depth) {
  if (!mode || !depth) return VKR_BAD_ARGUMENT;
  *mode = g_ulDISPLAY_MODE;
  *depth = g_nColorBitDepth;
  return VKR_OK;
}

uint32_t VKR_GetDisplaySize(int* width, int* height) {
  if (!width || !height) return VKR_BAD_ARGUMENT;
  *width = g_nScreenSizeX;
  *height = g_nScreenSizeY;
  return VKR_OK;
}

uint32_t VKR_GetVideoBasePtr(uint8_t** base) {
  if (!base) return VKR_BAD_ARGUMENT;
  *base = g_GP2X_VIDEO_BASE_PTR;
  return g_GP2X_VIDEO_BASE_PTR ? VKR_OK : VKR_ERROR;
}
