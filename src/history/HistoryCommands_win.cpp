#include "history/HistoryCommands_win.h"

#include <commctrl.h>

#include "history/ListViewAccess_win.h"
#include "platform/Messages_win.h"
#include "platform/Text_win.h"
#include "util/Clock_win.h"
#include "util/DateTimeParse.h"

namespace {

constexpr int TimeColumn = 0;
constexpr int FileNameColumn = 1;
constexpr int Base64Column = 2;

// Differences of whole seconds: anything above this is at least one second.
constexpr double OlderThreshold = 1e-7;

int SelectedRow(HWND list) {
  return static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string CellText(HWND list, int row, int column) {
  ListViewAccess access;
  if (row < 0 || !access.Attach(list)) return {};
  return access.GetItemText(row, column);
}

}  // namespace

void ShowHistoryRow(const CommandContext& context) {
  SetControlText(context.编码文本, CellText(context.历史记录, SelectedRow(context.历史记录), Base64Column));
  SetControlTag(context.编码文本, CellText(context.历史记录, SelectedRow(context.历史记录), FileNameColumn));
}

void DeleteCurrentRecord(const CommandContext& context) {
  int row = SelectedRow(context.历史记录);
  if (row >= 0) ::SendMessageA(context.历史记录, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void DeleteEarlierRecords(const CommandContext& context) {
  HWND list = context.历史记录;
  ListViewAccess access;
  if (!access.Attach(list)) return;
  // The row count is read afresh each time: rows may come and go while messages are handled.
  for (int row = 0; row < access.GetItemCount();) {
    // Closing the window destroys the list and posts the quit request, which
    // ProcessPendingMessages leaves for the message loop; nothing here may touch the list then.
    if (!ProcessPendingMessages() || !::IsWindow(list)) return;
    double now = CurrentDateTime();
    double added = TextToDateTime(access.GetItemText(row, TimeColumn));
    if (SecondsBetween(now, added) > OlderThreshold) {
      ::SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    } else {
      ++row;
    }
  }
}
