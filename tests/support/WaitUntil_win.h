#pragma once
// Waiting for what another program or thread does, in the tests that drive real programs.
// (<chrono> cannot be compiled with the GBK execution character set, hence the Win32 clock.)
#include <windows.h>

// Polls the condition every 50 ms until it holds (true) or the time is up (false).
bool WaitUntil(DWORD timeoutMilliseconds, const auto& condition) {
  for (DWORD start = ::GetTickCount();; ::Sleep(50)) {
    if (condition()) return true;
    if (::GetTickCount() - start > timeoutMilliseconds) return false;
  }
}
