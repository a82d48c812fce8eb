// Stands in for a new version of the program in the updater's tests: started, it writes its command
// line to "started.txt" beside itself and ends.
#include <windows.h>

#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L'\\'));
  HANDLE file = ::CreateFileW((folder + L"\\started.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* line = ::GetCommandLineA();
  DWORD written = 0;
  ::WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
