// vkr_winYUVLayer.cpp: the two YUV video planes: which source sample each output pixel of a part
// shows (scaling, mirror, flip, the television field-line rule), clipped to the output and to video
// memory, and the part renderer that draws into the Y, Cb, Cr surface.
#include <algorithm>
#include <climits>

#include "vkr_winCompose.h"

namespace {

constexpr int64_t kLastPair = int64_t{VKR_VIDEO_MEMORY_SIZE} - 4;

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// Part p is the scaler index: 0 plane A top, 1 plane A bottom, 2 plane B top, 3 plane B bottom.
struct PartRow {
  int x0, x1;
  int64_t line;
  int left;
  uint32_t horizontal;
  int mirror;
};

// Whether part p shows on output row y and on which columns: those inside the output whose pair
// lies inside video memory. Pairs move monotonically along a row, so those columns are one run.
bool PartOnRow(const VKR_WinGeometry& g, int p, int y, PartRow* row) {
  const VKR_YUVPlane& plane = g_YUVPlane[p >> 1];
  if (!plane.enable) return false;
  const bool bottom = p & 1;
  int start = bottom ? plane.split : plane.top;
  int end = bottom ? plane.bottom : plane.split;
  if (g.tv) start *= 2, end *= 2;
  if (y < start || y >= end) return false;

  const VKR_YUVScale scale = g_YUVScaler[p];
  int64_t v = (int64_t{y - start} * scale.vertical) >> 10;
  // Interlaced output: even lines read even source lines, odd lines odd ones.
  if (g.tv) v = (v & ~int64_t{1}) + (y & 1);
  const bool flip = (bottom ? plane.bottomFlip : plane.topFlip) != 0;
  const int mirror = (bottom ? plane.bottomMirror : plane.topMirror) != 0;
  const int64_t stride = int64_t{plane.pitch} * 2 * (flip ? -1 : 1);
  const int64_t line = int64_t{bottom ? plane.bottomOffset : plane.topOffset} + v * stride;

  const int64_t right = std::min<int64_t>(plane.right, g.width - 1);
  if (right < plane.left) return false;
  // Pixel i of the part reads pair k = (i x horizontal) >> 11 along the reading direction.
  const int64_t h = scale.horizontal;
  const int64_t direction = mirror ? -4 : 4;
  const int64_t lastPair = line + direction * (((right - plane.left) * h) >> 11);
  int64_t x0 = plane.left, x1 = right + 1;
  if (!VKR_WinInVideoMemory(line, 4) || !VKR_WinInVideoMemory(lastPair, 4)) {
    // Part of the row reads outside video memory: keep the pixels whose pair k lies inside, for
    // kLow <= k <= kHigh.
    int64_t kLow, kHigh;
    if (!mirror) {
      kLow = std::max<int64_t>(0, CeilDiv(-line, 4));
      kHigh = FloorDiv(kLastPair - line, 4);
    } else {
      kLow = std::max<int64_t>(0, CeilDiv(line - kLastPair, 4));
      kHigh = FloorDiv(line, 4);
    }
    if (kHigh < kLow) return false;
    int64_t iLow = 0, iHigh = INT_MAX;
    if (h > 0) {
      iLow = CeilDiv(kLow * 2048, h);
      iHigh = FloorDiv((kHigh + 1) * 2048 - 1, h);
    } else if (kLow > 0) {
      return false;
    }
    x0 = plane.left + iLow;
    x1 = std::min<int64_t>(right, plane.left + iHigh) + 1;
    if (x0 >= x1) return false;
  }
  *row = {static_cast<int>(x0), static_cast<int>(x1), line, plane.left, scale.horizontal, mirror};
  return true;
}

// Later parts cover earlier ones: plane B then plane A when plane A has priority.
constexpr int kDrawOrderAFirst[4] = {2, 3, 0, 1};
constexpr int kDrawOrderBFirst[4] = {0, 1, 2, 3};

void InsertCut(int* cuts, int* count, int value) {
  int i = *count;
  for (; i > 0 && cuts[i - 1] > value; --i) cuts[i] = cuts[i - 1];
  cuts[i] = value;
  ++*count;
}

}  // namespace

int VKR_WinYUVRowSegments(const VKR_WinGeometry& g, int y, VKR_WinYUVSegment* segments) {
  const int* order = g_bYUVFirstPlanePriority ? kDrawOrderAFirst : kDrawOrderBFirst;
  PartRow rows[4];
  bool on[4];
  int cuts[10] = {0};
  int cutCount = 1;
  InsertCut(cuts, &cutCount, g.width);
  for (int k = 0; k < 4; ++k) {
    on[k] = PartOnRow(g, order[k], y, &rows[k]);
    if (!on[k]) continue;
    InsertCut(cuts, &cutCount, rows[k].x0);
    InsertCut(cuts, &cutCount, rows[k].x1);
  }
  int count = 0;
  int previousOwner = -2;
  for (int c = 0; c + 1 < cutCount; ++c) {
    const int a = cuts[c], b = cuts[c + 1];
    if (a == b) continue;
    int owner = -1;
    for (int k = 0; k < 4; ++k)
      if (on[k] && rows[k].x0 <= a && a < rows[k].x1) owner = k;
    if (owner == previousOwner) {
      segments[count - 1].x1 = b;
      continue;
    }
    previousOwner = owner;
    VKR_WinYUVSegment& s = segments[count++];
    if (owner < 0) {
      s = {a, b, VKR_WIN_SEGMENT_CLEAR, 0, 0, 0, 0};
      continue;
    }
    const PartRow& r = rows[owner];
    const bool direct = r.horizontal == 1024 && !r.mirror;
    s = {a, b, direct ? VKR_WIN_SEGMENT_DIRECT : VKR_WIN_SEGMENT_SAMPLED, r.line, r.left,
         r.horizontal, r.mirror};
  }
  return count;
}

void VKR_WinDrawYUVSegment(const VKR_WinYUVSegment& segment, uint8_t* row) {
  const uint8_t* base = g_GP2X_VIDEO_BASE_PTR;
  const int64_t pairStep = segment.mirror ? -4 : 4;
  for (int x = segment.x0; x < segment.x1; ++x) {
    // Samples taken: the accumulator's carries out of bit 10 so far.
    const uint32_t s = (static_cast<uint32_t>(x - segment.left) * segment.horizontal) >> 10;
    const uint8_t* pair = base + (segment.line + pairStep * (s >> 1));
    uint8_t* out = row + 3 * x;
    out[0] = pair[((s & 1) ^ segment.mirror) * 2];
    out[1] = pair[1];
    out[2] = pair[3];
  }
}

const uint8_t* VKR_WinDirectSource(const VKR_WinYUVSegment& segment, int* firstSample) {
  const int i = segment.x0 - segment.left;
  *firstSample = i & 1;
  return g_GP2X_VIDEO_BASE_PTR + (segment.line + 4 * (i >> 1));
}

uint32_t VKR_LowLevelAPI_SoftRender_YUV_Layer(uint32_t plane, uint32_t part) {
  if (!VKR_WinIsStarted()) return VKR_ERROR;
  const VKR_WinGeometry g = VKR_WinCurrentGeometry();
  const int p = 2 * (plane == 0) + (part == 0);
  for (int y = 0; y < g.height; ++y) {
    PartRow r;
    if (!PartOnRow(g, p, y, &r)) continue;
    const VKR_WinYUVSegment segment = {r.x0, r.x1, VKR_WIN_SEGMENT_SAMPLED, r.line, r.left,
                                       r.horizontal, r.mirror};
    VKR_WinDrawYUVSegment(segment, VKR_WinSurfaceRow(g, y));
    std::memset(VKR_WinWrittenRow(g, y) + r.x0, 1, static_cast<size_t>(r.x1 - r.x0));
  }
  return VKR_OK;
}
