#include "platform/FileRead_win.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "platform/Handles.h"
#include "platform/Text_win.h"

namespace {
// ReadFile takes a 32-bit count; stay well below it.
constexpr DWORD LargestReadBytes = 1u << 30;
constexpr DWORD HeldPauseMilliseconds = 50;

// Sharing reading but not writing: a program writing the file keeps us out, and none can start
// while we read.
unique_hfile OpenForReading(const std::wstring& path, DWORD waitWhileHeldMilliseconds) {
  for (DWORD waited = 0;; waited += HeldPauseMilliseconds) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file || ::GetLastError() != ERROR_SHARING_VIOLATION || waited >= waitWhileHeldMilliseconds) return file;
    ::Sleep(HeldPauseMilliseconds);
  }
}
}  // namespace

FileReadResult ReadWholeFile(const std::string& path, DWORD waitWhileHeldMilliseconds) {
  FileReadResult result;
  unique_hfile file = OpenForReading(ToWide(path), waitWhileHeldMilliseconds);
  if (!file) {
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) result.status = FileReadStatus::Missing;
    return result;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) {
    result.status = FileReadStatus::CannotRead;
    return result;
  }
  try {
    result.bytes = ByteBuffer(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    result.status = FileReadStatus::OutOfMemory;
    return result;
  }
  size_t have = 0;
  while (have < result.bytes.size()) {
    DWORD wanted = static_cast<DWORD>(std::min<size_t>(result.bytes.size() - have, LargestReadBytes));
    DWORD read = 0;
    if (!::ReadFile(file.get(), result.bytes.data() + have, wanted, &read, nullptr) || read == 0) {
      result.bytes = ByteBuffer();
      result.status = FileReadStatus::CannotRead;
      return result;
    }
    have += read;
  }
  result.status = FileReadStatus::Read;
  return result;
}

bool AnyFileSystemEntryMatches(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  return static_cast<bool>(unique_hfind(::FindFirstFileA(pattern.c_str(), &found)));
}
