#pragma once
// What the start-up update check decides from the maker's answer and from the user's choice.
// Pure functions: the Win32 side fetches, asks and acts.
#include <string>
#include <string_view>

// The version document as the HTTP client got it.
struct VersionReply {
  bool answered = false;  // false: no connection, no answer in time
  unsigned status = 0;
  bool complete = false;  // the whole body arrived
  std::string body;
};

// The published version text: the body up to its first zero byte, without a UTF-8 byte-order mark
// and without the white space around it (editors add both).
std::string PublishedVersion(std::string_view body);

enum class UpdateDecision {
  StartNormally,  // the same version, or nothing trustworthy was learnt
  OfferUpdate,    // another version is published
};

// A reply tells of another version only when the server answered 2xx with the whole body and that
// body names a version; failures, error pages and empty or cut-off bodies let the program start.
UpdateDecision DecideOnVersion(const VersionReply& reply, std::string_view ownVersion);

enum class UpdateChoice {
  InputFailed,   // ""
  GiveUp,        // "0"
  OnlineUpdate,  // "1"
  ManualUpdate,  // "2"
  EndAtOnce,     // anything else
};

// The answer of the input box, compared exactly: no trimming, no number parsing ("01" is not "1").
UpdateChoice ChoiceFromAnswer(std::string_view answer);
