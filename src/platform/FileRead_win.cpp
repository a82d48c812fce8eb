#include "platform/FileRead_win.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "platform/Handles.h"

namespace {
// ReadFile takes a 32-bit count; stay well below it.
constexpr DWORD LargestReadBytes = 1u << 30;
}  // namespace

FileReadResult ReadWholeFile(const std::string& path) {
  FileReadResult result;
  // Sharing only reading: a program writing the file keeps us out, and none can start while we read.
  unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return result;
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
