// The parsers against what openssl itself writes: signatures it makes with fresh keys, numbers of
// every width chosen on purpose, and its encoding of a P-256 public key.
#include "updater/SignatureFormat.h"

#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

struct Free {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
  void operator()(ECDSA_SIG* signature) const { ECDSA_SIG_free(signature); }
  void operator()(BIGNUM* number) const { BN_free(number); }
};
template <typename T>
using Owned = std::unique_ptr<T, Free>;

std::string Der(const ECDSA_SIG* signature) {
  unsigned char* bytes = nullptr;
  int length = i2d_ECDSA_SIG(signature, &bytes);
  std::string der(reinterpret_cast<char*>(bytes), static_cast<size_t>(length));
  OPENSSL_free(bytes);
  return der;
}

std::string Padded(const BIGNUM* number) {
  std::string bytes(32, '\0');
  BN_bn2binpad(number, reinterpret_cast<unsigned char*>(bytes.data()), 32);
  return bytes;
}

std::string Raw(const Bytes64& raw) { return std::string(raw.begin(), raw.end()); }

Owned<EVP_PKEY> NewKey() { return Owned<EVP_PKEY>(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256")); }

TEST(SignatureFormatWithOpenSsl, EverySignatureOpensslMakesComesOutAsItsNumbers) {
  Owned<EVP_PKEY> key = NewKey();
  ASSERT_TRUE(key);
  int shortNumbers = 0;
  int signBytes = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string message = "release " + std::to_string(i);
    Owned<EVP_MD_CTX> context(EVP_MD_CTX_new());
    ASSERT_EQ(EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()), 1);
    size_t length = 0;
    ASSERT_EQ(EVP_DigestSign(context.get(), nullptr, &length,
                             reinterpret_cast<const unsigned char*>(message.data()), message.size()), 1);
    std::string der(length, '\0');
    ASSERT_EQ(EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(der.data()), &length,
                             reinterpret_cast<const unsigned char*>(message.data()), message.size()), 1);
    der.resize(length);

    const unsigned char* cursor = reinterpret_cast<const unsigned char*>(der.data());
    Owned<ECDSA_SIG> signature(d2i_ECDSA_SIG(nullptr, &cursor, static_cast<long>(der.size())));
    ASSERT_TRUE(signature);
    const BIGNUM* r = ECDSA_SIG_get0_r(signature.get());
    const BIGNUM* s = ECDSA_SIG_get0_s(signature.get());
    shortNumbers += BN_num_bytes(r) < 32 || BN_num_bytes(s) < 32;
    signBytes += BN_num_bits(r) == 256 || BN_num_bits(s) == 256;

    auto raw = RawSignatureFromDer(der);
    ASSERT_TRUE(raw) << "signature " << i;
    EXPECT_EQ(Raw(*raw), Padded(r) + Padded(s)) << "signature " << i;
  }
  // The sample holds the widths that need care: numbers with the high bit set, and shorter ones
  // (each signature has one chance in 128 of a short number, so 3000 miss them all hardly ever).
  EXPECT_GT(signBytes, 0);
  EXPECT_GT(shortNumbers, 0);
}

TEST(SignatureFormatWithOpenSsl, NumbersOfEveryWidthRoundTrip) {
  std::mt19937_64 random(7);
  for (int bits = 1; bits <= 256; ++bits) {
    Owned<BIGNUM> r(BN_new()), s(BN_new());
    BN_rand(r.get(), bits, BN_RAND_TOP_ONE, BN_RAND_BOTTOM_ANY);
    BN_rand(s.get(), 257 - bits, BN_RAND_TOP_ONE, BN_RAND_BOTTOM_ANY);
    std::string expected = Padded(r.get()) + Padded(s.get());
    Owned<ECDSA_SIG> signature(ECDSA_SIG_new());
    ECDSA_SIG_set0(signature.get(), r.release(), s.release());
    auto raw = RawSignatureFromDer(Der(signature.get()));
    ASSERT_TRUE(raw) << bits << " bits";
    EXPECT_EQ(Raw(*raw), expected) << bits << " bits";
  }
}

TEST(SignatureFormatWithOpenSsl, ThePublicKeyOpensslWritesGivesItsPoint) {
  Owned<EVP_PKEY> key = NewKey();
  unsigned char* spki = nullptr;
  int length = i2d_PUBKEY(key.get(), &spki);
  ASSERT_GT(length, 0);
  std::string der(reinterpret_cast<char*>(spki), static_cast<size_t>(length));
  OPENSSL_free(spki);

  unsigned char point[65];
  size_t pointLength = 0;
  ASSERT_EQ(EVP_PKEY_get_octet_string_param(key.get(), "encoded-pub-key", point, sizeof point, &pointLength), 1);
  ASSERT_EQ(pointLength, 65u);
  auto parsed = PublicPointFromSpki(der);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(Raw(*parsed), std::string(reinterpret_cast<char*>(point) + 1, 64));
}

}  // namespace
