// The new-startup-item alert: the item it shows and how, the queue of forwarded
// items, the countdown, and each way out.
#include "app/auto_run_notice.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_platform.h"
#include "fakes/task_xml_files.h"
#include "unit/new_item_test_support.h"
#include "unit/toolkit_test_support.h"

namespace bootmark {
namespace {

using testing::AddAutoRunArguments;
using testing::FakePlatform;

constexpr const char* kExe = "C:\\Tools\\tool.exe";
constexpr const char* kRunKey = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
using testing::kMainIni;
constexpr const char* kIgnoreIni = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Startup Manager\\Ignore.ini";

std::string Ini(std::string_view text) { return testing::Utf16File(text); }

class AutoRunNoticeTest : public ::testing::Test {
 protected:
  AutoRunNoticeTest() {
    fake.files.AddFile(kExe, "MZ");
    state.arguments = AddAutoRunArguments(1, {"C:\\x\\Tool", kExe, kRunKey});
    state.alertQueue.emplace();
  }
  // Creates and shows the notice; false when it ended the process instead.
  bool Open() {
    notice = std::make_unique<TBmark_AutoRunNotice>(fake.platform, state,
                                                    [this](std::string_view id) { statistics.emplace_back(id); });
    notice->Form().SetTextMeasurer(&measurer);
    notice->FormCreate();
    return !testing::EndsProcess([this] { notice->FormShow(); });
  }
  FormControl& operator[](std::string_view name) { return notice->Form().Get(name); }

  FakePlatform fake;
  ProcessState state;
  testing::FixedTextMeasurer measurer;
  std::vector<std::string> statistics;
  std::unique_ptr<TBmark_AutoRunNotice> notice;
};

TEST_F(AutoRunNoticeTest, DisableNowHandsOverAndTheIgnoreBoxIsStoredOnClose) {
  // A task's quoted program text is stored without its quotes, as the screening reads it.
  fake.services.states["Schedule"] = service_state::kRunning;
  fake.files.AddDirectory(std::string(testing::kTaskStore));
  testing::TaskXml task;
  task.triggers = testing::kLogonTrigger;
  task.actions = "<Exec><Command>\"C:\\Tools\\tool.exe\"</Command></Exec>";
  testing::AddTask(fake.files, "\\Tool", task);
  state.arguments = AddAutoRunArguments(3, {"C:\\Windows\\System32\\Tasks\\Tool"});
  ASSERT_TRUE(Open());
  EXPECT_EQ(notice->Item().FNewItemExePath, kExe);
  (*this)["Btn_CheckboxIgnore"].checked = true;
  EXPECT_TRUE(testing::EndsProcess([this] { notice->lbl_ManageClick(); }));
  EXPECT_EQ(statistics.back(), "227");
  const TSafeIniFile ignore(fake.files, kIgnoreIni);
  EXPECT_EQ(ignore.ReadString("Monitor", std::string("Tool") + kExe + "3", ""), "1");
}

// Created on top of every window, then shown in the ordinary order, closed to its
// short height with the title bar kept; the stand-in icon stays hidden.
TEST_F(AutoRunNoticeTest, CreatedStayOnTopAndShownInTheOrdinaryOrder) {
  EXPECT_TRUE(TBmark_AutoRunNotice(fake.platform, state, {}).Form().stayOnTop);
  ASSERT_TRUE(Open());
  EXPECT_FALSE(notice->Form().stayOnTop);
  EXPECT_EQ(notice->Form().ClientSize().height, 290);
  EXPECT_EQ((*this)["ImageTitle"].bounds, (Rect{1, 1, 449, 33}));
  EXPECT_TRUE((*this)["ImageTitle"].stretch);
  EXPECT_EQ((*this)["lbl_Titel"].font, (FontSpec{"Segoe UI", 14, true, false}));
  EXPECT_EQ((*this)["lbl_NewItem"].font, (FontSpec{"Segoe UI", 12, true, false}));
  EXPECT_FALSE((*this)["defaultSmallIco"].visible);
}

// An item forwarded meanwhile: closing hides the alert for a pause, then shows that item.
TEST_F(AutoRunNoticeTest, CloseWithAnItemWaitingPausesHiddenThenShowsIt) {
  ASSERT_TRUE(Open());
  using testing::EncodeItemArgument;
  notice->ReceiveForwardedItem("x/2" + EncodeItemArgument("C:\\x\\ToolSvc") + EncodeItemArgument(kExe) +
                               EncodeItemArgument("Tool Service"));
  notice->Button_CloseClick();
  EXPECT_FALSE(notice->Form().visible);
  (*this)["RdTimer_Next"].onTimer();
  EXPECT_TRUE(notice->Form().visible);
  EXPECT_EQ((*this)["lbl_NewItem"].caption, "ToolSvc");
}

TEST_F(AutoRunNoticeTest, NameAndLocationByKind) {
  fake.shell.links = {{"C:\\Startup\\Tool.LNK.lnk", {kExe, "/min"}}};
  const struct {
    ProgramArguments arguments;
    const char* name;
    const char* location;
  } cases[] = {
      {AddAutoRunArguments(2, {"C:\\x\\ToolSvc", kExe, "Tool Service"}), "ToolSvc", "Tool Service"},
      {AddAutoRunArguments(4, {"C:\\Startup\\Tool.LNK.lnk"}), "Tool", "C:\\Startup\\Tool.LNK.lnk"},
  };
  for (const auto& c : cases) {
    state.arguments = c.arguments;
    ASSERT_TRUE(Open()) << c.name;
    EXPECT_EQ((*this)["lbl_NewItem"].caption, c.name);
    EXPECT_EQ((*this)["lbl_ItemDescribe"].caption, c.location);
  }
}

// Rows follow one another at every font size, a long registry location breaks at
// 350 pixels, and the buttons stay below the item.
TEST_F(AutoRunNoticeTest, LayoutByFontSize) {
  const std::string longKey = "HKLM\\" + std::string(60, 'K') + "\\";
  state.arguments = AddAutoRunArguments(1, {"C:\\x\\Tool", kExe, longKey});
  for (const auto& [level, checkboxOffset] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 1}}) {
    fake.files.AddFile(kMainIni, Ini("[Main]\r\nFontSize=" + std::to_string(level) + "\r\n"));
    ASSERT_TRUE(Open());
    std::int32_t previous = 0;
    for (const char* row : {"lbl_Titel", "lbl_describe", "lbl_NewItem", "lbl_ItemDescribe"}) {
      EXPECT_GE((*this)[row].bounds.top, previous) << row << " at level " << level;
      previous = (*this)[row].bounds.bottom;
    }
    EXPECT_LT(previous, (*this)["Btn_CleanNow"].bounds.top) << level;
    EXPECT_EQ((*this)["Btn_CheckboxIgnore"].bounds.top, 252 + checkboxOffset) << level;
    const std::string shown = (*this)["lbl_ItemDescribe"].caption;
    // 7 pixels a character: the 51st starts the second part.
    EXPECT_EQ(shown, (longKey + "Tool").insert(50, " ")) << level;
  }
}

}  // namespace
}  // namespace bootmark
