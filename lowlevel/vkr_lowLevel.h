// vkr_lowLevel.h: the one interface of the low-level library, shared by the demo and both back ends.
// Every operation answers a VKR_ result code unless its line says otherwise. Offsets are byte
// offsets into the 8 MiB block of video memory (0 to 0x7FFFFF).
//
// Sections: lifecycle, display mode and video memory, RGB layer, YUV layer, cursor, OSD and
// sub-picture, blitter, input, timing, second core, frame output, system controls, captions,
// memory helpers, colour conversion, debug console. The result codes, sizes and button masks are
// in vkr_lowLevelCodes.h, which this includes.
#pragma once

#include <cstdint>

#include "vkr_lowLevelCodes.h"

// One back end is built into each program; its target defines exactly one of these.
#if !defined(VKR_BACKEND_DESKTOP) && !defined(VKR_BACKEND_HANDHELD)
#error "define VKR_BACKEND_DESKTOP or VKR_BACKEND_HANDHELD (the back-end library target does)"
#endif

// ---- Lifecycle -----------------------------------------------------------------------------
// Starts the library: banner on standard output, video memory, the window titled `title` (null
// gives an empty title). 1 when memory or SDL cannot be had; every operation then answers 1 or
// does nothing until a later start succeeds.
uint32_t VKR_InitLowLevelAPI(const char* title);
// Frees everything the start took; the argument asks the handheld to return to its launcher.
uint32_t VKR_FreeLowLevelAPI(int returnToLauncher);
#if defined(VKR_BACKEND_HANDHELD)
// Why the last start failed, naming the device or window; empty after a successful start.
const char* VKR_GetStartUpError();
#endif

// ---- Display mode and video memory ---------------------------------------------------------
// 4 if mode > 32 or depth is not 4, 8, 16 or 24 (nothing changes).
uint32_t VKR_SetDisplayMode(uint32_t mode, int depth);
// 4 if either pointer is null.
uint32_t VKR_GetDisplayMode(uint32_t* mode, int* depth);
// RGB layer size of the current mode; 4 if either pointer is null.
uint32_t VKR_GetDisplaySize(int* width, int* height);
// Handheld: toggles interlacing in TV modes. Desktop: no effect. 0.
uint32_t VKR_InterlaceSwitch();
// 4 if the pointer is null; writes null (and answers 1) before start-up.
uint32_t VKR_GetVideoBasePtr(uint8_t** base);
// 4 if null; 2 in LCD modes; else writes the field being shown, 0 or 1.
uint32_t VKR_GetCurrentTVFieldOutput(int* field);
#if defined(VKR_BACKEND_DESKTOP)
// Address of video memory + offset; null when offset > 0x7FFFFF or before start-up.
uint8_t* VKR_GetVideoPtrOn920(uint32_t offset);
#endif

// ---- RGB layer -----------------------------------------------------------------------------
// 4 if offset > 0x7FFFFF; stored with the lowest two bits cleared.
uint32_t VKR_SetRGBStartAddress(uint32_t offset);
// Palette entry: blue bits 0-7, green 8-15, red 16-23. 4 if count is 0, first + count > 256 or
// entries is null.
uint32_t VKR_SetPalette(uint16_t first, const uint32_t* entries, uint16_t count);
// Key: red bits 0-7, green 8-15, blue 16-23.
uint32_t VKR_SetRGBRegionColorKey(uint32_t key);
// 4 if region is outside 1 to 5; the rectangle is stored as given (the compositor clips).
uint32_t VKR_SetRGBRegionOperation(uint32_t region, uint32_t active, uint32_t visible,
                                   uint16_t operation, uint16_t alpha, uint16_t left,
                                   uint16_t top, uint16_t right, uint16_t bottom);

// ---- YUV layer -----------------------------------------------------------------------------
// plane non-zero is A. Stored as given; the compositor clips to the output and video memory.
uint32_t VKR_SetYUVVideoPlane(uint32_t plane, uint32_t enable, uint16_t left, uint16_t top,
                              uint16_t right, uint16_t bottom, uint16_t split, uint16_t pitch,
                              uint32_t topOffset, uint32_t topMirror, uint32_t topFlip,
                              uint32_t bottomOffset, uint32_t bottomMirror, uint32_t bottomFlip);
// plane non-zero is A, part non-zero is the top part. No check.
uint32_t VKR_SetYUVVideoPlaneScaler(uint32_t plane, uint32_t part, uint16_t horizontal,
                                    uint16_t vertical);
// Non-zero puts plane A above plane B.
uint32_t VKR_SetYUVVideoPlanePriority(uint32_t planeAFirst);
// Added to the Y of both planes; 0.
uint32_t VKR_SetYUVBrightness(int8_t brightness);
// 4 if above 7.
uint32_t VKR_SetYUVContrast(uint8_t contrast);
// quadrant taken modulo 4; saturation 128 is neutral; hue 256 steps a full turn.
uint32_t VKR_SetYUVSaturationAndHUE(uint32_t quadrant, uint8_t saturation, uint8_t hue);
// Non-zero passes the composed picture through the gamma table; 0.
uint32_t VKR_EnableGamma(uint32_t enable);
// Gamma entry: output red bits 0-7, green 8-15, blue 16-23. 4 if first + count > 256 or
// entries is null; count 0 copies nothing (the handheld answers 4).
uint32_t VKR_SetGamma(uint16_t first, const uint32_t* entries, uint16_t count);

// ---- Cursor --------------------------------------------------------------------------------
// Colours: red bits 0-7, green 8-15, blue 16-23, alpha 28-31. 4 if size is neither 32 nor 64
// or offset > 0x7FFFFF; the offset is stored with the lowest two bits cleared.
uint32_t VKR_SetCursorParams(uint32_t enable, uint16_t size, uint32_t color1, uint32_t color0,
                             uint32_t bitmapOffset);
// Output pixels; in TV modes y counts field lines. 0.
uint32_t VKR_MoveCursor(uint16_t x, uint16_t y);

// ---- OSD and sub-picture -------------------------------------------------------------------
// The record writers (VKR_Write...) check their arguments before anything else: a bad call
// answers 4 even before start-up, a good one 1 then.
// Entry: Y bits 0-7, Cb 8-15, Cr 16-23, alpha 28-31. 4 if first + count > 256 or entries is
// null; count 0 copies nothing (the handheld answers 4).
uint32_t VKR_SetOSDPalette(uint16_t first, const uint32_t* entries, uint16_t count);
// The OSD on or off and the first area header of each field (VKR_WriteOSDHeader); 0.
uint32_t VKR_SetOSDPlane(uint32_t enable, uint32_t evenFieldHeader, uint32_t oddFieldHeader);
// 4 if bitsPerPixel is not 2, 4 or 8, or the header offset is not a multiple of 4 or the 12-byte
// header would not fit in video memory. A next offset above 0x7FFFFF marks the last area.
uint32_t VKR_WriteOSDHeader(uint32_t header, uint32_t next, uint32_t left, uint32_t top,
                            uint32_t right, uint32_t bottom, uint32_t bitsPerPixel,
                            uint32_t compressed, uint32_t alphaEnable, uint32_t colorKeyEnable,
                            uint32_t alpha, uint32_t keyIndex);
// Colour: Y bits 0-7, Cb 8-15, Cr 24-31. 4 if index > 15.
uint32_t VKR_SetSPUColor(uint16_t index, uint32_t color);
// The sub-picture on or off, above the OSD or below it, its highlight on or off, and the offsets
// of its base command and highlight records; 0.
uint32_t VKR_SetSPUPlane(uint32_t enable, uint32_t onTopOfOSD, uint32_t highlight,
                         uint32_t baseCmdOffset, uint32_t highlightInfoOffset);
// Writes the 28-byte base command record at offset with its lowest two bits cleared; 4 if the
// record would not fit in video memory.
uint32_t VKR_WriteSPUBaseCmd(uint32_t offset, uint32_t changeCmdPresent, uint32_t changeListOffset,
                             uint16_t colorWord, uint16_t contrastWord, uint16_t top,
                             uint16_t bottom, uint32_t evenLineData, uint32_t oddLineData);
// 4 if count > 15, if count > 0 and any array is null, or if the record would not fit in video
// memory.
uint32_t VKR_WriteSPUChangeCmd(uint32_t offset, uint32_t terminate, uint16_t lineStart,
                               uint16_t lineEnd, uint16_t count, const uint16_t* left,
                               const uint16_t* right, const uint16_t* colorWords,
                               const uint16_t* contrastWords);
// 4 if the 12-byte record would not fit in video memory.
uint32_t VKR_WriteSPUHighlightInfo(uint32_t offset, uint16_t left, uint16_t top, uint16_t right,
                                   uint16_t bottom, uint16_t colorWord, uint16_t contrastWord);

// ---- Blitter -------------------------------------------------------------------------------
// flags: bits 0-7 raster operation (4 above 15, nothing drawn), bit 8 8-bit pixels, bit 9
// one-bit source expansion, bits 10-15 transparency (source pixels equal to key are skipped).
// Pitches count pixels. Clipped to video memory: each row stops at its first pixel whose
// destination, or whose source when the operation or key reads it, would pass the end.
uint32_t VKR_HwBitBlt(uint32_t dstOffset, uint32_t dstPitch, uint16_t width, uint16_t height,
                      uint32_t srcOffset, uint32_t srcPitch, uint32_t flags, uint16_t colorKey,
                      uint16_t background, uint16_t foreground);
// flags: bits 0-1 quarter turns clockwise (3 is anticlockwise); pixel size 1 byte for flags 0-3,
// 2 for 4-7, 3 from 8. Pixels whose source or destination would pass the end of video memory
// are not copied (clipped).
uint32_t VKR_HwBitBltRotate(uint32_t dstOffset, uint32_t dstPitch, uint16_t width,
                            uint16_t height, uint32_t srcOffset, uint32_t srcPitch, uint32_t flags);
// unit 0 the blitter, non-zero the rotator. The desktop's blits are done when they return: 0.
uint32_t VKR_WaitHwBlitter(uint32_t unit);

// ---- Input ---------------------------------------------------------------------------------
// 4 if null; takes at most one window event, then writes the button word.
uint32_t VKR_GetGP2XInputState(uint32_t* state);
// Keyboard events (type 1, Linux key code, 1 down / 0 up). 4 if a pointer is null; 7 for another
// device or in button mode; 8 when none waits; 10 when one was written.
uint32_t VKR_GetHIDEvent(uint16_t device, uint16_t* type, uint16_t* code, int32_t* value);
// 4 if any pointer is null; 2 when there is no touch screen. The handheld does not wait for a
// touch: 8 and nothing written when no whole record is waiting.
uint32_t VKR_GetTouchScreen(uint16_t* x, uint16_t* y, uint16_t* pressure);
#if defined(VKR_BACKEND_DESKTOP)
// 2: no input devices to probe.
uint32_t VKR_HIDDetection();
// The event pump: wantedMode 1 buttons, 0 keyboard events (hands out and clears the last one).
// Null out-pointers are skipped. Answers 1 if wantedMode is the current mode, else 0.
uint32_t VKR_WinReadSDLEvent(uint32_t wantedMode, uint32_t* state, uint16_t* type,
                             uint16_t* code, uint32_t* value);
#else
// Closes the four input devices, waits 20 ms, and with reopen non-zero probes them again; 0.
uint32_t VKR_HIDDetection(int reopen);
#endif

// ---- Timing --------------------------------------------------------------------------------
// 4 if null.
uint32_t VKR_GetTime(uint32_t* milliseconds);
// Sets the frame count to 0, so that the next VKR_GetFrameTime takes a new base; 0.
uint32_t VKR_ResetFrameTime();
// 4 if null.
uint32_t VKR_GetFrameCount(uint32_t* count);
// 4 if null; the first call after a reset fixes the base and answers 0; counts frames.
uint32_t VKR_GetFrameTime(uint32_t* milliseconds);
// Waits that many milliseconds of the back end's clock (a virtual clock does not wait); 0.
uint32_t VKR_DelayMS(uint32_t milliseconds);
// Handheld: waits for the vertical blank to begin and end (one frame). Desktop: waits for the next
// frame of the window or page, if it has one. 0; 1 on the handheld before start-up.
uint32_t VKR_WaitVSync();
// Handheld: waits for the vertical blank's end, then its start. Desktop: returns at once, 0.
uint32_t VKR_WaitVSync2();
// Handheld: waits for one horizontal blank to begin and end. Desktop: returns at once, 0.
uint32_t VKR_WaitHSync();
#if defined(VKR_BACKEND_HANDHELD)
// Waits for the horizontal blank's end, then its start; 0.
uint32_t VKR_WaitHSync2();
#endif

// ---- Second core ---------------------------------------------------------------------------
// The demo's second-core routine, run once per command. The desktop's does nothing; a program
// may define its own.
void VKR_Arm940T_Main(uint32_t command);
// The desktop ignores program and wordCount and starts the receiver thread (on a web page the
// program's own thread receives, whenever it waits in the operations below or VKR_WaitVSync);
// the queue is kept.
uint32_t VKR_DualCoreStart(const uint32_t* program, uint32_t wordCount);
// Stops the receiver; after it returns the receiver runs no more.
uint32_t VKR_DualCoreStop();
// Handheld: non-zero stops the second core where it is, zero lets it go on; 0. Desktop: 2.
uint32_t VKR_DualCorePause(int pause);
// Waits while the 1000-entry queue is full, then queues the command.
uint32_t VKR_DualCoreSendCmd(uint32_t command);
// 4 if null.
uint32_t VKR_DualCoreGetSendCmdCount(uint32_t* count);
// 4 if null.
uint32_t VKR_DualCoreGetCmdProcessedCount(uint32_t* count);
// Waits until the queue is empty.
uint32_t VKR_WaitArm940T();

// ---- Frame output --------------------------------------------------------------------------
// 4 if prefix is null or 260 characters or longer. Otherwise stores both and answers 2; every
// composition while enabled writes "<prefix>_<number>.bmp".
uint32_t VKR_SaveOnDisk(uint32_t enable, const char* prefix);
#if defined(VKR_BACKEND_DESKTOP)
// Composes the frame from every layer, presents it, captures it when capture is on; 0.
uint32_t VKR_LowLevelAPI_SoftRender();
// The composition's steps, each alone. plane non-zero is A, part non-zero the top part.
uint32_t VKR_LowLevelAPI_SoftRender_YUV_Layer(uint32_t plane, uint32_t part);
// The OSD's areas of both fields over the picture composed so far; 0.
uint32_t VKR_LowLevelAPI_SoftRender_OSD_Layer();
// One OSD area (header offset) of one field (0 even, 1 odd); 0.
uint32_t VKR_LowLevelAPI_SoftRender_OSD_Layer_Area(uint32_t header, uint32_t field);
// The sub-picture over the picture composed so far; 0.
uint32_t VKR_LowLevelAPI_SoftRender_SPU_Layer();
// The RGB layer through its five regions over the picture composed so far; 0.
uint32_t VKR_LowLevelAPI_SoftRender_RGB_Layer();
// The cursor over the picture composed so far; 0.
uint32_t VKR_LowLevelAPI_SoftRender_Cursor_Layer();
// The gamma table applied to the composed picture when gamma is enabled; 0.
uint32_t VKR_LowLevelAPI_GammaCorrection();
// Writes the composed picture as a 24-bit bitmap; 1 on success, 0 on failure (null prefix too).
uint32_t VKR_LowLevelAPI_SaveBMP(const char* prefix);
#endif

// ---- System controls -----------------------------------------------------------------------
// Where the back ends answer differently, each line says what each one answers. The desktop has
// none of these devices: it checks no argument of an operation it answers 2.
// 6 on, 5 off.
uint32_t VKR_GetBatteryLEDState();
// 0; the desktop only remembers the flag.
uint32_t VKR_SetBatteryLEDState(int on);
// 4 if null; the desktop writes 1023 (full).
uint32_t VKR_GetPowerState(uint16_t* level);
// 4 if null; the desktop writes 199.
uint32_t VKR_GetCPUClock(int* megahertz);
// Handheld: programs the clock, 0; 4 (nothing written) outside 20 to 648 MHz, where the PLL
// multiplier does not fit. Desktop: 2.
uint32_t VKR_SetCPUClock(uint32_t megahertz);
// Handheld: 7, 8 or 9, the card's state. Desktop: 2.
uint32_t VKR_GetSDState();
// Handheld: writes the model (0 or 0x100), 0. Desktop: 2, nothing written, null accepted.
uint32_t VKR_GetHardwareModel(uint32_t* model);
// Handheld: writes major << 16 | minor << 8 | patch, 0. Desktop: 2, nothing written, null accepted.
uint32_t VKR_GetFirmwareVersion(uint32_t* version);
// Handheld: the 16-bit register at offset AND 0xFFFE, 0. Desktop: 2, nothing read or written.
uint32_t VKR_ReadMemRegister(uint32_t offset, uint16_t* value);
// Handheld: writes the 16-bit register at offset AND 0xFFFE, 0. Desktop: 2, nothing written.
uint32_t VKR_WriteMemRegister(uint32_t offset, uint16_t value);
#if defined(VKR_BACKEND_HANDHELD)
// The converter's channel (0 to 7), 10 bits; 4 if null.
uint32_t VKR_GetADCValue(uint32_t channel, uint16_t* value);
#endif

// ---- TV encoder and captions ---------------------------------------------------------------
// Only the handheld has the encoder. Desktop: the two encoder operations answer 2 and touch
// nothing (null accepted); the four caption operations answer 0 and do nothing, whatever their
// arguments.
// Handheld: 0, or 1 on a missing acknowledge.
uint32_t VKR_OutCX25874(uint8_t reg, uint8_t value);
// Handheld: 4 if null; 0, or 1 on a missing acknowledge (the byte unchanged).
uint32_t VKR_InCX25874(uint8_t reg, uint8_t* value);
// pair: first byte in bits 8-15, second in bits 0-7.
uint32_t VKR_WriteCloseCaption(uint16_t pair);
// Handheld: the caption channel of the text that follows; 4 unless 1 to 4.
uint32_t VKR_CC_SetChannel(uint32_t channel);
// Handheld: 4 if format is null, 11 if the text does not fit the queue.
uint32_t VKR_CC_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Handheld: sends the next queued pair to the encoder, one a call; a busy encoder keeps it. 0.
uint32_t VKR_CC_OutputToTV();
#if defined(VKR_BACKEND_HANDHELD)
// Queues control code 0 to 9 (resume loading, resume direct, roll-up 2, 3, 4, text restart,
// resume text, erase displayed, erase non-displayed, end of caption); 4 above 9, 11 when full.
uint32_t VKR_CC_Command(uint16_t command);
// Queues the pairs that set the text's colour and background; 11 when they do not fit.
uint32_t VKR_CC_SetAttributes(uint8_t foreground, uint8_t background);
#endif

// ---- Memory helpers ------------------------------------------------------------------------
// Word accesses only at 4-aligned addresses, bytes for head and tail. Null pointers do nothing.
void VKR_MEMCPY(void* destination, const void* source, uint32_t count);
// Fills count bytes with the low byte of value, words where aligned. Null does nothing.
void VKR_MEMSET(void* destination, uint32_t value, uint32_t count);
// Stores the word count / 4 times; the remainder is left alone.
void VKR_FAST_MEMSET(void* destination, uint32_t value, uint32_t count);
// Note the order: source first. Copies count / 4 words.
void VKR_MEMORY_XFER_32BIT_FUNC(const void* source, void* destination, uint32_t count);
// Places a width x height bit bitmap (rows of (width + 7) / 8 bytes) at bitOffset of
// destination, rows pitch bits apart.
void VKR_BLKMEMCPY(uint8_t* destination, uint32_t bitOffset, int32_t pitch, const uint8_t* bitmap,
                   uint32_t width, uint32_t height);
// As above, even bitmap rows to evenDestination and odd rows to oddDestination.
void VKR_BLKMEMCPY_INTERLACE(uint8_t* evenDestination, uint8_t* oddDestination,
                             uint32_t bitOffset, int32_t pitch, const uint8_t* bitmap,
                             uint32_t width, uint32_t height);
// Prints to the debug console and draws it; at most 159 characters are kept. 4 if format is
// null; a failed draw is answered as such, without presenting.
uint32_t VKR_OUTPUT_DEBUG(uint32_t drawMode, uint32_t videoOffset, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// ---- Colour conversion (studio-swing BT.601, exact integer arithmetic) ----------------------
// YUY2 word: byte 0 Y0, 1 U, 2 Y1, 3 V. Dual RGB565: first pixel in bits 0-15. YUVA: Y, U, V, A.
uint32_t VKR_RGBtoYUY2Color(int red, int green, int blue);
// The colour of Y0 with the word's U and V; 4 if any pointer is null.
uint32_t VKR_YUY2toRGBColor(uint32_t yuy2, int* red, int* green, int* blue);
// Two RGB565 pixels as one YUY2 word (U from the first, V from the second); the word is the result.
uint32_t VKR_Dual16bitRGBtoYUY2Color(uint32_t dualRGB565);
// 4 if null.
uint32_t VKR_YUY2ColortoDual16bitRGB(uint32_t yuy2, uint32_t* dualRGB565);
// The YUVA word is the result.
uint32_t VKR_RGBAtoYUVAColor(int red, int green, int blue, int alpha);
// 4 if any pointer is null.
uint32_t VKR_YUVAtoRGBAColor(uint32_t yuva, int* red, int* green, int* blue, int* alpha);

// ---- Debug text console (40 x 25 cells, 16 colours) -----------------------------------------
// Empties every cell, sets the border and background colours, cursor home; 4 if either colour
// is outside 0 to 15.
uint32_t VKR_DbgClrScr(int border, int background);
// The colours of the text printed next; 4 if either is outside 0 to 15.
uint32_t VKR_DbgColor(int foreground, int background);
// 4 unless 0 <= x <= 39 and 0 <= y <= 24.
uint32_t VKR_DbgGotoXY(int x, int y);
// 4 if format is null; text past 159 characters is cut.
uint32_t VKR_DbgPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Draws into the frame buffer at videoOffset in the current mode. 4 if drawMode > 11 or
// videoOffset > 0x7FFFFF; 1 before start-up; lines that do not fit whole in video memory are
// not drawn.
uint32_t VKR_DbgDrawScr(uint32_t drawMode, uint32_t videoOffset);
// The border fills VKR_DbgDrawScr uses, each over [begin, end): bytes of two 4-bit pixels,
void VKR_DbgDrawScr_Fill4bit(uint8_t value, uint8_t* begin, uint8_t* end);
// pairs of 8-bit pixels,
void VKR_DbgDrawScr_Fill8bit(uint16_t value, uint16_t* begin, uint16_t* end);
// pairs of 16-bit pixels blended by blendLevel (0 to 3),
void VKR_DbgDrawScr_Fill16bit(int blendLevel, uint32_t value, uint32_t* begin, uint32_t* end);
// begin and end address 6-byte units of two 24-bit pixels.
void VKR_DbgDrawScr_Fill24bit(int blendLevel, uint16_t w0, uint16_t w1, uint16_t w2,
                              uint8_t* begin, uint8_t* end);
