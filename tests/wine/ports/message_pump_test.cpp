// Letting the message queue run once: what waits is dispatched, a quit request
// stays for the message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_desktop.h"

namespace bootmark::win32 {
namespace {

constexpr UINT kTestMessage = WM_APP + 7;
int delivered = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTestMessage) {
    delivered += static_cast<int>(wParam);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window of this thread that adds up the wParam of kTestMessage.
class CountingWindow {
 public:
  CountingWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BmPumpTestWindow";
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
  }
  ~CountingWindow() {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }
  HWND Get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

TEST(Win32MessagePump, DispatchesWhatWaitsAndReturns) {
  CountingWindow window;
  ASSERT_NE(window.Get(), nullptr);
  delivered = 0;
  for (const WPARAM value : {1, 10, 100}) ASSERT_TRUE(::PostMessageW(window.Get(), kTestMessage, value, 0));

  Win32Desktop desktop;
  desktop.ProcessMessages();
  EXPECT_EQ(delivered, 111);
  // An empty queue: returns at once.
  desktop.ProcessMessages();
  EXPECT_EQ(delivered, 111);
}

TEST(Win32MessagePump, QuitRequestIsLeftForTheMessageLoop) {
  CountingWindow window;
  ASSERT_NE(window.Get(), nullptr);
  delivered = 0;
  ::PostQuitMessage(7);
  ASSERT_TRUE(::PostMessageW(window.Get(), kTestMessage, 1, 0));

  Win32Desktop desktop;
  desktop.ProcessMessages();
  EXPECT_EQ(delivered, 1);

  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
  // Drain what the test left.
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

}  // namespace
}  // namespace bootmark::win32
