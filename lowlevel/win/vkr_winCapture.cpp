// vkr_winCapture.cpp: frame capture: the composed picture written as a 24-bit bottom-up bitmap
// file, "<prefix>_<six-digit number>.bmp", once per composition while capture is on.
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "vkr_winHost.h"
#include "vkr_winState.h"

// Capture state; main thread only.
int g_bSaveOnDisk = 0;
char g_strSaveFilePath[260] = "";
int g_nDiskWriteFrameID = 0;

void VKR_WinResetCapture() {
  g_bSaveOnDisk = 0;
  g_strSaveFilePath[0] = '\0';
}

uint32_t VKR_SaveOnDisk(uint32_t enable, const char* prefix) {
  if (!prefix) return VKR_BAD_ARGUMENT;
  const size_t length = std::strlen(prefix);
  if (length >= sizeof g_strSaveFilePath) return VKR_BAD_ARGUMENT;
  std::memcpy(g_strSaveFilePath, prefix, length + 1);
  g_bSaveOnDisk = enable ? 1 : 0;
  return VKR_NOT_SUPPORTED;
}

const uint8_t* VKR_WinFramePicture(int* width, int* height, size_t* pitch) {
  *width = VKR_WinOutputWidth();
  *height = VKR_WinOutputHeight();
  *pitch = static_cast<size_t>(*width) * 3;
  return g_ucFrameSurface.data();
}

static void PutU16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
static void PutU32(uint8_t* at, uint32_t value) {
  PutU16(at, value);
  PutU16(at + 2, value >> 16);
}

namespace {
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

uint32_t VKR_LowLevelAPI_SaveBMP(const char* prefix) {
  if (!prefix) return 0;
  const uint32_t width = static_cast<uint32_t>(VKR_WinOutputWidth());
  const uint32_t height = static_cast<uint32_t>(VKR_WinOutputHeight());
  const uint32_t rowBytes = width * 3;  // 960 and 2160: already multiples of 4
  const uint32_t imageBytes = rowBytes * height;

  std::array<uint8_t, 54> header{};
  header[0] = 'B';
  header[1] = 'M';
  PutU32(&header[2], imageBytes + 54);
  PutU32(&header[10], 54);
  PutU32(&header[14], 40);
  PutU32(&header[18], width);
  PutU32(&header[22], height);
  PutU16(&header[26], 1);
  PutU16(&header[28], 24);
  PutU32(&header[34], imageBytes);
  PutU32(&header[38], 4000);
  PutU32(&header[42], 3000);

  char name[sizeof g_strSaveFilePath + 32];
  std::snprintf(name, sizeof name, "%s_%.6d.bmp", prefix, g_nDiskWriteFrameID);
  ++g_nDiskWriteFrameID;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name, "wb"));
  if (!file) return 0;
  bool written = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
  // Bottom-up: the last line of the picture is the first line of the file.
  for (uint32_t line = height; written && line-- > 0;)
    written = std::fwrite(g_ucFrameSurface.data() + line * rowBytes, 1, rowBytes, file.get()) ==
              rowBytes;
  return written ? 1 : 0;
}
