// vkr_gp2xInput.cpp: the buttons read from the port pin levels (low while held), keyboard-style
// events from the Linux input event devices, and the touch screen's records.
#include <cstdio>
#include <cstring>

#include "vkr_gp2xPlatform.h"
#include "vkr_gp2xState.h"

namespace {

constexpr uint32_t kAllButtons = 0x7FFFF;
// The later hardware model has neither the four diagonals nor the stick press.
constexpr uint32_t kButtonsMissingOnSecondModel =
    VKR_BUTTON_STICK | VKR_BUTTON_UP_LEFT | VKR_BUTTON_DOWN_LEFT | VKR_BUTTON_DOWN_RIGHT |
    VKR_BUTTON_UP_RIGHT;

// The Linux input event record: a time stamp, then type, code and value.
struct InputEvent {
  uint32_t seconds, microseconds;
  uint16_t type, code;
  int32_t value;
};
static_assert(sizeof(InputEvent) == 16);

// The touch screen's record: pressure, x, y and a word the library does not read.
struct TouchRecord {
  uint16_t pressure, x, y, unused;
};
static_assert(sizeof(TouchRecord) == 8);

}  // namespace

void GP2X_CloseInputDevices() {
  for (int& fd : g_nHIDFD) {
    if (fd != -1) GP2X_Close(fd);
    fd = -1;
  }
}

void GP2X_OpenInputDevices() {
  for (size_t n = 0; n < g_nHIDFD.size(); ++n) {
    char path[32];
    std::snprintf(path, sizeof path, GP2X_DEV_INPUT_EVENT, static_cast<int>(n));
    g_nHIDFD[n] = GP2X_Open(path, GP2X_O_RDWR | GP2X_O_NONBLOCK);
    if (g_nHIDFD[n] == -1) break;
  }
}

uint32_t VKR_GetGP2XInputState(uint32_t* state) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint16_t portM = GP2X_ReadReg16(GP2X_GPIOMPINLVL);
  const uint16_t portC = GP2X_ReadReg16(GP2X_GPIOCPINLVL);
  const uint16_t portD = GP2X_ReadReg16(GP2X_GPIODPINLVL);
  if (!state) return VKR_BAD_ARGUMENT;
  uint32_t word = (portM & GP2X_GPIOM_DIRECTIONS) | (portC & GP2X_GPIOC_BUTTONS) |
                  static_cast<uint32_t>(portD & GP2X_GPIOD_VOLUME) << GP2X_GPIOD_VOLUME_TO_WORD |
                  static_cast<uint32_t>(portD & GP2X_GPIOD_STICK) << GP2X_GPIOD_STICK_TO_WORD;
  word ^= kAllButtons;
  if (g_ulFirmwareVersion >= GP2X_FIRMWARE_OF_SECOND_MODEL) word &= ~kButtonsMissingOnSecondModel;
  *state = word;
  return VKR_OK;
}

uint32_t VKR_GetHIDEvent(uint16_t device, uint16_t* type, uint16_t* code, int32_t* value) {
  if (device >= g_nHIDFD.size() || !type || !code || !value) return VKR_BAD_ARGUMENT;
  if (g_nHIDFD[device] == -1) return VKR_HID_NOT_AVAILABLE;
  InputEvent event;
  if (GP2X_Read(g_nHIDFD[device], &event, sizeof event) != static_cast<long>(sizeof event))
    return VKR_HID_NO_EVENT;
  *type = event.type;
  *code = event.code;
  *value = event.value;
  return VKR_HID_EVENT;
}

uint32_t VKR_HIDDetection(int reopen) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  GP2X_CloseInputDevices();
  GP2X_WaitMS(GP2X_INPUT_PROBE_WAIT_MS);
  if (reopen) GP2X_OpenInputDevices();
  return VKR_OK;
}

// The device is opened non-blocking: with no whole record waiting the caller is not held up and
// gets nothing half-read.
uint32_t VKR_GetTouchScreen(uint16_t* x, uint16_t* y, uint16_t* pressure) {
  if (!x || !y || !pressure) return VKR_BAD_ARGUMENT;
  if (g_nTouchScreenFD == -1) return VKR_NOT_SUPPORTED;
  TouchRecord record;
  if (GP2X_Read(g_nTouchScreenFD, &record, sizeof record) != static_cast<long>(sizeof record))
    return VKR_HID_NO_EVENT;
  *x = record.x;
  *y = record.y;
  *pressure = record.pressure;
  return VKR_OK;
}
