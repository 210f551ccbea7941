// sim_adc.cpp: the converter: eight channels of 10-bit values; the data register answers the
// channel last selected (channel << 9 written to the select register).
#include "sim_state.h"

uint16_t SimAdc_Data() {
  const uint32_t channel = g_sim.reg[GP2X_ADC_CHANNEL >> 1] >> GP2X_ADC_CHANNEL_SHIFT;
  return g_sim.adc.channel[channel % g_sim.adc.channel.size()];
}

void SimSetConverter(uint32_t channel, uint16_t value) {
  if (!g_sim.poweredOn) return;
  if (channel < g_sim.adc.channel.size()) g_sim.adc.channel[channel] = value & GP2X_ADC_DATA_MASK;
}
