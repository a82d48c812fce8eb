#include "platform/Process_win.h"

#include <windows.h>

#include "platform/Handles.h"
#include "platform/Text_win.h"

bool StartProgram(const std::string& path, const std::string& commandLine) {
  std::wstring application = ToWide(path);
  std::wstring line = ToWide(commandLine);  // CreateProcessW may write into the command line
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
    return false;
  }
  unique_handle process(started.hProcess);
  unique_handle thread(started.hThread);
  ::WaitForInputIdle(process.get(), 1000);
  return true;
}
