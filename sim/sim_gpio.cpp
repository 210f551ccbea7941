// sim_gpio.cpp: the general-purpose ports: each pin reads the port's output register where its
// pin function makes it an output, else the level the outside drives (buttons low while held, SD
// card lines, the display's sync signals on port B), and open-drain devices may hold any line low
// that the port does not drive. A line the port drives high while a device holds it low reads what
// the port drives (its driver is the stronger) and is an offence.
#include <array>

#include "sim_state.h"
#include "vkr_lowLevel.h"

namespace {

// Pins whose two pin-function bits say output (01): the low bit of the pair set, the high one
// clear, gathered from every second bit into one bit a pin.
uint16_t OutputPins(uint32_t port) {
  static_assert(GP2X_ALTFN_OUTPUT == 1 && GP2X_ALTFN_MASK == 3);
  const uint32_t functions = uint32_t{g_sim.reg[GP2X_GPIOALTFN(port) >> 1]} |
                             uint32_t{g_sim.reg[GP2X_GPIOALTFNHIGH(port) >> 1]} << 16;
  SimOutputPinsSeen& seen = g_sim.gpio.outputPinsSeen[port];
  if (functions == seen.functions) return seen.pins;
  uint32_t pins = functions & ~(functions >> 1) & 0x55555555u;
  pins = (pins | pins >> 1) & 0x33333333u;
  pins = (pins | pins >> 2) & 0x0F0F0F0Fu;
  pins = (pins | pins >> 4) & 0x00FF00FFu;
  pins = (pins | pins >> 8) & 0x0000FFFFu;
  seen = {functions, static_cast<uint16_t>(pins)};
  return seen.pins;
}

void SetExternal(uint32_t port, uint16_t mask, uint16_t levels) {
  g_sim.gpio.external[port] = static_cast<uint16_t>((g_sim.gpio.external[port] & ~mask) | (levels & mask));
}

}  // namespace

void SimGpio_PowerOn() {
  g_sim.gpio.external.fill(0xFFFF);  // pulled up
  SimGpio_SetButtons(0);
  SimSetSDCard(SimSDCard::Present);
}

uint16_t SimGpio_PinLevel(uint32_t port) {
  const uint16_t outputs = OutputPins(port);
  uint16_t level = static_cast<uint16_t>((g_sim.reg[GP2X_GPIOOUT(port) >> 1] & outputs) |
                                         (g_sim.gpio.external[port] & ~outputs));
  level &= static_cast<uint16_t>(~(g_sim.gpio.pullDown[port] & ~outputs));
  if (port == GP2X_GPIO_PORT_B) {
    const uint16_t sync = GP2X_GPIOB_VSYNC | GP2X_GPIOB_HSYNC;
    level = static_cast<uint16_t>((level & ~sync) | SimTiming_SyncBits());
  }
  return level;
}

void SimGpio_CheckContention(uint32_t port) {
  const uint16_t fight = static_cast<uint16_t>(g_sim.gpio.pullDown[port] & OutputPins(port) &
                                               g_sim.reg[GP2X_GPIOOUT(port) >> 1]);
  const uint16_t fresh = static_cast<uint16_t>(fight & ~g_sim.gpio.contended[port]);
  g_sim.gpio.contended[port] = fight;
  for (int bit = 0; bit < 16; ++bit)
    if (fresh >> bit & 1)
      SimStrict_Offence("port %c bit %d driven high by the port while a device holds it low",
                        static_cast<char>('A' + port), bit);
}

void SimGpio_SetButtons(uint32_t held) {
  const uint32_t released = ~held;
  SetExternal(GP2X_GPIO_PORT_M, GP2X_GPIOM_DIRECTIONS, static_cast<uint16_t>(released));
  SetExternal(GP2X_GPIO_PORT_C, GP2X_GPIOC_BUTTONS, static_cast<uint16_t>(released));
  SetExternal(GP2X_GPIO_PORT_D, GP2X_GPIOD_VOLUME,
              static_cast<uint16_t>(released >> GP2X_GPIOD_VOLUME_TO_WORD));
  SetExternal(GP2X_GPIO_PORT_D, GP2X_GPIOD_STICK,
              static_cast<uint16_t>(released >> GP2X_GPIOD_STICK_TO_WORD));
}

void SimSetButtons(uint32_t held) {
  if (!g_sim.poweredOn) return;
  SimIO_Reset();
  SimGpio_SetButtons(held);
}

void SimSetSDCard(SimSDCard card) {
  if (!g_sim.poweredOn) return;
  SetExternal(GP2X_GPIO_PORT_I, GP2X_GPIOI_SD_ABSENT, card == SimSDCard::Absent ? 0xFFFF : 0);
  SetExternal(GP2X_GPIO_PORT_D, GP2X_GPIOD_SD_WRITE_PROTECT,
              card == SimSDCard::WriteProtected ? 0xFFFF : 0);
}
