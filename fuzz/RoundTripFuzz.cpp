// Arbitrary bytes through the encoder and back, on one line and wrapped as mail wraps it: the
// decoder must give every byte back.
#include "codec/Base64.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = EncodeBase64(bytes);
  if (text.size() != (size + 2) / 3 * 4) std::abort();
  std::string wrapped;
  for (size_t at = 0; at < text.size(); at += 76) wrapped.append(text, at, 76).append("\r\n");
  for (const std::string& form : {text, wrapped}) {
    const DecodeResult result = DecodeBase64(form);
    if (!result.ok() || result.bytes != bytes) std::abort();
  }
  return 0;
}
