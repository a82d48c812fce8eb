#include "WinTestSupport.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Text_win.h"

namespace {
int scratchCount = 0;
}

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string base = std::string(temp) + "quendral-test-" + std::to_string(::GetCurrentProcessId()) + "-";
  for (;;) {
    path_ = base + std::to_string(++scratchCount);
    if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

ScratchFolder::~ScratchFolder() {
  // Make everything writable first, so that tests may leave read-only files behind.
  std::wstring from = ToWide(path_);
  from.push_back(L'\0');  // SHFileOperation wants a double-terminated list
  ::SetFileAttributesW(from.c_str(), FILE_ATTRIBUTE_NORMAL);
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  ::SHFileOperationW(&operation);
}

void WriteFixtureFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(std::filesystem::path(ToWide(path)), std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(file.good()) << path;
}

std::string ReadFixtureFile(const std::string& path) {
  std::ifstream file(std::filesystem::path(ToWide(path)), std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

bool FixtureExists(const std::string& path) {
  return ::GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND VisibleDialogOfThread(DWORD threadId) {
  HWND found = nullptr;
  ::EnumThreadWindows(
      threadId,
      [](HWND window, LPARAM result) -> BOOL {
        char className[16] = {};
        ::GetClassNameA(window, className, sizeof className);
        if (std::string(className) != "#32770" || !::IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return "<clipboard not open>";
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  } else {
    text = "<no text>";
  }
  ::CloseClipboard();
  return text;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;  // a window of an earlier test asked to end
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

RECT PlaceInParent(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void MainWindowTest::SetUp() {
  window = MainWindow::Create(ui, {programFolder.path(), /*checkForUpdate=*/false});
  ASSERT_TRUE(window);
}

void MainWindowTest::TearDown() {
  window.reset();
  PumpMessages();
}

void MainWindowTest::Click(ControlId id) { ::SendMessageA(control(id), BM_CLICK, 0, 0); }
