#pragma once
// Keeps the window responsive during a long loop on its own thread. Looking at the message
// queue costs a round trip to the window system (5 to 40 us under Wine, even when it is
// empty), so the loop calls Step() as often as it likes and the queue is looked at only when
// some 30 ms have passed since the last look.
#include <windows.h>

class MessagePump {
 public:
  using Clock = ULONGLONG (*)();  // milliseconds
  static constexpr ULONGLONG IntervalMilliseconds = 30;

  explicit MessagePump(Clock clock = ::GetTickCount64);

  // Dispatches every pending message when the interval has passed. Once a quit request has
  // been met (it is posted again, so the message loop still ends), later steps do nothing.
  void Step();
  bool quitRequested() const { return quitRequested_; }

 private:
  Clock clock_;
  ULONGLONG lastLook_;
  bool quitRequested_ = false;
};
