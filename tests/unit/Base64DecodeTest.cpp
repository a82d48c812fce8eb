#include "codec/Base64.h"

#include <gtest/gtest.h>

#include "TestData.h"

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace std::literals;

namespace {

// Texts in failure messages, with control and non-ASCII bytes as escapes.
std::string Printable(std::string_view text) {
  std::string printable;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      printable += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      printable += escape;
    }
  }
  return printable.size() > 120 ? printable.substr(0, 120) + "..." : printable;
}

const char* Name(DecodeError error) {
  switch (error) {
    case DecodeError::None: return "None";
    case DecodeError::NotInAlphabet: return "NotInAlphabet";
    case DecodeError::MisplacedPadding: return "MisplacedPadding";
    case DecodeError::SingleCharacterGroup: return "SingleCharacterGroup";
  }
  return "?";
}

struct DecodeCase {
  std::string_view text;
  std::string_view bytes;  // when it decodes
  size_t errorPosition = 0;
  DecodeError error = DecodeError::None;
};

DecodeCase Gives(std::string_view text, std::string_view bytes) { return {text, bytes}; }
DecodeCase FailsAt(std::string_view text, size_t position, DecodeError error) { return {text, {}, position, error}; }

// Checks one case, and that the caller's text is left as it was.
void ExpectDecode(const DecodeCase& c) {
  const std::string text(c.text);
  const DecodeResult result = DecodeBase64(text);
  EXPECT_EQ(text, c.text) << "the caller's text changed";
  if (c.errorPosition == 0) {
    EXPECT_TRUE(result.ok()) << Printable(c.text) << " fails at " << result.errorPosition << " ("
                             << Name(result.error) << ")";
    EXPECT_EQ(Printable(result.bytes), Printable(c.bytes)) << "text " << Printable(c.text);
    EXPECT_EQ(result.error, DecodeError::None);
  } else {
    EXPECT_EQ(result.errorPosition, c.errorPosition) << "text " << Printable(c.text);
    EXPECT_EQ(Name(result.error), Name(c.error)) << "text " << Printable(c.text);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.bytes, "") << "a failed decode hands back no bytes";
  }
}

TEST(DecodeBase64, GivesTheExactBytesOfWellFormedText) {
  const DecodeCase cases[] = {
      Gives(""sv, ""sv),
      Gives("Zg=="sv, "f"sv),
      Gives("Zm8="sv, "fo"sv),
      Gives("Zm9v"sv, "foo"sv),
      Gives("Zm9vYmFy"sv, "foobar"sv),
      Gives("QUJD"sv, "ABC"sv),
      Gives("QUI="sv, "AB"sv),
      Gives("QQ=="sv, "A"sv),
      Gives("qujd"sv, "\xAA\xE8\xDD"sv),
      Gives("////"sv, "\xFF\xFF\xFF"sv),
      // Zero bytes at the end are data.
      Gives("AAAA"sv, "\x00\x00\x00"sv),
      Gives("AAAB"sv, "\x00\x00\x01"sv),
      Gives("AQA="sv, "\x01\x00"sv),
      Gives("AAE="sv, "\x00\x01"sv),
      Gives("AA=="sv, "\x00"sv),
      Gives("AAA="sv, "\x00\x00"sv),
  };
  for (const DecodeCase& c : cases) ExpectDecode(c);
}

TEST(DecodeBase64, ToleratesMissingPaddingWhiteSpaceAndTheUrlSafeAlphabet) {
  const DecodeCase cases[] = {
      // Padding is optional; a last group of two or three characters gives one or two bytes.
      Gives("QUI"sv, "AB"sv),
      Gives("QQ"sv, "A"sv),
      Gives("AA"sv, "\x00"sv),
      Gives("AAA"sv, "\x00\x00"sv),
      Gives("QQ="sv, "A"sv),
      Gives("QUJDQQ"sv, "ABCA"sv),
      // Bits below the last byte are not examined.
      Gives("QR=="sv, "A"sv),
      // White space anywhere, ASCII or the full-width space A1 A1.
      Gives("   "sv, ""sv),
      Gives("\r\n"sv, ""sv),
      Gives(" \t\r\n\v\f"sv, ""sv),
      Gives("\xA1\xA1"sv, ""sv),
      Gives("Q U J D"sv, "ABC"sv),
      Gives("Q\xA1\xA1U\xA1\xA1J\xA1\xA1" "D"sv, "ABC"sv),
      Gives("QUJD\r\nRUZH"sv, "ABCEFG"sv),
      Gives("QUJD\nQUJD"sv, "ABCABC"sv),
      Gives("QUJD\rQUJD"sv, "ABCABC"sv),
      Gives("\tQU\vJD\f"sv, "ABC"sv),
      Gives("  QUJD\r\n"sv, "ABC"sv),
      Gives("QQ==\r\n"sv, "A"sv),
      Gives("QQ= =\n"sv, "A"sv),
      Gives("QUI=\xA1\xA1  "sv, "AB"sv),
      Gives("Q\nQ\n=\n=\n"sv, "A"sv),
      // RFC 4648 section 5: '-' and '_' are 62 and 63, mixed freely with the standard alphabet.
      Gives("-_-_"sv, "\xFB\xFF\xBF"sv),
      Gives("+/+/"sv, "\xFB\xFF\xBF"sv),
      Gives("+_-/"sv, "\xFB\xFF\xBF"sv),
      Gives("_w"sv, "\xFF"sv),
  };
  for (const DecodeCase& c : cases) ExpectDecode(c);
}

// A 1x1 PNG, encoded by another tool.
constexpr std::string_view Png =
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08\x02\x00"
    "\x00\x00\x90\x77\x53\xDE\x00\x00\x00\x0C\x49\x44\x41\x54\x78\xDA\x63\xF8\xCF\xC0\x00\x00\x03\x01\x01\x00\xF7"
    "\x03\x41\x43\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82"sv;
constexpr std::string_view PngBase64 =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR42mP4z8AAAAMBAQD3A0FDAAAAAElFTkSuQmCC"sv;

TEST(DecodeBase64, SkipsALeadingDataUriPrefix) {
  const std::string dataUri = "data:image/png;base64," + std::string(PngBase64);
  const std::string wrapped = "\r\n  data:image/png;base64,\r\n" + std::string(PngBase64.substr(0, 76)) + "\r\n" +
                              std::string(PngBase64.substr(76)) + "\r\n";
  const DecodeCase cases[] = {
      Gives(dataUri, Png),
      Gives(wrapped, Png),
      Gives("data:;base64,QUJD"sv, "ABC"sv),
      Gives("DATA:text/plain;charset=US-ASCII;BASE64,QUJD"sv, "ABC"sv),
      Gives("data:image/png;base64,"sv, ""sv),
      // A media type parameter may hold double-byte characters (\xCD\xBC is a Chinese character).
      Gives("data:image/png;name=\xCD\xBC.png;base64,QUJD"sv, "ABC"sv),
      // Positions still count from the start of the text as given.
      FailsAt("data:;base64,QQ==QQ=="sv, 16, DecodeError::MisplacedPadding),
      FailsAt("data:;base64,QU*D"sv, 16, DecodeError::NotInAlphabet),
      // Not a Base64 data URI, or not at the start: the ':' is the first character that is wrong.
      FailsAt("data:text/plain,QUJD"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("data:image/png;base64QUJD"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("data:,;base64,QUJD"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("data:image/png;base64x,QUJD"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("data:;base64;charset=x,QUJD"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("xdata:;base64,QUJD"sv, 6, DecodeError::NotInAlphabet),
      FailsAt("QUJD data:;base64,QUJD"sv, 10, DecodeError::NotInAlphabet),
      // The ';' is the second byte of a double-byte character, not a separator.
      FailsAt("data:\xB0;base64,QUJD"sv, 5, DecodeError::NotInAlphabet),
  };
  for (const DecodeCase& c : cases) ExpectDecode(c);
}

TEST(DecodeBase64, FailsAtTheFirstOffendingCharacter) {
  const DecodeCase cases[] = {
      FailsAt("QUJD*REVG"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("QU.D"sv, 3, DecodeError::NotInAlphabet),
      FailsAt("QU\0JD"sv, 3, DecodeError::NotInAlphabet),
      FailsAt("QUJD\x1A"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("QUJD\x7F"sv, 5, DecodeError::NotInAlphabet),
      // A double-byte character counts from its first byte, wherever it stands in a group.
      FailsAt("QU\xB0\xA1JD"sv, 3, DecodeError::NotInAlphabet),
      FailsAt("QUJD\xB0\xA1"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("QUJD\xA1"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("\xA1\xA1\xA1QUJD"sv, 3, DecodeError::NotInAlphabet),
      // A full-width space is one character: the A1 after it starts the next one.
      FailsAt("QUJD\xA1\xA1\xA1" "Q"sv, 7, DecodeError::NotInAlphabet),
      // Padding that does not end the last group.
      FailsAt("QQ==QQ=="sv, 3, DecodeError::MisplacedPadding),
      FailsAt("QQ=\nQ"sv, 3, DecodeError::MisplacedPadding),
      FailsAt("QUI=QUJD"sv, 4, DecodeError::MisplacedPadding),
      FailsAt("="sv, 1, DecodeError::MisplacedPadding),
      FailsAt("==="sv, 1, DecodeError::MisplacedPadding),
      FailsAt("QUJD="sv, 5, DecodeError::MisplacedPadding),
      FailsAt("QUJD\r\n=="sv, 7, DecodeError::MisplacedPadding),
      FailsAt("QUI=="sv, 5, DecodeError::MisplacedPadding),
      FailsAt("QQ==="sv, 5, DecodeError::MisplacedPadding),
      FailsAt("QQ= = ="sv, 7, DecodeError::MisplacedPadding),
      // Something that is not padding after it.
      FailsAt("QQ==*"sv, 5, DecodeError::NotInAlphabet),
      FailsAt("QQ==\r\n\xB0\xA1"sv, 7, DecodeError::NotInAlphabet),
      // A group of one character cannot hold a byte.
      FailsAt("Q"sv, 1, DecodeError::SingleCharacterGroup),
      FailsAt("QUJDQ"sv, 5, DecodeError::SingleCharacterGroup),
      FailsAt("QUJD Q\r\n"sv, 6, DecodeError::SingleCharacterGroup),
      FailsAt("Q==="sv, 1, DecodeError::SingleCharacterGroup),
      FailsAt("QUJD\nQ="sv, 6, DecodeError::SingleCharacterGroup),
      FailsAt("Q=QUJD"sv, 1, DecodeError::SingleCharacterGroup),
  };
  for (const DecodeCase& c : cases) ExpectDecode(c);
}

// The value a character stands for, from the alphabet string: -1 when it has none.
int ValueOf(unsigned char c) {
  if (c == '-') return 62;
  if (c == '_') return 63;
  const char* found = c == 0 ? nullptr : std::char_traits<char>::find(Base64Alphabet, 64, static_cast<char>(c));
  return found == nullptr ? -1 : static_cast<int>(found - Base64Alphabet);
}

bool IsWhiteSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Every byte value at each of the first eight places of a run of 'A's (each of the four places
// in a group, in both groups a fast step takes at once) decodes as the alphabet string says.
TEST(DecodeBase64, ReadsEveryByteValueAsTheAlphabetSays) {
  for (int place = 0; place < 8; ++place) {
    for (int byte = 0; byte < 256; ++byte) {
      const unsigned char c = static_cast<unsigned char>(byte);
      std::string text(16, 'A');
      text[place] = static_cast<char>(c);
      const DecodeResult result = DecodeBase64(text);
      const int value = ValueOf(c);
      if (value >= 0) {
        std::string expected(12, '\0');
        const uint32_t group = static_cast<uint32_t>(value) << (6 * (3 - place % 4));
        expected[place / 4 * 3] = static_cast<char>(group >> 16);
        expected[place / 4 * 3 + 1] = static_cast<char>(group >> 8);
        expected[place / 4 * 3 + 2] = static_cast<char>(group);
        ASSERT_TRUE(result.ok()) << "byte " << byte << " at " << place;
        ASSERT_EQ(Printable(result.bytes), Printable(expected)) << "byte " << byte << " at " << place;
      } else if (IsWhiteSpace(c)) {
        // Fifteen characters are left: three groups and a group of three.
        ASSERT_TRUE(result.ok()) << "byte " << byte << " at " << place;
        ASSERT_EQ(result.bytes, std::string(11, '\0')) << "byte " << byte << " at " << place;
      } else if (c == '=') {
        ASSERT_FALSE(result.ok()) << "'=' at " << place;
      } else {
        ASSERT_EQ(result.errorPosition, static_cast<size_t>(place + 1)) << "byte " << byte << " at " << place;
        ASSERT_EQ(result.error, DecodeError::NotInAlphabet) << "byte " << byte << " at " << place;
      }
    }
  }
}

std::string Wrapped(std::string_view text, size_t columns, std::string_view lineBreak) {
  std::string wrapped;
  for (size_t at = 0; at < text.size(); at += columns) {
    wrapped.append(text.substr(at, columns));
    wrapped.append(lineBreak);
  }
  return wrapped;
}

// Every character outside the alphabet, put in place of any one character of a valid text, is
// reported where it stands: in the fast straight runs, next to line breaks and in the tail.
TEST(DecodeBase64, ReportsABadCharacterAtEveryPosition) {
  std::mt19937 random(13);
  const std::string oneLine = EncodeBase64(RandomBytes(random, 100));
  const std::string texts[] = {oneLine, Wrapped(oneLine, 76, "\r\n"), Wrapped(oneLine, 10, "\n")};
  const std::string_view badCharacters[] = {"*"sv, "."sv, "!"sv, ":"sv, "@"sv, "["sv, "`"sv, "{"sv, "~"sv,
                                            "\x00"sv, "\x1F"sv, "\x7F"sv, "\x80"sv, "\xB0\xA1"sv, "\xFF"sv};
  for (const std::string& text : texts) {
    ASSERT_TRUE(DecodeBase64(text).ok());
    for (size_t position = 0; position < text.size(); ++position) {
      for (std::string_view bad : badCharacters) {
        std::string broken = text;
        broken.replace(position, 1, bad);
        const DecodeResult result = DecodeBase64(broken);
        ASSERT_EQ(result.errorPosition, position + 1) << Printable(bad) << " in " << Printable(broken);
        ASSERT_EQ(result.error, DecodeError::NotInAlphabet);
      }
    }
  }
}

// '=' in place of the k-th character of a group (counting from 0): at k = 0 or after data it is
// misplaced; at k = 1 the group holds a single character; it ends the text well only as the
// fourth character of the last group.
TEST(DecodeBase64, ReportsPaddingAtEveryPositionButTheEnd) {
  std::mt19937 random(61);
  const std::string text = EncodeBase64(RandomBytes(random, 60));
  for (size_t position = 0; position < text.size(); ++position) {
    std::string padded = text;
    padded[position] = '=';
    const DecodeResult result = DecodeBase64(padded);
    const size_t k = position % 4;
    if (position == text.size() - 1) {
      EXPECT_TRUE(result.ok()) << padded;
      EXPECT_EQ(result.bytes, DecodeBase64(text.substr(0, position)).bytes);
    } else if (k == 1) {
      EXPECT_EQ(result.errorPosition, position) << padded;
      EXPECT_EQ(result.error, DecodeError::SingleCharacterGroup) << padded;
    } else {
      EXPECT_EQ(result.errorPosition, position + 1) << padded;
      EXPECT_EQ(result.error, DecodeError::MisplacedPadding) << padded;
    }
  }
}

std::string UrlSafe(std::string text) {
  for (char& c : text) {
    if (c == '+') c = '-';
    if (c == '/') c = '_';
  }
  return text;
}

std::string Unpadded(std::string text) {
  while (!text.empty() && text.back() == '=') text.pop_back();
  return text;
}

// Every length from 0 to a few hundred, in every form of text people paste.
TEST(DecodeBase64, GivesBackWhatWasEncodedInEveryForm) {
  std::mt19937 random(2045);
  for (size_t size = 0; size <= 400; ++size) {
    const std::string bytes = RandomBytes(random, size);
    const std::string text = EncodeBase64(bytes);
    const std::string forms[] = {
        text,
        Unpadded(text),
        UrlSafe(Unpadded(text)),
        Wrapped(text, 76, "\r\n"),
        Wrapped(text, 64, "\n"),
        Wrapped(Unpadded(text), 7, " "),
        "data:application/octet-stream;base64," + Wrapped(text, 76, "\r\n"),
    };
    for (const std::string& form : forms) {
      const DecodeResult result = DecodeBase64(form);
      ASSERT_TRUE(result.ok()) << "size " << size << " fails at " << result.errorPosition << ": " << Printable(form);
      ASSERT_EQ(result.bytes, bytes) << "size " << size << ": " << Printable(form);
    }
  }
}

TEST(DecodeBase64, DecodesLongTextWithALateError) {
  std::mt19937 random(7);
  const std::string bytes = RandomBytes(random, 3 * 1024 * 1024);
  std::string text = Wrapped(EncodeBase64(bytes), 76, "\r\n");
  const DecodeResult result = DecodeBase64(text);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.bytes, bytes);

  const size_t late = text.size() - 1000;
  text[late] = text[late] == '\r' || text[late] == '\n' ? '#' : '$';
  EXPECT_EQ(DecodeBase64(text).errorPosition, late + 1);
}

// "Every few thousand groups": more than once in a thousand groups would cost a long decode
// dearly in a window, less than once in sixteen thousand would leave the window unanswered.
TEST(DecodeBase64, ReportsProgressEveryFewThousandGroups) {
  std::mt19937 random(30);
  const std::string longText = EncodeBase64(RandomBytes(random, 3 * 1024 * 1024));
  const std::string texts[] = {
      EncodeBase64(RandomBytes(random, 3000)),
      longText,
      Wrapped(longText, 76, "\r\n"),
      std::string(4 * 1024 * 1024, ' ') + "QUJD",
  };
  for (const std::string& text : texts) {
    size_t calls = 0;
    const DecodeResult result = DecodeBase64(text, [&] { ++calls; });
    ASSERT_TRUE(result.ok());
    const size_t groups = text.size() / 4;
    EXPECT_LE(calls, groups / 1000) << "text of " << text.size();
    EXPECT_GE(calls + 1, groups / 16384) << "text of " << text.size();
  }
}

}  // namespace
