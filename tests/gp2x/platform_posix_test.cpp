// platform_posix_test.cpp: the console's platform calls (POSIX) on a file of this machine standing
// in for /dev/mem: each window maps the bytes at its physical address, those above 2 GiB included,
// which a 32-bit file offset cannot reach. Never opens the host's /dev/mem.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scratch_dir.h"
#include "vkr_gp2xPlatform.h"
#include "vkr_gp2xRegisters.h"

TEST(PlatformPosix, MapsEveryWindowAtItsPhysicalAddress) {
  ScratchDir dir("cb_platform_posix");
  // Sparse: only the pages written below take room.
  const int fd = open("mem", O_RDWR | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  const uint32_t windows[] = {GP2X_REG_WINDOW_PHYS, GP2X_BLITTER_WINDOW_PHYS, GP2X_VIDEO_MEMORY_PHYS,
                              GP2X_DUALCORE_MEMORY_PHYS};
  for (const uint32_t physical : windows) {
    const uint32_t marker[2] = {physical, ~physical};
    ASSERT_EQ(pwrite64(fd, marker, sizeof marker, physical), static_cast<ssize_t>(sizeof marker))
        << std::hex << physical;
  }
  for (const uint32_t physical : windows) {
    void* window = GP2X_Map(fd, 0x1000, physical);
    ASSERT_NE(window, nullptr) << std::hex << physical << ": " << GP2X_ErrorText();
    const uint32_t* words = static_cast<const uint32_t*>(window);
    EXPECT_EQ(words[0], physical);
    EXPECT_EQ(words[1], ~physical);
    GP2X_Unmap(window, 0x1000);
  }
  close(fd);
}

TEST(PlatformPosix, TextFileIsCutToCapacityAndEnded) {
  ScratchDir dir("cb_platform_posix_text");
  dir.Write("version", {'4', '.', '1', '.', '0', '\n'});
  char text[4];
  EXPECT_EQ(GP2X_ReadTextFile("version", text, sizeof text), 3);
  EXPECT_STREQ(text, "4.1");
  EXPECT_EQ(GP2X_ReadTextFile("version", text, 0), -1);
  EXPECT_EQ(GP2X_ReadTextFile("missing", text, sizeof text), -1);
}
