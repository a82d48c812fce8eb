#pragma once
// What a command of the main window works on: the controls it reads and writes, the folder
// the program lives in, and the user. Commands share state only through these controls.
#include <windows.h>
#include <string>

class Interaction;

struct CommandContext {
  HWND window = nullptr;  // MainWindow: the owner of every box a command shows
  HWND 地址 = nullptr;
  HWND 编码文本 = nullptr;  // its tag holds the file name of the history row last shown
  HWND 历史记录 = nullptr;
  std::string programDirectory;  // without a trailing backslash
  Interaction* ui = nullptr;
};
