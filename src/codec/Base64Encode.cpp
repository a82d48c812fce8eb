#include "codec/Base64.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {

constexpr bool LittleEndian = std::endian::native == std::endian::little;

// The two characters of every 12-bit value, laid out so that a 16-bit store writes them in order.
struct PairTable {
  uint16_t pairs[4096];
};

constexpr PairTable MakePairTable() {
  PairTable table{};
  for (unsigned value = 0; value < 4096; ++value) {
    const unsigned first = static_cast<unsigned char>(Base64Alphabet[value >> 6]);
    const unsigned second = static_cast<unsigned char>(Base64Alphabet[value & 63]);
    table.pairs[value] = static_cast<uint16_t>(LittleEndian ? first | second << 8 : first << 8 | second);
  }
  return table;
}

constexpr PairTable Pairs = MakePairTable();

uint64_t LoadBigEndian64(const unsigned char* bytes) {
  uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (LittleEndian) {
#if defined(__GNUC__)
    value = __builtin_bswap64(value);
#else
    uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i) swapped = swapped << 8 | ((value >> (8 * i)) & 0xFF);
    value = swapped;
#endif
  }
  return value;
}

// Four pairs in text order, as one 64-bit store writes them.
uint64_t EightCharacters(uint64_t bits) {
  const uint64_t a = Pairs.pairs[(bits >> 52) & 0xFFF];
  const uint64_t b = Pairs.pairs[(bits >> 40) & 0xFFF];
  const uint64_t c = Pairs.pairs[(bits >> 28) & 0xFFF];
  const uint64_t d = Pairs.pairs[(bits >> 16) & 0xFFF];
  if constexpr (LittleEndian) return a | b << 16 | c << 32 | d << 48;
  return a << 48 | b << 32 | c << 16 | d;
}

void StorePair(char* out, unsigned value) { std::memcpy(out, &Pairs.pairs[value], 2); }

}  // namespace

// RFC 4648 section 4. Whole groups go straight from the input; only the one- or two-byte tail
// is handled apart, so the input is never copied.
std::string EncodeBase64(std::string_view bytes) {
  const size_t size = bytes.size();
  std::string text((size + 2) / 3 * 4, '\0');
  const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* const end = in + size;
  char* out = text.data();

  // Each 8-byte load yields 6 bytes (8 characters); two per step keep both loads in flight.
  while (end - in >= 14) {
    const uint64_t first = EightCharacters(LoadBigEndian64(in));
    const uint64_t second = EightCharacters(LoadBigEndian64(in + 6));
    std::memcpy(out, &first, 8);
    std::memcpy(out + 8, &second, 8);
    in += 12;
    out += 16;
  }
  while (end - in >= 3) {
    const unsigned group = unsigned{in[0]} << 16 | unsigned{in[1]} << 8 | in[2];
    StorePair(out, group >> 12);
    StorePair(out + 2, group & 0xFFF);
    in += 3;
    out += 4;
  }
  if (end - in == 2) {
    const unsigned group = unsigned{in[0]} << 16 | unsigned{in[1]} << 8;
    StorePair(out, group >> 12);
    out[2] = Base64Alphabet[(group >> 6) & 63];
    out[3] = '=';
  } else if (end - in == 1) {
    StorePair(out, unsigned{in[0]} << 4);
    out[2] = '=';
    out[3] = '=';
  }
  return text;
}
