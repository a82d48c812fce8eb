#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>

#include "HistoryListSupport.h"
#include "WinTestSupport.h"
#include "app/AppInfo.h"
#include "history/HistoryCommands_win.h"
#include "platform/Text_win.h"
#include "util/Clock_win.h"

namespace {

// The local time a number of seconds from now, as the history's time text.
std::string TimeTextFromNow(int seconds) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  now.wMilliseconds = 0;
  FILETIME file{};
  ::SystemTimeToFileTime(&now, &file);
  ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
  ticks.QuadPart += static_cast<LONGLONG>(seconds) * 10'000'000;
  file = {ticks.LowPart, ticks.HighPart};
  SYSTEMTIME shifted{};
  ::FileTimeToSystemTime(&file, &shifted);
  char text[64];
  std::snprintf(text, sizeof text, "%04d.%d.%d %02d:%02d:%02d", shifted.wYear, shifted.wMonth, shifted.wDay,
                shifted.wHour, shifted.wMinute, shifted.wSecond);
  return text;
}

// Runs work from inside the next message dispatch, as another command would run while a
// long command lets the window handle its messages.
class PostedWork {
 public:
  PostedWork() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuendralTestPostedWork";
    ::RegisterClassA(&windowClass);
    window_ = ::CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~PostedWork() { ::DestroyWindow(window_); }
  void Post(std::function<void()> work) {
    work_ = std::move(work);
    ::PostMessageA(window_, WM_APP, 0, 0);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PostedWork*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_APP && self && self->work_) std::exchange(self->work_, nullptr)();
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  HWND window_ = nullptr;
  std::function<void()> work_;
};

// Calls back whenever the list is about to delete a row.
class DeletionWatch {
 public:
  DeletionWatch(HWND list, std::function<void(int)> onDelete) : list_(list), onDelete_(std::move(onDelete)) {
    ::SetWindowSubclass(list_, Procedure, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~DeletionWatch() {
    if (::IsWindow(list_)) ::RemoveWindowSubclass(list_, Procedure, 1);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
    auto* self = reinterpret_cast<DeletionWatch*>(data);
    if (message == LVM_DELETEITEM) self->onDelete_(++self->deletions_);
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(list, Procedure, 1);
    return ::DefSubclassProc(list, message, wParam, lParam);
  }
  HWND list_;
  std::function<void(int)> onDelete_;
  int deletions_ = 0;
};

class HistoryCommandsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ListView_DeleteAllItems(list());
  }
  HWND list() const { return control(ControlId::历史记录); }
  HWND text() const { return control(ControlId::编码文本); }
  void Choose(MenuId item) {
    ::SendMessageA(window->handle(), WM_COMMAND, MAKEWPARAM(static_cast<int>(item), 0), 0);
  }
  // Rows given top first.
  void Fill(const std::vector<CellTexts>& rows) {
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) InsertRowAtTop(list(), *row);
  }
  std::vector<std::string> Times() const {
    std::vector<std::string> times;
    for (const CellTexts& row : ListRows(list())) times.push_back(row[0]);
    return times;
  }
};

}  // namespace

TEST_F(HistoryCommandsTest, SelectingARowShowsItsWholeTextAndMakesItsFileNameTheTag) {
  const std::string longText = std::string(3000, 'Q') + "==";
  Fill({{"2021.11.12 12:10:12", "a.png", "QUJD"}, {"2021.11.12 12:10:11", "图片.png", longText}});
  SetControlText(control(ControlId::地址), "D:\\pics\\cat.png");

  SelectRow(list(), 1);  // the list reports the new focused row; the window runs the command
  EXPECT_EQ(GetControlText(text()), longText);
  EXPECT_EQ(GetControlTag(text()), "图片.png");

  SelectRow(list(), 0);
  EXPECT_EQ(GetControlText(text()), "QUJD");
  EXPECT_EQ(GetControlTag(text()), "a.png");
  EXPECT_EQ(GetControlText(control(ControlId::地址)), "D:\\pics\\cat.png") << "the address box stays";
}

TEST_F(HistoryCommandsTest, AClickOnARowShowsIt) {
  Fill({{"2021.11.12 12:10:12", "a.png", "QUJD"}, {"2021.11.12 12:10:11", "b.png", "Yg=="}});
  RECT rect{LVIR_LABEL};
  ::SendMessageA(list(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
  LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  ::SendMessageA(list(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  ::SendMessageA(list(), WM_LBUTTONUP, 0, point);
  PumpMessages();
  EXPECT_EQ(GetControlText(text()), "Yg==");
  EXPECT_EQ(GetControlTag(text()), "b.png");
}

TEST_F(HistoryCommandsTest, WithNoSelectedRowShowingEmptiesTheBoxAndItsTag) {
  Fill({{"2021.11.12 12:10:12", "a.png", "QUJD"}});
  SetControlText(text(), "something");
  SetControlTag(text(), "x.bin");
  ShowHistoryRow(window->Context());
  EXPECT_EQ(GetControlText(text()), "");
  EXPECT_EQ(GetControlTag(text()), "");
}

TEST_F(HistoryCommandsTest, DeleteCurrentRecordRemovesTheSelectedRowOnlyAndTheBoxKeepsItsText) {
  Fill({{"t0", "a", "QQ=="}, {"t1", "b", "Qg=="}, {"t2", "c", "Qw=="}});
  Choose(MenuId::删除当前记录);
  EXPECT_EQ(Times(), (std::vector<std::string>{"t0", "t1", "t2"})) << "nothing selected, nothing deleted";

  SelectRow(list(), 1);
  ASSERT_EQ(GetControlText(text()), "Qg==");
  Choose(MenuId::删除当前记录);
  EXPECT_EQ(Times(), (std::vector<std::string>{"t0", "t2"}));
  EXPECT_EQ(GetControlText(text()), "Qg==");
  EXPECT_EQ(GetControlTag(text()), "b");
}

TEST_F(HistoryCommandsTest, DeleteEarlierRecordsKeepsRowsOfThisSecondAndLaterAndTheResultSurvivesARestart) {
  // The row of "this second" must be made and judged within one second of the clock; a run that
  // straddles a change of second is done again.
  for (int attempt = 0;; ++attempt) {
    ASSERT_LT(attempt, 5);
    ListView_DeleteAllItems(list());
    double before = CurrentDateTime();
    std::string now = TimeTextFromNow(0);
    Fill({{TimeTextFromNow(-1), "one second ago", "QQ=="},
          {"2099.1.1 00:00:00", "future", "Qg=="},
          {"2020.2.29 10:00:00", "leap day", "Qw=="},
          {"2021.2.29 10:00:00", "no such day", "RA=="},
          {now, "just now", "RQ=="},
          {"", "no time", "Rg=="},
          {"昨天", "not a time", "Rw=="}});
    Choose(MenuId::删除更早记录);
    if (CurrentDateTime() != before) continue;
    EXPECT_EQ(Times(), (std::vector<std::string>{"2099.1.1 00:00:00", now}));
    break;
  }

  ::DestroyWindow(window->handle());
  std::unique_ptr<MainWindow> restarted = MainWindow::Create(ui, {programFolder.path(), false});
  ASSERT_TRUE(restarted);
  restarted->OnMainWindowCreated();
  std::vector<CellTexts> rows = ListRows(restarted->Control(ControlId::历史记录));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][1], "future");
  EXPECT_EQ(rows[1][1], "just now");
}

TEST_F(HistoryCommandsTest, ARowAddedWhileDeletingRunsIsKeptAndEveryOldRowStillGoes) {
  Fill({{"2020.1.1 00:00:00", "a", "QQ=="}, {"2020.1.2 00:00:00", "b", "Qg=="}, {"2020.1.3 00:00:00", "c", "Qw=="},
        {"2020.1.4 00:00:00", "d", "RA=="}});
  PostedWork encode;
  DeletionWatch watch(list(), [&](int deletion) {
    if (deletion == 2) encode.Post([&] { InsertRowAtTop(list(), {"2099.1.1 00:00:00", "new", "Rg=="}); });
  });
  DeleteEarlierRecords(window->Context());
  EXPECT_EQ(Times(), (std::vector<std::string>{"2099.1.1 00:00:00"}));
}

TEST_F(HistoryCommandsTest, ClosingTheWindowWhileDeletingEndsTheCommandSavesWhatIsLeftAndTheProgramStillEnds) {
  Fill({{"2020.1.1 00:00:00", "a", "QQ=="}, {"2020.1.2 00:00:00", "b", "Qg=="}, {"2020.1.3 00:00:00", "c", "Qw=="},
        {"2020.1.4 00:00:00", "d", "RA=="}, {"2020.1.5 00:00:00", "e", "RQ=="}, {"2020.1.6 00:00:00", "f", "Rg=="}});
  HWND main = window->handle();
  DeletionWatch watch(list(), [&](int deletion) {
    if (deletion == 2) ::PostMessageA(main, WM_CLOSE, 0, 0);  // the user clicks the close box
  });
  DeleteEarlierRecords(window->Context());

  EXPECT_FALSE(::IsWindow(main));
  MSG quit{};
  EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the message loop will end";
  std::unique_ptr<MainWindow> restarted = MainWindow::Create(ui, {programFolder.path(), false});
  ASSERT_TRUE(restarted);
  restarted->OnMainWindowCreated();
  std::vector<CellTexts> rows = ListRows(restarted->Control(ControlId::历史记录));
  ASSERT_EQ(rows.size(), 4u) << "two rows were gone when the window closed";
  EXPECT_EQ(rows[0][1], "c");
  EXPECT_EQ(rows[3][1], "f");
}
