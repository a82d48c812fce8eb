#include "decode/PathRules.h"

#include "util/CodePage936.h"

namespace {

// Calls visit(position) for the first byte of every character, in order.
template <typename Visit>
void ForEachCharacter(const std::string& text, Visit visit) {
  for (size_t i = 0; i < text.size(); i = NextCharacter(text, i)) visit(i);
}

}  // namespace

std::string DirectoryPartOfPath(const std::string& path) {
  size_t end = 0;
  ForEachCharacter(path, [&](size_t i) {
    if (path[i] == '\\') end = i + 1;
  });
  return path.substr(0, end);
}

std::vector<std::string> DirectoriesToCreate(const std::string& directory) {
  size_t characters = 0;
  ForEachCharacter(directory, [&](size_t) { ++characters; });
  if (characters < 3) return {};

  std::vector<std::string> directories;
  int backslashes = 0;
  ForEachCharacter(directory, [&](size_t i) {
    if (directory[i] != '\\') return;
    if (backslashes++ > 0) directories.push_back(directory.substr(0, i));
  });
  directories.push_back(directory);
  return directories;
}
