// vkr_gp2xPlatformPosix.cpp: the platform interface on the console, plain POSIX calls.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "vkr_gp2xPlatform.h"

static_assert(GP2X_O_RDWR == O_RDWR && GP2X_O_NOCTTY == O_NOCTTY && GP2X_O_NONBLOCK == O_NONBLOCK,
              "the console's open flags");

int GP2X_Open(const char* path, int flags) { return open(path, flags); }

long GP2X_Read(int fd, void* buffer, size_t bytes) { return read(fd, buffer, bytes); }

int GP2X_Close(int fd) { return close(fd); }

void* GP2X_Map(int fd, size_t length, uint32_t physical) {
  void* address = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, physical);
  return address == MAP_FAILED ? nullptr : address;
}

void GP2X_Unmap(void* address, size_t length) { munmap(address, length); }

long GP2X_ReadTextFile(const char* path, char* text, size_t capacity) {
  if (capacity == 0) return -1;
  FILE* file = std::fopen(path, "rt");
  if (!file) return -1;
  const size_t length = std::fread(text, 1, capacity - 1, file);
  std::fclose(file);
  text[length] = '\0';
  return static_cast<long>(length);
}

int GP2X_ChangeDirectory(const char* path) { return chdir(path); }

int GP2X_ExecLauncher(const char* path) { return execl(path, path, static_cast<char*>(nullptr)); }

const char* GP2X_ErrorText() { return std::strerror(errno); }
