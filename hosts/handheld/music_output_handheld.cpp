// music_output_handheld.cpp: the console program's music output, libmikmod's Open Sound System
// driver.
#include "music_output_handheld.h"

#include <mikmod.h>

MDRIVER* const* VKR_RegisterHandheldMusicDrivers() {
  static MDRIVER* const drivers[] = {&drv_oss, nullptr};
  MikMod_RegisterDriver(&drv_oss);
  return drivers;
}
