#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/FileDropTarget_win.h"
#include "app/Layout.h"
#include "app/UpdateCheck_win.h"
#include "platform/CommandContext.h"
#include "platform/Handles.h"

class Interaction;

struct MainWindowOptions {
  std::string programDirectory;  // without a trailing backslash
  bool checkForUpdate = true;    // off in tests that build the window themselves
  UpdateSource update;           // what the check at start asks and hands over
};

class MainWindow {
 public:
  // Creates the window hidden, centred on the screen, with all its controls; null on failure.
  static std::unique_ptr<MainWindow> Create(Interaction& ui, MainWindowOptions options);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Null once the window has been destroyed.
  HWND handle() const { return window_; }
  HWND Control(ControlId id) const;
  CommandContext Context() const;

  // The start-up steps between creating the window and showing it.
  void OnMainWindowCreated();
  void OnMainWindowDestroying();

  // The small commands of the window.
  void OpenMakerSite();
  void ClearText();
  void CopyText();
  void OnFilesDropped(const std::string& droppedFilesText);
  void ShowHistoryMenu();

  // Takes files dropped on 地址; bound by OnMainWindowCreated.
  FileDropTarget 拖放对象1;

 private:
  MainWindow(Interaction& ui, MainWindowOptions options);
  bool CreateControls();
  void ConfigureHistoryList();
  void OnCommand(int id);
  void OnNotify(const NMHDR& header);

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  Interaction& ui_;
  MainWindowOptions options_;
  HWND window_ = nullptr;
  unique_hfont font_;
  bool historyReadable_ = true;  // false when the history file was there but could not be read
};

// The hidden menu "历史记录菜单": a root that is never shown, whose one popup holds the items.
unique_hmenu BuildHistoryMenu();
