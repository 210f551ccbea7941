// disp_bitmapFile.h: a composed picture written as a 24-bit bottom-up bitmap file: the desktop
// back end's frame capture and the recording hosts' bitmaps, one writer for both.
#pragma once

#include <cstddef>
#include <cstdint>

// width x height pixels of blue, green, red bytes, lines pitch bytes apart, top line first.
// False when the file cannot be written.
bool DISP_WriteBitmapFile(const char* path, const uint8_t* pixels, int width, int height, size_t pitch);
