// image_harness_test.cpp: runs the second core's image bytes in an ARM946 emulator of the test's
// own (not the simulated console's) and checks what the start-up code leaves behind: stack and
// markers, protection unit and caches, and a queue placed in memory drained to the end.
#include <gtest/gtest.h>
#include <unicorn/unicorn.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "main940t_image.h"

namespace {

constexpr uint32_t kMemorySize = 0x600000;
constexpr uint32_t kHeader = 0x100FE0;
constexpr uint32_t kRing = 0x100040;

struct Cp15Write {
  uint32_t crn, crm, opc2, value;
  bool operator==(const Cp15Write&) const = default;
};

struct Core {
  uc_engine* uc = nullptr;
  uc_hook hook = 0;
  std::vector<uint8_t> memory = std::vector<uint8_t>(kMemorySize);
  std::vector<Cp15Write> cp15Writes;

  // Before each instruction: an MCR to coprocessor 15 is noted with the value it will write.
  static void OnInstruction(uc_engine* uc, uint64_t address, uint32_t, void* user) {
    Core& core = *static_cast<Core*>(user);
    uint32_t insn = core.Word(static_cast<uint32_t>(address));
    if ((insn & 0x0FF00F10u) != 0x0E000F10u) return;  // MCR p15, 0, Rd, CRn, CRm, opc2
    uint32_t rd = (insn >> 12) & 0xF, value = 0;
    uc_reg_read(uc, UC_ARM_REG_R0 + static_cast<int>(rd), &value);
    core.cp15Writes.push_back({(insn >> 16) & 0xF, insn & 0xF, (insn >> 5) & 7, value});
  }

  Core() {
    EXPECT_EQ(uc_open(UC_ARCH_ARM, UC_MODE_ARM, &uc), UC_ERR_OK);
    EXPECT_EQ(uc_ctl_set_cpu_model(uc, UC_CPU_ARM_946), UC_ERR_OK);
    std::memcpy(memory.data(), MAIN940T_IMAGE, sizeof(MAIN940T_IMAGE));
    EXPECT_EQ(uc_mem_map_ptr(uc, 0, kMemorySize, UC_PROT_ALL, memory.data()), UC_ERR_OK);
    EXPECT_EQ(uc_hook_add(uc, &hook, UC_HOOK_CODE, reinterpret_cast<void*>(OnInstruction), this,
                          0, sizeof(MAIN940T_IMAGE) - 1),
              UC_ERR_OK);
  }
  ~Core() { uc_close(uc); }

  uint32_t Word(uint32_t address) const {
    uint32_t value;
    std::memcpy(&value, &memory[address], 4);
    return value;
  }
  void SetWord(uint32_t address, uint32_t value) { std::memcpy(&memory[address], &value, 4); }
  uint32_t Reg(int reg) const {
    uint32_t value = 0;
    uc_reg_read(uc, reg, &value);
    return value;
  }
  void Run(uint32_t from, size_t instructions) {
    ASSERT_EQ(uc_emu_start(uc, from, 0xFFFFFFFC, 0, instructions), UC_ERR_OK);
  }
};

}  // namespace

TEST(SecondCoreImage, BuildLeavesTheSameBytesAsTheLinkedArray) {
  std::ifstream file(CB_MAIN940T_BIN, std::ios::binary);
  std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  ASSERT_EQ(bytes.size(), 244u);
  EXPECT_EQ(std::memcmp(bytes.data(), MAIN940T_IMAGE, 244), 0);
}

TEST(SecondCoreImage, EveryVectorEntersTheStartUpCode) {
  Core core;
  for (uint32_t vector = 0; vector < 0x20; vector += 4) {
    core.Run(vector, 1);
    EXPECT_EQ(core.Reg(UC_ARM_REG_PC), 0x20u) << "vector " << vector;
  }
}

TEST(SecondCoreImage, StartUpSetsStackMarkersAndProtectionUnit) {
  Core core;
  core.Run(0, 200);  // through start-up into the idle loop of an empty queue

  EXPECT_EQ(core.Reg(UC_ARM_REG_SP), 0xFFFF4u);
  EXPECT_EQ(core.Word(0xFFFF4), 0x1EE7FACEu);
  EXPECT_EQ(core.Word(0xFFFF8), 0xDEADBEEFu);

  // The emulator reads the protection-unit enable back as 0 (it models no regions), so the
  // test records what the image writes to the system control coprocessor, in order.
  const std::vector<Cp15Write> expected = {
      {6, 0, 0, 0x3F}, {6, 0, 1, 0x3F},              // region 0: all memory, data and instruction
      {6, 1, 0, 0x100019}, {6, 1, 1, 0x100019},      // region 1: the 8 KiB queue area
      {2, 0, 0, 1}, {2, 0, 1, 1},                    // cacheable: region 0 only
      {3, 0, 0, 1},                                  // write buffer: region 0 only
      {5, 0, 0, 0xF}, {5, 0, 1, 0xF},                // full access to regions 0 and 1
  };
  ASSERT_EQ(core.cp15Writes.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(core.cp15Writes[i], expected[i]) << i;
  const Cp15Write& control = core.cp15Writes.back();
  EXPECT_EQ(control.crn, 1u);
  EXPECT_EQ(control.value & 0xC0001005u, 0xC0001005u);  // unit, caches, clocking mode

  uint32_t pc = core.Reg(UC_ARM_REG_PC);
  EXPECT_GE(pc, 0x94u);
  EXPECT_LT(pc, 0xF4u);
}

TEST(SecondCoreImage, DrainsAQueueAcrossTheRingsEnd) {
  Core core;
  core.SetWord(kHeader + 0x04, 998);          // read index
  core.SetWord(kHeader + 0x0C, 1000);         // capacity
  core.SetWord(kHeader + 0x10, 5);            // sent
  core.SetWord(kHeader + 0x1C, kRing);        // ring as the second core sees it
  core.Run(0, 400);

  EXPECT_EQ(core.Word(kHeader + 0x04), 3u);   // 998, 999, 0, 1, 2 taken
  EXPECT_EQ(core.Word(kHeader + 0x14), 5u);   // processed
  EXPECT_EQ(core.Word(kHeader + 0x08), 0u);   // pending
  EXPECT_EQ(core.Word(kHeader + 0x00), 0u);   // write index: not the second core's
  EXPECT_EQ(core.Word(kHeader + 0x10), 5u);   // sent: not the second core's

  core.SetWord(kHeader + 0x10, 7);            // two more arrive while it waits
  core.Run(core.Reg(UC_ARM_REG_PC), 100);
  EXPECT_EQ(core.Word(kHeader + 0x04), 5u);
  EXPECT_EQ(core.Word(kHeader + 0x14), 7u);
  EXPECT_EQ(core.Word(kHeader + 0x08), 0u);
}
