// vkr_gp2xSystem.cpp: the console's system controls: battery LED, battery and converter readings,
// CPU clock through the PLL, SD card lines, hardware model and firmware version, raw register
// access inside the register window.
#include "vkr_gp2xState.h"
#include "vkr_gp2xTVEncoder.h"

namespace {

// Setting the PLL to P = 1, S = 0: the clock is (M + 8) x 7.3728 MHz / 3.
constexpr uint16_t kPllDivideByThree = 1 << GP2X_PLL_P_SHIFT;
constexpr uint64_t kRequestScale = 30000;  // MHz x 30000 / 73728 = M + 8 for P = 1, S = 0

}  // namespace

uint32_t VKR_GetBatteryLEDState() {
  if (g_ulHardwareModel == GP2X_MODEL_SECOND) return VKR_NOT_SUPPORTED;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  return GP2X_ReadReg16(GP2X_GPIOHPINLVL) & GP2X_GPIOH_BATTERY_LED ? VKR_LED_OFF : VKR_LED_ON;
}

uint32_t VKR_SetBatteryLEDState(int on) {
  if (g_ulHardwareModel == GP2X_MODEL_SECOND) return VKR_NOT_SUPPORTED;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint16_t levels = GP2X_ReadReg16(GP2X_GPIOHPINLVL);
  GP2X_WriteReg16(GP2X_GPIOHOUT, on ? levels & ~GP2X_GPIOH_BATTERY_LED
                                    : levels | GP2X_GPIOH_BATTERY_LED);
  return VKR_OK;
}

uint32_t VKR_GetPowerState(uint16_t* level) {
  if (!level) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  *level = GP2X_ReadReg16(GP2X_ADC_DATA) & GP2X_ADC_DATA_MASK;
  return VKR_OK;
}

uint32_t VKR_GetADCValue(uint32_t channel, uint16_t* value) {
  if (!value) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  GP2X_WriteReg16(GP2X_ADC_CHANNEL, static_cast<uint16_t>(channel << GP2X_ADC_CHANNEL_SHIFT));
  *value = GP2X_ReadReg16(GP2X_ADC_DATA) & GP2X_ADC_DATA_MASK;
  return VKR_OK;
}

uint32_t VKR_GetCPUClock(int* megahertz) {
  if (!megahertz) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const uint16_t pll = GP2X_ReadReg16(GP2X_FPLLVSETREG);
  *megahertz = static_cast<int>(GP2X_CPUClock100Hz(pll, GP2X_ReadReg16(GP2X_SYSCSETREG)) / 10000);
  return VKR_OK;
}

// The multiplier M = N - 8 has eight bits: requests that need another are refused, not wrapped.
uint32_t VKR_SetCPUClock(uint32_t megahertz) {
  const uint64_t n = megahertz * kRequestScale / GP2X_PLL_INPUT_100HZ;
  if (n < GP2X_PLL_M_OFFSET || n - GP2X_PLL_M_OFFSET > GP2X_PLL_M_MASK) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  const auto pll = static_cast<uint16_t>((n - GP2X_PLL_M_OFFSET) << GP2X_PLL_M_SHIFT | kPllDivideByThree);
  GP2X_WriteReg16(GP2X_FPLLSETVREG, pll);
  const auto dividers = static_cast<uint16_t>(GP2X_ReadReg16(GP2X_SYSCSETREG) & GP2X_SYSCSET_KEEP_MASK);
  GP2X_WriteReg16(GP2X_SYSCSETREG, dividers);
  GP2X_FollowCPUClock(GP2X_CPUClock100Hz(pll, dividers));
  return VKR_OK;
}

// 7 no card, 8 a card, 9 a write-protected card.
uint32_t VKR_GetSDState() {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  if (GP2X_ReadReg16(GP2X_GPIOIPINLVL) & GP2X_GPIOI_SD_ABSENT) return 7;
  return GP2X_ReadReg16(GP2X_GPIODPINLVL) & GP2X_GPIOD_SD_WRITE_PROTECT ? 9 : 8;
}

uint32_t VKR_SaveOnDisk(uint32_t, const char*) { return VKR_NOT_SUPPORTED; }

uint32_t VKR_GetHardwareModel(uint32_t* model) {
  if (!model) return VKR_BAD_ARGUMENT;
  *model = g_ulHardwareModel;
  return VKR_OK;
}

uint32_t VKR_GetFirmwareVersion(uint32_t* version) {
  if (!version) return VKR_BAD_ARGUMENT;
  *version = g_ulFirmwareVersion;
  return VKR_OK;
}

uint32_t VKR_ReadMemRegister(uint32_t offset, uint16_t* value) {
  if (!value) return VKR_BAD_ARGUMENT;
  if (!GP2X_IsOpen()) return VKR_ERROR;
  *value = GP2X_ReadReg16(offset & GP2X_REG16_OFFSET_MASK);
  return VKR_OK;
}

uint32_t VKR_WriteMemRegister(uint32_t offset, uint16_t value) {
  if (!GP2X_IsOpen()) return VKR_ERROR;
  GP2X_WriteReg16(offset & GP2X_REG16_OFFSET_MASK, value);
  return VKR_OK;
}
