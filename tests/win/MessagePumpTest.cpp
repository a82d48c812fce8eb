#include <windows.h>

#include <vector>

#include "WinTestSupport.h"
#include "platform/MessagePump_win.h"

namespace {

ULONGLONG fakeNow = 0;
ULONGLONG FakeClock() { return fakeNow; }

constexpr UINT CountedMessage = WM_APP + 7;
int countedMessages = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CountedMessage) {
    ++countedMessages;
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// A hidden window that counts the messages it is sent through the queue.
class MessagePumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PumpMessages();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuendralPumpTest";
    ::RegisterClassA(&windowClass);
    target = ::CreateWindowA("QuendralPumpTest", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(target);
    countedMessages = 0;
    fakeNow = 1000;
  }
  void TearDown() override {
    ::DestroyWindow(target);
    PumpMessages();
  }
  void Post() { ::PostMessageA(target, CountedMessage, 0, 0); }

  HWND target = nullptr;
};

TEST_F(MessagePumpTest, LooksAtTheQueueOnlyOnceTheIntervalHasPassedSinceTheLastLook) {
  MessagePump pump(FakeClock);
  Post();
  struct {
    ULONGLONG now;
    int dispatchedSoFar;
  } steps[] = {
      {1000, 0}, {1029, 0},  // the interval runs from the pump's creation
      {1030, 1},             // due: the waiting message is dispatched
      {1031, 1}, {1059, 1},  // posted again meanwhile, but the last look was at 1030
      {1060, 2}, {1200, 2},  // nothing new waits at 1200
  };
  bool postedAgain = false;
  for (const auto& step : steps) {
    fakeNow = step.now;
    pump.Step();
    EXPECT_EQ(countedMessages, step.dispatchedSoFar) << "at " << step.now;
    if (step.now == 1030 && !postedAgain) {
      Post();
      postedAgain = true;
    }
  }
  EXPECT_FALSE(pump.quitRequested());
}

TEST_F(MessagePumpTest, AQuitRequestStaysInTheQueueAndEndsTheLooking) {
  MessagePump pump(FakeClock);
  ::PostQuitMessage(3);
  fakeNow += MessagePump::IntervalMilliseconds;
  pump.Step();
  EXPECT_TRUE(pump.quitRequested());

  Post();
  fakeNow += 10 * MessagePump::IntervalMilliseconds;
  pump.Step();
  EXPECT_EQ(countedMessages, 0) << "nothing more is dispatched once the program is ending";

  MSG message{};
  bool quitWaits = false;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quitWaits = true;
      EXPECT_EQ(message.wParam, 3u);
    }
  }
  EXPECT_TRUE(quitWaits) << "the message loop must still see the quit request";
}

}  // namespace
