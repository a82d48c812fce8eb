#include "platform/Messages_win.h"

namespace {
constexpr char KeyboardWindowProperty[] = "Quendral.KeyboardWindow";
}

void MakeKeyboardWindow(HWND window) {
  ::SetPropA(window, KeyboardWindowProperty, reinterpret_cast<HANDLE>(1));
}

void DispatchQueuedMessage(MSG& message) {
  HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && ::GetPropA(root, KeyboardWindowProperty)) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      ::PostMessageA(root, WM_CLOSE, 0, 0);
      return;
    }
    if (::IsDialogMessageA(root, &message)) return;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
}

bool ProcessPendingMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    DispatchQueuedMessage(message);
  }
  return true;
}
