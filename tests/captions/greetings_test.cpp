// The caption greetings: when the schedule sends what, the rows a caption decoder sees, the drain
// while paused, the LCD that never reaches the encoder, and a silent encoder that cannot hold the
// demo past its end.
#include <string>
#include <vector>

#include "caption_fixture.h"
#include "caption_run.h"
#include "cc_greetings.h"

using Pairs = std::vector<uint16_t>;

namespace {

const char* const kTexts[28] = {
    "Real Close-Caption Greetings:", "------------------------------",
    "Ostravel Harbor Signal Society", "Les Plumes en Vorquade", "The Amber Wharf",
    "Western Kettles", "Glimmerfox", "Quillmarsh", "Stonebeak", "Tessarin", "Mirefold", "Draskoll",
    "Brimlet", "Corvane", "Hollint", "Mr.Fenn", "Gavrel", "Kyvran", "kx4417", "Vorne", "Skarv",
    "Tumbo", "Kelp", "ozr", "", "", "velkamora@thalor> signout.", "see u at Thalor 2011!"};

bool OddParity(uint8_t byte) { return __builtin_popcount(byte) % 2 == 1; }

// One frame of the running demo at demo time `now`, then the wait for the next field.
void Frame(VKR_CCG_State& state, uint32_t now) {
  VKR_CCG_Advance(state, now);
  VKR_CCG_Drain(state, now);
  SimAdvanceNs(kFieldNs);
}

}  // namespace

TEST_F(CaptionTest, NothingUntilTheClockPasses72300ThenThePrologueAndRowZero) {
  VKR_CCG_State state = VKR_CCG_Init(1);
  VKR_CCG_SetUpEncoder(state);
  Frame(state, 72300);
  EXPECT_EQ(SentPairs(), Pairs{});
  Frame(state, 72301);
  EXPECT_EQ(SentPairs(), Pairs{0x94A7});
  Frame(state, 72318);
  Frame(state, 72335);
  EXPECT_EQ(SentPairs(), (Pairs{0x94A7, 0x94A7, 0x97AD}));
  Frame(state, 72352);
  EXPECT_EQ(SentPairs(), (Pairs{0x94A7, 0x94A7, 0x97AD, 0x94AD, 0x9120}));
  for (uint32_t now = 72369; now < 73200; now += 17) Frame(state, now);
  const std::vector<CaptionRow> rows = RowsOf(SentPairs());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].text, kTexts[0]);
  // The set-up reached the encoder's caption registers.
  EXPECT_EQ(SIM_CX25874_Register(0xD0), 0x4A);
  EXPECT_EQ(SIM_CX25874_Register(0xD2), 0x8C);
  EXPECT_EQ(SIM_CX25874_Register(0xD4), 0x59);
  EXPECT_EQ(SIM_CX25874_Register(0xC4) & 0x38, 0x18);
  EXPECT_EQ(SIM_CX25874_Register(0x5E) & 0x0F, 0x04);
}

TEST_F(CaptionTest, WholeRunSendsEveryRowInOrderWithItsColour) {
  const CaptionRunResult run = RunCaptionPath({});
  const Pairs sent = SentPairs();
  for (uint16_t pair : sent) {
    ASSERT_TRUE(OddParity(pair >> 8)) << std::hex << pair;
    ASSERT_TRUE(OddParity(pair & 0xFF)) << std::hex << pair;
  }
  const std::vector<CaptionRow> rows = RowsOf(sent);
  ASSERT_EQ(rows.size(), 28u);
  for (int j = 0; j < 28; ++j) EXPECT_EQ(rows[j].text, kTexts[j]) << "row " << j;
  EXPECT_EQ(rows[0].code, 0x9120);
  EXPECT_EQ(rows[2].code, 0x912A);
  EXPECT_EQ(rows[22].code, 0x91A8);
  EXPECT_EQ(rows[24].code, 0x91A2);
  EXPECT_EQ(rows[25].code, 0x91A2);
  EXPECT_EQ(rows[27].code, 0x94A8);  // flash on before the farewell
  EXPECT_EQ(sent.back(), 0x942C);
  EXPECT_GE(run.lastNow, 117300u);
}

TEST_F(CaptionTest, QuitBeforeTheGreetingsSendsOnlyTheErase) {
  const CaptionRunResult run = RunCaptionPath({.quitAtMs = 50000});
  EXPECT_LT(run.lastNow, 72300u);
  EXPECT_EQ(SentPairs(), Pairs{0x942C});
}

TEST_F(CaptionTest, DrainGoesOnWhilePaused) {
  const CaptionRunResult run = RunCaptionPath({.pauseFromMs = 73250, .pauseForMs = 3000});
  EXPECT_FALSE(run.pairsWhilePaused.empty());
  for (uint16_t pair : run.pairsWhilePaused) EXPECT_NE(pair, 0x94AD);  // no row starts paused
  EXPECT_EQ(RowsOf(SentPairs()).size(), 28u);
}

TEST_F(CaptionTest, OnTheLcdTheEncoderIsNeverTouched) {
  TVConsole_PowerOn(SimTV::Lcd, 0);
  const uint64_t before = SimNowNs(), accesses = SimAccessCount();
  VKR_CCG_State state = VKR_CCG_Init(0);
  VKR_CCG_HoldLoadingScreen(state);
  VKR_CCG_SetUpEncoder(state);
  for (uint32_t now = 0; now < 117400; now += 17) {
    VKR_CCG_Advance(state, now);
    VKR_CCG_Drain(state, now);
  }
  VKR_CCG_Erase(state);
  EXPECT_EQ(SimAccessCount(), accesses);
  EXPECT_EQ(SimNowNs(), before);  // no hold, no waits
}

TEST_F(CaptionTest, TelevisionHoldsTheLoadingScreen) {
  const uint64_t before = SimNowNs();
  VKR_CCG_HoldLoadingScreen(VKR_CCG_Init(2));
  // The wait counts whole milliseconds of the clock from partway through the first.
  EXPECT_GE(SimNowNs() - before, 2499000000u);
}

TEST_F(CaptionTest, SilentEncoderCannotHoldTheDemoPastItsEnd) {
  TVConsole_PowerOn(SimTV::Ntsc, 6, SIM_FAULT_ENCODER);
  const CaptionRunResult run = RunCaptionPath({});
  EXPECT_EQ(SIM_CX25874_CaptionCount(), 0u);
  // A row frame costs at most its two bounded waits and a little bus traffic.
  EXPECT_LT(run.longestFrameNs, 100000000u);
  EXPECT_LT(run.endNs - run.startNs, 117500000000u);
}

// Row j is due once the demo clock passes T(j) = 72,300 + 900 j (j up to 23) or 77,600 + 700 j (24
// to 27): it starts in the first frame after that, after the three prologue frames, and at most one
// row starts a frame, so rows that fell due together (a frame where the clock jumped past two due
// times) start in the frames that follow, one each.
TEST_F(CaptionTest, RowsStartAfterTheirDueTimesOneAFrame) {
  const auto due = [](int j) -> uint32_t { return j <= 23 ? 72300 + 900 * j : 77600 + 700 * j; };
  // 20 ms frames that fall on every due time, and one jump past T(2), T(3) and T(4).
  std::vector<uint32_t> frames;
  for (uint32_t now = 72300; now < 74000; now += 20) frames.push_back(now);
  for (uint32_t now = 76000; now < 98000; now += 20) frames.push_back(now);
  VKR_CCG_State state = VKR_CCG_Init(1);
  VKR_CCG_SetUpEncoder(state);
  int expectedRow = 0, prologueFrames = 0;
  for (size_t f = 0; f < frames.size(); ++f) {
    const int before = state.row;
    VKR_CCG_Advance(state, frames[f]);
    VKR_CCG_Drain(state, frames[f]);
    SimAdvanceNs(kFieldNs);
    // The row the frame should start: the next one, when it is due, the prologue is done and no
    // row started in this frame yet.
    const bool prologue = frames[f] > 72300 && prologueFrames < 3;
    prologueFrames += prologue;
    const bool starts = !prologue && expectedRow < 28 && frames[f] > due(expectedRow);
    ASSERT_EQ(state.row - before, starts ? 1 : 0) << "frame at " << frames[f] << " ms";
    if (starts) ++expectedRow;
  }
  EXPECT_EQ(expectedRow, 28);
}
