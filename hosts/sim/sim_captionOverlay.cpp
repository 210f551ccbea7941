// sim_captionOverlay.cpp: the television's caption decoder over the simulated console's encoder:
// libzvbi decodes line 21 and keeps the page; the page is drawn by libzvbi's renderer into a
// canvas of 16 x 26 pixel cells once each time it changes, and blended into every picture shown.
//
// Sections: state, decoding, the encoder's fields, drawing, rows.
#include "sim_captionOverlay.h"

#include <libzvbi.h>

#include <array>

#include "sim.h"
#include "sim_cx25874.h"

namespace {

// ---- State -------------------------------------------------------------------------------------
// The decoder, the page it last answered and the page drawn in two canvases (flashing characters
// shown and hidden), RGBA with the alpha each cell's opacity gives; what has been fed of the
// encoder's record. One television a process, main thread only; allocated at a reset, never per
// frame.
constexpr int kColumns = 34, kRows = 15, kCellWidth = 16, kCellHeight = 26;
constexpr int kCanvasWidth = kColumns * kCellWidth, kCanvasHeight = kRows * kCellHeight;
constexpr vbi_pgno kChannel1 = 1;
// A television frame of line-21 data a call: libzvbi takes other spacings for lost frames.
constexpr double kFrameSeconds = 1001.0 / 30000.0;
// Colour-map entries of the drawing copy: 8 to 15 the eight colours semi-transparent, 16 none.
constexpr int kSemiTransparentColours = 8, kNoColour = 16;

vbi_decoder* g_pSimCaptionDecoder = nullptr;
double g_dSimCaptionTime = 0;
bool g_bSimCaptionPageChanged = false;
vbi_page g_simCaptionPage;  // zero (no rows) until the first change
vbi_page g_simCaptionDrawPage;
std::array<vbi_rgba, kCanvasWidth * kCanvasHeight> g_ulSimCaptionCanvas, g_ulSimCaptionFlashOff;
bool g_bSimCaptionFlashes = false;  // some character flashes: the second canvas differs
std::array<bool, kRows> g_bSimCaptionRowDrawn;  // some cell of the row shows
size_t g_nSimCaptionPairsFed = 0;
uint64_t g_ulSimCaptionFieldFollowed = 0, g_ulSimCaptionLastPairField = 0;

// ---- Decoding ----------------------------------------------------------------------------------
void OnCaptionEvent(vbi_event* event, void*) {
  if (event->ev.caption.pgno == kChannel1) g_bSimCaptionPageChanged = true;
}

void EnsureDecoder() {
  if (g_pSimCaptionDecoder) return;
  g_pSimCaptionDecoder = vbi_decoder_new();
  if (g_pSimCaptionDecoder)
    vbi_event_handler_register(g_pSimCaptionDecoder, VBI_EVENT_CAPTION, OnCaptionEvent, nullptr);
}

// The drawing copy: cells the decoder shows with a transparent background get the colour map's
// empty entry as background (blank cells as foreground too), semi-transparent ones a colour of
// half strength; flashing characters hidden when flashOn is false.
void DrawPage(bool flashOn, vbi_rgba* canvas) {
  vbi_page& page = g_simCaptionDrawPage;
  page = g_simCaptionPage;
  for (int colour = 0; colour < 8; ++colour)
    page.color_map[kSemiTransparentColours + colour] =
        (g_simCaptionPage.color_map[colour] & 0x00FFFFFF) | 0x80000000;
  page.color_map[kNoColour] = 0;
  for (int cell = 0; cell < kColumns * kRows; ++cell) {
    vbi_char& c = page.text[cell];
    if (c.flash && !flashOn) c.unicode = 0x20;
    if (c.opacity == VBI_TRANSPARENT_SPACE) c.foreground = c.background = kNoColour;
    if (c.opacity == VBI_TRANSPARENT_FULL) c.background = kNoColour;
    if (c.opacity == VBI_SEMI_TRANSPARENT && c.background < 8) c.background += kSemiTransparentColours;
  }
  vbi_draw_cc_page_region(&page, VBI_PIXFMT_RGBA32_LE, canvas, kCanvasWidth * 4, 0, 0, kColumns,
                          kRows);
}

// Fetches and draws the page when the decoder has changed it.
void RefreshPage() {
  if (!g_bSimCaptionPageChanged || !g_pSimCaptionDecoder) return;
  g_bSimCaptionPageChanged = false;
  if (!vbi_fetch_cc_page(g_pSimCaptionDecoder, &g_simCaptionPage, kChannel1, 1)) return;
  // A caption page refers to nothing of the decoder's; the copy stays valid as it is.
  vbi_unref_page(&g_simCaptionPage);
  if (g_simCaptionPage.rows != kRows || g_simCaptionPage.columns != kColumns) {
    g_simCaptionPage.rows = 0;
    return;
  }
  g_bSimCaptionFlashes = false;
  g_bSimCaptionRowDrawn.fill(false);
  for (int cell = 0; cell < kColumns * kRows; ++cell) {
    const vbi_char& c = g_simCaptionPage.text[cell];
    g_bSimCaptionFlashes |= c.flash != 0;
    g_bSimCaptionRowDrawn[cell / kColumns] |= c.opacity != VBI_TRANSPARENT_SPACE;
  }
  DrawPage(true, g_ulSimCaptionCanvas.data());
  if (g_bSimCaptionFlashes) DrawPage(false, g_ulSimCaptionFlashOff.data());
}

}  // namespace

void SimCaptionOverlay_Reset() {
  if (g_pSimCaptionDecoder) vbi_decoder_delete(g_pSimCaptionDecoder);
  g_pSimCaptionDecoder = nullptr;
  g_dSimCaptionTime = 0;
  g_bSimCaptionPageChanged = false;
  g_simCaptionPage.rows = 0;
  g_nSimCaptionPairsFed = 0;
  g_ulSimCaptionFieldFollowed = g_ulSimCaptionLastPairField = 0;
}

void SimCaptionOverlay_Feed(uint8_t first, uint8_t second) {
  EnsureDecoder();
  if (!g_pSimCaptionDecoder) return;
  vbi_sliced line{};
  line.id = VBI_SLICED_CAPTION_525_F1;
  line.line = 21;
  line.data[0] = first;
  line.data[1] = second;
  g_dSimCaptionTime += kFrameSeconds;
  vbi_decode(g_pSimCaptionDecoder, &line, 1, g_dSimCaptionTime);
}

// ---- The encoder's fields ----------------------------------------------------------------------
// The encoder's pairs are its caption registers, line 21 of data channel 1. Its record holds every
// pair it took; one goes out in the vertical blank that opens its field, and only the last one
// can still be waiting (and be dropped).
void SimCaptionOverlay_Follow(uint64_t nowNs) {
  const uint64_t fieldNow = SimFramesBegun();
  const size_t sent = SIM_CX25874_CaptionCount();
  if (sent < g_nSimCaptionPairsFed || fieldNow < g_ulSimCaptionFieldFollowed)
    SimCaptionOverlay_Reset();
  const SimCaptionPair* pairs = SIM_CX25874_Captions();
  for (; g_nSimCaptionPairsFed < sent && pairs[g_nSimCaptionPairsFed].timeNs <= nowNs;
       ++g_nSimCaptionPairsFed) {
    const SimCaptionPair& pair = pairs[g_nSimCaptionPairsFed];
    SimCaptionOverlay_Feed(pair.first, pair.second);
    g_ulSimCaptionLastPairField = pair.field;
  }
  if (fieldNow != g_ulSimCaptionFieldFollowed && g_ulSimCaptionLastPairField != fieldNow)
    SimCaptionOverlay_Feed(0x80, 0x80);
  g_ulSimCaptionFieldFollowed = fieldNow;
}

// ---- Drawing -----------------------------------------------------------------------------------
bool SimCaptionOverlay_GridOf(int pictureWidth, int pictureHeight, SimCaptionGrid* grid) {
  if (pictureWidth != 720 || (pictureHeight != 480 && pictureHeight != 576)) return false;
  // On 480 lines a row is a cell's height; on 576 it keeps the same share of the picture.
  const int rowHeight = kCellHeight * pictureHeight / 480;
  if (grid)
    *grid = {(pictureWidth - kCanvasWidth) / 2, (pictureHeight - kRows * rowHeight) / 2,
             kCanvasWidth, rowHeight};
  return true;
}

bool SimCaptionOverlay_Shows() {
  RefreshPage();
  if (g_simCaptionPage.rows == 0) return false;
  for (bool drawn : g_bSimCaptionRowDrawn)
    if (drawn) return true;
  return false;
}

void SimCaptionOverlay_Draw(uint8_t* bgr, int width, int height, uint64_t nowNs) {
  SimCaptionGrid grid;
  if (!bgr || !SimCaptionOverlay_GridOf(width, height, &grid) || !SimCaptionOverlay_Shows()) return;
  const bool flashOn = nowNs / 500000000 % 2 == 0;
  const vbi_rgba* canvas =
      g_bSimCaptionFlashes && !flashOn ? g_ulSimCaptionFlashOff.data() : g_ulSimCaptionCanvas.data();
  for (int y = 0; y < kRows * grid.rowHeight; ++y) {
    if (!g_bSimCaptionRowDrawn[y / grid.rowHeight]) continue;
    const int canvasY = y / grid.rowHeight * kCellHeight + y % grid.rowHeight * kCellHeight / grid.rowHeight;
    const vbi_rgba* in = canvas + size_t(canvasY) * kCanvasWidth;
    uint8_t* out = bgr + (size_t(grid.top + y) * width + grid.left) * 3;
    for (int x = 0; x < grid.width; ++x, out += 3) {
      const vbi_rgba pixel = in[x];  // red in bits 0-7, alpha in 24-31
      const uint32_t alpha = pixel >> 24;
      if (alpha == 0) continue;
      const uint8_t colour[3] = {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)};
      for (int c = 0; c < 3; ++c)
        out[c] = alpha == 255 ? colour[c]
                              : uint8_t((colour[c] * alpha + out[c] * (255 - alpha) + 127) / 255);
    }
  }
}

// ---- Rows --------------------------------------------------------------------------------------
namespace {

void AppendUTF8(std::string& text, unsigned code) {
  if (code < 0x80) {
    text += char(code);
  } else if (code < 0x800) {
    text += char(0xC0 | code >> 6);
    text += char(0x80 | (code & 0x3F));
  } else {
    text += char(0xE0 | code >> 12);
    text += char(0x80 | (code >> 6 & 0x3F));
    text += char(0x80 | (code & 0x3F));
  }
}

}  // namespace

SimCaptionRow SimCaptionOverlay_Row(int row) {
  RefreshPage();
  SimCaptionRow result;
  if (row < 0 || row >= g_simCaptionPage.rows) return result;
  const vbi_char* cells = &g_simCaptionPage.text[row * kColumns];
  bool attributesTaken = false;
  size_t kept = 0;
  for (int column = 0; column < kColumns; ++column) {
    const vbi_char& c = cells[column];
    AppendUTF8(result.text, c.unicode);
    if (c.unicode == 0x20) continue;
    kept = result.text.size();
    if (attributesTaken) continue;
    attributesTaken = true;
    result.foreground = c.foreground;
    result.background = c.background;
    result.opacity = c.opacity;
    result.flash = c.flash;
    result.italic = c.italic;
    result.underline = c.underline;
  }
  result.text.resize(kept);
  return result;
}
