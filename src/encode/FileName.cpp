#include "encode/FileName.h"

#include "util/CodePage936.h"

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }
}  // namespace

std::string FileNameFromAddress(std::string_view address) {
  size_t elementStart = 0;
  size_t lastCharacter = 0;
  for (size_t at = 0; at < address.size(); at = NextCharacter(address, at)) {
    lastCharacter = at;
    if (!IsSeparator(address[at]) || at + 1 == address.size()) continue;
    char next = address[at + 1];
    if (next != '\\' && next != '/') elementStart = at + 1;
  }
  std::string_view element = address.substr(elementStart);
  if (!element.empty() && address[lastCharacter] == '\\') return {};
  return std::string(element);
}
