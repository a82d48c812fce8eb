#pragma once
// What the tests on real controls share: a scratch folder, a hidden main window driven by a
// scripted user, and ways to look at controls as the user sees them.
#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/MainWindow_win.h"
#include "ScriptedInteraction.h"

// A new empty folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }  // code page 936, no trailing backslash
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Whole-file helpers for fixtures, independent of the program's own file code.
void WriteFixtureFile(const std::string& path, const std::string& bytes);
std::string ReadFixtureFile(const std::string& path);
bool FixtureExists(const std::string& path);

// The visible dialog box (class #32770) among the thread's windows; null when none is up.
HWND VisibleDialogOfThread(DWORD threadId);

// The clipboard's plain text, or a marker saying why there is none.
std::string ClipboardText();

// Dispatches everything waiting in the queue, so that posted work (menu commands, focus
// changes) has happened when the test looks.
void PumpMessages();

// Where a window lies relative to its parent's client area, and its outer size.
RECT PlaceInParent(HWND window);

// A hidden main window in a scratch program folder, as the program has it just before
// showing it; the update check is left out.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND control(ControlId id) const { return window->Control(id); }
  void Click(ControlId id);  // a real button click: its notification travels as the user's would

  ScratchFolder programFolder;
  ScriptedInteraction ui;
  std::unique_ptr<MainWindow> window;
};
