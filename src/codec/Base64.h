#pragma once
// Base64 text and bytes, both ways. Byte strings are std::string: length-counted, zeros allowed.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// RFC 4648 section 4, value 0 first; the pad character is '='.
inline constexpr char Base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Standard Base64 on one line, 4 * ceil(n / 3) characters.
std::string EncodeBase64(std::string_view bytes);

struct DecodeResult {
  std::string bytes;         // the decoded bytes, when ok()
  size_t errorPosition = 0;  // 1-based byte position in the given text of the first offending character
  bool ok() const { return errorPosition == 0; }
};

// Called every few thousand groups of a long decode, so that a window can stay responsive.
using DecodeProgress = std::function<void()>;

DecodeResult DecodeBase64(std::string_view text, const DecodeProgress& progress = {});
