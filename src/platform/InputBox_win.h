#pragma once
#include <windows.h>
#include <string>

enum class InputMode {
  Text,
  Integer,  // typed characters other than "-" and 0-9 are ignored; pasted text is not filtered
};

// A modal dialog with the title, the prompt (line breaks kept), an entry field that starts empty
// and has the focus, "确认输入(&O)" as the default button and "取消(&C)". The entry's text when
// confirmed (the button or Enter); empty when cancelled (the button, Esc or the close box).
std::string ShowInputBox(HWND owner, const std::string& prompt, const std::string& title, InputMode mode);

// The dialog's controls, for those who drive it.
enum InputBoxControl : int {
  InputBoxPrompt = 100,
  InputBoxEntry = 101,
};
