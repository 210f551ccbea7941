// trace_replay_test.cpp: a start-up and teardown on the simulated console, traced, then replayed
// against a model of the register accesses written out here from the order the hardware needs
// (the saved-register table in its own words, not the back end's): every snapshot read, the three
// writes after it, the second core held, the snapshot written back in table order.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_dir.h"
#include "sim_fixture.h"

namespace {

struct Access {
  std::string op;  // R16, W16, R32, W32
  uint32_t offset;
  uint32_t value;
};

// The two words, then the halfwords, in the order start-up saves and teardown restores them; the
// even-field address's upper half comes last.
constexpr std::array<uint32_t, 2> kSavedWords = {0x290C, 0x2910};
constexpr std::array<uint32_t, 41> kSavedHalves = {
    0x0904, 0x090A, 0x0912, 0x091C, 0x091E, 0x0924, 0x3010, 0x3014, 0x2800, 0x280A, 0x280C,
    0x280E, 0x2820, 0x2822, 0x2804, 0x2806, 0x2808, 0x2816, 0x281A, 0x281C, 0x281E, 0x2882,
    0x2824, 0x2848, 0x2818, 0x2892, 0x28DA, 0x28DC, 0x2880, 0x2826, 0x2846, 0x28DE, 0x28E0,
    0x2906, 0x2908, 0x290C, 0x290E, 0x183A, 0x181E, 0x1820, 0x2914};

// Register accesses of the trace, without the millisecond clock's timer reads and the port reads
// of the input probe's wait, which the model does not fix.
std::vector<Access> ReadTrace(const std::string& path) {
  std::ifstream in(path);
  std::vector<Access> accesses;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string time, op, window, offset, value;
    fields >> time >> op >> window >> offset >> value;
    if (window != "REG") continue;
    Access access{op, static_cast<uint32_t>(std::stoul(offset, nullptr, 16)),
                  static_cast<uint32_t>(std::stoul(value, nullptr, 16))};
    if (access.op == "R32" && access.offset == 0x0A00) continue;
    accesses.push_back(access);
  }
  return accesses;
}

// Walks the trace through the model; each Expect takes the next access.
class Replay {
 public:
  explicit Replay(std::vector<Access> accesses) : accesses_(std::move(accesses)) {}
  // Returns the value the access carried.
  uint32_t Expect(const std::string& op, uint32_t offset) {
    if (next_ >= accesses_.size()) {
      ADD_FAILURE() << "trace ends where " << op << " " << std::hex << offset << " was due";
      return 0;
    }
    const Access& access = accesses_[next_++];
    EXPECT_EQ(access.op + " " + Hex(access.offset), op + " " + Hex(offset)) << "access " << next_;
    return access.value;
  }
  void Expect(const std::string& op, uint32_t offset, uint32_t value) {
    EXPECT_EQ(Expect(op, offset), value) << op << " " << Hex(offset);
  }
  // Skips accesses until the first to `offset`.
  void SkipTo(const std::string& op, uint32_t offset) {
    while (next_ < accesses_.size() &&
           !(accesses_[next_].op == op && accesses_[next_].offset == offset))
      ++next_;
  }
  size_t Left() const { return accesses_.size() - next_; }

 private:
  static std::string Hex(uint32_t v) {
    std::ostringstream s;
    s << "0x" << std::hex << std::uppercase << v;
    return s.str();
  }
  std::vector<Access> accesses_;
  size_t next_ = 0;
};

TEST_F(SimTest, TracedStartUpAndTeardownFollowTheRegisterModel) {
  ScratchDir dir("cb_sim_replay");
  SimConfig config;
  config.tracePath = (dir.path() / "trace.txt").string();
  PowerOn(config);
  ASSERT_EQ(Start(), VKR_OK);
  ASSERT_EQ(VKR_FreeLowLevelAPI(0), VKR_OK);
  SimPowerOff();

  Replay replay(ReadTrace(config.tracePath));
  // Which output the firmware left running, then the snapshot in table order.
  replay.Expect("R16", 0x2800);
  std::map<uint32_t, uint32_t> saved;
  for (uint32_t word : kSavedWords) saved[word | 0x10000] = replay.Expect("R32", word);
  for (uint32_t half : kSavedHalves) saved[half] = replay.Expect("R16", half);
  // After the snapshot: every peripheral clock on, the display clock bit set, 0x2884 cleared.
  replay.Expect("W16", 0x090A, 0xFFFF);
  const uint32_t clocks = replay.Expect("R16", 0x0904);
  replay.Expect("W16", 0x0904, clocks | 0x0400);
  replay.Expect("W16", 0x2884, 0x0000);

  // Teardown: the second core held and clocked before anything else.
  replay.SkipTo("W16", 0x3B48);
  replay.Expect("W16", 0x3B48, 0x0083);
  const uint32_t running = replay.Expect("R16", 0x0904);
  replay.Expect("W16", 0x0904, running | 0x0001);
  // The snapshot written back in the same order; the CPU clock's read-back value goes to the
  // register that sets it.
  for (uint32_t word : kSavedWords) replay.Expect("W32", word, saved[word | 0x10000]);
  for (uint32_t half : kSavedHalves)
    replay.Expect("W16", half == 0x0912 ? 0x0910 : half, saved[half]);
  EXPECT_EQ(replay.Left(), 0u);
}

}  // namespace
