#pragma once
#include <windows.h>

// The hourglass while a command that does not pump messages runs; the cursor it replaced comes back
// at the end. (The next mouse move over a window sets that window's own cursor anyway.)
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};
