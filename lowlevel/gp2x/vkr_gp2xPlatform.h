// vkr_gp2xPlatform.h: the hardware back end's one way to the operating system. On the console these
// are the POSIX calls (vkr_gp2xPlatformPosix.cpp); on the PC the simulated console answers them
// (sim/), so the host's device files cannot be reached from the back end.
#pragma once

#include <cstddef>
#include <cstdint>

// The console's files the back end uses.
inline constexpr const char* GP2X_DEV_MEM = "/dev/mem";
inline constexpr const char* GP2X_DEV_TOUCHSCREEN = "/dev/touchscreen/wm97xx";
inline constexpr const char* GP2X_DEV_INPUT_EVENT = "/dev/input/event%d";
inline constexpr const char* GP2X_FIRMWARE_VERSION_FILE = "/usr/gp2x/version";
inline constexpr const char* GP2X_LAUNCHER_DIR = "/usr/gp2x";
inline constexpr const char* GP2X_LAUNCHER = "/usr/gp2x/gp2xmenu";

// Flags of GP2X_Open, the console's own O_ values.
inline constexpr int GP2X_O_RDONLY = 0x0000;
inline constexpr int GP2X_O_RDWR = 0x0002;
inline constexpr int GP2X_O_NOCTTY = 0x0100;
inline constexpr int GP2X_O_NONBLOCK = 0x0800;

// open(2): a descriptor, or -1.
int GP2X_Open(const char* path, int flags);
// read(2): bytes read, 0 at the end, -1 on failure (also when nothing waits on a non-blocking
// device).
long GP2X_Read(int fd, void* buffer, size_t bytes);
int GP2X_Close(int fd);
// mmap(2) of `length` bytes of fd at physical address `physical`, shared, read and write: the
// window's address, or null.
void* GP2X_Map(int fd, size_t length, uint32_t physical);
void GP2X_Unmap(void* address, size_t length);
// The text of a small file (the firmware version file), 0-terminated; -1 when it does not open.
long GP2X_ReadTextFile(const char* path, char* text, size_t capacity);
int GP2X_ChangeDirectory(const char* path);
// execl(path, path, NULL): answers only when the launcher could not be started.
int GP2X_ExecLauncher(const char* path);
// The text of the last failed call's error number.
const char* GP2X_ErrorText();
