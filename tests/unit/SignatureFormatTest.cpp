#include "updater/SignatureFormat.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

std::string Repeat(int value, size_t count) { return std::string(count, static_cast<char>(value)); }

std::string Integer(const std::string& content) { return Bytes({0x02, static_cast<int>(content.size())}) + content; }

std::string Sequence(const std::string& content) {
  return Bytes({0x30, static_cast<int>(content.size())}) + content;
}

std::string Raw(const Bytes64& raw) { return std::string(raw.begin(), raw.end()); }

TEST(RawSignatureFromDer, PlacesBothNumbersRightAlignedIn32Bytes) {
  struct Case {
    const char* what;
    std::string r, s;          // DER integer contents
    std::string rawR, rawS;    // the expected 32-byte halves
  };
  const std::string high = Bytes({0x80}) + Repeat(0x11, 31);  // needs a leading zero in DER
  const Case cases[] = {
      {"full width, no leading zero", Bytes({0x7F}) + Repeat(0x22, 31), Repeat(0x33, 1) + Repeat(0x44, 31),
       Bytes({0x7F}) + Repeat(0x22, 31), Repeat(0x33, 1) + Repeat(0x44, 31)},
      {"high bit set: 33 bytes with a leading zero", Bytes({0}) + high, Bytes({0}) + high, high, high},
      {"short numbers are padded", Bytes({0x01}), Bytes({0x12, 0x34}), Repeat(0, 31) + Bytes({0x01}),
       Repeat(0, 30) + Bytes({0x12, 0x34})},
      {"a short number with its sign byte", Bytes({0x00, 0xFF}), Bytes({0x05}), Repeat(0, 31) + Bytes({0xFF}),
       Repeat(0, 31) + Bytes({0x05})},
  };
  for (const Case& c : cases) {
    auto raw = RawSignatureFromDer(Sequence(Integer(c.r) + Integer(c.s)));
    ASSERT_TRUE(raw) << c.what;
    EXPECT_EQ(Raw(*raw), c.rawR + c.rawS) << c.what;
  }
}

TEST(RawSignatureFromDer, RefusesEverythingButTheCanonicalEncoding) {
  const std::string r = Integer(Repeat(0x21, 32));
  const std::string s = Integer(Repeat(0x42, 32));
  const std::string good = Sequence(r + s);
  ASSERT_TRUE(RawSignatureFromDer(good));
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"a byte after the sequence", good + Bytes({0})},
      {"cut short", good.substr(0, good.size() - 1)},
      {"only the sequence header", good.substr(0, 2)},
      {"not a sequence", Bytes({0x31, good[1]}) + good.substr(2)},
      {"one number", Sequence(r)},
      {"three numbers", Sequence(r + s + Integer(Bytes({1})))},
      {"a byte after the numbers", Sequence(r + s + Bytes({0}))},
      {"a number that is not an integer", Sequence(Bytes({0x04, 32}) + Repeat(0x21, 32) + s)},
      {"a long-form length where the short one fits", Bytes({0x30, 0x81, static_cast<int>((r + s).size())}) + r + s},
      {"an indefinite length", Bytes({0x30, 0x80}) + r + s + Bytes({0, 0})},
      {"a long-form integer length", Sequence(Bytes({0x02, 0x81, 32}) + Repeat(0x21, 32) + s)},
      {"a length past the end", Bytes({0x30, 0x7F}) + r + s},
      {"an empty integer", Sequence(Integer("") + s)},
      {"a negative number", Sequence(Integer(Bytes({0x80}) + Repeat(0x11, 31)) + s)},
      {"a needless leading zero", Sequence(Integer(Bytes({0x00, 0x7F})) + s)},
      {"two leading zeros", Sequence(Integer(Bytes({0x00, 0x00, 0x80})) + s)},
      {"zero", Sequence(Integer(Bytes({0x00})) + s)},
      {"s zero", Sequence(r + Integer(Bytes({0x00})))},
      {"33 bytes without a sign byte", Sequence(Integer(Bytes({0x01}) + Repeat(0x21, 32)) + s)},
      {"34 bytes", Sequence(Integer(Bytes({0x00, 0x01}) + Repeat(0x81, 32)) + s)},
  };
  for (const auto& [what, der] : cases) EXPECT_FALSE(RawSignatureFromDer(der)) << what;
}

TEST(PublicPointFromSpki, TakesTheUncompressedP256PointAndNothingElse) {
  const std::string prefix = Bytes({0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48, 0xce, 0x3d, 0x02, 0x01,
                                    0x06, 0x08, 0x2a, 0x86, 0x48, 0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00});
  std::string point;
  for (int i = 0; i < 64; ++i) point.push_back(static_cast<char>(i * 3 + 1));
  auto key = PublicPointFromSpki(prefix + Bytes({0x04}) + point);
  ASSERT_TRUE(key);
  EXPECT_EQ(Raw(*key), point);

  std::string otherCurve = prefix;
  otherCurve[22] = 0x08;  // secp256k1 would be another OID altogether; any change is refused
  const std::pair<const char*, std::string> refused[] = {
      {"compressed point", prefix + Bytes({0x02}) + point.substr(0, 32)},
      {"hybrid point", prefix + Bytes({0x06}) + point},
      {"another curve", otherCurve + Bytes({0x04}) + point},
      {"a byte short", prefix + Bytes({0x04}) + point.substr(1)},
      {"a byte more", prefix + Bytes({0x04}) + point + Bytes({0})},
      {"empty", ""},
  };
  for (const auto& [what, der] : refused) EXPECT_FALSE(PublicPointFromSpki(der)) << what;
}

TEST(LooksLikeWindowsProgram, WantsTheDosHeaderMark) {
  EXPECT_TRUE(LooksLikeWindowsProgram("MZ\x90\x00"));
  EXPECT_TRUE(LooksLikeWindowsProgram("MZ"));
  EXPECT_FALSE(LooksLikeWindowsProgram("ZM\x90\x00"));
  EXPECT_FALSE(LooksLikeWindowsProgram("mz"));
  EXPECT_FALSE(LooksLikeWindowsProgram("M"));
  EXPECT_FALSE(LooksLikeWindowsProgram(""));
}

}  // namespace
