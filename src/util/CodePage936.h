#pragma once
// Walking code page 936 text by characters, as Windows reads it (IsDBCSLeadByteEx for 936, which
// MultiByteToWideChar and PathFindFileNameA follow): a byte 0x81..0xFE leads a two-byte character,
// so an ASCII byte inside such a pair (the second byte may be 0x40..0xFE, '\' and '|' included) is
// never taken for that ASCII character. 0x80 (the euro sign) and 0xFF stand alone.
#include <cstddef>
#include <string_view>

inline bool IsLeadByte(char byte) {
  auto value = static_cast<unsigned char>(byte);
  return value >= 0x81 && value <= 0xFE;
}

// The position of the character after the one that starts at `at`; a lead byte at the very end
// stands alone.
inline size_t NextCharacter(std::string_view text, size_t at) {
  return at + (IsLeadByte(text[at]) && at + 1 < text.size() ? 2 : 1);
}
