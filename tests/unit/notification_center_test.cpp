#include "suite/notification_center.h"

#include <gtest/gtest.h>

#include <tuple>

#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

constexpr const char* kUserData = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\";
const std::string kNCConfig = std::string(kUserData) + "ncconfig.ini";
const std::string kNCConfig2 = std::string(kUserData) + "ncconfig2.ini";

TNotiCenterMsgData FullMessage() {
  return {3, 4, "New item", "ext", "Grp", "Key", "Disable Now", "BGrp", "BKey", "1+++Updater+++C:\\u.exe"};
}

TEST(BuildNCMessage, LabelsInOrderWithOptionalButtonAndDataAndTimeLast) {
  TNotiCenterMsgData noButton = FullMessage();
  noButton.Btn.clear();  // no button caption: no button labels, even with their keys
  EXPECT_EQ(BuildNCMessage(FullMessage(), "46361.5"),
            "msgid:3|opid:4|content:New item|msgext:ext|ctgp:Grp|ctkey:Key|btn:Disable Now|btngp:BGrp|btnkey:BKey"
            "|dataEx:1+++Updater+++C:\\u.exe|time:46361.5");
  EXPECT_EQ(BuildNCMessage(noButton, "46361.5"),
            "msgid:3|opid:4|content:New item|msgext:ext|ctgp:Grp|ctkey:Key|dataEx:1+++Updater+++C:\\u.exe"
            "|time:46361.5");
  // An empty record keeps every fixed label.
  EXPECT_EQ(BuildNCMessage(TNotiCenterMsgData{}, "46361.5"),
            "msgid:0|opid:0|content:|msgext:|ctgp:|ctkey:|time:46361.5");
}

DateTime Local(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0) {
  return EncodeDateTime({year, month, day, hour, minute, second, ms}).value();
}

TEST(FormatNCTimeText, DayNumberWithUpToFifteenDigitsAndTheUsersSeparator) {
  // Day 46361 is 2026-12-05.
  const std::tuple<DateTime, char, const char*> cases[] = {
      {Local(2026, 12, 5, 12, 0), ',', "46361,5"},
      {Local(2026, 12, 5, 0, 0), ',', "46361"},
      // 16:00: the 15th digit is rounded up.
      {Local(2026, 12, 5, 16, 0), ',', "46361,6666666667"},
      // Rounding to 15 digits leaves a trailing zero, which is dropped.
      {46361.123456789012, '.', "46361.123456789"},
  };
  for (const auto& [time, separator, text] : cases) EXPECT_EQ(FormatNCTimeText(time, separator), text) << time;
}

// The message goes to the first file, or to the second when the first cannot be
// written or read (the other is left as it was): unclicked, beside the earlier
// messages, and without the delete entry of its kind.
TEST(StoreNCMessage, WritesMessageUnclickedAndDropsTheDeleteEntryOfItsKind) {
  const std::string original = "[Messages]\r\nold_Base=earlier\r\n[Main]\r\nNCIsClick=1\r\n[DeleteMsg]\r\n3=1\r\n5=1\r\n";
  // How the first file is blocked, if at all.
  const std::pair<const char*, void (*)(FakeFileSystem&, const std::string&)> cases[] = {
      {"first file", nullptr},
      {"write fails", [](FakeFileSystem& files, const std::string& path) { files.SetWriteFails(path); }},
      {"held by the suite", [](FakeFileSystem& files, const std::string& path) { files.SetUnreadable(path); }},
  };
  for (const auto& [name, block] : cases) {
    SCOPED_TRACE(name);
    FakePlatform machine;
    machine.files.AddFile(kNCConfig, original);
    machine.files.AddFile(kNCConfig2, original);
    if (block != nullptr) block(machine.files, kNCConfig);

    StoreNCMessage(machine.platform, "msgid:3|time:46361.5", "46361.5", 3);

    machine.files.SetWriteFails(kNCConfig, false);
    machine.files.SetUnreadable(kNCConfig, false);
    EXPECT_EQ(machine.files.Content(block == nullptr ? kNCConfig2 : kNCConfig), original);
    const TSafeIniFile ini(machine.files, block == nullptr ? kNCConfig : kNCConfig2);
    EXPECT_EQ(ini.ReadString("Messages", "46361.5_Base", ""), "msgid:3|time:46361.5");
    EXPECT_EQ(ini.ReadString("Messages", "old_Base", ""), "earlier");
    EXPECT_EQ(ini.ReadString("Main", "NCIsClick", ""), "0");
    EXPECT_FALSE(ini.ValueExists("DeleteMsg", "3"));
    EXPECT_TRUE(ini.ValueExists("DeleteMsg", "5"));
  }
}

TEST(PostNCMessage, DeliveredWhenTheSuiteRepliesElseStored) {
  // The suite's reply (none: the library refused or is missing) and the result.
  const std::pair<std::optional<std::string>, int> cases[] = {
      {"OK", nc_post::kDelivered}, {"", nc_post::kStored}, {std::nullopt, nc_post::kStored}};
  for (const auto& [reply, expected] : cases) {
    SCOPED_TRACE(reply.value_or("(no reply)"));
    FakePlatform fake;
    fake.clock.now = Local(2026, 12, 5, 12, 0);
    fake.system.decimalSeparator = ',';
    fake.suiteExchange.reply = reply;
    const TNotiCenterMsgData msg = FullMessage();
    const std::string text = BuildNCMessage(msg, "46361,5");

    EXPECT_EQ(PostNCMessage(fake.platform, msg), expected);

    ASSERT_EQ(fake.suiteExchange.calls.size(), 1u);
    const auto& call = fake.suiteExchange.calls[0];
    EXPECT_EQ(call.libraryPath + "|" + call.target + "|" + call.data,
              "C:\\Program Files\\Tarvo\\Kestrune\\Statewell.dll|Kestrune State|NC_MSG=" + text);
    EXPECT_EQ(fake.debug.lines,
              std::vector<std::string>{"SendDataToNotificationCenter Recv : " + reply.value_or("")});
    if (expected == nc_post::kDelivered) {
      EXPECT_FALSE(fake.files.Content(kNCConfig).has_value());
    } else {
      const TSafeIniFile ini(fake.files, kNCConfig);
      EXPECT_EQ(ini.ReadString("Messages", "46361,5_Base", ""), text);
    }
  }
}

}  // namespace
}  // namespace bootmark
