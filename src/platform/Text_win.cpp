#include "platform/Text_win.h"

#include <richedit.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {
constexpr char TagProperty[] = "Quendral.Tag";
}

std::wstring ToWide(const std::string& text) {
  if (text.empty()) return {};
  int units = ::MultiByteToWideChar(TextCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(TextCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
  return wide;
}

std::string FromWide(const std::wstring& text) {
  if (text.empty()) return {};
  int bytes = ::WideCharToMultiByte(TextCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string narrow(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(TextCodePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), bytes,
                        nullptr, nullptr);
  return narrow;
}

namespace {

// A rich edit may answer WM_GETTEXTLENGTH in characters (Wine does), too few for double-byte
// text, and then WM_GETTEXT copies nothing; its exact byte count comes from EM_GETTEXTLENGTHEX.
LRESULT RichEditByteCount(HWND control) {
  char className[16] = {};
  ::GetClassNameA(control, className, sizeof className);
  if (::StrCmpNIA(className, "RichEdit", 8) != 0) return 0;
  GETTEXTLENGTHEX how{GTL_NUMBYTES | GTL_PRECISE, CP_ACP};
  return ::SendMessageA(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
}

}  // namespace

std::string GetControlText(HWND control) {
  // WM_GETTEXTLENGTH may overstate (a rich edit counts line breaks generously); the copy
  // count that WM_GETTEXT returns is the truth.
  LRESULT length = std::max(::SendMessageA(control, WM_GETTEXTLENGTH, 0, 0), RichEditByteCount(control));
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = ::SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void SetControlText(HWND control, const std::string& text) {
  ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string GetControlTag(HWND control) {
  auto* tag = static_cast<std::string*>(::GetPropA(control, TagProperty));
  return tag ? *tag : std::string();
}

void SetControlTag(HWND control, const std::string& text) {
  if (auto* tag = static_cast<std::string*>(::GetPropA(control, TagProperty))) {
    *tag = text;
    return;
  }
  auto* tag = new std::string(text);
  if (!::SetPropA(control, TagProperty, tag)) delete tag;
}

void ReleaseControlTag(HWND control) {
  delete static_cast<std::string*>(::RemovePropA(control, TagProperty));
}
