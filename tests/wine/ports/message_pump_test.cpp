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
  if (message != kTestMessage) return ::DefWindowProcW(window, message, wParam, lParam);
  delivered += static_cast<int>(wParam);
  return 0;
}

TEST(Win32MessagePump, DispatchesWhatWaitsAndLeavesAQuitRequestForTheLoop) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = CountingProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BmPumpTestWindow";
  ::RegisterClassW(&windowClass);
  const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  for (const WPARAM value : {1, 10}) ASSERT_TRUE(::PostMessageW(window, kTestMessage, value, 0));
  ::PostQuitMessage(7);
  ASSERT_TRUE(::PostMessageW(window, kTestMessage, 100, 0));

  Win32Desktop desktop;
  desktop.ProcessMessages();
  EXPECT_EQ(delivered, 111);
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
  desktop.ProcessMessages();  // an empty queue: returns at once
  EXPECT_EQ(delivered, 111);
  ::DestroyWindow(window);
}

}  // namespace
}  // namespace bootmark::win32
