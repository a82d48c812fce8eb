#pragma once
// Two large histories, made the same way by the saver program and by the test that kills it,
// and the list views to hold them.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> SampleHistory(char variant, int rows = 8, size_t textBytes = 512 << 10) {
  std::vector<std::vector<std::string>> history;
  for (int row = 0; row < rows; ++row) {
    std::string text(textBytes, 'A');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('A' + (i * 31 + row + variant) % 26);
    history.push_back({"2021.11." + std::to_string(10 + row) + " 12:10:12", std::string(1, variant) + ".png", text});
  }
  return history;
}

// A hidden report list with the history's three columns, holding the rows in order.
inline HWND CreateFilledList(const std::vector<std::vector<std::string>>& history) {
  HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 400, 300, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  for (int index = 0; index < 3; ++index) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
  }
  int index = 0;
  for (const auto& row : history) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index++;
    item.pszText = const_cast<char*>(row[0].c_str());
    int inserted = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int column = 1; column < 3; ++column) {
      LVITEMA cell{};
      cell.iSubItem = column;
      cell.pszText = const_cast<char*>(row[static_cast<size_t>(column)].c_str());
      ::SendMessageA(list, LVM_SETITEMTEXTA, inserted, reinterpret_cast<LPARAM>(&cell));
    }
  }
  return list;
}
