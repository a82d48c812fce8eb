#pragma once
// Drives the real program as a user does: started in a scratch folder of its own, found by its
// window, its controls read, typed into and clicked, its dialogs answered, and ended.
#include <windows.h>

#include <string>

#include "WaitUntil_win.h"
#include "app/Layout.h"

// A copy of the program in a new empty scratch folder, so that its history file and anything
// it writes beside itself stay out of the build.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
  std::string programPath() const;

 private:
  std::string path_;
};

class QuendralSession {
 public:
  explicit QuendralSession(const ProgramFolder& folder) : folder_(folder) {}
  ~QuendralSession();  // ends the program if a test left it running
  QuendralSession(const QuendralSession&) = delete;
  QuendralSession& operator=(const QuendralSession&) = delete;

  // The folder the program is started in; its own folder unless a test says otherwise.
  void StartIn(const std::string& workingDirectory) { workingDirectory_ = workingDirectory; }
  // Starts the program and waits until its main window is visible; false after the timeout.
  bool Start(DWORD timeoutMilliseconds = 20000);
  // Starts it without waiting for the window, for start-ups that may end before showing it.
  bool Launch();
  bool WaitForMainWindow(DWORD timeoutMilliseconds = 20000);
  // The program's main window as it is now, shown or (visibleOnly false) not yet; null when there is none.
  HWND FindMainWindow(bool visibleOnly) const;

  HWND mainWindow() const { return window_; }
  HWND Control(ControlId id) const;
  std::string Text(ControlId id) const;      // the control's whole text
  void SetText(ControlId id, const std::string& text) const;
  void Click(ControlId id) const;            // posted, so that a dialog it opens does not block us

  int RowCount() const;
  bool WaitForRowCount(int rows, DWORD timeoutMilliseconds = 20000) const;  // at least that many
  std::string CellText(int row, int column) const;
  void ClickRow(int row) const;              // a left click in the middle of the row's first cell
  POINT RowPoint(int row) const;             // the middle of the row's first cell, in the list
  // A right click at that point of the list, the mouse pointer moved there first as a hand moves it.
  // Posted: the popup menu it opens keeps the program busy until it closes.
  void RightClickList(POINT point) const;
  // The program's popup menu, once it shows; null after the timeout.
  HWND WaitForPopupMenu(DWORD timeoutMilliseconds = 10000) const;
  // A key pressed and let go, posted to the program's thread as the keyboard sends it.
  void PressKey(WORD key) const;

  void CloseWithCloseBox() const;            // WM_CLOSE, as the title bar's close box sends it
  void PressEscape() const;                  // Esc where the keyboard focus is
  // The exit code once the program has ended, or STILL_ACTIVE after the timeout.
  DWORD WaitForExit(DWORD timeoutMilliseconds = 20000);

  // A top-level window of the program's with this title (any class), once it appears; null after the timeout.
  HWND WaitForWindow(const std::string& title, DWORD timeoutMilliseconds = 10000) const;
  DWORD processId() const { return processInformation_.dwProcessId; }

 private:
  // A visible top-level window of the program's, of that class and title where given.
  HWND WaitForTopLevel(const char* className, const std::string* title, DWORD timeoutMilliseconds) const;

  const ProgramFolder& folder_;
  std::string workingDirectory_;
  PROCESS_INFORMATION processInformation_{};
  HWND window_ = nullptr;
};

// Files, as the scenarios need them.
std::string ReadFileBytes(const std::string& path);  // the whole file; empty when it cannot be opened
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::string BesideThisProgram(const std::string& name);  // what the build leaves beside the driver

// The texts of a dialog's static controls joined by line breaks (a message box's message).
std::string DialogMessage(HWND dialog);
// Clicks a dialog's button by its identifier (IDOK, IDCANCEL, ...).
void PressDialogButton(HWND dialog, int id);
// The text of a window of another process.
std::string WindowText(HWND window);

// The file-name field of a common file dialog (the explorer-style combo box, or the plain edit
// box of the older dialogs); null when there is none.
HWND FileDialogNameField(HWND dialog);
// Types the name into the dialog's file-name field and presses its OK button, as a user does.
void AnswerFileDialog(HWND dialog, const std::string& name);
