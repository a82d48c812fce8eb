#pragma once
// The local web server the tests fetch links from (tests/server/http_server.py), started by
// scripts/test on 127.0.0.1 with its root folder named in QUENDRAL_HTTP_ROOT.
#include <string>
#include <vector>

// The server's root folder as a Windows path; fails the current test when it is not set.
std::string WebServerRoot();
// A file name under the root that no earlier request used, for a test to serve its own bytes.
std::string UniqueServedName(const std::string& stem);
// Writes bytes to serve as root/name and returns the link to them.
std::string ServeFile(const std::string& name, const std::string& bytes);
// The address of a path on the server ("/status/404/x", "/cut/10/name", ...).
std::string WebServerAddress(const std::string& path);
// An address on which nothing listens.
std::string RefusedAddress(const std::string& path);
// Every request the server has logged so far: the request line, a tab, the User-Agent header.
std::vector<std::string> ServedRequests();
