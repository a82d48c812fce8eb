#include "platform/Clipboard_win.h"

#include <cstring>

#include "platform/Handles.h"

bool PutTextOnClipboard(const std::string& text) {
  unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!memory) return false;
  {
    unique_global_lock bytes(::GlobalLock(memory.get()));
    if (!bytes) return false;
    std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
  }
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  // On success the clipboard owns the memory.
  if (::SetClipboardData(CF_TEXT, memory.get())) memory.release();
  ::CloseClipboard();
  return !memory;
}
