#pragma once
// GET of a whole resource by http or https address, over WinINet: HTTP/1.0, direct (no proxy),
// past any cache.
#include <windows.h>

#include <string>

struct HttpTimeouts {
  DWORD connectMilliseconds;
  DWORD receiveMilliseconds;     // the longest wait for the next bytes
  DWORD totalMilliseconds = 0;   // the whole request and transfer; 0 sets no limit
};

struct HttpResponse {
  bool answered = false;  // false: no answer at all (no connection, unknown host, refused, bad address)
  unsigned status = 0;    // the server's status code, when it answered
  bool complete = false;  // the whole body arrived: as long as Content-Length said, and no read failed
  std::string body;       // what arrived, whole or not

  bool ok() const { return answered && status >= 200 && status < 300 && complete; }
};

HttpResponse HttpGet(const std::string& address, const HttpTimeouts& timeouts);
