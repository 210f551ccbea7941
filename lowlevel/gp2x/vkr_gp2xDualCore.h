// vkr_gp2xDualCore.h: the second core's memory as both cores use it: the window the main core
// reaches it through, where the program, the queue ring and the queue header lie, and the header's
// fields. Addresses are the second core's, which are byte offsets into the window.
#pragma once

#include <cstdint>

// The second-core window (6 MiB), owned by the back end's start-up (vkr_lowLevelGP2X.cpp): null
// while closed, set while open. Shared with the second core; every access to it is volatile.
extern volatile uint32_t* g_pGP2X_DUALCORE_MEM;

inline constexpr uint32_t GP2X_DUALCORE_MEM_SIZE = 0x600000;
inline constexpr uint32_t GP2X_DUALCORE_QUEUE_AREA = 0x100000;  // 8 KiB, uncached on the core
inline constexpr uint32_t GP2X_DUALCORE_RING = 0x100040;
inline constexpr uint32_t GP2X_DUALCORE_HEADER = 0x100FE0;
inline constexpr uint32_t GP2X_DUALCORE_CAPACITY = 1000;

// Queue header, byte offsets from GP2X_DUALCORE_HEADER. Every field has one writer; pending is
// sent - processed, and the pending word only mirrors it (both cores refresh it, neither reads it).
inline constexpr uint32_t GP2X_DCQ_WRITE_INDEX = 0x00;    // main core
inline constexpr uint32_t GP2X_DCQ_READ_INDEX = 0x04;     // second core
inline constexpr uint32_t GP2X_DCQ_PENDING = 0x08;        // mirror of sent - processed
inline constexpr uint32_t GP2X_DCQ_CAPACITY = 0x0C;       // start
inline constexpr uint32_t GP2X_DCQ_SENT = 0x10;           // main core
inline constexpr uint32_t GP2X_DCQ_PROCESSED = 0x14;      // second core
inline constexpr uint32_t GP2X_DCQ_SENDER_RING = 0x18;    // start: the ring as the main core sees it
inline constexpr uint32_t GP2X_DCQ_RECEIVER_RING = 0x1C;  // start: the ring as the second core sees it

static_assert(GP2X_DUALCORE_RING + 4 * GP2X_DUALCORE_CAPACITY == GP2X_DUALCORE_HEADER);
static_assert(GP2X_DUALCORE_HEADER + 8 * 4 <= GP2X_DUALCORE_QUEUE_AREA + 0x2000);
