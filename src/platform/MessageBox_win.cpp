#include "platform/MessageBox_win.h"

void ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
  if (!owner && !(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  ::MessageBoxA(owner, text.c_str(), title.empty() ? DefaultMessageTitle : title.c_str(), style | MB_OK);
}
