#pragma once
// GET of a whole resource by http or https address, over WinINet: HTTP/1.0, direct (no proxy),
// past any cache.
#include <windows.h>

#include <string>

// The user-agent text every request of the program carries.
inline constexpr char HttpUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

struct HttpTimeouts {
  DWORD connectMilliseconds;
  DWORD receiveMilliseconds;     // the longest wait for the next bytes
  DWORD totalMilliseconds = 0;   // the whole request and transfer; 0 sets no limit
};

struct HttpResponse {
  bool answered = false;  // false: no answer at all (no connection, unknown host, refused, bad address,
                          // a scheme other than http and https, or nothing within the total limit)
  unsigned status = 0;    // the server's status code, when it answered
  bool complete = false;  // the whole body arrived: as long as Content-Length said, and no read failed
  bool outOfMemory = false;  // the body did not fit in memory; body is then empty
  std::string body;       // what arrived, whole or not

  bool ok() const { return answered && status >= 200 && status < 300 && complete; }
};

// Never throws. With a total limit the transfer runs on a thread of its own; when the limit
// passes, the caller gets no answer and the thread ends by itself within its time-outs.
HttpResponse HttpGet(const std::string& address, const HttpTimeouts& timeouts);
