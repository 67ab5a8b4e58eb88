// The boot time notice's rules: the minute and second split, the size text, the
// follow-up choice and the countdown.
#include "app/boot_notice_rules.h"

#include <gtest/gtest.h>

namespace bootmark {
namespace {

TEST(BootNoticeRules, SplitsBelowSixMinutesAndKeepsTheTextsOtherwise) {
  // Both texts start as "k": out of range they stay so.
  const std::tuple<std::int64_t, const char*> cases[] = {
      {81000, "1m 21s"}, {60500, "60s"}, {125000, "2m 5s"}, {120000, "2m"},   {45000, "45s"},
      {359999, "5m 59s"}, {500, ""},     {0, "km ks"},      {360000, "km ks"}, {-1000, "km ks"},
  };
  for (const auto& [ms, shown] : cases) {
    std::string minutes = "k";
    std::string seconds = "k";
    SplitMinutesSeconds(ms, minutes, seconds);
    EXPECT_EQ(MinutesSecondsText(minutes, seconds), shown) << ms;
  }
}

TEST(BootNoticeRules, SizeTextAndPatterns) {
  const std::pair<std::int64_t, const char*> sizes[] = {
      {0, "0.00 KB"},       {-5, "0.00 KB"},       {512, "0.50 KB"},         {1048575, "1024.00 KB"},
      {1536000, "1.46 MB"}, {1048576, "1.00 MB"}, {1073741824, "1.00 GB"}, {5368709120, "5.00 GB"},
  };
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(ByteSizeText(bytes, '.'), text) << bytes;
  EXPECT_EQ(ByteSizeText(1536000, ','), "1,46 MB");

  // The last pattern ends in a lone "%": the "s" after it is not the pattern's.
  const std::tuple<std::string_view, std::optional<std::string>> patterns[] = {
      {"%s saved.", "<a>1</a> saved."}, {"100%% %s", "100% <a>1</a>"}, {"%d items", std::nullopt},
      {"%s and %s", std::nullopt},      {std::string_view("ends in %s", 9), std::nullopt},
  };
  for (const auto& [pattern, result] : patterns) EXPECT_EQ(ApplyTextPattern(pattern, "<a>1</a>"), result) << pattern;
}

TEST(BootNoticeRules, FollowUpChoiceFirstMatchWins) {
  // Days since the saved time, optimisation and cleaning were shown; saved seconds,
  // optimisable count, days since the suite's health check.
  const std::pair<FollowUpFacts, FollowUp> cases[] = {
      {{30, 7, 7, "12", "5", "3"}, FollowUp::SavedTime}, {{29, 7, 7, "12", "5", "3"}, FollowUp::Optimize},
      {{30, 7, 7, "1", "5", "3"}, FollowUp::Optimize},   {{30, 6, 7, "", "5", "3"}, FollowUp::Clean},
      {{30, 7, 7, "", "0", "3"}, FollowUp::Clean},       {{30, 7, 7, "", "", "3"}, FollowUp::Clean},
      {{30, 7, 6, "", "0", "3"}, FollowUp::None},        {{30, 7, 7, "", "0", "2"}, FollowUp::None},
      {{30, 7, 7, "", "0", "x"}, FollowUp::None},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(ChooseFollowUp(cases[i].first), cases[i].second) << i;
  EXPECT_EQ(WholeDaysBetween(45031.4, 45000.5), 30);
  EXPECT_EQ(WholeDaysBetween(45000.5, 45031.4), 30);
}

TEST(BootNoticeRules, CountdownSkipsTicksUnderThePointerAndNeverResets) {
  // Display time, the pointer over the notice at each tick ('x'), the tick that closes it (0: none).
  const std::tuple<int, std::string_view, int> cases[] = {
      {5, ".....", 5}, {5, ".xx..x..", 8}, {5, "..x...", 6}, {1, "xx.", 3}, {0, "...", 0}, {-3, "..", 0},
  };
  for (const auto& [displayTime, pointer, closesAt] : cases) {
    NoticeCountdown countdown(displayTime);
    int closedAt = 0;
    for (std::size_t i = 0; i < pointer.size() && closedAt == 0; ++i) {
      if (countdown.Tick(pointer[i] == 'x')) closedAt = static_cast<int>(i) + 1;
    }
    EXPECT_EQ(closedAt, closesAt) << pointer;
  }
}

}  // namespace
}  // namespace bootmark
