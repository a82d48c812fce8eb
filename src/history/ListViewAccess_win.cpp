#include "history/ListViewAccess_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {
// Far beyond any text the program puts in a list; keeps a runaway read from asking for all memory.
constexpr size_t LargestText = size_t{1} << 30;
}  // namespace

bool ListViewAccess::Attach(HWND list, const char* expectedClassName) {
  char name[50] = {};
  if (!::GetClassNameA(list, name, sizeof name)) return false;
  if (std::strcmp(name, expectedClassName) != 0) return false;
  list_ = list;
  return true;
}

std::string ListViewAccess::GetItemText(int row, int column, size_t bufferSize) const {
  if (!list_) return {};
  bufferSize = std::clamp<size_t>(bufferSize, 16, LargestText);
  for (;;) {
    // One zero byte beyond what the list may fill: a list that runs out of room may leave the
    // text unterminated. A cut text fills the buffer to its last byte, or to the one before it
    // when the next character takes two bytes, so the text is whole only when it leaves two
    // bytes spare.
    std::string text(bufferSize + 1, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(bufferSize);
    ::SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    size_t length = ::strnlen(text.data(), text.size());
    if (length + 2 < bufferSize || bufferSize >= LargestText) {
      text.resize(length);
      return text;
    }
    bufferSize *= 2;
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
