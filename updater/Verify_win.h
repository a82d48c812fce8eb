#pragma once
// Checks that the maker signed these bytes: ECDSA P-256 over SHA-256 with the system's CNG.
#include <string_view>

enum class SignatureCheck {
  Valid,
  Invalid,      // not signed by this key, or not a signature at all
  Unavailable,  // the system could not check (the message gives its status code)
};

struct VerifyResult {
  SignatureCheck check;
  long status = 0;  // the NTSTATUS of the CNG call that failed
};

// publicKeySpki: a DER SubjectPublicKeyInfo of a P-256 key; derSignature as openssl writes it.
VerifyResult VerifySignature(std::string_view bytes, std::string_view derSignature, std::string_view publicKeySpki);
