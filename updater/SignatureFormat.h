#pragma once
// The formats around an ECDSA P-256 signature: what openssl writes (DER) and what CNG reads
// (fixed-size big-endian numbers). Strict: anything not in the one canonical encoding is refused.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

using Bytes64 = std::array<std::uint8_t, 64>;

// A DER ECDSA-Sig-Value (RFC 3279 section 2.2.3: SEQUENCE { r INTEGER, s INTEGER }) as r || s,
// each left-padded to 32 bytes. Refused: long-form lengths where short would do, non-minimal or
// negative integers, zero, numbers wider than 32 bytes, and any byte after the sequence.
std::optional<Bytes64> RawSignatureFromDer(std::string_view der);

// A DER SubjectPublicKeyInfo (RFC 5480) of a P-256 key in uncompressed form, as X || Y.
std::optional<Bytes64> PublicPointFromSpki(std::string_view der);

// A Windows executable file begins with the DOS header's "MZ".
bool LooksLikeWindowsProgram(std::string_view bytes);
