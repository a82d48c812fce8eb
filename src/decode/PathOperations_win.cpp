#include "decode/PathOperations_win.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "decode/PathRules.h"
#include "platform/Handles.h"
#include "platform/Text_win.h"

std::wstring ToWidePath(const std::string& text) {
  if (text.empty()) return {};
  // Once to learn the length (with the terminator), once to convert.
  int units = ::MultiByteToWideChar(TextCodePage, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 1) return {};
  std::wstring wide(static_cast<size_t>(units), L'\0');
  units = ::MultiByteToWideChar(TextCodePage, 0, text.c_str(), -1, wide.data(), units);
  wide.resize(units > 0 ? static_cast<size_t>(units) - 1 : 0);
  return wide;
}

bool IsExistingDirectory(const std::string& path) {
  std::wstring wide = ToWidePath(path);
  if (wide.empty()) return false;
  DWORD attributes = ::GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string DirectoryOfPath(const std::string& path) {
  return IsExistingDirectory(path) ? path : DirectoryPartOfPath(path);
}

void CreateDirectoryChain(const std::string& directory) {
  for (const std::string& folder : DirectoriesToCreate(directory)) {
    std::wstring wide = ToWidePath(folder);
    if (!wide.empty()) ::CreateDirectoryW(wide.c_str(), nullptr);
  }
}

void RevealInFolder(const std::string& path) {
  std::wstring wide = ToWidePath(path);
  if (wide.empty() || !::PathFileExistsW(wide.c_str())) return;
  unique_pidl item(::ILCreateFromPathW(wide.c_str()));
  if (!item) return;
  // Declared after the item, so COM is released before the list is freed. Only a successful
  // CoInitialize is balanced: uninitialising after a failed one (RPC_E_CHANGED_MODE) would
  // undo the thread's own initialisation.
  ScopedCoInitialize com;
  ::SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0);
}
