// The full-screen check that holds back the new-item alert (the run-mode switches
// themselves are matched in the application tests, one launch per mode).
#include "app/full_screen.h"

#include <gtest/gtest.h>

#include "fakes/fake_ports.h"

namespace bootmark {
namespace {

struct FullScreenCase {
  const char* name;
  Rect rect;
  const char* className;
  bool expected;
};

TEST(FullScreen, OnlyAWindowCoveringThePrimaryScreenThatIsNotTheDesktop) {
  const FullScreenCase cases[] = {
      {"borderless game", {0, 0, 1920, 1080}, "UnityWndClass", true},
      {"maximised window above the task bar", {0, 0, 1920, 1040}, "Notepad", false},
      {"program manager", {0, 0, 1920, 1080}, "Progman", false},
      {"desktop worker in other case", {0, 0, 1920, 1080}, "workerw", false},
      {"larger than the screen but not at the origin", {0, 0, 2000, 1200}, "Game", false},
      {"reaching the corner from the right of the origin", {100, 0, 1920, 1080}, "Game", false},
      {"reaching the corner from above the origin", {0, -40, 1920, 1080}, "Game", false},
  };
  for (const FullScreenCase& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    testing::FakeDesktop desktop;
    desktop.foreground = desktop.AddWindow({testCase.className, "", testCase.rect});
    EXPECT_EQ(IsFullScreenForeground(desktop), testCase.expected);
  }
}

TEST(FullScreen, NoForegroundWindowOrTheDesktopItselfIsNotFullScreen) {
  testing::FakeDesktop desktop;
  desktop.foreground = kInvalidWindow;
  EXPECT_FALSE(IsFullScreenForeground(desktop));
  desktop.foreground = testing::FakeDesktop::kDesktopHandle;
  EXPECT_FALSE(IsFullScreenForeground(desktop));
  // A window whose rectangle cannot be read (it closed meanwhile).
  desktop.foreground = 0x999;
  EXPECT_FALSE(IsFullScreenForeground(desktop));
}

}  // namespace
}  // namespace bootmark
