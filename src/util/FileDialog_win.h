#pragma once
// The platform's common open and save dialogs. The object holds nothing; each call fills one
// request, runs the modal dialog owned by the active window and returns the chosen full path,
// or empty text when the user cancelled or the dialog failed.
#include <string>

#include "util/FileDialogRequest.h"

class FileDialog {
 public:
  std::string OpenFile(const OpenFileRequest& request) const;
  std::string SaveFile(const SaveFileRequest& request) const;
};
