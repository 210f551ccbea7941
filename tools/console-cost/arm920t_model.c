/* arm920t_model.c: the ARM920T's instruction timing (its ARM9TDMI core: single issue, five
 * stages) and its caches, for the console-cost plugin. */
#include "arm920t_model.h"

#include <string.h>

static uint16_t Bit(uint32_t reg) { return (uint16_t)(1u << (reg & 15)); }

static int HighestRegister(uint32_t list) {
  for (int reg = 15; reg >= 0; --reg)
    if (list & (1u << reg)) return reg;
  return -1;
}

/* Multiplies: the core's multiplier takes 8 bits of Rs a cycle and stops early; the plugin cannot
 * see Rs, so two steps are charged (16-bit operands: samples, volumes, fixed-point factors). */
enum { kMultiplySteps = 2 };

ArmTiming ArmDecode(uint32_t word) {
  ArmTiming t = {1, -1, 0, false, false, 0};
  const uint32_t rn = (word >> 16) & 15, rd = (word >> 12) & 15, rs = (word >> 8) & 15, rm = word & 15;
  if ((word >> 28) == 0xF) return t; /* unconditional space (preload and the like): one cycle */
  if ((word & 0x0E000000) == 0x0A000000) { /* B, BL */
    t.refill = kArmBranchRefill;
    return t;
  }
  if ((word & 0x0FFFFFD0) == 0x012FFF10) { /* BX, BLX register */
    t.refill = kArmBranchRefill;
    t.reads = Bit(rm);
    return t;
  }
  if ((word & 0x0FC000F0) == 0x00000090) { /* MUL, MLA */
    t.cycles = 1 + kMultiplySteps;
    t.reads = Bit(rm) | Bit(rs) | ((word & (1u << 21)) ? Bit(rd) : 0);
    return t;
  }
  if ((word & 0x0F8000F0) == 0x00800090) { /* UMULL, UMLAL, SMULL, SMLAL */
    t.cycles = 2 + kMultiplySteps + ((word & (1u << 21)) ? 1 : 0);
    t.reads = Bit(rm) | Bit(rs) | ((word & (1u << 21)) ? Bit(rd) | Bit(rn) : 0);
    return t;
  }
  if ((word & 0x0FB00FF0) == 0x01000090) { /* SWP, SWPB: a load and a store */
    t.memory = t.load = true;
    t.loaded = (int8_t)rd;
    t.reads = Bit(rn) | Bit(rm);
    return t;
  }
  if ((word & 0x0E000090) == 0x00000090 && (word & 0x60)) { /* LDRH, STRH, LDRSB, LDRSH */
    t.memory = true;
    t.load = (word & (1u << 20)) != 0;
    t.reads = Bit(rn) | ((word & (1u << 22)) ? 0 : Bit(rm)) | (t.load ? 0 : Bit(rd));
    if (t.load) t.loaded = (int8_t)rd;
    if (t.load && rd == 15) t.refill = kArmLoadPcRefill;
    return t;
  }
  if ((word & 0x0C000000) == 0x00000000) { /* data processing, MRS, MSR */
    const uint32_t opcode = (word >> 21) & 15;
    const bool immediate = (word & (1u << 25)) != 0;
    const bool compare = opcode >= 8 && opcode <= 11;
    if (compare && !(word & (1u << 20))) return t; /* MRS, MSR */
    if (opcode != 13 && opcode != 15) t.reads |= Bit(rn);
    if (!immediate) {
      t.reads |= Bit(rm);
      if (word & 0x10) { /* shift by a register: one more cycle */
        t.reads |= Bit(rs);
        ++t.cycles;
      }
    }
    if (!compare && rd == 15) t.refill = kArmBranchRefill;
    return t;
  }
  if ((word & 0x0C000000) == 0x04000000) { /* LDR, STR, LDRB, STRB */
    t.memory = true;
    t.load = (word & (1u << 20)) != 0;
    t.reads = Bit(rn) | ((word & (1u << 25)) ? Bit(rm) : 0) | (t.load ? 0 : Bit(rd));
    if (t.load) t.loaded = (int8_t)rd;
    if (t.load && rd == 15) t.refill = kArmLoadPcRefill;
    return t;
  }
  if ((word & 0x0E000000) == 0x08000000) { /* LDM, STM: a cycle a register */
    const uint32_t list = word & 0xFFFF;
    t.memory = true;
    t.load = (word & (1u << 20)) != 0;
    t.reads = Bit(rn) | (t.load ? 0 : (uint16_t)list);
    if (t.load) {
      t.loaded = (int8_t)HighestRegister(list);
      if (list & 0x8000) t.refill = kArmLoadPcRefill;
    }
    return t;
  }
  if ((word & 0x0F000000) == 0x0F000000) t.cycles = 3; /* SWI */
  return t;
}

void ArmCacheReset(ArmCache* cache) { memset(cache, 0, sizeof *cache); }

bool ArmCacheAccess(ArmCache* cache, uint32_t address) {
  const uint32_t line = address / kCacheLineBytes;
  const uint32_t set = line % kCacheSets, tag = line / kCacheSets;
  for (int way = 0; way < kCacheWays; ++way)
    if (cache->valid[set][way] && cache->tags[set][way] == tag) return false;
  const uint8_t way = cache->next[set];
  cache->tags[set][way] = tag;
  cache->valid[set][way] = 1;
  cache->next[set] = (uint8_t)((way + 1) % kCacheWays);
  return true;
}
