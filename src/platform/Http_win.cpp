#include "platform/Http_win.h"

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "platform/Handles.h"

namespace {

constexpr DWORD ReadChunkBytes = 64 * 1024;

struct Url {
  bool secure = false;
  std::string host;
  INTERNET_PORT port = 0;
  std::string user;
  std::string password;
  std::string object;  // path and query, exactly as given
};

std::string Part(const char* start, DWORD length) { return start ? std::string(start, length) : std::string(); }

// Only http and https: WinINet would also open ftp and file addresses, which answer with no status.
std::optional<Url> ParseHttpUrl(const std::string& address) {
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  // Non-zero lengths with null buffers ask for pointers into the address itself.
  parts.dwHostNameLength = parts.dwUserNameLength = parts.dwPasswordLength = 1;
  parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!::InternetCrackUrlA(address.c_str(), 0, 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
  if (parts.dwHostNameLength == 0) return std::nullopt;
  Url url;
  url.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  url.host = Part(parts.lpszHostName, parts.dwHostNameLength);
  url.port = parts.nPort;
  url.user = Part(parts.lpszUserName, parts.dwUserNameLength);
  url.password = Part(parts.lpszPassword, parts.dwPasswordLength);
  url.object = Part(parts.lpszUrlPath, parts.dwUrlPathLength) + Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (url.object.empty() || url.object[0] != '/') url.object.insert(0, 1, '/');
  return url;
}

// Child handles take the values of their parent; the request gets them again in case it does not.
void SetTimeouts(HINTERNET handle, const HttpTimeouts& timeouts) {
  DWORD connect = timeouts.connectMilliseconds;
  DWORD receive = timeouts.receiveMilliseconds;
  ::InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
  ::InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
  ::InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
}

std::optional<unsigned long long> ContentLength(HINTERNET request) {
  char text[32] = {};
  DWORD size = sizeof text;
  if (!::HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return std::nullopt;
  unsigned long long length = 0;
  auto [end, error] = std::from_chars(text, text + size, length);
  if (error != std::errc() || end != text + size) return std::nullopt;
  return length;
}

// A promised length is only a hint: a server may claim more than it sends or than memory holds.
// The room includes the final read, which finds the end, so that the body is never moved.
void ReserveForBody(std::string& body, unsigned long long length) {
  if (length > body.max_size() - ReadChunkBytes) return;
  try {
    body.reserve(static_cast<size_t>(length) + ReadChunkBytes);
  } catch (const std::exception&) {
  }
}

HttpResponse Fetch(const std::string& address, const HttpTimeouts& timeouts, const std::atomic<bool>* abandoned,
                   const HttpProgress* progress = nullptr) {
  HttpResponse response;
  std::optional<Url> url = ParseHttpUrl(address);
  if (!url) return response;

  unique_hinternet session(::InternetOpenA(HttpUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return response;
  SetTimeouts(session.get(), timeouts);
  unique_hinternet connection(::InternetConnectA(session.get(), url->host.c_str(), url->port,
                                                 url->user.empty() ? nullptr : url->user.c_str(),
                                                 url->password.empty() ? nullptr : url->password.c_str(),
                                                 INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return response;

  // RELOAD goes past any cache, NO_CACHE_WRITE keeps the body out of it. A redirect from http to
  // https is followed; one from https to http is not. No dialog may appear (certificates, logins).
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
  if (url->secure) flags |= INTERNET_FLAG_SECURE;
  unique_hinternet request(
      ::HttpOpenRequestA(connection.get(), "GET", url->object.c_str(), "HTTP/1.0", nullptr, nullptr, flags, 0));
  if (!request) return response;
  SetTimeouts(request.get(), timeouts);
  if (!::HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return response;

  DWORD status = 0;
  DWORD size = sizeof status;
  if (!::HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
    return response;
  }
  response.answered = true;
  response.status = status;

  std::optional<unsigned long long> expected = ContentLength(request.get());
  std::string& body = response.body;
  try {
    if (expected) ReserveForBody(body, *expected);
    for (;;) {
      if (abandoned && abandoned->load()) return response;
      size_t have = body.size();
      body.resize(have + ReadChunkBytes);
      DWORD read = 0;
      BOOL readOk = ::InternetReadFile(request.get(), body.data() + have, ReadChunkBytes, &read);
      body.resize(have + read);
      if (!readOk) return response;
      if (read == 0) break;
      if (progress && !(*progress)(body.size(), expected.value_or(0))) return response;
    }
  } catch (const std::exception&) {  // std::bad_alloc, or std::length_error past max_size()
    body = std::string();
    response.outOfMemory = true;
    return response;
  }
  // Without Content-Length the end of the connection is the end of the body (HTTP/1.0).
  response.complete = !expected || *expected == body.size();
  return response;
}

HttpResponse OutOfMemory() {
  HttpResponse response;
  response.outOfMemory = true;
  return response;
}

struct BackgroundFetch {
  std::string address;
  HttpTimeouts timeouts;
  std::atomic<bool> abandoned{false};
  HttpResponse response;
  unique_handle done{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

// WinINet's own time-outs do not cover name resolution, so only a thread of its own keeps the
// whole request within the limit. A thread left behind stops at its next read.
HttpResponse FetchWithin(const std::string& address, HttpTimeouts timeouts) {
  timeouts.connectMilliseconds = std::min(timeouts.connectMilliseconds, timeouts.totalMilliseconds);
  timeouts.receiveMilliseconds = std::min(timeouts.receiveMilliseconds, timeouts.totalMilliseconds);
  auto job = std::make_shared<BackgroundFetch>();
  job->address = address;
  job->timeouts = timeouts;
  if (!job->done) return Fetch(address, timeouts, nullptr);
  try {
    std::thread([job] {
      try {
        job->response = Fetch(job->address, job->timeouts, &job->abandoned);
      } catch (const std::bad_alloc&) {
        job->response = OutOfMemory();
      }
      ::SetEvent(job->done.get());
    }).detach();
  } catch (const std::system_error&) {
    return Fetch(address, timeouts, nullptr);
  }
  if (::WaitForSingleObject(job->done.get(), timeouts.totalMilliseconds) == WAIT_OBJECT_0) {
    return std::move(job->response);
  }
  job->abandoned = true;
  return {};
}

}  // namespace

HttpResponse HttpGet(const std::string& address, const HttpTimeouts& timeouts) {
  try {
    return timeouts.totalMilliseconds ? FetchWithin(address, timeouts) : Fetch(address, timeouts, nullptr);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}

HttpResponse HttpGet(const std::string& address, const HttpTimeouts& timeouts, const HttpProgress& progress) {
  try {
    return Fetch(address, timeouts, nullptr, progress ? &progress : nullptr);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
}
