/* arm920t_model.h: the ARM920T's timing as the console-cost plugin estimates it: each ARM-state
 * instruction decoded once into its issue cycles, the registers it reads and loads, and how it can
 * change the flow; the 16 KiB 64-way caches with 32-byte lines. */
#ifndef ARM920T_MODEL_H
#define ARM920T_MODEL_H

#include <stdbool.h>
#include <stdint.h>

/* Cycles a pipeline refill adds after a taken branch or a PC written by an ALU instruction, and
 * after a load into the PC. */
enum { kArmBranchRefill = 2, kArmLoadPcRefill = 4 };

typedef struct {
  uint8_t cycles;        /* issue cycles when executed (memory instructions: the first access) */
  int8_t loaded;         /* register a single load writes, or the last one a block load writes; -1 */
  uint8_t refill;        /* extra cycles when the next instruction is not the following word */
  bool memory;           /* a load or store: each further access of it costs one more cycle */
  bool load;             /* reads memory (the data cache sees it) */
  uint16_t reads;        /* registers read, a bit each */
} ArmTiming;

/* Decodes one ARM-state instruction word. */
ArmTiming ArmDecode(uint32_t word);

/* One cache: 8 sets of 64 ways of 32-byte lines, round-robin replacement within a set (one of
 * the core's two replacement modes; the other is pseudo-random). */
enum { kCacheLineBytes = 32, kCacheWays = 64, kCacheSets = 16384 / kCacheLineBytes / kCacheWays };
typedef struct {
  uint32_t tags[kCacheSets][kCacheWays];
  uint8_t valid[kCacheSets][kCacheWays];
  uint8_t next[kCacheSets];
} ArmCache;

void ArmCacheReset(ArmCache* cache);
/* Looks the address up; on a miss allocates its line. Answers whether it missed. */
bool ArmCacheAccess(ArmCache* cache, uint32_t address);

#endif
