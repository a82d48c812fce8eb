#include "app/DroppedFiles.h"

std::string DroppedFilesText(const std::vector<std::string>& paths) {
  if (paths.size() == 1) return paths.front();
  std::string text;
  for (const std::string& path : paths) text += path + "\r\n";
  return text;
}
