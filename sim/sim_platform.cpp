// sim_platform.cpp: the console's operating system as the hardware back end sees it on the PC:
// /dev/mem and its four windows, the input and touch-screen devices, the firmware version file,
// and the launcher's chdir and execl, recorded instead of performed. No host file is opened. A
// console that is off answers every call as a missing device.
#include <cerrno>
#include <cstring>
#include <string_view>

#include "sim_state.h"
#include "vkr_gp2xPlatform.h"

namespace {

struct MappedWindow {
  uint32_t physical;
  size_t length;
};
constexpr MappedWindow kWindows[] = {
    {GP2X_REG_WINDOW_PHYS, GP2X_REG_WINDOW_SIZE},
    {GP2X_BLITTER_WINDOW_PHYS, GP2X_BLITTER_WINDOW_SIZE},
    {GP2X_VIDEO_MEMORY_PHYS, GP2X_VIDEO_MEMORY_SIZE},
    {GP2X_DUALCORE_MEMORY_PHYS, GP2X_DUALCORE_MEMORY_SIZE},
};
constexpr size_t kVideoWindow = 2;

void* WindowAddress(size_t window) {
  switch (window) {
    case 0: return g_sim.reg.data();
    case 1: return g_sim.blitter.data();
    case 2: return g_sim.video.data();
    default: return g_sim.dualCore.data();
  }
}

int Fail(int error) {
  g_sim.lastError = error;
  return -1;
}

SimFile* FileOf(int fd) {
  const int index = fd - SIM_FIRST_FD;
  if (index < 0 || index >= static_cast<int>(SIM_MAX_FILES)) return nullptr;
  SimFile& file = g_sim.files[static_cast<size_t>(index)];
  return file.kind == SimFileKind::Closed ? nullptr : &file;
}

int OpenFile(SimFileKind kind, uint32_t device, int flags) {
  for (size_t n = 0; n < g_sim.files.size(); ++n)
    if (g_sim.files[n].kind == SimFileKind::Closed) {
      g_sim.files[n] = {kind, device, flags};
      return SIM_FIRST_FD + static_cast<int>(n);
    }
  return Fail(EMFILE);
}

}  // namespace

int GP2X_Open(const char* path, int flags) {
  if (!g_sim.poweredOn) return Fail(ENODEV);
  if (!path) return Fail(EFAULT);
  const std::string_view name = path;
  if (name == GP2X_DEV_MEM)
    return g_sim.config.faults & SIM_FAULT_DEV_MEM ? Fail(EACCES) : OpenFile(SimFileKind::Mem, 0, flags);
  if (name == GP2X_DEV_TOUCHSCREEN)
    return g_sim.config.faults & SIM_FAULT_NO_TOUCH ? Fail(ENOENT) : OpenFile(SimFileKind::Touch, 0, flags);
  const std::string_view eventPattern = GP2X_DEV_INPUT_EVENT;
  const std::string_view kEvent = eventPattern.substr(0, eventPattern.size() - 2);  // without "%d"
  if (name.size() == kEvent.size() + 1 && name.starts_with(kEvent)) {
    const uint32_t device = static_cast<uint32_t>(name.back() - '0');
    if (device < g_sim.input.events.size() && g_sim.config.inputDeviceMask >> device & 1)
      return OpenFile(SimFileKind::Event, device, flags);
  }
  return Fail(ENOENT);
}

long GP2X_Read(int fd, void* buffer, size_t bytes) {
  if (!g_sim.poweredOn) return Fail(ENODEV);
  const SimFile* file = FileOf(fd);
  if (!file || !buffer) return Fail(EBADF);
  const bool nonBlocking = file->flags & GP2X_O_NONBLOCK;
  long got = -1;
  if (file->kind == SimFileKind::Event) got = SimInput_ReadEvent(file->device, buffer, bytes, nonBlocking);
  else if (file->kind == SimFileKind::Touch) got = SimInput_ReadTouch(buffer, bytes, nonBlocking);
  else return Fail(EINVAL);
  return got < 0 ? Fail(static_cast<int>(-got)) : got;
}

int GP2X_Close(int fd) {
  if (!g_sim.poweredOn) return Fail(ENODEV);
  SimFile* file = FileOf(fd);
  if (!file) return Fail(EBADF);
  *file = SimFile{};
  return 0;
}

void* GP2X_Map(int fd, size_t length, uint32_t physical) {
  const SimFile* file = g_sim.poweredOn ? FileOf(fd) : nullptr;
  if (!file || file->kind != SimFileKind::Mem) {
    Fail(EBADF);
    return nullptr;
  }
  for (size_t window = 0; window < std::size(kWindows); ++window) {
    if (kWindows[window].physical != physical || kWindows[window].length != length) continue;
    if (window == kVideoWindow && g_sim.config.faults & SIM_FAULT_MAP_VIDEO) break;
    g_sim.mappedWindows |= 1u << window;
    return WindowAddress(window);
  }
  Fail(ENOMEM);
  return nullptr;
}

void GP2X_Unmap(void* address, size_t length) {
  if (!g_sim.poweredOn) return;
  for (size_t window = 0; window < std::size(kWindows); ++window)
    if (WindowAddress(window) == address && kWindows[window].length == length)
      g_sim.mappedWindows &= ~(1u << window);
}

long GP2X_ReadTextFile(const char* path, char* text, size_t capacity) {
  if (!g_sim.poweredOn) return Fail(ENODEV);
  if (!path || !text || capacity == 0 || std::string_view(path) != GP2X_FIRMWARE_VERSION_FILE ||
      g_sim.config.firmware.empty())
    return Fail(ENOENT);
  const std::string contents = g_sim.config.firmware + "\n";
  const size_t length = std::min(contents.size(), capacity - 1);
  std::memcpy(text, contents.data(), length);
  text[length] = '\0';
  return static_cast<long>(length);
}

int GP2X_ChangeDirectory(const char* path) {
  if (!g_sim.poweredOn) return Fail(ENODEV);
  if (!path) return Fail(EFAULT);
  g_sim.directory = path;
  return 0;
}

// The process would be replaced; the simulated console records the request and answers as a
// failed execl does, so the host decides what follows.
int GP2X_ExecLauncher(const char* path) {
  if (!g_sim.poweredOn) return Fail(ENODEV);
  if (!path) return Fail(EFAULT);
  g_sim.launcher.started = true;
  g_sim.launcher.path = path;
  g_sim.launcher.argv = {path};
  g_sim.launcher.directory = g_sim.directory;
  return Fail(ENOEXEC);
}

const char* GP2X_ErrorText() { return std::strerror(g_sim.lastError); }
