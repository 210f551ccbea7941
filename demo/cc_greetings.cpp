// cc_greetings.cpp: the closed-caption greetings: 28 rows rolled up four at a time on data
// channel 1 from 72.3 s of the demo clock, one row a frame at its due time, each a carriage
// return, a colour (or flash) and its text.
#include "cc_greetings.h"

#include "vkr_lowLevel.h"

namespace {

#if defined(VKR_BACKEND_HANDHELD)
constexpr bool kCaptionsBuilt = true;
#else
constexpr bool kCaptionsBuilt = false;
#endif

// EIA-608 pairs, first byte in bits 8-15, odd parity included.
constexpr uint16_t kRollUp4 = 0x94A7;
constexpr uint16_t kTransparentBackground = 0x97AD;
constexpr uint16_t kCarriageReturn = 0x94AD;
constexpr uint16_t kWhite = 0x9120;
constexpr uint16_t kYellow = 0x912A;
constexpr uint16_t kCyan = 0x9126;
constexpr uint16_t kBlue = 0x91A4;
constexpr uint16_t kMagenta = 0x912C;
constexpr uint16_t kRed = 0x91A8;
constexpr uint16_t kGreen = 0x91A2;
constexpr uint16_t kFlashOn = 0x94A8;
constexpr uint16_t kEraseDisplayed = 0x942C;

struct GreetingRow {
  uint16_t code;
  const char* text;
};
constexpr int kRows = 28;
constexpr GreetingRow kGreetings[kRows] = {
    {kWhite, "Real Close-Caption Greetings:"},
    {kWhite, "------------------------------"},
    {kYellow, "Ostravel Harbor Signal Society"},
    {kWhite, "Les Plumes en Vorquade"},
    {kYellow, "The Amber Wharf"},
    {kWhite, "Western Kettles"},
    {kCyan, "Glimmerfox"},
    {kWhite, "Quillmarsh"},
    {kCyan, "Stonebeak"},
    {kWhite, "Tessarin"},
    {kCyan, "Mirefold"},
    {kWhite, "Draskoll"},
    {kBlue, "Brimlet"},
    {kWhite, "Corvane"},
    {kBlue, "Hollint"},
    {kWhite, "Mr.Fenn"},
    {kBlue, "Gavrel"},
    {kWhite, "Kyvran"},
    {kMagenta, "kx4417"},
    {kWhite, "Vorne"},
    {kMagenta, "Skarv"},
    {kWhite, "Tumbo"},
    {kRed, "Kelp"},
    {kWhite, "ozr"},
    {kGreen, ""},
    {kGreen, ""},
    {kGreen, "velkamora@thalor> signout."},
    {kFlashOn, "see u at Thalor 2011!"},
};

// Rows 0 to 23 every 900 ms from 72.3 s, rows 24 to 27 every 700 ms from 94.4 s.
constexpr uint32_t DueTime(int row) {
  return row <= 23 ? 72300 + 900 * static_cast<uint32_t>(row)
                   : 77600 + 700 * static_cast<uint32_t>(row);
}
static_assert(DueTime(24) == 94400 && DueTime(27) == 96500);

}  // namespace

VKR_CCG_State VKR_CCG_Init(int outputKind) {
  return {kCaptionsBuilt && outputKind != 0 ? 1 : 0, 0, 0};
}

void VKR_CCG_HoldLoadingScreen(const VKR_CCG_State& state) {
  if (state.active) VKR_DelayMS(2500);
}

void VKR_CCG_SetUpEncoder(const VKR_CCG_State& state) {
  if (!state.active) return;
  uint8_t value = 0;
  VKR_InCX25874(0x5E, &value);
  VKR_OutCX25874(0x5E, static_cast<uint8_t>((value & 0xF0) | 0x04));
  value = 0;
  VKR_InCX25874(0xC4, &value);
  VKR_OutCX25874(0xC4, static_cast<uint8_t>((value & 0xC7) | 0x18));
  VKR_OutCX25874(0xD0, 0x4A);
  VKR_OutCX25874(0xD2, 0x8C);
  VKR_OutCX25874(0xD4, 0x59);
  VKR_CC_SetChannel(1);
}

void VKR_CCG_Advance(VKR_CCG_State& state, uint32_t now) {
  if (!state.active || now <= kVKR_CCG_StartMs) return;
  if (state.step <= 2) {
    VKR_WriteCloseCaption(state.step == 2 ? kTransparentBackground : kRollUp4);
    ++state.step;
    return;
  }
  const int j = state.row;
  if (j >= kRows || now <= DueTime(j)) return;
  if (state.step == 3 * j + 3) {
    VKR_WriteCloseCaption(kCarriageReturn);
    state.step = 3 * j + 4;
  }
  if (state.step == 3 * j + 4) {
    VKR_WriteCloseCaption(kGreetings[j].code);
    state.step = 3 * j + 5;
  }
  if (state.step == 3 * j + 5) {
    VKR_CC_printf("%s", kGreetings[j].text);
    state.step = 3 * j + 6;
    state.row = j + 1;
  }
}

void VKR_CCG_Drain(const VKR_CCG_State& state, uint32_t now) {
  if (state.active && now > kVKR_CCG_StartMs) VKR_CC_OutputToTV();
}

void VKR_CCG_Erase(const VKR_CCG_State& state) {
  if (state.active) VKR_WriteCloseCaption(kEraseDisplayed);
}
