#include "app/UpdateDecision.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* Own = "1.0.0";

VersionReply Served(std::string body) { return {true, 200, true, std::move(body)}; }

struct DecisionCase {
  const char* what;
  VersionReply reply;
  UpdateDecision expected;
};

TEST(DecideOnVersion, OffersAnUpdateOnlyWhenTheServerPublishesAnotherVersion) {
  using enum UpdateDecision;
  const DecisionCase cases[] = {
      {"equal", Served("1.0.0"), StartNormally},
      {"trailing CR LF", Served("1.0.0\r\n"), StartNormally},
      {"trailing LF and spaces around", Served("  1.0.0 \n"), StartNormally},
      {"tabs and a form feed", Served("\t1.0.0\f"), StartNormally},
      {"UTF-8 byte-order mark", Served("\xEF\xBB\xBF" "1.0.0"), StartNormally},
      {"byte-order mark and line break", Served("\xEF\xBB\xBF" "1.0.0\r\n"), StartNormally},
      {"text after a zero byte is not read", Served(std::string("1.0.0\0" "9.9.9", 11)), StartNormally},
      {"another version", Served("1.0.1"), OfferUpdate},
      {"another version with a line break", Served("1.0.1\r\n"), OfferUpdate},
      {"an older version is another version too", Served("0.9.0"), OfferUpdate},
      {"case and inner spaces count", Served("1.0. 0"), OfferUpdate},
      {"a prefix of our version", Served("1.0"), OfferUpdate},
      {"our version with more after it", Served("1.0.00"), OfferUpdate},
      {"a page of HTML answered 200", Served("<html>1.0.0</html>"), OfferUpdate},
      {"a zero byte at the start hides the rest", Served(std::string("\0" "1.0.0", 6)), StartNormally},
      {"empty body", Served(""), StartNormally},
      {"only white space", Served(" \r\n"), StartNormally},
      {"only a byte-order mark", Served("\xEF\xBB\xBF"), StartNormally},
      {"request failed", {false, 0, false, ""}, StartNormally},
      {"404 with a page", {true, 404, true, "1.0.1"}, StartNormally},
      {"500", {true, 500, true, "error"}, StartNormally},
      {"redirect not followed", {true, 302, true, "1.0.1"}, StartNormally},
      {"204 no content", {true, 204, true, ""}, StartNormally},
      {"another version, transfer cut short", {true, 200, false, "1.0.1"}, StartNormally},
  };
  for (const DecisionCase& c : cases) {
    EXPECT_EQ(DecideOnVersion(c.reply, Own), c.expected) << c.what;
  }
}

TEST(PublishedVersion, TrimsOnlyTheByteOrderMarkAndSurroundingWhiteSpace) {
  EXPECT_EQ(PublishedVersion("\xEF\xBB\xBF 1.0.1 beta\r\n"), "1.0.1 beta");
  EXPECT_EQ(PublishedVersion("1.0.1\xEF\xBB\xBF"), "1.0.1\xEF\xBB\xBF");  // a mark is only one at the start
  EXPECT_EQ(PublishedVersion("\xEF\xBB"), "\xEF\xBB");                     // half a mark is text
  EXPECT_EQ(PublishedVersion("\xC4\xEA"), "\xC4\xEA");                     // 年: double-byte text stays whole
}

TEST(ChoiceFromAnswer, ComparesTheAnswerExactly) {
  using enum UpdateChoice;
  const std::pair<const char*, UpdateChoice> cases[] = {
      {"", InputFailed}, {"0", GiveUp}, {"1", OnlineUpdate}, {"2", ManualUpdate},
      {"3", EndAtOnce},  {"-1", EndAtOnce}, {"01", EndAtOnce}, {"1 ", EndAtOnce},
      {" 1", EndAtOnce}, {"10", EndAtOnce}, {"-", EndAtOnce}, {"00", EndAtOnce},
  };
  for (const auto& [answer, expected] : cases) EXPECT_EQ(ChoiceFromAnswer(answer), expected) << '"' << answer << '"';
}

}  // namespace
