// disp_yuvLayer.cpp: the two YUV video planes: which source sample each output pixel of a part
// shows (scaling, mirror, flip, the television field-line rule), clipped to the output and to video
// memory, and the part renderer that draws into the Y, Cb, Cr surface.
#include <algorithm>
#include <climits>

#include "disp_composeUnits.h"

namespace {

constexpr int64_t kLastPair = int64_t{DISP_VIDEO_MEMORY_SIZE} - 4;

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

struct PartRow {
  int x0, x1;
  int64_t line;
  int left;
  uint32_t horizontal;
  int mirror;
};

// Where the source line of output row y (inside the part) starts in video memory.
int64_t LineOf(const DISP_Composition& c, const DISP_YUVPartFrame& f, int y) {
  int64_t v = (int64_t{y - f.start} * f.vertical) >> 10;
  // Interlaced output: even lines read even source lines, odd lines odd ones.
  if (c.tv) v = (v & ~int64_t{1}) + (y & 1);
  return f.offset + v * f.stride;
}

// Whether part p shows on output row y and on which columns: those inside the output whose pair
// lies inside video memory. Pairs move monotonically along a row, so those columns are one run.
bool PartOnRow(const DISP_Composition& c, int p, int y, PartRow* row) {
  const DISP_YUVPartFrame& f = c.yuvParts[p];
  if (y < f.start || y >= f.end) return false;
  const int64_t line = LineOf(c, f, y);
  int64_t x0 = f.left, x1 = f.right + 1;
  if (!f.inMemory && (!DISP_InVideoMemory(line, 4) || !DISP_InVideoMemory(line + f.lastPair, 4))) {
    // Part of the row reads outside video memory: keep the pixels whose pair k lies inside, for
    // kLow <= k <= kHigh.
    int64_t kLow, kHigh;
    if (!f.mirror) {
      kLow = std::max<int64_t>(0, CeilDiv(-line, 4));
      kHigh = FloorDiv(kLastPair - line, 4);
    } else {
      kLow = std::max<int64_t>(0, CeilDiv(line - kLastPair, 4));
      kHigh = FloorDiv(line, 4);
    }
    if (kHigh < kLow) return false;
    const int64_t h = f.horizontal;
    int64_t iLow = 0, iHigh = INT_MAX;
    if (h > 0) {
      iLow = CeilDiv(kLow * 2048, h);
      iHigh = FloorDiv((kHigh + 1) * 2048 - 1, h);
    } else if (kLow > 0) {
      return false;
    }
    x0 = f.left + iLow;
    x1 = std::min<int64_t>(f.right, f.left + iHigh) + 1;
    if (x0 >= x1) return false;
  }
  *row = {static_cast<int>(x0), static_cast<int>(x1), line, f.left, f.horizontal, f.mirror};
  return true;
}

// Later parts cover earlier ones: plane B then plane A when plane A has priority.
constexpr int kDrawOrderAFirst[4] = {2, 3, 0, 1};
constexpr int kDrawOrderBFirst[4] = {0, 1, 2, 3};

// What row y shows once every part is drawn, left to right; the count of segments.
int Segments(const DISP_Composition& c, int y, DISP_YUVSegment* segments) {
  const int* order = c.model->yuvFirstPlanePriority ? kDrawOrderAFirst : kDrawOrderBFirst;
  PartRow rows[4];
  bool on[4];
  int cuts[10] = {0};
  int cutCount = 1;
  DISP_InsertCut(cuts, &cutCount, c.width);
  for (int k = 0; k < 4; ++k) {
    on[k] = PartOnRow(c, order[k], y, &rows[k]);
    if (!on[k]) continue;
    DISP_InsertCut(cuts, &cutCount, rows[k].x0);
    DISP_InsertCut(cuts, &cutCount, rows[k].x1);
  }
  int count = 0;
  int previousOwner = -2;
  for (int cut = 0; cut + 1 < cutCount; ++cut) {
    const int a = cuts[cut], b = cuts[cut + 1];
    if (a == b) continue;
    int owner = -1;
    for (int k = 0; k < 4; ++k)
      if (on[k] && rows[k].x0 <= a && a < rows[k].x1) owner = k;
    if (owner == previousOwner) {
      segments[count - 1].x1 = b;
      continue;
    }
    previousOwner = owner;
    DISP_YUVSegment& s = segments[count++];
    if (owner < 0) {
      s = {a, b, DISP_SEGMENT_CLEAR, -1, 0, 0, 0, 0};
      continue;
    }
    const PartRow& r = rows[owner];
    const bool direct = r.horizontal == 1024 && !r.mirror;
    s = {a, b, direct ? DISP_SEGMENT_DIRECT : DISP_SEGMENT_SAMPLED, order[owner], r.line, r.left,
         r.horizontal, r.mirror};
  }
  return count;
}

}  // namespace

void DISP_PrepareYUVPlanes(DISP_Composition& c) {
  for (int p = 0; p < 4; ++p) {
    // Part p is the scaler index: 0 plane A top, 1 plane A bottom, 2 plane B top, 3 plane B bottom.
    const DISP_YUVPlane& plane = c.model->yuvPlane[p >> 1];
    const bool bottom = p & 1;
    DISP_YUVPartFrame& f = c.yuvParts[p];
    f.start = bottom ? plane.split : plane.top;
    f.end = bottom ? plane.bottom : plane.split;
    if (c.tv) f.start *= 2, f.end *= 2;
    f.left = plane.left;
    f.right = std::min<int>(plane.right, c.width - 1);
    // A part that is off, or whose columns lie right of the output, covers no row.
    if (!plane.enable || f.right < f.left) f.end = f.start;
    const DISP_YUVScale scale = c.model->yuvScaler[p];
    f.vertical = scale.vertical;
    f.horizontal = scale.horizontal;
    f.mirror = (bottom ? plane.bottomMirror : plane.topMirror) != 0;
    const bool flip = (bottom ? plane.bottomFlip : plane.topFlip) != 0;
    f.stride = int64_t{plane.pitch} * 2 * (flip ? -1 : 1);
    f.offset = bottom ? plane.bottomOffset : plane.topOffset;
    // Pixel i of the part reads pair k = (i x horizontal) >> 11 along the reading direction.
    f.lastPair = (f.mirror ? -4 : 4) * ((int64_t{f.right - f.left} * f.horizontal) >> 11);
    // Source lines run from 0 to the last row's, one more on television; when the first and last
    // pairs of both extreme lines lie in video memory, every row's do.
    int64_t lastLine = f.end > f.start ? (int64_t{f.end - 1 - f.start} * f.vertical) >> 10 : 0;
    if (c.tv) ++lastLine;
    const int64_t lines[2] = {f.offset, f.offset + lastLine * f.stride};
    f.inMemory = true;
    for (const int64_t line : lines)
      f.inMemory = f.inMemory && DISP_InVideoMemory(line, 4) &&
                 DISP_InVideoMemory(line + f.lastPair, 4);
  }
}

int DISP_YUVRowSegments(const DISP_Composition& c, int y, DISP_YUVRows* rows) {
  // The parts on row y, and whether each of them shows all its columns there.
  uint32_t shape = 0;
  bool whole = true;
  for (int p = 0; p < 4; ++p) {
    const DISP_YUVPartFrame& f = c.yuvParts[p];
    if (y < f.start || y >= f.end) continue;
    shape |= 1u << p;
    whole = whole && f.inMemory;
  }
  if (whole && shape == rows->shape) {
    for (int s = 0; s < rows->count; ++s) {
      DISP_YUVSegment& segment = rows->segments[s];
      if (segment.part >= 0) segment.line = LineOf(c, c.yuvParts[segment.part], y);
    }
    return rows->count;
  }
  rows->shape = whole ? shape : kDISP_NoYUVShape;
  rows->count = Segments(c, y, rows->segments.data());
  return rows->count;
}

void DISP_DrawYUVSegment(const DISP_Composition& c, const DISP_YUVSegment& segment, uint8_t* row) {
  const uint8_t* base = c.video;
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

const uint8_t* DISP_DirectSource(const DISP_Composition& c, const DISP_YUVSegment& segment,
                                 int* firstSample) {
  const int i = segment.x0 - segment.left;
  *firstSample = i & 1;
  return c.video + (segment.line + 4 * (i >> 1));
}

void DISP_DrawYUVPartRows(const DISP_Composition& c, int planeB, int bottomPart) {
  const int p = 2 * planeB + bottomPart;
  for (int y = std::max(c.yuvParts[p].start, 0); y < std::min(c.yuvParts[p].end, c.height); ++y) {
    PartRow r;
    if (!PartOnRow(c, p, y, &r)) continue;
    const DISP_YUVSegment segment = {r.x0, r.x1, DISP_SEGMENT_SAMPLED, p, r.line, r.left,
                                     r.horizontal, r.mirror};
    DISP_DrawYUVSegment(c, segment, DISP_SurfaceRow(c, y));
    std::memset(DISP_WrittenRow(c, y) + r.x0, 1, static_cast<size_t>(r.x1 - r.x0));
  }
}
