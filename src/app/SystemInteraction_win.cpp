#include "app/SystemInteraction_win.h"

#include "decode/PathOperations_win.h"
#include "platform/InputBox_win.h"
#include "platform/MessageBox_win.h"
#include "platform/Process_win.h"
#include "platform/Shell_win.h"
#include "util/FileDialog_win.h"

void SystemInteraction::ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) {
  ShowMessageBox(owner, text, title, style);
}

void SystemInteraction::OpenWebPage(const std::string& address) { OpenWithShell(address); }

std::string SystemInteraction::OpenFile(const OpenFileRequest& request) { return FileDialog().OpenFile(request); }

std::string SystemInteraction::SaveFile(const SaveFileRequest& request) { return FileDialog().SaveFile(request); }

std::string SystemInteraction::AskForNumber(const std::string& prompt, const std::string& title) {
  return ShowInputBox(nullptr, prompt, title, InputMode::Integer);
}

bool SystemInteraction::StartProgram(const std::string& path, const std::string& commandLine) {
  return ::StartProgram(path, commandLine);
}

void SystemInteraction::EndProcess() { ::ExitProcess(0); }
void SystemInteraction::RevealInFolder(const std::string& path) { ::RevealInFolder(path); }
