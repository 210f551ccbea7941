// vkr_winWindow.h: the window around a composed frame, for every program that shows one (the
// desktop back end, the simulated console's window): its whole-number scale, full screen, and the
// keys that work the window rather than the emulated console.
#pragma once

#include <SDL.h>

#include <cstdint>

// The window's surface, 24 bits a pixel; null while no window is open. Owned by vkr_winWindow.cpp
// (set by VKR_WinOpenWindow and VKR_WinToggleFullScreen); main thread only.
extern SDL_Surface* g_Screen;

// The window keys; they are handled before the emulated buttons and keyboard see the key, and
// take nothing from them (in keyboard emulation mode F11 and F12 are still reported).
inline constexpr int kVKR_WinFullScreenKey = SDLK_F11;   // window and full screen in turn
inline constexpr int kVKR_WinScreenshotKey = SDLK_PRINT;  // the frame as a PNG file
inline constexpr int kVKR_WinScreenshotKey2 = SDLK_F12;   // the same, where the desktop keeps Print

// The largest whole scale of a width x height frame that fits a screen: in a window it leaves a
// tenth of each side for the desktop's panels and the title bar; full screen it may fill it all.
// 1 when the screen is unknown (0) or smaller than the frame.
int VKR_WinScaleToFit(int width, int height, int screenWidth, int screenHeight, bool fullScreen);

// Opens the window (or the full screen) for an output of width x height and answers its surface
// (also g_Screen), null on failure. The first call notes the size of the screen. SDL's video must
// be started.
SDL_Surface* VKR_WinOpenWindow(int width, int height);
// Forgets the screen size, the frame shown and full screen; at shutdown.
void VKR_WinCloseWindow();

// The output size the window was opened for, its scale now, and whether it is full screen.
int VKR_WinWindowOutputWidth();
int VKR_WinWindowOutputHeight();
int VKR_WinWindowScale();
bool VKR_WinIsFullScreen();

// Shows a frame of the window's output size, scaled nearest-neighbour: width x height pixels of
// blue, green, red, rows back to back. The window keeps the pointer for a screenshot and for
// showing the frame again after a switch to or from full screen: the caller keeps the pixels
// unchanged until its next call (or VKR_WinCloseWindow). A frame of another size is not shown.
void VKR_WinShowFrame(const uint8_t* bgr, int width, int height);
// Where a window pixel falls in the frame, in output pixels; false outside the frame.
bool VKR_WinFramePointOfWindow(int windowX, int windowY, int* frameX, int* frameY);

// Between window and full screen; the frame is shown again at once. False when the window could
// not be reopened (the previous one is then restored).
bool VKR_WinToggleFullScreen();

// Writes the frame last shown, at the output's own size, to the first free "screenshot_NNNN.png"
// of the working directory and says where on standard output; name gets the file's path (may be
// null). False, with the reason on standard error, when it cannot be written; false at once when
// no frame has been shown.
bool VKR_WinSaveScreenshot(char* name, int nameSize);

// Acts on a key-down of a window key; answers whether the key was one.
bool VKR_WinHandleWindowKey(int key);
