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
  // A modal input box for a whole number with no owner: the text confirmed, or empty when cancelled.
  virtual std::string AskForNumber(const std::string& prompt, const std::string& title) = 0;
  // Starts the program at this full path with this command line and waits at most a second for it
  // to be ready for input; false when it did not start.
  virtual bool StartProgram(const std::string& path, const std::string& commandLine) = 0;
  // Ends the process with exit code 0 at once: no window event runs. Returns only when scripted.
  virtual void EndProcess() = 0;
  // A shell window on the folder of an existing file, with the file selected; failures are not reported.
  virtual void RevealInFolder(const std::string& path) = 0;
};
