// sim_captionOverlay.h: the simulated television's caption decoder: the line-21 pairs the TV
// encoder sends go, field by field, to libzvbi's caption decoder as a television with captions on
// receives them, and its page (data channel 1) is drawn over the picture the way the television
// overlays it. Drawn only into what the window shows and what a recording burns in.
#pragma once

#include <cstdint>
#include <string>

// Starts afresh: an empty page, nothing fed.
void SimCaptionOverlay_Reset();

// One field's line 21 as the decoder receives it: the two bytes, parity bits included (a field
// without captions carries the null pair 0x80 0x80). Fields are fed in the order they go out.
void SimCaptionOverlay_Feed(uint8_t first, uint8_t second);

// Feeds the decoder the fields the simulated console's encoder has sent out by nowNs (the
// console's time now) since the last call: each caption pair in the field it went out in, and a
// null pair for the field now when none went out in it. A console powered on afresh (its caption
// record started anew) starts it afresh.
void SimCaptionOverlay_Follow(uint64_t nowNs);

// Draws the decoded page over a television picture of width x height pixels of blue, green, red,
// rows back to back (720 x 480 or 720 x 576; other sizes are left alone): the caption grid, 15
// rows of 32 characters and a blank column each side, in the middle of the picture's safe area and
// scaled with its height. Cells show as their opacity says (a transparent background shows only
// the characters); flashing characters show in the first half of each second of nowNs.
void SimCaptionOverlay_Draw(uint8_t* bgr, int width, int height, uint64_t nowNs);

// Whether the page shows anything: a picture drawn over now would change.
bool SimCaptionOverlay_Shows();

// Where the grid lies in a picture of that size; false when none is drawn on it. Row r covers
// lines top + r * rowHeight to top + (r + 1) * rowHeight - 1.
struct SimCaptionGrid {
  int left, top, width, rowHeight;
};
bool SimCaptionOverlay_GridOf(int pictureWidth, int pictureHeight, SimCaptionGrid* grid);

// One row (0 to 14) of the decoded page, as the decoder holds it: its 34 columns as UTF-8 without
// trailing blanks, and the attributes of its first character that is not a blank (foreground and
// background as libzvbi's colour numbers, 0 black to 7 white; opacity as its vbi_opacity).
struct SimCaptionRow {
  std::string text;
  int foreground = 7, background = 0, opacity = 0;
  bool flash = false, italic = false, underline = false;
};
SimCaptionRow SimCaptionOverlay_Row(int row);
