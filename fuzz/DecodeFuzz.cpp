// Arbitrary text into the decoder: it must not crash, a failure must point at a character of the
// kind it names, and whatever it accepts must survive another trip through the encoder and the
// decoder unchanged.
#include "codec/Base64.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool InAlphabet(char c) {
  return c == '-' || c == '_' || (c != '\0' && std::string_view(Base64Alphabet).find(c) != std::string_view::npos);
}

void Check(std::string_view text) {
  const DecodeResult result = DecodeBase64(text);
  if (!result.ok()) {
    if (result.errorPosition > text.size() || !result.bytes.empty()) std::abort();
    const char offending = text[result.errorPosition - 1];
    switch (result.error) {
      case DecodeError::NotInAlphabet:
        if (InAlphabet(offending) || offending == '=' || std::string_view(" \t\r\n\v\f").find(offending) != std::string_view::npos) std::abort();
        break;
      case DecodeError::MisplacedPadding:
        if (offending != '=') std::abort();
        break;
      case DecodeError::SingleCharacterGroup:
        if (!InAlphabet(offending)) std::abort();
        break;
      case DecodeError::None:
        std::abort();
    }
    return;
  }
  if (result.error != DecodeError::None || result.bytes.size() > text.size() / 4 * 3 + 2) std::abort();
  const DecodeResult again = DecodeBase64(EncodeBase64(result.bytes));
  if (!again.ok() || again.bytes != result.bytes) std::abort();
}

// Random bytes are seldom Base64; the same input spelt in the characters Base64 texts are made
// of reaches the paths that accept.
std::string AsLikelyText(std::string_view bytes) {
  static const std::string characters = std::string(Base64Alphabet) + "-_==\r\n \t\xA1*";
  std::string text(bytes);
  for (char& c : text) c = characters[static_cast<unsigned char>(c) % characters.size()];
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text);
  Check(AsLikelyText(text));
  return 0;
}
