// sim_blitter.cpp: the simulated console's blitter and rotator. Writing the start bit decodes the
// operation's registers into the shared software blitter's record and carries it out at once on
// video memory; the busy bit then stays set for the time the hardware would take.
#include "disp_blitter.h"
#include "sim_state.h"

namespace {

// About 500 million pixels a second for the blitter (two 16-bit pixels a clock of its bus), half
// that for the rotator, after a setup.
constexpr uint64_t kSetupNs = 1000;
constexpr uint64_t kBlitNsPerPixel = 2;
constexpr uint64_t kRotateNsPerPixel = 4;

uint32_t Reg(uint32_t offset) { return g_sim.blitter[offset >> 2]; }

uint32_t VideoOffset(uint32_t physical) { return physical - GP2X_VIDEO_MEMORY_PHYS; }

uint64_t BusyNs(uint32_t size, uint64_t nsPerPixel) {
  return kSetupNs + uint64_t{size & 0xFFFF} * (size >> 16) * nsPerPixel;
}

void StartBlit() {
  const uint32_t dstControl = Reg(GP2X_MESGDSTCTRL), srcControl = Reg(GP2X_MESGSRCCTRL);
  const uint32_t control = Reg(GP2X_MESGCTRL), size = Reg(GP2X_MESGSIZE);
  DISP_BlitOp op{};
  op.dstOffset = VideoOffset(Reg(GP2X_MESGDSTADDR));
  op.srcOffset = VideoOffset(Reg(GP2X_MESGSRCADDR));
  op.dstRowBytes = Reg(GP2X_MESGDSTSTRIDE);
  op.srcRowBytes = Reg(GP2X_MESGSRCSTRIDE);
  op.width = static_cast<uint16_t>(size);
  op.height = static_cast<uint16_t>(size >> 16);
  op.rasterOp = control & GP2X_MESG_ROP_MASK;
  op.pixelBytes = (dstControl & GP2X_MESG_DST_16BPP) ? 2 : 1;
  op.expand = (srcControl & GP2X_MESG_SRC_FORMAT) == (GP2X_MESG_SRC_1BPP & GP2X_MESG_SRC_FORMAT);
  op.transparent = (control & GP2X_MESG_TRANSPARENT) != 0;
  op.colorKey = static_cast<uint16_t>(control >> 16);
  op.background = static_cast<uint16_t>(Reg(GP2X_MESGSRCBACKCOLOR));
  op.foreground = static_cast<uint16_t>(Reg(GP2X_MESGSRCFORCOLOR));
  DISP_Blit(op, g_sim.video.data());
  g_sim.blitterUnit.blitBusyUntilNs = g_sim.clock.nowNs + BusyNs(size, kBlitNsPerPixel);
  ++g_sim.blitterUnit.operations;
}

// The source address register holds the corner the rotator starts at; the shared rotator takes
// the rectangle's top-left.
void StartRotation() {
  const uint32_t control = Reg(GP2X_ROTCTRL), size = Reg(GP2X_ROTSIZE);
  DISP_RotateOp op{};
  op.pixelBytes = ((control >> GP2X_ROT_SIZE_SHIFT) & 3) + 1;
  op.turn = (control >> GP2X_ROT_TURN_SHIFT) & 3;
  op.width = static_cast<uint16_t>(size);
  op.height = static_cast<uint16_t>(size >> 16);
  op.srcRowBytes = Reg(GP2X_ROTSRCSTRIDE);
  op.dstRowBytes = Reg(GP2X_ROTDSTSTRIDE);
  const uint32_t lastRow = static_cast<uint32_t>(op.srcRowBytes) * (op.height - 1u);
  const uint32_t lastColumn = op.pixelBytes * (op.width - 1u);
  const uint32_t corner = op.turn == 0   ? 0
                          : op.turn == 1 ? lastRow
                          : op.turn == 2 ? lastRow + lastColumn
                                         : lastColumn;
  op.srcOffset = VideoOffset(Reg(GP2X_ROTSRCADDR)) - (op.width && op.height ? corner : 0);
  op.dstOffset = VideoOffset(Reg(GP2X_ROTDSTADDR));
  DISP_Rotate(op, g_sim.video.data());
  g_sim.blitterUnit.rotateBusyUntilNs = g_sim.clock.nowNs + BusyNs(size, kRotateNsPerPixel);
  ++g_sim.blitterUnit.operations;
}

bool BlitBusy() { return g_sim.clock.nowNs < g_sim.blitterUnit.blitBusyUntilNs; }
bool RotateBusy() { return g_sim.clock.nowNs < g_sim.blitterUnit.rotateBusyUntilNs; }

}  // namespace

// A start while the engine is busy is lost, as the program must wait before it starts another.
void SimBlitter_Written(uint32_t offset, uint32_t value) {
  if (offset == GP2X_MESGSTATUS && (value & GP2X_MESG_BUSY) && !BlitBusy()) StartBlit();
  if (offset == GP2X_ROTCTRL && (value & GP2X_ROT_BUSY) && !RotateBusy()) StartRotation();
}

uint32_t SimBlitter_Read(uint32_t offset) {
  if (offset == GP2X_MESGSTATUS) return (Reg(offset) & ~GP2X_MESG_BUSY) | (BlitBusy() ? GP2X_MESG_BUSY : 0);
  if (offset == GP2X_ROTCTRL) return (Reg(offset) & ~GP2X_ROT_BUSY) | (RotateBusy() ? GP2X_ROT_BUSY : 0);
  return Reg(offset);
}

uint64_t SimBlitter_BusyEndsNs(uint32_t offset) {
  if (offset == GP2X_MESGSTATUS && BlitBusy()) return g_sim.blitterUnit.blitBusyUntilNs;
  if (offset == GP2X_ROTCTRL && RotateBusy()) return g_sim.blitterUnit.rotateBusyUntilNs;
  return 0;
}
