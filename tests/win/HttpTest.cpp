#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "TestWebServer.h"
#include "platform/Http_win.h"

namespace {

// Bytes of every value, zeros included, over more than one 64 KB read.
std::string SampleBody() {
  std::string bytes(66000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

constexpr HttpTimeouts Quick{5000, 5000};

struct FetchCase {
  const char* what;
  std::string path;  // on the test server; "{}" stands for the served file's name
  HttpTimeouts timeouts;
  bool answered;
  unsigned status;
  bool complete;
  std::string body;  // "{}" stands for the whole served file
};

std::string Substitute(std::string text, const std::string& name) {
  if (auto at = text.find("{}"); at != std::string::npos) text.replace(at, 2, name);
  return text;
}

TEST(HttpGet, AnswersWithStatusBodyAndWhetherTheTransferWasComplete) {
  const std::string file = SampleBody();
  const FetchCase cases[] = {
      {"a whole file", "/{}", Quick, true, 200, true, "{}"},
      {"a query stays in the request", "/{}?v=2", Quick, true, 200, true, "{}"},
      {"an error status with its page", "/status/404/{}", Quick, true, 404, true, "status 404"},
      {"a server error", "/status/500/{}", Quick, true, 500, true, "status 500"},
      {"a missing file", "/missing-{}", Quick, true, 404, true, "not found"},
      {"a transfer cut short", "/cut/1000/{}", Quick, true, 200, false, file.substr(0, 1000)},
      {"a slow answer within the receive time-out", "/slow/300/{}", {5000, 5000}, true, 200, true, "{}"},
      {"an answer later than the receive time-out", "/slow/3000/{}", {5000, 300}, false, 0, false, ""},
      {"an answer later than the total limit", "/slow/3000/{}", {5000, 10000, 500}, false, 0, false, ""},
      {"within the total limit", "/{}", {3000, 5000, 5000}, true, 200, true, "{}"},
  };
  for (const FetchCase& c : cases) {
    const std::string name = UniqueServedName("http");
    ServeFile(name, file);
    HttpResponse response = HttpGet(WebServerAddress(Substitute(c.path, name)), c.timeouts);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(response.answered, c.answered);
    EXPECT_EQ(response.status, c.status);
    EXPECT_EQ(response.complete, c.complete);
    EXPECT_FALSE(response.outOfMemory);
    EXPECT_TRUE(response.body == (c.body == "{}" ? file : c.body)) << "body of " << response.body.size() << " bytes";
    EXPECT_EQ(response.ok(), c.answered && c.status == 200 && c.complete);
  }
}

TEST(HttpGet, AddressesItCannotServeGetNoAnswer) {
  const std::string name = UniqueServedName("http");
  ServeFile(name, "served");
  const std::string addresses[] = {
      RefusedAddress("/" + name),
      "http://name.invalid/" + name,  // RFC 6761: never resolves
      "ftp" + WebServerAddress("/" + name).substr(4),
      "file:///C:/windows/win.ini",
      WebServerAddress("/" + name).substr(7),
      "",
  };
  for (const std::string& address : addresses) {
    HttpResponse response = HttpGet(address, Quick);
    EXPECT_FALSE(response.answered) << address;
    EXPECT_FALSE(response.ok()) << address;
    EXPECT_EQ(response.body, "") << address;
  }
}

TEST(HttpGet, SendsAnHttp10RequestWithTheProgramsUserAgent) {
  const std::string name = UniqueServedName("agent");
  ASSERT_TRUE(HttpGet(ServeFile(name, "x") + "?v=2", Quick).ok());
  const std::string expected = "GET /" + name + "?v=2 HTTP/1.0\tMozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
  std::vector<std::string> requests = ServedRequests();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), expected), 1);
}

TEST(HttpGet, LeavesNothingInTheCacheAndFetchesAfreshEveryTime) {
  const std::string name = UniqueServedName("fresh");
  std::string address = ServeFile(name, "first version");
  ASSERT_EQ(HttpGet(address, Quick).body, "first version");
  DWORD size = 0;
  EXPECT_FALSE(::GetUrlCacheEntryInfoA(address.c_str(), nullptr, &size));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  ServeFile(name, "second version");
  EXPECT_EQ(HttpGet(address, Quick).body, "second version");
}

}  // namespace
