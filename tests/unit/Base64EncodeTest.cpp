#include "codec/Base64.h"

#include <gtest/gtest.h>

#include "TestData.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

using namespace std::literals;

namespace {

// Deliberately plain: collects bits and writes a character whenever six are there.
std::string ReferenceEncode(std::string_view bytes) {
  std::string text;
  uint32_t bits = 0;
  int count = 0;
  for (unsigned char byte : bytes) {
    bits = bits << 8 | byte;
    count += 8;
    while (count >= 6) {
      count -= 6;
      text += Base64Alphabet[(bits >> count) & 63];
    }
  }
  if (count > 0) text += Base64Alphabet[(bits << (6 - count)) & 63];
  while (text.size() % 4 != 0) text += '=';
  return text;
}

struct EncodeCase {
  std::string_view bytes;
  std::string_view text;
};

TEST(EncodeBase64, GivesTheTextsOfRfc4648Section10AndItsTails) {
  const EncodeCase cases[] = {
      {""sv, ""sv},       {"f"sv, "Zg=="sv},      {"fo"sv, "Zm8="sv},     {"foo"sv, "Zm9v"sv},
      {"foob"sv, "Zm9vYg=="sv}, {"fooba"sv, "Zm9vYmE="sv}, {"foobar"sv, "Zm9vYmFy"sv},
  };
  for (const EncodeCase& c : cases) EXPECT_EQ(EncodeBase64(c.bytes), c.text) << "bytes " << c.bytes;
}

TEST(EncodeBase64, EncodesZeroAndHighBytesLikeAnyOther) {
  const EncodeCase cases[] = {
      {"\x00"sv, "AA=="sv},
      {"\x00\x00"sv, "AAA="sv},
      {"\x00\x00\x00"sv, "AAAA"sv},
      {"\x00\x00\x00\x00"sv, "AAAAAA=="sv},
      {"\x80"sv, "gA=="sv},
      {"\xFF"sv, "/w=="sv},
      {"\xFF\xFF\xFF"sv, "////"sv},
      {"\xFB\xEF\xBE"sv, "++++"sv},
      {"\xAA\xE8\xDD"sv, "qujd"sv},
      {"\xFF\x00\x80\x7F"sv, "/wCAfw=="sv},
  };
  for (const EncodeCase& c : cases) EXPECT_EQ(EncodeBase64(c.bytes), c.text);
}

// 48 bytes that use every character once, in order: catches a wrong entry in any table.
TEST(EncodeBase64, WritesEveryCharacterOfTheAlphabetFromItsValue) {
  const std::string_view bytes =
      "\x00\x10\x83\x10\x51\x87\x20\x92\x8B\x30\xD3\x8F\x41\x14\x93\x51\x55\x97\x61\x96\x9B\x71\xD7\x9F"
      "\x82\x18\xA3\x92\x59\xA7\xA2\x9A\xAB\xB2\xDB\xAF\xC3\x1C\xB3\xD3\x5D\xB7\xE3\x9E\xBB\xF3\xDF\xBF"sv;
  EXPECT_EQ(EncodeBase64(bytes), Base64Alphabet);
}

// Every length up to a few hundred (every tail and every step of the fast loop), and a few long
// inputs, each also from an odd place in a larger buffer.
TEST(EncodeBase64, AgreesWithAPlainEncoderOnRandomBytes) {
  std::mt19937 random(4648);
  for (size_t size = 0; size <= 600; ++size) {
    const std::string bytes = RandomBytes(random, size);
    const std::string text = EncodeBase64(bytes);
    ASSERT_EQ(text, ReferenceEncode(bytes)) << "size " << size;
    ASSERT_EQ(text.size(), (size + 2) / 3 * 4) << "size " << size;
  }
  for (size_t size : {4095u, 65536u, 1000001u}) {
    const std::string buffer = RandomBytes(random, size + 8);
    for (size_t offset : {0u, 1u, 5u}) {
      const std::string_view bytes = std::string_view(buffer).substr(offset, size);
      ASSERT_EQ(EncodeBase64(bytes), ReferenceEncode(bytes)) << "size " << size << " offset " << offset;
    }
  }
}

}  // namespace
