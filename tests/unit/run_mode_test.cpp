#include "app/run_mode.h"

#include <gtest/gtest.h>

#include "app/full_screen.h"
#include "fakes/fake_ports.h"

namespace bootmark {
namespace {

// The application tests launch each mode by its switch (one in other case); these are the texts
// that name no mode.
TEST(RunMode, OnlyAWholeSwitchNamesAMode) {
  for (const char* text : {"BootTask", "/BootTask2", " /BootTask", "/Boot", ""}) {
    EXPECT_EQ(ParseRunMode(text), RunMode::None) << text;
  }
}

TEST(FullScreen, OnlyAWindowCoveringThePrimaryScreenThatIsNotTheDesktop) {
  // The foreground window: what it is, where it is, its class, and whether it is full screen.
  const std::tuple<const char*, Rect, const char*, bool> cases[] = {
      {"borderless game", {0, 0, 1920, 1080}, "UnityWndClass", true},
      {"maximised window above the task bar", {0, 0, 1920, 1040}, "Notepad", false},
      {"program manager", {0, 0, 1920, 1080}, "Progman", false},
      {"desktop worker in other case", {0, 0, 1920, 1080}, "workerw", false},
      {"larger than the screen but not at the origin", {0, 0, 2000, 1200}, "Game", false},
      {"reaching the corner from the right of the origin", {100, 0, 1920, 1080}, "Game", false},
      {"reaching the corner from above the origin", {0, -40, 1920, 1080}, "Game", false},
  };
  for (const auto& [name, rect, className, fullScreen] : cases) {
    testing::FakeDesktop desktop;
    desktop.foreground = desktop.AddWindow({className, "", rect});
    EXPECT_EQ(IsFullScreenForeground(desktop), fullScreen) << name;
  }
  // No foreground window, the desktop itself.
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
