/* console_cost_plugin.c: a TCG plugin for qemu-arm that estimates what each frame of a program
 * costs the console's ARM920T. The program's own code is counted, instruction by instruction with
 * the core's timing rules and a model of its caches; the simulated console it runs against is not
 * (it does the hardware's work). A frame ends where the program enters its frame-boundary function.
 *
 * Arguments (qemu-arm -plugin console_cost.so,ARG=VALUE,...):
 *   map=FILE      code ranges and markers, a line each: "range START END CLASS" (CLASS sim, own,
 *                 mixer, idle or lib: a library's code counts for whoever called it),
 *                 "softfloat START END" (a soft-float helper, entered at START), "frame ADDRESS",
 *                 "paint ADDRESS", "menu ADDRESS", "overlay ADDRESS" (hex); without a map all code
 *                 is the program's and the run is one frame
 *   csv=FILE      a line a frame: its counts and what it showed
 *   digests=FILE  the recorder's painted frames ("demo-ms digest" a line), read at exit to give
 *                 each frame its demo time
 *   penalty=N     cycles a cache line fill stalls the core (default 44)
 *   totals=FILE   the whole run's counts (default: qemu's log, standard error)
 *   profile=FILE  where the cycles of the costliest frame that painted or showed the menu went, a
 *                 line a code range (named by the map's fourth field), costliest first
 */
#include <inttypes.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "arm920t_model.h"
#include "qemu-plugin.h"

QEMU_PLUGIN_EXPORT int qemu_plugin_version = QEMU_PLUGIN_VERSION;

enum Class { kSim, kOwn, kMixer, kIdle, kLib, kClassCount };
enum Marker { kMarkFrame = 1, kMarkPaint = 2, kMarkMenu = 4, kMarkOverlay = 8, kMarkSoftFloat = 16 };

typedef struct {
  uint32_t pc;
  uint8_t klass;
  uint8_t markers;
  bool softFloat; /* in a soft-float helper */
  int32_t range;  /* index of its code range, -1 when outside them */
  ArmTiming timing;
} Insn;

typedef struct {
  uint64_t insns, cycles, imiss, dmiss;
} Count;

typedef struct {
  Count work[kClassCount]; /* by the class the code ran for: own, mixer, idle */
  uint64_t softFloatCalls, softFloatInsns;
  uint8_t markers;
} Frame;

typedef struct {
  uint32_t start, end;
  uint8_t klass;
  char name[64];
  uint64_t cycles;      /* in the current frame */
  uint64_t worstCycles; /* in the costliest frame so far */
} Range;

static Range* g_ranges;
static size_t g_rangeCount;
static uint32_t* g_markerAddress;
static uint8_t* g_markerKind;
static size_t g_markerCount;

static Frame* g_frames;
static size_t g_frameCount, g_frameCapacity;
static Frame g_current;
static Frame g_total;

static ArmCache g_icache, g_dcache;
static uint32_t g_lastLine = UINT32_MAX;
static uint64_t g_penalty = 44;
static const char *g_csvPath, *g_digestsPath, *g_totalsPath, *g_profilePath;

/* What ran last: the class it counted for and its decoded timing, for the refill and interlock
 * charged when the next instruction shows whether a branch was taken and what it reads. */
static uint8_t g_owner = kOwn;
static const Insn* g_previous;
static uint8_t g_previousOwner = kSim;
static bool g_previousSoftFloat;
static int g_loadedRegister = -1;
static unsigned g_accesses;

static int32_t RangeOf(uint32_t pc) {
  size_t low = 0, high = g_rangeCount;
  while (low < high) {
    const size_t mid = (low + high) / 2;
    if (g_ranges[mid].end <= pc)
      low = mid + 1;
    else if (g_ranges[mid].start > pc)
      high = mid;
    else
      return (int32_t)mid;
  }
  return -1;
}

static uint8_t ClassOf(uint32_t pc) {
  if (!g_ranges) return kOwn;
  const int32_t range = RangeOf(pc);
  return range < 0 ? kLib : g_ranges[range].klass;
}

static uint8_t MarkersOf(uint32_t pc) {
  uint8_t markers = 0;
  for (size_t n = 0; n < g_markerCount; ++n)
    if (g_markerAddress[n] == pc) markers |= g_markerKind[n];
  return markers;
}

/* The soft-float helpers' code, a range each, entered at its start. */
static uint32_t* g_softFloatStart;
static uint32_t* g_softFloatEnd;
static size_t g_softFloatCount;

static bool IsSoftFloatCode(uint32_t pc) {
  for (size_t n = 0; n < g_softFloatCount; ++n)
    if (g_softFloatStart[n] <= pc && pc < g_softFloatEnd[n]) return true;
  return false;
}

static bool IsSoftFloatEntry(uint32_t pc) {
  for (size_t n = 0; n < g_softFloatCount; ++n)
    if (g_softFloatStart[n] == pc) return true;
  return false;
}

static uint64_t Cycles(const Count* count);
static uint64_t g_worstProfiled;
static size_t g_worstProfiledFrame = SIZE_MAX;

static void AddFrame(void) {
  const uint64_t cycles = Cycles(&g_current.work[kOwn]) + Cycles(&g_current.work[kMixer]);
  /* The first frame is the start-up (the resource loader copies with the menu's marker). */
  const bool profiled = g_frameCount > 0 && (g_current.markers & (kMarkPaint | kMarkMenu)) &&
                        cycles > g_worstProfiled;
  if (profiled) {
    g_worstProfiled = cycles;
    g_worstProfiledFrame = g_frameCount;
  }
  for (size_t n = 0; n < g_rangeCount; ++n) {
    if (profiled) g_ranges[n].worstCycles = g_ranges[n].cycles;
    g_ranges[n].cycles = 0;
  }
  if (g_frameCount == g_frameCapacity) {
    g_frameCapacity = g_frameCapacity ? g_frameCapacity * 2 : 8192;
    g_frames = realloc(g_frames, g_frameCapacity * sizeof *g_frames);
    if (!g_frames) abort();
  }
  g_frames[g_frameCount++] = g_current;
  memset(&g_current, 0, sizeof g_current);
}

static void Profile(uint8_t owner, int32_t range, uint64_t cycles) {
  if (range >= 0 && (owner == kOwn || owner == kMixer)) g_ranges[range].cycles += cycles;
}

static void Charge(uint8_t owner, int32_t range, uint64_t cycles) {
  g_current.work[owner].cycles += cycles;
  g_total.work[owner].cycles += cycles;
  Profile(owner, range, cycles);
}

static void OnInsn(unsigned int vcpu, void* data) {
  (void)vcpu;
  const Insn* insn = data;
  if (g_previous && g_previousOwner != kSim && g_previous->timing.refill &&
      insn->pc != g_previous->pc + 4)
    Charge(g_previousOwner, g_previous->range, g_previous->timing.refill);
  const bool interlocked = g_loadedRegister >= 0 && (insn->timing.reads >> g_loadedRegister & 1);
  g_loadedRegister = -1;
  g_accesses = 0;
  g_owner = insn->klass == kLib ? g_owner : insn->klass;
  g_previous = insn;
  g_previousOwner = g_owner;
  if (insn->markers & kMarkFrame) AddFrame();
  g_current.markers |= insn->markers & (kMarkPaint | kMarkMenu | kMarkOverlay);
  if (g_owner == kSim) {
    g_previousSoftFloat = false;
    return;
  }

  Count* frame = &g_current.work[g_owner];
  Count* total = &g_total.work[g_owner];
  ++frame->insns;
  ++total->insns;
  Charge(g_owner, insn->range, insn->timing.cycles + (interlocked ? 1 : 0));
  const uint32_t line = insn->pc / kCacheLineBytes;
  if (line != g_lastLine) {
    g_lastLine = line;
    if (ArmCacheAccess(&g_icache, insn->pc)) {
      ++frame->imiss;
      ++total->imiss;
      Profile(g_owner, insn->range, g_penalty);
    }
  }
  /* A helper entered from outside the helpers is one call; its instructions are counted apart
   * as well as with the caller's. */
  if (insn->softFloat) {
    ++g_current.softFloatInsns;
    ++g_total.softFloatInsns;
    if ((insn->markers & kMarkSoftFloat) && !g_previousSoftFloat) {
      ++g_current.softFloatCalls;
      ++g_total.softFloatCalls;
    }
  }
  g_previousSoftFloat = insn->softFloat;
}

static void OnMemory(unsigned int vcpu, qemu_plugin_meminfo_t info, uint64_t vaddr, void* data) {
  (void)vcpu;
  const Insn* insn = data;
  if (g_owner == kSim) return;
  if (g_accesses++ > 0) Charge(g_owner, insn->range, 1);
  if (qemu_plugin_mem_is_store(info)) return; /* the write buffer takes it; no allocation */
  g_loadedRegister = insn->timing.loaded;
  if (ArmCacheAccess(&g_dcache, (uint32_t)vaddr)) {
    ++g_current.work[g_owner].dmiss;
    ++g_total.work[g_owner].dmiss;
    Profile(g_owner, insn->range, g_penalty);
  }
}

static void OnTranslate(qemu_plugin_id_t id, struct qemu_plugin_tb* tb) {
  (void)id;
  const size_t count = qemu_plugin_tb_n_insns(tb);
  uint8_t before = UINT8_MAX;
  for (size_t n = 0; n < count; ++n) {
    struct qemu_plugin_insn* handle = qemu_plugin_tb_get_insn(tb, n);
    const uint32_t pc = (uint32_t)qemu_plugin_insn_vaddr(handle);
    const uint8_t klass = ClassOf(pc);
    const bool softFloat = IsSoftFloatCode(pc);
    const uint8_t markers = MarkersOf(pc) | (IsSoftFloatEntry(pc) ? kMarkSoftFloat : 0);
    /* The simulated console's code needs a callback only where it is entered. */
    if (klass == kSim && before == kSim && !markers) continue;
    before = klass;
    Insn* insn = calloc(1, sizeof *insn);
    if (!insn) abort();
    uint32_t word = 0;
    if (qemu_plugin_insn_size(handle) == 4) memcpy(&word, qemu_plugin_insn_data(handle), 4);
    insn->pc = pc;
    insn->klass = klass;
    insn->markers = markers;
    insn->softFloat = softFloat;
    insn->range = g_ranges ? RangeOf(pc) : -1;
    insn->timing = ArmDecode(word);
    qemu_plugin_register_vcpu_insn_exec_cb(handle, OnInsn, QEMU_PLUGIN_CB_NO_REGS, insn);
    if (insn->timing.memory && klass != kSim)
      qemu_plugin_register_vcpu_mem_cb(handle, OnMemory, QEMU_PLUGIN_CB_NO_REGS,
                                       QEMU_PLUGIN_MEM_RW, insn);
  }
}

static const char* const kClassNames[kClassCount] = {"sim", "own", "mixer", "idle", "lib"};

static int CompareRanges(const void* a, const void* b) {
  const Range *x = a, *y = b;
  return x->start < y->start ? -1 : x->start > y->start;
}

static bool ReadMap(const char* path) {
  FILE* file = fopen(path, "r");
  if (!file) return false;
  char kind[32], klass[32], name[64];
  uint32_t start, end;
  char line[256];
  size_t rangeCapacity = 0, markerCapacity = 0, softCapacity = 0;
  while (fgets(line, sizeof line, file)) {
    name[0] = 0;
    if (sscanf(line, "range %" SCNx32 " %" SCNx32 " %31s %63s", &start, &end, klass, name) >= 3) {
      uint8_t found = kClassCount;
      for (uint8_t c = 0; c < kClassCount; ++c)
        if (!strcmp(klass, kClassNames[c])) found = c;
      if (found == kClassCount || end <= start) continue;
      if (g_rangeCount == rangeCapacity) {
        rangeCapacity = rangeCapacity ? rangeCapacity * 2 : 256;
        g_ranges = realloc(g_ranges, rangeCapacity * sizeof *g_ranges);
        if (!g_ranges) abort();
      }
      g_ranges[g_rangeCount] = (Range){start, end, found, "", 0, 0};
      snprintf(g_ranges[g_rangeCount++].name, sizeof g_ranges->name, "%s", name);
    } else if (sscanf(line, "softfloat %" SCNx32 " %" SCNx32, &start, &end) == 2) {
      if (g_softFloatCount == softCapacity) {
        softCapacity = softCapacity ? softCapacity * 2 : 64;
        g_softFloatStart = realloc(g_softFloatStart, softCapacity * sizeof *g_softFloatStart);
        g_softFloatEnd = realloc(g_softFloatEnd, softCapacity * sizeof *g_softFloatEnd);
        if (!g_softFloatStart || !g_softFloatEnd) abort();
      }
      g_softFloatStart[g_softFloatCount] = start;
      g_softFloatEnd[g_softFloatCount++] = end;
    } else if (sscanf(line, "%31s %" SCNx32, kind, &start) == 2) {
      const uint8_t marker = !strcmp(kind, "frame")     ? kMarkFrame
                             : !strcmp(kind, "paint")   ? kMarkPaint
                             : !strcmp(kind, "menu")    ? kMarkMenu
                             : !strcmp(kind, "overlay") ? kMarkOverlay
                                                        : 0;
      if (!marker) continue;
      if (g_markerCount == markerCapacity) {
        markerCapacity = markerCapacity ? markerCapacity * 2 : 64;
        g_markerAddress = realloc(g_markerAddress, markerCapacity * sizeof *g_markerAddress);
        g_markerKind = realloc(g_markerKind, markerCapacity * sizeof *g_markerKind);
        if (!g_markerAddress || !g_markerKind) abort();
      }
      g_markerAddress[g_markerCount] = start;
      g_markerKind[g_markerCount++] = marker;
    }
  }
  fclose(file);
  if (!g_ranges) g_ranges = malloc(sizeof *g_ranges);
  qsort(g_ranges, g_rangeCount, sizeof *g_ranges, CompareRanges);
  return true;
}

static uint64_t Cycles(const Count* count) {
  return count->cycles + (count->imiss + count->dmiss) * g_penalty;
}

/* What a frame showed: before the first paint the start-up and loading screen; after the last
 * the end; between them a frame without a paint is the paused menu's. */
static const char* PhaseOf(size_t frame, size_t firstPaint, size_t lastPaint) {
  const uint8_t markers = g_frames[frame].markers;
  if (frame < firstPaint) return "startup";
  if (frame > lastPaint) return "end";
  if ((markers & kMarkMenu) || !(markers & kMarkPaint)) return "menu";
  if (markers & kMarkOverlay) return "overlay";
  return "intro";
}

static void WriteFrames(void) {
  FILE* csv = fopen(g_csvPath, "w");
  if (!csv) return;
  FILE* digests = g_digestsPath ? fopen(g_digestsPath, "r") : NULL;
  size_t firstPaint = SIZE_MAX, lastPaint = 0;
  for (size_t n = 0; n < g_frameCount; ++n)
    if (g_frames[n].markers & kMarkPaint) {
      if (firstPaint == SIZE_MAX) firstPaint = n;
      lastPaint = n;
    }
  fprintf(csv, "frame,phase,demo_ms,instructions,cycles,core_cycles,icache_misses,dcache_misses,"
               "mixer_instructions,mixer_cycles,idle_instructions,idle_cycles,softfloat_calls,"
               "softfloat_instructions\n");
  long demoMs = -1;
  for (size_t n = 0; n < g_frameCount; ++n) {
    const Frame* f = &g_frames[n];
    if ((f->markers & kMarkPaint) && digests) {
      char line[128];
      if (fgets(line, sizeof line, digests)) demoMs = strtol(line, NULL, 10);
    }
    const Count* own = &f->work[kOwn];
    const Count* mixer = &f->work[kMixer];
    const Count* idle = &f->work[kIdle];
    fprintf(csv,
            "%zu,%s,%ld,%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64
            ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 "\n",
            n, PhaseOf(n, firstPaint, lastPaint), demoMs, own->insns + mixer->insns,
            Cycles(own) + Cycles(mixer), own->cycles + mixer->cycles, own->imiss + mixer->imiss,
            own->dmiss + mixer->dmiss, mixer->insns, Cycles(mixer), idle->insns, Cycles(idle),
            f->softFloatCalls, f->softFloatInsns);
  }
  if (digests) fclose(digests);
  fclose(csv);
}

static int CompareWorstCycles(const void* a, const void* b) {
  const uint64_t x = g_ranges[*(const size_t*)a].worstCycles;
  const uint64_t y = g_ranges[*(const size_t*)b].worstCycles;
  return x > y ? -1 : x < y;
}

static void WriteProfile(void) {
  FILE* file = fopen(g_profilePath, "w");
  size_t* order = malloc((g_rangeCount + 1) * sizeof *order);
  if (file && order) {
    for (size_t n = 0; n < g_rangeCount; ++n) order[n] = n;
    qsort(order, g_rangeCount, sizeof *order, CompareWorstCycles);
    fprintf(file, "frame %zu: %" PRIu64 " cycles\n", g_worstProfiledFrame, g_worstProfiled);
    for (size_t n = 0; n < g_rangeCount && g_ranges[order[n]].worstCycles; ++n)
      fprintf(file, "%10" PRIu64 " %5.1f%% %-5s %s\n", g_ranges[order[n]].worstCycles,
              100.0 * g_ranges[order[n]].worstCycles / (double)g_worstProfiled,
              kClassNames[g_ranges[order[n]].klass], g_ranges[order[n]].name);
  }
  free(order);
  if (file) fclose(file);
}

static void OnExit(qemu_plugin_id_t id, void* data) {
  (void)id;
  (void)data;
  AddFrame();
  if (g_csvPath) WriteFrames();
  if (g_profilePath && g_ranges) WriteProfile();
  const Count* own = &g_total.work[kOwn];
  const Count* mixer = &g_total.work[kMixer];
  const Count* idle = &g_total.work[kIdle];
  char text[512];
  snprintf(text, sizeof text,
           "console cost totals: instructions %" PRIu64 " core_cycles %" PRIu64
           " icache_misses %" PRIu64 " dcache_misses %" PRIu64 " cycles %" PRIu64
           " mixer_instructions %" PRIu64 " idle_instructions %" PRIu64
           " softfloat_calls %" PRIu64 " softfloat_instructions %" PRIu64 " frames %zu\n",
           own->insns + mixer->insns, own->cycles + mixer->cycles, own->imiss + mixer->imiss,
           own->dmiss + mixer->dmiss, Cycles(own) + Cycles(mixer), mixer->insns, idle->insns,
           g_total.softFloatCalls, g_total.softFloatInsns, g_frameCount);
  FILE* totals = g_totalsPath ? fopen(g_totalsPath, "w") : NULL;
  if (totals) {
    fputs(text, totals);
    fclose(totals);
  } else {
    qemu_plugin_outs(text);
  }
}

/* A path taken as given when absolute, else from the directory qemu started in: the program may
 * change its own before the files are written. */
static const char* PathFromStart(const char* path) {
  char directory[PATH_MAX];
  if (path[0] == '/' || !getcwd(directory, sizeof directory)) return strdup(path);
  char* joined = malloc(strlen(directory) + strlen(path) + 2);
  if (joined) sprintf(joined, "%s/%s", directory, path);
  return joined;
}

QEMU_PLUGIN_EXPORT int qemu_plugin_install(qemu_plugin_id_t id, const qemu_info_t* info, int argc,
                                           char** argv) {
  if (strcmp(info->target_name, "arm") != 0) return -1;
  for (int n = 0; n < argc; ++n) {
    const char* value = strchr(argv[n], '=');
    if (!value) return -1;
    ++value;
    if (!strncmp(argv[n], "map=", 4)) {
      if (!ReadMap(value)) return -1;
    } else if (!strncmp(argv[n], "csv=", 4)) {
      g_csvPath = PathFromStart(value);
    } else if (!strncmp(argv[n], "digests=", 8)) {
      g_digestsPath = PathFromStart(value);
    } else if (!strncmp(argv[n], "totals=", 7)) {
      g_totalsPath = PathFromStart(value);
    } else if (!strncmp(argv[n], "profile=", 8)) {
      g_profilePath = PathFromStart(value);
    } else if (!strncmp(argv[n], "penalty=", 8)) {
      g_penalty = strtoull(value, NULL, 10);
    } else {
      return -1;
    }
  }
  ArmCacheReset(&g_icache);
  ArmCacheReset(&g_dcache);
  qemu_plugin_register_vcpu_tb_trans_cb(id, OnTranslate);
  qemu_plugin_register_atexit_cb(id, OnExit, NULL);
  return 0;
}
