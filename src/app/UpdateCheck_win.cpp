#include "app/UpdateCheck_win.h"

#include <windows.h>

#include "app/AppInfo.h"
#include "app/UpdateDecision.h"
#include "platform/Clipboard_win.h"
#include "platform/Handles.h"
#include "platform/Http_win.h"
#include "platform/Interaction.h"
#include "platform/SafeWrite_win.h"
#include "platform/Text_win.h"

namespace {

VersionReply FetchVersionDocument(const std::string& address) {
  HttpResponse response =
      HttpGet(address, {VersionConnectMilliseconds, VersionTotalMilliseconds, VersionTotalMilliseconds});
  return {response.answered, response.status, response.complete, std::move(response.body)};
}

// Any entry counts, a folder too; when the system cannot tell, we assume one is there, since an
// existing updater is never replaced.
bool EntryExists(const std::string& path) {
  if (::GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  DWORD error = ::GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// Creates the file only if it does not exist yet. A half-written updater would never be replaced
// later, so a failed write removes what it began.
void WriteNewFile(const std::string& path, std::string_view bytes) {
  std::wstring widePath = ToWide(path);
  unique_hfile file(::CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
  if (!file) return;
  bool written = WriteAllAndFlush(file.get(), bytes);
  file.reset();
  if (!written) ::DeleteFileW(widePath.c_str());
}

void StartOnlineUpdate(const CommandContext& context, const UpdateSource& source) {
  const std::string updaterPath = context.programDirectory + "\\" + UpdaterFileName;
  if (!EntryExists(updaterPath)) WriteNewFile(updaterPath, source.updaterImage);
  context.ui->ShowMessage(nullptr, UpdaterStartingMessage, "", 0);
  // By its full path, so that no other Update.exe on the search path is run; the updater itself
  // is told nothing.
  context.ui->StartProgram(updaterPath, UpdaterFileName);
  // Carried out by the message loop once start-up has finished, so the history is saved as usual.
  ::PostMessageA(context.window, WM_CLOSE, 0, 0);
}

}  // namespace

void CheckForUpdate(const CommandContext& context, const UpdateSource& source) {
  Interaction& ui = *context.ui;
  if (DecideOnVersion(FetchVersionDocument(source.versionDocumentUrl), ProgramVersion) ==
      UpdateDecision::StartNormally) {
    return;
  }
  ui.ShowMessage(nullptr, UpdateNotice, "", MB_ICONINFORMATION);
  switch (ChoiceFromAnswer(ui.AskForNumber(UpdatePrompt, UpdatePromptTitle))) {
    case UpdateChoice::InputFailed:
      ui.ShowMessage(nullptr, InputFailedMessage, "", 0);
      ui.EndProcess();
      return;
    case UpdateChoice::GiveUp:
      ui.ShowMessage(nullptr, GaveUpMessage, "", 0);
      ui.EndProcess();
      return;
    case UpdateChoice::OnlineUpdate:
      StartOnlineUpdate(context, source);
      return;
    case UpdateChoice::ManualUpdate:
      ui.OpenWebPage(source.manualUpdatePageUrl);
      PutTextOnClipboard(source.manualUpdatePageUrl);
      ui.ShowMessage(nullptr, ManualUpdateMessage, "", 0);
      ui.EndProcess();
      return;
    case UpdateChoice::EndAtOnce:
      ui.EndProcess();
      return;
  }
}
