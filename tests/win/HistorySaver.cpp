// Saves two large histories in turn, through the program's own save, until it is killed.
//   history_saver <history path> <ready event> <saved event>
// Sets the ready event once both lists are filled and the saved event after every save.
#include <windows.h>
#include <commctrl.h>

#include "SampleHistory.h"
#include "history/HistoryFile_win.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  HWND lists[] = {CreateFilledList(SampleHistory('B')), CreateFilledList(SampleHistory('A'))};
  HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE saved = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
  if (!lists[0] || !lists[1] || !ready || !saved) return 3;
  ::SetEvent(ready);
  for (unsigned turn = 0;; ++turn) {
    if (SaveHistoryFile(lists[turn % 2], argv[1])) ::SetEvent(saved);
  }
}
