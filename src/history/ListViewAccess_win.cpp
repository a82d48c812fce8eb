#include "history/ListViewAccess_win.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {
// The most a list's message can be asked for (its count is an int). 编码文本 holds no more, so
// no cell the program makes is cut; a smaller cap would cut the text of a big file in silence.
constexpr size_t LargestText = INT_MAX;  // characters, the terminator included
}  // namespace

bool ListViewAccess::Attach(HWND list, const char* expectedClassName) {
  char name[50] = {};
  if (!::GetClassNameA(list, name, sizeof name)) return false;
  if (std::strcmp(name, expectedClassName) != 0) return false;
  list_ = list;
  return true;
}

std::string ListViewAccess::GetItemText(int row, int column, size_t bufferSize) const {
  std::string text;
  AppendItemText(row, column, text, bufferSize);
  return text;
}

void ListViewAccess::AppendItemText(int row, int column, std::string& out, size_t bufferSize) const {
  if (!list_) return;
  // A buffer grown for an earlier long text is the better first guess.
  bufferSize = std::clamp<size_t>(std::max(bufferSize, wideBuffer_.empty() ? 0 : wideBuffer_.size() - 1), 16, LargestText);
  for (;;) {
    // A text cut to the buffer fills it to its last character before the terminator.
    if (wideBuffer_.size() < bufferSize + 1) wideBuffer_.resize(bufferSize + 1);
    wideBuffer_[0] = L'\0';
    wideBuffer_[bufferSize] = L'\0';
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wideBuffer_.data();
    item.cchTextMax = static_cast<int>(bufferSize);
    ::SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    size_t length = ::wcsnlen(wideBuffer_.data(), bufferSize + 1);
    if (length + 1 < bufferSize || bufferSize >= LargestText) {
      AppendListText(std::wstring_view(wideBuffer_.data(), length), out);
      return;
    }
    bufferSize = std::min(bufferSize * 2, LargestText);
  }
}

int ListViewAccess::GetItemImage(int row, int column) const {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = column;
  item.iImage = -1;
  if (!list_ || !::SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

int ListViewAccess::GetItemCount() const {
  return list_ ? static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

LPARAM ListViewAccess::GetItemData(int row) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!list_ || !::SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return item.lParam;
}

int ListViewAccess::GetColumnCount() const {
  if (!list_) return 0;
  auto header = reinterpret_cast<HWND>(::SendMessageA(list_, LVM_GETHEADER, 0, 0));
  if (!header) return 0;
  return std::max(0, static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)));
}

int ShowableImage(HWND list, int imageListKind, int image) {
  if (image < 0) return -1;
  auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(list, LVM_GETIMAGELIST, imageListKind, 0));
  return images && image < ::ImageList_GetImageCount(images) ? image : -1;
}

namespace {
// Texts go in and out of the list through its UTF-16 messages, converted here as the list's
// ANSI messages would convert them (CP_ACP), so that the result is the same bytes; ASCII, all
// of a Base64 text, is the same number in every ANSI code page and is widened and narrowed
// directly.
bool IsAscii(std::string_view text) {
  unsigned char any = 0;
  for (char c : text) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

bool IsAscii(std::wstring_view text) {
  wchar_t any = 0;
  for (wchar_t c : text) any |= c;
  return any < 0x80;
}
}  // namespace

void ListTextToWide(std::string_view text, std::wstring& wide) {
  if (IsAscii(text)) {
    wide.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
    return;
  }
  int units = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  wide.resize(static_cast<size_t>(std::max(units, 0)));
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
}

void AppendListText(std::wstring_view wide, std::string& out) {
  size_t start = out.size();
  if (IsAscii(wide)) {
    out.resize(start + wide.size());
    char* bytes = out.data() + start;
    for (size_t i = 0; i < wide.size(); ++i) bytes[i] = static_cast<char>(wide[i]);
    return;
  }
  int length = static_cast<int>(wide.size());
  int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  out.resize(start + static_cast<size_t>(std::max(bytes, 0)));
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, out.data() + start, bytes, nullptr, nullptr);
}
