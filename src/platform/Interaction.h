#pragma once
// Every way a command talks to the user goes through this one interface: the program
// implements it with real boxes, dialogs and the shell, tests replace it with a script.
#include <windows.h>
#include <string>

#include "util/FileDialogRequest.h"

class Interaction {
 public:
  virtual ~Interaction() = default;

  // A modal box with one OK button (see ShowMessageBox for titles and styles).
  virtual void ShowMessage(HWND owner, const std::string& text, const std::string& title, UINT style) = 0;
  // The address in the user's default web browser; failures are not reported.
  virtual void OpenWebPage(const std::string& address) = 0;
  // The open and save dialogs: the chosen full path, or empty text when cancelled.
  virtual std::string OpenFile(const OpenFileRequest& request) = 0;
  virtual std::string SaveFile(const SaveFileRequest& request) = 0;
  // A shell window on the folder of an existing file, with the file selected; failures are not reported.
  virtual void RevealInFolder(const std::string& path) = 0;
};
