#include "platform/SafeWrite_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/Handles.h"
#include "platform/Text_win.h"

namespace {

// Another program (a virus scanner, a backup, an editor) may hold the file for a moment.
constexpr int Attempts = 20;
constexpr DWORD PauseMilliseconds = 50;
constexpr size_t WriteChunkBytes = size_t{16} << 20;

bool IsPassingHold(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

template <typename Operation>
bool WithRetries(const Operation& operation) {
  for (int attempt = 1;; ++attempt) {
    if (operation()) return true;
    if (attempt == Attempts || !IsPassingHold(::GetLastError())) return false;
    ::Sleep(PauseMilliseconds);
  }
}

// What a user may have set on the old file and expects the new one to keep.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A new file beside the target, in the same folder so that renaming it over the target stays on
// one volume and is a single step.
unique_hfile CreateTemporaryBeside(const std::wstring& target, std::wstring& temporary) {
  static unsigned counter = 0;
  size_t slash = target.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = folder + L"~Quendral-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L".tmp";
    unique_hfile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return unique_hfile();
}

bool MoveIntoPlace(const std::wstring& temporary, const std::wstring& target) {
  return WithRetries([&] {
    return ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  });
}

}  // namespace

bool WriteAllAndFlush(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min(bytes.size(), WriteChunkBytes));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
    if (written != chunk) {
      ::SetLastError(ERROR_DISK_FULL);
      return false;
    }
    bytes.remove_prefix(chunk);
  }
  return ::FlushFileBuffers(file);
}

bool WriteFileSafely(const std::string& path, std::string_view bytes) {
  std::wstring target = ToWide(path);
  if (target.empty()) return false;
  DWORD attributes = ::GetFileAttributesW(target.c_str());
  bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
  // A read-only file stays as its owner wants it; a folder is never replaced by a file.
  if (replacing && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;

  std::wstring temporary;
  unique_hfile file = CreateTemporaryBeside(target, temporary);
  if (!file) return false;
  bool written = WriteAllAndFlush(file.get(), bytes);
  file.reset();
  if (written && replacing && (attributes & KeptAttributes)) {
    ::SetFileAttributesW(temporary.c_str(), attributes & KeptAttributes);
  }
  // One rename, so that the name holds the old file or the new one at every moment and a failure
  // changes nothing. ReplaceFileW would keep more of the old file's metadata, but Wine's moves the
  // old file away and deletes it before the new one takes its name.
  if (written && MoveIntoPlace(temporary, target)) return true;
  ::DeleteFileW(temporary.c_str());
  return false;
}
