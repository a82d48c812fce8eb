#include <windows.h>
#include <commctrl.h>

#include "HistoryListSupport.h"
#include "TestData.h"
#include "WinTestSupport.h"
#include "app/AppInfo.h"
#include "encode/EncodeCommand_win.h"
#include "history/HistoryCommands_win.h"
#include "platform/Text_win.h"
#include "util/Clock_win.h"

// The rows the encode command adds are what the history keeps: written as the file wants them
// (no image, item data 0), and never older than the second they were added in.
TEST_F(MainWindowTest, AnEncodedRowStaysThroughDeleteEarlierRecordsAndIsSavedWithNoImage) {
  window->OnMainWindowCreated();
  HWND list = control(ControlId::历史记录);
  const std::string path = programFolder / "一.txt";
  WriteFixtureFile(path, "abc");
  // The row must be added and judged within one second of the clock; a run that straddles a
  // change of second is done again.
  for (int attempt = 0;; ++attempt) {
    ASSERT_LT(attempt, 5);
    ListView_DeleteAllItems(list);
    double before = CurrentDateTime();
    SetControlText(control(ControlId::地址), path);
    EncodeFile(window->Context());
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    DeleteEarlierRecords(window->Context());
    if (CurrentDateTime() != before) continue;
    EXPECT_EQ(ListView_GetItemCount(list), 1) << "a row added this second stays";
    break;
  }
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  CellTexts row = ListRows(list)[0];
  ASSERT_EQ(row[1], "一.txt");
  ASSERT_EQ(row[2], "YWJj");

  ::DestroyWindow(window->handle());
  EXPECT_EQ(ReadFixtureFile(programFolder / HistoryFileName), HistoryFileBytes({row}));
}
