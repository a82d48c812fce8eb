#pragma once
// Walking code page 936 text by characters: a byte 0x80..0xFF leads a two-byte character, so an
// ASCII byte inside such a pair (the second byte may be 0x40..0xFE, '\' and '|' included) is never
// taken for that ASCII character.
#include <cstddef>
#include <string_view>

// The position of the character after the one that starts at `at`; a lead byte at the very end
// stands alone.
inline size_t NextCharacter(std::string_view text, size_t at) {
  bool lead = static_cast<unsigned char>(text[at]) >= 0x80;
  return at + (lead && at + 1 < text.size() ? 2 : 1);
}
