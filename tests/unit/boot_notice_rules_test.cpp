// The boot time notice's rules: the minute and second split, the size text, the
// follow-up choice, the layout and the countdown.
#include "app/boot_notice_rules.h"

#include <gtest/gtest.h>

#include "app/boot_time_notice.h"
#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

TEST(BootNoticeRules, SplitsBelowSixMinutesAndKeepsTheTextsOtherwise) {
  struct Case {
    std::int64_t ms;
    const char* minutes;
    const char* seconds;
    const char* shown;
  };
  const Case cases[] = {
      {81000, "1", "21", "1m 21s"}, {60500, "0", "60", "60s"},  {125000, "2", "5", "2m 5s"},
      {120000, "2", "0", "2m"},     {45000, "0", "45", "45s"},  {359999, "5", "59", "5m 59s"},
      {500, "0", "0", ""},          {0, "k", "k", "km ks"},     {360000, "k", "k", "km ks"},
      {-1000, "k", "k", "km ks"},
  };
  for (const Case& c : cases) {
    std::string minutes = "k";
    std::string seconds = "k";
    SplitMinutesSeconds(c.ms, minutes, seconds);
    EXPECT_EQ(minutes, c.minutes) << c.ms;
    EXPECT_EQ(seconds, c.seconds) << c.ms;
    EXPECT_EQ(MinutesSecondsText(minutes, seconds), c.shown) << c.ms;
  }
  EXPECT_EQ(MinutesSecondsText("", ""), "");
}

TEST(BootNoticeRules, SizeTextAndPatterns) {
  const std::pair<std::int64_t, const char*> sizes[] = {
      {0, "0.00 KB"},          {-5, "0.00 KB"},           {512, "0.50 KB"},          {1048575, "1024.00 KB"},
      {1536000, "1.46 MB"},    {1048576, "1.00 MB"},      {1073741824, "1.00 GB"},   {5368709120, "5.00 GB"},
  };
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(ByteSizeText(bytes, '.'), text) << bytes;
  EXPECT_EQ(ByteSizeText(1536000, ','), "1,46 MB");

  const std::tuple<const char*, std::optional<std::string>> patterns[] = {
      {"%s saved with Kestrune.", "<a>12s</a> saved with Kestrune."},
      {"100%% sure: %s", "100% sure: <a>12s</a>"},
      {"%d items", std::nullopt},
      {"%s and %s", std::nullopt},
      {"ends in %", std::nullopt},
      {"no argument", "no argument"},
  };
  for (const auto& [pattern, result] : patterns) EXPECT_EQ(ApplyTextPattern(pattern, "<a>12s</a>"), result) << pattern;
}

TEST(BootNoticeRules, FollowUpChoiceFirstMatchWins) {
  struct Case {
    FollowUpFacts facts;
    FollowUp chosen;
  };
  const Case cases[] = {
      {{30, 7, 7, "12", "5", "3"}, FollowUp::SavedTime},
      {{29, 7, 7, "12", "5", "3"}, FollowUp::Optimize},
      {{30, 7, 7, "1", "5", "3"}, FollowUp::Optimize},  // less than 2 s saved
      {{30, 7, 7, "", "5", "3"}, FollowUp::Optimize},
      {{30, 6, 7, "", "5", "3"}, FollowUp::Clean},
      {{30, 7, 7, "", "0", "3"}, FollowUp::Clean},      // never optimise with a count of 0
      {{30, 7, 7, "", "", "3"}, FollowUp::Clean},
      {{30, 7, 6, "", "0", "3"}, FollowUp::None},
      {{30, 7, 7, "", "0", "2"}, FollowUp::None},
      {{30, 7, 7, "", "0", "x"}, FollowUp::None},
      {{0, 0, 0, "", "", "0"}, FollowUp::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseFollowUp(c.facts), c.chosen)
        << c.facts.daysSinceShare << " " << c.facts.daysSinceOptimize << " " << c.facts.daysSinceClean << " "
        << c.facts.savedSecondsText << " " << c.facts.canOptCount << " " << c.facts.healthDays;
  }
  EXPECT_EQ(WholeDaysBetween(45031.4, 45000.5), 30);
  EXPECT_EQ(WholeDaysBetween(45000.5, 45031.4), 30);
}

TEST(BootNoticeRules, LayoutCentresTheLinesOnTheClock) {
  // The clock picture: top 74, height 100. Boot line height 32, saved line 19, count line 32.
  struct Case {
    bool saved;
    bool optimise;
    bool canScan;
    int bootTop;
    int savedTop;
    int optimiseTop;
    int canScanTop;
  };
  const Case cases[] = {
      {false, false, false, 90, 0, 0, 0},  // 74 + (100 - 32) div 2 - 18
      {true, false, false, 78, 115, 0, 0},  // block 56: 74 + 22 - 18, then 5 below
      {false, true, false, 77, 0, 106, 0},  // block 66: 74 + 17 - 14, then 3 into the line
      {false, false, true, 64, 0, 0, 101},  // 10 above the clock, the hint 5 below
  };
  for (const Case& c : cases) {
    testing::FakePlatform machine;
    TBmark_MainForm notice(machine.platform, nullptr, {});
    FormModel& form = notice.Form();
    form.Get("RdRichLabel1").visible = c.saved;
    form.Get("RdRichLabel2").visible = c.optimise;
    form.Get("lbl_CanScan").visible = c.canScan;
    form.Get("lbl_CareTitle").bounds.right = 500;
    ArrangeBootNotice(form);
    EXPECT_EQ(form.Get("RdHtmLabel_btime").bounds.top, c.bootTop) << c.saved << c.optimise << c.canScan;
    if (c.saved) {
      EXPECT_EQ(form.Get("RdRichLabel1").bounds.top, c.savedTop);
    }
    if (c.optimise) {
      EXPECT_EQ(form.Get("RdRichLabel2").bounds.top, c.optimiseTop);
    }
    if (c.canScan) {
      EXPECT_EQ(form.Get("lbl_CanScan").bounds.top, c.canScanTop);
    }
    EXPECT_EQ(form.Get("lbl_CareTitle").bounds.right, 430 - 5);
    EXPECT_EQ(form.Get("Button_Setting").bounds.top, 3 + (32 - 16) / 2);
    EXPECT_EQ(form.Get("RdLabel_btimeCount").bounds.left, form.Get("RdLabel_btime").bounds.left);
  }
}

TEST(BootNoticeRules, CountdownSkipsTicksUnderThePointerAndNeverResets) {
  struct Case {
    int displayTime;
    std::vector<bool> pointerOver;  // one entry per tick
    int closesAtTick;               // 1-based; 0: stays open
  };
  const Case cases[] = {
      {5, {false, false, false, false, false}, 5},
      {5, {false, true, true, false, false, true, false, false}, 8},
      {5, {false, false, true, false, false, false}, 6},
      {1, {true, true, false}, 3},
      {0, {false, false, false}, 0},
      {-3, {false, false}, 0},
  };
  for (const Case& c : cases) {
    NoticeCountdown countdown(c.displayTime);
    int closedAt = 0;
    for (std::size_t i = 0; i < c.pointerOver.size() && closedAt == 0; ++i) {
      if (countdown.Tick(c.pointerOver[i])) closedAt = static_cast<int>(i) + 1;
    }
    EXPECT_EQ(closedAt, c.closesAtTick) << c.displayTime;
  }
}

}  // namespace
}  // namespace bootmark
