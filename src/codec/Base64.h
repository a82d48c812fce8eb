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

// Why a decode failed; each names what the character at errorPosition is.
enum class DecodeError {
  None,
  NotInAlphabet,         // neither Base64 (either alphabet), white space nor '=': a double-byte character counts from its first byte
  MisplacedPadding,      // '=' that does not end the last group, or one '=' more than the group needs
  SingleCharacterGroup,  // the first character of a group that ends after it (at the end or at '='): it cannot encode a byte
};

struct DecodeResult {
  std::string bytes;         // the decoded bytes, when ok(); empty otherwise
  size_t errorPosition = 0;  // 1-based byte position in the given text of the first offending character
  DecodeError error = DecodeError::None;
  bool ok() const { return errorPosition == 0; }
};

// Called every few thousand groups of a long decode, so that a window can stay responsive.
using DecodeProgress = std::function<void()>;

// RFC 4648 Base64 back to the exact bytes, tolerant of what people paste: padding is optional
// (a last group of two or three characters gives one or two bytes), ASCII white space and the
// full-width space (code page 936 A1 A1) are skipped anywhere, '-' and '_' of the URL-safe
// alphabet (section 5) count as 62 and 63, and a leading data URI prefix ("data:...;base64,")
// is skipped. Anything else fails with the position of the first offending character.
// The text is only read; it must stay unchanged until the call returns, progress included.
DecodeResult DecodeBase64(std::string_view text, const DecodeProgress& progress = {});
