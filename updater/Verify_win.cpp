#include "updater/Verify_win.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Handles.h"
#include "updater/SignatureFormat.h"

namespace {

void CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm) { ::BCryptCloseAlgorithmProvider(algorithm, 0); }
void DestroyKey(BCRYPT_KEY_HANDLE key) { ::BCryptDestroyKey(key); }
void DestroyHash(BCRYPT_HASH_HANDLE hash) { ::BCryptDestroyHash(hash); }
using unique_algorithm = UniqueHandle<handle_traits::NullIsInvalid<BCRYPT_ALG_HANDLE, CloseAlgorithm>>;
using unique_key = UniqueHandle<handle_traits::NullIsInvalid<BCRYPT_KEY_HANDLE, DestroyKey>>;
using unique_hash = UniqueHandle<handle_traits::NullIsInvalid<BCRYPT_HASH_HANDLE, DestroyHash>>;

constexpr NTSTATUS Success = 0;
constexpr NTSTATUS InvalidSignature = static_cast<NTSTATUS>(0xC000A000);  // STATUS_INVALID_SIGNATURE

struct Sha256 {
  NTSTATUS status = Success;
  std::vector<UCHAR> digest;
};

Sha256 HashOf(std::string_view bytes) {
  Sha256 result;
  BCRYPT_ALG_HANDLE opened = nullptr;
  if ((result.status = ::BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) != Success) {
    return result;
  }
  unique_algorithm algorithm(opened);
  BCRYPT_HASH_HANDLE created = nullptr;
  if ((result.status = ::BCryptCreateHash(algorithm.get(), &created, nullptr, 0, nullptr, 0, 0)) != Success) {
    return result;
  }
  unique_hash hash(created);
  // BCryptHashData takes at most 4 GB at a time.
  while (!bytes.empty()) {
    ULONG chunk = static_cast<ULONG>(std::min<size_t>(bytes.size(), 1u << 30));
    auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
    if ((result.status = ::BCryptHashData(hash.get(), data, chunk, 0)) != Success) return result;
    bytes.remove_prefix(chunk);
  }
  result.digest.resize(32);
  result.status = ::BCryptFinishHash(hash.get(), result.digest.data(), 32, 0);
  return result;
}

}  // namespace

VerifyResult VerifySignature(std::string_view bytes, std::string_view derSignature, std::string_view publicKeySpki) {
  std::optional<Bytes64> point = PublicPointFromSpki(publicKeySpki);
  if (!point) return {SignatureCheck::Unavailable, static_cast<long>(0xC000000D)};  // STATUS_INVALID_PARAMETER
  std::optional<Bytes64> signature = RawSignatureFromDer(derSignature);
  if (!signature) return {SignatureCheck::Invalid};

  Sha256 hash = HashOf(bytes);
  if (hash.status != Success) return {SignatureCheck::Unavailable, hash.status};

  BCRYPT_ALG_HANDLE opened = nullptr;
  NTSTATUS status = ::BCryptOpenAlgorithmProvider(&opened, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0);
  if (status != Success) return {SignatureCheck::Unavailable, status};
  unique_algorithm algorithm(opened);

  // BCRYPT_ECCPUBLIC_BLOB: the header, then X and Y, each 32 bytes big-endian.
  std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
  BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::memcpy(blob.data(), &header, sizeof header);
  std::memcpy(blob.data() + sizeof header, point->data(), 64);
  BCRYPT_KEY_HANDLE imported = nullptr;
  status = ::BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported, blob.data(),
                                 static_cast<ULONG>(blob.size()), 0);
  if (status != Success) return {SignatureCheck::Unavailable, status};
  unique_key key(imported);

  status = ::BCryptVerifySignature(key.get(), nullptr, hash.digest.data(), 32, signature->data(), 64, 0);
  if (status == Success) return {SignatureCheck::Valid};
  if (status == InvalidSignature) return {SignatureCheck::Invalid};
  return {SignatureCheck::Unavailable, status};
}
