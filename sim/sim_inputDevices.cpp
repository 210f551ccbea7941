// sim_inputDevices.cpp: the input event devices (16-byte Linux input events, whole events only)
// and the touch screen (8-byte records: pressure, x, y, a spare word), fed by the window and the
// tests.
#include <cerrno>
#include <cstring>

#include "sim_state.h"

namespace {

constexpr size_t kEventBytes = 16;

void Put16(uint8_t* at, uint16_t value) { std::memcpy(at, &value, 2); }

}  // namespace

void SimQueueInputEvent(uint32_t device, uint16_t type, uint16_t code, int32_t value) {
  if (!g_sim.poweredOn || device >= g_sim.input.events.size()) return;
  std::array<uint8_t, kEventBytes> record{};
  const uint64_t now = g_sim.clock.nowNs;
  const uint32_t seconds = static_cast<uint32_t>(now / 1000000000);
  const uint32_t microseconds = static_cast<uint32_t>(now / 1000 % 1000000);
  std::memcpy(&record[0], &seconds, 4);
  std::memcpy(&record[4], &microseconds, 4);
  Put16(&record[8], type);
  Put16(&record[10], code);
  std::memcpy(&record[12], &value, 4);
  g_sim.input.events[device].push_back(record);
}

void SimQueueTouch(uint16_t pressure, uint16_t x, uint16_t y) {
  std::vector<uint8_t> record(8, 0);
  Put16(&record[0], pressure);
  Put16(&record[2], x);
  Put16(&record[4], y);
  SimQueueTouchBytes(record);
}

void SimQueueTouchBytes(const std::vector<uint8_t>& bytes) {
  if (!g_sim.poweredOn) return;
  g_sim.input.touch.push_back(bytes);
}

// As the Linux event interface: a buffer too small for one event is refused; otherwise as many
// whole events as fit.
long SimInput_ReadEvent(uint32_t device, void* buffer, size_t bytes, bool nonBlocking) {
  auto& queue = g_sim.input.events[device];
  if (bytes < kEventBytes) return -EINVAL;
  if (queue.empty()) return nonBlocking ? -EAGAIN : 0;
  size_t done = 0;
  while (!queue.empty() && bytes - done >= kEventBytes) {
    std::memcpy(static_cast<uint8_t*>(buffer) + done, queue.front().data(), kEventBytes);
    queue.pop_front();
    done += kEventBytes;
  }
  return static_cast<long>(done);
}

// One queued record a read, cut to the buffer. A blocking read with nothing queued would wait for
// ever on the console; here it reads nothing, so a caller stuck that way shows as a short read.
long SimInput_ReadTouch(void* buffer, size_t bytes, bool nonBlocking) {
  auto& queue = g_sim.input.touch;
  if (queue.empty()) return nonBlocking ? -EAGAIN : 0;
  const size_t length = std::min(bytes, queue.front().size());
  std::memcpy(buffer, queue.front().data(), length);
  queue.pop_front();
  return static_cast<long>(length);
}
