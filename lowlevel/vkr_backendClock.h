// vkr_backendClock.h: the one thing the common clock operations need from the back end they are
// linked with: its millisecond clock.
#pragma once

#include <cstdint>

// The back end's clock in milliseconds; false, nothing written, when it cannot be read yet (the
// hardware back end before start-up).
bool LowLevel_ReadClockMS(uint32_t* milliseconds);
