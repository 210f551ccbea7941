// bitmap_file.h: a composed picture written as a 24-bit bottom-up bitmap file, the form the
// desktop back end's capture writes, for recording hosts that have no capture of their own.
#pragma once

#include <cstddef>
#include <cstdint>

// width x height pixels of blue, green, red bytes, lines pitch bytes apart, top line first.
// False when the file cannot be written.
bool WriteBitmapFile(const char* path, const uint8_t* pixels, int width, int height, size_t pitch);
