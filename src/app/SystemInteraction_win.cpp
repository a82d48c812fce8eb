#include "app/SystemInteraction_win.h"

#include "decode/PathOperations_win.h"
#include "platform/MessageBox_win.h"
#include "platform/Shell_win.h"
#include "util/FileDialog_win.h"

void SystemInteraction::ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) {
  ShowMessageBox(owner, text, title, style);
}

void SystemInteraction::OpenWebPage(const std::string& address) { OpenWithShell(address); }

std::string SystemInteraction::OpenFile(const OpenFileRequest& request) { return FileDialog().OpenFile(request); }

std::string SystemInteraction::SaveFile(const SaveFileRequest& request) { return FileDialog().SaveFile(request); }

void SystemInteraction::RevealInFolder(const std::string& path) { ::RevealInFolder(path); }
