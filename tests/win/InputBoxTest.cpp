// The real input box, driven from a timer that fires inside its modal loop: what it shows, what it
// lets be typed, and what each way of closing it yields.
#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "platform/Clipboard_win.h"
#include "platform/InputBox_win.h"
#include "platform/Text_win.h"

namespace {

constexpr char Title[] = "请选择更新方式：";
constexpr char Prompt[] = "更新方式请选择，输入对应的序号即可！\r\n0.放弃更新 1.在线更新 2.手动更新";

struct DialogLook {
  bool found = false;
  std::string title, prompt, entry, okText, cancelText;
  bool entryHasFocus = false;
  LRESULT defaultId = 0;
  bool ownerless = false;
};

// Runs once the dialog is up, then lets it go on.
std::function<void(HWND dialog)> driver;

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = VisibleDialogOfThread(::GetCurrentThreadId());
  if (!dialog) return;  // not up yet: the next tick looks again
  ::KillTimer(nullptr, timer);
  driver(dialog);
}

std::string Answer(InputMode mode, std::function<void(HWND dialog)> drive) {
  PumpMessages();  // a quit request left by an earlier test's window would end the dialog at once
  driver = std::move(drive);
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DriveDialog);
  std::string answer = ShowInputBox(nullptr, Prompt, Title, mode);
  ::KillTimer(nullptr, timer);
  return answer;
}

HWND Entry(HWND dialog) { return ::GetDlgItem(dialog, InputBoxEntry); }

void Type(HWND dialog, const std::wstring& keys) {
  for (wchar_t key : keys) ::SendMessageW(Entry(dialog), WM_CHAR, key, 1);
}

void Press(HWND dialog, WPARAM key) {
  // Posted to the entry, so that the dialog's own loop sees them as the keyboard's.
  ::PostMessageW(Entry(dialog), WM_KEYDOWN, key, 1);
  ::PostMessageW(Entry(dialog), WM_KEYUP, key, 0xC0000001);
}

void Click(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

TEST(InputBox, ShowsTheTitlePromptAndButtonsWithAnEmptyFocusedEntry) {
  DialogLook look;
  std::string answer = Answer(InputMode::Integer, [&](HWND dialog) {
    look.found = true;
    look.title = GetControlText(dialog);
    look.prompt = GetControlText(::GetDlgItem(dialog, InputBoxPrompt));
    look.entry = GetControlText(Entry(dialog));
    look.okText = GetControlText(::GetDlgItem(dialog, IDOK));
    look.cancelText = GetControlText(::GetDlgItem(dialog, IDCANCEL));
    look.entryHasFocus = ::GetFocus() == Entry(dialog);
    look.defaultId = LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0));
    look.ownerless = ::GetWindow(dialog, GW_OWNER) == nullptr;
    Click(dialog, IDOK);
  });
  ASSERT_TRUE(look.found);
  EXPECT_EQ(look.title, Title);
  EXPECT_EQ(look.prompt, Prompt);
  EXPECT_EQ(look.entry, "");
  EXPECT_EQ(look.okText, "确认输入(&O)");
  EXPECT_EQ(look.cancelText, "取消(&C)");
  EXPECT_TRUE(look.entryHasFocus);
  EXPECT_EQ(look.defaultId, IDOK);
  EXPECT_TRUE(look.ownerless);
  EXPECT_EQ(answer, "");  // confirmed empty
}

struct Case {
  const char* what;
  InputMode mode;
  std::wstring typed;
  std::function<void(HWND)> close;
  std::string answer;
};

TEST(InputBox, YieldsWhatWasTypedWhenConfirmedAndNothingWhenCancelled) {
  auto ok = [](HWND dialog) { Click(dialog, IDOK); };
  auto cancel = [](HWND dialog) { Click(dialog, IDCANCEL); };
  auto enter = [](HWND dialog) { Press(dialog, VK_RETURN); };
  auto escape = [](HWND dialog) { Press(dialog, VK_ESCAPE); };
  auto closeBox = [](HWND dialog) { ::PostMessageW(dialog, WM_CLOSE, 0, 0); };
  const Case cases[] = {
      {"a digit, OK", InputMode::Integer, L"1", ok, "1"},
      {"a digit, Enter", InputMode::Integer, L"2", enter, "2"},
      {"minus and digits", InputMode::Integer, L"-10", ok, "-10"},
      {"letters, spaces and signs are ignored", InputMode::Integer, L"a1 b+2.x", ok, "12"},
      {"full-width digits and Chinese are ignored", InputMode::Integer, L"\xFF11\x5E74" L"3", ok, "3"},
      {"Backspace still works", InputMode::Integer, L"12\b", ok, "1"},
      {"leading zeros stay", InputMode::Integer, L"01", ok, "01"},
      {"Cancel", InputMode::Integer, L"1", cancel, ""},
      {"Esc", InputMode::Integer, L"1", escape, ""},
      {"the close box", InputMode::Integer, L"1", closeBox, ""},
      {"plain text mode takes letters", InputMode::Text, L"ab 1", ok, "ab 1"},
  };
  for (const Case& c : cases) {
    std::string answer = Answer(c.mode, [&](HWND dialog) {
      Type(dialog, c.typed);
      c.close(dialog);
    });
    EXPECT_EQ(answer, c.answer) << c.what;
  }
}

TEST(InputBox, PastedTextIsNotFiltered) {
  ASSERT_TRUE(PutTextOnClipboard("a-9 "));
  std::string answer = Answer(InputMode::Integer, [](HWND dialog) {
    Type(dialog, L"\x16");  // Ctrl+V, a control key that must get through
    Type(dialog, L"x7");
    ::SendMessageW(Entry(dialog), WM_PASTE, 0, 0);  // the entry's context menu
    Click(dialog, IDOK);
  });
  EXPECT_EQ(answer, "a-9 7a-9 ");
}

}  // namespace
