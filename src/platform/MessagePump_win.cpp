#include "platform/MessagePump_win.h"

#include "platform/Messages_win.h"

MessagePump::MessagePump(Clock clock) : clock_(clock), lastLook_(clock()) {}

void MessagePump::Step() {
  if (quitRequested_) return;
  ULONGLONG now = clock_();
  if (now - lastLook_ < IntervalMilliseconds) return;
  quitRequested_ = !ProcessPendingMessages();
  // Measured after the messages, so that a long one (a dialog, a repaint) is not followed at
  // once by another look.
  lastLook_ = clock_();
}
