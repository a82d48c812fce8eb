#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QuendralSession.h"
#include "TestData.h"

namespace {

constexpr char HistoryFile[] = "历史记录.ebb";

std::vector<std::vector<std::string>> Rows(const QuendralSession& program) {
  std::vector<std::vector<std::string>> rows;
  for (int row = 0; row < program.RowCount(); ++row) {
    rows.push_back({program.CellText(row, 0), program.CellText(row, 1), program.CellText(row, 2)});
  }
  return rows;
}

}  // namespace

TEST(History, TwoEncodedFilesAreBackInOrderAfterARestartAndAClickShowsOne) {
  ProgramFolder folder;
  // Their Base64 by hand: "abc" is YWJj, "hello!" is aGVsbG8h.
  ASSERT_TRUE(WriteFileBytes(folder / "一.txt", "abc"));
  ASSERT_TRUE(WriteFileBytes(folder / "two.bin", "hello!"));

  std::vector<std::vector<std::string>> rows;
  {
    QuendralSession program(folder);
    ASSERT_TRUE(program.Start());
    ASSERT_EQ(program.RowCount(), 0);
    program.SetText(ControlId::地址, folder / "一.txt");
    program.Click(ControlId::开始);
    ASSERT_TRUE(program.WaitForRowCount(1));
    program.SetText(ControlId::地址, folder / "two.bin");
    program.Click(ControlId::开始);
    ASSERT_TRUE(program.WaitForRowCount(2));
    rows = Rows(program);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], "two.bin") << "the newest row is at the top";
    EXPECT_EQ(rows[0][2], "aGVsbG8h");
    EXPECT_EQ(rows[1][1], "一.txt");
    EXPECT_EQ(rows[1][2], "YWJj");
    program.CloseWithCloseBox();
    ASSERT_EQ(program.WaitForExit(), 0u);
  }

  QuendralSession restarted(folder);
  ASSERT_TRUE(restarted.Start());
  EXPECT_EQ(Rows(restarted), rows) << "times, names and texts, in order";
  restarted.ClickRow(1);
  EXPECT_EQ(restarted.Text(ControlId::编码文本), "YWJj");
  restarted.ClickRow(0);
  EXPECT_EQ(restarted.Text(ControlId::编码文本), "aGVsbG8h");
  restarted.CloseWithCloseBox();
  EXPECT_EQ(restarted.WaitForExit(), 0u);
}

TEST(History, TheSavedRowsComeBackInOrderAClickShowsOneAndClosingWritesThemBackUnchanged) {
  ProgramFolder folder;
  const std::vector<std::vector<std::string>> rows = {
      {"2021.11.12 12:10:12", "图片.png", std::string(2000, 'Q') + "=="},
      {"2021.11.11 09:00:00", "b.txt", "Yg=="},
      {"2021.1.5 21:03:07", "c.bin", "AAEC"},
  };
  const std::string saved = HistoryFileBytes(rows);
  ASSERT_TRUE(WriteFileBytes(folder / HistoryFile, saved));

  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  EXPECT_EQ(Rows(program), rows);
  program.ClickRow(1);
  EXPECT_EQ(program.Text(ControlId::编码文本), "Yg==");
  program.ClickRow(0);
  EXPECT_EQ(program.Text(ControlId::编码文本), rows[0][2]);

  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(ReadFileBytes(folder / HistoryFile), saved);
}

TEST(History, DeletedRowsStayDeletedAfterARestart) {
  ProgramFolder folder;
  WriteFileBytes(folder / HistoryFile, HistoryFileBytes({{"2099.1.1 00:00:00", "future.png", "QQ=="},
                                                    {"2021.11.12 12:10:12", "old.png", "Qg=="},
                                                    {"not a time", "odd.png", "Qw=="}}));
  {
    QuendralSession program(folder);
    ASSERT_TRUE(program.Start());
    ASSERT_EQ(program.RowCount(), 3);
    // The popup menu's item, as the menu sends it when chosen.
    ::SendMessageA(program.mainWindow(), WM_COMMAND, static_cast<WPARAM>(MenuId::删除更早记录), 0);
    EXPECT_EQ(program.RowCount(), 1);
    program.PressEscape();
    EXPECT_EQ(program.WaitForExit(), 0u);
  }
  QuendralSession restarted(folder);
  ASSERT_TRUE(restarted.Start());
  EXPECT_EQ(Rows(restarted), (std::vector<std::vector<std::string>>{{"2099.1.1 00:00:00", "future.png", "QQ=="}}));
  restarted.CloseWithCloseBox();
  EXPECT_EQ(restarted.WaitForExit(), 0u);
}

TEST(History, ARightClickOpensTheMenuBesideThePointerAndItsItemsDeleteRows) {
  ProgramFolder folder;
  WriteFileBytes(folder / HistoryFile, HistoryFileBytes({{"2099.1.1 00:00:00", "future.png", "QQ=="},
                                                    {"2021.11.12 12:10:12", "old.png", "Qg=="},
                                                    {"2021.11.11 08:00:00", "older.png", "Qw=="}}));
  QuendralSession program(folder);
  ASSERT_TRUE(program.Start());
  ASSERT_EQ(program.RowCount(), 3);
  HWND list = program.Control(ControlId::历史记录);

  // On a row: the row is shown first, then the menu opens 3 pixels right of and below the pointer.
  program.RightClickList(program.RowPoint(1));
  HWND menu = program.WaitForPopupMenu();
  ASSERT_TRUE(menu);
  EXPECT_EQ(program.Text(ControlId::编码文本), "Qg==");
  POINT pointer = program.RowPoint(1);
  ::ClientToScreen(list, &pointer);
  RECT place{};
  ::GetWindowRect(menu, &place);
  EXPECT_EQ(place.left, pointer.x + 3);
  EXPECT_EQ(place.top, pointer.y + 3);
  program.PressKey(VK_DOWN);  // 删除当前记录
  program.PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil(10000, [&] { return program.RowCount() == 2; }));
  EXPECT_EQ(program.CellText(0, 1), "future.png");
  EXPECT_EQ(program.CellText(1, 1), "older.png");

  // On the empty space below the rows, the menu opens too.
  RECT client{};
  ::GetClientRect(list, &client);
  program.RightClickList({client.right / 2, client.bottom - 20});
  ASSERT_TRUE(program.WaitForPopupMenu());
  program.PressKey(VK_DOWN);
  program.PressKey(VK_DOWN);  // 删除更早记录
  program.PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil(10000, [&] { return program.RowCount() == 1; }));
  EXPECT_EQ(program.CellText(0, 1), "future.png");

  program.CloseWithCloseBox();
  EXPECT_EQ(program.WaitForExit(), 0u);
  EXPECT_EQ(ReadFileBytes(folder / HistoryFile), HistoryFileBytes({{"2099.1.1 00:00:00", "future.png", "QQ=="}}));
}
