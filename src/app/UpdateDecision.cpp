#include "app/UpdateDecision.h"

namespace {
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view WhiteSpace = " \t\r\n\v\f";
}  // namespace

std::string PublishedVersion(std::string_view body) {
  body = body.substr(0, body.find('\0'));
  if (body.starts_with(Utf8ByteOrderMark)) body.remove_prefix(Utf8ByteOrderMark.size());
  size_t first = body.find_first_not_of(WhiteSpace);
  if (first == std::string_view::npos) return {};
  size_t last = body.find_last_not_of(WhiteSpace);
  return std::string(body.substr(first, last - first + 1));
}

UpdateDecision DecideOnVersion(const VersionReply& reply, std::string_view ownVersion) {
  bool success = reply.answered && reply.status >= 200 && reply.status < 300 && reply.complete;
  if (!success) return UpdateDecision::StartNormally;
  std::string published = PublishedVersion(reply.body);
  if (published.empty() || published == ownVersion) return UpdateDecision::StartNormally;
  return UpdateDecision::OfferUpdate;
}

UpdateChoice ChoiceFromAnswer(std::string_view answer) {
  if (answer.empty()) return UpdateChoice::InputFailed;
  if (answer == "0") return UpdateChoice::GiveUp;
  if (answer == "1") return UpdateChoice::OnlineUpdate;
  if (answer == "2") return UpdateChoice::ManualUpdate;
  return UpdateChoice::EndAtOnce;
}
