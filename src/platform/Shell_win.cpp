#include "platform/Shell_win.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/Text_win.h"

std::string ProgramDirectory() {
  // Read as UTF-16 and convert with code page 936, so that the path is right whatever the
  // system's own ANSI code page is.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of(L'\\');
  return FromWide(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

void OpenWithShell(const std::string& address) {
  ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
