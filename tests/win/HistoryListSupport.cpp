#include "HistoryListSupport.h"

#include <commctrl.h>

void InsertRowAtTop(HWND list, const CellTexts& cells) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = 0;
  item.pszText = const_cast<char*>(cells[0].c_str());
  int row = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t column = 1; column < cells.size(); ++column) {
    LVITEMA cell{};
    cell.iSubItem = static_cast<int>(column);
    cell.pszText = const_cast<char*>(cells[column].c_str());
    ::SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
  }
}

std::vector<CellTexts> ListRows(HWND list) {
  constexpr size_t BufferSize = 12 << 20;
  std::string buffer(BufferSize + 1, '\0');
  int columns = Header_GetItemCount(ListView_GetHeader(list));
  int rows = ListView_GetItemCount(list);
  std::vector<CellTexts> result(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      buffer[0] = '\0';
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = buffer.data();
      item.cchTextMax = BufferSize;
      ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
      result[static_cast<size_t>(row)].push_back(buffer.c_str());
    }
  }
  return result;
}

void SelectRow(HWND list, int row) {
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int ItemImage(HWND list, int row, int column) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iSubItem = column;
  item.iImage = 12345;
  ::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}
