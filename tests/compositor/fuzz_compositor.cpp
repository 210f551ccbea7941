// fuzz_compositor.cpp: arbitrary bytes as layer settings and video-memory contents, then a whole
// frame and the steps alone; the sanitizers watch every read of video memory and every write of
// the surface and the written-pixel map.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vkr_lowLevel.h"
#include "vkr_winHost.h"
#include "vkr_winState.h"

namespace {

// Takes values off the front of the input; zeros once it runs out.
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

// Video memory written by this input, cleared again afterwards so inputs stay independent.
struct Chunk {
  uint32_t offset, length;
};
std::vector<Chunk> g_chunks;

// Settings are stored the way the setters store them, or straight into the state where the
// setters would refuse a value the compositor must still survive.
void Settings(Reader& r) {
  // Half the inputs on the LCD, whose frames are a fifth of the television's.
  const uint8_t modeByte = r.Byte();
  const uint32_t mode = modeByte < 128 ? modeByte % 5 : modeByte % 33;
  const int depths[4] = {4, 8, 16, 24};
  g_ulDISPLAY_MODE = mode;
  g_nColorBitDepth = depths[r.Byte() & 3];
  g_nScreenSizeX = kDISP_LayerSizeOfMode[mode].width;
  g_nScreenSizeY = kDISP_LayerSizeOfMode[mode].height;
  if (r.Byte() == 0xA5) {
    g_nScreenSizeX = static_cast<int16_t>(r.U16());
    g_nScreenSizeY = static_cast<int16_t>(r.U16());
    g_nColorBitDepth = static_cast<int8_t>(r.Byte());
  }
  g_ulRGBVideoMemOffset = r.U32() % VKR_VIDEO_MEMORY_SIZE & ~3u;
  for (int i = 0; i < 16; ++i) g_ulRGBColorTable[r.Byte()] = r.U32();
  g_ulRegionColorKey = r.U32();
  for (int k = 1; k <= 5; ++k) {
    DISP_RGBRegion& region = g_RGBLayerRegion[k];
    region.active = r.Byte() & 1;
    region.visible = r.Byte() & 1;
    region.operation = r.Byte() & 3;
    region.alpha = r.Byte();
    region.left = r.U16(), region.right = r.U16(), region.top = r.U16(), region.bottom = r.U16();
  }
  for (DISP_YUVPlane& plane : g_YUVPlane) {
    plane.enable = r.Byte() & 1;
    plane.left = r.U16(), plane.top = r.U16(), plane.right = r.U16();
    plane.bottom = r.U16(), plane.split = r.U16(), plane.pitch = r.U16();
    plane.topOffset = r.U32(), plane.bottomOffset = r.U32();
    const uint8_t flags = r.Byte();
    plane.topMirror = flags & 1, plane.topFlip = flags & 2;
    plane.bottomMirror = flags & 4, plane.bottomFlip = flags & 8;
  }
  for (DISP_YUVScale& scale : g_YUVScaler) scale = {r.U16(), r.U16()};
  g_bYUVFirstPlanePriority = r.Byte() & 1;
  g_scYUVBrightness = static_cast<int8_t>(r.Byte());
  g_ucYUVContrast = r.Byte();
  for (auto* table : {&g_sMLC_HUECb_A, &g_sMLC_HUECb_B, &g_sMLC_HUECr_A, &g_sMLC_HUECr_B})
    for (int8_t& coefficient : *table) coefficient = static_cast<int8_t>(r.Byte());
  g_bEnableGamma = r.Byte() & 1;
  for (int i = 0; i < 8; ++i) g_ulGammaTable[r.Byte()] = r.U32();
  g_cursorLayer = {r.U16(), r.U16(), r.Byte() & 1u, r.Byte(), r.U32(), r.U32(),
                   r.U32() % VKR_VIDEO_MEMORY_SIZE & ~3u};
  g_bOSDLayerEnable = r.Byte() & 1;
  g_ulOSDHeaderEvenField = r.U32(), g_ulOSDHeaderOddField = r.U32();
  for (int i = 0; i < 8; ++i) g_ulOSDPalette[r.Byte()] = r.U32();
  g_bSPULayerEnable = r.Byte() & 1, g_bSPUonTopOfOSDLayer = r.Byte() & 1;
  g_bSPUHighlight = r.Byte() & 1;
  g_ulSPUBaseCmdMemOffset = r.U32(), g_ulSPUHighlightInfoMemOffset = r.U32();
  for (uint32_t& colour : g_ulSPUColorPalette) colour = r.U32();
}

void Track(uint32_t offset, uint32_t length) {
  offset &= ~3u;
  if (offset >= VKR_VIDEO_MEMORY_SIZE) return;
  if (length > VKR_VIDEO_MEMORY_SIZE - offset) length = VKR_VIDEO_MEMORY_SIZE - offset;
  g_chunks.push_back({offset, length});
}

// Records through the API, anywhere; a count of 16 is refused.
void Records(Reader& r) {
  uint16_t words[4][15];
  for (auto& list : words)
    for (uint16_t& w : list) w = r.U16();
  const uint32_t header = r.U32(), base = r.U32(), change = r.U32(), highlight = r.U32();
  VKR_WriteOSDHeader(header, r.U32(), r.U16(), r.U16(), r.U16(), r.U16(), r.Byte(), r.Byte(),
                     r.Byte(), r.Byte(), r.Byte(), r.Byte());
  VKR_WriteSPUBaseCmd(base, r.Byte(), r.U32(), r.U16(), r.U16(), r.U16(), r.U16(), r.U32(),
                      r.U32());
  VKR_WriteSPUChangeCmd(change, r.Byte(), r.U16(), r.U16(), r.Byte() % 17, words[0], words[1],
                        words[2], words[3]);
  VKR_WriteSPUHighlightInfo(highlight, r.U16(), r.U16(), r.U16(), r.U16(), r.U16(), r.U16());
  Track(header, 12), Track(base, 28), Track(change, 4 + 8 * 15 + 4), Track(highlight, 12);
}

// The rest of the input: chunks of video memory, each an offset, a length and its bytes.
void VideoMemory(Reader& r) {
  while (r.left > 6) {
    const uint32_t offset = r.U32() % VKR_VIDEO_MEMORY_SIZE;
    uint32_t length = r.U16();
    if (length > r.left) length = static_cast<uint32_t>(r.left);
    if (length > VKR_VIDEO_MEMORY_SIZE - offset) length = VKR_VIDEO_MEMORY_SIZE - offset;
    std::memcpy(g_GP2X_VIDEO_BASE_PTR + offset, r.data, length);
    g_chunks.push_back({offset, length});
    r.data += length, r.left -= length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (VKR_InitLowLevelAPI("fuzz") != VKR_OK) std::abort();
  VKR_WinUseVirtualClock(0);
  g_chunks.reserve(1024);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const DISP_Kernels best = DISP_BestKernels();
  Reader r = {data, size};
  const int kernels = r.Byte() % 3;
  g_nWinComposeKernels = kernels < best ? DISP_Kernels(kernels) : best;
  Settings(r);
  const uint32_t steps = r.Byte(), areaHeader = r.U32(), areaField = r.Byte();
  VideoMemory(r);
  Records(r);

  VKR_LowLevelAPI_SoftRender();
  // Now and then the steps alone, over what the frame left.
  if (steps & 1) VKR_LowLevelAPI_SoftRender_OSD_Layer_Area(areaHeader, areaField);
  if (steps & 2) VKR_LowLevelAPI_SoftRender_SPU_Layer();
  if (steps & 4) VKR_LowLevelAPI_SoftRender_RGB_Layer();
  if (steps & 8) VKR_LowLevelAPI_SoftRender_Cursor_Layer();
  if (steps & 16) VKR_LowLevelAPI_GammaCorrection();
  if (steps & 32) VKR_LowLevelAPI_SoftRender_YUV_Layer(steps & 64, steps & 128);

  for (const Chunk& c : g_chunks) std::memset(g_GP2X_VIDEO_BASE_PTR + c.offset, 0, c.length);
  g_chunks.clear();
  return 0;
}
