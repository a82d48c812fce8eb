#include "util/FileDialog_win.h"

#include <windows.h>
#include <commdlg.h>
#include <vfw.h>

static_assert(dialog_flag::Explorer == OFN_EXPLORER && dialog_flag::CreatePrompt == OFN_CREATEPROMPT &&
              dialog_flag::FileMustExist == OFN_FILEMUSTEXIST && dialog_flag::PathMustExist == OFN_PATHMUSTEXIST &&
              dialog_flag::NoChangeDir == OFN_NOCHANGEDIR && dialog_flag::OverwritePrompt == OFN_OVERWRITEPROMPT);

namespace {

const char* TextOrNone(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

template <typename Request>
std::string RunDialog(const Request& request, BOOL(WINAPI* dialog)(LPOPENFILENAMEA)) {
  std::string filter = DialogFilter(request.filter);
  FileNameBuffer file = MakeFileNameBuffer(request.defaultName);

  OPENFILENAMEA form{};
  // The form without the later extension fields; a 64-bit dialog refuses the 32-bit size 76.
  form.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  form.hwndOwner = ::GetActiveWindow();
  form.lpstrFilter = filter.c_str();
  form.nFilterIndex = 0;
  form.lpstrFile = file.data();
  form.nMaxFile = static_cast<DWORD>(file.size());
  form.lpstrInitialDir = TextOrNone(request.initialFolder);
  form.lpstrTitle = TextOrNone(request.title);
  form.Flags = DialogFlags(request);
  form.lpstrDefExt = TextOrNone(request.defaultExtension);
  if (!dialog(&form)) return {};
  return FileNameInBuffer(file);
}

}  // namespace

std::string FileDialog::OpenFile(const OpenFileRequest& request) const {
  return RunDialog(request, request.preview ? ::GetOpenFileNamePreviewA : ::GetOpenFileNameA);
}

std::string FileDialog::SaveFile(const SaveFileRequest& request) const {
  return RunDialog(request, request.preview ? ::GetSaveFileNamePreviewA : ::GetSaveFileNameA);
}
