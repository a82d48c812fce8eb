// The DER signature reader on arbitrary bytes: it never reads out of bounds, and whatever it
// accepts is exactly the canonical encoding of the numbers it returns, so no second spelling of
// one signature gets through.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "updater/SignatureFormat.h"

namespace {

std::string CanonicalInteger(const std::uint8_t* number) {
  std::size_t first = 0;
  while (first < 31 && number[first] == 0) ++first;
  std::string content(reinterpret_cast<const char*>(number + first), 32 - first);
  if (static_cast<std::uint8_t>(content[0]) & 0x80) content.insert(0, 1, '\0');
  return std::string{'\x02', static_cast<char>(content.size())} + content;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view der(reinterpret_cast<const char*>(data), size);
  auto raw = RawSignatureFromDer(der);
  if (!raw) return 0;
  std::string numbers = CanonicalInteger(raw->data()) + CanonicalInteger(raw->data() + 32);
  std::string canonical = std::string{'\x30', static_cast<char>(numbers.size())} + numbers;
  if (canonical != der) std::abort();
  return 0;
}
