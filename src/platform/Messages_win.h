#pragma once
#include <windows.h>

// Lets Esc close a top-level window, exactly as its close box does, wherever the focus is
// inside it, and lets Tab walk its controls.
void MakeKeyboardWindow(HWND window);

// Dispatches one message taken from the queue, with the keyboard handling above.
void DispatchQueuedMessage(MSG& message);

// Dispatches every message waiting in this thread's queue and returns as soon as it is empty;
// never waits. A quit request met on the way is posted again, so the message loop still
// ends; the result is then false and the caller should stop what it is doing.
bool ProcessPendingMessages();
