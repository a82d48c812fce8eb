#include "updater/SignatureFormat.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::uint8_t SequenceTag = 0x30;
constexpr std::uint8_t IntegerTag = 0x02;

// One DER element: its tag, then its content; the reader moves past it.
struct DerReader {
  std::string_view rest;

  std::optional<std::string_view> Element(std::uint8_t tag) {
    if (rest.size() < 2 || static_cast<std::uint8_t>(rest[0]) != tag) return std::nullopt;
    std::size_t length = static_cast<std::uint8_t>(rest[1]);
    std::size_t header = 2;
    if (length & 0x80) {
      // Our elements are short, so one length byte at most; DER uses it only for 128 and more.
      if (length != 0x81 || rest.size() < 3) return std::nullopt;
      length = static_cast<std::uint8_t>(rest[2]);
      if (length < 0x80) return std::nullopt;
      header = 3;
    }
    if (rest.size() - header < length) return std::nullopt;
    std::string_view content = rest.substr(header, length);
    rest.remove_prefix(header + length);
    return content;
  }
};

// A positive INTEGER in its minimal two's-complement form, placed right-aligned in 32 bytes.
bool ReadNumber(DerReader& reader, std::uint8_t* out) {
  std::optional<std::string_view> content = reader.Element(IntegerTag);
  if (!content || content->empty()) return false;
  std::string_view digits = *content;
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(digits[i]); };
  if (byte(0) & 0x80) return false;  // negative
  if (byte(0) == 0 && digits.size() > 1) {
    if (!(byte(1) & 0x80)) return false;  // a leading zero only to keep the sign bit clear
    digits.remove_prefix(1);
  }
  if (digits.size() > 32) return false;
  if (std::all_of(digits.begin(), digits.end(), [](char c) { return c == 0; })) return false;
  std::copy(digits.begin(), digits.end(), out + 32 - digits.size());
  return true;
}

// SEQUENCE { SEQUENCE { id-ecPublicKey, prime256v1 }, BIT STRING { 0 unused bits, 0x04 } }
using namespace std::string_view_literals;
constexpr std::string_view P256SpkiPrefix =
    "\x30\x59\x30\x13\x06\x07\x2a\x86\x48\xce\x3d\x02\x01\x06\x08\x2a\x86\x48\xce\x3d\x03\x01\x07\x03\x42\x00\x04"sv;
static_assert(P256SpkiPrefix.size() == 27);

}  // namespace

std::optional<Bytes64> RawSignatureFromDer(std::string_view der) {
  DerReader outer{der};
  std::optional<std::string_view> sequence = outer.Element(SequenceTag);
  if (!sequence || !outer.rest.empty()) return std::nullopt;
  Bytes64 raw{};
  DerReader inner{*sequence};
  if (!ReadNumber(inner, raw.data()) || !ReadNumber(inner, raw.data() + 32) || !inner.rest.empty()) {
    return std::nullopt;
  }
  return raw;
}

std::optional<Bytes64> PublicPointFromSpki(std::string_view der) {
  if (der.size() != P256SpkiPrefix.size() + 64 || !der.starts_with(P256SpkiPrefix)) return std::nullopt;
  Bytes64 point{};
  std::copy(der.begin() + P256SpkiPrefix.size(), der.end(), point.begin());
  return point;
}

bool LooksLikeWindowsProgram(std::string_view bytes) { return bytes.starts_with("MZ"); }
