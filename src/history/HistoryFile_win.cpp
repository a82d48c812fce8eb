#include "history/HistoryFile_win.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <vector>

#include "history/HistoryRecords.h"
#include "history/ListViewAccess_win.h"
#include "platform/FileRead_win.h"
#include "platform/Handles.h"
#include "platform/SafeWrite_win.h"
#include "platform/Text_win.h"

namespace {

// A save by another copy of the program may hold the file for a moment.
constexpr DWORD WaitWhileHeldMilliseconds = 1000;

int ColumnCount(HWND list) {
  auto header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

// The list's own value for "no image": -1 would ask the list's parent for one each time.
int ImageForList(int showable) { return showable < 0 ? I_IMAGENONE : showable; }

std::string RecordsOf(const ListViewAccess& access) {
  HWND list = access.list();
  int columns = access.GetColumnCount();
  int rows = access.GetItemCount();
  std::string bytes;
  for (int row = 0; row < rows; ++row) {
    AppendRowFields(bytes, ShowableImage(list, LVSIL_SMALL, access.GetItemImage(row, 0)), -1, 0,
                    static_cast<int32_t>(access.GetItemData(row)));
    access.AppendItemText(row, 0, bytes);
    FinishRecord(bytes);
    for (int column = 1; column < columns; ++column) {
      AppendCellFields(bytes, ShowableImage(list, LVSIL_SMALL, access.GetItemImage(row, column)));
      access.AppendItemText(row, column, bytes);
      FinishRecord(bytes);
    }
  }
  return bytes;
}

}  // namespace

std::string GetItemsData(HWND list) {
  ListViewAccess access;
  return access.Attach(list) ? RecordsOf(access) : std::string();
}

void SetItemsData(HWND list, std::string_view bytes) {
  std::vector<HistoryRow> rows = ParseHistoryRecords(bytes);
  int columns = ColumnCount(list);
  bool report = (::GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;

  // Redrawing comes back however the filling ends, a failed allocation included.
  struct RedrawSuspended {
    HWND list;
    explicit RedrawSuspended(HWND l) : list(l) { ::SendMessageA(list, WM_SETREDRAW, FALSE, 0); }
    ~RedrawSuspended() {
      ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
      ::RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
  } suspended(list);
  ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  ::SendMessageA(list, LVM_SETITEMCOUNT, rows.size(), 0);  // room for every row at once
  // Each text goes from the bytes straight into the list's own UTF-16 form, in one buffer.
  std::wstring text;
  int inserted = 0;
  for (const HistoryRow& row : rows) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = inserted++;
    ListTextToWide(row.text, text);
    item.pszText = text.data();
    item.iImage = ImageForList(ShowableImage(list, LVSIL_SMALL, row.image));
    item.lParam = row.itemData;
    // State images are numbered from 1 in the item's state, 0 meaning none; four bits hold them.
    int stateImage = ShowableImage(list, LVSIL_STATE, row.stateImage);
    if (stateImage >= 0 && stateImage < 15) {
      item.mask |= LVIF_STATE;
      item.state = INDEXTOSTATEIMAGEMASK(stateImage + 1);
      item.stateMask = LVIS_STATEIMAGEMASK;
    }
    if (report) {
      item.mask |= LVIF_INDENT;
      item.iIndent = std::max(0, row.indent);
    }
    int current = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (current < 0) continue;

    int column = 1;
    for (const HistoryCell& cell : row.cells) {
      if (column >= columns) break;
      LVITEMW subItem{};
      subItem.mask = LVIF_TEXT | LVIF_IMAGE;
      subItem.iItem = current;
      subItem.iSubItem = column++;
      ListTextToWide(cell.text, text);
      subItem.pszText = text.data();
      subItem.iImage = ImageForList(ShowableImage(list, LVSIL_SMALL, cell.image));
      ::SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&subItem));
    }
  }
}

bool SaveHistoryFile(HWND list, const std::string& path) {
  // A window that is not a list view reads as no rows; writing those would wipe the history.
  ListViewAccess access;
  if (!access.Attach(list)) return false;
  // At close no one could be told: a history too big for the memory left leaves the old file as
  // it is rather than ending the program.
  try {
    return WriteFileSafely(path, RecordsOf(access));
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool LoadHistoryFile(HWND list, const std::string& path) {
  FileReadResult file = ReadWholeFile(path, WaitWhileHeldMilliseconds);
  try {
    SetItemsData(list, file.bytes.view());
  } catch (const std::bad_alloc&) {
    // Half a history must not be saved over the whole one at close.
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    return false;
  }
  return file.ok() || file.status == FileReadStatus::Missing;
}
