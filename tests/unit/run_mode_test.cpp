#include "app/run_mode.h"

#include <gtest/gtest.h>

#include "app/full_screen.h"
#include "fakes/fake_ports.h"

namespace bootmark {
namespace {

TEST(RunMode, SwitchIsMatchedWithoutRegardToCase) {
  const std::pair<const char*, RunMode> cases[] = {
      {"/mainData", RunMode::MainData}, {"/BOOTTASK", RunMode::BootTask}, {"/DNSChange", RunMode::DNSChange},
      {"/AddAutoRun", RunMode::AddAutoRun}, {"/updatetaskschd", RunMode::UpdateTaskschd},
      {"/LoadAVList", RunMode::LoadAVList}, {"BootTask", RunMode::None}, {"/BootTask2", RunMode::None},
      {" /BootTask", RunMode::None}, {"", RunMode::None},
  };
  for (const auto& [text, mode] : cases) EXPECT_EQ(ParseRunMode(text), mode) << text;
}

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
