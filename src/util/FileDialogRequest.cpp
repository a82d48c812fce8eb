#include "util/FileDialogRequest.h"

#include <algorithm>
#include <cstring>

#include "util/CodePage936.h"

namespace {
template <typename Request>
uint32_t CommonFlags(const Request& request) {
  uint32_t flags = dialog_flag::Explorer;
  if (request.pathMustExist) flags |= dialog_flag::PathMustExist;
  if (request.keepDirectory) flags |= dialog_flag::NoChangeDir;
  return flags;
}
}  // namespace

uint32_t DialogFlags(const OpenFileRequest& request) {
  uint32_t flags = CommonFlags(request);
  if (request.createPrompt) flags |= dialog_flag::CreatePrompt;
  if (request.fileMustExist) flags |= dialog_flag::FileMustExist;
  return flags;
}

uint32_t DialogFlags(const SaveFileRequest& request) {
  uint32_t flags = CommonFlags(request);
  if (request.overwritePrompt) flags |= dialog_flag::OverwritePrompt;
  return flags;
}

std::string DialogFilter(std::string_view filter) {
  std::string list(filter);
  for (size_t at = 0; at < list.size(); at = NextCharacter(list, at)) {
    if (list[at] == '|') list[at] = '\0';
  }
  list.append(2, '\0');
  return list;
}

FileNameBuffer MakeFileNameBuffer(std::string_view defaultName) {
  FileNameBuffer buffer{};
  if (defaultName.size() < buffer.size()) std::memcpy(buffer.data(), defaultName.data(), defaultName.size());
  return buffer;
}

std::string FileNameInBuffer(const FileNameBuffer& buffer) {
  return std::string(buffer.data(), std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin());
}
