#include "TestWebServer.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "WinTestSupport.h"

namespace {
// scripts/lib.sh: test_http_port; QUENDRAL_HTTP_PORT moves it for a server started by hand.
std::string ServerOrigin() {
  const char* port = std::getenv("QUENDRAL_HTTP_PORT");
  return std::string("http://127.0.0.1:") + (port && *port ? port : "38517");
}
int servedCount = 0;

// A loopback port the system has just handed out and nobody listens on: connecting is refused.
unsigned short UnusedPort() {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
  ::closesocket(probe);
  ::WSACleanup();
  return ntohs(address.sin_port);
}
}  // namespace

std::string WebServerRoot() {
  const char* root = std::getenv("QUENDRAL_HTTP_ROOT");
  if (!root || !*root) {
    ADD_FAILURE() << "QUENDRAL_HTTP_ROOT is not set: start tests/server/http_server.py as scripts/test does";
    return {};
  }
  return root;
}

std::string UniqueServedName(const std::string& stem) {
  // Wine gives every process of a fresh prefix the same id; the start time of the run tells runs apart.
  static const ULONGLONG runStart = [] {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return (ULONGLONG{now.dwHighDateTime} << 32 | now.dwLowDateTime) / 10000;
  }();
  return stem + "-" + std::to_string(runStart) + "-" + std::to_string(++servedCount);
}

std::string ServeFile(const std::string& name, const std::string& bytes) {
  WriteFixtureFile(WebServerRoot() + "\\" + name, bytes);
  return WebServerAddress("/" + name);
}

std::string WebServerAddress(const std::string& path) { return ServerOrigin() + path; }

std::string RefusedAddress(const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(UnusedPort()) + path;
}

std::vector<std::string> ServedRequests() {
  std::istringstream log(ReadFixtureFile(WebServerRoot() + "\\requests.log"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  return lines;
}
