// console_print_test.cpp: the debug console's cells and cursor: printing with newline, tab and
// scrolling, colours, positioning and the checks that leave everything unchanged.
#include <gtest/gtest.h>

#include <string>

#include "vkr_lowLevel.h"
#include "vkr_lowLevelDbgState.h"

namespace {

class ConsolePrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VKR_DbgColor(14, 6);
    VKR_DbgClrScr(14, 6);
  }
  static int Cursor() { return g_nVKR_DBG_CURPOS; }
  static void PrintAt(int cursor, const char* text) {
    g_nVKR_DBG_CURPOS = cursor;
    VKR_DbgPrint("%s", text);
  }
};

TEST_F(ConsolePrintTest, LastCellThenScroll) {
  VKR_DbgColor(3, 9);
  VKR_DbgClrScr(2, 5);
  VKR_DbgPrint("top");
  ASSERT_EQ(VKR_DbgGotoXY(39, 24), VKR_OK);
  VKR_DbgPrint("A");
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[999], 'A');
  EXPECT_EQ(Cursor(), 1000) << "no scroll until the next character";
  VKR_DbgPrint("B");
  EXPECT_EQ(Cursor(), 961);
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[959], 'A');
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[960], 'B');
  EXPECT_EQ(g_ucVKR_DBG_CHARCOLOR_TABLE[960], 0x39);
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[0], 0) << "row 0 scrolled away";
  // The new last row: empty cells in text foreground on screen background.
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[961], 0);
  EXPECT_EQ(g_ucVKR_DBG_CHARCOLOR_TABLE[961], 0x35);
}

TEST_F(ConsolePrintTest, NewlineTabAndControlCodes) {
  struct Case {
    int from;
    const char* text;
    int to;
  };
  // A newline or tab that reaches 1000 waits there; the next character scrolls first.
  const Case cases[] = {{0, "\n", 40}, {45, "\n", 80},    {0, "\t", 5},      {4, "\t", 5},
                        {5, "\t", 10}, {970, "\n", 1000}, {998, "\t", 1000}, {999, "\t", 1000},
                        {1000, "\t", 965}, {1000, "\nx", 961}};
  for (const Case& c : cases) {
    PrintAt(c.from, c.text);
    EXPECT_EQ(Cursor(), c.to) << c.from << " " << c.text;
  }
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[960], 'x');
  // Carriage return is stored like any character; column 39 runs on into the next row.
  PrintAt(39, "\rZ");
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[39], '\r');
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[40], 'Z');
}

TEST_F(ConsolePrintTest, EmptyTextLongTextAndBadArguments) {
  PrintAt(1000, "");
  EXPECT_EQ(Cursor(), 1000) << "an empty text does not even scroll";
  EXPECT_EQ(VKR_DbgPrint(nullptr), VKR_BAD_ARGUMENT);

  VKR_DbgClrScr(14, 6);
  const std::string longText(400, 'q');
  EXPECT_EQ(VKR_DbgPrint("%s", longText.c_str()), VKR_OK);
  EXPECT_EQ(Cursor(), 159);
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[158], 'q');
  EXPECT_EQ(g_ucVKR_DBG_CHAR_SCREEN[159], 0);

  const auto cells = g_ucVKR_DBG_CHAR_SCREEN;
  const uint8_t text = g_ucVKR_DBG_TEXT_COLOR, screen = g_ucVKR_DBG_SCREEN_COLOR;
  const int cursor = Cursor();
  EXPECT_EQ(VKR_DbgClrScr(16, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DbgClrScr(0, -1), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DbgColor(-1, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DbgColor(0, 16), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DbgGotoXY(40, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DbgGotoXY(0, 25), VKR_BAD_ARGUMENT);
  EXPECT_EQ(VKR_DbgGotoXY(-1, 0), VKR_BAD_ARGUMENT);
  EXPECT_EQ(cells, g_ucVKR_DBG_CHAR_SCREEN);
  EXPECT_EQ(text, g_ucVKR_DBG_TEXT_COLOR);
  EXPECT_EQ(screen, g_ucVKR_DBG_SCREEN_COLOR);
  EXPECT_EQ(cursor, Cursor());
}

}  // namespace
