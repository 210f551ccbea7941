// fuzz_sim_display.cpp: arbitrary values written to arbitrary registers of the simulated console's
// display controller, blitter and rotator (as VKR_WriteMemRegister and a wild program can), with
// frames composed between them; the sanitizers watch every read of video memory and every write of
// the frame. Video memory gets a few bytes of the input too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sim.h"
#include "sim_state.h"
#include "vkr_gp2xAccess.h"

namespace {

struct Reader {
  const uint8_t* data;
  size_t left;
  uint8_t Byte() {
    if (!left) return 0;
    --left;
    return *data++;
  }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
  uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
};

// The registers a frame is decoded from: the layers, the scaler's sizes and the timing.
uint32_t DisplayRegister(uint16_t pick) {
  switch (pick % 8) {
    case 0:
      return GP2X_SC_DST_PXW;
    case 1:
      return GP2X_SC_DST_LINES;
    default:
      return GP2X_DPC_CNTL + (pick / 8 % 0x100) * 2;
  }
}

void Compose() {
  int width = 0, height = 0;
  const uint8_t* frame = SimComposeFrame(&width, &height);
  // Touch the frame's last byte, so a frame shorter than its size shows.
  volatile uint8_t last = frame[size_t(width) * height * 3 - 1];
  (void)last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool powered = [] {
    SimConfig config;
    config.realTime = false;
    SimPowerOn(config);
    std::atexit(SimPowerOff);  // the second core's emulator closes before the process ends
    return true;
  }();
  (void)powered;
  // Each input starts from the registers the firmware leaves. Video memory carries over from the
  // inputs before (clearing 8 MiB each time would cost most of the run), so a reported input may
  // need the ones before it to fail again: OSD and sub-picture records there steer where those
  // layers read.
  g_sim.reg.fill(0);
  g_sim.blitter.fill(0);
  SimFirmware_SetRegisters(SimTV::Lcd);
  g_sim.display.palette = {};
  g_sim.display.osdPalette = {};
  SimDisplay_PowerOn();  // the firmware's gamma table
  g_sim.blitterUnit = SimBlitterUnit{};
  Reader r{data, size};
  while (r.left) {
    const uint8_t kind = r.Byte();
    switch (kind % 6) {
      case 0:
      case 1:
      case 2:
        GP2X_WriteReg16(DisplayRegister(r.U16()), r.U16());
        break;
      case 3: {
        const uint32_t offset = (r.U16() % (0x118 / 4)) * 4;
        GP2X_WriteBlitter(offset, r.U32());
        break;
      }
      case 4: {
        const uint32_t at = r.U32() % GP2X_VIDEO_MEMORY_SIZE;
        g_sim.video[at] = r.Byte();
        break;
      }
      case 5:
        Compose();
        break;
    }
  }
  Compose();
  return 0;
}
