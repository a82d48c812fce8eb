#pragma once
#include <windows.h>
#include <string>

// The title every box shown without one gets.
inline constexpr char DefaultMessageTitle[] = "信息：";

// The platform's message box with one OK button. An empty title becomes DefaultMessageTitle;
// a box without an owner is made task-modal unless it already asks to be system-modal.
void ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style);
