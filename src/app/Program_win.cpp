#include "app/Program_win.h"

#include <windows.h>
#include <ole2.h>

#include "app/MainWindow_win.h"
#include "app/SystemInteraction_win.h"
#include "platform/Messages_win.h"
#include "platform/Shell_win.h"
#include "platform/Text_win.h"

int RunProgram(const UpdateSource& update) {
  // The drop target needs OLE on this, the only thread.
  HRESULT ole = ::OleInitialize(nullptr);
  std::string programDirectory = ProgramDirectory();
  ::SetCurrentDirectoryW(ToWide(programDirectory).c_str());

  SystemInteraction ui;
  int exitCode = 0;
  {
    std::unique_ptr<MainWindow> window = MainWindow::Create(ui, {programDirectory, true, update});
    if (!window) {
      exitCode = 1;
    } else {
      window->OnMainWindowCreated();
      if (window->handle()) {
        ::ShowWindow(window->handle(), SW_SHOWNORMAL);
        ::UpdateWindow(window->handle());
      }
      MSG message;
      while (::GetMessageA(&message, nullptr, 0, 0) > 0) DispatchQueuedMessage(message);
      exitCode = message.message == WM_QUIT ? static_cast<int>(message.wParam) : 1;
    }
  }
  if (SUCCEEDED(ole)) ::OleUninitialize();
  return exitCode;
}
