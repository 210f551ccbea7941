// Thousands of seeded random display, blitter and rotator calls, in range and out of range, made
// on the simulated console with its access log on and replayed through the register model beside
// them: each call's result, register writes in order and video-memory record are as the model
// expects, and at the end every register and table entry the model wrote holds its value.
#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "display_register_model.h"
#include "sim_fixture.h"
#include "sim_state.h"

namespace {

constexpr uint32_t kVideoBytes = 0x800000;
// The encoder's bus lines (port B output and pin function): the output switch of a mode change
// drives them before it touches the display controller; that transfer is the encoder's business.
constexpr uint32_t kBusOutput = 0x1062, kBusPinFunction = 0x1022;
// Reports beyond this many in one session add nothing.
constexpr int kMaxReports = 8;

std::string Hex(uint32_t v) {
  std::ostringstream s;
  s << "0x" << std::hex << std::uppercase << v;
  return s.str();
}

std::string Describe(const std::vector<ModelWrite>& writes, size_t from) {
  std::ostringstream s;
  for (size_t i = from; i < writes.size() && i < from + 6; ++i) {
    const ModelWrite& w = writes[i];
    s << (w.blitter ? " BLT " : " REG ") << (w.wide ? "W32 " : "W16 ") << Hex(w.offset) << '='
      << Hex(w.value);
  }
  return s.str();
}

// An argument as a failure report shows it: numbers in hexadecimal, arrays by whether they are
// there.
template <typename T>
std::string Printable(T value) {
  if constexpr (std::is_pointer_v<T>)
    return value ? "array" : "null";
  else
    return Hex(static_cast<uint32_t>(value));
}

std::string Bytes(const uint8_t* bytes, size_t count) {
  std::ostringstream s;
  for (size_t i = 0; i < count && i < 32; ++i)
    s << ' ' << std::hex << (bytes[i] >> 4) << (bytes[i] & 0xF);
  return s.str();
}

// The seeded argument source: mostly sensible values, with the edges and the out-of-range ones
// mixed in.
struct Arguments {
  std::mt19937 random;
  explicit Arguments(uint32_t seed) : random(seed) {}
  uint32_t Below(uint32_t n) { return random() % n; }
  bool Chance(uint32_t percent) { return Below(100) < percent; }
  uint16_t Half() { return static_cast<uint16_t>(random()); }
  uint32_t Flag() { return Chance(50) ? 0 : Chance(70) ? 1 : random(); }
  // A video-memory offset; `badPercent` of them past the end.
  uint32_t Offset(uint32_t badPercent) {
    if (Chance(badPercent)) {
      constexpr uint32_t kBad[] = {kVideoBytes, kVideoBytes + 1, 0xFFFFFFFF, 0x80000000};
      return Chance(50) ? kBad[Below(4)] : kVideoBytes + Below(0xF0000000);
    }
    if (Chance(8)) {
      constexpr uint32_t kEdges[] = {0, 1, 2, 3, 0x7FFFFF, 0x7FFFFC, 0x7FFFF4, 0x7FFFE4, 0x7FFF80};
      return kEdges[Below(std::size(kEdges))];
    }
    return Below(kVideoBytes);
  }
  uint32_t Pitch() { return Chance(5) ? random() : Below(Chance(20) ? 4096 : 1024); }
};

class DisplayRegisterModelTest : public SimTest {
 protected:
  // Powers on with the firmware's output and version, starts the back end and the model from the
  // registers start-up left.
  void StartOn(SimTV tv, const char* firmware, bool laterHardware) {
    SimConfig config;
    config.tv = tv;
    config.firmware = firmware;
    PowerOn(config);
    ASSERT_EQ(Start(), VKR_OK);
    uint32_t mode = 0;
    int depth = 0;
    ASSERT_EQ(VKR_GetDisplayMode(&mode, &depth), VKR_OK);
    for (uint32_t half = 0; half < kModelRegisterHalves; ++half)
      model_.reg[half] = SimPeekReg16(half * 2);
    std::copy(g_sim.blitter.begin(), g_sim.blitter.end(), model_.blitter.begin());
    model_.palette = g_sim.display.palette;
    model_.gamma = g_sim.display.gamma;
    model_.osdPalette = g_sim.display.osdPalette;
    RM_Start(&model_, mode, laterHardware);
    VKR_GetVideoBasePtr(&video_);
    log_.clear();
    SimSetAccessLog(&log_);
    reports_ = 0;
  }

  // What a call may do besides its register writes.
  struct Allowed {
    bool modeChange = false;          // drive the encoder's bus lines before the display's writes
    uint32_t recordAt = kVideoBytes;  // write a record here (the bytes around it stay)
  };

  // One operation through the back end and the model with the same arguments.
  template <typename... A>
  void Call(const char* name, uint32_t (*real)(A...), uint32_t (*model)(RegisterModel*, A...),
            Allowed allowed, std::type_identity_t<A>... args) {
    std::ostringstream call;
    call << name << '(';
    [[maybe_unused]] const char* separator = "";  // unused by the operations without arguments
    ((call << separator << Printable(args), separator = ", "), ...);
    call << ") in mode " << model_.mode << " at depth " << model_.depth;
    Check(
        call.str(), [&] { return real(args...); },
        [&](RegisterModel* m) { return model(m, args...); }, allowed);
  }

  // The same result, the same writes in the same order, and the record the model expects in
  // video memory, the bytes around it unchanged (a rejected record writer writes nothing).
  template <typename Real, typename Model>
  void Check(const std::string& call, Real real, Model model, Allowed allowed) {
    constexpr uint32_t kRecordWindow = 132;
    const uint32_t windowStart = std::min(allowed.recordAt & ~3u, kVideoBytes);
    const uint32_t windowBytes = std::min(kRecordWindow, kVideoBytes - windowStart);
    std::vector<uint8_t> before(video_ + windowStart, video_ + windowStart + windowBytes);

    RM_BeginCall(&model_);
    const uint32_t expected = model(&model_);
    log_.clear();
    const uint32_t result = real();
    ++calls_;
    rejected_ += expected == VKR_BAD_ARGUMENT;

    std::vector<ModelWrite> writes;
    bool displayWritten = false, busAfterDisplay = false;
    for (const SimAccess& a : log_) {
      if (!a.write) continue;
      const bool bus = !a.blitter && (a.offset == kBusOutput || a.offset == kBusPinFunction);
      if (allowed.modeChange && bus) {
        busAfterDisplay |= displayWritten;
        continue;
      }
      displayWritten = true;
      writes.push_back({a.blitter, a.wide, a.offset, a.value});
    }
    writesChecked_ += writes.size();

    std::vector<uint8_t> after = before;
    const std::vector<uint8_t>& record = model_.recordBytes;
    if (!record.empty()) {
      recordsChecked_++;
      std::copy(record.begin(), record.end(), after.begin() + (model_.recordOffset - windowStart));
    }
    const bool memoryAsExpected = std::equal(after.begin(), after.end(), video_ + windowStart);

    if (result == expected && writes == model_.writes && !busAfterDisplay && memoryAsExpected)
      return;
    ++mismatches_;
    if (++reports_ > kMaxReports) return;
    size_t first = 0;
    while (first < writes.size() && first < model_.writes.size() &&
           writes[first] == model_.writes[first])
      ++first;
    ADD_FAILURE() << "call " << calls_ << ": " << call << "\n  result " << result << ", model "
                  << expected << "\n  writes " << writes.size() << ", model "
                  << model_.writes.size() << ", first difference at " << first
                  << "\n  back end:" << Describe(writes, first)
                  << "\n  model:   " << Describe(model_.writes, first)
                  << (busAfterDisplay ? "\n  the encoder's bus moved after the display controller"
                                      : "")
                  << (memoryAsExpected
                          ? ""
                          : "\n  video memory at " + Hex(windowStart) + ":" +
                                Bytes(video_ + windowStart, after.size()) +
                                "\n  model:          " + Bytes(after.data(), after.size()));
  }

  // Every register, blitter register and table entry the model wrote holds what it says.
  void CompareRegisterFiles() {
    int differences = 0;
    for (uint32_t half = 0; half < kModelRegisterHalves; ++half) {
      if (!model_.touched.test(half)) continue;
      ++registersCompared_;
      const uint16_t console = SimPeekReg16(half * 2);
      if (console != model_.reg[half] && ++differences <= kMaxReports)
        ADD_FAILURE() << "register " << Hex(half * 2) << " holds " << Hex(console) << ", model "
                      << Hex(model_.reg[half]);
    }
    for (uint32_t word = 0; word < kModelBlitterWords; ++word) {
      if (!model_.blitterTouched.test(word)) continue;
      ++registersCompared_;
      if (g_sim.blitter[word] != model_.blitter[word] && ++differences <= kMaxReports)
        ADD_FAILURE() << "blitter register " << Hex(word * 4) << " holds "
                      << Hex(g_sim.blitter[word]) << ", model " << Hex(model_.blitter[word]);
    }
    EXPECT_EQ(g_sim.display.palette, model_.palette);
    EXPECT_EQ(g_sim.display.gamma, model_.gamma);
    EXPECT_EQ(g_sim.display.osdPalette, model_.osdPalette);
    EXPECT_EQ(differences, 0);
  }

  void RandomCall(Arguments& g);
  void RunSession(SimTV tv, const char* firmware, bool laterHardware, uint32_t seed, int calls) {
    StartOn(tv, firmware, laterHardware);
    Arguments g(seed);
    for (int i = 0; i < calls && reports_ <= kMaxReports; ++i) RandomCall(g);
    ASSERT_EQ(VKR_WaitHwBlitter(0), VKR_OK);
    ASSERT_EQ(VKR_WaitHwBlitter(1), VKR_OK);
    SimSetAccessLog(nullptr);
    CompareRegisterFiles();
  }

  RegisterModel model_;
  std::vector<SimAccess> log_;
  uint8_t* video_ = nullptr;
  int reports_ = 0;
  uint64_t calls_ = 0, rejected_ = 0, writesChecked_ = 0, recordsChecked_ = 0,
           registersCompared_ = 0, mismatches_ = 0;
};

// Table operations share their argument choice: a start and count in range or past the end, an
// empty table, a missing one.
struct TableArguments {
  uint16_t first, count;
  bool null;
  std::vector<uint32_t> entries;
};
TableArguments Table(Arguments& g) {
  TableArguments t;
  t.count = static_cast<uint16_t>(g.Chance(8) ? 0 : 1 + g.Below(g.Chance(20) ? 256 : 8));
  t.first = static_cast<uint16_t>(g.Chance(10) ? g.random()
                                               : g.Below(257 - std::min<uint32_t>(t.count, 256)));
  if (g.Chance(5)) t.first = static_cast<uint16_t>(256 - t.count);  // up to the last entry
  if (g.Chance(5)) t.first = static_cast<uint16_t>(257 - t.count);  // one past the end
  t.null = g.Chance(4);
  t.entries.resize(std::max<uint16_t>(t.count, 1));
  for (uint32_t& e : t.entries) e = g.random();
  return t;
}

void DisplayRegisterModelTest::RandomCall(Arguments& g) {
  switch (g.Below(29)) {
    case 0: {
      // Mostly a mode of the output running now: the output switch is the encoder's business.
      constexpr int kDepths[] = {4, 8, 16, 24};
      const uint32_t now = model_.mode;
      uint32_t mode = now <= 4 ? g.Below(5) : now <= 18 ? 5 + g.Below(14) : 19 + g.Below(14);
      if (g.Chance(15)) mode = g.Below(33);
      int depth = kDepths[g.Below(4)];
      if (g.Chance(8)) mode = g.Chance(50) ? 33 + g.Below(100) : g.random();
      if (g.Chance(8)) depth = g.Chance(50) ? 12 : static_cast<int>(g.random());
      Call("VKR_SetDisplayMode", VKR_SetDisplayMode, RM_SetDisplayMode, {.modeChange = true}, mode,
           depth);
      break;
    }
    case 1: {
      const uint32_t offset = g.Offset(10);
      Call("VKR_SetRGBStartAddress", VKR_SetRGBStartAddress, RM_SetRGBStartAddress, {}, offset);
      break;
    }
    case 2: {
      const uint32_t key = g.random();
      Call("VKR_SetRGBRegionColorKey", VKR_SetRGBRegionColorKey, RM_SetRGBRegionColorKey, {}, key);
      break;
    }
    case 3:
    case 4: {
      const uint32_t region = g.Chance(10) ? (g.Chance(50) ? 0 : 6 + g.Below(100)) : 1 + g.Below(5);
      const uint32_t active = g.Flag(), visible = g.Flag();
      const uint16_t operation = static_cast<uint16_t>(g.Chance(8) ? g.Half() : g.Below(3));
      const uint16_t alpha = static_cast<uint16_t>(g.Chance(8) ? g.Half() : g.Below(16));
      const uint16_t l = g.Half(), t = g.Half(), r = g.Half(), b = g.Half();
      Call("VKR_SetRGBRegionOperation", VKR_SetRGBRegionOperation, RM_SetRGBRegionOperation, {},
           region, active, visible, operation, alpha, l, t, r, b);
      break;
    }
    case 5:
    case 6:
    case 7: {
      const TableArguments t = Table(g);
      const uint32_t* entries = t.null ? nullptr : t.entries.data();
      switch (g.Below(3)) {
        case 0:
          Call("VKR_SetPalette", VKR_SetPalette, RM_SetPalette, {}, t.first, entries, t.count);
          break;
        case 1:
          Call("VKR_SetGamma", VKR_SetGamma, RM_SetGamma, {}, t.first, entries, t.count);
          break;
        default:
          Call("VKR_SetOSDPalette", VKR_SetOSDPalette, RM_SetOSDPalette, {}, t.first, entries,
               t.count);
      }
      break;
    }
    case 8: {
      const uint32_t on = g.Flag();
      Call("VKR_EnableGamma", VKR_EnableGamma, RM_EnableGamma, {}, on);
      break;
    }
    case 9:
    case 10: {
      const uint32_t enable = g.Flag();
      const uint16_t size = g.Chance(10) ? g.Half() : (g.Chance(50) ? 32 : 64);
      const uint32_t color1 = g.random(), color0 = g.random(), offset = g.Offset(8);
      Call("VKR_SetCursorParams", VKR_SetCursorParams, RM_SetCursorParams, {}, enable, size, color1,
           color0, offset);
      break;
    }
    case 11: {
      const uint16_t x = g.Half(), y = g.Half();
      Call("VKR_MoveCursor", VKR_MoveCursor, RM_MoveCursor, {}, x, y);
      break;
    }
    case 12:
    case 13: {
      const uint32_t plane = g.Flag(), enable = g.Chance(80) ? g.Flag() | 1 : 0;
      const uint16_t l = g.Half(), t = g.Half(), r = g.Half(), b = g.Half();
      const uint16_t split = g.Chance(30) ? b : g.Half();
      const uint16_t pitch = static_cast<uint16_t>(g.Chance(10) ? g.Half() : g.Below(1024));
      const uint32_t topOffset = g.Offset(6), bottomOffset = g.Offset(6);
      const uint32_t tm = g.Flag(), tf = g.Flag(), bm = g.Flag(), bf = g.Flag();
      Call("VKR_SetYUVVideoPlane", VKR_SetYUVVideoPlane, RM_SetYUVVideoPlane, {}, plane, enable, l,
           t, r, b, split, pitch, topOffset, tm, tf, bottomOffset, bm, bf);
      break;
    }
    case 14:
    case 15: {
      const uint32_t plane = g.Flag(), part = g.Flag();
      const uint16_t h = g.Half();
      const uint16_t v = g.Chance(50) ? static_cast<uint16_t>(256 + g.Below(2048)) : g.Half();
      Call("VKR_SetYUVVideoPlaneScaler", VKR_SetYUVVideoPlaneScaler, RM_SetYUVVideoPlaneScaler, {},
           plane, part, h, v);
      break;
    }
    case 16: {
      const uint32_t kind = g.Below(3), first = g.Flag();
      const int8_t brightness = static_cast<int8_t>(g.random());
      const uint8_t contrast = static_cast<uint8_t>(g.Chance(70) ? g.Below(8) : g.random());
      if (kind == 0)
        Call("VKR_SetYUVVideoPlanePriority", VKR_SetYUVVideoPlanePriority,
             RM_SetYUVVideoPlanePriority, {}, first);
      else if (kind == 1)
        Call("VKR_SetYUVBrightness", VKR_SetYUVBrightness, RM_SetYUVBrightness, {}, brightness);
      else
        Call("VKR_SetYUVContrast", VKR_SetYUVContrast, RM_SetYUVContrast, {}, contrast);
      break;
    }
    case 17: {
      const uint32_t quadrant = g.Chance(80) ? g.Below(4) : g.random();
      const uint8_t saturation = static_cast<uint8_t>(g.random());
      const uint8_t hue = static_cast<uint8_t>(g.random());
      Call("VKR_SetYUVSaturationAndHUE", VKR_SetYUVSaturationAndHUE, RM_SetYUVSaturationAndHUE, {},
           quadrant, saturation, hue);
      break;
    }
    case 18: {
      const uint32_t enable = g.Flag(), even = g.Chance(90) ? g.Offset(0) : g.random();
      const uint32_t odd = g.Chance(90) ? g.Offset(0) : g.random();
      Call("VKR_SetOSDPlane", VKR_SetOSDPlane, RM_SetOSDPlane, {}, enable, even, odd);
      break;
    }
    case 19: {
      const uint16_t index = static_cast<uint16_t>(g.Chance(10) ? g.Half() : g.Below(16));
      const uint32_t color = g.random();
      Call("VKR_SetSPUColor", VKR_SetSPUColor, RM_SetSPUColor, {}, index, color);
      break;
    }
    case 20: {
      const uint32_t enable = g.Flag(), above = g.Flag(), highlight = g.Flag();
      const uint32_t commands = g.Chance(90) ? g.Offset(0) : g.random();
      const uint32_t info = g.Chance(90) ? g.Offset(0) : g.random();
      Call("VKR_SetSPUPlane", VKR_SetSPUPlane, RM_SetSPUPlane, {}, enable, above, highlight,
           commands, info);
      break;
    }
    case 21: {
      const uint32_t header = g.Offset(6) & (g.Chance(90) ? ~3u : ~0u);
      const uint32_t next =
          g.Chance(30) ? (g.Chance(50) ? 0xFFFFFFFF : kVideoBytes + g.Below(1000)) : g.Offset(0);
      const uint32_t l = g.Chance(90) ? g.Below(720) : g.random();
      const uint32_t t = g.Chance(90) ? g.Below(576) : g.random();
      const uint32_t r = g.Chance(90) ? g.Below(720) : g.random();
      const uint32_t b = g.Chance(90) ? g.Below(576) : g.random();
      constexpr uint32_t kSizes[] = {2, 4, 8, 2, 4, 8, 16, 0, 1, 3};
      const uint32_t bits = kSizes[g.Below(std::size(kSizes))];
      const uint32_t compressed = g.Flag(), alphaOn = g.Flag(), keyOn = g.Flag();
      const uint32_t alpha = g.Chance(90) ? g.Below(16) : g.random();
      const uint32_t keyIndex = g.Chance(90) ? g.Below(256) : g.random();
      Call("VKR_WriteOSDHeader", VKR_WriteOSDHeader, RM_WriteOSDHeader, {.recordAt = header},
           header, next, l, t, r, b, bits, compressed, alphaOn, keyOn, alpha, keyIndex);
      break;
    }
    case 22: {
      const uint32_t offset = g.Offset(6), present = g.Flag(), list = g.Offset(0);
      const uint16_t color = g.Half(), contrast = g.Half(), t = g.Half(), b = g.Half();
      const uint32_t even = g.Offset(0), odd = g.Offset(0);
      Call("VKR_WriteSPUBaseCmd", VKR_WriteSPUBaseCmd, RM_WriteSPUBaseCmd, {.recordAt = offset},
           offset, present, list, color, contrast, t, b, even, odd);
      break;
    }
    case 23: {
      const uint32_t offset = g.Offset(6), terminate = g.Flag();
      const uint16_t start = g.Half(), end = g.Half();
      const uint16_t count = static_cast<uint16_t>(g.Chance(10) ? g.Half() : g.Below(16));
      std::vector<uint16_t> arrays[4];
      for (auto& a : arrays) {
        a.resize(16);
        for (uint16_t& v : a) v = g.Half();
      }
      const int missing = g.Chance(6) ? static_cast<int>(g.Below(4)) : -1;
      const uint16_t* p[4];
      for (int i = 0; i < 4; ++i) p[i] = i == missing ? nullptr : arrays[i].data();
      Call("VKR_WriteSPUChangeCmd", VKR_WriteSPUChangeCmd, RM_WriteSPUChangeCmd,
           {.recordAt = offset}, offset, terminate, start, end, count, p[0], p[1], p[2], p[3]);
      break;
    }
    case 24: {
      const uint32_t offset = g.Offset(6);
      const uint16_t l = g.Half(), t = g.Half(), r = g.Half(), b = g.Half();
      const uint16_t color = g.Half(), contrast = g.Half();
      Call("VKR_WriteSPUHighlightInfo", VKR_WriteSPUHighlightInfo, RM_WriteSPUHighlightInfo,
           {.recordAt = offset}, offset, l, t, r, b, color, contrast);
      break;
    }
    case 25:
    case 26: {
      const uint32_t dst = g.Offset(3), src = g.Offset(3);
      const uint32_t dstPitch = g.Pitch(), srcPitch = g.Pitch();
      const uint16_t w = static_cast<uint16_t>(g.Chance(5) ? 0 : g.Below(g.Chance(5) ? 320 : 40));
      const uint16_t h = static_cast<uint16_t>(g.Chance(5) ? 0 : g.Below(g.Chance(5) ? 240 : 24));
      uint32_t flags = g.Below(16);
      if (g.Chance(30)) flags |= 0x100;
      if (g.Chance(20)) flags |= 0x200;
      if (g.Chance(25)) flags |= (1 + g.Below(63)) << 10;
      if (g.Chance(4)) flags |= g.random() & 0xFFFF0000;  // bits beyond the transparency field
      if (g.Chance(5)) flags = g.Chance(50) ? (g.random() & 0xFF) : g.random();
      const uint16_t key = g.Half(), background = g.Half(), foreground = g.Half();
      Call("VKR_HwBitBlt", VKR_HwBitBlt, RM_HwBitBlt, {}, dst, dstPitch, w, h, src, srcPitch, flags,
           key, background, foreground);
      break;
    }
    case 27: {
      const uint32_t dst = g.Offset(3), src = g.Offset(3);
      const uint32_t dstPitch = g.Pitch(), srcPitch = g.Pitch();
      const uint16_t w = static_cast<uint16_t>(g.Chance(5) ? 0 : g.Below(40));
      const uint16_t h = static_cast<uint16_t>(g.Chance(5) ? 0 : g.Below(40));
      const uint32_t flags = g.Chance(90) ? g.Below(16) : g.random();
      Call("VKR_HwBitBltRotate", VKR_HwBitBltRotate, RM_HwBitBltRotate, {}, dst, dstPitch, w, h,
           src, srcPitch, flags);
      break;
    }
    default: {
      // The waits only read: the blitter's or rotator's busy bit, and rarely the sync bits (each
      // sync wait runs the clock on to an edge of the display's timing).
      const uint32_t which = g.Below(16), unit = g.Flag();
      if (which == 0)
        Call("VKR_WaitVSync", VKR_WaitVSync, RM_WaitSync, {});
      else if (which == 1)
        Call("VKR_WaitVSync2", VKR_WaitVSync2, RM_WaitSync, {});
      else if (which == 2)
        Call("VKR_WaitHSync", VKR_WaitHSync, RM_WaitSync, {});
      else if (which == 3)
        Call("VKR_WaitHSync2", VKR_WaitHSync2, RM_WaitSync, {});
      else
        Call("VKR_WaitHwBlitter", VKR_WaitHwBlitter, RM_WaitHwBlitter, {}, unit);
    }
  }
}

// Sessions on each output the firmware can leave, on both hardware models.
TEST_F(DisplayRegisterModelTest, RandomCallsWriteWhatTheRegisterModelExpects) {
  struct Session {
    SimTV tv;
    const char* firmware;
    bool laterHardware;
  };
  constexpr Session kSessions[] = {{SimTV::Lcd, "4.1.0", true},
                                   {SimTV::Ntsc, "3.0.3", false},
                                   {SimTV::Pal, "4.1.0", true},
                                   {SimTV::Lcd, "2.1.1", false}};
  constexpr int kCallsPerSession = 2000;
  uint32_t seed = 0x5EED1234;
  for (const Session& s : kSessions) {
    SCOPED_TRACE(Hex(seed));
    RunSession(s.tv, s.firmware, s.laterHardware, seed++, kCallsPerSession);
  }
  RecordProperty("calls", static_cast<int>(calls_));
  RecordProperty("writes", static_cast<int>(writesChecked_));
  std::printf(
      "%llu calls (%llu rejected), %llu register writes, %llu records, %llu registers compared\n",
      static_cast<unsigned long long>(calls_), static_cast<unsigned long long>(rejected_),
      static_cast<unsigned long long>(writesChecked_),
      static_cast<unsigned long long>(recordsChecked_),
      static_cast<unsigned long long>(registersCompared_));
  EXPECT_EQ(mismatches_, 0u);
}

}  // namespace
